#pragma once
// The main menu of the frame: its structure (the menu template) and building it into a menu
// bar with the texts of the text loader, in the order in which the popup titles are counted.

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;

namespace lw {

// One node of the menu template: a command (id != 0, no children), a separator (id 0, no
// children, not a popup) or a popup with its items.
struct MenuNode {
  unsigned id = 0;
  bool popup = false;
  std::vector<MenuNode> items;
};

// The template of the main menu, popups in the order their titles are counted.
const std::vector<MenuNode>& MainMenuTemplate();

// Every command id of the main menu in template order (the recent-file placeholder once).
std::vector<unsigned> MainMenuCommands();

// Builds the main menu into `bar` (emptied first). `actionFor` gives the action of a
// command (null: left out); at the recent-file placeholder the actions of 57616..57631
// that `actionFor` gives are added in order. Resets g_nMenuPopupIndex to 0 first.
// Returns the File menu.
QMenu* BuildMainMenu(QMenuBar* bar, const std::function<QAction*(unsigned)>& actionFor);

// A recent file as the File menu shows it: "&N name" with the path shortened to at most
// 30 characters ("/…/folder/name.lwt"), keeping the file name whole.
QString RecentFileMenuText(int index, const QString& path);
QString AbbreviatePath(const QString& path, int maxChars);

}  // namespace lw
