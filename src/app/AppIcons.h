#pragma once
// Icons of the commands: the desktop's icon theme where it has the icon, our own drawn
// icons (shipped inside the program) otherwise, so the bars look complete on any desktop.

#include <QIcon>
#include <QString>

namespace lw {

// The icon of a command id; a null icon when the command has none.
QIcon CommandIcon(unsigned command);

// Whether the command's picture is shown beside its menu item (the menu image set);
// commands outside that set show their icon on the bars only.
bool HasMenuImage(unsigned command);

// The program's own icon.
QIcon ApplicationIcon();

// The glyph that marks a scalable (TrueType-like) face in the font-name box.
QIcon ScalableFontIcon();

}  // namespace lw
