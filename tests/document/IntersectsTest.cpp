// Rectangle tests of drawing objects (the basis of ObjectAt and of rubber-band selection).
//
// Invariants under test:
// - both rectangles are normalised first; boxes that only touch do not meet;
// - rectangles and freehand strokes meet by their box, ellipses by the inscribed ellipse,
//   lines by a band of 7 units (half the pen width beyond 14) around the segment, with the
//   band's query rectangle taken with its edges;
// - a horizontal or vertical line is still found although its box is empty, but a line of
//   zero length and a query of zero size never meet.

#include "DocTestSupport.h"

#include "document/CDrawImage.h"
#include "document/ObjectCreation.h"

namespace {

using IntersectsTest = FreshState;

struct Case {
  const char* what;
  LRect query;
  bool expected;
};

void Check(const CDrawObj& obj, std::initializer_list<Case> cases) {
  for (const Case& c : cases) {
    EXPECT_EQ(obj.Intersects(c.query), c.expected) << c.what;
  }
}

TEST_F(IntersectsTest, BoxesOfPlainObjectsAndRectangles) {
  CDrawImage picture;
  picture.m_rcPos = {0, 100, 100, 0};
  CDrawRect rect({0, 100, 100, 0});
  for (const CDrawObj* obj :
       {static_cast<const CDrawObj*>(&picture), static_cast<const CDrawObj*>(&rect)}) {
    Check(*obj, {
                    {"inside", {10, 10, 20, 20}, true},
                    {"query upside down", {20, 20, 10, 10}, true},
                    {"overlapping corner", {99, 99, 150, 150}, true},
                    {"touching the right edge", {100, 10, 150, 20}, false},
                    {"beyond", {101, 10, 150, 20}, false},
                    {"zero width inside", {50, 10, 50, 20}, false},
                });
  }
}

TEST_F(IntersectsTest, EllipseIsTestedAgainstItsOutline) {
  // Centre (50, 30), half axes 50 and 30.
  auto ellipse = lw::MakeShape(lw::ShapeTool::Ellipse, {0, 60, 100, 0}, g_lfDefault);
  Check(*ellipse, {
                      {"centre", {45, 25, 55, 35}, true},
                      {"just inside the outline", {86, 50, 87, 51}, true},  // 0.72^2 + 0.667^2 < 1
                      {"just outside the outline", {87, 51, 88, 52}, false},  // 0.74^2 + 0.7^2 > 1
                      {"box corner", {95, 55, 100, 60}, false},
                      {"edge midpoint", {100, 30, 110, 31}, false},  // touches the box only
                      {"across the rim", {98, 29, 120, 31}, true},
                  });
}

TEST_F(IntersectsTest, DiagonalLinesUseABandAroundTheSegment) {
  // Falling: stored from (0, 100) to (100, 0); the band holds |x + y - 100| <= 14.
  auto falling = lw::MakeShape(lw::ShapeTool::Line, {0, 100, 100, 0}, g_lfDefault);
  // Rising: stored from (0, 0) to (100, 100); the band holds |y - x| <= 14.
  auto rising = lw::MakeShape(lw::ShapeTool::Line, {0, 0, 100, 100}, g_lfDefault);
  // The same falling line stored the other way round (from its end to its start).
  auto fallingReversed = lw::MakeShape(lw::ShapeTool::Line, {100, 0, 0, 100}, g_lfDefault);

  for (const CDrawRect* f : {falling.get(), fallingReversed.get()}) {
    Check(*f, {
                  {"on the segment", {50, 50, 51, 51}, true},
                  {"band edge", {50, 64, 51, 65}, true},
                  {"just outside the band", {50, 65, 51, 66}, false},
                  {"other diagonal", {10, 10, 11, 11}, false},
              });
  }
  Check(*rising, {
                     {"on the segment", {50, 50, 51, 51}, true},
                     {"band edge", {36, 49, 37, 50}, true},               // y - x from 12 to 14
                     {"just outside the band", {35, 51, 36, 52}, false},  // y - x from 15
                     {"other diagonal", {10, 89, 11, 90}, false},
                 });
}

TEST_F(IntersectsTest, HorizontalAndVerticalLinesHaveSlantedBands) {
  // Horizontal: stored (0, 50) to (100, 50); zero height turns the band's vertical offsets,
  // so its corners are (7, 43), (-7, 57), (93, 57), (107, 43).
  auto horizontal = lw::MakeShape(lw::ShapeTool::Line, {0, 50, 100, 50}, g_lfDefault);
  Check(*horizontal, {
                         {"on the line", {50, 49, 51, 51}, true},
                         {"upper band edge", {50, 57, 51, 58}, true},
                         {"above the band", {50, 58, 51, 59}, false},
                         {"lower band edge", {50, 42, 51, 43}, true},
                         {"below the band", {50, 41, 51, 42}, false},
                         {"upper right end is cut back", {95, 56, 96, 57}, false},
                         {"lower right end reaches out", {105, 43, 106, 44}, true},
                         {"zero-size query on the line", {50, 50, 50, 50}, false},
                     });
  // Vertical: stored (20, 100) to (20, 0) falls; corners (27, 107), (13, 93), (13, -7), (27, 7).
  auto vertical = lw::MakeShape(lw::ShapeTool::Line, {20, 100, 20, 0}, g_lfDefault);
  Check(*vertical, {
                       {"left band edge", {12, 50, 13, 51}, true},
                       {"left of the band", {11, 50, 12, 51}, false},
                       {"right band edge", {27, 50, 28, 51}, true},
                       {"right of the band", {28, 50, 29, 51}, false},
                   });
  // A line of zero length is never met, even by a query around it.
  auto dot = lw::MakeShape(lw::ShapeTool::Line, {5, 5, 5, 5}, g_lfDefault);
  Check(*dot, {{"query around a zero-length line", {0, 0, 10, 10}, false}});
}

TEST_F(IntersectsTest, WidePensWidenTheBand) {
  auto line = lw::MakeShape(lw::ShapeTool::Line, {0, 50, 100, 50}, g_lfDefault);
  line->m_lineSpec.lopnWidth = {30, 20};  // h = 15, v = 10
  Check(*line, {
                   {"upper band edge", {50, 60, 51, 61}, true},
                   {"above the band", {50, 61, 51, 62}, false},
               });
  line->m_lineSpec.lopnWidth = {14, 40};  // not above 14: the 7-unit band
  Check(*line, {
                   {"upper band edge", {50, 57, 51, 58}, true},
                   {"above the band", {50, 58, 51, 59}, false},
               });
}

TEST_F(IntersectsTest, FreehandMeetsByItsBox) {
  auto stroke = lw::MakeShape(lw::ShapeTool::Freehand, {}, g_lfDefault);
  stroke->MoveHandleTo(1, {0, 0}, nullptr);
  stroke->MoveHandleTo(1, {100, 100}, nullptr);
  Check(*stroke, {
                     {"far from the points, inside the box", {90, 5, 95, 10}, true},
                     {"outside the box", {101, 5, 110, 10}, false},
                 });
}

}  // namespace
