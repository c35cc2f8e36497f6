#pragma once
// What the drawing code paints on: a QPainter, the purpose of the painting (screen, printer or
// preview, or the page image for the upload) and the mapping from logical page units to the
// painter's device pixels. Objects receive one RenderContext in Draw and paint in device
// pixels through Map...(), so pen widths, hatch patterns and text are handled in one place.
//
// Logical page units: origin at the page centre, x to the right, y upwards. The painter's own
// world transform is left as the caller set it (normally identity); the page mapping lives in
// pageToDevice.

#include "document/GdiTypes.h"

#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QTransform>

namespace lw {

enum class RenderTarget {
  Screen,  // the editing view (also lwtool --target screen)
  Print,   // printer, print preview, PDF
  Upload,  // the 1-bit page image sent to the fax server
};

// Page units per inch on a printer.
constexpr int kPrinterUnitsPerInch = 218;

class RenderContext {
 public:
  RenderContext(QPainter* painter, RenderTarget target, const QTransform& pageToDevice)
      : painter(painter), target(target), pageToDevice(pageToDevice) {}

  QPainter* painter;
  RenderTarget target;
  QTransform pageToDevice;  // logical page units -> device pixels

  // Zoom level of the view (-2..1): size of the handle squares. 0 off screen.
  int zoomLevel = 0;
  // The pointer tool is in the middle of a move or resize drag (drag not ended, select mode
  // 2 or 3): selected pictures show their position as a dotted frame.
  bool pictureDragInProgress = false;

  // "The device context reports printing": printer, print preview and PDF.
  bool IsPrinting() const { return target == RenderTarget::Print; }
  // The page image for the upload (no placeholders, no guide frames).
  bool IsUploadRendering() const { return target == RenderTarget::Upload; }

  // Device pixels per page unit along x and y (absolute values).
  double ScaleX() const;
  double ScaleY() const;

  QPointF Map(LPoint p) const { return pageToDevice.map(QPointF(p.x, p.y)); }
  QPointF Map(double x, double y) const { return pageToDevice.map(QPointF(x, y)); }
  // The rectangle spanned by two logical corners, normalised in device pixels.
  QRectF MapRect(const LRect& r) const;
};

// Page units to device pixels for a page of `pageSize` units, `scaleX` and `scaleY` device
// pixels per unit: the page's upper-left corner lands on device (0, 0) and y turns downwards.
// x_dev = (x + W/2) * scaleX, y_dev = (H/2 - y) * scaleY, with W/2 and H/2 truncated.
QTransform PageTransform(QSize pageSize, double scaleX, double scaleY);

// The page image: one pixel per page unit.
inline QTransform PageImageTransform(QSize pageSize) { return PageTransform(pageSize, 1, 1); }

// A printer of `dpiX` x `dpiY` dots per inch: 218 page units per inch.
inline QTransform PrintTransform(QSize pageSize, double dpiX, double dpiY) {
  return PageTransform(pageSize, dpiX / kPrinterUnitsPerInch, dpiY / kPrinterUnitsPerInch);
}

}  // namespace lw
