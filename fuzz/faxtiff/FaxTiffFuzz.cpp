// Feeds the input to the BMP reader as a whole file and, separately, as the pixels of a
// small bitmap of a width taken from the input, so that the coder sees arbitrary pictures
// and not only those behind a valid header. Every TIFF the encoder makes must decode, with
// libtiff, to exactly the pixels of the bitmap; any difference aborts.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <tiffio.h>

#include "faxtiff/FaxTiff.h"

namespace fax = lw::faxtiff;

namespace {

struct MemTiff {
  const std::vector<uint8_t>* bytes;
  toff_t pos = 0;
};

tmsize_t MemRead(thandle_t h, void* buf, tmsize_t n) {
  auto* m = static_cast<MemTiff*>(h);
  const toff_t size = m->bytes->size();
  if (m->pos >= size) return 0;
  const tmsize_t k = static_cast<tmsize_t>(std::min<toff_t>(static_cast<toff_t>(n), size - m->pos));
  std::memcpy(buf, m->bytes->data() + m->pos, static_cast<size_t>(k));
  m->pos += static_cast<toff_t>(k);
  return k;
}
tmsize_t MemWrite(thandle_t, void*, tmsize_t) { return -1; }
toff_t MemSeek(thandle_t h, toff_t off, int whence) {
  auto* m = static_cast<MemTiff*>(h);
  m->pos = whence == SEEK_SET ? off : whence == SEEK_CUR ? m->pos + off : m->bytes->size() + off;
  return m->pos;
}
int MemClose(thandle_t) { return 0; }
toff_t MemSize(thandle_t h) { return static_cast<MemTiff*>(h)->bytes->size(); }
int MemMap(thandle_t, void**, toff_t*) { return 0; }
void MemUnmap(thandle_t, void*, toff_t) {}

// Encodes `request` in memory and checks the decoded pixels against its bitmap.
void EncodeAndCheck(fax::ConversionRequest request) {
  const uint32_t width = request.width, height = request.height;
  const uint32_t rowBytes = static_cast<uint32_t>(fax::BmpRowBytes(width));
  const std::vector<uint8_t> bits = request.bits;
  const uint8_t whiteBit = request.whiteByte & 1;
  fax::MemoryFile file;
  if (!fax::EncodeFaxTiff(request, file.Callbacks())) std::abort();

  MemTiff mem{&file.bytes};
  TIFF* tif = TIFFClientOpen("fax", "rm", &mem, MemRead, MemWrite, MemSeek, MemClose, MemSize,
                             MemMap, MemUnmap);
  if (!tif) std::abort();
  std::vector<uint8_t> line(static_cast<size_t>(TIFFScanlineSize(tif)));
  for (uint32_t y = 0; y < height; ++y) {
    if (TIFFReadScanline(tif, line.data(), y) < 0) std::abort();
    const uint8_t* src = bits.data() + static_cast<size_t>(height - 1 - y) * rowBytes;
    for (uint32_t x = 0; x < width; ++x) {
      const int decodedBlack = (line[x >> 3] >> (7 - (x & 7))) & 1;
      const int sourceBlack = ((src[x >> 3] >> (7 - (x & 7))) & 1) ^ whiteBit;
      if (decodedBlack != sourceBlack) std::abort();
    }
  }
  TIFFClose(tif);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool quiet = [] {
    TIFFSetErrorHandler(nullptr);
    TIFFSetWarningHandler(nullptr);
    return true;
  }();
  (void)quiet;

  // 1. The input as a BMP file.
  fax::ConversionRequest request;
  if (fax::LoadBitmapBytes(data, size, request)) {
    // Keep the decoding check affordable for large declared sizes.
    if (uint64_t(request.width) * request.height <= (1u << 22)) EncodeAndCheck(std::move(request));
  }

  // 2. The input as a picture: two bytes of width, one of palette order, then the rows.
  if (size >= 3) {
    fax::ConversionRequest picture;
    picture.width = 1 + ((data[0] | data[1] << 8) % 2700);
    picture.whiteByte = (data[2] & 1) ? 0xFF : 0x00;
    const size_t rowBytes = fax::BmpRowBytes(picture.width);
    picture.height = static_cast<uint32_t>((size - 3) / rowBytes);
    if (picture.height > 0) {
      picture.bits.assign(data + 3, data + 3 + picture.height * rowBytes);
      picture.bitsSize = static_cast<uint32_t>(picture.bits.size());
      EncodeAndCheck(std::move(picture));
    }
  }
  return 0;
}
