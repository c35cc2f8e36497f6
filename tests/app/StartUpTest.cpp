// Start-up of the editor: the command-line forms, the letter-paper region, and the real
// main window started without a command line, with a file, and in print mode.
//
// Invariants under test:
// - only a leading "/p" (any case) or "--print" asks for printing; a path that merely
//   contains "/p" is opened, not printed;
// - without a command line the first Open dialog starts in a Samples folder that exists;
//   with a file it starts in that file's folder;
// - print mode never leaves a window open: it prints, or says why it could not and ends
//   with a non-zero status.

#include "AppTestSupport.h"

#include "app/CEditorApp.h"
#include "app/CMainFrame.h"
#include "base/TempFiles.h"
#include "document/CDrawDoc.h"
#include "document/CDrawObj.h"
#include "document/DocGlobals.h"
#include "document/FileCommands.h"
#include "document/ViewPort.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

struct CommandLineCase {
  const char* name;
  QStringList args;
  bool print;
  QString path;
  bool usage;
};

TEST(CommandLine, FormsOfTheCommandLine) {
  const CommandLineCase cases[] = {
      {"empty", {}, false, {}, false},
      {"a path opens it", {"/home/u/a.lwt"}, false, "/home/u/a.lwt", false},
      {"a path containing /p is not print mode",
       {"/home/u/projects/p.lwt"},
       false,
       "/home/u/projects/p.lwt",
       false},
      {"quotes around the path are dropped", {"\"/x/a b.lwt\""}, false, "/x/a b.lwt", false},
      {"lower-case /p prints", {"/p", "/x/y.lwt"}, true, "/x/y.lwt", false},
      {"upper-case /P prints", {"/P", "\"/x/y.lwt\""}, true, "/x/y.lwt", false},
      {"--print prints", {"--print", "/x/y.lwt"}, true, "/x/y.lwt", false},
      {"the whole line in one argument", {"/p \"/x/a b.lwt\""}, true, "/x/a b.lwt", false},
      {"/p without a file", {"/p"}, true, {}, true},
      {"two files", {"/x/a.lwt", "/x/b.lwt"}, false, {}, true},
      {"an unknown option", {"--frobnicate"}, false, {}, true},
  };
  for (const CommandLineCase& c : cases) {
    const lw::CommandLine line = lw::ParseCommandLine(c.args);
    EXPECT_EQ(line.usage, c.usage) << c.name;
    if (c.usage) continue;
    EXPECT_EQ(line.printAndExit, c.print) << c.name;
    EXPECT_EQ(line.path, c.path) << c.name;
  }
}

TEST(LetterRegion, DiallingCodesOfTheLetterPaperCountries) {
  const struct {
    const char* code;
    bool letter;
  } cases[] = {{"1", true},     {"2", true},   {"55", true},  {"50", true},   {"59", true},
               {"502", true},   {"599", true}, {"81", false}, {"44", false},  {"49", false},
               {"500a", false}, {"+1", false}, {"", false},   {"600", false}, {"5", false}};
  for (const auto& c : cases) {
    EXPECT_EQ(lw::IsLetterRegionCode(QString::fromLatin1(c.code)), c.letter) << c.code;
  }
  EXPECT_EQ(lw::DialCodeNumber(QStringLiteral("0081")), 81);
  EXPECT_EQ(lw::DialCodeNumber(QStringLiteral("8 1")), 0);
}

class StartUp : public ::testing::Test {
 protected:
  void SetUp() override { apptest::ResetProgramState(); }
  void TearDown() override { apptest::ResetProgramState(); }

  // Writes an empty cover page file with the program's own writer.
  static bool WriteEmptyCoverPage(const QString& path) {
    CDrawDoc doc;
    doc.UpdatePageSize();
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly)) return false;
    if (!lw::DefaultDocumentIo().write(doc, out)) return false;
    return out.commit();
  }
};

TEST_F(StartUp, WithoutCommandLineShowsAnUntitledPageAndPreparesTheSamplesFolder) {
  CEditorApp app;
  ASSERT_TRUE(app.InitInstance({}));
  CMainFrame* frame = app.MainFrame();
  ASSERT_NE(frame, nullptr);
  EXPECT_TRUE(frame->isVisible());
  EXPECT_EQ(frame->windowTitle(), QStringLiteral("無題 - Leafwright"));
  EXPECT_FALSE(g_bPrintAndExit);

  EXPECT_TRUE(g_strDocFolder.endsWith(QStringLiteral("/Samples"))) << g_strDocFolder.toStdString();
  EXPECT_TRUE(QFileInfo(g_strDocFolder).isDir());

  // The scratch file's name is reserved in the private temporary folder (the new document
  // empties it again; the undo snapshot writes it).
  const QString scratch = g_szScratchFile;
  EXPECT_TRUE(QFileInfo(scratch).fileName().startsWith(QStringLiteral("lwt")))
      << scratch.toStdString();
  EXPECT_TRUE(scratch.startsWith(QString::fromStdString(lw::PrivateTempDir())));
  EXPECT_EQ(g_lfDefault.lfFaceName, QStringLiteral("ＭＳ Ｐゴシック"));
  EXPECT_EQ(g_lfDefault.lfHeight, -35);
  EXPECT_EQ(g_lfDefault.lfWidth, 0);
  EXPECT_EQ(g_strAutoLabel, QStringLiteral("自動"));

  // Closing the window ends the scratch file's life.
  EXPECT_EQ(app.ExitInstance(0), 0);
  EXPECT_FALSE(QFileInfo::exists(scratch));
}

