// Painting of objects on the three targets, read back at chosen pixels (page image scale: one
// pixel per page unit, pixel (x + 864, 1166 - y) for the logical point (x, y)).
//
// Invariants: field placeholders are on screen and in print but never in the page image for
// the server; the guide frame of a text object is dotted cyan on screen and in print and
// absent from the page image; ellipses and freehand points keep one unit inside the page
// edge; printed non-solid outlines are dashed in page units and one unit thick; the mask mode
// leaves what lies under white unchanged.
#include <gtest/gtest.h>

#include "RenderTestSupport.h"
#include "document/CDrawImage.h"
#include "document/FontMapping.h"

namespace {

using namespace rendertest;
using lw::RenderTarget;

const RenderTarget kAllTargets[] = {RenderTarget::Screen, RenderTarget::Print, RenderTarget::Upload};

const char* Name(RenderTarget t) {
  return t == RenderTarget::Screen ? "screen" : t == RenderTarget::Print ? "print" : "upload";
}

class Shapes : public RenderFixture {};

TEST_F(Shapes, FieldPlaceholderIsAbsentFromTheUploadImageLabelsAndFreeTextAreNot) {
  AddField(5, {-800, 1000, -200, 900}, QStringLiteral("会社名"));     // a data field
  CDrawRect* label = AddField(lw::kKindLabel, {-800, 800, -200, 700}, QStringLiteral("宛先"));
  label->m_nAlign = lw::kAlignLeft;
  CDrawRect* text = AddShape(lw::ShapeTool::TextBox, {-800, 600, -200, 500});
  text->m_bEditableText = 1;
  text->m_bLine = 0;
  text->m_strText = QStringLiteral("Free text");
  for (RenderTarget t : kAllTargets) {
    const QImage img = Render(t);
    const int field = DarkPixels(img, -795, 905, -205, 995);
    if (t == RenderTarget::Upload)
      EXPECT_EQ(field, 0) << Name(t);
    else
      EXPECT_GT(field, 30) << Name(t);
    EXPECT_GT(DarkPixels(img, -795, 705, -205, 795), 30) << Name(t) << " label";
    EXPECT_GT(DarkPixels(img, -795, 505, -205, 595), 30) << Name(t) << " free text";
  }
}

TEST_F(Shapes, AutomaticOutlineIsADottedCyanGuideFrameExceptInTheUploadImage) {
  AddField(14, {-400, 600, 0, 550}, QString());
  for (RenderTarget t : kAllTargets) {
    const QImage img = Render(t);
    int cyan = 0, white = 0;
    for (int x = -400; x < 0; ++x) {
      cyan += IsCyan(img, x, 600) ? 1 : 0;
      white += IsWhite(img, x, 600) ? 1 : 0;
    }
    if (t == RenderTarget::Upload) {
      EXPECT_EQ(cyan, 0);
      EXPECT_EQ(white, 400);
    } else {
      EXPECT_GT(cyan, 100) << Name(t);   // dotted: about half of the edge
      EXPECT_GT(white, 100) << Name(t);
    }
    EXPECT_FALSE(IsCyan(img, -200, 575)) << Name(t);  // the frame only
  }
  // A label with a black outline of its own is drawn with it everywhere.
  doc.DeleteAllObjects();
  CDrawRect* framed = AddField(lw::kKindLabel, {-400, 600, 0, 550}, QString());
  framed->m_strLineColorName = QStringLiteral("黒");
  framed->m_fLineWeight = 1;
  framed->m_bLine = 1;
  framed->m_lineSpec = {PS_INSIDEFRAME, {1, 1}, kColorBlack};
  EXPECT_TRUE(IsBlack(Render(RenderTarget::Upload), -200, 600));
}

TEST_F(Shapes, EllipseOnThePageEdgeIsDrawnOneUnitInside) {
  AddShape(lw::ShapeTool::Ellipse, {-864, 100, -600, -100});
  AddShape(lw::ShapeTool::Ellipse, {600, 100, 864, -100});
  AddShape(lw::ShapeTool::Ellipse, {-300, 100, -100, -100});
  const QImage img = Render(RenderTarget::Upload);
  EXPECT_TRUE(IsWhite(img, -864, 0));  // page column 0
  EXPECT_TRUE(IsBlack(img, -863, 0));
  EXPECT_TRUE(IsWhite(img, 863, 0));   // page column 1727
  EXPECT_TRUE(IsBlack(img, 862, 0));
  EXPECT_TRUE(IsBlack(img, -300, 0));  // away from the edge: where it was put
}

TEST_F(Shapes, FreehandPointsOnTheEdgeMoveInwardsAtEachPaint) {
  CDrawRect* stroke = AddShape(lw::ShapeTool::Freehand, {-866, 0, -700, 0});
  stroke->MoveHandleTo(1, {-866, 1166}, nullptr);
  stroke->MoveHandleTo(1, {-700, 0}, nullptr);
  ASSERT_EQ(stroke->m_nPoints, 2);
  std::vector<int> xs;
  for (int i = 0; i < 4; ++i) {
    Render(RenderTarget::Screen);
    xs.push_back(stroke->m_pPoints[0].x);
  }
  EXPECT_EQ(xs, (std::vector<int>{-865, -864, -863, -863}));
  EXPECT_EQ(stroke->m_pPoints[0].y, 1165);  // y on the upper edge moves down as well
  EXPECT_EQ(stroke->m_pPoints[1], (LPoint{-700, 0}));
}

TEST_F(Shapes, PrintedDashedRectangleHasDashesOfFifteenUnits) {
  CDrawRect* r = AddShape(lw::ShapeTool::Rectangle, {-300, 300, 300, -300});
  r->m_lineSpec = {PS_DASH, {1, 1}, kColorBlack};
  r->m_bFill = 0;
  const QImage print = Render(RenderTarget::Print);
  // Bottom edge from (L, B) to the right: dash 15, gap 5, ...
  const std::vector<int> runs = RowRuns(print, -300, -300, -181);
  EXPECT_EQ(runs, (std::vector<int>{15, 5, 15, 5, 15, 5, 15, 5, 15, 5, 15, 5}));
  EXPECT_FALSE(IsBlack(print, 0, 0));
  // On screen a black dashed outline is the platform's pen: 18 on, 6 off device pixels.
  const QImage screen = Render(RenderTarget::Screen);
  const std::vector<int> screenRuns = RowRuns(screen, 300, -300, -253);
  EXPECT_EQ(screenRuns, (std::vector<int>{18, 6, 18, 6}));
}

TEST_F(Shapes, PrintedDashedRectangleWithWhiteFillCoversFiveUnitsMore) {
  CDrawRect* black = AddShape(lw::ShapeTool::Rectangle, {-400, 400, 400, -400});
  black->m_fillSpec = {BS_SOLID, kColorBlack, 0};
  CDrawRect* r = AddShape(lw::ShapeTool::Rectangle, {-300, 300, 300, -300});
  r->m_lineSpec = {PS_DOT, {1, 1}, kColorBlack};
  const QImage img = Render(RenderTarget::Print);
  EXPECT_TRUE(IsWhite(img, -304, 0));
  EXPECT_TRUE(IsBlack(img, -306, 0));
  EXPECT_TRUE(IsWhite(img, 0, 304));
  EXPECT_TRUE(IsBlack(img, 0, 306));
}

TEST_F(Shapes, LineWidthsOnScreenAndInPrint) {
  // Inside-frame style (the default of new shapes): printed one unit thick through the dash
  // generator, unless the fill is hatched. Solid style: printed with its width.
  struct Case {
    int style;
    bool hatched;
    RenderTarget target;
    bool thick;
  };
  const Case cases[] = {{PS_INSIDEFRAME, false, RenderTarget::Print, false},
                        {PS_INSIDEFRAME, true, RenderTarget::Print, true},
                        {PS_INSIDEFRAME, false, RenderTarget::Screen, true},
                        {PS_INSIDEFRAME, false, RenderTarget::Upload, true},
                        {PS_SOLID, false, RenderTarget::Print, true}};
  for (const Case& c : cases) {
    doc.DeleteAllObjects();
    CDrawRect* line = AddShape(lw::ShapeTool::Line, {-300, 0, 300, 0});
    line->m_lineSpec = {c.style, {5, 5}, kColorBlack};
    if (c.hatched) line->m_fillSpec = {BS_HATCHED, kColorBlack, HS_CROSS};
    const QImage img = Render(c.target);
    EXPECT_TRUE(IsBlack(img, 0, 0)) << Name(c.target) << " style " << c.style;
    EXPECT_EQ(IsBlack(img, 0, 2), c.thick) << Name(c.target) << " style " << c.style;
    EXPECT_EQ(IsBlack(img, 0, -2), c.thick) << Name(c.target) << " style " << c.style;
  }
}

TEST_F(Shapes, SolidPenWidthsAreDrawnWithTheirWidth) {
  CDrawRect* r = AddShape(lw::ShapeTool::Rectangle, {-300, 300, 300, -300});
  r->m_lineSpec = {PS_INSIDEFRAME, {4, 4}, kColorBlack};
  const QImage img = Render(RenderTarget::Upload);
  // Inside frame: four pixels inside the left edge, none outside.
  for (int x = -300; x < -296; ++x) EXPECT_TRUE(IsBlack(img, x, 0)) << x;
  EXPECT_TRUE(IsWhite(img, -296, 0));
  EXPECT_TRUE(IsWhite(img, -301, 0));
}

TEST_F(Shapes, MaskModeLeavesWhatLiesUnderWhite) {
  struct Case {
    int semiTransparent;
    LOGBRUSH fill;
    bool centreBlack;   // a pixel where a hatch line does not pass
  };
  const Case cases[] = {{1, {BS_SOLID, kColorWhite, 0}, true},
                        {0, {BS_SOLID, kColorWhite, 0}, false},
                        {1, {BS_HATCHED, kColorBlack, HS_HORIZONTAL}, true},
                        {0, {BS_HATCHED, kColorBlack, HS_HORIZONTAL}, false}};
  for (const Case& c : cases) {
    for (RenderTarget t : kAllTargets) {
      doc.DeleteAllObjects();
      CDrawRect* black = AddShape(lw::ShapeTool::Rectangle, {-200, 200, 200, -200});
      black->m_fillSpec = {BS_SOLID, kColorBlack, 0};
      CDrawRect* top = AddShape(lw::ShapeTool::Rectangle, {-100, 100, 100, -100});
      top->m_bLine = 0;
      top->m_fillSpec = c.fill;
      top->m_bSemiTransparent = c.semiTransparent;
      const QImage img = Render(t);
      // Count white pixels in a 16 x 16 block: none under the mask.
      const int dark = DarkPixels(img, -8, -8, 7, 7);
      if (c.centreBlack)
        EXPECT_EQ(dark, 256) << Name(t) << " semi " << c.semiTransparent;
      else
        EXPECT_LT(dark, 256) << Name(t) << " semi " << c.semiTransparent;
    }
  }
}

TEST_F(Shapes, PatternedOutlineIsUsedOnlyWhereTheRulesSayIt) {
  struct Case {
    const char* what;
    RenderTarget target;
    int style;
    COLORREF color;
    int kind = 0;
    bool autoOutline = false;
    bool hatched = false;
    int line = 1;
    bool expected = false;
  };
  const Case cases[] = {
      {"screen black dashed: the platform pen", RenderTarget::Screen, PS_DASH, kColorBlack, 0, false, false, 1, false},
      {"screen white dashed: generator", RenderTarget::Screen, PS_DASH, kColorWhite, 0, false, false, 1, true},
      {"upload white dashed: generator", RenderTarget::Upload, PS_DASH, kColorWhite, 0, false, false, 1, true},
      {"screen white solid", RenderTarget::Screen, PS_SOLID, kColorWhite, 0, false, false, 1, false},
      {"print solid", RenderTarget::Print, PS_SOLID, kColorBlack, 0, false, false, 1, false},
      {"print inside frame", RenderTarget::Print, PS_INSIDEFRAME, kColorBlack, 0, false, false, 1, true},
      {"print dotted", RenderTarget::Print, PS_DOT, kColorBlack, 0, false, false, 1, true},
      {"print dotted, hatched fill", RenderTarget::Print, PS_DOT, kColorBlack, 0, false, true, 1, false},
      {"print field with automatic outline", RenderTarget::Print, PS_INSIDEFRAME, kColorCyan, 5, true, false, 1, false},
      {"print dotted, outline off", RenderTarget::Print, PS_DOT, kColorBlack, 0, false, false, 0, false},
  };
  QImage img(100, 100, QImage::Format_RGB32);
  QPainter painter(&img);
  for (const Case& c : cases) {
    lw::RenderContext dc(&painter, c.target, lw::PageImageTransform({1728, 2332}));
    CDrawRect obj({-10, 10, 10, -10});
    obj.m_lineSpec = {c.style, {1, 1}, c.color};
    obj.m_nKind = c.kind;
    obj.m_bLine = c.line;
    if (c.autoOutline) {
      obj.m_fLineWeight = 0;
      obj.m_strLineColorName = QStringLiteral("Auto");
    }
    if (c.hatched) obj.m_fillSpec = {BS_HATCHED, kColorBlack, HS_CROSS};
    EXPECT_EQ(obj.DrawPatternedOutline(dc), c.expected) << c.what;
  }
}

TEST_F(Shapes, PrintedDottedEllipseHasItsDashesAndItsFillInside) {
  CDrawRect* black = AddShape(lw::ShapeTool::Rectangle, {-400, 400, 400, -400});
  black->m_fillSpec = {BS_SOLID, kColorBlack, 0};
  CDrawRect* e = AddShape(lw::ShapeTool::Ellipse, {-300, 200, 300, -200});
  e->m_lineSpec = {PS_DOT, {1, 1}, kColorBlack};
  const QImage img = Render(RenderTarget::Print);
  EXPECT_TRUE(IsWhite(img, 0, 0));        // the white fill, clipped to the interior
  EXPECT_TRUE(IsWhite(img, -250, 0));
  EXPECT_TRUE(IsBlack(img, -290, 190));   // outside the ellipse, inside its box
  EXPECT_EQ(e->m_ellipsePoints[0], (LPoint{-300, 0}));
  EXPECT_FALSE(e->m_rgnInterior.isEmpty());
  EXPECT_TRUE(e->m_rgnOutline.contains(QPointF(-302, 0)));  // widened by 5 units
  // Along the top of the ellipse the dots alternate.
  const std::vector<int> runs = RowRuns(img, 200, -60, 60);
  EXPECT_GT(runs.size(), 6u);
}

// A picture whose own painting is left out, so that only the document's marks show.
class BlankPicture : public CDrawImage {
 public:
  void Draw(lw::RenderContext&) override {}
};

class ActiveView : public lw::ViewPort {
 public:
  bool IsViewActive() const override { return true; }
};

TEST_F(Shapes, SelectionMarksOnlyOnScreen) {
  CDrawRect* r = AddShape(lw::ShapeTool::Rectangle, {-300, 300, 300, -300});
  r->m_bLine = 0;
  auto picture = std::make_unique<BlankPicture>();
  picture->m_bHasImage = 1;
  picture->m_rcPos = {400, 300, 600, 100};
  CDrawObj* pic = Add(std::move(picture));
  g_selection = {r, pic};
  ActiveView view;
  // Handle squares invert the page: 7 units wide from 4 units before the handle point.
  const QImage screen = Render(RenderTarget::Screen, &view);
  EXPECT_TRUE(IsBlack(screen, -302, 298));
  EXPECT_TRUE(IsBlack(screen, 0, -302));
  for (RenderTarget t : {RenderTarget::Print, RenderTarget::Upload}) {
    const QImage img = Render(t, &view);
    EXPECT_FALSE(IsBlack(img, -302, 298)) << Name(t);
  }
  // An inactive view shows no handles.
  lw::ViewPort inactive;
  EXPECT_FALSE(IsBlack(Render(RenderTarget::Screen, &inactive), -302, 298));
  // A picture being dragged shows its position as a dotted frame.
  const QImage dragging = Render(RenderTarget::Screen, &view, true);
  const std::vector<int> runs = RowRuns(dragging, 300, 401, 430);
  EXPECT_GT(runs.size(), 4u);
  EXPECT_FALSE(IsBlack(Render(RenderTarget::Screen, &view, false), 420, 300));
}

TEST_F(Shapes, TextBeingEditedGetsItsFrameOverEverything) {
  CDrawRect* box = AddShape(lw::ShapeTool::TextBox, {-300, 300, 300, 200});
  box->m_bEditableText = 1;
  CDrawRect* cover = AddShape(lw::ShapeTool::Rectangle, {-400, 400, 400, 100});
  cover->m_bLine = 0;  // white, covers the text box
  EXPECT_FALSE(IsBlack(Render(RenderTarget::Screen), 0, 300));
  g_selection = {box};
  box->m_bEditArmed = 1;
  box->m_bEditorOpen = 1;
  EXPECT_TRUE(IsBlack(Render(RenderTarget::Screen), 0, 300));
  EXPECT_FALSE(IsBlack(Render(RenderTarget::Upload), 0, 300));
}

TEST_F(Shapes, ObjectsWhosePenOrBrushCannotBeMadeAreNotPainted) {
  CDrawRect* badPen = AddShape(lw::ShapeTool::Rectangle, {-300, 300, -100, 100});
  badPen->m_lineSpec.lopnStyle = 42;
  badPen->m_fillSpec = {BS_SOLID, kColorBlack, 0};
  CDrawRect* badBrush = AddShape(lw::ShapeTool::Rectangle, {100, 300, 300, 100});
  badBrush->m_fillSpec = {BS_HATCHED, kColorBlack, 17};
  CDrawRect* good = AddShape(lw::ShapeTool::Rectangle, {-50, 50, 50, -50});
  good->m_fillSpec = {BS_SOLID, kColorBlack, 0};
  const QImage img = Render(RenderTarget::Upload);
  EXPECT_EQ(DarkPixels(img, -300, 100, -100, 300), 0);
  EXPECT_EQ(DarkPixels(img, 100, 100, 300, 300), 0);
  EXPECT_TRUE(IsBlack(img, 0, 0));
}

TEST_F(Shapes, ExtremeCoordinatesFromAFileDoNotHangOrCrash) {
  for (int shape : {lw::kShapeRectangle, lw::kShapeEllipse, lw::kShapeLine}) {
    CDrawRect* r = AddShape(lw::ShapeTool::Rectangle, {INT_MIN, INT_MAX, INT_MAX, INT_MIN});
    r->m_nShape = shape;
    r->m_lineSpec = {PS_DOT, {INT_MAX, INT_MAX}, kColorBlack};
    r->m_bEditableText = 1;
    r->m_strText = QStringLiteral("x");
    r->m_textFont.lfHeight = INT_MIN;
  }
  for (RenderTarget t : kAllTargets) Render(t);
  SUCCEED();
}

}  // namespace
