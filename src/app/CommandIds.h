#pragma once
// Command ids of the main window: menu items, bar buttons and accelerators carry these
// numbers, and every text of a command (menu label, status text, tool tip) is looked up
// through them.

namespace lw::cmd {

// File
inline constexpr unsigned kFileNew = 57600;
inline constexpr unsigned kFileOpen = 57601;
inline constexpr unsigned kFileSave = 57603;
inline constexpr unsigned kFileSaveAs = 57604;
inline constexpr unsigned kFilePageSetup = 57606;
inline constexpr unsigned kFilePrint = 57607;
inline constexpr unsigned kFilePrintDirect = 57608;  // print without the dialog
inline constexpr unsigned kFilePrintPreview = 57609;
inline constexpr unsigned kFileMruFirst = 57616;  // 57616..57631: the recent-file list
inline constexpr unsigned kFileMruLast = 57631;
inline constexpr unsigned kAppExit = 57665;
inline constexpr unsigned kUpload = 32771;
inline constexpr unsigned kUploadDestination = 32772;
inline constexpr unsigned kPreview = 32773;

// Edit
inline constexpr unsigned kEditClear = 57632;
inline constexpr unsigned kEditCopy = 57634;
inline constexpr unsigned kEditCut = 57635;
inline constexpr unsigned kEditPaste = 57637;
inline constexpr unsigned kEditSelectAll = 57642;
inline constexpr unsigned kEditUndo = 57643;

// View
inline constexpr unsigned kViewGrid = 32774;
inline constexpr unsigned kViewToolBar = 59392;  // the standard bar
inline constexpr unsigned kViewFormatBar = 32775;
inline constexpr unsigned kViewDrawingBar = 32776;
inline constexpr unsigned kViewQuickBar = 32777;
inline constexpr unsigned kViewStatusBar = 59393;
inline constexpr unsigned kZoomIn = 32778;
inline constexpr unsigned kZoomOut = 32779;

// Insert: recipient 32780..32785, sender 32786..32791, message 32792..32795
inline constexpr unsigned kFieldFirst = 32780;
inline constexpr unsigned kFieldLast = 32795;
inline constexpr unsigned kInsertPicture = 32796;
inline constexpr unsigned kToolText = 32797;
inline constexpr unsigned kToolSelect = 32798;
inline constexpr unsigned kToolFreehand = 32799;
inline constexpr unsigned kToolLine = 32800;
inline constexpr unsigned kToolRect = 32801;
inline constexpr unsigned kToolEllipse = 32802;

// Format and layout
inline constexpr unsigned kFormatFont = 32803;
inline constexpr unsigned kAlignTextRight = 32804;
inline constexpr unsigned kAlignTextCenter = 32805;
inline constexpr unsigned kAlignTextLeft = 32806;
inline constexpr unsigned kObjectProperties = 32807;
inline constexpr unsigned kBringForward = 32808;
inline constexpr unsigned kSendBackward = 32809;
inline constexpr unsigned kBringToFront = 32810;
inline constexpr unsigned kSendToBack = 32811;
inline constexpr unsigned kAlignLeft = 32812;
inline constexpr unsigned kAlignRight = 32813;
inline constexpr unsigned kAlignTop = 32814;
inline constexpr unsigned kAlignBottom = 32815;
inline constexpr unsigned kBold = 32816;
inline constexpr unsigned kItalic = 32817;
inline constexpr unsigned kUnderline = 32818;

// The formatting bar's boxes and the status bar's panes (ids of their texts).
inline constexpr unsigned kFontNameBox = 32821;
inline constexpr unsigned kFontSizeBox = 32822;
inline constexpr unsigned kPanePosition = 32823;
inline constexpr unsigned kPaneSize = 32824;
inline constexpr unsigned kPaneCaps = 59137;
inline constexpr unsigned kPaneNum = 59138;
inline constexpr unsigned kPaneScroll = 59139;

// Quick-access bar
inline constexpr unsigned kQuickOpenTemplate = 32937;
inline constexpr unsigned kQuickRecipient = 32938;
inline constexpr unsigned kQuickSender = 32939;
inline constexpr unsigned kQuickComment = 32940;
inline constexpr unsigned kQuickPicture = 32941;
inline constexpr unsigned kQuickPreview = 32942;
inline constexpr unsigned kQuickUpload = 32943;

// Help
inline constexpr unsigned kHelpAbout = 57664;
inline constexpr unsigned kHelpFinder = 57667;
inline constexpr unsigned kHelp = 57670;
inline constexpr unsigned kNextPane = 57680;
inline constexpr unsigned kPrevPane = 57681;

// The idle text of the status bar ("レディ").
inline constexpr unsigned kIdleMessage = 57345;

}  // namespace lw::cmd