TEST_F(StartUp, TheCommandLineFileIsOpenedAndTheFirstOpenDialogStartsInItsFolder) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("cover.lwt"));
  ASSERT_TRUE(WriteEmptyCoverPage(path));

  CEditorApp app;
  ASSERT_TRUE(app.InitInstance({QStringLiteral("\"%1\"").arg(path)}));
  if (!app.Files()) GTEST_SKIP() << "built without the file commands";
  EXPECT_EQ(g_strDocFolder, QFileInfo(path).absolutePath());
  // The file is opened once the event loop runs.
  EXPECT_TRUE(QTest::qWaitFor([&] { return g_strDocPath == path; }));
  EXPECT_EQ(app.MainFrame()->windowTitle(), QStringLiteral("cover.lwt - Leafwright"));
  EXPECT_TRUE(app.MainFrame()->isVisible());
  app.ExitInstance(0);
}

TEST_F(StartUp, PrintModeNeverLeavesAWindowOpen) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("print me.lwt"));
  ASSERT_TRUE(WriteEmptyCoverPage(path));

  CEditorApp app;
  ASSERT_TRUE(app.InitInstance({QStringLiteral("/P"), path}));
  EXPECT_TRUE(g_bPrintAndExit);
  EXPECT_EQ(g_strDocFolder, dir.path());
  CMainFrame* frame = app.MainFrame();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !frame->isVisible(); }));
  if (!frame->HasCommandHandler(57608)) {
    // Without printing in this build the run says so and fails.
    EXPECT_EQ(app.PrintExitCode(), 1);
    EXPECT_NE(app.ExitInstance(0), 0);
  }
}

TEST_F(StartUp, PrintModeWithAMissingFilePrintsNothing) {
  CEditorApp app;
  ASSERT_TRUE(app.InitInstance({QStringLiteral("--print"), QStringLiteral("/nonexistent/x.lwt")}));
  CMainFrame* frame = app.MainFrame();
  // The missing file's message box is answered here.
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [] {
    if (QWidget* box = QApplication::activeModalWidget()) box->close();
  });
  answer.start(20);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !frame->isVisible(); }));
  EXPECT_EQ(app.PrintExitCode(), 1);
}

TEST_F(StartUp, TheViewWritesTheSelectionIntoTheStatusPanes) {
  CEditorApp app;
  ASSERT_TRUE(app.InitInstance({}));
  CMainFrame* frame = app.MainFrame();
  if (!frame->View()) GTEST_SKIP() << "built without the editing view";
  CDrawDoc* doc = app.Document();
  auto* obj = new CDrawObj;
  obj->m_rcPos = {-864 + 100, 1166 - 200, -864 + 400, 1166 - 260};  // 300 x 60 at (100, 200)
  doc->AddObject(obj);
  g_selection.append(obj);
  doc->UpdateAllViews(nullptr, lw::kHintObjects);
  EXPECT_EQ(frame->StatusPane(1)->text(), QStringLiteral("[ 100, 200 ]"));
  EXPECT_EQ(frame->StatusPane(2)->text(), QStringLiteral("[ 300 x 60 ]"));
  g_selection.clear();
  doc->UpdateAllViews(nullptr, lw::kHintWholeView);
  EXPECT_TRUE(frame->StatusPane(1)->text().isEmpty());
  app.ExitInstance(0);
}

TEST_F(StartUp, TheZoomCommandsOfTheFrameStopAtTheViewsLimits) {
  CEditorApp app;
  ASSERT_TRUE(app.InitInstance({}));
  CMainFrame* frame = app.MainFrame();
  if (!frame->View()) GTEST_SKIP() << "built without the editing view";
  frame->UpdateCommandUI();
  EXPECT_TRUE(frame->RunCommand(32778));  // -1 -> 0
  EXPECT_TRUE(frame->RunCommand(32778));  // 0 -> 1
  frame->UpdateCommandUI();
  EXPECT_FALSE(frame->Action(32778)->isEnabled());
  EXPECT_FALSE(frame->RunCommand(32778));
  EXPECT_EQ(g_nZoomLevel, 1);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(frame->RunCommand(32779));
  frame->UpdateCommandUI();
  EXPECT_FALSE(frame->Action(32779)->isEnabled());
  EXPECT_EQ(g_nZoomLevel, -2);
  app.ExitInstance(0);
}

TEST_F(StartUp, AnUnknownOptionEndsTheProgramAtOnce) {
  CEditorApp app;
  EXPECT_FALSE(app.InitInstance({QStringLiteral("--no-such-option")}));
  EXPECT_EQ(app.MainFrame(), nullptr);
}

}  // namespace
