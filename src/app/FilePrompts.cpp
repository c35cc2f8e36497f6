#include "app/FilePrompts.h"

#include "app/settings/SettingsStore.h"
#include "app/texts/TextLoader.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>

namespace lw {

QtFilePrompts::QtFilePrompts(QWidget* window) : m_window(window) {}

PromptAnswer QtFilePrompts::Ask(const PromptMessage& message) {
  QMessageBox box(m_window);
  box.setWindowTitle(LoadText(kTextAppName));
  box.setText(message.text);
  switch (message.icon) {
    case PromptIcon::Exclamation:
      box.setIcon(QMessageBox::Warning);
      break;
    case PromptIcon::Question:
      box.setIcon(QMessageBox::Question);
      break;
    case PromptIcon::Information:
      box.setIcon(QMessageBox::Information);
      break;
    case PromptIcon::None:
      break;
  }
  switch (message.buttons) {
    case PromptButtons::Ok:
      box.setStandardButtons(QMessageBox::Ok);
      break;
    case PromptButtons::OkCancel:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      box.setDefaultButton(QMessageBox::Ok);
      break;
    case PromptButtons::YesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      box.setDefaultButton(QMessageBox::Yes);
      break;
  }
  box.setEscapeButton(message.buttons == PromptButtons::Ok ? QMessageBox::Ok : QMessageBox::Cancel);
  switch (box.exec()) {
    case QMessageBox::Ok:
      return PromptAnswer::Ok;
    case QMessageBox::Yes:
      return PromptAnswer::Yes;
    case QMessageBox::No:
      return PromptAnswer::No;
    default:
      return message.buttons == PromptButtons::Ok ? PromptAnswer::Ok : PromptAnswer::Cancel;
  }
}

QString QtFilePrompts::QtFileFilter(const QString& filter) {
  const QStringList parts = filter.split(u'|');
  QStringList entries;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString description = parts[i].trimmed();
    const QString pattern = QString(parts[i + 1]).replace(u';', u' ').trimmed();
    if (description.isEmpty() && pattern.isEmpty()) break;
    entries << (description.contains(u'(' + pattern + u')')
                    ? description
                    : description + QStringLiteral(" (") + pattern + u')');
  }
  return entries.join(QStringLiteral(";;"));
}

QString QtFilePrompts::ChooseOpenFile(const QString& filter, const QString& startFolder) {
  QFileDialog dialog(m_window, QString(), startFolder.isEmpty() ? m_lastFolder : startFolder,
                     QtFileFilter(filter));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  const QString path = dialog.selectedFiles().front();
  m_lastFolder = QFileInfo(path).absolutePath();
  return path;
}

QString QtFilePrompts::ChooseSaveFile(const QString& filter, const QString& startFolder,
                                      const QString& initialPath) {
  QFileDialog dialog(m_window, QString(), startFolder.isEmpty() ? m_lastFolder : startFolder,
                     QtFileFilter(filter));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(QStringLiteral("lwt"));
  if (!initialPath.isEmpty()) dialog.selectFile(initialPath);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  const QString path = dialog.selectedFiles().front();
  m_lastFolder = QFileInfo(path).absolutePath();
  return path;
}

void QtFilePrompts::PostCloseRequest() {
  if (!m_window) return;
  // After the current command has returned, as a posted close message would.
  QTimer::singleShot(0, m_window.data(), [w = m_window] {
    if (w) w->close();
  });
}

void ConnectRecentFiles(RecentFileList& recent, SettingsStore& store) {
  recent.onChanged = nullptr;
  recent.SetEntries(ReadRecentFiles(store));
  recent.onChanged = [&store](const QStringList& files) {
    WriteRecentFiles(store, files);
    store.Sync();
  };
}

}  // namespace lw
