// Loading texts by id through the open language file.
// Invariants: the language file wins over the built-in table; an id missing from an open
// file falls back and marks the version with " !"; a file that breaks any rule is never
// used; menus take their texts from the command table and the popup title list.

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "RawLanguageFile.h"
#include "app/texts/LanguageFile.h"
#include "app/texts/StringTable.h"
#include "app/texts/TextLoader.h"
#include "common/TestSupport.h"

using namespace lwtest;

namespace {

class TextLoader : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    lw::CloseLanguageFile();
    lw::g_nMenuPopupIndex = 0;
  }
  void TearDown() override { lw::CloseLanguageFile(); }

  // Writes `bytes` as <dir>/leafwright.lrc and returns the path of a "module" beside it.
  QString ModuleWithFile(const QByteArray& bytes,
                         const QString& name = QStringLiteral("leafwright.lrc")) {
    EXPECT_TRUE(WriteAll(dir.filePath(name), bytes));
    return dir.filePath(QStringLiteral("leafwright"));
  }

  QTemporaryDir dir;
  lw::CTextLoader loader;
};

QString Builtin(unsigned id) {
  QString s;
  lw::StringTableText(id, &s);
  return s;
}

TEST_F(TextLoader, WithoutAFileTextsComeFromTheTable) {
  EXPECT_EQ(loader.LoadText(62656), QStringLiteral("ファイル(&F)"));
  EXPECT_EQ(loader.LanguageVersion(), QStringLiteral("-"));
  QString out = QStringLiteral("unchanged");
  EXPECT_FALSE(loader.LoadTextInto(out, 4242));
  EXPECT_EQ(out, QStringLiteral("unchanged"));
  EXPECT_TRUE(loader.LoadText(4242).isEmpty());
  unsigned flags = 0;
  EXPECT_EQ(loader.LanguageAccelerator(62657, &flags), 0u);
}

TEST_F(TextLoader, FileTextsWinAndMissingIdsFallBackAndMarkTheVersion) {
  RawFile f = FileWith({Entry(62656, "File", 'F', lw::kFlagMnemonic)});
  ASSERT_TRUE(lw::OpenLanguageFile(ModuleWithFile(Bytes(f))));
  EXPECT_TRUE(lw::IsLanguageFileOpen());
  EXPECT_EQ(loader.LanguageVersion(), QStringLiteral("1.2.3.4"));
  EXPECT_EQ(loader.LoadText(62656), QStringLiteral("&File"));
  EXPECT_EQ(loader.LanguageVersion(), QStringLiteral("1.2.3.4"));
  EXPECT_EQ(loader.LoadText(62667), QStringLiteral("編集(&E)"));
  EXPECT_EQ(loader.LanguageVersion(), QStringLiteral("1.2.3.4 !"));
  // The mark stays for the rest of the run, whatever is loaded afterwards.
  loader.LoadText(62656);
  EXPECT_EQ(loader.LanguageVersion(), QStringLiteral("1.2.3.4 !"));
}

TEST_F(TextLoader, HeaderOnlyFileIsOpenAndEveryLookupFallsBack) {
  RawFile f;
  f.version[0] = 2;
  f.version[1] = 10;
  f.version[2] = 0;
  f.version[3] = 255;
  ASSERT_TRUE(lw::OpenLanguageFile(ModuleWithFile(Bytes(f))));
  EXPECT_EQ(loader.LanguageVersion(), QStringLiteral("2.10.0.255"));
  EXPECT_EQ(loader.LoadText(62627), QStringLiteral("OK"));
  EXPECT_EQ(loader.LanguageVersion(), QStringLiteral("2.10.0.255 !"));
}

TEST_F(TextLoader, InvalidOrMissingFileLeavesNoneOpen) {
  RawFile f = FileWith({Entry(62656, "File")}, 77);  // no font for this character set
  EXPECT_FALSE(lw::OpenLanguageFile(ModuleWithFile(Bytes(f))));
  EXPECT_FALSE(lw::IsLanguageFileOpen());
  EXPECT_FALSE(lw::LanguageFileError().isEmpty());
  EXPECT_EQ(loader.LoadText(62656), QStringLiteral("ファイル(&F)"));
  EXPECT_EQ(loader.LanguageVersion(), QStringLiteral("-"));

  EXPECT_FALSE(lw::OpenLanguageFile(dir.filePath(QStringLiteral("nothing-here"))));
  EXPECT_TRUE(lw::LanguageFileError().contains(QStringLiteral("nothing-here.lrc")));
}

