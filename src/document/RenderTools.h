#pragma once
// Pens, brushes and mix modes of object painting, in device pixels of a RenderContext.
//
// Mix modes: "copy pen" paints the colour; "mask pen" ANDs it with what lies beneath. Pages
// hold only black and white, where the mask leaves everything under white unchanged and
// turns everything under black black; painting the black parts and skipping the white
// parts gives that result on every device, raster or not (PDF, printers). Other colours
// (the cyan guide frame on screen) use the real raster operation where the paint engine has
// one and are painted plainly elsewhere.
//
// Backgrounds: in copy mode the gaps of styled pens and hatched brushes are painted white
// (an opaque background); under the mask they leave the page as it is.

#include "document/GdiTypes.h"
#include "document/RenderContext.h"

#include <QBrush>
#include <QPen>

#include <optional>

namespace lw {

enum class MixMode { CopyPen, MaskPen };

// Prepares the painter for painting in `color` (composition mode and background). False when
// the painting would change nothing (white under the mask): the caller skips it.
bool BeginColor(RenderContext& dc, MixMode mix, const QColor& color);

// The width of a pen in device pixels: `widthX` page units, at least one pixel.
double DevicePenWidth(const RenderContext& dc, int widthX);

// A pen of a GDI pen style (0 solid, 1 dashed, 2 dotted, 3 dash-dot, 4 dash-dot-dot,
// 5 null, 6 inside-frame solid) in device pixels. Styled pens are one pixel wide on screen
// and in the page image with the device dash lengths of the platform (18 6, 3 3, 9 6 3 6,
// 9 3 3 3 3 3 pixels); on a printer their dashes are measured in page units (15 5, 5 5,
// 15 5 5 5, 15 5 5 5 5 5). Qt::NoPen for the null style; nullopt for a style that no pen
// can be made of.
std::optional<QPen> MakeDevicePen(const RenderContext& dc, int style, int widthX, COLORREF color);

// A brush of a LOGBRUSH: solid, hollow (style 1, no fill) or hatched (codes 0 to 5, drawn in
// device pixels like the platform's 8 x 8 hatches); nullopt for a style or hatch code that
// no brush can be made of.
std::optional<QBrush> MakeDeviceBrush(const LOGBRUSH& lb);

// Whether a pen style draws with dashes.
constexpr bool IsStyledPen(int style) { return style >= PS_DASH && style <= PS_DASHDOTDOT; }

// Paints `path` (device pixels) with `pen` and `brush` under `mix`: the fill first, then the
// outline, each only when it changes something.
void PaintPath(RenderContext& dc, MixMode mix, const QPainterPath& path, const QPen& pen,
               const QBrush& brush);

// Inverts the device pixels of a rectangle (device pixels); on a device without raster
// operations the rectangle is painted black.
void InvertRect(RenderContext& dc, const QRectF& deviceRect);

}  // namespace lw
