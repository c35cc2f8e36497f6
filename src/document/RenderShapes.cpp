// Painting of shapes: rectangles (also every text box, label and field), ellipses, lines and
// freehand strokes, with the object's pen and fill; non-solid outlines on printers through
// the dash generator; handle squares.
//
// Geometry is converted to device pixels here. A rectangle (L, T, R, B) covers the device
// pixels from its mapped left/top corner up to, but not including, its mapped right/bottom
// edge; an outline one pixel wide runs along the outermost pixels of that area.
#include "document/CDrawDoc.h"
#include "document/CDrawRect.h"
#include "document/DashGenerator.h"
#include "document/DocGlobals.h"
#include "document/ObjectKind.h"
#include "document/RenderTools.h"

#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPolygonF>

#include <cstdlib>
#include <limits>

using lw::MixMode;
using lw::RenderContext;

namespace {

// Ellipses and freehand points are kept one unit inside the page rectangle (whose edges lie
// just outside the page image).
int PullTowardsZero(int v) { return v > 0 ? v - 1 : v + 1; }

qint64 Abs64(int v) { return std::llabs(qint64(v)); }

MixMode MixFor(const CDrawObj& obj) {
  // The mode is set only for filled objects; an unfilled object paints in copy mode.
  return (obj.m_bFill && obj.m_bSemiTransparent == 1) ? MixMode::MaskPen : MixMode::CopyPen;
}

// The centre line of an outline of device width `w` around the device area `area`: along
// the outermost pixel centres for a centred pen, w/2 inside the area for an inside-frame pen.
QRectF OutlineRect(const QRectF& area, double w, bool insideFrame) {
  const double inset = insideFrame ? std::max(w / 2, 0.5) : 0.5;
  QRectF r = area.adjusted(inset, inset, -inset, -inset);
  if (r.width() < 0) r.setWidth(0);
  if (r.height() < 0) r.setHeight(0);
  return r;
}

// A logical point at the centre of the device pixel it falls in.
QPointF PixelCentre(const RenderContext& dc, int x, int y) {
  return dc.Map(x, y) + QPointF(0.5, 0.5);
}

void DrawRectangle(RenderContext& dc, MixMode mix, const LRect& r, const QPen& pen,
                   const QBrush& brush, bool insideFrame) {
  const QRectF area = dc.MapRect(r);
  QPainterPath fill;
  fill.addRect(area);
  PaintPath(dc, mix, fill, Qt::NoPen, brush);
  if (pen.style() == Qt::NoPen) return;
  QPainterPath outline;
  outline.addRect(OutlineRect(area, pen.widthF(), insideFrame));
  QPen p = pen;
  p.setJoinStyle(Qt::MiterJoin);
  PaintPath(dc, mix, outline, p, Qt::NoBrush);
}

void DrawEllipse(RenderContext& dc, MixMode mix, const LRect& r, const QPen& pen,
                 const QBrush& brush, bool insideFrame) {
  const QRectF area = dc.MapRect(r);
  QPainterPath fill;
  fill.addEllipse(area);
  PaintPath(dc, mix, fill, Qt::NoPen, brush);
  if (pen.style() == Qt::NoPen) return;
  QPainterPath outline;
  outline.addEllipse(OutlineRect(area, pen.widthF(), insideFrame));
  PaintPath(dc, mix, outline, pen, Qt::NoBrush);
}

}  // namespace

void CDrawObj::Draw(RenderContext&) {}

int CDrawObj::DrawHandles(RenderContext& dc, int state) {
  if (state == 0) return 0;
  const int total = GetHandleTotal();
  const HandleRop rop = HandleRasterOp();
  QPainter& p = *dc.painter;
  for (int n = 1; n <= total; ++n) {
    const QRectF square = dc.MapRect(HandleSquare(n, dc.zoomLevel));
    if (rop == HandleRop::Blackness) {
      p.save();
      p.setCompositionMode(QPainter::CompositionMode_SourceOver);
      p.fillRect(square, Qt::black);
      p.restore();
    } else {
      // Pattern-invert with the page's white brush and destination-invert look the same.
      lw::InvertRect(dc, square);
    }
  }
  return total;
}

