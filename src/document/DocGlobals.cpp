#include "document/DocGlobals.h"

namespace lw {

QString DefaultAutoLabel() { return QStringLiteral("自動"); }

LOGFONT DefaultTextFont() {
  LOGFONT lf;
  lf.lfHeight = -35;
  lf.lfWeight = 400;
  lf.lfCharSet = 128;  // Shift-JIS character set
  lf.lfFaceName = QStringLiteral("ＭＳ Ｐゴシック");
  return lf;
}

namespace {
EditState g_editState;
DocumentState g_documentState;
ProgramSettings g_programSettings{0, {}, {}, DefaultAutoLabel(), DefaultTextFont()};
}  // namespace

EditState& Edit() { return g_editState; }
DocumentState& Doc() { return g_documentState; }
ProgramSettings& Settings() { return g_programSettings; }

void ResetEditState() { g_editState = EditState{}; }
bool RecordPrinterPaper(int paperSizeCode, int orientation) {
  g_documentState.nPrinterPaperSize = paperSizeCode;
  g_documentState.nPrinterOrientation = orientation;
  return true;
}

void ResetDocumentState() { g_documentState = DocumentState{}; }
void ResetProgramSettings() {
  g_programSettings = ProgramSettings{0, {}, {}, DefaultAutoLabel(), DefaultTextFont()};
}
void ResetAllState() {
  ResetEditState();
  ResetDocumentState();
  ResetProgramSettings();
}

}  // namespace lw

LRect& g_rcPage = lw::g_editState.rcPage;
QList<CDrawObj*>& g_selection = lw::g_editState.selection;
lw::ViewPort*& g_pDrawView = lw::g_editState.pDrawView;
int& g_nZoomLevel = lw::g_editState.nZoomLevel;
int& g_bUndoAvailable = lw::g_editState.bUndoAvailable;

QString& g_strDocPath = lw::g_documentState.strDocPath;
int& g_bOpenedReadOnly = lw::g_documentState.bOpenedReadOnly;
int& g_bFolderReadOnly = lw::g_documentState.bFolderReadOnly;
int& g_bLoadOk = lw::g_documentState.bLoadOk;
int& g_nPaperIndex = lw::g_documentState.nPaperIndex;
int& g_bLandscape = lw::g_documentState.bLandscape;
int& g_nFileVersion = lw::g_documentState.nFileVersion;

int& g_bLetterRegion = lw::g_programSettings.bLetterRegion;
QString& g_strDocFolder = lw::g_programSettings.strDocFolder;
QString& g_szScratchFile = lw::g_programSettings.szScratchFile;
QString& g_strAutoLabel = lw::g_programSettings.strAutoLabel;
LOGFONT& g_lfDefault = lw::g_programSettings.lfDefault;
