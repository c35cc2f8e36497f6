#include "document/CRasterImage.h"

#include "document/MessageSeam.h"
#include "document/PictureLoadHeader.h"
#include "document/PictureLoadStretch.h"
#include "faxtiff/FaxTiff.h"

#include <FreeImage.h>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <mutex>

namespace {

using lw::picture::LinearPlane;

// The library counts its own set-ups, but not under a lock: ours are counted here.
std::mutex g_libraryMutex;
int g_libraryUsers = 0;

void AcquireLibrary() {
  std::lock_guard<std::mutex> lock(g_libraryMutex);
  // FALSE: plug-ins outside the library may be used as well (the library looks for none on
  // this system).
  if (g_libraryUsers++ == 0) FreeImage_Initialise(FALSE);
}

void ReleaseLibrary() {
  std::lock_guard<std::mutex> lock(g_libraryMutex);
  if (--g_libraryUsers == 0) FreeImage_DeInitialise();
}

struct Unloader {
  void operator()(FIBITMAP* dib) const { FreeImage_Unload(dib); }
};
using Bitmap = std::unique_ptr<FIBITMAP, Unloader>;

constexpr int kFaxPageWidth = 1728;
constexpr int kFaxPageHeight = 2332;
constexpr int kFaxPixelsPerMetre = 2880;

// The loaded bitmap as 24-bit BGR: high-bit-depth and float pictures brought to 8 bits per
// channel, pictures with transparency laid on white paper.
Bitmap To24Bits(FIBITMAP* dib) {
  Bitmap standard;
  FIBITMAP* current = dib;
  const FREE_IMAGE_TYPE type = FreeImage_GetImageType(dib);
  if (type == FIT_RGBF || type == FIT_RGBAF) {
    standard.reset(FreeImage_ToneMapping(dib, FITMO_DRAGO03));
    current = standard.get();
  } else if (type == FIT_RGBA16) {
    standard.reset(FreeImage_ConvertTo32Bits(dib));
    current = standard.get();
  } else if (type != FIT_BITMAP && type != FIT_RGB16) {
    standard.reset(FreeImage_ConvertToStandardType(dib, TRUE));
    current = standard.get();
  }
  if (!current) return nullptr;
  const unsigned bpp = FreeImage_GetBPP(current);
  if (FreeImage_GetImageType(current) == FIT_BITMAP && FreeImage_IsTransparent(current) &&
      (bpp == 8 || bpp == 32)) {
    RGBQUAD white{255, 255, 255, 0};
    return Bitmap(FreeImage_Composite(current, FALSE, &white, nullptr));
  }
  if (bpp == 24 && FreeImage_GetImageType(current) == FIT_BITMAP) {
    if (current == dib) return Bitmap(FreeImage_Clone(dib));
    return standard;
  }
  return Bitmap(FreeImage_ConvertTo24Bits(current));
}

// Row y of a bitmap counted from the top (the library keeps rows bottom-up).
const uint8_t* TopRow(FIBITMAP* dib, int y) {
  return FreeImage_GetScanLine(dib, int(FreeImage_GetHeight(dib)) - 1 - y);
}

// Sets bit (x, y) of a Format_Mono image to `index`.
void SetMonoPixel(QImage& image, int x, int y, bool index) {
  uchar* row = image.scanLine(y);
  const uchar mask = uchar(0x80 >> (x & 7));
  if (index)
    row[x >> 3] |= mask;
  else
    row[x >> 3] &= uchar(~mask);
}

// Copies a Format_Mono image into another at (dx, dy), pixel indices as they are.
void BlitMono(const QImage& source, QImage& target, int dx, int dy) {
  for (int y = 0; y < source.height(); ++y) {
    const uchar* row = source.constScanLine(y);
    for (int x = 0; x < source.width(); ++x)
      SetMonoPixel(target, dx + x, dy + y, (row[x >> 3] >> (7 - (x & 7))) & 1);
  }
}

// FreeImage output into a QSaveFile.
unsigned DLL_CALLCONV WriteToSaveFile(void* buffer, unsigned size, unsigned count,
                                      fi_handle handle) {
  auto* file = static_cast<QSaveFile*>(handle);
  const qint64 bytes = qint64(size) * count;
  return file->write(static_cast<const char*>(buffer), bytes) == bytes ? count : 0;
}
int DLL_CALLCONV SeekInSaveFile(fi_handle handle, long offset, int origin) {
  auto* file = static_cast<QSaveFile*>(handle);
  qint64 to = offset;
  if (origin == SEEK_CUR) to += file->pos();
  if (origin == SEEK_END) to += file->size();
  return file->seek(to) ? 0 : -1;
}
long DLL_CALLCONV TellInSaveFile(fi_handle handle) {
  return long(static_cast<QSaveFile*>(handle)->pos());
}

// Writes `dib` as a BMP file; the old file at `path` is replaced only by a complete one.
// Returns the file's size, or 0.
int SaveBmp(FIBITMAP* dib, const QString& path) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return 0;
  FreeImageIO io{};
  io.write_proc = WriteToSaveFile;
  io.seek_proc = SeekInSaveFile;
  io.tell_proc = TellInSaveFile;
  if (!FreeImage_SaveToHandle(FIF_BMP, dib, &io, &file, 0)) return 0;
  const qint64 size = file.size();
  if (!file.commit()) return 0;
  return int(std::min<qint64>(size, INT32_MAX));
}

}  // namespace

