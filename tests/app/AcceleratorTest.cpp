// The main window's accelerators and texts with and without a language file.
//
// Invariants under test:
// - without a language file every command keeps its built-in key and every text is the
//   string table's;
// - a language file's accelerator replaces the key of its command only; commands whose
//   entry has no accelerator keep the built-in key;
// - the About box shows the file's version, with " !" once a text was missing from it.

#include "AppTestSupport.h"

#include "app/CAboutDlg.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/texts/ControlText.h"
#include "app/texts/StringTable.h"
#include "app/texts/TextLoader.h"
#include "document/CDrawDoc.h"

#include <QMenuBar>

#include <gtest/gtest.h>

namespace {

class Accelerators : public ::testing::Test {
 protected:
  void SetUp() override { apptest::ResetProgramState(); }
  void TearDown() override { apptest::ResetProgramState(); }
  CDrawDoc doc;
};

QList<QKeySequence> Keys(const char* a) { return {QKeySequence(QString::fromLatin1(a))}; }

TEST_F(Accelerators, WithoutALanguageFileTheBuiltInTableHolds) {
  CMainFrame frame(&doc);
  const auto accels = frame.Accelerators();
  const auto builtIn = lw::DefaultAccelerators();
  ASSERT_EQ(accels.size(), builtIn.size());
  for (size_t i = 0; i < accels.size(); ++i) {
    EXPECT_EQ(accels[i].command, builtIn[i].command);
    EXPECT_EQ(accels[i].keys, builtIn[i].keys);
  }
  const struct {
    unsigned command;
    const char* keys;
  } cases[] = {{57600, "Ctrl+N"}, {57601, "Ctrl+O"}, {57603, "Ctrl+S"}, {57643, "Ctrl+Z"},
               {32774, "Ctrl+G"}, {32808, "Ctrl+F"}, {57670, "F1"},     {57681, "Shift+F6"}};
  for (const auto& c : cases) {
    ASSERT_NE(frame.Action(c.command), nullptr) << c.command;
    EXPECT_EQ(frame.Action(c.command)->shortcuts(), Keys(c.keys)) << c.command;
  }
  // Texts are the string table's.
  QString table;
  ASSERT_TRUE(lw::StringTableText(62657, &table));
  EXPECT_EQ(frame.Action(57600)->text(), table);
  EXPECT_EQ(frame.menuBar()->actions().first()->text(), QStringLiteral("ファイル(&F)"));
}

TEST_F(Accelerators, ALanguageFileReplacesKeysAndTexts) {
  ASSERT_TRUE(
      apptest::OpenLanguageSource(QStringLiteral("version 1.2.3.4\n"
                                                 "charset 0\n"
                                                 "62656 text -    F -      \"File\"\n"
                                                 "62657 menu -    N Ctrl+Q \"New\\tCtrl+Q\"\n"
                                                 "62659 menu -    S -      \"Save\\tCtrl+S\"\n"
                                                 "62675 menu -    G F7     \"Grid\\tF7\"\n")));
  CMainFrame frame(&doc);
  EXPECT_EQ(frame.Action(57600)->shortcuts(), Keys("Ctrl+Q"));
  EXPECT_EQ(frame.Action(57603)->shortcuts(), Keys("Ctrl+S"));
  EXPECT_EQ(frame.Action(32774)->shortcuts(), Keys("F7"));
  EXPECT_EQ(frame.Action(57601)->shortcuts(), Keys("Ctrl+O"));
  EXPECT_EQ(frame.Action(57600)->text(), QStringLiteral("&New\tCtrl+Q"));
  EXPECT_EQ(frame.menuBar()->actions().first()->text(), QStringLiteral("&File"));

  // Texts the file lacks came from the table, which the About box marks.
  lw::CAboutDlg dlg;
  EXPECT_EQ(lw::ControlText(lw::FindControl(&dlg, 1034)), QStringLiteral("Language 1.2.3.4 !"));
}

TEST_F(Accelerators, TheInstalledEnglishFileGivesAnEnglishWindow) {
  const QString path = QString::fromLocal8Bit(qgetenv("LW_BINARY_DIR")) +
                       QStringLiteral("/share/leafwright/leafwright-en.lrc");
  if (!lw::OpenLanguageFileAt(path))
    GTEST_SKIP() << "no English language file at " << path.toStdString();
  CMainFrame frame(&doc);
  EXPECT_EQ(frame.menuBar()->actions().first()->text(), lw::LoadText(62656));
  EXPECT_NE(lw::LoadText(62656), QStringLiteral("ファイル(&F)"));
  EXPECT_EQ(frame.Action(57600)->shortcuts(), Keys("Ctrl+N"));
}

}  // namespace
