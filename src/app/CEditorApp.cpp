#include "app/CEditorApp.h"

#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/settings/SettingsStore.h"
#include "app/texts/TextLoader.h"
#include "base/TempFiles.h"
#include "document/CDrawDoc.h"
#include "document/DocGlobals.h"
#include "document/FontMapping.h"
#include "document/MessageSeam.h"
#include "log/DiagnosticLog.h"

#include "document/FileCommands.h"
#if LW_HAVE_FILE_COMMANDS
#include "app/FilePrompts.h"
#endif
#if LW_HAVE_VIEW
#include "view/CDrawView.h"
#endif

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTimer>

#include <langinfo.h>
#include <locale.h>
#include <clocale>
#include <cstdio>

bool g_bPrintAndExit = false;

namespace lw {

// ---- command line ---------------------------------------------------------------------

namespace {

QString Unquote(QString s) {
  s.remove(QLatin1Char('"'));
  return s;
}

}  // namespace

CommandLine ParseCommandLine(const QStringList& arguments) {
  CommandLine line;
  if (arguments.isEmpty()) return line;
  const QString first = arguments.first();
  const QString lower = first.toLower();
  if (lower == QLatin1String("/p") || lower == QLatin1String("--print")) {
    // "/p" "path" (as a shell or a desktop entry passes it) or "--print" PATH.
    line.printAndExit = true;
    if (arguments.size() != 2 || arguments[1].isEmpty()) {
      line.usage = true;
      return line;
    }
    line.path = Unquote(arguments[1]);
    return line;
  }
  if (arguments.size() == 1 && lower.startsWith(QLatin1String("/p "))) {
    // The whole command line in one argument: /p "path".
    line.printAndExit = true;
    line.path = Unquote(first.mid(3)).trimmed();
    line.usage = line.path.isEmpty();
    return line;
  }
  if (arguments.size() != 1 ||
      (first.startsWith(QLatin1String("--")) && !QFileInfo::exists(first))) {
    line.usage = true;
    return line;
  }
  line.path = Unquote(first);
  return line;
}

QString FolderOfCommandLineFile(const QString& path) { return QFileInfo(path).absolutePath(); }

// ---- letter-paper region --------------------------------------------------------------

int DialCodeNumber(const QString& code) {
  int value = 0;
  for (QChar c : code) {
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return 0;
    if (value > 100000000) return 0;  // far beyond any dialling code
    value = value * 10 + (c.unicode() - '0');
  }
  return value;
}

bool IsLetterRegionCode(const QString& code) {
  const int n = DialCodeNumber(code);
  return n == 1 || n == 2 || (n >= 50 && n <= 59) || (n >= 500 && n <= 599);
}

QString LocaleDialCode() {
  // LC_TELEPHONE of the user's environment (LC_ALL, LC_TELEPHONE, LANG).
  locale_t loc = newlocale(LC_TELEPHONE_MASK, "", static_cast<locale_t>(0));
  if (loc == static_cast<locale_t>(0)) return QString();
  const char* prefix = nl_langinfo_l(_NL_TELEPHONE_INT_PREFIX, loc);
  const QString code = prefix ? QString::fromLocal8Bit(prefix) : QString();
  freelocale(loc);
  return code;
}

bool IsLetterRegion() { return IsLetterRegionCode(LocaleDialCode()); }

// ---- folders --------------------------------------------------------------------------

QString ExeFolder() {
  QString dir = QCoreApplication::applicationDirPath();
  while (dir.size() > 1 && dir.endsWith(QLatin1Char('/'))) dir.chop(1);
  return dir;
}

QString DataFolder() {
  const QString beside = QDir::cleanPath(ExeFolder() + QStringLiteral("/../share/leafwright"));
  if (QFileInfo(beside).isDir()) return beside;
  return QStandardPaths::locate(QStandardPaths::GenericDataLocation, QStringLiteral("leafwright"),
                                QStandardPaths::LocateDirectory);
}

QString ShippedSamplesFolder() {
  const QString data = DataFolder();
  if (data.isEmpty()) return QString();
  const QString samples = data + QStringLiteral("/samples");
  return QFileInfo(samples).isDir() ? samples : QString();
}

QString PrepareSamplesFolder() {
  const QString exe = ExeFolder();
  QString folder;
  if (!exe.isEmpty() && QFileInfo(exe).isWritable()) {
    folder = exe + QStringLiteral("/Samples");
  } else {
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty()) return QString();
    folder = data + QStringLiteral("/leafwright/Samples");
  }
  if (QFileInfo(folder).isDir()) return folder;
  if (!QDir().mkpath(folder)) return folder;  // a folder that cannot be made is ignored
  // A new Samples folder starts with a copy of each shipped sample.
  const QString shipped = ShippedSamplesFolder();
  if (!shipped.isEmpty()) {
    const QDir from(shipped);
    for (const QString& name : from.entryList({QStringLiteral("*.lwt")}, QDir::Files)) {
      QFile::copy(from.filePath(name), folder + QLatin1Char('/') + name);
    }
  }
  return folder;
}

}  // namespace lw