CRasterImage::CRasterImage() { AcquireLibrary(); }

CRasterImage::~CRasterImage() {
  if (m_pLoaded) FreeImage_Unload(m_pLoaded);
  ReleaseWork();
  ReleaseLibrary();
}

void CRasterImage::ReleaseWork() {
  if (m_pWork) FreeImage_Unload(m_pWork);
  m_pWork = nullptr;
  m_surface = QImage();
}

bool CRasterImage::Load(const QString& path) {
  const QByteArray name = QFile::encodeName(path);
  if (name.isEmpty() || name.size() > kMaxPathBytes) return false;
  m_strPath = path;
  FREE_IMAGE_FORMAT fif = FreeImage_GetFIFFromFilename(name.constData());
  if (fif != FIF_UNKNOWN && !FreeImage_FIFSupportsReading(fif)) fif = FIF_UNKNOWN;
  m_nFormat = fif;
  if (fif == FIF_UNKNOWN) {
    lw::ReportMessage(kTextUnsupportedPicture, path);
    return false;
  }
  if (m_pLoaded) FreeImage_Unload(m_pLoaded);
  m_pLoaded = nullptr;
  m_cachedImage = QImage();
  lw::picture::DeclaredSize size;
  if (!lw::picture::ReadDeclaredSize(path, fif, &size) || !lw::picture::IsAcceptableSize(size))
    return false;
  m_pLoaded = FreeImage_Load(fif, name.constData(), fif == FIF_JPEG ? JPEG_EXIFROTATE : 0);
  if (m_pLoaded && (FreeImage_GetWidth(m_pLoaded) == 0 || FreeImage_GetHeight(m_pLoaded) == 0 ||
                    !FreeImage_HasPixels(m_pLoaded))) {
    FreeImage_Unload(m_pLoaded);
    m_pLoaded = nullptr;
  }
  return m_pLoaded != nullptr;
}

int CRasterImage::Width() const { return m_pLoaded ? int(FreeImage_GetWidth(m_pLoaded)) : 0; }
int CRasterImage::Height() const { return m_pLoaded ? int(FreeImage_GetHeight(m_pLoaded)) : 0; }

