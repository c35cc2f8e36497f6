// Painting of a picture object. Until the raster drawing is in place a picture shows its
// position as a thin frame.
#include "document/CDrawImage.h"

void CDrawImage::Draw(lw::RenderContext& dc) {
  QPainter& p = *dc.painter;
  p.save();
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(QPen(Qt::black, 0));
  p.setBrush(Qt::NoBrush);
  const QRectF r = dc.MapRect(m_rcPos);
  p.drawRect(QRectF(r.topLeft(), r.size() - QSizeF(1, 1)));
  p.restore();
}
