#include "app/CMainFrame.h"

#include "app/AppIcons.h"
#include "app/CAboutDlg.h"
#include "app/CommandIds.h"
#include "app/FormatToolBar.h"
#include "app/MainMenu.h"
#include "app/settings/SettingsStore.h"
#include "app/texts/ControlText.h"
#include "document/CDrawDoc.h"
#include "document/CDrawObj.h"
#include "document/DocGlobals.h"
#include "document/ObjectKind.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

using namespace lw;

namespace {

// Bar buttons (0: separator).
constexpr unsigned kStandardButtons[] = {57600, 57601, 57603, 0, 32773, 0,    57635,
                                         57634, 57637, 57632, 0, 32778, 32779};
constexpr unsigned kFormatButtons[] = {32816, 32817, 32818, 0, 32806, 32805, 32804};
constexpr unsigned kDrawingButtons[] = {32798, 0,     32797, 32800, 32799, 32801, 32802, 0,
                                        32808, 32809, 0,     32812, 32813, 32814, 32815};

struct QuickButtonDef {
  unsigned command;
  unsigned textId;
};
constexpr QuickButtonDef kQuickButtons[] = {
    {cmd::kQuickOpenTemplate, 62586}, {cmd::kQuickRecipient, 62587}, {cmd::kQuickSender, 62588},
    {cmd::kQuickComment, 62589},      {cmd::kQuickPicture, 62590},   {cmd::kQuickPreview, 62591},
    {cmd::kQuickUpload, 62592}};

// The field menus of the quick-access buttons: first and last command.
struct FieldMenuDef {
  unsigned button;
  unsigned first;
  unsigned last;
};
constexpr FieldMenuDef kFieldMenus[] = {{cmd::kQuickRecipient, 32780, 32785},
                                        {cmd::kQuickSender, 32786, 32791},
                                        {cmd::kQuickComment, 32792, 32795}};

// The texts of the bar context menu (menu 143).
struct BarMenuItem {
  unsigned command;
  unsigned textId;
};
constexpr BarMenuItem kBarMenu[] = {{cmd::kViewToolBar, 62677},
                                    {cmd::kViewFormatBar, 62678},
                                    {cmd::kViewDrawingBar, 62679},
                                    {cmd::kViewQuickBar, 62680},
                                    {cmd::kViewStatusBar, 62681}};

constexpr unsigned kPaneIds[6] = {
    0, cmd::kPanePosition, cmd::kPaneSize, cmd::kPaneCaps, cmd::kPaneNum, cmd::kPaneScroll};

constexpr int kRecentFileEntries = kRecentFileCount;  // 5

// Whether a keyboard lock is on, from the keyboard's LED as the kernel reports it.
// Unknown (no such LED readable, as under a virtual display) counts as off.
bool LockLedOn(const char* suffix) {
  static const QStringList leds = [] {
    QStringList found;
    const QDir dir(QStringLiteral("/sys/class/leds"));
    for (const QString& name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) found << name;
    return found;
  }();
  for (const QString& led : leds) {
    if (!led.endsWith(QLatin1String(suffix))) continue;
    QFile f(QStringLiteral("/sys/class/leds/%1/brightness").arg(led));
    if (f.open(QIODevice::ReadOnly) && f.readAll().trimmed() != "0") return true;
  }
  return false;
}

}  // namespace

CMainFrame::CMainFrame(CDrawDoc* doc, QWidget* parent) : QMainWindow(parent), m_pDoc(doc) {
  const SettingsStore store;
  const WindowPlacementSetting placement = ReadWindowPlacement(store);
  m_nLeft = placement.left;
  m_nTop = placement.top;
  m_nRight = placement.right;
  m_nBottom = placement.bottom;
  m_nState = placement.state;

  setWindowIcon(ApplicationIcon());
  setWindowTitle(ComposeTitle(QString(), false));
  CreateActions();
  LoadAccelerators();
  CreateMenus();
  CreateToolBars();
  CreateStatusBar();
  setCentralWidget(new QWidget(this));  // replaced by the editing view

  qApp->installEventFilter(this);
  UpdateCommandUI();
}

CMainFrame::~CMainFrame() {
  qApp->removeEventFilter(this);
  if (m_bWasShown) SavePlacement();
  if (m_pDoc) m_pDoc->EndTextEditing();
  if (m_pDoc) m_pDoc->DeleteAllObjects();
  if (!g_szScratchFile.isEmpty()) {
    QFile::remove(g_szScratchFile);
    g_szScratchFile.clear();
  }
}

