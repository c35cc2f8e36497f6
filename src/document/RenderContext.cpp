#include "document/RenderContext.h"

#include <cmath>

namespace lw {

double RenderContext::ScaleX() const {
  return std::hypot(pageToDevice.m11(), pageToDevice.m12());
}

double RenderContext::ScaleY() const {
  return std::hypot(pageToDevice.m21(), pageToDevice.m22());
}

QRectF RenderContext::MapRect(const LRect& r) const {
  const QPointF a = Map(r.left, r.top);
  const QPointF b = Map(r.right, r.bottom);
  return QRectF(QPointF(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                QPointF(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
}

QTransform PageTransform(QSize pageSize, double scaleX, double scaleY) {
  const int halfW = pageSize.width() / 2;
  const int halfH = pageSize.height() / 2;
  // x_dev = (x + W/2) * sx, y_dev = (H/2 - y) * sy
  return QTransform(scaleX, 0, 0, -scaleY, double(halfW) * scaleX, double(halfH) * scaleY);
}

}  // namespace lw
