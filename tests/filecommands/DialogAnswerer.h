#pragma once
// Answers the modal dialogs of a test as a user would: each message box or file dialog that
// comes up is recorded and answered with the next scripted answer (a button of a box, a file
// chosen in a file dialog, or a cancelled file dialog). A dialog the script does not expect
// fails the test and is dismissed.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>

#include <deque>
#include <vector>

struct Answer {
  bool box = true;
  QMessageBox::StandardButton button = QMessageBox::NoButton;
  QString file;  // empty: cancel the file dialog

  static Answer Box(QMessageBox::StandardButton b) { return {true, b, QString()}; }
  static Answer File(const QString& path) { return {false, QMessageBox::NoButton, path}; }
  static Answer CancelFile() { return {false, QMessageBox::NoButton, QString()}; }
};

struct SeenBox {
  QString title;
  QString text;
  QMessageBox::Icon icon;
  QMessageBox::StandardButtons buttons;
};

class DialogAnswerer {
 public:
  explicit DialogAnswerer(std::deque<Answer> answers) : m_answers(std::move(answers)) {
    QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
    m_timer.start(5);
  }
  ~DialogAnswerer() {
    EXPECT_TRUE(m_answers.empty()) << m_answers.size() << " answers left unused";
  }

  std::vector<SeenBox> seen;         // message boxes, in order
  std::vector<QString> fileDialogs;  // "open" or "save", in order

 private:
  void Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    // A dialog is marked once answered: the next one may be built at the same address.
    if (!modal || !modal->isVisible() || modal->property("answeredByTest").toBool()) return;
    modal->setProperty("answeredByTest", true);
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      seen.push_back({box->windowTitle(), box->text(), box->icon(), box->standardButtons()});
      if (m_answers.empty() || !m_answers.front().box) {
        ADD_FAILURE() << "unexpected message box: " << box->text().toStdString();
        box->reject();
        return;
      }
      QAbstractButton* button = box->button(m_answers.front().button);
      m_answers.pop_front();
      if (button) button->click();
      return;
    }
    if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
      fileDialogs.push_back(dialog->acceptMode() == QFileDialog::AcceptSave
                                ? QStringLiteral("save")
                                : QStringLiteral("open"));
      if (m_answers.empty() || m_answers.front().box) {
        ADD_FAILURE() << "unexpected file dialog";
        dialog->reject();
        return;
      }
      const QString file = m_answers.front().file;
      m_answers.pop_front();
      if (file.isEmpty()) {
        dialog->reject();
      } else {
        dialog->selectFile(file);
        static_cast<QDialog*>(dialog)->accept();  // as the dialog's own button does
      }
    }
  }

  std::deque<Answer> m_answers;
  QTimer m_timer;
};
