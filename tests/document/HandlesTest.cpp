// Handles of drawing objects: where they are, which cursor they show, the square that hits
// them and the square that is painted for them, and how moving a handle changes the object.
//
// Invariants under test:
// - handle n of any object is the corner or edge centre of m_rcPos as stored; the centre is
//   truncated towards zero;
// - a line has two handles and its handle 2 is the end point (handle 5) for every operation;
// - pictures exchange the two diagonal cursors; unknown handle numbers act as handle 1.

#include "DocTestSupport.h"

#include <climits>

#include "document/CDrawDoc.h"
#include "document/CDrawImage.h"
#include "document/ObjectCreation.h"
#include "document/ObjectKind.h"

namespace {

using HandlesTest = FreshState;

TEST_F(HandlesTest, HandlePointsAreCornersAndTruncatedEdgeCentres) {
  struct Case {
    LRect rect;
    LPoint expected[8];
  };
  const Case cases[] = {
      // CY = 101 + (0 - 101) / 2 = 51: truncation towards zero, not floor.
      {{10, 101, 31, 0},
       {{10, 101}, {20, 101}, {31, 101}, {31, 51}, {31, 0}, {20, 0}, {10, 0}, {10, 51}}},
      {{-31, 0, -10, -101},
       {{-31, 0},
        {-21, 0},
        {-10, 0},
        {-10, -50},
        {-10, -101},
        {-21, -101},
        {-31, -101},
        {-31, -50}}},
      // Not normalised: the handles follow the stored edges.
      {{40, 0, 0, 20}, {{40, 0}, {20, 0}, {0, 0}, {0, 10}, {0, 20}, {20, 20}, {40, 20}, {40, 10}}},
  };
  for (const Case& c : cases) {
    CDrawRect obj(c.rect);
    ASSERT_EQ(obj.GetHandleTotal(), 8);
    for (int n = 1; n <= 8; ++n) {
      EXPECT_EQ(obj.GetHandlePoint(n), c.expected[n - 1]) << "handle " << n;
    }
    EXPECT_EQ(obj.GetHandlePoint(0), c.expected[0]);
    EXPECT_EQ(obj.GetHandlePoint(9), c.expected[0]);
  }
}

TEST_F(HandlesTest, ExtremeCoordinatesDoNotOverflow) {
  CDrawRect obj({INT_MIN, INT_MAX, INT_MAX, INT_MIN});
  EXPECT_EQ(obj.GetHandlePoint(2).x, -1);  // INT_MIN + (2^32 - 1) / 2
  EXPECT_EQ(obj.GetHandlePoint(4).y, 0);
  EXPECT_EQ(obj.HitTest({0, 0}, nullptr, true), 0);
  EXPECT_TRUE(obj.Intersects({0, 0, 1, 1}));
}

TEST_F(HandlesTest, LineHasTwoHandlesAndHandleTwoIsItsEnd) {
  auto line = lw::MakeShape(lw::ShapeTool::Line, {0, 100, 200, 0}, g_lfDefault);
  EXPECT_EQ(line->GetHandleTotal(), 2);
  EXPECT_EQ(line->GetHandlePoint(1), (LPoint{0, 100}));
  EXPECT_EQ(line->GetHandlePoint(2), (LPoint{200, 0}));
  EXPECT_EQ(line->GetHandleCursor(2), Qt::SizeFDiagCursor);  // that of handle 5

  // The same object as a rectangle has the top centre there.
  CDrawRect rect({0, 100, 200, 0});
  EXPECT_EQ(rect.GetHandlePoint(2), (LPoint{100, 100}));
  EXPECT_EQ(rect.GetHandleCursor(2), Qt::SizeVerCursor);
}

TEST_F(HandlesTest, CursorPerHandleWithDiagonalsExchangedForPictures) {
  struct Case {
    int handle;
    Qt::CursorShape shape;
    Qt::CursorShape picture;
  };
  const Case cases[] = {
      {1, Qt::SizeFDiagCursor, Qt::SizeBDiagCursor},  {2, Qt::SizeVerCursor, Qt::SizeVerCursor},
      {3, Qt::SizeBDiagCursor, Qt::SizeFDiagCursor},  {4, Qt::SizeHorCursor, Qt::SizeHorCursor},
      {5, Qt::SizeFDiagCursor, Qt::SizeBDiagCursor},  {6, Qt::SizeVerCursor, Qt::SizeVerCursor},
      {7, Qt::SizeBDiagCursor, Qt::SizeFDiagCursor},  {8, Qt::SizeHorCursor, Qt::SizeHorCursor},
      {0, Qt::SizeFDiagCursor, Qt::SizeBDiagCursor},  {9, Qt::SizeFDiagCursor, Qt::SizeBDiagCursor},
      {-3, Qt::SizeFDiagCursor, Qt::SizeBDiagCursor},
  };
  CDrawRect shape({0, 10, 10, 0});
  CDrawImage picture;
  picture.m_bHasImage = 1;
  for (const Case& c : cases) {
    EXPECT_EQ(shape.GetHandleCursor(c.handle), c.shape) << "handle " << c.handle;
    EXPECT_EQ(picture.GetHandleCursor(c.handle), c.picture) << "handle " << c.handle;
  }
}

TEST_F(HandlesTest, SelectedHitTestUsesHandleSquaresOfEightDevicePixels) {
  CDrawRect obj({0, 100, 200, 0});
  // 1:1 mapping: handle 1 at (0, 100) is hit for -4 <= x < 4 and 96 < y <= 104.
  struct Case {
    LPoint point;
    int expected;
  };
  const Case oneToOne[] = {
      {{-4, 104}, 1}, {{3, 97}, 1},   {{4, 100}, 0}, {{0, 96}, 0},   {{0, 105}, 0},
      {{200, 0}, 5},  {{100, 50}, 0}, {{0, 50}, 8},  {{196, 50}, 4}, {{100, 3}, 6},
  };
  for (const Case& c : oneToOne) {
    EXPECT_EQ(obj.HitTest(c.point, nullptr, true), c.expected) << c.point.x << "," << c.point.y;
  }
  // Two page units per pixel: the square covers 8 units on each side.
  RecordingView halfScale(2);
  const Case zoomedOut[] = {{{-8, 108}, 1}, {{7, 93}, 1}, {{8, 100}, 0}, {{0, 92}, 0}};
  for (const Case& c : zoomedOut) {
    EXPECT_EQ(obj.HitTest(c.point, &halfScale, true), c.expected) << c.point.x << "," << c.point.y;
  }
  const LRect square = obj.HandleRect(1, &halfScale);
  EXPECT_EQ(square, (LRect{-8, 108, 8, 92}));
}

TEST_F(HandlesTest, UnselectedHitTestNeedsTopAboveBottom) {
  CDrawRect upright({0, 100, 200, 0});
  EXPECT_EQ(upright.HitTest({0, 100}, nullptr, false), 1);
  EXPECT_EQ(upright.HitTest({199, 1}, nullptr, false), 1);
  EXPECT_EQ(upright.HitTest({200, 50}, nullptr, false), 0);  // right edge excluded
  EXPECT_EQ(upright.HitTest({50, 0}, nullptr, false), 0);    // bottom edge excluded

  // Stored upside down (top < bottom): nothing inside is hit.
  CDrawRect upsideDown({0, 0, 200, 100});
  EXPECT_EQ(upsideDown.HitTest({100, 50}, nullptr, false), 0);
}

TEST_F(HandlesTest, FreehandStrokeIsNeverHit) {
  auto stroke = lw::MakeShape(lw::ShapeTool::Freehand, {0, 0, 0, 0}, g_lfDefault);
  stroke->MoveHandleTo(1, {0, 0}, nullptr);
  stroke->MoveHandleTo(1, {100, 100}, nullptr);
  stroke->m_rcPos = {0, 100, 100, 0};  // even with a box the other way up
  EXPECT_EQ(stroke->HitTest({50, 50}, nullptr, false), 0);
  EXPECT_EQ(stroke->HitTest({0, 100}, nullptr, true), 0);
  EXPECT_TRUE(stroke->Intersects({40, 40, 60, 60}));
}

TEST_F(HandlesTest, PaintedHandleSquarePerZoomLevel) {
  struct Case {
    int zoom;
    LRect expected;  // for a handle at (100, 200)
  };
  const Case cases[] = {
      {-2, {84, 184, 112, 212}},  // 28 wide, starting 16 before: not centred
      {-1, {92, 192, 106, 206}}, {0, {96, 196, 103, 203}},  {1, {98, 198, 102, 202}},
      {2, {96, 196, 103, 203}},  {-7, {96, 196, 103, 203}},
  };
  CDrawRect obj({100, 200, 300, 0});
  for (const Case& c : cases) {
    EXPECT_EQ(obj.HandleSquare(1, c.zoom), c.expected) << "zoom " << c.zoom;
  }
}

TEST_F(HandlesTest, HandleRasterOperationWhileEditingText) {
  CDrawRect obj({0, 10, 10, 0});
  EXPECT_EQ(obj.HandleRasterOp(), CDrawObj::HandleRop::PatInvert);
  obj.m_bEditArmed = obj.m_bEditableText = 1;
  EXPECT_EQ(obj.HandleRasterOp(), CDrawObj::HandleRop::PatInvert);  // editor not open
  obj.m_bEditorOpen = 1;
  obj.m_lineSpec.lopnWidth = {6, 6};
  EXPECT_EQ(obj.HandleRasterOp(), CDrawObj::HandleRop::Blackness);
  obj.m_lineSpec.lopnWidth = {7, 7};
  EXPECT_EQ(obj.HandleRasterOp(), CDrawObj::HandleRop::DstInvert);
}

TEST_F(HandlesTest, MoveHandleChangesTheMatchingEdges) {
  struct Case {
    int handle;
    LRect expected;
  };
  const Case cases[] = {
      {1, {7, 9, 200, 0}}, {2, {0, 9, 200, 0}},   {3, {0, 9, 7, 0}},     {4, {0, 100, 7, 0}},
      {5, {0, 100, 7, 9}}, {6, {0, 100, 200, 9}}, {7, {7, 100, 200, 9}}, {8, {7, 100, 200, 0}},
      {0, {7, 9, 200, 0}}, {42, {7, 9, 200, 0}},
  };
  for (const Case& c : cases) {
    CDrawRect obj({0, 100, 200, 0});
    obj.MoveHandleTo(c.handle, {7, 9}, nullptr);
    EXPECT_EQ(obj.m_rcPos, c.expected) << "handle " << c.handle;
  }
  auto line = lw::MakeShape(lw::ShapeTool::Line, {0, 100, 200, 0}, g_lfDefault);
  line->MoveHandleTo(2, {7, 9}, nullptr);
  EXPECT_EQ(line->m_rcPos, (LRect{0, 100, 7, 9}));  // the end point, not the top edge
}

}  // namespace
