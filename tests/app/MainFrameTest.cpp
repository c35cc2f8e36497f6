// The main window: its menus, bars, status bar, title rule and saved placement.
//
// Invariants under test:
// - the popups are titled from the popup title list in the order they are built, and every
//   command of the command table has its place, with the loader's text;
// - a command without a handler is disabled, everywhere it appears;
// - the normal rectangle and the show state survive closing and starting again, also when
//   the window is closed maximised.

#include "AppTestSupport.h"

#include "app/CAboutDlg.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/FormatToolBar.h"
#include "app/MainMenu.h"
#include "app/settings/SettingsStore.h"
#include "app/texts/ControlText.h"
#include "app/texts/TextLoader.h"
#include "document/CDrawDoc.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>
#include <set>

namespace {

class MainFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    apptest::ResetProgramState();
    doc = std::make_unique<CDrawDoc>();
    doc->UpdatePageSize();
  }
  void TearDown() override {
    frame.reset();
    doc.reset();
    apptest::ResetProgramState();
  }
  CMainFrame* MakeFrame() {
    frame = std::make_unique<CMainFrame>(doc.get());
    return frame.get();
  }
  std::unique_ptr<CDrawDoc> doc;
  std::unique_ptr<CMainFrame> frame;
};

void CollectMenuTitles(QMenu* menu, QStringList& titles, std::set<unsigned>& commands) {
  titles << menu->title();
  for (QAction* a : menu->actions()) {
    if (a->menu()) {
      CollectMenuTitles(a->menu(), titles, commands);
    } else if (!a->isSeparator()) {
      commands.insert(a->data().toUInt());
    }
  }
}

TEST_F(MainFrame, MenusFollowThePopupTitleListAndHoldEveryCommandOfTheTable) {
  CMainFrame* f = MakeFrame();
  QStringList titles;
  std::set<unsigned> commands;
  for (QAction* top : f->menuBar()->actions()) CollectMenuTitles(top->menu(), titles, commands);

  QStringList expected;
  for (unsigned id : lw::PopupTitleIds()) expected << lw::LoadText(id);
  EXPECT_EQ(titles, expected);

  for (const lw::CommandText& row : lw::CommandTable()) {
    if (row.command > lw::cmd::kFileMruFirst && row.command <= lw::cmd::kFileMruLast) continue;
    EXPECT_TRUE(commands.count(row.command)) << row.command;
    if (row.command == lw::cmd::kFileMruFirst) continue;
    EXPECT_EQ(f->Action(row.command)->text(), lw::LoadText(row.textId)) << row.command;
  }
}

TEST_F(MainFrame, CommandsWithoutAHandlerAreDisabledEverywhere) {
  CMainFrame* f = MakeFrame();
  f->UpdateCommandUI();
  for (unsigned id : {lw::cmd::kEditUndo, lw::cmd::kEditCut, lw::cmd::kToolLine, lw::cmd::kUpload,
                      lw::cmd::kFilePrint, 32780u}) {
    EXPECT_FALSE(f->Action(id)->isEnabled()) << id;
    EXPECT_FALSE(f->RunCommand(id)) << id;
  }
  // The field buttons open menus of commands that cannot run yet.
  EXPECT_FALSE(f->QuickButton(lw::cmd::kQuickRecipient)->isEnabled());
  EXPECT_FALSE(f->QuickButton(lw::cmd::kQuickUpload)->isEnabled());
  for (unsigned id : {lw::cmd::kAppExit, lw::cmd::kHelpAbout, lw::cmd::kViewDrawingBar}) {
    EXPECT_TRUE(f->Action(id)->isEnabled()) << id;
  }

  bool ran = false;
  f->SetCommandHandler(lw::cmd::kEditCut, {[&] { ran = true; }, {}, {}});
  f->UpdateCommandUI();
  EXPECT_TRUE(f->Action(lw::cmd::kEditCut)->isEnabled());
  f->Action(lw::cmd::kEditCut)->trigger();
  EXPECT_TRUE(ran);
}