// ---- commands -----------------------------------------------------------------------

void CMainFrame::CreateActions() {
  CTextLoader loader;
  auto make = [&](unsigned id, const QString& text) {
    auto* a = new QAction(text, this);
    a->setData(id);
    const QString tip = StatusBarText(id);
    a->setStatusTip(tip);
    const QString toolTip = ToolTipText(id);
    if (!toolTip.isEmpty()) a->setToolTip(toolTip);
    const QIcon icon = CommandIcon(id);
    if (!icon.isNull()) {
      a->setIcon(icon);
      a->setIconVisibleInMenu(HasMenuImage(id));
    }
    a->setEnabled(false);
    connect(a, &QAction::triggered, this, [this, id] { RunCommand(id); });
    m_actions[id] = a;
    addAction(a);  // shortcuts work even while the menu bar is hidden
    return a;
  };
  for (unsigned id : MainMenuCommands()) {
    if (id == cmd::kFileMruFirst) continue;
    make(id, loader.MenuItemText(id, 0));
  }
  // The recent-file entries; the first one doubles as the placeholder of an empty list.
  for (int i = 0; i < kRecentFileEntries; ++i) {
    const unsigned id = cmd::kFileMruFirst + unsigned(i);
    make(id, loader.MenuItemText(id, 0));
  }
  // Bar-only and accelerator-only commands.
  for (unsigned id : {32816u, 32817u, 32818u, 57608u, 57609u, 57670u, 57680u, 57681u}) {
    make(id, StatusBarText(id));
  }
  for (const QuickButtonDef& q : kQuickButtons) make(q.command, LoadText(q.textId));

  for (unsigned id : {cmd::kViewToolBar, cmd::kViewFormatBar, cmd::kViewDrawingBar,
                      cmd::kViewQuickBar, cmd::kViewStatusBar, cmd::kViewGrid}) {
    m_actions[id]->setCheckable(true);
  }
  for (unsigned id : {cmd::kBold, cmd::kItalic, cmd::kUnderline, cmd::kAlignTextLeft,
                      cmd::kAlignTextCenter, cmd::kAlignTextRight, cmd::kToolSelect, cmd::kToolText,
                      cmd::kToolLine, cmd::kToolFreehand, cmd::kToolRect, cmd::kToolEllipse}) {
    m_actions[id]->setCheckable(true);
  }

  // What the frame itself handles.
  SetCommandHandler(cmd::kAppExit, {[this] { close(); }, {}, {}});
  SetCommandHandler(cmd::kHelpAbout, {[this] { ShowAboutBox(); }, {}, {}});
  SetCommandHandler(cmd::kViewToolBar,
                    {[this] { ToggleBar(m_barStandard, nullptr); },
                     {},
                     [this] { return m_barStandard && !m_barStandard->isHidden(); }});
  SetCommandHandler(cmd::kViewFormatBar, {[this] { ToggleBar(m_barFormat, &m_bFormatVisible); },
                                          {},
                                          [this] { return m_bFormatVisible; }});
  SetCommandHandler(cmd::kViewDrawingBar, {[this] { ToggleBar(m_barDrawing, &m_bDrawingVisible); },
                                           {},
                                           [this] { return m_bDrawingVisible; }});
  SetCommandHandler(cmd::kViewQuickBar, {[this] { ToggleBar(m_barQuickAccess, &m_bQuickVisible); },
                                         {},
                                         [this] { return m_bQuickVisible; }});
  SetCommandHandler(cmd::kViewStatusBar, {[this] { ToggleBar(statusBar(), nullptr); },
                                          {},
                                          [this] { return !statusBar()->isHidden(); }});
  for (int i = 0; i < kRecentFileEntries; ++i) {
    SetCommandHandler(cmd::kFileMruFirst + unsigned(i),
                      {[this, i] {
                         if (i < m_recentFiles.size()) OpenFile(m_recentFiles[i]);
                       },
                       [this, i] { return i < m_recentFiles.size() && bool(m_openFile); },
                       {}});
  }
}

QAction* CMainFrame::Action(unsigned command) const {
  auto it = m_actions.find(command);
  return it == m_actions.end() ? nullptr : it->second;
}

void CMainFrame::SetCommandHandler(unsigned command, CommandHandler handler) {
  m_handlers[command] = std::move(handler);
  ScheduleCommandUpdate();
}

