#pragma once
// The file commands of the cover page document: New, Open, Save, Save As, the save question
// before a document is replaced or the program closes, the access rules for files that are
// in use, marked read-only or lie in a folder where nothing can be created, the recent-file
// list and the window title that follows the file state.
//
// Nothing here shows a window. Questions, messages and file dialogs go through FilePrompts,
// which the editor implements with message boxes and file dialogs (app/FilePrompts.h) and
// tests implement with scripted answers.
//
// "In use" is an advisory lock on the file itself (an open file description lock, which the
// kernel drops with the descriptor, so a crashed program never leaves a stale lock): the
// copy of the program that edits a file holds an exclusive lock on it for as long as the
// file is open; every other copy that finds the lock taken offers read-only opening and
// refuses to save over the file. Saving writes a new file beside the old one and renames it
// into place, so the old file stays whole until the new one is complete.
//
// Typical use (the main window):
//   lw::FileCommands files(doc, prompts);
//   files.onTitleChanged = [&](const QString& t) { setWindowTitle(t); };
//   files.SetTextSource(lw::LoadText);
//   ... menu New -> files.OnFileNew(); closeEvent -> if (!files.SaveModified()) ignore();

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class CDrawDoc;
class QIODevice;

namespace lw {

class FileLock;

// Message ids of the file commands.
inline constexpr int kTextNotCoverPage = 62562;        // not a cover page file
inline constexpr int kTextFileMissing = 62563;         // the file does not exist
inline constexpr int kTextOpenReadOnlyInUse = 62565;   // 'name' + : in use, open read-only?
inline constexpr int kTextFolderReadOnly = 62571;      // folder accepts no files: read-only?
inline constexpr int kTextIsReadOnly = 62566;          // name + " " + : is read-only
inline constexpr int kTextCannotSaveInUse = 62568;     // 'name' + " " + : in use, cannot save
inline constexpr int kTextCannotSave = 62570;          // document could not be saved
inline constexpr int kTextReadOnlySuffix = 62572;      // "(読み取り専用)" in the title
inline constexpr int kTextUntitledFile = 62573;        // "無題.lwt"
inline constexpr int kTextSaveChanges = 62580;         // name + : modified, save?
inline constexpr int kTextUntitled = 62456;            // "無題"
inline constexpr int kTextFileFilter = 62554;          // filter of the file dialogs
inline constexpr int kTextSaveChangesOnClose = 61699;  // "%1 への変更を保存しますか?"
inline constexpr int kTextUntitledOnClose = 61443;     // "無題"
inline constexpr int kTextAppName = 129;               // the program's name
inline constexpr int kTextFileUnreadable = 62575;      // a file that cannot be read at all

// What a message box offers and what the user chose.
enum class PromptButtons { Ok, OkCancel, YesNoCancel };
enum class PromptIcon { None, Exclamation, Question, Information };
enum class PromptAnswer { Ok, Cancel, Yes, No };

// One message: the composed text as shown, and the id of the text it was built from (so a
// test can tell the messages apart in any language).
struct PromptMessage {
  int textId = 0;
  QString text;
  PromptButtons buttons = PromptButtons::Ok;
  PromptIcon icon = PromptIcon::None;
};

// What the file commands need from the user interface.
class FilePrompts {
 public:
  virtual ~FilePrompts() = default;

  // Shows a modal message and returns the button pressed (Cancel when the box is closed).
  virtual PromptAnswer Ask(const PromptMessage& message) = 0;

  // The file-open dialog: `filter` in the "Description|pattern|...||" form of text 62554;
  // `startFolder` empty means "where the dialog was last". Empty result: cancelled.
  virtual QString ChooseOpenFile(const QString& filter, const QString& startFolder) = 0;

  // The save dialog with default extension "lwt". `initialPath` may name a folder and a
  // file ("folder/無題.lwt"), only a folder, or be empty. Empty result: cancelled.
  virtual QString ChooseSaveFile(const QString& filter, const QString& startFolder,
                                 const QString& initialPath) = 0;

  // Asks the main window to close once the current command has returned.
  virtual void PostCloseRequest() {}
};

// The most recently opened or saved files, newest first, at most five. Paths are compared
// exactly after cleaning (no case folding: Linux file names are case-sensitive).
class RecentFileList {
 public:
  static constexpr int kMaxEntries = 5;

  const QStringList& Entries() const { return m_entries; }
  // Puts `path` at the head (moving it there when it is listed already).
  void Add(const QString& path);
  void Remove(const QString& path);
  // Replaces the whole list (read from the settings store); empty entries are skipped and
  // only the first five kept.
  void SetEntries(const QStringList& entries);

