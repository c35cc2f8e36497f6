#include "document/DashGenerator.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace lw {
namespace {

constexpr int kDashed[] = {15, 5};
constexpr int kDotted[] = {5, 5};
constexpr int kDashDot[] = {15, 5, 5, 5};
constexpr int kDashDotDot[] = {15, 5, 5, 5, 5, 5};

constexpr double kBezierTolerance = 0.5;
constexpr int kMaxBezierDepth = 30;

double Distance(QPointF a, QPointF b) { return std::hypot(b.x() - a.x(), b.y() - a.y()); }

struct Cubic {
  QPointF p0, p1, p2, p3;
};

// de Casteljau split at t.
void Split(const Cubic& c, double t, Cubic& first, Cubic& second) {
  auto lerp = [t](QPointF a, QPointF b) { return a + (b - a) * t; };
  const QPointF a = lerp(c.p0, c.p1), b = lerp(c.p1, c.p2), d = lerp(c.p2, c.p3);
  const QPointF e = lerp(a, b), f = lerp(b, d);
  const QPointF g = lerp(e, f);
  first = {c.p0, a, e, g};
  second = {g, f, d, c.p3};
}

double LengthOf(const Cubic& c, int depth) {
  const double polygon = Distance(c.p0, c.p1) + Distance(c.p1, c.p2) + Distance(c.p2, c.p3);
  const double chord = Distance(c.p0, c.p3);
  if (polygon - chord <= kBezierTolerance || depth >= kMaxBezierDepth)
    return (polygon + chord) / 2;
  Cubic a, b;
  Split(c, 0.5, a, b);
  return LengthOf(a, depth + 1) + LengthOf(b, depth + 1);
}

// The parameter at which the curve's length from its start equals `length` (0 < length <
// whole length), by bisection on the measured length of the first part.
double ParameterAtLength(const Cubic& c, double length) {
  double lo = 0, hi = 1;
  for (int i = 0; i < 40; ++i) {
    const double mid = (lo + hi) / 2;
    Cubic first, second;
    Split(c, mid, first, second);
    const double l = LengthOf(first, 0);
    if (std::abs(l - length) <= 0.05) return mid;
    (l < length ? lo : hi) = mid;
  }
  return (lo + hi) / 2;
}

}  // namespace

std::span<const int> DashPatternForStyle(int penStyle) {
  switch (penStyle) {
    case PS_DASH:
      return kDashed;
    case PS_DOT:
      return kDotted;
    case PS_DASHDOT:
      return kDashDot;
    case PS_DASHDOTDOT:
      return kDashDotDot;
    default:
      return {};
  }
}

DashGenerator::DashGenerator(std::span<const int> pattern) : m_pattern(pattern) {
  if (!m_pattern.empty()) m_left = m_pattern[0];
}

void DashGenerator::NextEntry() {
  m_index = (m_index + 1) % int(m_pattern.size());
  m_left = m_pattern[size_t(m_index)];
}

void DashGenerator::MoveTo(LPoint p) {
  m_index = 0;
  if (!m_pattern.empty()) m_left = m_pattern[0];
  m_current = QPointF(p.x, p.y);
  m_path.moveTo(m_current);
}

void DashGenerator::LineTo(LPoint p) {
  const qint64 x0 = qint64(std::lround(m_current.x())), y0 = qint64(std::lround(m_current.y()));
  const qint64 dx = qint64(p.x) - x0, dy = qint64(p.y) - y0;
  const qint64 adx = std::llabs(dx), ady = std::llabs(dy);
  const qint64 longer = std::max(adx, ady), shorter = std::min(adx, ady);
  const QPointF target(p.x, p.y);
  if (!Patterned() || longer > m_budget) {
    m_budget = 0;
    m_path.lineTo(target);
    m_current = target;
    return;
  }
  m_budget -= longer;

  const int sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
  const bool xMajor = adx >= ady;
  qint64 x = x0, y = y0;
  qint64 error = longer;
  bool changedAtLastStep = false;
  for (qint64 step = 0; step < longer; ++step) {
    if (xMajor)
      x += sx;
    else
      y += sy;
    error -= shorter;
    if (error <= 0) {
      if (xMajor)
        y += sy;
      else
        x += sx;
      error += longer;
    }
    changedAtLastStep = false;
    m_left -= 1;
    if (m_left <= 0) {
      NextEntry();
      changedAtLastStep = true;
      const QPointF here{double(x), double(y)};
      if (Drawn())
        m_path.moveTo(here);  // a gap has ended: the next dash starts here
      else
        m_path.lineTo(here);  // a dash has ended
    }
  }
  if (Drawn() && !changedAtLastStep) m_path.lineTo(target);
  m_current = target;
}

