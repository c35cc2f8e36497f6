// The file commands with the editor's own message boxes, answered by the test as a user
// would: the box is found once it is shown modally, its text read and a button clicked.

#include "FileTestSupport.h"

#include "app/FilePrompts.h"
#include "app/texts/TextLoader.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

namespace {

struct SeenBox {
  QString title;
  QString text;
  QMessageBox::Icon icon;
  QMessageBox::StandardButtons buttons;
};

// Clicks `answers` in order on the message boxes that appear, recording each box.
class BoxAnswerer {
 public:
  explicit BoxAnswerer(std::deque<QMessageBox::StandardButton> answers)
      : m_answers(std::move(answers)) {
    QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
    m_timer.start(5);
  }
  std::vector<SeenBox> seen;

 private:
  void Poll() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible() || box == m_last) return;
    m_last = box;
    seen.push_back({box->windowTitle(), box->text(), box->icon(), box->standardButtons()});
    if (m_answers.empty()) {
      ADD_FAILURE() << "unexpected box: " << box->text().toStdString();
      box->reject();
      return;
    }
    QAbstractButton* button = box->button(m_answers.front());
    m_answers.pop_front();
    if (button) button->click();
  }

  std::deque<QMessageBox::StandardButton> m_answers;
  QTimer m_timer;
  QMessageBox* m_last = nullptr;
};

}  // namespace

TEST_F(FileCommandsTest, MessagesAppearAsBoxesTheUserAnswers) {
  QWidget window;
  lw::QtFilePrompts boxes(&window);
  lw::FileCommands gui(*doc, boxes);
  gui.SetTextSource([](unsigned id) { return lw::LoadText(id); });

  {
    BoxAnswerer user({QMessageBox::Ok});
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
    BoxAnswerer user({QMessageBox::Cancel});
    EXPECT_FALSE(gui.OnOpenDocument(other));
    ASSERT_EQ(user.seen.size(), 1u);
    EXPECT_EQ(user.seen[0].text, QStringLiteral("無題 は変更されています。保存しますか？"));
    EXPECT_EQ(user.seen[0].buttons,
              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(doc->m_objects.size(), 1);
  }
  {
    BoxAnswerer user({QMessageBox::No});
    EXPECT_TRUE(gui.SaveModified());
    ASSERT_EQ(user.seen.size(), 1u);
    EXPECT_EQ(user.seen[0].text, QStringLiteral("無題 への変更を保存しますか?"));
    EXPECT_EQ(user.seen[0].icon, QMessageBox::Question);
  }
  {
    BoxAnswerer user({QMessageBox::No});
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
