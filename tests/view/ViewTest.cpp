// The editing view: mapping between page units and pixels, scroll sizes, the four zoom levels,
// painting of desk, shadow, page and grid, repaint hints, activation and the two status panes.
//
// Invariants under test:
// - The page's upper-left corner is at the scroll origin; one page unit is dpi / divisor
//   pixels, rounded like the classic mapping arithmetic.
// - Zoom runs from level -2 to 1 and never past it; each step resets the scroll position.
// - The grid is dotted except on x = 0 and y = 0, and never appears while printing or while
//   the page is rendered for the upload; printing paints no desk.
// - The status panes describe exactly one selected object, scaled to a 1728 x 2332 page.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>

#include <memory>

#include "document/CDrawDoc.h"
#include "document/CDrawRect.h"
#include "document/DocGlobals.h"
#include "document/RenderContext.h"
#include "view/CDrawView.h"

namespace {

constexpr QRgb kDesk = qRgb(192, 192, 192);
constexpr QRgb kShadow = qRgb(36, 36, 36);
constexpr QRgb kGrid = qRgb(210, 214, 234);
constexpr QRgb kWhite = qRgb(255, 255, 255);

class ViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lw::ResetAllState();
    lw::ResetViewState();
    doc = std::make_unique<CDrawDoc>();
    view = std::make_unique<CDrawView>(doc.get());
  }
  void TearDown() override {
    view.reset();
    doc.reset();
    lw::ResetAllState();
    lw::ResetViewState();
  }

  // The viewport as painted.
  QImage Grab(QSize client) {
    view->resize(client);
    view->viewport()->resize(client);
    return view->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  }

  QPoint Device(int x, int y) const {
    const LPoint d = view->LogicalToDevice({x, y});
    return {d.x, d.y};
  }

  std::unique_ptr<CDrawDoc> doc;
  std::unique_ptr<CDrawView> view;
};

}  // namespace

TEST_F(ViewTest, StartsAtHalfScaleWithThePageAtTheScrollOrigin) {
  const int dpiX = view->logicalDpiX();
  const int dpiY = view->logicalDpiY();
  EXPECT_EQ(g_nBaseResolution, dpiX);
  EXPECT_EQ(g_nZoomDivisor, 2 * dpiX);
  EXPECT_EQ(g_nZoomLevel, -1);
  EXPECT_EQ(view->TotalScrollSize(),
            QSize(lw::MulDiv(1733, dpiX, 2 * dpiX), lw::MulDiv(2337, dpiY, 2 * dpiX)));
  EXPECT_EQ(Device(-864, 1166), QPoint(0, 0));
  EXPECT_EQ(Device(864, -1166),
            QPoint(lw::MulDiv(1728, dpiX, 2 * dpiX), lw::MulDiv(2332, dpiY, 2 * dpiX)));
  if (dpiX == 96 && dpiY == 96) {
    EXPECT_EQ(view->TotalScrollSize(), QSize(867, 1169));
    EXPECT_EQ(Device(864, -1166), QPoint(864, 1166));
  }
  // Back from pixels to page units.
  const LPoint back = view->DeviceToLogical({432, 583});
  EXPECT_EQ(back.x, lw::MulDiv(432, 2 * dpiX, dpiX) - 864);
  EXPECT_EQ(back.y, 1166 - lw::MulDiv(583, 2 * dpiX, dpiY));
}

TEST_F(ViewTest, MulDivRoundsHalvesAwayFromZero) {
  EXPECT_EQ(lw::MulDiv(1733, 96, 192), 867);
  EXPECT_EQ(lw::MulDiv(-1733, 96, 192), -867);
  EXPECT_EQ(lw::MulDiv(1732, 96, 192), 866);
  EXPECT_EQ(lw::MulDiv(5, 1, 0), 0);
}

TEST_F(ViewTest, ScrollingMovesTheMapping) {
  view->resize(300, 200);
  const QPoint before = Device(0, 0);
  view->horizontalScrollBar()->setValue(100);
  view->verticalScrollBar()->setValue(40);
  EXPECT_EQ(Device(0, 0), before - QPoint(100, 40));
  const LPoint p = view->DeviceToLogical(view->LogicalToDevice({250, -300}));
  EXPECT_NEAR(p.x, 250, 2);
  EXPECT_NEAR(p.y, -300, 2);
}