  // Called after every change, with the new list.
  std::function<void(const QStringList&)> onChanged;

 private:
  QStringList m_entries;
};

// Outcome of reading a cover page file into the document.
enum class ReadOutcome {
  Ok,           // read completely
  FormatError,  // the contents are not a valid cover page: reported by the reader, the
                // document is left empty and g_bLoadOk is 0; the open still completes
  FileError,    // the file could not be read at all; reported (text 62575 through
                // lw::ReportMessage by the default reader)
};

// How documents get into and out of files. The defaults use the cover page file reader and
// writer; a test may replace them (for example to make a write fail half-way).
struct DocumentIo {
  // Replaces the document's contents by the file's.
  std::function<ReadOutcome(CDrawDoc& doc, const QString& path)> read;
  // Writes the whole document to `out` (a new file beside the target). False on failure.
  std::function<bool(CDrawDoc& doc, QIODevice& out)> write;
};

// The cover page file reader and writer.
DocumentIo DefaultDocumentIo();

class FileCommands {
 public:
  FileCommands(CDrawDoc& doc, FilePrompts& prompts);
  ~FileCommands();

  FileCommands(const FileCommands&) = delete;
  FileCommands& operator=(const FileCommands&) = delete;

  // Where user-interface texts come from (lw::LoadText in the editor). Without a source the
  // built-in Japanese texts of these commands are used.
  void SetTextSource(std::function<QString(unsigned)> loadText);
  void SetDocumentIo(DocumentIo io);

  // --- commands (menu items and buttons) ---
  void OnFileNew();     // 57600
  void OnFileOpen();    // 57601
  void OnFileSave();    // 57603
  void OnFileSaveAs();  // 57604

  // --- document operations ---
  // Starts an untitled, empty document.
  bool OnNewDocument();
  // Opens `path` (the Open command, the command line and the recent-file list come here).
  bool OnOpenDocument(const QString& path);
  // Saves to `path` (the current file or another one).
  bool OnSaveDocument(const QString& path);
  // Before the program or its window closes: true when closing may go on.
  bool SaveModified();

  // --- state ---
  // "name - Leafwright", "name(読み取り専用) - Leafwright", "無題 - Leafwright" or the
  // program's name alone after a failed open.
  QString WindowTitle() const { return m_strWindowTitle; }
  // The document's path name and title (the file name, or "無題" when untitled).
  QString PathName() const { return m_strPathName; }
  QString Title() const { return m_strTitle; }
  // True while this program holds the current file's lock (the "editing a file" state).
  bool IsHoldingFile() const;

  RecentFileList& RecentFiles() { return m_recent; }

  // Called whenever the window title changes.
  std::function<void(const QString&)> onTitleChanged;

  // --- file-system checks (public for tests and for the print-and-exit path) ---
  // True when no file can be created in the folder of `path`; also left in g_bFolderReadOnly.
  static bool IsFolderReadOnly(const QString& path);
  // False when the file is marked read-only (not writable for this user) or when another
  // process holds its lock; true otherwise (a file this object holds counts as free).
  bool IsFileFree(const QString& path) const;
  // True when the file's status can be read.
  static bool FileExists(const QString& path);
  // The path Save As forms from a chosen name: the folder, the file title without its last
  // extension cut to 32 bytes (in the code page of cover page files, at the last whole
  // character), and ".lwt".
  static QString SaveAsPath(const QString& chosen);
  // The file name part of a path (after the last separator).
  static QString FileNameOf(const QString& path);

 private:
  QString Text(int id) const;
  void SetWindowTitle(const QString& title);
  void UpdateTitleForFile(const QString& path, bool readOnly);
  PromptAnswer AskSaveQuestion();
  void ResetToUntitled(bool repaintFrame);
  int CheckAccess(const QString& path);
  int AskReadOnly(const QString& path);
  void ReportCannotSave(const QString& path);
  void ReorderFieldObjects();
  bool SaveAsChosen(const QString& chosen);
  bool SaveToChosenName();
  bool WriteDocument(const QString& path);
  void FrameworkNewDocument();
  ReadOutcome FrameworkOpenDocument(const QString& path);
  void ReleaseHold();
  void RepaintViews();

  CDrawDoc& m_doc;
  FilePrompts& m_prompts;
  std::function<QString(unsigned)> m_loadText;
  DocumentIo m_io;
  RecentFileList m_recent;
  std::unique_ptr<FileLock> m_hold;  // g_fileHold: the lock on the file being edited
  QString m_strPathName;
  QString m_strTitle;
  QString m_strWindowTitle;
};

}  // namespace lw