// ---- the application ------------------------------------------------------------------

using namespace lw;

namespace {

// With LW_EXIT_AFTER_FIRST_PAINT set (start-up time measurements), the program writes
// "first-paint" to standard output once the view has painted the page and ends.
class FirstPaintExit : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !m_done) {
      m_done = true;
      QTimer::singleShot(0, qApp, [] {
        std::fputs("first-paint\n", stdout);
        std::fflush(stdout);
        QApplication::exit(0);
      });
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  bool m_done = false;
};

void WatchFirstPaint(CMainFrame* frame) {
  if (!qEnvironmentVariableIsSet("LW_EXIT_AFTER_FIRST_PAINT")) return;
  QWidget* target = frame->View() ? frame->View() : frame->centralWidget();
  if (auto* area = qobject_cast<QAbstractScrollArea*>(target)) target = area->viewport();
  target->installEventFilter(new FirstPaintExit(frame));
  target->update();
}

}  // namespace

CEditorApp::CEditorApp() { TheDiagnosticLog().Configure(kLogKeyPath, kLogFileName, nullptr); }

CEditorApp::~CEditorApp() { DestroyMainFrame(); }

void CEditorApp::DestroyMainFrame() {
  // The file commands let go of the file first; the frame closes the view; the document
  // outlives both.
  m_pFiles.reset();
  m_pPrompts.reset();
  m_pFrame.reset();
  m_pDoc.reset();
}

void CEditorApp::ConnectFileCommands() {
#if LW_HAVE_FILE_COMMANDS
  CMainFrame* frame = m_pFrame.get();
  m_pPrompts = std::make_unique<QtFilePrompts>(frame);
  m_pFiles = std::make_unique<FileCommands>(*m_pDoc, *m_pPrompts);
  FileCommands* files = m_pFiles.get();
  files->SetTextSource([](unsigned id) { return LoadText(id); });
  files->onTitleChanged = [frame](const QString& title) { frame->setWindowTitle(title); };

  // The recent-file list: kept in the store by the file commands, shown by the frame.
  RecentFileList& recent = files->RecentFiles();
  ConnectRecentFiles(recent, *m_pStore);
  auto stored = recent.onChanged;
  recent.onChanged = [stored, frame](const QStringList& list) {
    if (stored) stored(list);
    frame->SetRecentFiles(list);
  };
  frame->SetRecentFiles(recent.Entries());

  frame->SetCommandHandler(cmd::kFileNew, {[files] { files->OnFileNew(); }, {}, {}});
  frame->SetCommandHandler(cmd::kFileOpen, {[files] { files->OnFileOpen(); }, {}, {}});
  frame->SetCommandHandler(cmd::kFileSave, {[files] { files->OnFileSave(); }, {}, {}});
  frame->SetCommandHandler(cmd::kFileSaveAs, {[files] { files->OnFileSaveAs(); }, {}, {}});
  frame->SetCommandHandler(cmd::kQuickOpenTemplate, {[files] { files->OnFileOpen(); }, {}, {}});
  frame->SetOpenFileHandler([files](const QString& path) { return files->OnOpenDocument(path); });
  frame->SetCloseQuery([files] { return files->SaveModified(); });
#endif
}

void CEditorApp::ConnectView() {
#if LW_HAVE_VIEW
  CMainFrame* frame = m_pFrame.get();
  auto* view = new CDrawView(m_pDoc.get(), frame);
  frame->SetView(view);
  frame->SetCommandHandler(
      cmd::kViewGrid, {[view] { view->OnViewGrid(); }, {}, [view] { return view->IsGridShown(); }});
  frame->SetCommandHandler(
      cmd::kZoomIn, {[view] { view->OnViewZoomIn(); }, [view] { return view->CanZoomIn(); }, {}});
  frame->SetCommandHandler(
      cmd::kZoomOut,
      {[view] { view->OnViewZoomOut(); }, [view] { return view->CanZoomOut(); }, {}});
  QObject::connect(view, &CDrawView::statusPanesChanged, frame,
                   [frame](const QString& position, const QString& size) {
                     frame->SetStatusPaneText(1, position);
                     frame->SetStatusPaneText(2, size);
                   });
  QObject::connect(view, &CDrawView::zoomChanged, frame, [frame] { frame->UpdateCommandUI(); });
  view->setFocus();
#endif
}