QImage CRasterImage::LoadedImage() const {
  if (!m_pLoaded) return {};
  if (!m_cachedImage.isNull()) return m_cachedImage;
  const int w = Width(), h = Height();
  if (FreeImage_GetBPP(m_pLoaded) == 1 && FreeImage_GetImageType(m_pLoaded) == FIT_BITMAP) {
    QImage image(w, h, QImage::Format_Mono);
    if (image.isNull()) return {};
    const RGBQUAD* palette = FreeImage_GetPalette(m_pLoaded);
    image.setColorTable({qRgb(palette[0].rgbRed, palette[0].rgbGreen, palette[0].rgbBlue),
                         qRgb(palette[1].rgbRed, palette[1].rgbGreen, palette[1].rgbBlue)});
    const int bytes = std::min<int>(image.bytesPerLine(), int(FreeImage_GetPitch(m_pLoaded)));
    for (int y = 0; y < h; ++y)
      std::memcpy(image.scanLine(y), TopRow(m_pLoaded, y), std::size_t(bytes));
    m_cachedImage = image;
    return image;
  }
  Bitmap rgb = To24Bits(m_pLoaded);
  if (!rgb) return {};
  QImage image(w, h, QImage::Format_RGB888);
  if (image.isNull()) return {};
  for (int y = 0; y < h; ++y) {
    const uint8_t* src = TopRow(rgb.get(), y);
    uchar* dst = image.scanLine(y);
    for (int x = 0; x < w; ++x, src += 3, dst += 3) {
      dst[0] = src[FI_RGBA_RED];
      dst[1] = src[FI_RGBA_GREEN];
      dst[2] = src[FI_RGBA_BLUE];
    }
  }
  m_cachedImage = image;
  return image;
}

int CRasterImage::DrawToSurface(int x1, int y1, int x2, int y2) {
  if (!m_pLoaded || m_surface.isNull() || x2 <= x1 || y2 <= y1) return 0;
  const QRect target(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1));
  const QRect window = target.intersected(m_surface.rect());
  if (window.isEmpty()) return 0;
  Bitmap rgb = To24Bits(m_pLoaded);
  if (!rgb) return 0;
  const int sw = Width(), sh = Height();
  const int tw = target.width(), th = target.height();
  const int wx = window.left() - x1, wy = window.top() - y1;  // window inside the target

  if (m_surface.format() == QImage::Format_Mono) {
    if (tw == sw && th == sh) {
      // Same size: dither the rows as they come, without a whole plane.
      QImage part =
          window == m_surface.rect() ? QImage() : QImage(window.size(), QImage::Format_Mono);
      QImage& out = part.isNull() ? m_surface : part;
      if (!part.isNull()) part.setColorTable(m_surface.colorTable());
      const auto rows = [&](int y, float* row) {
        lw::picture::BgrToLuminance(TopRow(rgb.get(), wy + y) + 3 * wx, window.width(), row);
      };
      const float paper = lw::picture::FindPaperWhite(window.width(), window.height(), rows);
      lw::picture::DitherToMono(window.width(), window.height(), rows, out, paper);
      if (!part.isNull()) BlitMono(part, m_surface, window.left(), window.top());
      return window.height();
    }
    const LinearPlane plane =
        lw::picture::PlaneFromBgr(sw, sh, true, [&](int y) { return TopRow(rgb.get(), y); });
    const LinearPlane scaled =
        lw::picture::Resample(plane, tw, th, wx, wy, window.width(), window.height());
    const float paper = lw::picture::FindPaperWhite(scaled);
    if (window == m_surface.rect()) {
      lw::picture::DitherToMono(scaled, m_surface, paper);
    } else {
      QImage part(window.size(), QImage::Format_Mono);
      part.setColorTable(m_surface.colorTable());
      lw::picture::DitherToMono(scaled, part, paper);
      BlitMono(part, m_surface, window.left(), window.top());
    }
    return window.height();
  }

  // Colour surface (RGB888).
  if (tw % sw == 0 && th % sh == 0) {
    // Exact enlargement: repeat pixels.
    const int fx = tw / sw, fy = th / sh;
    for (int y = 0; y < window.height(); ++y) {
      const uint8_t* src = TopRow(rgb.get(), (wy + y) / fy);
      uchar* dst = m_surface.scanLine(window.top() + y) + 3 * window.left();
      for (int x = 0; x < window.width(); ++x, dst += 3) {
        const uint8_t* p = src + 3 * ((wx + x) / fx);
        dst[0] = p[FI_RGBA_RED];
        dst[1] = p[FI_RGBA_GREEN];
        dst[2] = p[FI_RGBA_BLUE];
      }
    }
    return window.height();
  }
  const LinearPlane plane =
      lw::picture::PlaneFromBgr(sw, sh, false, [&](int y) { return TopRow(rgb.get(), y); });
  const LinearPlane scaled =
      lw::picture::Resample(plane, tw, th, wx, wy, window.width(), window.height());
  QImage part(window.size(), QImage::Format_RGB888);
  lw::picture::PlaneToRgb888(scaled, part);
  for (int y = 0; y < part.height(); ++y)
    std::memcpy(m_surface.scanLine(window.top() + y) + 3 * window.left(), part.constScanLine(y),
                std::size_t(part.width()) * 3);
  return window.height();
}