bool CMainFrame::HasCommandHandler(unsigned command) const {
  return m_handlers.count(command) != 0;
}

bool CMainFrame::RunCommand(unsigned command) {
  auto it = m_handlers.find(command);
  if (it == m_handlers.end() || !it->second.run) return false;
  if (it->second.enabled && !it->second.enabled()) return false;
  // Copy: the handler may replace itself.
  const std::function<void()> run = it->second.run;
  run();
  ScheduleCommandUpdate();
  return true;
}

void CMainFrame::ScheduleCommandUpdate() {
  if (m_bUpdatePending) return;
  m_bUpdatePending = true;
  QTimer::singleShot(0, this, [this] {
    m_bUpdatePending = false;
    UpdateCommandUI();
  });
}

void CMainFrame::UpdateCommandUI() {
  for (auto& [id, action] : m_actions) {
    auto it = m_handlers.find(id);
    const bool handled = it != m_handlers.end() && it->second.run;
    const bool enabled = handled && (!it->second.enabled || it->second.enabled());
    action->setEnabled(enabled);
    if (action->isCheckable()) {
      const bool checked = handled && it->second.checked && it->second.checked();
      action->setChecked(checked);
    }
  }
  for (auto& [id, button] : m_quickButtons) {
    // The field buttons open menus of commands: usable when one of those is.
    bool enabled = Action(id)->isEnabled();
    for (const FieldMenuDef& f : kFieldMenus) {
      if (f.button != id) continue;
      enabled = false;
      for (unsigned c = f.first; c <= f.last; ++c) enabled = enabled || Action(c)->isEnabled();
    }
    button->setEnabled(enabled);
  }
  if (m_saveButton)
    m_saveButton->setEnabled(Action(cmd::kFileSave)->isEnabled() ||
                             Action(cmd::kFileSaveAs)->isEnabled());
  // The font boxes: only while a single text object is selected.
  bool singleText = false;
  if (g_selection.size() == 1) {
    const CDrawObj* obj = g_selection.first();
    singleText =
        obj->m_nKind == kKindLabel || (obj->m_nKind == kKindGraphic && obj->m_bEditableText);
  }
  if (m_barFormat) m_barFormat->Refresh(singleText);
  RefreshLockPanes();
}

void CMainFrame::SetFormatHandler(std::function<int(int, CHARFORMAT*)> handler) {
  m_formatHandler = std::move(handler);
}

// ---- accelerators and menus ---------------------------------------------------------

void CMainFrame::LoadAccelerators() {
  m_accelerators = FrameAccelerators();
  if (m_accelerators.empty()) m_accelerators = DefaultAccelerators();
  std::map<unsigned, QList<QKeySequence>> keys;
  for (const FrameAccelerator& a : m_accelerators) keys[a.command].append(a.keys);
  for (auto& [id, list] : keys) {
    if (QAction* a = Action(id)) a->setShortcuts(list);
  }
}

void CMainFrame::CreateMenus() {
  QMenu* fileMenu = BuildMainMenu(menuBar(), [this](unsigned id) { return Action(id); });
  connect(fileMenu, &QMenu::aboutToShow, this, &CMainFrame::RefreshRecentFileActions);
  const auto menus = menuBar()->findChildren<QMenu*>();
  for (QMenu* menu : menus) {
    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUI);
  }
  RefreshRecentFileActions();
}

void CMainFrame::SetRecentFiles(const QStringList& files) {
  m_recentFiles = files.mid(0, kRecentFileEntries);
  RefreshRecentFileActions();
  ScheduleCommandUpdate();
}

void CMainFrame::RefreshRecentFileActions() {
  for (int i = 0; i < kRecentFileEntries; ++i) {
    QAction* a = Action(cmd::kFileMruFirst + unsigned(i));
    if (i < m_recentFiles.size()) {
      a->setText(RecentFileMenuText(i, m_recentFiles[i]));
      a->setVisible(true);
    } else if (i == 0) {
      a->setText(CTextLoader().MenuItemText(cmd::kFileMruFirst, 0));  // "最近使ったファイル"
      a->setVisible(true);
    } else {
      a->setVisible(false);
    }
  }
}

bool CMainFrame::OpenFile(const QString& path) { return m_openFile ? m_openFile(path) : false; }

// ---- bars ---------------------------------------------------------------------------