TEST_F(MainFrame, BarsAndTheirMenus) {
  CMainFrame* f = MakeFrame();
  f->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(f));

  // Hiding and showing the drawing bar through its command.
  EXPECT_TRUE(f->DrawingBar()->isVisible());
  EXPECT_TRUE(f->RunCommand(lw::cmd::kViewDrawingBar));
  f->UpdateCommandUI();
  EXPECT_FALSE(f->DrawingBar()->isVisible());
  EXPECT_FALSE(f->Action(lw::cmd::kViewDrawingBar)->isChecked());
  EXPECT_TRUE(f->Action(lw::cmd::kViewFormatBar)->isChecked());

  // The bars' context menu: five items, relabelled, checked while their bar shows.
  std::unique_ptr<QMenu> context(f->CreateBarContextMenu());
  const auto items = context->actions();
  ASSERT_EQ(items.size(), 5);
  const unsigned texts[] = {62677, 62678, 62679, 62680, 62681};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(items[i]->text(), lw::LoadText(texts[i]));
  EXPECT_TRUE(items[0]->isChecked());
  EXPECT_FALSE(items[2]->isChecked());
  items[2]->trigger();
  EXPECT_TRUE(f->DrawingBar()->isVisible());

  // The Save drop-down.
  ASSERT_NE(f->SaveButton(), nullptr);
  EXPECT_EQ(f->SaveButton()->popupMode(), QToolButton::MenuButtonPopup);
  const auto save = f->SaveButton()->menu()->actions();
  ASSERT_EQ(save.size(), 2);
  EXPECT_EQ(save[0]->text(), lw::LoadText(62659));
  EXPECT_EQ(save[1]->text(), lw::LoadText(62660));

  // The quick-access buttons and the field menus of three of them.
  const unsigned quick[] = {32937, 32938, 32939, 32940, 32941, 32942, 32943};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(f->QuickButton(quick[i])->text(), lw::LoadText(62586 + unsigned(i)));
  }
  const struct {
    unsigned button, firstText;
    int count;
  } fields[] = {{32938, 62686, 6}, {32939, 62693, 6}, {32940, 62700, 4}};
  for (const auto& fm : fields) {
    std::unique_ptr<QMenu> menu(f->CreateFieldMenu(fm.button));
    const auto actions = menu->actions();
    ASSERT_EQ(actions.size(), fm.count);
    for (int i = 0; i < fm.count; ++i) {
      EXPECT_EQ(actions[i]->text(), lw::LoadText(fm.firstText + unsigned(i)));
    }
  }
  // Tool tips from the texts.
  EXPECT_EQ(f->Action(lw::cmd::kFileOpen)->toolTip(), lw::ToolTipText(lw::cmd::kFileOpen));
}

TEST_F(MainFrame, StatusBarPanesAndTheHeldStatusText) {
  CMainFrame* f = MakeFrame();
  f->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(f));
  const unsigned ids[] = {32823, 32824, 59137, 59138, 59139};
  for (int i = 1; i <= 5; ++i) {
    ASSERT_NE(f->StatusPane(i), nullptr);
    EXPECT_EQ(lw::FindControl(f, int(ids[i - 1])), f->StatusPane(i));
  }
  EXPECT_EQ(f->StatusMessage(), lw::LoadText(57345));
  f->SetStatusPaneText(1, QStringLiteral("[ 1, 2 ]"));
  EXPECT_EQ(f->StatusPane(1)->text(), QStringLiteral("[ 1, 2 ]"));

  // A status tip shows the command's status text.
  QStatusTipEvent tip(lw::StatusBarText(lw::cmd::kFileOpen));
  QApplication::sendEvent(f, &tip);
  EXPECT_EQ(f->StatusMessage(), lw::StatusBarText(lw::cmd::kFileOpen));

  // Pressing in the font-name box holds its status text until the button is released.
  f->FormatBar()->NameBox()->setEnabled(true);
  QLineEdit* edit = f->FormatBar()->NameBox()->lineEdit();
  QTest::mousePress(edit, Qt::LeftButton);
  EXPECT_TRUE(f->HoldStatusText());
  EXPECT_EQ(f->StatusMessage(), lw::StatusBarText(lw::cmd::kFontNameBox));
  QStatusTipEvent other(lw::StatusBarText(lw::cmd::kFileNew));
  QApplication::sendEvent(f, &other);
  EXPECT_EQ(f->StatusMessage(), lw::StatusBarText(lw::cmd::kFontNameBox));
  QTest::mouseRelease(edit, Qt::LeftButton);
  EXPECT_FALSE(f->HoldStatusText());
  EXPECT_TRUE(f->StatusMessage().isEmpty());
}

TEST_F(MainFrame, TitleRule) {
  EXPECT_EQ(CMainFrame::ComposeTitle(QStringLiteral("a.lwt"), false),
            QStringLiteral("a.lwt - Leafwright"));
  EXPECT_EQ(CMainFrame::ComposeTitle(QStringLiteral("a.lwt"), true),
            QStringLiteral("a.lwt(読み取り専用) - Leafwright"));
  EXPECT_EQ(CMainFrame::ComposeTitle(QString(), false), QStringLiteral("Leafwright"));
}

TEST_F(MainFrame, RecentFileEntries) {
  CMainFrame* f = MakeFrame();
  QAction* first = f->Action(lw::cmd::kFileMruFirst);
  EXPECT_EQ(first->text(), lw::LoadText(62665));  // "最近使ったファイル", disabled
  f->UpdateCommandUI();
  EXPECT_FALSE(first->isEnabled());

  QString opened;
  f->SetOpenFileHandler([&](const QString& p) {
    opened = p;
    return true;
  });
  f->SetRecentFiles({QStringLiteral("/home/user/a.lwt"), QStringLiteral("/b & c.lwt")});
  f->UpdateCommandUI();
  EXPECT_EQ(first->text(), QStringLiteral("&1 /home/user/a.lwt"));
  EXPECT_EQ(f->Action(lw::cmd::kFileMruFirst + 1)->text(), QStringLiteral("&2 /b && c.lwt"));
  EXPECT_FALSE(f->Action(lw::cmd::kFileMruFirst + 2)->isVisible());
  f->Action(lw::cmd::kFileMruFirst + 1)->trigger();
  EXPECT_EQ(opened, QStringLiteral("/b & c.lwt"));
}

