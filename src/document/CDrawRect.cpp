#include "document/CDrawRect.h"

#include "document/ObjectKind.h"

#include <algorithm>
#include <limits>
#include <new>

namespace {

int ClampToInt(qint64 v) {
  return int(
      std::clamp<qint64>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

struct Pt64 {
  qint64 x;
  qint64 y;
};

// The query rectangle as a closed set of points, edges included, so that a square around a
// point reaches equally far on every side.
struct Box {
  qint64 x0, y0, x1, y1;
};

Box ClosedBox(const LRect& q) { return {q.left, q.top, q.right, q.bottom}; }

// Separating-axis test of a convex quadrilateral (given in order around its outline; a
// degenerate one, flattened to a segment, also works) against a closed box. Products need
// up to 66 bits, hence the 128-bit arithmetic.
bool ConvexMeetsBox(const std::array<Pt64, 4>& poly, const Box& box) {
  qint64 minX = poly[0].x, maxX = poly[0].x, minY = poly[0].y, maxY = poly[0].y;
  for (const Pt64& p : poly) {
    minX = std::min(minX, p.x);
    maxX = std::max(maxX, p.x);
    minY = std::min(minY, p.y);
    maxY = std::max(maxY, p.y);
  }
  if (maxX < box.x0 || minX > box.x1 || maxY < box.y0 || minY > box.y1) return false;

  const Pt64 corners[4] = {{box.x0, box.y0}, {box.x1, box.y0}, {box.x1, box.y1}, {box.x0, box.y1}};
  for (int i = 0; i < 4; ++i) {
    const Pt64& a = poly[i];
    const Pt64& b = poly[(i + 1) % 4];
    const __int128 nx = -(b.y - a.y);
    const __int128 ny = b.x - a.x;
    if (nx == 0 && ny == 0) continue;
    __int128 pMin = 0, pMax = 0, bMin = 0, bMax = 0;
    for (int k = 0; k < 4; ++k) {
      const __int128 d = nx * poly[k].x + ny * poly[k].y;
      pMin = k ? std::min(pMin, d) : d;
      pMax = k ? std::max(pMax, d) : d;
      const __int128 e = nx * corners[k].x + ny * corners[k].y;
      bMin = k ? std::min(bMin, e) : e;
      bMax = k ? std::max(bMax, e) : e;
    }
    if (bMax < pMin || bMin > pMax) return false;
  }
  return true;
}

// Whether the box meets the closed ellipse inscribed in p (p normalised, with area).
bool EllipseMeetsBox(const LRect& p, const Box& box) {
  const long double cx = (static_cast<long double>(p.left) + p.right) / 2;
  const long double cy = (static_cast<long double>(p.top) + p.bottom) / 2;
  const long double a = (static_cast<long double>(p.right) - p.left) / 2;
  const long double b = (static_cast<long double>(p.bottom) - p.top) / 2;
  const long double nx = std::clamp<long double>(cx, box.x0, box.x1);
  const long double ny = std::clamp<long double>(cy, box.y0, box.y1);
  const long double dx = (nx - cx) / a;
  const long double dy = (ny - cy) / b;
  return dx * dx + dy * dy <= 1.0L;
}

}  // namespace

CDrawRect::CDrawRect() = default;

CDrawRect::CDrawRect(const LRect& rect) : CDrawObj(rect) { m_nShape = lw::kShapeRectangle; }

CDrawRect::~CDrawRect() = default;

int CDrawRect::GetHandleTotal() const { return m_nShape == lw::kShapeLine ? 2 : 8; }

int CDrawRect::MapHandle(int handle) const {
  return (m_nShape == lw::kShapeLine && handle == 2) ? 5 : handle;
}

bool CDrawRect::Intersects(const LRect& rect) const {
  const LRect q = rect.Normalized();
  const LRect p = m_rcPos.Normalized();
  if (LRect::Intersect(p, q).IsEmpty()) {
    // A horizontal or vertical line has an empty box and still goes on to the band test.
    if (m_nShape != lw::kShapeLine) return false;
    if ((q.Width() == 0 && q.Height() == 0) || (p.Width() == 0 && p.Height() == 0)) return false;
  }
  switch (m_nShape) {
    case lw::kShapeEllipse:
      return EllipseMeetsBox(p, ClosedBox(q));
    case lw::kShapeLine: {
      // The band: half-thicknesses h and v around the segment, 7 units unless the pen is
      // wider than 14. Which diagonal of the box the line takes is read from m_rcPos as
      // stored: it falls to the right when its y decreases while x increases.
      qint64 h = 7, v = 7;
      if (m_lineSpec.lopnWidth.x > 14) {
        h = m_lineSpec.lopnWidth.x / 2;
        v = m_lineSpec.lopnWidth.y / 2;
      }
      const LRect& s = m_rcPos;
      const bool falls =
          (s.top >= s.bottom && s.left <= s.right) || (s.top <= s.bottom && s.left >= s.right);
      const qint64 vs = p.Height() == 0 ? -v : v;
      std::array<Pt64, 4> band;
      if (falls) {
        band = {Pt64{p.left + h, p.bottom + vs}, Pt64{p.left - h, p.bottom - vs},
                Pt64{p.right - h, p.top - vs}, Pt64{p.right + h, p.top + vs}};
      } else {
        const qint64 hs = p.Width() == 0 ? -h : h;
        band = {Pt64{p.left - hs, p.top + vs}, Pt64{p.left + hs, p.top - vs},
                Pt64{p.right + hs, p.bottom - vs}, Pt64{p.right - hs, p.bottom + vs}};
      }
      return ConvexMeetsBox(band, ClosedBox(q));
    }
    default:
      return true;  // rectangles, text objects and freehand strokes: their box
  }
}

bool CDrawRect::ReservePoints(int capacity) {
  if (capacity < 0 || capacity < m_nPoints) return false;
  LPoint* fresh = new (std::nothrow) LPoint[size_t(capacity)];
  if (!fresh) return false;
  if (m_pPoints) std::copy(m_pPoints.get(), m_pPoints.get() + m_nPoints, fresh);
  m_pPoints.reset(fresh);
  m_nPointsAlloc = capacity;
  return true;
}

void CDrawRect::MoveHandleTo(int handle, LPoint point, lw::ViewPort* view) {
  if (m_nShape != lw::kShapeFreehand) {
    CDrawObj::MoveHandleTo(handle, point, view);
    return;
  }
  if (!m_pPoints) m_nPoints = m_nPointsAlloc = 0;
  // Grow in steps of 10 so that a stroke does not reallocate on every mouse message.
  if (m_nPoints >= m_nPointsAlloc) {
    const qint64 grown = qint64(std::max(m_nPointsAlloc, m_nPoints)) + 10;
    if (grown > std::numeric_limits<int>::max() || !ReservePoints(int(grown))) return;
  }
  if (m_nPoints > 0 && m_pPoints[m_nPoints - 1] == point) return;
  m_pPoints[m_nPoints++] = point;

  LRect box{point.x, point.y, point.x, point.y};
  for (int i = 0; i < m_nPoints; ++i) {
    const LPoint& q = m_pPoints[i];
    box.left = std::min(box.left, q.x);
    box.top = std::min(box.top, q.y);
    box.right = std::max(box.right, q.x);
    box.bottom = std::max(box.bottom, q.y);
  }
  MoveTo(box, view);
}

void CDrawRect::OffsetPoints(int dx, int dy) {
  if (!m_pPoints) return;
  for (int i = 0; i < m_nPoints; ++i) {
    m_pPoints[i].x = ClampToInt(qint64(m_pPoints[i].x) + dx);
    m_pPoints[i].y = ClampToInt(qint64(m_pPoints[i].y) + dy);
  }
}
