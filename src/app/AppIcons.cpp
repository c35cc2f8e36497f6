#include "app/AppIcons.h"

#include "app/CommandIds.h"

#include <algorithm>
#include <array>

namespace lw {
namespace {

struct IconName {
  unsigned command;
  const char* themeName;  // freedesktop or widely used theme name; empty: ours only
  const char* ownName;    // file in :/icons
};

constexpr IconName kIcons[] = {
    {cmd::kFileNew, "document-new", "file-new"},
    {cmd::kFileOpen, "document-open", "file-open"},
    {cmd::kFileSave, "document-save", "file-save"},
    {cmd::kFilePrint, "document-print", "file-print"},
    {cmd::kPreview, "document-print-preview", "print-preview"},
    {cmd::kQuickPreview, "document-print-preview", "print-preview"},
    {cmd::kEditCut, "edit-cut", "edit-cut"},
    {cmd::kEditCopy, "edit-copy", "edit-copy"},
    {cmd::kEditPaste, "edit-paste", "edit-paste"},
    {cmd::kEditClear, "edit-delete", "edit-delete"},
    {cmd::kEditUndo, "edit-undo", "edit-undo"},
    {cmd::kZoomIn, "zoom-in", "zoom-in"},
    {cmd::kZoomOut, "zoom-out", "zoom-out"},
    {cmd::kBold, "format-text-bold", "text-bold"},
    {cmd::kItalic, "format-text-italic", "text-italic"},
    {cmd::kUnderline, "format-text-underline", "text-underline"},
    {cmd::kAlignTextLeft, "format-justify-left", "justify-left"},
    {cmd::kAlignTextCenter, "format-justify-center", "justify-center"},
    {cmd::kAlignTextRight, "format-justify-right", "justify-right"},
    {cmd::kToolSelect, "", "tool-select"},
    {cmd::kToolText, "draw-text", "tool-text"},
    {cmd::kToolLine, "draw-line", "tool-line"},
    {cmd::kToolFreehand, "draw-freehand", "tool-freehand"},
    {cmd::kToolRect, "draw-rectangle", "tool-rect"},
    {cmd::kToolEllipse, "draw-ellipse", "tool-ellipse"},
    {cmd::kBringForward, "object-order-raise", "order-raise"},
    {cmd::kSendBackward, "object-order-lower", "order-lower"},
    {cmd::kAlignLeft, "align-horizontal-left", "align-left"},
    {cmd::kAlignRight, "align-horizontal-right", "align-right"},
    {cmd::kAlignTop, "align-vertical-top", "align-top"},
    {cmd::kAlignBottom, "align-vertical-bottom", "align-bottom"},
    {cmd::kFormatFont, "preferences-desktop-font", "format-font"},
    {cmd::kHelpAbout, "help-about", "help-about"},
    {cmd::kHelpFinder, "help-contents", "help-contents"},
    {cmd::kUpload, "", "upload"},
    {cmd::kQuickUpload, "", "upload"},
    {cmd::kInsertPicture, "insert-image", "insert-picture"},
    {cmd::kQuickPicture, "insert-image", "insert-picture"},
};

// The commands that carry a picture in the menus, in the order of the menu image set.
constexpr std::array<unsigned, 28> kMenuImages = {57600, 57601, 57603, 57635, 57634, 57637, 57607,
                                                  32803, 57664, 32812, 32813, 32814, 32815, 32808,
                                                  32809, 57632, 32797, 32806, 32805, 32804, 32773,
                                                  57643, 57667, 32798, 32800, 32799, 32801, 32802};

QIcon OwnIcon(const char* name) {
  return QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name)));
}

}  // namespace

QIcon CommandIcon(unsigned command) {
  for (const IconName& icon : kIcons) {
    if (icon.command != command) continue;
    QIcon own = OwnIcon(icon.ownName);
    if (icon.themeName[0] == '\0') return own;
    return QIcon::fromTheme(QLatin1String(icon.themeName), own);
  }
  return QIcon();
}

bool HasMenuImage(unsigned command) {
  return std::find(kMenuImages.begin(), kMenuImages.end(), command) != kMenuImages.end();
}

QIcon ApplicationIcon() {
  return QIcon::fromTheme(QStringLiteral("leafwright"),
                          QIcon(QStringLiteral(":/icons/leafwright.svg")));
}

QIcon ScalableFontIcon() { return OwnIcon("truetype"); }

}  // namespace lw
