#include "faxtiff/BmpLoader.h"

#include <cerrno>
#include <cstring>
#include <new>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "faxtiff/LastError.h"

namespace lw::faxtiff {
namespace {

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t U32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// Checks the 62 header bytes against the accepted layout and a file of `fileSize` bytes, and
// fills the request's size and colour fields. Sets the last-error text on refusal.
bool ReadHeader(const uint8_t* h, uint64_t fileSize, ConversionRequest& request) {
  if (fileSize > kMaxBitmapFileBytes) {
    SetLastErrorText(kErrBitmapTooLarge);
    return false;
  }
  // File header: "BM", file size, two reserved words, offset of the pixel data.
  // Info header: size 40, width, height (positive: bottom-up), planes 1, 1 bit per pixel,
  // no compression, image size, two resolutions, colours used (0 means two), colours important.
  const int32_t width = static_cast<int32_t>(U32(h + 18));
  const int32_t height = static_cast<int32_t>(U32(h + 22));
  const uint32_t colorsUsed = U32(h + 46);
  const bool layoutOk = fileSize >= kBmpHeaderBytes && h[0] == 'B' && h[1] == 'M' &&
                        U32(h + 10) == kBmpHeaderBytes && U32(h + 14) == 40 && width > 0 &&
                        height > 0 && U16(h + 26) == 1 && U16(h + 28) == 1 && U32(h + 30) == 0 &&
                        (colorsUsed == 0 || colorsUsed == 2);
  if (!layoutOk) {
    SetLastErrorText(kErrBitmapLayout);
    return false;
  }
  if (static_cast<uint32_t>(width) > kMaxBitmapWidth) {
    SetLastErrorText(kErrBitmapTooLarge);
    return false;
  }
  const uint64_t dataSize = fileSize - kBmpHeaderBytes;
  if (BmpRowBytes(static_cast<uint32_t>(width)) * static_cast<uint32_t>(height) > dataSize) {
    SetLastErrorText(kErrBitmapShort);
    return false;
  }
  request.width = static_cast<uint32_t>(width);
  request.height = static_cast<uint32_t>(height);
  // Palette entry 0 (blue, green, red, reserved) at byte 54: when it is black, a set bit is
  // white and eight white pixels make 0xFF.
  const bool firstEntryBlack = h[54] == 0 && h[55] == 0 && h[56] == 0;
  request.whiteByte = firstEntryBlack ? 0xFF : 0x00;
  request.bitsSize = static_cast<uint32_t>(dataSize);
  return true;
}

bool AllocateBits(ConversionRequest& request) {
  try {
    request.bits.resize(request.bitsSize);
  } catch (const std::bad_alloc&) {
    request.bits = {};
    request.bitsSize = 0;
    SetLastErrorText(kErrAllocBitmap);
    return false;
  }
  return true;
}

struct Fd {
  int fd = -1;
  ~Fd() {
    if (fd >= 0) ::close(fd);
  }
};

bool ReadFully(int fd, uint8_t* p, size_t n) {
  while (n > 0) {
    ssize_t got = ::read(fd, p, n);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    p += got;
    n -= static_cast<size_t>(got);
  }
  return true;
}

}  // namespace

bool LoadBitmapBytes(const uint8_t* data, size_t size, ConversionRequest& request) {
  request.bits = {};
  request.bitsSize = 0;
  uint8_t header[kBmpHeaderBytes] = {};
  if (size) std::memcpy(header, data, size < kBmpHeaderBytes ? size : kBmpHeaderBytes);
  if (!ReadHeader(header, size, request) || !AllocateBits(request)) return false;
  if (request.bitsSize) std::memcpy(request.bits.data(), data + kBmpHeaderBytes, request.bitsSize);
  return true;
}

bool LoadBitmapFile(const std::string& path, ConversionRequest& request) {
  request.bits = {};
  request.bitsSize = 0;
  Fd file;
  file.fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat st {};
  if (file.fd < 0 || ::fstat(file.fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    SetLastErrorText(kErrOpenBitmap);
    return false;
  }
  const uint64_t fileSize = static_cast<uint64_t>(st.st_size);
  uint8_t header[kBmpHeaderBytes] = {};
  if (fileSize >= kBmpHeaderBytes && !ReadFully(file.fd, header, kBmpHeaderBytes)) {
    SetLastErrorText(kErrOpenBitmap);
    return false;
  }
  if (!ReadHeader(header, fileSize, request) || !AllocateBits(request)) return false;
  if (!ReadFully(file.fd, request.bits.data(), request.bitsSize)) {
    request.bits = {};
    request.bitsSize = 0;
    SetLastErrorText(kErrOpenBitmap);
    return false;
  }
  return true;
}

}  // namespace lw::faxtiff