void CDrawRect::Draw(RenderContext& dc) {
  if (DrawPatternedOutline(dc)) return;

  const std::optional<QBrush> brush = lw::MakeDeviceBrush(m_fillSpec);
  const std::optional<QPen> pen =
      lw::MakeDevicePen(dc, m_lineSpec.lopnStyle, m_lineSpec.lopnWidth.x, m_lineSpec.lopnColor);
  if (!brush || !pen) return;  // a pen or brush that cannot be made: nothing is painted

  QPainter& painter = *dc.painter;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  const QBrush useBrush = m_bFill ? *brush : QBrush(Qt::NoBrush);
  const QPen usePen = m_bLine ? *pen : QPen(Qt::NoPen);
  const MixMode mix = MixFor(*this);
  const bool insideFrame = m_lineSpec.lopnStyle == PS_INSIDEFRAME;
  const LRect& pos = m_rcPos;

  switch (m_nShape) {
    case lw::kShapeRectangle:
      if (lw::IsTextKind(m_nKind) && HasAutomaticOutline()) {
        // The guide frame of a text object: a dotted cyan frame on screen and in print,
        // nothing at all in the page image for the server.
        if (dc.IsUploadRendering()) break;
        const QPen guide = *lw::MakeDevicePen(dc, PS_DOT, 1, kColorCyan);
        DrawRectangle(dc, mix, pos, guide, useBrush, false);
      } else {
        DrawRectangle(dc, mix, pos, usePen, useBrush, insideFrame);
      }
      break;
    case lw::kShapeEllipse: {
      LRect r = pos;
      if (Abs64(r.left) >= Abs64(g_rcPage.left)) r.left = PullTowardsZero(r.left);
      if (Abs64(r.right) >= Abs64(g_rcPage.right)) r.right = PullTowardsZero(r.right);
      DrawEllipse(dc, mix, r, usePen, useBrush, insideFrame);
      break;
    }
    case lw::kShapeLine: {
      QPainterPath line(PixelCentre(dc, pos.left, pos.top));
      line.lineTo(PixelCentre(dc, pos.right, pos.bottom));
      PaintPath(dc, mix, line, usePen, Qt::NoBrush);
      break;
    }
    case lw::kShapeFreehand: {
      if (!m_pPoints || m_nPoints <= 0) break;
      // Points on or beyond the page edge move one unit inwards; the change is kept.
      const LRect& page = g_rcPage;
      QPolygonF polyline;
      polyline.reserve(m_nPoints);
      for (int i = 0; i < m_nPoints; ++i) {
        LPoint& pt = m_pPoints[size_t(i)];
        if (pt.x <= page.left) pt.x += 1;
        else if (pt.x >= page.right) pt.x -= 1;
        if (pt.y <= page.top) pt.y += 1;
        else if (pt.y >= page.bottom) pt.y -= 1;
        polyline.append(PixelCentre(dc, pt.x, pt.y));
      }
      QPainterPath path;
      path.addPolygon(polyline);
      PaintPath(dc, mix, path, usePen, Qt::NoBrush);
      break;
    }
    default:
      break;
  }
  painter.restore();
}