void CMainFrame::CreateToolBars() {
  setIconSize(QSize(16, 16));
  auto addButtons = [this](QToolBar* bar, auto& ids) {
    for (unsigned id : ids) {
      if (id == 0) {
        bar->addSeparator();
      } else {
        bar->addAction(Action(id));
      }
    }
  };

  m_barStandard = new QToolBar(QStringLiteral("Standard"), this);
  m_barStandard->setObjectName(QStringLiteral("standard"));
  addButtons(m_barStandard, kStandardButtons);
  // The Save button with its drop-down arrow.
  m_saveButton = qobject_cast<QToolButton*>(m_barStandard->widgetForAction(Action(cmd::kFileSave)));
  if (m_saveButton) {
    m_saveButton->setPopupMode(QToolButton::MenuButtonPopup);
    m_saveButton->setMenu(CreateSaveMenu());
  }
  SetControlId(m_barStandard, 59392);

  m_barFormat = new CFormatToolBar(this);
  m_barFormat->setWindowTitle(QStringLiteral("Format"));
  m_barFormat->setObjectName(QStringLiteral("format"));
  m_barFormat->addSeparator();
  addButtons(m_barFormat, kFormatButtons);
  m_barFormat->SetNotifier([this](int code, CHARFORMAT* format) {
    return m_formatHandler ? m_formatHandler(code, format) : 0;
  });
  m_barFormat->installEventFilter(this);
  m_barFormat->NameBox()->installEventFilter(this);
  m_barFormat->NameBox()->lineEdit()->installEventFilter(this);
  SetControlId(m_barFormat, 32775);

  m_barDrawing = new QToolBar(QStringLiteral("Drawing"), this);
  m_barDrawing->setObjectName(QStringLiteral("drawing"));
  addButtons(m_barDrawing, kDrawingButtons);
  SetControlId(m_barDrawing, 59392);

  m_barQuickAccess = new QToolBar(QStringLiteral("Quick access"), this);
  m_barQuickAccess->setObjectName(QStringLiteral("quick"));
  SetControlId(m_barQuickAccess, 59397);
  const QFontMetrics fm(font());
  const int buttonWidth = std::max(71 * fm.averageCharWidth() / 4, 100);
  for (const QuickButtonDef& q : kQuickButtons) {
    auto* button = new QPushButton(LoadText(q.textId), m_barQuickAccess);
    button->setMinimumWidth(buttonWidth);
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolTip(ToolTipText(q.command));
    button->setStatusTip(StatusBarText(q.command));
    SetControlId(button, int(q.command));
    m_barQuickAccess->addWidget(button);
    m_quickButtons[q.command] = button;
    const unsigned id = q.command;
    const bool fieldMenu = std::any_of(std::begin(kFieldMenus), std::end(kFieldMenus),
                                       [id](const FieldMenuDef& f) { return f.button == id; });
    if (fieldMenu) {
      connect(button, &QPushButton::clicked, this, [this, button, id] {
        QMenu* menu = CreateFieldMenu(id);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(button->mapToGlobal(button->rect().bottomLeft()));
      });
    } else {
      connect(button, &QPushButton::clicked, this, [this, id] { RunCommand(id); });
    }
  }

  // Standard and formatting bar in the first row, drawing and quick access below.
  addToolBar(Qt::TopToolBarArea, m_barStandard);
  addToolBar(Qt::TopToolBarArea, m_barFormat);
  addToolBarBreak(Qt::TopToolBarArea);
  addToolBar(Qt::TopToolBarArea, m_barDrawing);
  addToolBarBreak(Qt::TopToolBarArea);
  addToolBar(Qt::TopToolBarArea, m_barQuickAccess);
  for (QToolBar* bar :
       {m_barStandard, static_cast<QToolBar*>(m_barFormat), m_barDrawing, m_barQuickAccess}) {
    bar->setIconSize(QSize(16, 16));
    bar->toggleViewAction()->setVisible(false);  // the View menu has the frame's own items
  }
}

QPushButton* CMainFrame::QuickButton(unsigned command) const {
  auto it = m_quickButtons.find(command);
  return it == m_quickButtons.end() ? nullptr : it->second;
}

void CMainFrame::ToggleBar(QWidget* bar, bool* visibleMember) {
  if (!bar) return;
  const bool show = bar->isHidden();
  bar->setVisible(show);
  if (visibleMember) *visibleMember = show;
  bar->update();
  update();
}

void CMainFrame::RepaintFormatBar() {
  if (m_barFormat) m_barFormat->update();
}

