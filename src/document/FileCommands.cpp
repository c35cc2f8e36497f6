#include "document/FileCommands.h"

#include "document/CDrawDoc.h"
#include "document/CDrawObj.h"
#include "document/DocGlobals.h"
#include "document/FileLock.h"
#include "document/ObjectKind.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QTemporaryFile>

#include <iconv.h>
#include <unistd.h>

#include <cerrno>

namespace lw {
namespace {

// The texts of these commands as built into the program, for callers without a text loader
// (lwtool, tests of the logic alone).
QString BuiltInText(int id) {
  static const QHash<int, QString> texts = {
      {kTextNotCoverPage, QStringLiteral("このファイルはカバーぺージファイルではありません。")},
      {kTextFileMissing, QStringLiteral("このファイルは存在しません！")},
      {kTextOpenReadOnlyInUse, QStringLiteral(" は現在編集中です。読み取り専用で開きますか ?")},
      {kTextFolderReadOnly, QStringLiteral("この文書は編集できません。読取専用で開きますか ?")},
      {kTextIsReadOnly, QStringLiteral(" は読み取り専用です !")},
      {kTextCannotSaveInUse, QStringLiteral("は現在編集中です、保存できません！")},
      {kTextCannotSave, QStringLiteral("文書は保存できませんでした。")},
      {kTextReadOnlySuffix, QStringLiteral("(読み取り専用)")},
      {kTextUntitledFile, QStringLiteral("無題.lwt")},
      {kTextSaveChanges, QStringLiteral(" は変更されています。保存しますか？")},
      {kTextUntitled, QStringLiteral("無題")},
      {kTextFileFilter,
       QStringLiteral("Leafwright Files (*.lwt)|*.lwt|全てのファイル (*.*)|*.*||")},
      {kTextSaveChangesOnClose, QStringLiteral("%1 への変更を保存しますか?")},
      {kTextUntitledOnClose, QStringLiteral("無題")},
      {kTextAppName, QStringLiteral("Leafwright")},
  };
  return texts.value(id);
}

// The cover page extension, compared without regard to case: "lwt" after the last "." of
// the file name.
bool HasCoverPageExtension(const QString& path) {
  const QString name = FileCommands::FileNameOf(path);
  const qsizetype dot = name.lastIndexOf(u'.');
  return dot >= 0 && name.mid(dot + 1).compare(u"lwt", Qt::CaseInsensitive) == 0;
}

// Bytes a character takes in code page 932, the code page of the names stored in cover page
// files and sent to the device: one for ASCII, half-width katakana and characters the code
// page lacks (written as '?'), two for the rest.
class Cp932Counter {
 public:
  Cp932Counter() : m_cd(iconv_open("CP932", "UTF-8")) {}
  ~Cp932Counter() {
    if (m_cd != iconv_t(-1)) iconv_close(m_cd);
  }
  Cp932Counter(const Cp932Counter&) = delete;
  Cp932Counter& operator=(const Cp932Counter&) = delete;

  int Bytes(char32_t c) {
    if (c < 0x80) return 1;
    if (c >= 0xFF61 && c <= 0xFF9F) return 1;
    if (m_cd == iconv_t(-1)) return 2;
    QByteArray in = QString::fromUcs4(&c, 1).toUtf8();
    char out[8];
    char* pin = in.data();
    size_t inLeft = size_t(in.size());
    char* pout = out;
    size_t outLeft = sizeof out;
    iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(m_cd, &pin, &inLeft, &pout, &outLeft) == size_t(-1)) return 1;  // '?'
    return int(sizeof out - outLeft);
  }

 private:
  iconv_t m_cd;
};

// The longest prefix of `title` that takes at most `maxBytes` bytes in CP932, ending at a
// whole character.
QString CutToCp932Bytes(const QString& title, int maxBytes) {
  Cp932Counter counter;
  int used = 0;
  qsizetype end = 0;
  const qsizetype n = title.size();
  for (qsizetype i = 0; i < n;) {
    char32_t c = title[i].unicode();
    qsizetype len = 1;
    if (title[i].isHighSurrogate() && i + 1 < n && title[i + 1].isLowSurrogate()) {
      c = QChar::surrogateToUcs4(title[i], title[i + 1]);
      len = 2;
    }
    const int bytes = counter.Bytes(c);
    if (used + bytes > maxBytes) break;
    used += bytes;
    i += len;
    end = i;
  }
  return title.left(end);
}

}  // namespace

// ---- RecentFileList ---------------------------------------------------------------------

