// The file commands with the editor's own message boxes, answered by the test as a user
// would: the box is found once it is shown modally, its text read and a button clicked.

#include "DialogAnswerer.h"
#include "FileTestSupport.h"

#include "app/FilePrompts.h"
#include "app/texts/TextLoader.h"

TEST_F(FileCommandsTest, MessagesAppearAsBoxesTheUserAnswers) {
  QWidget window;
  lw::QtFilePrompts boxes(&window);
  lw::FileCommands gui(*doc, boxes);
  gui.SetTextSource([](unsigned id) { return lw::LoadText(id); });

  {
    DialogAnswerer user({Answer::Box(QMessageBox::Ok)});
    EXPECT_FALSE(gui.OnOpenDocument(PathOf(QStringLiteral("absent.lwt"))));
    ASSERT_EQ(user.seen.size(), 1u);
    EXPECT_EQ(user.seen[0].title, QStringLiteral("Leafwright"));
    EXPECT_EQ(user.seen[0].text, QStringLiteral("このファイルは存在しません！"));
    EXPECT_EQ(user.seen[0].icon, QMessageBox::Warning);
    EXPECT_EQ(user.seen[0].buttons, QMessageBox::Ok);
  }
  const QString other = MakeCoverPage(QStringLiteral("other.lwt"), 2);
  Edit();
  {
    DialogAnswerer user({Answer::Box(QMessageBox::Cancel)});
    EXPECT_FALSE(gui.OnOpenDocument(other));
    ASSERT_EQ(user.seen.size(), 1u);
    EXPECT_EQ(user.seen[0].text, QStringLiteral("無題 は変更されています。保存しますか？"));
    EXPECT_EQ(user.seen[0].buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(doc->m_objects.size(), 1);
  }
  {
    DialogAnswerer user({Answer::Box(QMessageBox::No)});
    EXPECT_TRUE(gui.SaveModified());
    ASSERT_EQ(user.seen.size(), 1u);
    EXPECT_EQ(user.seen[0].text, QStringLiteral("無題 への変更を保存しますか?"));
    EXPECT_EQ(user.seen[0].icon, QMessageBox::Question);
  }
  {
    DialogAnswerer user({Answer::Box(QMessageBox::No)});
    EXPECT_TRUE(gui.OnOpenDocument(other));
    EXPECT_EQ(user.seen.size(), 1u);
    EXPECT_EQ(gui.WindowTitle(), QStringLiteral("other.lwt - Leafwright"));
  }
}

TEST(QtFilePromptsTest, FilterInQtForm) {
  EXPECT_EQ(lw::QtFilePrompts::QtFileFilter(
                QStringLiteral("Leafwright Files (*.lwt)|*.lwt|全てのファイル (*.*)|*.*||")),
            QStringLiteral("Leafwright Files (*.lwt);;全てのファイル (*.*)"));
  EXPECT_EQ(lw::QtFilePrompts::QtFileFilter(QStringLiteral("Pages|*.lwt;*.LWT||")),
            QStringLiteral("Pages (*.lwt *.LWT)"));
}
