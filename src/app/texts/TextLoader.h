#pragma once
// Loading user-interface texts by id: the language file first, the built-in string table
// second. This is the only way the program gets a text it shows.
//
// One language file is open per program (opened at start, closed at exit). Every id it does
// not carry falls back to the built-in table and sets the file's "missing" flag, which the
// About box shows as " !" after the language version.
//
// Typical use:
//   lw::OpenDefaultLanguageFile();                        // at start
//   QString title = lw::LoadText(62649);                  // a caption
//   lw::CTextLoader().MenuItemText(57600, 0);             // "新規作成(&N)\tCtrl+N"
//   for (auto& a : lw::FrameAccelerators()) ...           // the frame's shortcuts
//   lw::CloseLanguageFile();                              // at exit

#include <QKeySequence>
#include <QString>

#include <span>
#include <vector>

namespace lw {

class LanguageFile;

// ---- The open language file -------------------------------------------------------------

// Closes any open file, then opens the file in the folder of `modulePath` (the executable)
// whose base name is that of `name` (or, when `name` is empty, of the module) and whose
// extension is that of `name` (or ".lrc"). True when a valid file is open; a missing or
// invalid file leaves none open (see LanguageFileError()).
bool OpenLanguageFile(const QString& modulePath, const QString& name = QString());

// Closes any open file, then opens exactly `path`.
bool OpenLanguageFileAt(const QString& path);

// Where a user can put a translation without writing into the program's folder:
// <XDG data folder>/leafwright/leafwright.lrc.
QString UserLanguageFilePath();

// What the program does at start: the user's file (UserLanguageFilePath()) when it exists
// and is valid, else the file beside the executable, named like it with ".lrc".
bool OpenDefaultLanguageFile();

// Frees the open file; texts then come from the built-in table.
void CloseLanguageFile();

bool IsLanguageFileOpen();
// The path of the open file, empty when none is open.
QString LanguageFilePath();
// Why the last open failed (one line naming the file), empty after a successful open.
QString LanguageFileError();
// The open file itself, or null.
const LanguageFile* OpenLanguageFileData();

// ---- Menus and accelerators -------------------------------------------------------------

// Menu item flags as the menus are built: an item that opens a submenu, a separator.
inline constexpr unsigned kMenuPopup = 0x0010;
inline constexpr unsigned kMenuSeparator = 0x0800;

// The next entry of the popup title list while the menus are built; set it to 0 before
// building each copy of the main menu.
extern int g_nMenuPopupIndex;

struct CommandText {
  unsigned command;
  unsigned textId;
};

// The 77 rows (command id, text id) of the main menu's commands, in menu order.
std::span<const CommandText> CommandTable();
// The text id of a command's menu item, or 0 when the command has none.
unsigned CommandTextId(unsigned command);
// The text ids of the 14 popup titles of the main menu, in the order the popups are built.
std::span<const unsigned> PopupTitleIds();

struct FrameAccelerator {
  unsigned command;
  QKeySequence keys;
};

// The key sequence of a virtual key (F1..F24 as 112..135, letters and digits as their
// character codes) with accelerator flags (kAccelCtrl, kAccelShift, kAccelAlt).
QKeySequence AcceleratorKeys(unsigned virtualKey, unsigned flags);

// The built-in accelerator table of the main window.
std::vector<FrameAccelerator> DefaultAccelerators();

// The main window's accelerators: the built-in table, each entry's key replaced by the
// language file's accelerator of its command's menu text when that entry has one.
std::vector<FrameAccelerator> FrameAccelerators();

// ---- The loader -------------------------------------------------------------------------

// A loader holds no data; all its operations use the one open language file.
class CTextLoader {
 public:
  // The language text of `id` (its composed label), else the built-in text. True when one
  // of them has the id; `out` is left alone otherwise.
  bool LoadTextInto(QString& out, unsigned id);

  // The same as a string; empty when neither source has the id.
  QString LoadText(unsigned id);

  // "a.b.c.d" from the open file's header, followed by " !" when a text was missing from
  // it; "-" when no file is open.
  QString LanguageVersion() const;

  // The accelerator key of the language entry `id` (0 when it has none) and, in *flags, the
  // entry's accelerator flags. Only the language file is asked.
  unsigned LanguageAccelerator(unsigned id, unsigned* flags);

  // The text of a menu item as the menus are built: a command's menu text; for an item with
  // kMenuPopup the next popup title (counted by g_nMenuPopupIndex, at most 14); empty for
  // anything else (separators keep their own).
  QString MenuItemText(unsigned commandOrSubmenu, unsigned menuFlags);
};

// Convenience: CTextLoader().LoadText(id).
QString LoadText(unsigned id);

// A command's text holds the status-bar text, a line feed and the tool tip.
// The part before the first line feed (the whole text when there is none).
QString StatusBarText(unsigned id);
// The part after the first line feed, at most 80 characters; empty when there is none.
QString ToolTipText(unsigned id);

}  // namespace lw
