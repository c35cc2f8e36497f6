#pragma once
// The page as the fax server receives it: painted at one pixel per page unit into a
// 1728 x 2332 1-bit image (white page, every object, no grid, no field placeholders, no
// guide frames, no selection marks), written as a 1-bit BMP and turned into a one-page T.6
// fax TIFF by the fax encoder. The upload and `lwtool render` both go through
// MakeFaxPageImage, so what is tested and looked at is what is sent.

#include "document/RenderContext.h"

#include <QImage>
#include <QString>

class CDrawDoc;

namespace lw {

class ViewPort;

// Size of the fax page image in pixels.
constexpr int kFaxImageWidth = 1728;
constexpr int kFaxImageHeight = 2332;
// Resolution written into the BMP: 2880 pixels per metre (about 73 dots per inch).
constexpr int kBmpPixelsPerMetre = 2880;

// Paints the page into `dc` as the view paints it, without desk and grid: sets g_rcPage from
// the document's page size, paints the page white (on screen; paper is white and the page
// image starts white), then every object through CDrawDoc::DrawAll. `view` may be null.
void PaintPage(RenderContext& dc, CDrawDoc& doc, ViewPort* view);

// The page image: QImage::Format_Mono, 1728 x 2332, colour table {black, white} (bit 1 is
// white). The objects' m_rcPage are refreshed and freehand points on the page edge move
// inwards, as with every paint.
QImage RenderPageImage(CDrawDoc& doc);

// Writes a Format_Mono image as a 1-bit BMP: 62-byte header, palette entry 0 black and 1
// white, 2880 pixels per metre, rows bottom-up. The file is replaced only by a complete one.
// False with `error` set when it cannot be written.
bool WritePageBmp(const QImage& image, const QString& path, QString* error = nullptr);

// The BMP bytes of WritePageBmp.
QByteArray PageBmpBytes(const QImage& image);

// Renders the page image, writes it as a BMP to `bmpPath`, converts that with the fax encoder
// into a new temporary fax TIFF ("fax??????.tif" in the private temporary folder) and deletes
// the BMP. Returns the TIFF's path (the caller owns the file), or an empty string with
// `error` set when a step failed; nothing is left behind then.
QString MakeFaxPageImage(CDrawDoc& doc, const QString& bmpPath, QString* error = nullptr);

}  // namespace lw
