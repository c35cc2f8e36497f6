#pragma once
// Test pictures for the fax encoder, BMP files made from them in either palette order, and
// libtiff as the independent decoder and reference encoder.

#include <cstdint>
#include <string>
#include <vector>

namespace faxtest {

// A bilevel picture, rows top-down, one byte per pixel: 1 black, 0 white.
struct Picture {
  uint32_t width = 0;
  uint32_t height = 0;
  std::vector<uint8_t> black;

  uint8_t At(uint32_t x, uint32_t y) const { return black[size_t(y) * width + x]; }
  void Set(uint32_t x, uint32_t y, uint8_t v) { black[size_t(y) * width + x] = v; }
};

Picture Blank(uint32_t width, uint32_t height, uint8_t colour);
Picture Noise(uint32_t width, uint32_t height, uint32_t seed, int blackPercent = 50);
// A page of text painted with QPainter (no antialiasing) on a 1-bit QImage.
Picture TextPage(uint32_t width, uint32_t height);
// Row y has a black run of length y starting at column (y * 7) % 13, so that every run
// length from 0 to height - 1 of both colours occurs (make-up and extended codes included).
Picture Staircase(uint32_t width, uint32_t height);

// The 62-byte-header BMP of `p`. With `firstEntryBlack` palette entry 0 is black (a set bit
// is white), otherwise palette entry 0 is white (a set bit is black).
std::vector<uint8_t> BmpBytes(const Picture& p, bool firstEntryBlack);
bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> ReadFile(const std::string& path);

// Decodes a TIFF with libtiff; an empty picture when libtiff refuses it.
Picture DecodeTiff(const std::string& path);
// libtiff's own Group 4 coding of `p` (FillOrder 2), the strip as stored in the file.
std::vector<uint8_t> LibtiffStrip(const Picture& p);

std::string TempPath(const std::string& name);

}  // namespace faxtest