bool CDrawRect::DrawPatternedOutline(RenderContext& dc) {
  const LOGPEN& pen = m_lineSpec;
  if (lw::IsTextKind(m_nKind) && m_fLineWeight == 0.0f && lw::IsAutoColorName(m_strLineColorName))
    return false;
  if (!dc.IsPrinting() && (pen.lopnStyle == PS_SOLID || pen.lopnColor != kColorWhite))
    return false;
  if (pen.lopnStyle == PS_SOLID) return false;
  if (m_fillSpec.lbStyle == BS_HATCHED) return false;
  // An outline that is switched off, or a null pen, is not stroked: the ordinary painting
  // then paints just the fill.
  if (!m_bLine || pen.lopnStyle == PS_NULL) return false;

  lw::DashGenerator dashes(lw::DashPatternForStyle(pen.lopnStyle));
  const MixMode mix = MixFor(*this);
  QPainter& painter = *dc.painter;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  const qint64 L = m_rcPos.left, T = m_rcPos.top, R = m_rcPos.right, B = m_rcPos.bottom;
  auto pt = [](qint64 x, qint64 y) {
    auto c = [](qint64 v) {
      return int(std::clamp<qint64>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
    };
    return LPoint{c(x), c(y)};
  };

  switch (m_nShape) {
    case lw::kShapeRectangle: {
      if (m_bFill) {
        // The fill reaches 5 units beyond the outline on every side.
        const LPoint a = pt(L - 5, T + 5), b = pt(R + 5, B - 5);
        const std::optional<QBrush> brush = lw::MakeDeviceBrush(m_fillSpec);
        if (brush) {
          QPainterPath area;
          area.addRect(dc.MapRect({a.x, a.y, b.x, b.y}));
          lw::PaintPath(dc, mix, area, Qt::NoPen, *brush);
        }
      }
      dashes.MoveTo(pt(L, B));
      dashes.LineTo(pt(R, B));
      dashes.LineTo(pt(R, T));
      dashes.LineTo(pt(L, T));
      dashes.LineTo(pt(L, B));
      break;
    }
    case lw::kShapeEllipse: {
      m_ellipsePoints = lw::EllipseBezierPoints(m_rcPos);
      const QPainterPath interior = lw::EllipseBezierPath(m_ellipsePoints);
      m_rgnInterior = interior;
      QPainterPathStroker widen;
      widen.setWidth(5);
      m_rgnOutline = widen.createStroke(interior).united(interior);
      if (m_bFill) {
        // The fill colour over the points' bounding box, clipped to the interior.
        const LPoint lo = m_ellipsePoints[13], hi = m_ellipsePoints[14];
        const QRectF box = dc.MapRect({lo.x, lo.y, hi.x, hi.y});
        QPainterPath clipped;
        clipped.addRect(box);
        clipped = clipped.intersected(dc.pageToDevice.map(interior));
        lw::PaintPath(dc, mix, clipped, Qt::NoPen, QBrush(ToQColor(m_fillSpec.lbColor)));
      }
      const auto& p = m_ellipsePoints;
      auto q = [&p](int i) { return QPointF(p[size_t(i)].x, p[size_t(i)].y); };
      dashes.MoveTo(p[0]);
      dashes.BezierTo(q(1), q(2), q(3));
      dashes.BezierTo(q(4), q(5), q(6));
      dashes.BezierTo(q(7), q(8), q(9));
      dashes.BezierTo(q(10), q(11), q(12));
      break;
    }
    case lw::kShapeLine:
      dashes.MoveTo({m_rcPos.left, m_rcPos.top});
      dashes.LineTo({m_rcPos.right, m_rcPos.bottom});
      break;
    case lw::kShapeFreehand:
      if (m_pPoints && m_nPoints > 0) {
        dashes.MoveTo(m_pPoints[0]);
        for (int i = 1; i < m_nPoints; ++i) dashes.LineTo(m_pPoints[size_t(i)]);
      }
      break;
    default:
      break;
  }

  // Patterned outlines are always one unit thick, solid, flat-ended and mitred.
  QPen stroke(ToQColor(pen.lopnColor));
  stroke.setWidthF(lw::DevicePenWidth(dc, 1));
  stroke.setCapStyle(Qt::FlatCap);
  stroke.setJoinStyle(Qt::MiterJoin);
  lw::PaintPath(dc, mix, dc.pageToDevice.map(dashes.Path()), stroke, Qt::NoBrush);
  painter.restore();
  return true;
}
