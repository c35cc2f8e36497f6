#pragma once
// The file commands' questions and file dialogs as the editor shows them: modal message
// boxes titled with the program's name, and the file dialogs for Open and Save As.

#include "document/FileCommands.h"

#include <QPointer>
#include <QString>
#include <QWidget>

namespace lw {

class SettingsStore;

class QtFilePrompts : public FilePrompts {
 public:
  // `window` is the parent of every box and dialog and the window that PostCloseRequest
  // closes; it may be null (boxes without parent, nothing to close).
  explicit QtFilePrompts(QWidget* window);

  PromptAnswer Ask(const PromptMessage& message) override;
  QString ChooseOpenFile(const QString& filter, const QString& startFolder) override;
  QString ChooseSaveFile(const QString& filter, const QString& startFolder,
                         const QString& initialPath) override;
  void PostCloseRequest() override;

  // Qt's form of a filter of the form "Description|pattern|...||": "Description
  // (pattern);;...". A description that already names its pattern in parentheses keeps it.
  static QString QtFileFilter(const QString& filter);

 private:
  QPointer<QWidget> m_window;
  QString m_lastFolder;  // where the next dialog opens when it is not told
};

// Fills `recent` from the store's "Recent File List" and writes every later change back.
// The store must outlive the list's use.
void ConnectRecentFiles(RecentFileList& recent, SettingsStore& store);

}  // namespace lw