void RecentFileList::Add(const QString& path) {
  if (path.isEmpty()) return;
  const QString clean = QDir::cleanPath(path);
  m_entries.removeAll(clean);
  m_entries.prepend(clean);
  while (m_entries.size() > kMaxEntries) m_entries.removeLast();
  if (onChanged) onChanged(m_entries);
}

void RecentFileList::Remove(const QString& path) {
  if (m_entries.removeAll(QDir::cleanPath(path)) > 0 && onChanged) onChanged(m_entries);
}

void RecentFileList::SetEntries(const QStringList& entries) {
  m_entries.clear();
  for (const QString& e : entries) {
    if (e.isEmpty()) continue;
    const QString clean = QDir::cleanPath(e);
    if (m_entries.contains(clean)) continue;
    m_entries.append(clean);
    if (m_entries.size() == kMaxEntries) break;
  }
  if (onChanged) onChanged(m_entries);
}

// ---- FileCommands -----------------------------------------------------------------------

FileCommands::FileCommands(CDrawDoc& doc, FilePrompts& prompts)
    : m_doc(doc), m_prompts(prompts), m_io(DefaultDocumentIo()) {
  m_strTitle = Text(kTextUntitled);
}

FileCommands::~FileCommands() = default;

void FileCommands::SetTextSource(std::function<QString(unsigned)> loadText) {
  m_loadText = std::move(loadText);
  if (m_strPathName.isEmpty()) m_strTitle = Text(kTextUntitled);
}

void FileCommands::SetDocumentIo(DocumentIo io) { m_io = std::move(io); }

QString FileCommands::Text(int id) const {
  if (m_loadText) {
    QString t = m_loadText(unsigned(id));
    if (!t.isEmpty()) return t;
  }
  return BuiltInText(id);
}

bool FileCommands::IsHoldingFile() const { return m_hold != nullptr; }

QString FileCommands::FileNameOf(const QString& path) {
  const qsizetype slash = path.lastIndexOf(u'/');
  return slash < 0 ? path : path.mid(slash + 1);
}

bool FileCommands::FileExists(const QString& path) {
  return !path.isEmpty() && QFileInfo::exists(path);
}

bool FileCommands::IsFolderReadOnly(const QString& path) {
  // Create (and at once remove) a file of a unique name in the folder: a fixed name could
  // meet a file of someone else's.
  QTemporaryFile probe(QFileInfo(path).absolutePath() + QStringLiteral("/.lwtXXXXXX.tmp"));
  const bool readOnly = !probe.open();
  g_bFolderReadOnly = readOnly ? 1 : 0;
  return readOnly;
}

bool FileCommands::IsFileFree(const QString& path) const {
  const QByteArray native = QFile::encodeName(path);
  // Marked read-only: the user may not write it.
  if (::access(native.constData(), W_OK) != 0 && errno != ENOENT) return false;
  if (m_hold && m_hold->Holds(path)) return true;
  return !FileLock::IsLockedElsewhere(path);
}

QString FileCommands::SaveAsPath(const QString& chosen) {
  const QString name = FileNameOf(chosen);
  const qsizetype dot = name.lastIndexOf(u'.');
  QString title = dot >= 0 ? name.left(dot) : name;
  title = CutToCp932Bytes(title, 32);
  const qsizetype slash = chosen.lastIndexOf(u'/');
  const QString folder = slash < 0 ? QString() : chosen.left(slash);
  return QStringLiteral("%1/%2.lwt").arg(folder, title);
}

void FileCommands::SetWindowTitle(const QString& title) {
  m_strWindowTitle = title;
  if (onTitleChanged) onTitleChanged(title);
}

void FileCommands::UpdateTitleForFile(const QString& path, bool readOnly) {
  QString title = FileNameOf(path);
  if (readOnly) title += Text(kTextReadOnlySuffix);
  SetWindowTitle(title + QStringLiteral(" - ") + Text(kTextAppName));
}

void FileCommands::RepaintViews() { m_doc.UpdateAllViews(nullptr, kHintWholeView); }

void FileCommands::ReleaseHold() { m_hold.reset(); }

// The framework's own new-document step: empty contents, no path name, not modified. The
// flag is cleared directly: SetModifiedFlag ignores every change while m_bReadOnly is set,
// and a page left "modified" from before would then ask to be saved forever.
void FileCommands::FrameworkNewDocument() {
  m_doc.DeleteAllObjects();
  m_strPathName.clear();
  m_doc.m_bModified = false;
}

