#pragma once
// Reads the one BMP layout the page renderer writes: a 14-byte file header, a 40-byte info
// header, two 4-byte palette entries, then the pixel data from byte 62 on, 1 bit per pixel,
// uncompressed, rows bottom-up and padded to 32 bits.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lw::faxtiff {

inline constexpr uint16_t kModeT6 = 1;  // T.6 (MMR), the only coding mode
inline constexpr uint32_t kBmpHeaderBytes = 62;
// Far above any page (a 1728 x 2332 page is about 0.5 MB); bounds what a file can make us
// allocate.
inline constexpr uint64_t kMaxBitmapFileBytes = 64ull << 20;
// Widest bitmap coded (a fax page is 1728 or 2332 pixels wide); bounds the coder's per-row
// lists of changing elements.
inline constexpr uint32_t kMaxBitmapWidth = 65535;

// One conversion's input, filled by LoadBitmapFile.
struct ConversionRequest {
  uint16_t mode = kModeT6;
  uint32_t width = 0;         // pixels per row
  uint32_t height = 0;        // rows
  uint32_t resolution = 200;  // dots per inch
  uint8_t whiteByte = 0;      // byte of eight white pixels: 0xFF when palette entry 0 is black
  std::vector<uint8_t> bits;  // the pixel data, owned; released after coding
  uint32_t bitsSize = 0;      // bytes of pixel data
};

// Bytes per BMP row: rows are padded to whole 32-bit words.
constexpr uint64_t BmpRowBytes(uint64_t width) { return (width + 31) / 32 * 4; }

// Reads the BMP at `path` into `request`. On failure returns false, sets the last-error text
// and leaves `request` without pixel data. Refused: files that are not the layout above,
// top-down bitmaps, files whose pixel data is shorter than height rows, files larger than
// kMaxBitmapFileBytes and bitmaps wider than kMaxBitmapWidth.
bool LoadBitmapFile(const std::string& path, ConversionRequest& request);

// The same from bytes already in memory (the whole file).
bool LoadBitmapBytes(const uint8_t* data, size_t size, ConversionRequest& request);

}  // namespace lw::faxtiff