int CRasterImage::Draw(QPainter& painter, const QRectF& target) const {
  if (!m_pLoaded || target.width() == 0 || target.height() == 0) return 0;
  const bool mirrorX = target.width() < 0, mirrorY = target.height() < 0;
  const QRectF rect = target.normalized();
  QImage image = LoadedImage();
  if (image.isNull()) return 0;
  if (mirrorX || mirrorY) image = image.mirrored(mirrorX, mirrorY);

  QPaintDevice* device = painter.device();
  const QImage* deviceImage = device && device->devType() == QInternal::Image
                                  ? static_cast<const QImage*>(device)
                                  : nullptr;
  if (deviceImage && (deviceImage->format() == QImage::Format_Mono ||
                      deviceImage->format() == QImage::Format_MonoLSB)) {
    // A black-and-white page: resample the visible part to the target size and dither it.
    const QRectF mapped = painter.transform().mapRect(rect);
    // Far outside any page image (a damaged file's position): nothing of it can show.
    constexpr double kFar = 1 << 28;
    if (std::abs(mapped.left()) > kFar || std::abs(mapped.top()) > kFar ||
        std::abs(mapped.right()) > kFar || std::abs(mapped.bottom()) > kFar)
      return 0;
    const QRect full(QPoint(qRound(mapped.left()), qRound(mapped.top())),
                     QSize(qRound(mapped.width()), qRound(mapped.height())));
    const QRect window = full.intersected(deviceImage->rect());
    if (window.isEmpty() || full.width() <= 0 || full.height() <= 0) return 0;
    QImage part(window.size(), QImage::Format_Mono);
    part.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    if (full.size() == image.size() && image.format() == QImage::Format_Mono) {
      part = image.copy(window.translated(-full.topLeft()));
    } else {
      const QImage bgr = image.convertToFormat(QImage::Format_BGR888);
      const LinearPlane plane = lw::picture::PlaneFromBgr(
          bgr.width(), bgr.height(), true, [&](int y) { return bgr.constScanLine(y); });
      const LinearPlane scaled =
          lw::picture::Resample(plane, full.width(), full.height(), window.left() - full.left(),
                                window.top() - full.top(), window.width(), window.height());
      lw::picture::DitherToMono(scaled, part, lw::picture::FindPaperWhite(scaled));
    }
    painter.save();
    painter.resetTransform();
    painter.drawImage(window.topLeft(), part);
    painter.restore();
    return image.height();
  }

  // Screen and printer: smooth when the picture is reduced; a black-and-white picture that is
  // enlarged keeps its pixels sharp.
  const QRectF deviceRect = painter.transform().mapRect(rect);
  const bool reduced = deviceRect.width() < image.width() || deviceRect.height() < image.height();
  painter.save();
  painter.setRenderHint(QPainter::SmoothPixmapTransform,
                        reduced || image.format() != QImage::Format_Mono);
  painter.drawImage(rect, image);
  painter.restore();
  return image.height();
}

bool CRasterImage::CreateMonoWork(int w, int h) {
  ReleaseWork();
  if (!lw::picture::IsAcceptableSize({w, h, 1})) return false;
  m_pWork = FreeImage_Allocate(w, h, 1);
  return m_pWork != nullptr;
}

bool CRasterImage::CreateColorWork(int w, int h) {
  ReleaseWork();
  if (!lw::picture::IsAcceptableSize({w, h, 24})) return false;
  m_pWork = FreeImage_Allocate(w, h, 24);
  return m_pWork != nullptr;
}

