#include "faxtiff/FaxTiff.h"

#include <cstdio>
#include <memory>

#include <fcntl.h>
#include <unistd.h>

#include "base/TempFiles.h"
#include "faxtiff/BitWriter.h"
#include "faxtiff/T6Coder.h"
#include "faxtiff/TiffContainer.h"

namespace lw::faxtiff {

bool WriteFaxTiff(const ConversionRequest& request, const FaxCallbacks& io) {
  if (request.mode != kModeT6) {
    SetLastErrorText(kErrMode);
    return false;
  }
  if (request.width > kMaxBitmapWidth) {
    SetLastErrorText(kErrBitmapTooLarge);
    return false;
  }
  const uint64_t need = BmpRowBytes(request.width) * request.height;
  if (request.width == 0 || request.height == 0 || request.bitsSize > request.bits.size() ||
      need > request.bitsSize) {
    SetLastErrorText(kErrBitmapShort);
    return false;
  }

  // The coder state holds a 2 KB output buffer; keep it off the stack.
  auto writer = std::make_unique<BitWriter>(io);
  T6Coder coder(request.width, request.whiteByte, *writer);
  bool ok =
      WriteTiffHeader(io, request.width, request.height, static_cast<uint16_t>(request.resolution));
  if (ok) {
    coder.CodeBottomUpRows(request.bits.data(), request.height);
    coder.PutEofb();
    writer->Flush();
    ok = !writer->Failed() && SetStripByteCounts(io, 2 * writer->WordsWritten());
  }
  if (!ok) SetLastErrorText(kErrWrite);
  return ok;
}

bool EncodeFaxTiff(ConversionRequest& request, const FaxCallbacks& io) {
  const bool ok = WriteFaxTiff(request, io);
  request.bits = {};
  request.bitsSize = 0;
  return ok;
}

std::string ConvertBmpToFaxTiff(uint16_t mode, const std::string& bmpPath) {
  const std::string path = lw::MakeTempFile("fax", ".tif");
  int fd = path.empty() ? -1 : ::open(path.c_str(), O_RDWR | O_TRUNC | O_CLOEXEC);
  if (fd < 0) {
    if (!path.empty()) std::remove(path.c_str());
    SetLastErrorText(kErrTempFile);
    return {};
  }
  ConversionRequest request;
  bool ok = LoadBitmapFile(bmpPath, request);
  if (ok) {
    request.mode = mode;
    ok = EncodeFaxTiff(request, FileCallbacks(&fd));
  }
  if (::close(fd) != 0 && ok) {
    SetLastErrorText(kErrWrite);
    ok = false;
  }
  if (!ok) {
    std::remove(path.c_str());
    return {};
  }
  return path;
}

}  // namespace lw::faxtiff
