#pragma once
// Text boxes, labels, data fields and every shape: rectangle, ellipse, line and freehand
// stroke (m_nShape). A line keeps its start point in (left, top) of m_rcPos and its end point
// in (right, bottom); a freehand stroke keeps its points in m_pPoints and their bounding box
// in m_rcPos (top = smallest y, bottom = largest y).

#include "document/CDrawObj.h"

#include <QPainterPath>

#include <array>
#include <memory>

class CDrawRect : public CDrawObj {
 public:
  CDrawRect();                            // reading constructor
  explicit CDrawRect(const LRect& rect);  // creating constructor (a rectangle)
  ~CDrawRect() override;

  const char* ClassName() const override { return "CDrawRect"; }

  // A line has two handles: 1 its start (L, T) and 2 its end (R, B), which every handle
  // operation treats as handle 5.
  int GetHandleTotal() const override;
  // Shape-exact: rectangles and freehand strokes by their box, ellipses by the inscribed
  // ellipse, lines by a band around the segment.
  bool Intersects(const LRect& rect) const override;
  // A freehand stroke appends the point instead of moving a handle.
  void MoveHandleTo(int handle, LPoint point, lw::ViewPort* view) override;
  void OffsetPoints(int dx, int dy) override;

  // Paints the shape with its pen and fill (see RenderShapes.cpp for the rules).
  void Draw(lw::RenderContext& dc) override;
  // Paints a non-solid outline on a printer with the dash generator, so that dashes keep
  // their length in page units. True when it painted the object, false when Draw must paint
  // it the ordinary way.
  bool DrawPatternedOutline(lw::RenderContext& dc);

  // Makes room for `capacity` points (kept ones copied). False when the memory cannot be had
  // or the capacity is negative; the stroke is unchanged then.
  bool ReservePoints(int capacity);

  int m_nShape = 0;                     // lw::kShape...
  int m_nPoints = 0;                    // points of a freehand stroke
  int m_nPointsAlloc = 0;               // capacity of m_pPoints
  std::unique_ptr<LPoint[]> m_pPoints;  // freehand points; null for other shapes
  // Ellipse outline cache: the 13 Bezier points and the two bounding corners, and the
  // interior and widened-outline areas; rebuilt before each patterned paint.
  std::array<LPoint, 15> m_ellipsePoints{};
  QPainterPath m_rgnInterior;
  QPainterPath m_rgnOutline;

 protected:
  int MapHandle(int handle) const override;
};
