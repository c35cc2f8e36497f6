// The dash generator: dashes and gaps keep their lengths in page units along lines (integer
// stepping) and along the Bezier curves of an ellipse (within half a unit), the pattern
// carries over from one segment to the next and restarts at MoveTo, and absurd lengths from a
// file cannot keep it busy.
#include <gtest/gtest.h>

#include <QPainterPath>

#include <cmath>
#include <vector>

#include "document/DashGenerator.h"

namespace {

using lw::DashGenerator;

// Each drawn piece (subpath) of a recorded path with its length and start point.
struct Piece {
  QPointF start;
  double length = 0;
};

std::vector<Piece> Pieces(const QPainterPath& path) {
  std::vector<Piece> pieces;
  QPainterPath current;
  auto flush = [&] {
    if (current.elementCount() > 1) pieces.push_back({current.elementAt(0), current.length()});
  };
  for (int i = 0; i < path.elementCount(); ++i) {
    const QPainterPath::Element e = path.elementAt(i);
    if (e.isMoveTo()) {
      flush();
      current = QPainterPath(QPointF(e.x, e.y));
    } else if (e.isLineTo()) {
      current.lineTo(e.x, e.y);
    } else if (e.isCurveTo()) {
      const QPainterPath::Element c2 = path.elementAt(i + 1), end = path.elementAt(i + 2);
      current.cubicTo(QPointF(e.x, e.y), QPointF(c2.x, c2.y), QPointF(end.x, end.y));
      i += 2;
    }
  }
  flush();
  return pieces;
}

TEST(DashGenerator, PatternsOfThePenStyles) {
  struct Case {
    int style;
    std::vector<int> pattern;
  };
  const Case cases[] = {{PS_DASH, {15, 5}},
                        {PS_DOT, {5, 5}},
                        {PS_DASHDOT, {15, 5, 5, 5}},
                        {PS_DASHDOTDOT, {15, 5, 5, 5, 5, 5}},
                        {PS_SOLID, {}},
                        {PS_INSIDEFRAME, {}},
                        {PS_NULL, {}}};
  for (const Case& c : cases) {
    const auto p = lw::DashPatternForStyle(c.style);
    EXPECT_EQ(std::vector<int>(p.begin(), p.end()), c.pattern) << "style " << c.style;
  }
}

TEST(DashGenerator, HorizontalLineGivesDashesOfFifteenWithGapsOfFive) {
  DashGenerator g(lw::DashPatternForStyle(PS_DASH));
  g.MoveTo({0, 0});
  g.LineTo({100, 0});
  const auto pieces = Pieces(g.Path());
  // 0-15, 20-35, 40-55, 60-75, 80-95, then the last dash is cut at the end: none left.
  ASSERT_EQ(pieces.size(), 5u);
  for (size_t i = 0; i < pieces.size(); ++i) {
    EXPECT_DOUBLE_EQ(pieces[i].start.x(), 20.0 * double(i));
    EXPECT_DOUBLE_EQ(pieces[i].length, 15.0);
  }
}

TEST(DashGenerator, DiagonalStepsCountAlongTheLongerAxis) {
  // 30 steps along x with 10 along y: a dash covers 15 steps of x.
  DashGenerator g(lw::DashPatternForStyle(PS_DOT));
  g.MoveTo({0, 0});
  g.LineTo({30, -10});
  const auto pieces = Pieces(g.Path());
  ASSERT_EQ(pieces.size(), 3u);  // 0-5, 10-15, 20-25
  EXPECT_EQ(pieces[1].start, QPointF(10, -3));  // integer stepping: y moved 3 after 10 steps
  EXPECT_EQ(pieces[2].start, QPointF(20, -6));
}

TEST(DashGenerator, PatternCarriesOverCornersAndRestartsAtMoveTo) {
  DashGenerator g(lw::DashPatternForStyle(PS_DASH));
  g.MoveTo({0, 0});
  g.LineTo({10, 0});   // 10 of the first dash
  g.LineTo({10, 20});  // 5 more dash, 5 gap, 10 of the next dash
  const auto pieces = Pieces(g.Path());
  ASSERT_EQ(pieces.size(), 2u);
  EXPECT_DOUBLE_EQ(pieces[0].length, 15.0);  // round the corner
  EXPECT_EQ(pieces[1].start, QPointF(10, 10));
  EXPECT_DOUBLE_EQ(pieces[1].length, 10.0);

  g.MoveTo({100, 0});
  g.LineTo({120, 0});
  const auto after = Pieces(g.Path());
  ASSERT_EQ(after.size(), 3u);
  EXPECT_EQ(after[2].start, QPointF(100, 0));
  EXPECT_DOUBLE_EQ(after[2].length, 15.0);
}

TEST(DashGenerator, LineEndingExactlyAtAnEntryChangeDrawsNothingMore) {
  DashGenerator g(lw::DashPatternForStyle(PS_DASH));
  g.MoveTo({0, 0});
  g.LineTo({20, 0});  // dash 0-15, gap 15-20 ends exactly at the target
  g.LineTo({30, 0});  // a new dash from 20
  const auto pieces = Pieces(g.Path());
  ASSERT_EQ(pieces.size(), 2u);
  EXPECT_EQ(pieces[1].start, QPointF(20, 0));
  EXPECT_DOUBLE_EQ(pieces[1].length, 10.0);
}

TEST(DashGenerator, WithoutPatternLinesAndCurvesAreWhole) {
  DashGenerator g(lw::DashPatternForStyle(PS_INSIDEFRAME));
  g.MoveTo({0, 0});
  g.LineTo({100, 0});
  g.BezierTo({120, 0}, {130, 10}, {130, 30});
  const auto pieces = Pieces(g.Path());
  ASSERT_EQ(pieces.size(), 1u);
  EXPECT_GT(pieces[0].length, 130.0);
}

TEST(DashGenerator, EllipseDashesKeepTheirLengthAlongTheCurves) {
  const auto pts = lw::EllipseBezierPoints({-300, 200, 300, -200});
  DashGenerator g(lw::DashPatternForStyle(PS_DASH));
  g.MoveTo(pts[0]);
  auto q = [&pts](int i) { return QPointF(pts[size_t(i)].x, pts[size_t(i)].y); };
  for (int i = 1; i < 13; i += 3) g.BezierTo(q(i), q(i + 1), q(i + 2));
  // Every dash but the last is 15 units long along the curve, also across the joints of the
  // four curves, where a dash is recorded as two pieces that meet.
  std::vector<double> dashLengths, gaps;
  {
    // Join pieces whose start is the end of the previous one.
    const QPainterPath& path = g.Path();
    double run = 0;
    QPointF runEnd;
    bool open = false;
    for (int i = 0; i < path.elementCount(); ++i) {
      const auto e = path.elementAt(i);
      if (e.isMoveTo()) {
        const QPointF at(e.x, e.y);
        if (open && at != runEnd) {
          dashLengths.push_back(run);
          gaps.push_back(std::hypot(at.x() - runEnd.x(), at.y() - runEnd.y()));
          run = 0;
        }
        open = true;
        runEnd = at;
      } else if (e.isCurveTo()) {
        QPainterPath piece(runEnd);
        const auto c2 = path.elementAt(i + 1), end = path.elementAt(i + 2);
        piece.cubicTo(QPointF(e.x, e.y), QPointF(c2.x, c2.y), QPointF(end.x, end.y));
        run += piece.length();
        runEnd = QPointF(end.x, end.y);
        i += 2;
      }
    }
    if (run > 0) dashLengths.push_back(run);
  }
  ASSERT_GT(dashLengths.size(), 50u);
  for (size_t i = 0; i + 1 < dashLengths.size(); ++i)
    EXPECT_NEAR(dashLengths[i], 15.0, 0.5) << "dash " << i;
  // Gaps are 5 along the curve; on an ellipse this large the chord is as long within 0.5.
  for (size_t i = 0; i < gaps.size(); ++i) EXPECT_NEAR(gaps[i], 5.0, 0.5) << "gap " << i;
}

TEST(DashGenerator, CurveLengthIsWithinHalfAUnit) {
  // A quarter circle of radius 1000 drawn as one cubic: about 1570.8 long.
  const double k = 0.5522847498 * 1000;
  const double len = DashGenerator::BezierLength({1000, 0}, {1000, k}, {k, 1000}, {0, 1000});
  EXPECT_NEAR(len, 1000 * M_PI / 2, 0.5);
}

TEST(DashGenerator, EllipsePointsFollowTheTable) {
  const auto p = lw::EllipseBezierPoints({-101, 50, 99, -51});
  // CX = -1, CY = 0 (truncated); kx = int(200 * 0.27614...) = 55, ky = int(-101 * 0.276...) = -27
  EXPECT_EQ(p[0], (LPoint{-101, 0}));
  EXPECT_EQ(p[1], (LPoint{-101, 27}));
  EXPECT_EQ(p[2], (LPoint{-56, 50}));
  EXPECT_EQ(p[3], (LPoint{-1, 50}));
  EXPECT_EQ(p[4], (LPoint{54, 50}));
  EXPECT_EQ(p[6], (LPoint{99, 0}));
  EXPECT_EQ(p[7], (LPoint{99, -27}));
  EXPECT_EQ(p[9], (LPoint{-1, -51}));
  EXPECT_EQ(p[12], p[0]);
  EXPECT_EQ(p[13], (LPoint{-101, -51}));  // bounding box of points 0 to 11
  EXPECT_EQ(p[14], (LPoint{99, 50}));
}

TEST(DashGenerator, HugeShapesFromAFileFinishQuickly) {
  // Far beyond any page: the generator stops stepping once its budget is spent.
  DashGenerator g(lw::DashPatternForStyle(PS_DOT));
  g.MoveTo({INT_MIN, INT_MIN});
  g.LineTo({INT_MAX, INT_MAX});
  g.LineTo({INT_MIN, 0});
  const auto pts = lw::EllipseBezierPoints({INT_MIN, INT_MAX, INT_MAX, INT_MIN});
  g.MoveTo(pts[0]);
  g.BezierTo(QPointF(pts[1].x, pts[1].y), QPointF(pts[2].x, pts[2].y), QPointF(pts[3].x, pts[3].y));
  EXPECT_FALSE(g.Path().isEmpty());
}

}  // namespace
