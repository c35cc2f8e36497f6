#pragma once
// A picture loaded with the FreeImage library, and the bitmaps made from it.
//
// CRasterImage loads a picture file (the decoder is chosen by the file name's extension),
// paints it scaled onto a QPainter, and produces work bitmaps: a 1-bit or 24-bit FreeImage
// bitmap with a drawing surface (a QImage of the same size) that the picture, or a whole
// page, is painted into and that SaveWork writes as a BMP file. Picture insertion turns every
// picture into a 1-bit BMP this way (CDrawImage::LoadPicture); the upload turns the painted
// page into a fax image (MakeFaxImage).
//
// The library is set up by the first CRasterImage and released with the last one.
//
// Bad input: a file whose header declares more than 256 megapixels, or a decoder that cannot
// tell the size before decoding, is refused before any bitmap is allocated; a truncated or
// corrupt file is a failed Load, never a crash.

#include <QImage>
#include <QRectF>
#include <QString>

struct FIBITMAP;
class QPainter;

class CRasterImage {
 public:
  CRasterImage();
  ~CRasterImage();
  CRasterImage(const CRasterImage&) = delete;
  CRasterImage& operator=(const CRasterImage&) = delete;

  // The longest path Load takes, in bytes of the file system encoding.
  static constexpr int kMaxPathBytes = 260;
  // "このファイルは　読み取れません、まだは 現在サポートされていない形式です。"
  static constexpr int kTextUnsupportedPicture = 62575;

  // Loads `path` as the loaded bitmap. False for an empty or too long path; false with text
  // 62575 reported (lw::ReportMessage) when the extension names no format the library can
  // read; false without a message when the file cannot be decoded or is too large. A JPEG
  // is turned upright as its EXIF orientation says.
  bool Load(const QString& path);

  // Pixel size of the loaded bitmap; 0 when nothing is loaded.
  int Width() const;
  int Height() const;
  // Format code of the last path given to Load (FREE_IMAGE_FORMAT), -1 when not recognised.
  int Format() const { return m_nFormat; }
  const QString& Path() const { return m_strPath; }
  bool IsLoaded() const { return m_pLoaded != nullptr; }

  // Paints the loaded bitmap into `target` (device pixels of `painter`), smoothly scaled when
  // it is reduced. A target whose width or height is negative mirrors the picture along that
  // axis. On a 1-bit QImage device the picture is resampled and dithered to the target size
  // instead, so the page image stays black and white. Returns the number of picture rows
  // drawn: 0 when nothing is loaded or the target is empty.
  int Draw(QPainter& painter, const QRectF& target) const;

  // Stretches the loaded bitmap into the drawing surface at (x1, y1) - (x2, y2) (surface
  // pixels, x2 > x1, y2 > y1, clipped to the surface): resampled, and on a 1-bit surface
  // dithered to black and white. Returns the rows drawn (0 without a loaded bitmap or
  // surface).
  int DrawToSurface(int x1, int y1, int x2, int y2);

  // A w x h work bitmap of 1 bit (palette entry 0 black) or 24 bits per pixel, all zero.
  // Replaces the previous work bitmap and its surface. False for sizes below 1 or above
  // 256 megapixels, or when the bitmap cannot be allocated.
  bool CreateMonoWork(int w, int h);
  bool CreateColorWork(int w, int h);
  // The drawing surface of the work bitmap: QImage::Format_Mono with colour table {black,
  // white} (the work bitmap's palette entry 1 becomes white), or Format_RGB888; all pixels
  // zero. Null without a work bitmap. The surface belongs to this object.
  QImage* CreateSurface();
  QImage* Surface() { return m_surface.isNull() ? nullptr : &m_surface; }

  // Copies the surface into the work bitmap and writes that as a BMP file to `path`; the
  // file is replaced only by a complete one. SavedBytes() becomes the file's size (0 when
  // it could not be written). False when nothing could be written.
  bool SaveWork(const QString& path);
  int SavedBytes() const { return m_nSavedBytes; }

  // The upload's page image: copies the surface (the painted page) into the work bitmap,
  // places it on a white 1728 x 2332 one-bit page (2880 pixels per metre), writes that as a
  // BMP to `bitmapPath` and converts it with the fax encoder. Returns the path of the new fax
  // TIFF (the caller owns it), or an empty string when a step failed.
  QString MakeFaxImage(const QString& bitmapPath);

  // The loaded bitmap as a QImage (Format_Mono for a 1-bit picture, else RGB888 on white);
  // null without one. Made once per loaded bitmap.
  QImage LoadedImage() const;

 private:
  void CopySurfaceToWork();
  void ReleaseWork();

  QString m_strPath;
  int m_nFormat = -1;
  FIBITMAP* m_pLoaded = nullptr;
  FIBITMAP* m_pWork = nullptr;
  QImage m_surface;
  int m_nSavedBytes = 0;
  mutable QImage m_cachedImage;  // LoadedImage(), made on first use
};
