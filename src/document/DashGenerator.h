#pragma once
// Dashed outlines whose dashes keep their length in page units, whatever the device: the
// generator walks a path in logical page units and records the drawn runs (dashes) in a
// QPainterPath; the caller strokes that path with a solid pen one unit wide.
//
// Patterns (page units, drawn and skipped alternately, starting drawn):
//   dashed 15 5; dotted 5 5; dash-dot 15 5 5 5; dash-dot-dot 15 5 5 5 5 5.
// Any other pen style has no pattern: lines and curves are recorded whole.

#include "document/GdiTypes.h"

#include <QPainterPath>
#include <QPointF>

#include <array>
#include <span>

namespace lw {

// The dash pattern of a pen style; empty for styles without one.
std::span<const int> DashPatternForStyle(int penStyle);

class DashGenerator {
 public:
  explicit DashGenerator(std::span<const int> pattern);

  // Restarts the pattern at its first (drawn) entry and sets the current point.
  void MoveTo(LPoint p);
  // Steps one unit at a time along the longer axis (integer line stepping), recording the
  // drawn runs; the pattern position carries over to the next LineTo.
  void LineTo(LPoint p);
  // A cubic Bezier from the current point; with a pattern the curve is split where the
  // dashes begin and end, measured along the curve within 0.5 units.
  void BezierTo(QPointF c1, QPointF c2, QPointF end);

  // The recorded runs, in logical page units.
  const QPainterPath& Path() const { return m_path; }

  // Length of a cubic Bezier: parts are halved until a part's control polygon is at most
  // 0.5 units longer than its chord; the parts' polygon and chord lengths are averaged.
  static double BezierLength(QPointF p0, QPointF p1, QPointF p2, QPointF p3);

  // Far more stepping than any page needs (about 400 page perimeters). A shape read from a
  // file with coordinates far off the page would otherwise keep the generator busy for
  // minutes; once this budget is spent the rest is recorded as continuous lines.
  static constexpr qint64 kStepBudget = qint64(1) << 22;

 private:
  void NextEntry();
  bool Drawn() const { return (m_index & 1) == 0; }
  bool Patterned() const { return !m_pattern.empty() && m_budget > 0; }

  std::span<const int> m_pattern;
  int m_index = 0;       // current entry: even = drawn, odd = skipped
  double m_left = 0;     // length left in the current entry
  QPointF m_current;     // current point
  qint64 m_budget = kStepBudget;
  QPainterPath m_path;
};

// The 13 points of the four Bezier curves of an ellipse inscribed in (L, T, R, B), followed
// by the bounding box of points 0 to 11 as two corners (smallest x and y, largest x and y).
std::array<LPoint, 15> EllipseBezierPoints(const LRect& r);

// The closed Bezier path through the 13 ellipse points.
QPainterPath EllipseBezierPath(const std::array<LPoint, 15>& pts);

}  // namespace lw