ReadOutcome FileCommands::FrameworkOpenDocument(const QString& path) {
  if (!m_io.read) return ReadOutcome::FileError;
  const ReadOutcome outcome = m_io.read(m_doc, path);
  if (outcome != ReadOutcome::FileError) m_doc.m_bModified = false;
  return outcome;
}

// Untitled, empty, titled with the program's name alone (after a refused or missing file).
void FileCommands::ResetToUntitled(bool repaintFrame) {
  m_doc.DeleteAllObjects();
  SetWindowTitle(Text(kTextAppName));
  g_strDocPath.clear();
  // Nothing of the refused file is held, and the previous file is no longer edited.
  ReleaseHold();
  g_bOpenedReadOnly = 0;
  FrameworkNewDocument();
  m_strTitle = Text(kTextUntitled);
  if (repaintFrame) RepaintViews();
}

// The save question before the document is replaced: the file name without its extension
// (or "無題"), followed by text 62580.
PromptAnswer FileCommands::AskSaveQuestion() {
  QString name = g_strDocPath.isEmpty() ? Text(kTextUntitledFile) : FileNameOf(g_strDocPath);
  name.chop(4);  // ".lwt"
  return m_prompts.Ask({kTextSaveChanges, name + Text(kTextSaveChanges), PromptButtons::YesNoCancel,
                        PromptIcon::Question});
}

// ---- New --------------------------------------------------------------------------------

void FileCommands::OnFileNew() {
  if (m_doc.IsModified()) {
    const PromptAnswer a = AskSaveQuestion();
    if (a == PromptAnswer::Cancel) return;
    if (a == PromptAnswer::Yes) {
      OnFileSave();
      // The changes were not saved (dialog cancelled, write refused): keep them.
      if (m_doc.IsModified()) return;
    }
  }
  SetWindowTitle(Text(kTextUntitled) + QStringLiteral(" - ") + Text(kTextAppName));
  OnNewDocument();
}

bool FileCommands::OnNewDocument() {
  m_doc.EndTextEditing();
  ReleaseHold();
  g_bOpenedReadOnly = 0;
  FrameworkNewDocument();
  // A new page is the user's own: its changes are tracked again.
  m_doc.m_bReadOnly = 0;
  m_doc.DeleteAllObjects();
  g_strDocPath.clear();
  RepaintViews();
  m_strTitle = Text(kTextUntitled);
  SetWindowTitle(m_strTitle + QStringLiteral(" - ") + Text(kTextAppName));
  return true;
}

// ---- Open -------------------------------------------------------------------------------

void FileCommands::OnFileOpen() {
  const QString filter = Text(kTextFileFilter);
  for (;;) {
    QString start;
    if (lw::Doc().bFirstOpen) {
      start = g_strDocFolder;
      lw::Doc().bFirstOpen = 0;
    }
    const QString path = m_prompts.ChooseOpenFile(filter, start);
    if (path.isEmpty()) return;
    if (HasCoverPageExtension(path)) {
      OnOpenDocument(path);
      return;
    }
    m_prompts.Ask(
        {kTextNotCoverPage, Text(kTextNotCoverPage), PromptButtons::Ok, PromptIcon::Exclamation});
  }
}

bool FileCommands::OnOpenDocument(const QString& path) {
  m_doc.EndTextEditing();
  g_bLoadOk = 1;
  const QString previousPath = g_strDocPath;
  const int previousReadOnly = g_bOpenedReadOnly;

  if (!HasCoverPageExtension(path)) {
    m_prompts.Ask(
        {kTextNotCoverPage, Text(kTextNotCoverPage), PromptButtons::Ok, PromptIcon::Exclamation});
    ResetToUntitled(true);
    return false;
  }

  if (m_doc.IsModified()) {
    const PromptAnswer a = AskSaveQuestion();
    if (a == PromptAnswer::Cancel) return false;
    if (a == PromptAnswer::Yes) {
      if (m_hold && !g_bOpenedReadOnly) {
        OnFileSave();
      } else {
        OnFileSaveAs();
      }
      // Unsaved changes are never dropped: a save that did not happen stops the open.
      if (m_doc.IsModified()) return false;
    }
  }

  m_doc.DeleteAllObjects();
  // Whether the previous file was edited: its lock is taken again if this open fails.
  const bool previousHeld = m_hold != nullptr;
  ReleaseHold();
  g_strDocPath = path;

  if (!FileExists(path)) {
    m_prompts.Ask(
        {kTextFileMissing, Text(kTextFileMissing), PromptButtons::Ok, PromptIcon::Exclamation});
    ResetToUntitled(true);
    return false;
  }

  // Another file than before: whether changes are tracked is decided afresh.
  m_doc.m_bReadOnly = 0;
  if (CheckAccess(path) == 0) return true;  // the program is closing

  const ReadOutcome outcome = FrameworkOpenDocument(path);
  if (outcome == ReadOutcome::FileError) {
    ReleaseHold();
    if (g_bLoadOk && !previousPath.isEmpty()) {
      // Back to the previous file: its contents, its path and its lock.
      g_strDocPath = previousPath;
      g_bOpenedReadOnly = previousReadOnly;
      FrameworkOpenDocument(previousPath);
      if (previousHeld) m_hold = FileLock::TryAcquire(previousPath);
      RepaintViews();
    } else {
      ResetToUntitled(false);
      RepaintViews();
    }
    return false;
  }

  // Read (or emptied by a format error): the file is now the document's.
  m_strPathName = path;
  m_strTitle = FileNameOf(path);
  UpdateTitleForFile(path, g_bOpenedReadOnly != 0);
  m_recent.Add(path);
  RepaintViews();
  return true;
}

