#pragma once
// Process-wide state of the cover page document and of the editing state it shares with the
// view. The program has exactly one document and one view, so this state is global; it is
// grouped in three structs so that a test (or a new document in lwtool) can start from fresh
// values with one call. The g_ names are references to the members and are valid from
// program start (they are constant-initialised).

#include "document/GdiTypes.h"

#include <QList>
#include <QString>

#include <functional>

class CDrawObj;

namespace lw {

class ViewPort;

// Editing state shared by the view, its tools and the document.
struct EditState {
  LRect rcPage{-864, -1166, 864, 1166};  // g_rcPage: the page in logical units (last paint)
  QList<CDrawObj*> selection;            // g_selection: first selected at the head
  ViewPort* pDrawView = nullptr;         // g_pDrawView: the editing view, or null
  int nZoomLevel = -1;                   // g_nZoomLevel: -2 to 1
  int bUndoAvailable = 0;                // g_bUndoAvailable: an undo snapshot can be restored
};

// Applies a paper size code and orientation (1 portrait, 2 landscape) to the default printer
// settings. Returns false when there is no default printer (nothing is applied then).
using PrinterPaperHook = std::function<bool(int paperSizeCode, int orientation)>;

// The default PrinterPaperHook: stores the values in Doc() and returns true.
bool RecordPrinterPaper(int paperSizeCode, int orientation);

// The current cover page file and its page settings.
struct DocumentState {
  QString strDocPath;       // g_strDocPath: full path of the current file; empty while untitled
  int bOpenedReadOnly = 0;  // g_bOpenedReadOnly
  int bFolderReadOnly = 0;  // g_bFolderReadOnly: result of the last folder probe
  int bLoadOk = 1;          // g_bLoadOk: cleared when reading a file fails with a format error
  int nPaperIndex = 0;      // g_nPaperIndex: 0..2, see PaperSizeCode
  int bLandscape = 0;       // g_bLandscape
  int nFileVersion = 3;     // g_nFileVersion: version of the file being read
  int bFirstOpen = 1;       // the first Open dialog starts in g_strDocFolder
  int bFirstSaveAs = 1;     // the first Save As dialog starts in g_strDocFolder
  // The program's printer settings as last applied: paper size code and orientation.
  // Qt always has a printer to hand (at least its print-to-file printer), so by default
  // the settings exist and take the document's paper and orientation; a landscape page
  // stays landscape on a machine without an installed printer.
  int nPrinterPaperSize = 9;
  int nPrinterOrientation = 1;
  // Applies paper and orientation to the printer settings. The default records them in
  // the two members above; the printing code may install its own. Empty, or returning
  // false, means "no default printer": the page then stays portrait.
  PrinterPaperHook applyPrinterPaper = RecordPrinterPaper;
};

// Program-wide settings made once at start-up by the application.
struct ProgramSettings {
  int bLetterRegion = 0;  // g_bLetterRegion: the user's country uses letter-size paper
  QString strDocFolder;   // g_strDocFolder
  QString szScratchFile;  // g_szScratchFile: scratch file, also the undo file
  QString strAutoLabel;   // g_strAutoLabel: text 62522 as loaded ("自動" built in)
  LOGFONT lfDefault;      // g_lfDefault: default font of new text objects
};

EditState& Edit();
DocumentState& Doc();
ProgramSettings& Settings();

// Fresh values (selection emptied, no view, zoom -1, paper A4 portrait, ...).
void ResetEditState();
void ResetDocumentState();
void ResetProgramSettings();
void ResetAllState();

// The built-in defaults of ProgramSettings that are not empty.
QString DefaultAutoLabel();  // "自動" (text 62522)
LOGFONT DefaultTextFont();   // height -35, normal weight, Japanese character set

}  // namespace lw

extern LRect& g_rcPage;
extern QList<CDrawObj*>& g_selection;
extern lw::ViewPort*& g_pDrawView;
extern int& g_nZoomLevel;
extern int& g_bUndoAvailable;

extern QString& g_strDocPath;
extern int& g_bOpenedReadOnly;
extern int& g_bFolderReadOnly;
extern int& g_bLoadOk;
extern int& g_nPaperIndex;
extern int& g_bLandscape;
extern int& g_nFileVersion;

extern int& g_bLetterRegion;
extern QString& g_strDocFolder;
extern QString& g_szScratchFile;
extern QString& g_strAutoLabel;
extern LOGFONT& g_lfDefault;