bool CEditorApp::InitInstance(const QStringList& arguments) {
  // Settings live in the store of "Software\Vantrel\Leafwright" (SettingsStore).
  QCoreApplication::setApplicationName(QStringLiteral("Leafwright"));
  QCoreApplication::setOrganizationName(QStringLiteral("Vantrel"));

  // Language file, then the program's name as message boxes show it.
  OpenDefaultLanguageFile();
  const QString appName = LoadText(57344);
  if (!appName.isEmpty()) QCoreApplication::setApplicationName(appName);

  // Failures of the non-GUI parts are shown in message boxes.
  SetMessageHandler([](int textId, const QString& detail) {
    QMessageBox box(QMessageBox::Warning, QApplication::applicationName(),
                    LoadText(unsigned(textId)), QMessageBox::Ok, QApplication::activeWindow());
    if (!detail.isEmpty()) box.setDetailedText(detail);
    box.exec();
  });

  // The scratch file that later holds the undo snapshot.
  g_szScratchFile = QString::fromStdString(MakeTempFile("lwt", ".tmp"));

  // Default font of new text objects: the face name stays the one files carry; on screen
  // and on paper it is drawn with the substituted face.
  InstallFontSubstitutions();
  g_lfDefault = DefaultTextFont();
  g_lfDefault.lfHeight = -35;
  g_lfDefault.lfWidth = 0;

  m_commandLine = ParseCommandLine(arguments);
  if (m_commandLine.usage) {
    std::fprintf(stderr, "usage: leafwright [FILE.lwt] | /p FILE.lwt | --print FILE.lwt\n");
    return false;
  }
  g_bPrintAndExit = m_commandLine.printAndExit;
  g_bLetterRegion = IsLetterRegion() ? 1 : 0;

  // The document with its frame and view: a new, empty cover page.
  m_pStore = std::make_unique<SettingsStore>();
  m_pDoc = std::make_unique<CDrawDoc>();
  m_pDoc->UpdatePageSize();
  m_pFrame = std::make_unique<CMainFrame>(m_pDoc.get());
  m_pFrame->SetRecentFiles(ReadRecentFiles(*m_pStore));
  ConnectView();
  ConnectFileCommands();
  if (m_pFiles && !m_pFiles->OnNewDocument()) return false;
  m_pFrame->SetDocumentTitle(LoadText(62456), false);

  m_pFrame->ShowInSavedState();

  if (!m_commandLine.path.isEmpty()) {
    QTimer::singleShot(0, m_pFrame.get(), [this] { OpenCommandLine(); });
    g_strDocFolder = FolderOfCommandLineFile(m_commandLine.path);
  } else {
    g_strDocFolder = PrepareSamplesFolder();
    WatchFirstPaint(m_pFrame.get());
  }
  g_strAutoLabel = LoadText(62522);
  return true;
}

void CEditorApp::OpenCommandLine() {
  CMainFrame* frame = m_pFrame.get();
  if (!frame) return;
  const bool opened = frame->OpenFile(m_commandLine.path);
  if (!g_bPrintAndExit) WatchFirstPaint(frame);
  if (!g_bPrintAndExit) return;
  // Print mode: print what was opened without a dialog; the print job closes the window
  // when it ends. A file that could not be opened is not printed (an empty page would be).
  if (!opened) {
    std::fprintf(stderr, "leafwright: %s could not be opened; nothing printed\n",
                 qPrintable(m_commandLine.path));
    m_nPrintExitCode = 1;
    frame->close();
    return;
  }
  if (!frame->RunCommand(cmd::kFilePrintDirect)) {
    std::fprintf(stderr, "leafwright: printing is not available in this build\n");
    m_nPrintExitCode = 1;
    frame->close();
  }
}

int CEditorApp::ExitInstance(int exitCode) {
  if (m_pFrame && !m_pFiles && m_pStore) WriteRecentFiles(*m_pStore, m_pFrame->RecentFiles());
  if (m_pStore) m_pStore->Sync();
  DestroyMainFrame();
  CloseLanguageFile();
  return exitCode != 0 ? exitCode : m_nPrintExitCode;
}