// Decides between editing and read-only viewing. For a file that can be edited the lock is
// taken here, in one step with the test, so two copies can never both start editing it.
int FileCommands::CheckAccess(const QString& path) {
  const QByteArray native = QFile::encodeName(path);
  if (IsFolderReadOnly(path) || ::access(native.constData(), W_OK) != 0) {
    g_bOpenedReadOnly = 1;
    return AskReadOnly(path);
  }
  m_hold = FileLock::TryAcquire(path);
  if (m_hold) {
    g_bOpenedReadOnly = 0;
    return 1;
  }
  g_bOpenedReadOnly = 1;
  return AskReadOnly(path);
}

int FileCommands::AskReadOnly(const QString& path) {
  PromptMessage m;
  m.buttons = PromptButtons::OkCancel;
  m.icon = PromptIcon::Question;
  if (g_bFolderReadOnly) {
    m.textId = kTextFolderReadOnly;
    m.text = Text(kTextFolderReadOnly);
    g_bFolderReadOnly = 0;
  } else {
    m_doc.m_bReadOnly = 1;
    m.textId = kTextOpenReadOnlyInUse;
    m.text = u'\'' + FileNameOf(path) + u'\'' + Text(kTextOpenReadOnlyInUse);
  }
  if (m_prompts.Ask(m) == PromptAnswer::Cancel) {
    m_prompts.PostCloseRequest();
    return 0;
  }
  return 1;
}

// ---- Save -------------------------------------------------------------------------------

void FileCommands::OnFileSave() {
  if (!g_strDocPath.isEmpty()) {
    if (IsFolderReadOnly(g_strDocPath)) {
      m_prompts.Ask(
          {kTextCannotSave, Text(kTextCannotSave), PromptButtons::Ok, PromptIcon::Exclamation});
      g_bFolderReadOnly = 0;
    } else {
      OnSaveDocument(g_strDocPath);
    }
    return;
  }
  SaveToChosenName();
}

// The save dialog of an untitled document, starting at "無題.lwt" in the document folder.
bool FileCommands::SaveToChosenName() {
  const QString initial = g_strDocFolder.isEmpty()
                              ? Text(kTextUntitledFile)
                              : g_strDocFolder + u'/' + Text(kTextUntitledFile);
  const QString chosen = m_prompts.ChooseSaveFile(Text(kTextFileFilter), g_strDocFolder, initial);
  if (chosen.isEmpty()) return false;
  return SaveAsChosen(chosen);
}

void FileCommands::OnFileSaveAs() {
  QString start;
  if (lw::Doc().bFirstSaveAs) {
    start = g_strDocFolder;
    lw::Doc().bFirstSaveAs = 0;
  }
  const QString chosen = m_prompts.ChooseSaveFile(Text(kTextFileFilter), start, QString());
  if (chosen.isEmpty()) return;
  SaveAsChosen(chosen);
}

bool FileCommands::SaveAsChosen(const QString& chosen) {
  const QString path = SaveAsPath(chosen);
  if (IsFolderReadOnly(path)) {
    m_prompts.Ask(
        {kTextCannotSave, Text(kTextCannotSave), PromptButtons::Ok, PromptIcon::Exclamation});
    g_bFolderReadOnly = 0;
    return false;
  }
  return OnSaveDocument(path);
}

