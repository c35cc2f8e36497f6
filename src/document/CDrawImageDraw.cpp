// Painting of a picture object, and the hook that gives pictures read from a cover page
// file their raster.
#include "document/CDrawImage.h"
#include "document/CRasterImage.h"
#include "document/DocGlobals.h"
#include "document/PictureLoad.h"

namespace {

qint64 Abs(qint64 v) { return v < 0 ? -v : v; }
qint64 SignOf(qint64 v) { return v > 0 ? 1 : (v < 0 ? -1 : 0); }

// Pictures read from a file get their raster whenever this library is linked: CDrawImage's
// Draw lives in this file, so it is part of every program that has picture objects.
const bool g_pictureLoaderInstalled = [] {
  lw::InstallPictureLoader();
  return true;
}();

}  // namespace

namespace lw {

PictureRect PictureDrawRect(const LRect& pos, const LRect& page, int rasterWidth,
                            int rasterHeight) {
  qint64 L = pos.left, T = pos.top, R = pos.right, B = pos.bottom;
  const bool natural = Abs(R - L) == rasterWidth && Abs(T - B) == rasterHeight;
  if (natural) {
    // Shifted as a whole, keeping the natural size.
    if (Abs(L) >= Abs(page.left)) {
      const qint64 s = SignOf(L);
      L -= s;
      R -= s;
    }
    if (Abs(R) >= Abs(page.right)) {
      const qint64 s = SignOf(R);
      L -= s;
      R -= s;
    }
    if (Abs(B) >= Abs(page.top)) {
      const qint64 s = SignOf(B);
      B -= s;
      T -= s;
    }
    if (Abs(T) >= Abs(page.bottom)) {
      const qint64 s = SignOf(T);
      B -= s;
      T -= s;
    }
  } else {
    if (Abs(L) >= Abs(page.left)) L -= SignOf(L);
    if (Abs(R) >= Abs(page.right)) R -= SignOf(R);
    if (Abs(B) >= Abs(page.top)) B -= SignOf(B);
    if (Abs(T) >= Abs(page.bottom)) T -= SignOf(T);
  }
  return {L, B, R, T};
}

}  // namespace lw

void CDrawImage::Draw(lw::RenderContext& dc) {
  (void)g_pictureLoaderInstalled;
  if (!m_pRaster) return;
  const lw::PictureRect r =
      lw::PictureDrawRect(m_rcPos, g_rcPage, m_pRaster->Width(), m_pRaster->Height());
  // The picture's upper-left corner goes to (x1, y1) and its lower-right to (x2, y2); a
  // rectangle given the other way round mirrors the picture.
  const QPointF p1 = dc.Map(double(r.x1), double(r.y1));
  const QPointF p2 = dc.Map(double(r.x2), double(r.y2));
  m_pRaster->Draw(*dc.painter, QRectF(p1, p2));
}
