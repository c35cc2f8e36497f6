#include "document/PictureLoadHeader.h"

#include <FreeImage.h>
#include <QFile>

#include <algorithm>
#include <cstring>
#include <memory>

namespace lw::picture {
namespace {

struct Unloader {
  void operator()(FIBITMAP* dib) const { FreeImage_Unload(dib); }
};

quint16 Le16(const uchar* p) { return quint16(p[0] | (p[1] << 8)); }

// A GIF declares a logical screen and then a size for each frame; the decoder allocates the
// first frame. Walks the blocks up to the first image descriptor and returns the larger of
// the screen and that frame.
bool ReadGifSize(const QString& path, DeclaredSize* size) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  uchar head[13];
  if (file.read(reinterpret_cast<char*>(head), 13) != 13 || std::memcmp(head, "GIF8", 4) != 0)
    return false;
  long long w = Le16(head + 6), h = Le16(head + 8);
  if (head[10] & 0x80) file.skip(3LL << ((head[10] & 7) + 1));  // global colour table
  for (;;) {
    char introducer = 0;
    if (!file.getChar(&introducer)) return false;
    if (uchar(introducer) == 0x2C) {  // image descriptor: left, top, width, height
      uchar d[8];
      if (file.read(reinterpret_cast<char*>(d), 8) != 8) return false;
      // The decoder allocates the larger of the screen and the frame along each axis.
      w = std::max<long long>(w, Le16(d + 4));
      h = std::max<long long>(h, Le16(d + 6));
      size->width = w;
      size->height = h;
      size->bitsPerPixel = 8;
      return true;
    }
    if (uchar(introducer) != 0x21) return false;  // trailer or garbage: no frame
    char label = 0;
    if (!file.getChar(&label)) return false;
    for (;;) {  // data sub-blocks up to the empty one
      char length = 0;
      if (!file.getChar(&length)) return false;
      if (length == 0) break;
      if (file.skip(uchar(length)) != uchar(length)) return false;
    }
  }
}

}  // namespace

bool ReadDeclaredSize(const QString& path, int fif, DeclaredSize* size) {
  const QByteArray name = QFile::encodeName(path);
  const auto format = FREE_IMAGE_FORMAT(fif);
  if (format == FIF_GIF) return ReadGifSize(path, size);
  if (format == FIF_KOALA) {  // always 320 x 200
    size->width = 320;
    size->height = 200;
    size->bitsPerPixel = 8;
    return true;
  }
  // The other decoders that cannot load the header alone are not used.
  if (!FreeImage_FIFSupportsNoPixels(format)) return false;
  std::unique_ptr<FIBITMAP, Unloader> header(
      FreeImage_Load(format, name.constData(), FIF_LOAD_NOPIXELS));
  if (!header) return false;
  size->width = FreeImage_GetWidth(header.get());
  size->height = FreeImage_GetHeight(header.get());
  size->bitsPerPixel = int(FreeImage_GetBPP(header.get()));
  return true;
}

bool IsAcceptableSize(const DeclaredSize& size) {
  return size.width > 0 && size.height > 0 && size.width <= kMaxPicturePixels &&
         size.height <= kMaxPicturePixels && size.width * size.height <= kMaxPicturePixels &&
         size.bitsPerPixel >= 0 && size.bitsPerPixel <= 128 &&
         size.width * size.height * std::max(size.bitsPerPixel, 1) / 8 <= kMaxPictureBytes;
}

}  // namespace lw::picture