QImage* CRasterImage::CreateSurface() {
  if (!m_pWork) return nullptr;
  const int w = int(FreeImage_GetWidth(m_pWork)), h = int(FreeImage_GetHeight(m_pWork));
  if (FreeImage_GetBPP(m_pWork) == 1) {
    RGBQUAD* palette = FreeImage_GetPalette(m_pWork);
    palette[1].rgbRed = palette[1].rgbGreen = palette[1].rgbBlue = 255;
    m_surface = QImage(w, h, QImage::Format_Mono);
    m_surface.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  } else {
    m_surface = QImage(w, h, QImage::Format_RGB888);
  }
  if (m_surface.isNull()) return nullptr;
  m_surface.fill(0);
  return &m_surface;
}

void CRasterImage::CopySurfaceToWork() {
  if (!m_pWork || m_surface.isNull()) return;
  const int h = std::min<int>(m_surface.height(), int(FreeImage_GetHeight(m_pWork)));
  const int w = std::min<int>(m_surface.width(), int(FreeImage_GetWidth(m_pWork)));
  const unsigned bpp = FreeImage_GetBPP(m_pWork);
  for (int y = 0; y < h; ++y) {
    uint8_t* dst = FreeImage_GetScanLine(m_pWork, int(FreeImage_GetHeight(m_pWork)) - 1 - y);
    const uchar* src = m_surface.constScanLine(y);
    if (bpp == 1 && m_surface.format() == QImage::Format_Mono) {
      std::memcpy(dst, src, std::size_t((w + 7) / 8));
    } else if (bpp == 24 && m_surface.format() == QImage::Format_RGB888) {
      for (int x = 0; x < w; ++x, src += 3, dst += 3) {
        dst[FI_RGBA_RED] = src[0];
        dst[FI_RGBA_GREEN] = src[1];
        dst[FI_RGBA_BLUE] = src[2];
      }
    }
  }
}

bool CRasterImage::SaveWork(const QString& path) {
  m_nSavedBytes = 0;
  if (!m_pWork) return false;
  CopySurfaceToWork();
  m_nSavedBytes = SaveBmp(m_pWork, path);
  return m_nSavedBytes > 0;
}

QString CRasterImage::MakeFaxImage(const QString& bitmapPath) {
  if (!m_pWork || FreeImage_GetBPP(m_pWork) != 1) return {};
  CopySurfaceToWork();
  Bitmap page(FreeImage_Allocate(kFaxPageWidth, kFaxPageHeight, 1));
  if (!page) return {};
  RGBQUAD* palette = FreeImage_GetPalette(page.get());
  palette[1].rgbRed = palette[1].rgbGreen = palette[1].rgbBlue = 255;
  FreeImage_SetDotsPerMeterX(page.get(), kFaxPixelsPerMetre);
  FreeImage_SetDotsPerMeterY(page.get(), kFaxPixelsPerMetre);
  // White page, then the work bitmap at its upper-left corner (a work bitmap of another size
  // is cut or padded, never sheared).
  const unsigned pitch = FreeImage_GetPitch(page.get());
  std::memset(FreeImage_GetBits(page.get()), 0xFF, std::size_t(pitch) * kFaxPageHeight);
  const int w = std::min<int>(kFaxPageWidth, int(FreeImage_GetWidth(m_pWork)));
  const int h = std::min<int>(kFaxPageHeight, int(FreeImage_GetHeight(m_pWork)));
  for (int y = 0; y < h; ++y) {
    const uint8_t* src = TopRow(m_pWork, y);
    uint8_t* dst = FreeImage_GetScanLine(page.get(), kFaxPageHeight - 1 - y);
    const int whole = w / 8;
    std::memcpy(dst, src, std::size_t(whole));
    if (w % 8) {
      const uint8_t mask = uint8_t(0xFF << (8 - w % 8));
      dst[whole] = uint8_t((src[whole] & mask) | (dst[whole] & ~mask));
    }
  }
  if (SaveBmp(page.get(), bitmapPath) <= 0) {
    QFile::remove(bitmapPath);
    return {};
  }
  const std::string fax = lw::faxtiff::ConvertBmpToFaxTiff(
      lw::faxtiff::kModeT6, QFile::encodeName(bitmapPath).toStdString());
  return QFile::decodeName(QByteArray::fromStdString(fax));
}