void FileCommands::ReportCannotSave(const QString& path) {
  m_prompts.Ask({kTextCannotSaveInUse,
                 u'\'' + FileNameOf(path) + QStringLiteral("' ") + Text(kTextCannotSaveInUse),
                 PromptButtons::Ok, PromptIcon::Question});
}

bool FileCommands::OnSaveDocument(const QString& path) {
  m_doc.EndTextEditing();
  if (path == g_strDocPath) {
    if (g_bOpenedReadOnly && !IsFileFree(path)) {
      ReportCannotSave(path);
      return false;
    }
    if (!m_doc.IsModified()) return true;
    if (g_bOpenedReadOnly) {
      m_prompts.Ask({kTextIsReadOnly,
                     u'\'' + FileNameOf(path) + QStringLiteral("' ") + Text(kTextIsReadOnly),
                     PromptButtons::Ok, PromptIcon::Exclamation});
      return false;
    }
    ReorderFieldObjects();
    return WriteDocument(path);
  }

  if (FileExists(path) && !IsFileFree(path)) {
    ReportCannotSave(path);
    return false;
  }
  if (!WriteDocument(path)) return false;
  g_strDocPath = path;
  m_strPathName = path;
  m_strTitle = FileNameOf(path);
  g_bOpenedReadOnly = 0;
  // The document now lives in a file of the user's own: changes count again.
  m_doc.m_bReadOnly = 0;
  UpdateTitleForFile(path, false);
  m_recent.Add(path);
  return true;
}

// Writes the document into a new file beside `path` and renames it over `path` only when it
// is complete, so a failed or interrupted save leaves the old file as it was. The new file
// is locked before it takes the name, so the document stays held without a gap.
bool FileCommands::WriteDocument(const QString& path) {
  auto fail = [&] {
    m_prompts.Ask(
        {kTextCannotSave, Text(kTextCannotSave), PromptButtons::Ok, PromptIcon::Exclamation});
    return false;
  };
  QSaveFile out(path);
  if (!out.open(QIODevice::WriteOnly)) return fail();
  if (!m_io.write || !m_io.write(m_doc, out) || !out.flush()) {
    out.cancelWriting();
    return fail();
  }
  // A second descriptor of the new file keeps its lock after QSaveFile closes its own.
  const int fd = ::dup(out.handle());
  if (fd < 0) {
    out.cancelWriting();
    return fail();
  }
  if (::fsync(fd) != 0) {
    ::close(fd);
    out.cancelWriting();
    return fail();
  }
  std::unique_ptr<FileLock> lock = FileLock::Adopt(fd);
  if (!out.commit()) return fail();
  m_hold = std::move(lock);
  m_doc.m_bModified = false;
  return true;
}

// Before a save to the document's own file: every recipient section field (kind 16) goes to
// the top of the stacking order, then every recipient name field (kind 14) above them, so the
// server meets the name fields first. Walking from the top, each one met goes to the top, so
// the order within each group is reversed.
void FileCommands::ReorderFieldObjects() {
  QList<CDrawObj*>& list = m_doc.m_objects;
  if (list.size() < 2) return;
  for (const int kind : {16, 14}) {
    const QList<CDrawObj*> snapshot = list;
    for (auto it = snapshot.crbegin(); it != snapshot.crend(); ++it) {
      if ((*it)->m_nKind != kind) continue;
      list.removeOne(*it);
      list.append(*it);
    }
  }
  RepaintViews();
}

// ---- Closing ----------------------------------------------------------------------------

bool FileCommands::SaveModified() {
  if (!m_doc.IsModified()) return true;
  QString name = m_strPathName;
  if (name.isEmpty()) name = m_strTitle;
  if (name.isEmpty()) name = Text(kTextUntitledOnClose);
  const PromptAnswer a =
      m_prompts.Ask({kTextSaveChangesOnClose, Text(kTextSaveChangesOnClose).arg(name),
                     PromptButtons::YesNoCancel, PromptIcon::Question});
  if (a == PromptAnswer::Cancel) return false;
  if (a == PromptAnswer::No) return true;
  // An untitled document, or a file that may not be written, is saved under a new name.
  const QByteArray native = QFile::encodeName(m_strPathName);
  if (m_strPathName.isEmpty() || ::access(native.constData(), W_OK) != 0) {
    return SaveToChosenName() && !m_doc.IsModified();
  }
  return OnSaveDocument(m_strPathName) && !m_doc.IsModified();
}

}  // namespace lw