TEST_F(ViewTest, ZoomLevelsAndTheirLimits) {
  const int base = g_nBaseResolution;
  QSignalSpy zoomed(view.get(), &CDrawView::zoomChanged);
  view->resize(300, 200);
  struct Step {
    bool in;
    int level;
    int divisor;
  };
  const Step steps[] = {
      {true, 0, base},       {true, 1, base / 2},   {true, 1, base / 2},  // third is refused
      {false, 0, base},      {false, -1, 2 * base}, {false, -2, 4 * base},
      {false, -2, 4 * base},  // the fourth from level 1 is refused
  };
  for (const Step& s : steps) {
    view->verticalScrollBar()->setValue(50);
    const bool allowed = s.in ? view->CanZoomIn() : view->CanZoomOut();
    s.in ? view->OnViewZoomIn() : view->OnViewZoomOut();
    EXPECT_EQ(g_nZoomLevel, s.level);
    EXPECT_EQ(g_nZoomDivisor, s.divisor);
    EXPECT_EQ(view->TotalScrollSize(), QSize(lw::MulDiv(1733, view->logicalDpiX(), s.divisor),
                                             lw::MulDiv(2337, view->logicalDpiY(), s.divisor)));
    if (allowed) {
      EXPECT_EQ(view->verticalScrollBar()->value(), 0);
    }
  }
  EXPECT_EQ(zoomed.count(), 5);
  EXPECT_FALSE(view->CanZoomOut());
  EXPECT_TRUE(view->CanZoomIn());
  // The grid follows the level.
  EXPECT_EQ(lw::GridSpacingFor(-2), 32);
  EXPECT_EQ(lw::GridSpacingFor(-1), 24);
  EXPECT_EQ(lw::GridSpacingFor(0), 16);
  EXPECT_EQ(lw::GridSpacingFor(1), 10);
  EXPECT_EQ(lw::GridSpacingFor(7), 16);
}

TEST_F(ViewTest, DeskShadowPageAndGridAsPainted) {
  if (view->logicalDpiX() != 96 || view->logicalDpiY() != 96) {
    GTEST_SKIP() << "pixel positions below assume a 96 dpi screen";
  }
  const QImage img = Grab(QSize(1000, 1250));
  EXPECT_EQ(g_rcPage, (LRect{-864, -1166, 864, 1166}));
  // Desk right of and below the page, the shadow along the right and lower edges.
  EXPECT_EQ(img.pixel(950, 300), kDesk);
  EXPECT_EQ(img.pixel(400, 1200), kDesk);
  EXPECT_EQ(img.pixel(865, 300), kShadow);
  EXPECT_EQ(img.pixel(400, 1167), kShadow);
  // The page is white between grid lines (every 24 units = 12 pixels at this zoom).
  EXPECT_EQ(img.pixel(438, 300 + 6), kWhite);
  // The vertical centre line (x = 0 -> pixel 432) is solid, its neighbours are dotted.
  int centreWhite = 0, dottedGrid = 0, dottedWhite = 0;
  for (int y = 100; y < 200; ++y) {
    if (img.pixel(432, y) != kGrid) ++centreWhite;
    (img.pixel(444, y) == kGrid ? dottedGrid : dottedWhite)++;
  }
  EXPECT_EQ(centreWhite, 0);
  EXPECT_GT(dottedGrid, 10);
  EXPECT_GT(dottedWhite, 10);

  // Grid off: only page white in that column.
  view->OnViewGrid();
  EXPECT_FALSE(view->IsGridShown());
  const QImage plain = Grab(QSize(1000, 1250));
  for (int y = 100; y < 200; ++y) ASSERT_EQ(plain.pixel(432, y), kWhite) << y;
}

TEST_F(ViewTest, NoGridForTheUploadAndNoDeskOnPaper) {
  const QSize page(1728, 2332);
  const QTransform t = lw::PageTransform(page, 0.25, 0.25);
  auto render = [&](bool printing) {
    QImage img(450, 600, QImage::Format_RGB32);
    img.fill(qRgb(1, 2, 3));
    QPainter p(&img);
    view->DrawPage(p, t, img.rect(), printing);
    return img;
  };
  auto colours = [](const QImage& img) {
    QSet<QRgb> set;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) set.insert(img.pixel(x, y));
    return set;
  };
  EXPECT_TRUE(colours(render(false)).contains(kGrid));
  view->m_bUploadRendering = 1;
  const QSet<QRgb> upload = colours(render(false));
  EXPECT_FALSE(upload.contains(kGrid));
  EXPECT_TRUE(upload.contains(kDesk));
  view->m_bUploadRendering = 0;
  const QSet<QRgb> printed = colours(render(true));
  EXPECT_FALSE(printed.contains(kGrid));
  EXPECT_FALSE(printed.contains(kDesk));
  EXPECT_FALSE(printed.contains(kShadow));
}

