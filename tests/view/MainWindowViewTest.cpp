// The view in the running editor: the zoom commands of the main window stop at their limits,
// and the two status panes show the selected object.

#include <gtest/gtest.h>

#include <QLabel>

#include <memory>

#include "app/CEditorApp.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "document/CDrawDoc.h"
#include "document/CDrawRect.h"
#include "document/DocGlobals.h"
#include "document/MessageSeam.h"
#include "view/CDrawView.h"

namespace {

class MainWindowViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lw::ResetAllState();
    lw::ResetViewState();
    app = std::make_unique<CEditorApp>();
    ASSERT_TRUE(app->InitInstance({}));
    frame = app->MainFrame();
    view = qobject_cast<CDrawView*>(frame->View());
    ASSERT_NE(view, nullptr);
  }
  void TearDown() override {
    app->DestroyMainFrame();
    app->ExitInstance(0);
    app.reset();
    lw::SetMessageHandler(nullptr);
    lw::ResetAllState();
    lw::ResetViewState();
  }

  std::unique_ptr<CEditorApp> app;
  CMainFrame* frame = nullptr;
  CDrawView* view = nullptr;
};

}  // namespace

TEST_F(MainWindowViewTest, ZoomCommandsStopAtTheirLimits) {
  EXPECT_EQ(g_nZoomLevel, -1);
  EXPECT_TRUE(frame->RunCommand(lw::cmd::kZoomIn));
  EXPECT_TRUE(frame->RunCommand(lw::cmd::kZoomIn));
  frame->UpdateCommandUI();
  EXPECT_FALSE(frame->RunCommand(lw::cmd::kZoomIn));
  EXPECT_EQ(g_nZoomLevel, 1);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(frame->RunCommand(lw::cmd::kZoomOut)) << i;
  frame->UpdateCommandUI();
  EXPECT_FALSE(frame->RunCommand(lw::cmd::kZoomOut));
  EXPECT_EQ(g_nZoomLevel, -2);
}

TEST_F(MainWindowViewTest, StatusPanesShowTheSelectedObject) {
  CDrawDoc* doc = app->Document();
  auto* first = new CDrawRect(LRect{-864, 1166, -764, 1066});
  auto* second = new CDrawRect(LRect{0, 10, 50, -40});
  doc->AddObject(first);
  doc->AddObject(second);
  g_selection = {first};
  doc->UpdateAllViews(nullptr, lw::kHintObjects);
  EXPECT_EQ(frame->StatusPane(1)->text(), QStringLiteral("[ 0, 0 ]"));
  EXPECT_EQ(frame->StatusPane(2)->text(), QStringLiteral("[ 100 x 100 ]"));
  g_selection = {first, second};
  doc->UpdateAllViews(nullptr, lw::kHintObjects);
  EXPECT_TRUE(frame->StatusPane(1)->text().isEmpty());
  EXPECT_TRUE(frame->StatusPane(2)->text().isEmpty());
}
