// The file commands in the running editor: the real main window started as the program
// starts it, its File menu commands run, and every message box and file dialog answered by
// the test.

#include "DialogAnswerer.h"

#include "app/CEditorApp.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "document/CDrawDoc.h"
#include "document/CDrawRect.h"
#include "document/DocFile.h"
#include "document/DocGlobals.h"
#include "document/MessageSeam.h"
#include "view/CDrawView.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <memory>

namespace {

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lw::ResetAllState();
    lw::ResetViewState();
    ASSERT_TRUE(dir.isValid());
    app = std::make_unique<CEditorApp>();
    ASSERT_TRUE(app->InitInstance({}));
    frame = app->MainFrame();
    ASSERT_NE(frame, nullptr);
    doc = app->Document();
  }
  void TearDown() override {
    app->DestroyMainFrame();
    app->ExitInstance(0);
    app.reset();
    lw::SetMessageHandler(nullptr);
    lw::ResetAllState();
    lw::ResetViewState();
  }

  QString PathOf(const QString& name) const { return dir.filePath(name); }
  void Edit() { doc->AddObject(new CDrawRect(LRect{-100, 100, 100, -100})); }
  static int ObjectsIn(const QString& path) {
    CDrawDoc d;
    return lw::ReadDocumentFile(path, d).ok() ? int(d.m_objects.size()) : -1;
  }

  QTemporaryDir dir;
  std::unique_ptr<CEditorApp> app;
  CMainFrame* frame = nullptr;
  CDrawDoc* doc = nullptr;
};

}  // namespace

TEST_F(MainWindowTest, NewOpenSaveAndSaveAsThroughTheMenus) {
  EXPECT_EQ(frame->windowTitle(), QStringLiteral("無題 - Leafwright"));

  // Save As: the typed extension gives way to ".lwt".
  Edit();
  const QString letter = PathOf(QStringLiteral("letter.lwt"));
  {
    DialogAnswerer user({Answer::File(PathOf(QStringLiteral("letter.txt")))});
    EXPECT_TRUE(frame->RunCommand(lw::cmd::kFileSaveAs));
    EXPECT_EQ(user.fileDialogs, std::vector<QString>{QStringLiteral("save")});
  }
  EXPECT_EQ(ObjectsIn(letter), 1);
  EXPECT_EQ(frame->windowTitle(), QStringLiteral("letter.lwt - Leafwright"));
  EXPECT_EQ(frame->RecentFiles(), QStringList{letter});

  // New on a changed page asks first; Yes saves it in place.
  Edit();
  {
    DialogAnswerer user({Answer::Box(QMessageBox::Yes)});
    EXPECT_TRUE(frame->RunCommand(lw::cmd::kFileNew));
    ASSERT_EQ(user.seen.size(), 1u);
    EXPECT_EQ(user.seen[0].text, QStringLiteral("letter は変更されています。保存しますか？"));
  }
  EXPECT_EQ(ObjectsIn(letter), 2);
  EXPECT_TRUE(doc->m_objects.isEmpty());
  EXPECT_EQ(frame->windowTitle(), QStringLiteral("無題 - Leafwright"));

  // Open: a file of another kind is refused and the dialog comes back.
  const QString picture = PathOf(QStringLiteral("picture.bmp"));
  {
    QFile f(picture);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  }
  {
    DialogAnswerer user(
        {Answer::File(picture), Answer::Box(QMessageBox::Ok), Answer::File(letter)});
    EXPECT_TRUE(frame->RunCommand(lw::cmd::kFileOpen));
    ASSERT_EQ(user.seen.size(), 1u);
    EXPECT_EQ(user.seen[0].text,
              QStringLiteral("このファイルはカバーぺージファイルではありません。"));
    EXPECT_EQ(user.fileDialogs.size(), 2u);
  }
  EXPECT_EQ(doc->m_objects.size(), 2);
  EXPECT_EQ(frame->windowTitle(), QStringLiteral("letter.lwt - Leafwright"));

  // Save of the unchanged file writes nothing and asks nothing.
  {
    DialogAnswerer user({});
    EXPECT_TRUE(frame->RunCommand(lw::cmd::kFileSave));
  }

  // Closing with changes asks; Cancel keeps the window, No lets it close.
  frame->show();
  Edit();
  {
    DialogAnswerer user({Answer::Box(QMessageBox::Cancel)});
    EXPECT_FALSE(frame->close());
    ASSERT_EQ(user.seen.size(), 1u);
    EXPECT_EQ(user.seen[0].text, letter + QStringLiteral(" への変更を保存しますか?"));
  }
  EXPECT_TRUE(frame->isVisible());
  {
    DialogAnswerer user({Answer::Box(QMessageBox::No)});
    EXPECT_TRUE(frame->close());
  }
  EXPECT_EQ(ObjectsIn(letter), 2);
}
