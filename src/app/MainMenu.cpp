#include "app/MainMenu.h"

#include "app/CommandIds.h"
#include "app/texts/TextLoader.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QMenuBar>

namespace lw {
namespace {

MenuNode Item(unsigned id) { return MenuNode{id, false, {}}; }
MenuNode Sep() { return MenuNode{0, false, {}}; }
MenuNode Popup(std::vector<MenuNode> items) { return MenuNode{0, true, std::move(items)}; }

void CollectCommands(const std::vector<MenuNode>& nodes, std::vector<unsigned>& out) {
  for (const MenuNode& n : nodes) {
    if (n.popup) {
      CollectCommands(n.items, out);
    } else if (n.id != 0) {
      out.push_back(n.id);
    }
  }
}

void AddItems(QMenu* menu, const std::vector<MenuNode>& nodes, CTextLoader& loader,
              const std::function<QAction*(unsigned)>& actionFor) {
  for (const MenuNode& n : nodes) {
    if (n.popup) {
      QMenu* sub = menu->addMenu(loader.MenuItemText(0, kMenuPopup));
      AddItems(sub, n.items, loader, actionFor);
    } else if (n.id == 0) {
      menu->addSeparator();
    } else if (n.id == cmd::kFileMruFirst) {
      // The recent-file block: one action per entry the frame keeps.
      for (unsigned id = cmd::kFileMruFirst; id <= cmd::kFileMruLast; ++id) {
        if (QAction* a = actionFor(id)) menu->addAction(a);
      }
    } else if (QAction* a = actionFor(n.id)) {
      menu->addAction(a);
    }
  }
}

}  // namespace

const std::vector<MenuNode>& MainMenuTemplate() {
  using namespace cmd;
  static const std::vector<MenuNode> menu = {
      Popup({Item(kFileNew), Item(kFileOpen), Item(kFileSave), Item(kFileSaveAs), Sep(),
             Item(kUpload), Item(kUploadDestination), Sep(), Item(kFilePrint), Item(kPreview),
             Sep(), Item(kFileMruFirst), Sep(), Item(kAppExit)}),
      Popup({Item(kEditUndo), Sep(), Item(kEditCut), Item(kEditCopy), Item(kEditPaste),
             Item(kEditClear), Sep(), Item(kEditSelectAll)}),
      Popup({Item(kViewGrid),
             Popup({Item(kViewToolBar), Item(kViewFormatBar), Item(kViewDrawingBar),
                    Item(kViewQuickBar), Item(kViewStatusBar)}),
             Sep(), Item(kZoomIn), Item(kZoomOut)}),
      Popup({Popup({Item(32780), Item(32781), Item(32782), Item(32783), Item(32784), Item(32785)}),
             Popup({Item(32786), Item(32787), Item(32788), Item(32789), Item(32790), Item(32791)}),
             Popup({Item(32792), Item(32793), Item(32794), Item(32795)}), Sep(),
             Item(kInsertPicture), Item(kToolText),
             Popup({Item(kToolSelect), Item(kToolFreehand), Item(kToolLine), Item(kToolRect),
                    Item(kToolEllipse)})}),
      Popup({Item(kFormatFont),
             Popup({Item(kAlignTextRight), Item(kAlignTextCenter), Item(kAlignTextLeft)}), Sep(),
             Item(kObjectProperties)}),
      Popup({Item(kBringForward), Item(kSendBackward), Item(kBringToFront), Item(kSendToBack),
             Sep(),
             Popup({Item(kAlignLeft), Item(kAlignRight), Item(kAlignTop), Item(kAlignBottom)})}),
      Popup({Item(kHelpFinder), Sep(), Item(kHelpAbout)}),
  };
  return menu;
}

std::vector<unsigned> MainMenuCommands() {
  std::vector<unsigned> out;
  CollectCommands(MainMenuTemplate(), out);
  return out;
}

QMenu* BuildMainMenu(QMenuBar* bar, const std::function<QAction*(unsigned)>& actionFor) {
  bar->clear();
  g_nMenuPopupIndex = 0;
  CTextLoader loader;
  QMenu* fileMenu = nullptr;
  for (const MenuNode& top : MainMenuTemplate()) {
    QMenu* menu = bar->addMenu(loader.MenuItemText(0, kMenuPopup));
    if (!fileMenu) fileMenu = menu;
    AddItems(menu, top.items, loader, actionFor);
  }
  return fileMenu;
}

QString AbbreviatePath(const QString& path, int maxChars) {
  const QString native = QDir::toNativeSeparators(path);
  if (native.size() <= maxChars) return native;
  const QStringList parts = native.split(QLatin1Char('/'));
  const QString name = parts.last();
  if (name.size() + 4 >= maxChars || parts.size() < 2) return name;
  // Keep as many trailing folders as fit after "/…".
  QString tail = QLatin1Char('/') + name;
  for (int i = parts.size() - 2; i > 0; --i) {
    const QString candidate = QLatin1Char('/') + parts[i] + tail;
    if (candidate.size() + 2 > maxChars) break;
    tail = candidate;
  }
  return QStringLiteral("/…") + tail;
}

QString RecentFileMenuText(int index, const QString& path) {
  QString shown = AbbreviatePath(path, 30);
  shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
  return QStringLiteral("&%1 %2").arg(index + 1).arg(shown);
}

}  // namespace lw
