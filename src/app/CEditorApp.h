#pragma once
// The application: the start-up sequence, the command line, the program-wide settings made
// at start, and the end of the program.
//
//   QApplication qapp(argc, argv);
//   CEditorApp app;
//   if (!app.InitInstance(qapp.arguments().mid(1))) return 1;
//   int rc = qapp.exec();
//   return app.ExitInstance(rc);

#include <QString>
#include <QStringList>

#include <memory>

class CDrawDoc;
class CMainFrame;

namespace lw {
class FileCommands;
class FilePrompts;
class SettingsStore;
}  // namespace lw

// The command line asked for printing the named file and closing again.
extern bool g_bPrintAndExit;

namespace lw {

// A command line taken apart. The forms: empty; a path (open it); "/p" (any case) or
// "--print" followed by a path (open it, print it without a dialog, close the program).
struct CommandLine {
  bool printAndExit = false;
  QString path;        // the file named, without quotes; empty when none
  bool usage = false;  // the arguments fit none of the forms
};
CommandLine ParseCommandLine(const QStringList& arguments);

// The folder offered by the first Open dialog for a file named on the command line: the
// file's own folder (made absolute).
QString FolderOfCommandLineFile(const QString& path);

// The digit rule of the dialling code: empty 0; the decimal number of the digits; 0 when
// any character is not a digit.
int DialCodeNumber(const QString& code);
// Whether an international dialling code belongs to the letter-paper region: 1, 2, 50..59
// and 500..599.
bool IsLetterRegionCode(const QString& code);
// The user's locale's international dialling code (LC_TELEPHONE), e.g. "81"; empty when
// the locale has none.
QString LocaleDialCode();
// IsLetterRegionCode(LocaleDialCode()).
bool IsLetterRegion();

// The folder of the running executable (no trailing separator); empty when unknown.
QString ExeFolder();
// The program's shipped data folder (share/leafwright beside the executable's bin folder,
// or the installed one); empty when none is found.
QString DataFolder();
// The shipped sample cover pages (DataFolder()/samples).
QString ShippedSamplesFolder();
// The Samples folder: "Samples" beside the executable when that folder is writable,
// otherwise <XDG data folder>/leafwright/Samples. Created when missing, and then given a
// copy of each shipped sample. Empty when no such folder can be made.
QString PrepareSamplesFolder();

}  // namespace lw

class CEditorApp {
 public:
  CEditorApp();
  ~CEditorApp();
  CEditorApp(const CEditorApp&) = delete;
  CEditorApp& operator=(const CEditorApp&) = delete;

  // The start-up sequence: settings, language file, program name, scratch file, default
  // font, the document with its frame and view, the window in its saved state, the
  // command-line file. False ends the program at once.
  bool InitInstance(const QStringList& arguments);
  // Closes the language file and saves the recent-file list; returns `exitCode`.
  int ExitInstance(int exitCode);

  CMainFrame* MainFrame() const { return m_pFrame.get(); }
  CDrawDoc* Document() const { return m_pDoc.get(); }
  // The file commands of the document (null in a build without them).
  lw::FileCommands* Files() const { return m_pFiles.get(); }
  // Destroys the main window (as closing it does at the end of the program).
  void DestroyMainFrame();

  // The exit code the program ends with after a print run (non-zero when the file could
  // not be printed).
  int PrintExitCode() const { return m_nPrintExitCode; }

 private:
  void OpenCommandLine();
  void ConnectFileCommands();
  void ConnectView();

  std::unique_ptr<lw::SettingsStore> m_pStore;
  std::unique_ptr<CDrawDoc> m_pDoc;
  std::unique_ptr<CMainFrame> m_pFrame;
  std::unique_ptr<lw::FilePrompts> m_pPrompts;
  std::unique_ptr<lw::FileCommands> m_pFiles;
  lw::CommandLine m_commandLine;
  int m_nPrintExitCode = 0;
};
