#pragma once
// The main frame: menu bar, the four bars (standard, formatting, drawing, quick access), the
// status bar with its six panes, the editing view in the middle, the accelerators, the window
// title, and the window's saved size and state.
//
// Every command of the program has one action here, found by its command id. A command does
// something only once a handler is set for it (SetCommandHandler); until then its menu item
// and button stay disabled, so nothing pretends to work.

#include <QMainWindow>
#include <QRect>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <vector>

#include "app/texts/TextLoader.h"

class CDrawDoc;
class QLabel;
class QMenu;
class QPushButton;
class QToolBar;
class QToolButton;

namespace lw {
class CFormatToolBar;
struct CHARFORMAT;
}  // namespace lw

class CMainFrame : public QMainWindow {
  Q_OBJECT
 public:
  // What a command does, whether it can run now and whether it is checked. Empty functions:
  // always enabled, never checked.
  struct CommandHandler {
    std::function<void()> run;
    std::function<bool()> enabled;
    std::function<bool()> checked;
  };

  // Reads the saved placement ("Window") and builds the menus, bars and status bar.
  explicit CMainFrame(CDrawDoc* doc, QWidget* parent = nullptr);
  // Writes the placement when the window was shown, closes the document's open editors and
  // working files and deletes the scratch file.
  ~CMainFrame() override;

  CDrawDoc* Document() const { return m_pDoc; }

  // ---- commands -----------------------------------------------------------------------
  QAction* Action(unsigned command) const;
  void SetCommandHandler(unsigned command, CommandHandler handler);
  bool HasCommandHandler(unsigned command) const;
  // Runs a command as its menu item would (nothing when it is disabled). True when it ran.
  bool RunCommand(unsigned command);
  // Enables, disables and checks every action and refreshes the formatting bar.
  void UpdateCommandUI();

  // The accelerators in force (built-in table, keys replaced from the language file).
  const std::vector<lw::FrameAccelerator>& Accelerators() const { return m_accelerators; }

  // ---- placement ----------------------------------------------------------------------
  // Shows the window in the saved state: 2 maximised, 1 minimised, anything else normal.
  void ShowInSavedState();
  int SavedState() const { return m_nState; }
  QRect SavedNormalRect() const;

  // ---- view, title, recent files ------------------------------------------------------
  // Places the editing view in the middle of the frame (the frame takes ownership).
  void SetView(QWidget* view);
  QWidget* View() const { return m_pView; }

  // "name - Leafwright", "name(読み取り専用) - Leafwright", or the program's name alone.
  static QString ComposeTitle(const QString& documentTitle, bool readOnly);
  void SetDocumentTitle(const QString& documentTitle, bool readOnly);

  // The recent-file list, most recent first (at most five).
  void SetRecentFiles(const QStringList& files);
  QStringList RecentFiles() const { return m_recentFiles; }
  // Opens a file of the recent-file list / the command line.
  void SetOpenFileHandler(std::function<bool(const QString&)> open) {
    m_openFile = std::move(open);
  }
  bool OpenFile(const QString& path);
  // Asked when the window is about to close; false keeps it open (the save question).
  void SetCloseQuery(std::function<bool()> query) { m_closeQuery = std::move(query); }
  // Returns the drawing tool to the selection tool without changing the cursor.
  void SetSelectToolHook(std::function<void()> hook) { m_selectTool = std::move(hook); }
  // Answers the formatting bar's notifications (the view's text formatting).
  void SetFormatHandler(std::function<int(int, lw::CHARFORMAT*)> handler);

  // ---- bars ---------------------------------------------------------------------------
  QToolBar* StandardBar() const { return m_barStandard; }
  lw::CFormatToolBar* FormatBar() const { return m_barFormat; }
  QToolBar* DrawingBar() const { return m_barDrawing; }
  QToolBar* QuickAccessBar() const { return m_barQuickAccess; }
  QPushButton* QuickButton(unsigned command) const;
  QToolButton* SaveButton() const { return m_saveButton; }
  // Repaints the formatting bar (after selection and format changes).
  void RepaintFormatBar();

  // The menus the frame pops up: the bars' context menu, the Save drop-down, and the field
  // menus of the three quick-access buttons. The caller owns the menu.
  QMenu* CreateBarContextMenu();
  QMenu* CreateSaveMenu();
  QMenu* CreateFieldMenu(unsigned quickButton);

  // ---- status bar ---------------------------------------------------------------------
  // Panes 1 to 5 (position, size, CAP, NUM, SCRL); pane 0 is the message area.
  QLabel* StatusPane(int index) const;
  void SetStatusPaneText(int index, const QString& text);
  QString StatusMessage() const;
  bool HoldStatusText() const { return m_bHoldStatusText; }

  // The About box (command 57664); `modal` false only for tests that inspect it.
  void ShowAboutBox();

 protected:
  void setVisible(bool visible) override;
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void CreateActions();
  void CreateMenus();
  void CreateToolBars();
  void CreateStatusBar();
  void LoadAccelerators();
  void ToggleBar(QWidget* bar, bool* visibleMember);
  void RefreshRecentFileActions();
  void RefreshLockPanes();
  void ScheduleCommandUpdate();
  void RememberNormalRect();
  void SavePlacement();

  CDrawDoc* m_pDoc;
  QWidget* m_pView = nullptr;

  bool m_bFormatVisible = true;
  bool m_bDrawingVisible = true;
  bool m_bQuickVisible = true;
  bool m_bHoldStatusText = false;
  bool m_bFirstShow = true;
  bool m_bWasShown = false;
  bool m_bRestorePending = false;  // first shown maximised: leaving that restores the saved rect
  int m_nLeft, m_nTop, m_nRight, m_nBottom;
  int m_nState;

  std::map<unsigned, QAction*> m_actions;
  std::map<unsigned, CommandHandler> m_handlers;
  std::vector<lw::FrameAccelerator> m_accelerators;
  QStringList m_recentFiles;
  bool m_bUpdatePending = false;

  QToolBar* m_barStandard = nullptr;
  lw::CFormatToolBar* m_barFormat = nullptr;
  QToolBar* m_barDrawing = nullptr;
  QToolBar* m_barQuickAccess = nullptr;
  QToolButton* m_saveButton = nullptr;
  std::map<unsigned, QPushButton*> m_quickButtons;
  QLabel* m_panes[6] = {};

  std::function<bool(const QString&)> m_openFile;
  std::function<bool()> m_closeQuery;
  std::function<void()> m_selectTool;
  std::function<int(int, lw::CHARFORMAT*)> m_formatHandler;
};