TEST_F(ViewTest, ObjectsArePaintedByTheDocument) {
  auto* box = new CDrawRect(LRect{-200, 200, 200, -200});
  box->m_bFill = 1;
  box->m_fillSpec.lbColor = kColorBlack;
  doc->AddObject(box);
  const QImage img = Grab(QSize(900, 1200));
  const QPoint centre = Device(0, 0) + QPoint(3, 3);
  EXPECT_EQ(img.pixel(centre), qRgb(0, 0, 0));
}

TEST_F(ViewTest, StatusPanesOfTheSelection) {
  struct Case {
    const char* label;
    LRect pos;
    QSize page;
    const char* position;
    const char* size;
  };
  const Case cases[] = {
      {"at the page corner", {-864, 1166, -764, 1066}, {1728, 2332}, "[ 0, 0 ]", "[ 100 x 100 ]"},
      {"left of the page", {-900, 1000, -800, 900}, {1728, 2332}, "[ 0, 166 ]", "[ 100 x 100 ]"},
      {"above the page", {0, 1200, 10, 1100}, {1728, 2332}, "[ 864, 0 ]", "[ 10 x 100 ]"},
      {"stored upside down", {100, -50, 0, 50}, {1728, 2332}, "[ 864, 1116 ]", "[ 100 x 100 ]"},
      {"landscape, full width", {-1166, 864, 1166, 0}, {2332, 1728}, "[ 0, 0 ]", "[ 1728 x 1166 ]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    CDrawRect obj(c.pos);
    const QList<CDrawObj*> one{&obj};
    EXPECT_EQ(lw::PositionPaneText(one, c.page), QString::fromLatin1(c.position));
    EXPECT_EQ(lw::SizePaneText(one, c.page), QString::fromLatin1(c.size));
  }
  CDrawRect a(LRect{0, 10, 10, 0}), b(LRect{0, 10, 10, 0});
  EXPECT_TRUE(lw::PositionPaneText({&a, &b}, {1728, 2332}).isEmpty());
  EXPECT_TRUE(lw::SizePaneText({&a, &b}, {1728, 2332}).isEmpty());
  EXPECT_TRUE(lw::PositionPaneText({}, {1728, 2332}).isEmpty());
}

TEST_F(ViewTest, PanesFollowTheSelectionThroughRepaintHints) {
  QSignalSpy panes(view.get(), &CDrawView::statusPanesChanged);
  auto* obj = new CDrawRect(LRect{-864, 1166, -764, 1066});
  doc->AddObject(obj);
  g_selection = {obj};
  doc->UpdateAllViews(nullptr, lw::kHintObjects);
  ASSERT_EQ(panes.count(), 1);
  EXPECT_EQ(panes.at(0).at(0).toString(), QStringLiteral("[ 0, 0 ]"));
  EXPECT_EQ(view->SizePaneText(), QStringLiteral("[ 100 x 100 ]"));

  // Removed objects leave the selection, unless the list is the selection itself.
  doc->UpdateAllViews(nullptr, lw::kHintRemoved, g_selection);
  EXPECT_EQ(g_selection.size(), 1);
  const QList<CDrawObj*> removed{obj};
  doc->UpdateAllViews(nullptr, lw::kHintRemoved, removed);
  EXPECT_TRUE(g_selection.isEmpty());
  EXPECT_TRUE(view->PositionPaneText().isEmpty());
  EXPECT_EQ(panes.count(), 2);
}

TEST_F(ViewTest, ActivationAndPageSize) {
  EXPECT_FALSE(view->IsViewActive());
  view->OnActivateView(true);
  EXPECT_TRUE(view->IsViewActive());
  view->OnActivateView(false);
  EXPECT_FALSE(view->IsViewActive());

  doc->m_sizePage = QSize(2332, 1728);
  view->OnPageSizeChanged(doc->m_sizePage);
  const int div = g_nZoomDivisor;
  EXPECT_EQ(view->TotalScrollSize(), QSize(lw::MulDiv(2337, view->logicalDpiX(), div),
                                           lw::MulDiv(1733, view->logicalDpiY(), div)));
  EXPECT_EQ(Device(-1166, 864), QPoint(0, 0));
}

TEST_F(ViewTest, OneViewPerProcessAndItsPictureName) {
  EXPECT_EQ(g_pDrawView, view.get());
  EXPECT_TRUE(view->m_strPictureTemp.endsWith(QStringLiteral(".tif")));
  EXPECT_FALSE(QFile::exists(view->m_strPictureTemp));
  const QString picture = view->m_strPictureTemp;
  QFile f(picture);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.close();
  view.reset();
  EXPECT_EQ(g_pDrawView, nullptr);
  EXPECT_FALSE(QFile::exists(picture));
}