void DashGenerator::BezierTo(QPointF c1, QPointF c2, QPointF end) {
  Cubic rest{m_current, c1, c2, end};
  if (!Patterned()) {
    m_path.cubicTo(c1, c2, end);
    m_current = end;
    return;
  }
  double remaining = LengthOf(rest, 0);
  if (remaining > double(m_budget)) {
    m_budget = 0;
    m_path.cubicTo(c1, c2, end);
    m_current = end;
    return;
  }
  m_budget -= qint64(remaining);

  while (true) {
    if (remaining <= m_left) {
      // The curve ends inside the current entry: the rest of the entry goes on with the next
      // segment.
      if (Drawn())
        m_path.cubicTo(rest.p1, rest.p2, rest.p3);
      else
        m_path.moveTo(rest.p3);
      m_left -= std::round(remaining);
      if (m_left <= 0) NextEntry();
      break;
    }
    Cubic first, second;
    Split(rest, ParameterAtLength(rest, m_left), first, second);
    if (Drawn())
      m_path.cubicTo(first.p1, first.p2, first.p3);
    else
      m_path.moveTo(first.p3);
    remaining = LengthOf(second, 0);
    rest = second;
    NextEntry();
  }
  m_current = end;
}

double DashGenerator::BezierLength(QPointF p0, QPointF p1, QPointF p2, QPointF p3) {
  return LengthOf({p0, p1, p2, p3}, 0);
}

std::array<LPoint, 15> EllipseBezierPoints(const LRect& r) {
  constexpr double kKappaHalf = 0.2761423749154;  // (4/3)(sqrt(2) - 1) / 2
  const qint64 L = r.left, T = r.top, R = r.right, B = r.bottom;
  const qint64 cx = (L + R) / 2, cy = (T + B) / 2;
  const qint64 kx = qint64(double(R - L) * kKappaHalf);
  const qint64 ky = qint64(double(B - T) * kKappaHalf);
  auto pt = [](qint64 x, qint64 y) {
    auto clamp = [](qint64 v) { return int(std::clamp<qint64>(v, INT_MIN, INT_MAX)); };
    return LPoint{clamp(x), clamp(y)};
  };
  std::array<LPoint, 15> p{};
  p[0] = pt(L, cy);
  p[1] = pt(L, cy - ky);
  p[2] = pt(cx - kx, T);
  p[3] = pt(cx, T);
  p[4] = pt(cx + kx, T);
  p[5] = pt(R, cy - ky);
  p[6] = pt(R, cy);
  p[7] = pt(R, cy + ky);
  p[8] = pt(cx + kx, B);
  p[9] = pt(cx, B);
  p[10] = pt(cx - kx, B);
  p[11] = pt(L, cy + ky);
  p[12] = pt(L, cy);
  LPoint lo = p[0], hi = p[0];
  for (int i = 1; i < 12; ++i) {
    lo = {std::min(lo.x, p[size_t(i)].x), std::min(lo.y, p[size_t(i)].y)};
    hi = {std::max(hi.x, p[size_t(i)].x), std::max(hi.y, p[size_t(i)].y)};
  }
  p[13] = lo;
  p[14] = hi;
  return p;
}

QPainterPath EllipseBezierPath(const std::array<LPoint, 15>& p) {
  auto q = [&p](int i) { return QPointF(p[size_t(i)].x, p[size_t(i)].y); };
  QPainterPath path(q(0));
  for (int i = 1; i < 13; i += 3) path.cubicTo(q(i), q(i + 1), q(i + 2));
  path.closeSubpath();
  return path;
}

}  // namespace lw