QMenu* CMainFrame::CreateBarContextMenu() {
  auto* menu = new QMenu(this);
  UpdateCommandUI();
  for (const BarMenuItem& item : kBarMenu) {
    QAction* a = menu->addAction(LoadText(item.textId));
    QAction* command = Action(item.command);
    a->setCheckable(true);
    a->setChecked(command->isChecked());
    a->setEnabled(command->isEnabled());
    a->setData(item.command);
    const unsigned id = item.command;
    connect(a, &QAction::triggered, this, [this, id] { RunCommand(id); });
  }
  return menu;
}

QMenu* CMainFrame::CreateSaveMenu() {
  auto* menu = new QMenu(this);
  menu->addAction(Action(cmd::kFileSave));
  menu->addAction(Action(cmd::kFileSaveAs));
  // Labels of the drop-down: texts 62659 and 62660 (the menu items' own texts).
  return menu;
}

QMenu* CMainFrame::CreateFieldMenu(unsigned quickButton) {
  auto* menu = new QMenu(this);
  UpdateCommandUI();
  for (const FieldMenuDef& f : kFieldMenus) {
    if (f.button != quickButton) continue;
    for (unsigned c = f.first; c <= f.last; ++c) menu->addAction(Action(c));
  }
  return menu;
}

// ---- status bar ---------------------------------------------------------------------

void CMainFrame::CreateStatusBar() {
  QStatusBar* bar = statusBar();
  SetControlId(bar, 59393);
  for (int i = 1; i < 6; ++i) {
    auto* pane = new QLabel(bar);
    pane->setFrameShape(QFrame::Panel);
    pane->setFrameShadow(QFrame::Sunken);
    pane->setAlignment(Qt::AlignCenter);
    // Each pane is as wide as the text of its id.
    const QString widthText = LoadText(kPaneIds[i]);
    pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(widthText) + 8);
    SetControlId(pane, int(kPaneIds[i]));
    bar->addPermanentWidget(pane);
    m_panes[i] = pane;
  }
  bar->showMessage(LoadText(cmd::kIdleMessage));
  RefreshLockPanes();
}

QLabel* CMainFrame::StatusPane(int index) const {
  return index >= 1 && index < 6 ? m_panes[index] : nullptr;
}

void CMainFrame::SetStatusPaneText(int index, const QString& text) {
  if (QLabel* pane = StatusPane(index)) pane->setText(text);
}

QString CMainFrame::StatusMessage() const { return statusBar()->currentMessage(); }

void CMainFrame::RefreshLockPanes() {
  SetStatusPaneText(3, LockLedOn("capslock") ? LoadText(cmd::kPaneCaps) : QString());
  SetStatusPaneText(4, LockLedOn("numlock") ? LoadText(cmd::kPaneNum) : QString());
  SetStatusPaneText(5, LockLedOn("scrolllock") ? LoadText(cmd::kPaneScroll) : QString());
}

// ---- title --------------------------------------------------------------------------

QString CMainFrame::ComposeTitle(const QString& documentTitle, bool readOnly) {
  const QString app = LoadText(129);
  if (documentTitle.isEmpty()) return app;
  QString name = documentTitle;
  if (readOnly) name += LoadText(62572);
  return name + QStringLiteral(" - ") + app;
}

void CMainFrame::SetDocumentTitle(const QString& documentTitle, bool readOnly) {
  setWindowTitle(ComposeTitle(documentTitle, readOnly));
}

// ---- view ---------------------------------------------------------------------------

void CMainFrame::SetView(QWidget* view) {
  m_pView = view;
  setCentralWidget(view);
}

// ---- placement ----------------------------------------------------------------------

QRect CMainFrame::SavedNormalRect() const {
  return QRect(QPoint(m_nLeft, m_nTop), QSize(m_nRight - m_nLeft, m_nBottom - m_nTop));
}

void CMainFrame::ShowInSavedState() {
  switch (m_nState) {
    case 2:
      showMaximized();
      break;
    case 1:
      showMinimized();
      break;
    default:
      show();
      break;
  }
}