TEST_F(TextLoader, OpeningAgainClosesTheOpenFileFirst) {
  ASSERT_TRUE(lw::OpenLanguageFile(ModuleWithFile(Bytes(FileWith({Entry(1, "one")})))));
  EXPECT_FALSE(lw::OpenLanguageFile(dir.filePath(QStringLiteral("leafwright")),
                                    QStringLiteral("absent.lrc")));
  EXPECT_FALSE(lw::IsLanguageFileOpen());
  EXPECT_TRUE(loader.LoadText(1).isEmpty());
}

TEST_F(TextLoader, FileNameComesFromTheModuleOrTheGivenName) {
  const QByteArray bytes = Bytes(FileWith({Entry(1, "one")}));
  ModuleWithFile(bytes, QStringLiteral("other.dat"));
  ModuleWithFile(bytes, QStringLiteral("named.lrc"));
  const QString module = dir.filePath(QStringLiteral("prog.bin"));
  // The module's base name with ".lrc": prog.lrc does not exist.
  EXPECT_FALSE(lw::OpenLanguageFile(module));
  EXPECT_TRUE(lw::LanguageFileError().contains(dir.filePath(QStringLiteral("prog.lrc"))));
  // A given name keeps its own extension; without one it gets ".lrc"; its folder is ignored.
  EXPECT_TRUE(lw::OpenLanguageFile(module, QStringLiteral("other.dat")));
  EXPECT_EQ(lw::LanguageFilePath(), dir.filePath(QStringLiteral("other.dat")));
  EXPECT_TRUE(lw::OpenLanguageFile(module, QStringLiteral("/elsewhere/named")));
  EXPECT_EQ(lw::LanguageFilePath(), dir.filePath(QStringLiteral("named.lrc")));
}

TEST_F(TextLoader, UsersOwnFileIsPreferredAndABrokenOneIsPassedOver) {
  const QString user = lw::UserLanguageFilePath();
  ASSERT_TRUE(
      user.startsWith(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)));
  ASSERT_TRUE(QDir().mkpath(QFileInfo(user).absolutePath()));
  ASSERT_TRUE(WriteAll(user, Bytes(FileWith({Entry(62627, "Okay")}))));
  EXPECT_TRUE(lw::OpenDefaultLanguageFile());
  EXPECT_EQ(lw::LanguageFilePath(), user);
  EXPECT_EQ(loader.LoadText(62627), QStringLiteral("Okay"));

  ASSERT_TRUE(WriteAll(user, QByteArray("not a language file")));
  EXPECT_FALSE(lw::OpenDefaultLanguageFile());  // nothing beside the test program either
  EXPECT_TRUE(lw::LanguageFileError().contains(user));
  EXPECT_EQ(loader.LoadText(62627), QStringLiteral("OK"));
  QFile::remove(user);
}

TEST_F(TextLoader, MenuItemsTakeCommandTextsAndPopupTitlesInOrder) {
  EXPECT_EQ(loader.MenuItemText(57600, 0), QStringLiteral("新規作成(&N)\tCtrl+N"));
  EXPECT_EQ(loader.MenuItemText(57631, 0), QStringLiteral("最近使ったファイル"));
  EXPECT_EQ(loader.MenuItemText(57664, 0), QStringLiteral("バージョン情報(&A)"));
  EXPECT_TRUE(loader.MenuItemText(12345, 0).isEmpty());
  EXPECT_TRUE(loader.MenuItemText(57600, lw::kMenuSeparator).isEmpty());

  const char16_t* titles[] = {u"ファイル(&F)",
                              u"編集(&E)",
                              u"表示(&V)",
                              u"ツールバー(&T)",
                              u"挿入(&I)",
                              u"受信者(&R)",
                              u"送信者(&F)",
                              u"コメント(&C)",
                              u"図形描画(&T)",
                              u"書式(&O)",
                              u"整列(&N)",
                              u"レイアウト(&L)",
                              u"オブジェクトの整列(&A)",
                              u"ヘルプ(&H)"};
  lw::g_nMenuPopupIndex = 0;
  for (const char16_t* t : titles)
    EXPECT_EQ(loader.MenuItemText(0, lw::kMenuPopup), QString::fromUtf16(t));
  EXPECT_EQ(lw::g_nMenuPopupIndex, 14);
  EXPECT_TRUE(loader.MenuItemText(0, lw::kMenuPopup).isEmpty());  // a 15th popup gets no title
  EXPECT_EQ(lw::g_nMenuPopupIndex, 14);
}

TEST_F(TextLoader, EveryMenuTextHasABuiltInText) {
  ASSERT_EQ(lw::CommandTable().size(), 77u);
  for (const lw::CommandText& row : lw::CommandTable())
    EXPECT_FALSE(Builtin(row.textId).isEmpty()) << row.command << " -> " << row.textId;
  ASSERT_EQ(lw::PopupTitleIds().size(), 14u);
  for (unsigned id : lw::PopupTitleIds()) EXPECT_FALSE(Builtin(id).isEmpty()) << id;
}

