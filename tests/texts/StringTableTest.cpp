// The built-in string table.
// Invariants: ids are sorted and unique (lookups are binary searches), and texts are kept
// exactly, with their trailing blanks, full-width characters, tabs and line feeds.

#include <QStringList>

#include <gtest/gtest.h>

#include "app/texts/StringTable.h"

namespace {

QString Text(unsigned id) {
  QString s;
  EXPECT_TRUE(lw::StringTableText(id, &s)) << id;
  return s;
}

TEST(StringTable, IdsAreSortedAndUnique) {
  const auto entries = lw::StringTableEntries();
  ASSERT_FALSE(entries.empty());
  for (size_t i = 1; i < entries.size(); ++i) EXPECT_LT(entries[i - 1].id, entries[i].id);
  for (const auto& e : entries) EXPECT_EQ(lw::StringTableUtf8(e.id), e.text);
}

TEST(StringTable, TextsAreKeptExactly) {
  EXPECT_EQ(Text(62468), QStringLiteral("{受信者の電話番号}     "));
  EXPECT_EQ(Text(62516), QStringLiteral("{ページ数}  "));
  EXPECT_EQ(Text(62565), QStringLiteral(" は現在編集中です。読み取り専用で開きますか ?"));
  EXPECT_EQ(Text(62575),
            QStringLiteral(
                "このファイルは\u3000読み取れません、まだは 現在サポートされていない形式です。"));
  EXPECT_EQ(Text(62657), QStringLiteral("新規作成(&N)\tCtrl+N"));
  EXPECT_EQ(Text(58116), QStringLiteral("プレビュー画面の印刷\n印刷"));
  EXPECT_EQ(Text(61705), QStringLiteral("ｺﾏﾝﾄﾞの実行に失敗しました。"));
  EXPECT_EQ(Text(62554),
            QStringLiteral("Leafwright Files (*.lwt)|*.lwt|全てのファイル (*.*)|*.*||"));
  EXPECT_EQ(Text(128).split(QLatin1Char('\n')).size(), 8);
  EXPECT_EQ(Text(32823), QStringLiteral("オブジェクトの位置 "));
}

TEST(StringTable, UnknownIdHasNoText) {
  QString s = QStringLiteral("kept");
  EXPECT_FALSE(lw::StringTableText(62457, &s));
  EXPECT_EQ(s, QStringLiteral("kept"));
  EXPECT_EQ(lw::StringTableUtf8(0), nullptr);
  EXPECT_EQ(lw::StringTableUtf8(4294967295u), nullptr);
}

}  // namespace