void CMainFrame::setVisible(bool visible) {
  if (visible && m_bFirstShow) {
    m_bFirstShow = false;
    QRect rect = SavedNormalRect();
    if (rect.width() < 200 || rect.height() < 150) rect.setSize(QSize(633, 510));
    // A rectangle that lies on no screen (a monitor gone since) comes back onto the first.
    bool onScreen = false;
    for (QScreen* s : QGuiApplication::screens()) {
      onScreen = onScreen || s->availableGeometry().intersects(rect);
    }
    if (!onScreen && QGuiApplication::primaryScreen()) {
      rect.moveTopLeft(QGuiApplication::primaryScreen()->availableGeometry().topLeft());
    }
    const Qt::WindowStates state = windowState();
    setGeometry(rect);
    setWindowState(state);
    m_bRestorePending = (state & Qt::WindowMaximized) != 0;
    m_bWasShown = true;
    // The font list takes a while on a system with many fonts: it is filled once the
    // window is up (or at once when the name box is used before that).
    QTimer::singleShot(200, this, [this] { m_barFormat->EnsureFontList(); });
  }
  QMainWindow::setVisible(visible);
}

void CMainFrame::RememberNormalRect() {
  if (!isVisible() || m_bFirstShow) return;
  if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) return;
  const QRect r = geometry();
  m_nLeft = r.left();
  m_nTop = r.top();
  m_nRight = r.left() + r.width();
  m_nBottom = r.top() + r.height();
}

void CMainFrame::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  RememberNormalRect();
}

void CMainFrame::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  RememberNormalRect();
}

void CMainFrame::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange || !m_bRestorePending) return;
  const Qt::WindowStates state = windowState();
  if (state & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)) return;
  // The window started maximised: returning to normal shows the saved normal rectangle,
  // whatever the window system remembered.
  m_bRestorePending = false;
  const QRect rect = SavedNormalRect();
  QTimer::singleShot(0, this, [this, rect] {
    if (!(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized))) setGeometry(rect);
  });
}

void CMainFrame::SavePlacement() {
  RememberNormalRect();
  WindowPlacementSetting p;
  p.left = m_nLeft;
  p.top = m_nTop;
  p.right = m_nRight;
  p.bottom = m_nBottom;
  const Qt::WindowStates state = windowState();
  p.state = (state & Qt::WindowMinimized) ? 1 : (state & Qt::WindowMaximized) ? 2 : 0;
  SettingsStore store;
  WriteWindowPlacement(store, p);
  store.Sync();
}

// ---- events -------------------------------------------------------------------------

void CMainFrame::closeEvent(QCloseEvent* event) {
  if (m_closeQuery && !m_closeQuery()) {
    event->ignore();
    return;
  }
  event->accept();
}

bool CMainFrame::event(QEvent* event) {
  if (event->type() == QEvent::StatusTip) {
    if (m_bHoldStatusText) return true;
    auto* tip = static_cast<QStatusTipEvent*>(event);
    statusBar()->showMessage(tip->tip().isEmpty() ? LoadText(cmd::kIdleMessage) : tip->tip());
    return true;
  }
  return QMainWindow::event(event);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      auto* me = static_cast<QMouseEvent*>(event);
      if (me->button() != Qt::LeftButton || !m_barFormat) break;
      const bool onBar =
          watched == m_barFormat && me->position().x() < m_barFormat->AverageCharWidth() * 96 / 5;
      const bool onNameEdit = watched == m_barFormat->NameBox()->lineEdit();
      if (onBar || onNameEdit) {
        statusBar()->showMessage(StatusBarText(cmd::kFontNameBox));
        m_bHoldStatusText = true;
      }
      break;
    }
    case QEvent::MouseButtonRelease:
      if (m_bHoldStatusText && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        m_bHoldStatusText = false;
        statusBar()->clearMessage();
      }
      ScheduleCommandUpdate();
      break;
    case QEvent::KeyRelease:
      ScheduleCommandUpdate();
      break;
    default:
      break;
  }
  return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::contextMenuEvent(QContextMenuEvent* event) {
  // Only on a bar itself (or the empty bar area), not on a control inside it.
  QWidget* child = childAt(event->pos());
  const bool onBar = qobject_cast<QToolBar*>(child) || qobject_cast<QStatusBar*>(child) ||
                     (!child && centralWidget() && event->pos().y() < centralWidget()->y());
  if (!onBar) {
    event->ignore();
    return;
  }
  QMenu* menu = CreateBarContextMenu();
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->popup(event->globalPos());
}

// ---- About --------------------------------------------------------------------------

void CMainFrame::ShowAboutBox() {
  if (m_selectTool) m_selectTool();
  CAboutDlg dlg(this);
  dlg.exec();
}
