#include "document/RenderTools.h"

#include <QPaintEngine>
#include <QPainterPath>
#include <QVector>

#include <algorithm>

namespace lw {
namespace {

bool HasRasterOps(const QPainter& p) {
  const QPaintEngine* engine = p.paintEngine();
  return engine && engine->hasFeature(QPaintEngine::RasterOpModes);
}

bool IsBlack(const QColor& c) { return c.red() == 0 && c.green() == 0 && c.blue() == 0; }
bool IsWhite(const QColor& c) { return c.red() == 255 && c.green() == 255 && c.blue() == 255; }

// Dash lengths of the platform's one-pixel styled pens, in device pixels.
QVector<qreal> DevicePattern(int style) {
  switch (style) {
    case PS_DASH:
      return {18, 6};
    case PS_DOT:
      return {3, 3};
    case PS_DASHDOT:
      return {9, 6, 3, 6};
    default:
      return {9, 3, 3, 3, 3, 3};
  }
}

// The same in page units, for printers.
QVector<qreal> PagePattern(int style) {
  switch (style) {
    case PS_DASH:
      return {15, 5};
    case PS_DOT:
      return {5, 5};
    case PS_DASHDOT:
      return {15, 5, 5, 5};
    default:
      return {15, 5, 5, 5, 5, 5};
  }
}

}  // namespace

bool BeginColor(RenderContext& dc, MixMode mix, const QColor& color) {
  QPainter& p = *dc.painter;
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  if (mix == MixMode::CopyPen) {
    p.setBackgroundMode(Qt::OpaqueMode);
    p.setBackground(Qt::white);
    return true;
  }
  p.setBackgroundMode(Qt::TransparentMode);
  if (IsWhite(color)) return false;  // AND with white changes nothing
  if (!IsBlack(color) && HasRasterOps(p))
    p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
  return true;
}

double DevicePenWidth(const RenderContext& dc, int widthX) {
  return std::max(1.0, double(std::max(widthX, 0)) * dc.ScaleX());
}

std::optional<QPen> MakeDevicePen(const RenderContext& dc, int style, int widthX, COLORREF color) {
  if (style == PS_NULL) return QPen(Qt::NoPen);
  if (style < PS_SOLID || style > PS_INSIDEFRAME) return std::nullopt;
  QPen pen(ToQColor(color));
  if (IsStyledPen(style)) {
    // Styled pens are always one unit wide (one pixel off the printer).
    const double width = dc.IsPrinting() ? DevicePenWidth(dc, 1) : 1.0;
    pen.setWidthF(width);
    QVector<qreal> pattern = dc.IsPrinting() ? PagePattern(style) : DevicePattern(style);
    const double unit = dc.IsPrinting() ? dc.ScaleX() : 1.0;
    for (qreal& v : pattern) v = v * unit / width;
    pen.setDashPattern(pattern);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
  }
  const double width = DevicePenWidth(dc, widthX);
  pen.setWidthF(width);
  pen.setStyle(Qt::SolidLine);
  pen.setCapStyle(width > 1.5 ? Qt::RoundCap : Qt::FlatCap);
  pen.setJoinStyle(width > 1.5 ? Qt::RoundJoin : Qt::MiterJoin);
  return pen;
}

std::optional<QBrush> MakeDeviceBrush(const LOGBRUSH& lb) {
  const QColor color = ToQColor(lb.lbColor);
  switch (lb.lbStyle) {
    case BS_SOLID:
      return QBrush(color, Qt::SolidPattern);
    case 1:  // hollow
      return QBrush(Qt::NoBrush);
    case BS_HATCHED:
      switch (lb.lbHatch) {
        case HS_HORIZONTAL:
          return QBrush(color, Qt::HorPattern);
        case HS_VERTICAL:
          return QBrush(color, Qt::VerPattern);
        case HS_FDIAGONAL:
          return QBrush(color, Qt::FDiagPattern);
        case HS_BDIAGONAL:
          return QBrush(color, Qt::BDiagPattern);
        case HS_CROSS:
          return QBrush(color, Qt::CrossPattern);
        case HS_DIAGCROSS:
          return QBrush(color, Qt::DiagCrossPattern);
        default:
          return std::nullopt;
      }
    default:
      return std::nullopt;
  }
}

void PaintPath(RenderContext& dc, MixMode mix, const QPainterPath& path, const QPen& pen,
               const QBrush& brush) {
  QPainter& p = *dc.painter;
  if (brush.style() != Qt::NoBrush && BeginColor(dc, mix, brush.color())) {
    p.setPen(Qt::NoPen);
    p.setBrush(brush);
    p.drawPath(path);
  }
  if (pen.style() != Qt::NoPen && BeginColor(dc, mix, pen.color())) {
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
  }
}

void InvertRect(RenderContext& dc, const QRectF& deviceRect) {
  QPainter& p = *dc.painter;
  p.save();
  if (HasRasterOps(p)) {
    p.setCompositionMode(QPainter::RasterOp_NotDestination);
    p.fillRect(deviceRect, Qt::black);
  } else {
    p.fillRect(deviceRect, Qt::black);
  }
  p.restore();
}

}  // namespace lw
