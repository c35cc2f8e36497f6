#include "FaxImages.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>

#include <tiffio.h>

#include "base/TempFiles.h"

namespace faxtest {

Picture Blank(uint32_t width, uint32_t height, uint8_t colour) {
  return {width, height, std::vector<uint8_t>(size_t(width) * height, colour)};
}

Picture Noise(uint32_t width, uint32_t height, uint32_t seed, int blackPercent) {
  Picture p = Blank(width, height, 0);
  std::mt19937 rng(seed);
  for (auto& px : p.black) px = int(rng() % 100) < blackPercent ? 1 : 0;
  return p;
}

Picture TextPage(uint32_t width, uint32_t height) {
  QImage img(int(width), int(height), QImage::Format_Mono);
  img.fill(Qt::white);
  {
    QPainter painter(&img);
    painter.setRenderHint(QPainter::Antialiasing, false);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(28);
    font.setStyleStrategy(QFont::NoAntialias);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const char* words[] = {
        "FAX",   "cover", "page", "To:",   "Company", "From:", "Subject", "the",
        "quick", "brown", "fox",  "jumps", "over",    "lazy",  "dog",     "12345"};
    int w = 0;
    for (int y = 60; y < int(height) - 40; y += 40) {
      QString line;
      for (int i = 0; i < 12; ++i) line += QString::fromLatin1(words[(w++ * 7) % 16]) + ' ';
      painter.drawText(40, y, line);
    }
    painter.drawRect(20, 20, int(width) - 41, int(height) - 41);
    painter.drawLine(20, 200, int(width) - 21, 260);
    painter.drawEllipse(QPoint(int(width) / 2, int(height) / 2), 300, 200);
  }
  Picture p = Blank(width, height, 0);
  for (uint32_t y = 0; y < height; ++y)
    for (uint32_t x = 0; x < width; ++x) p.Set(x, y, qGray(img.pixel(int(x), int(y))) < 128);
  return p;
}

Picture Staircase(uint32_t width, uint32_t height) {
  Picture p = Blank(width, height, 0);
  for (uint32_t y = 0; y < height; ++y) {
    uint32_t start = (y * 7) % 13;
    for (uint32_t x = start; x < start + y && x < width; ++x) p.Set(x, y, 1);
  }
  return p;
}

static void Put32(std::vector<uint8_t>& v, uint32_t x) {
  for (int i = 0; i < 4; ++i) v.push_back(uint8_t(x >> (8 * i)));
}
static void Put16(std::vector<uint8_t>& v, uint16_t x) {
  v.push_back(uint8_t(x));
  v.push_back(uint8_t(x >> 8));
}

std::vector<uint8_t> BmpBytes(const Picture& p, bool firstEntryBlack) {
  const uint32_t rowBytes = (p.width + 31) / 32 * 4;
  const uint32_t dataSize = rowBytes * p.height;
  std::vector<uint8_t> v;
  v.push_back('B');
  v.push_back('M');
  Put32(v, 62 + dataSize);
  Put32(v, 0);
  Put32(v, 62);
  Put32(v, 40);
  Put32(v, p.width);
  Put32(v, p.height);
  Put16(v, 1);
  Put16(v, 1);
  Put32(v, 0);
  Put32(v, dataSize);
  Put32(v, 7874);
  Put32(v, 7874);
  Put32(v, 2);
  Put32(v, 2);
  const uint8_t black[4] = {0, 0, 0, 0}, white[4] = {255, 255, 255, 0};
  v.insert(v.end(), firstEntryBlack ? black : white, (firstEntryBlack ? black : white) + 4);
  v.insert(v.end(), firstEntryBlack ? white : black, (firstEntryBlack ? white : black) + 4);
  // Padding bits get the value of black so that a coder that looks past the width notices.
  for (uint32_t r = p.height; r-- > 0;) {
    std::vector<uint8_t> row(rowBytes, firstEntryBlack ? 0x00 : 0xFF);
    for (uint32_t x = 0; x < p.width; ++x) {
      const bool bit = firstEntryBlack ? !p.At(x, r) : p.At(x, r);
      const uint8_t mask = uint8_t(0x80 >> (x & 7));
      row[x >> 3] = bit ? (row[x >> 3] | mask) : (row[x >> 3] & ~mask);
    }
    v.insert(v.end(), row.begin(), row.end());
  }
  return v;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  return bool(out);
}

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Picture DecodeTiff(const std::string& path) {
  TIFF* tif = TIFFOpen(path.c_str(), "r");
  if (!tif) return {};
  uint32_t w = 0, h = 0;
  uint16_t photometric = 0;
  TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &w);
  TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &h);
  TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric);
  Picture p = Blank(w, h, 0);
  std::vector<uint8_t> line(size_t(TIFFScanlineSize(tif)));
  for (uint32_t y = 0; y < h; ++y) {
    if (TIFFReadScanline(tif, line.data(), y) < 0) {
      TIFFClose(tif);
      return {};
    }
    for (uint32_t x = 0; x < w; ++x) {
      const int bit = (line[x >> 3] >> (7 - (x & 7))) & 1;
      p.Set(x, y, photometric == PHOTOMETRIC_MINISWHITE ? bit : !bit);
    }
  }
  TIFFClose(tif);
  return p;
}

std::vector<uint8_t> LibtiffStrip(const Picture& p) {
  const std::string path = TempPath("libtiff.tif");
  TIFF* tif = TIFFOpen(path.c_str(), "w");
  if (!tif) return {};
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, p.width);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, p.height);
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 1);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
  TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
  TIFFSetField(tif, TIFFTAG_FILLORDER, FILLORDER_LSB2MSB);
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, p.height);
  TIFFSetField(tif, TIFFTAG_GROUP4OPTIONS, 0);
  const size_t rowBytes = (p.width + 7) / 8;
  std::vector<uint8_t> raw(rowBytes * p.height, 0);
  for (uint32_t y = 0; y < p.height; ++y)
    for (uint32_t x = 0; x < p.width; ++x)
      if (p.At(x, y)) raw[y * rowBytes + (x >> 3)] |= uint8_t(0x80 >> (x & 7));
  const bool ok = TIFFWriteEncodedStrip(tif, 0, raw.data(), tmsize_t(raw.size())) >= 0;
  TIFFClose(tif);
  if (!ok) return {};
  tif = TIFFOpen(path.c_str(), "r");
  if (!tif) return {};
  // The strip exactly as stored (libtiff's raw reads may reverse the bit order).
  uint64_t* counts = nullptr;
  uint64_t* offsets = nullptr;
  TIFFGetField(tif, TIFFTAG_STRIPBYTECOUNTS, &counts);
  TIFFGetField(tif, TIFFTAG_STRIPOFFSETS, &offsets);
  std::vector<uint8_t> strip;
  if (counts && offsets) {
    const std::vector<uint8_t> file = ReadFile(path);
    if (offsets[0] + counts[0] <= file.size())
      strip.assign(file.begin() + std::ptrdiff_t(offsets[0]),
                   file.begin() + std::ptrdiff_t(offsets[0] + counts[0]));
  }
  TIFFClose(tif);
  std::remove(path.c_str());
  return strip;
}

std::string TempPath(const std::string& name) { return lw::PrivateTempDir() + "/" + name; }

}  // namespace faxtest