TEST(RecentFileText, LongPathsAreShortenedKeepingTheFileName) {
  const struct {
    const char* path;
    const char* shown;
  } cases[] = {
      {"/home/u/a.lwt", "/home/u/a.lwt"},
      {"/home/someone/documents/covers/sales.lwt", "/…/documents/covers/sales.lwt"},
      {"/home/someone/documents/cover-pages/sales.lwt", "/…/cover-pages/sales.lwt"},
      {"/home/u/a-very-long-file-name-of-a-cover-page.lwt",
       "a-very-long-file-name-of-a-cover-page.lwt"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(lw::AbbreviatePath(QString::fromUtf8(c.path), 30), QString::fromUtf8(c.shown))
        << c.path;
  }
}

// ---- placement ----------------------------------------------------------------------

TEST_F(MainFrame, TheNormalRectangleAndStateAreRestoredAndSaved) {
  {
    lw::SettingsStore store;
    lw::WriteWindowPlacement(store, {50, 60, 650, 560, 0});
    store.Sync();
  }
  CMainFrame* f = MakeFrame();
  f->ShowInSavedState();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(f));
  EXPECT_EQ(f->geometry(), QRect(50, 60, 600, 500));
  EXPECT_FALSE(f->isMaximized());

  f->setGeometry(QRect(70, 80, 640, 480));
  QTest::qWait(1);
  frame.reset();
  const lw::WindowPlacementSetting saved = lw::ReadWindowPlacement(lw::SettingsStore());
  EXPECT_EQ(saved.left, 70);
  EXPECT_EQ(saved.top, 80);
  EXPECT_EQ(saved.right, 710);
  EXPECT_EQ(saved.bottom, 560);
  EXPECT_EQ(saved.state, 0);
}

TEST_F(MainFrame, ClosedMaximisedItStartsMaximisedWithTheSavedNormalRectangle) {
  {
    lw::SettingsStore store;
    lw::WriteWindowPlacement(store, {40, 30, 740, 530, 2});
    store.Sync();
  }
  CMainFrame* f = MakeFrame();
  f->ShowInSavedState();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(f));
  EXPECT_TRUE(f->isMaximized());
  f->close();
  frame.reset();
  const lw::WindowPlacementSetting saved = lw::ReadWindowPlacement(lw::SettingsStore());
  EXPECT_EQ(saved.state, 2);
  EXPECT_EQ(saved.left, 40);
  EXPECT_EQ(saved.top, 30);
  EXPECT_EQ(saved.right, 740);
  EXPECT_EQ(saved.bottom, 530);

  // The next start opens maximised and returns to the same normal rectangle.
  CMainFrame* again = MakeFrame();
  again->ShowInSavedState();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(again));
  EXPECT_TRUE(again->isMaximized());
  again->showNormal();
  EXPECT_TRUE(QTest::qWaitFor([&] { return again->geometry() == QRect(40, 30, 700, 500); }))
      << again->geometry().x() << "," << again->geometry().y() << " " << again->geometry().width()
      << "x" << again->geometry().height();
}

TEST_F(MainFrame, AnUnknownStateStartsNormal) {
  {
    lw::SettingsStore store;
    lw::WriteWindowPlacement(store, {50, 60, 650, 560, 7});
    store.Sync();
  }
  CMainFrame* f = MakeFrame();
  f->ShowInSavedState();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(f));
  EXPECT_FALSE(f->isMaximized());
  EXPECT_FALSE(f->isMinimized());
}

TEST_F(MainFrame, AWindowNeverShownWritesNoPlacement) {
  MakeFrame();
  frame.reset();
  EXPECT_FALSE(lw::SettingsStore().Contains(QStringLiteral("Window"), QStringLiteral("State")));
}

// ---- About box ----------------------------------------------------------------------

TEST(AboutBox, VersionAndLanguageLines) {
  lw::CloseLanguageFile();
  lw::CAboutDlg dlg;
  EXPECT_EQ(dlg.windowTitle(), lw::LoadText(62632));
  EXPECT_EQ(lw::ControlText(lw::FindControl(&dlg, 1033)), QStringLiteral("Version 2.0.2.4"));
  EXPECT_EQ(lw::ControlText(lw::FindControl(&dlg, 1034)), QStringLiteral("Language -"));
  EXPECT_EQ(lw::ControlText(lw::FindControl(&dlg, 1032)), QStringLiteral("Vantrel Leafwright"));
}

}  // namespace