TEST_F(TextLoader, StatusAndToolTipTextsSplitAtTheFirstLineFeed) {
  EXPECT_EQ(lw::StatusBarText(58116), QStringLiteral("プレビュー画面の印刷"));
  EXPECT_EQ(lw::ToolTipText(58116), QStringLiteral("印刷"));
  EXPECT_EQ(lw::StatusBarText(32780), QStringLiteral("受信者の名前を追加"));
  EXPECT_TRUE(lw::ToolTipText(32780).isEmpty());
  RawFile f =
      FileWith({Entry(32816, QStringLiteral("Bold text\n") + QString(100, QLatin1Char('b')))});
  ASSERT_TRUE(lw::OpenLanguageFile(ModuleWithFile(Bytes(f))));
  EXPECT_EQ(lw::ToolTipText(32816).size(), 80);
}

TEST_F(TextLoader, AcceleratorsComeFromTheTableUnlessTheFileGivesOne) {
  const auto defaults = lw::FrameAccelerators();
  ASSERT_EQ(defaults.size(), 16u);
  auto keysOf = [](const std::vector<lw::FrameAccelerator>& table, unsigned command) {
    for (const auto& a : table)
      if (a.command == command) return a.keys.toString(QKeySequence::PortableText);
    return QString();
  };
  EXPECT_EQ(keysOf(defaults, 57600), QStringLiteral("Ctrl+N"));
  EXPECT_EQ(keysOf(defaults, 32808), QStringLiteral("Ctrl+F"));
  EXPECT_EQ(keysOf(defaults, 57681), QStringLiteral("Shift+F6"));

  RawFile f = FileWith({Entry(62657, "New\tCtrl+Shift+N", 'N', lw::kFlagMnemonic, 5),
                        Entry(62720, "Forward\tF9", 0, 0, 5),
                        Entry(62659, "Save", 'S', lw::kFlagMnemonic)});
  f.sections[0].entries[0].extra = Extra('N', lw::kAccelCtrl | lw::kAccelShift, 'n');
  f.sections[0].entries[1].extra = Extra(0, lw::kAccelFunctionKey, 9);
  ASSERT_TRUE(lw::OpenLanguageFile(ModuleWithFile(Bytes(f))));
  const auto table = lw::FrameAccelerators();
  EXPECT_EQ(keysOf(table, 57600), QStringLiteral("Ctrl+Shift+N"));
  EXPECT_EQ(keysOf(table, 32808), QStringLiteral("F9"));
  EXPECT_EQ(keysOf(table, 57603), QStringLiteral("Ctrl+S"));  // entry without an accelerator
  EXPECT_EQ(keysOf(table, 57670), QStringLiteral("F1"));      // command without a menu text
  EXPECT_EQ(keysOf(lw::DefaultAccelerators(), 57600), QStringLiteral("Ctrl+N"));
}

// The English translation shipped with the program covers every built-in id and changes
// every text but those that read the same in both languages.
TEST_F(TextLoader, EnglishFileReplacesEveryText) {
  const QString path = BinaryDir() + QStringLiteral("/share/leafwright/leafwright-en.lrc");
  ASSERT_TRUE(lw::OpenLanguageFileAt(path)) << lw::LanguageFileError().toStdString();
  const QSet<unsigned> same = {129, 57344, 59137, 59138, 59139, 62627, 62648, 62655};
  for (const lw::StringTableEntry& e : lw::StringTableEntries()) {
    ASSERT_TRUE(lw::OpenLanguageFileData()->Find(e.id)) << e.id;
    const QString english = loader.LoadText(e.id);
    EXPECT_FALSE(english.isEmpty()) << e.id;
    if (same.contains(e.id)) continue;
    EXPECT_NE(english, QString::fromUtf8(e.text)) << e.id;
    // Japanese does not survive in the English texts (the arrow of the quick-access
    // buttons and the ASCII of file filters do).
    for (QChar c : english) EXPECT_LT(c.unicode(), 0x3000) << e.id << " " << english.toStdString();
  }
  EXPECT_EQ(loader.LanguageVersion(), QStringLiteral("1.0.0.0"));
  EXPECT_EQ(loader.LoadText(62658), QStringLiteral("&Open...\tCtrl+O"));
  EXPECT_EQ(loader.LoadText(62594), QStringLiteral("&Font:"));
  EXPECT_EQ(loader.LoadText(62660), QStringLiteral("Save &As..."));
  EXPECT_EQ(loader.LoadText(62603), QStringLiteral("Semi-&transparent"));
}

}  // namespace
