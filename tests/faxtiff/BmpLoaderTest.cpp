// The BMP reader takes the one 62-byte-header 1-bit layout, as written by FreeImage and by
// Qt, and refuses everything else with a last-error text and without leaving a file.

#include <gtest/gtest.h>

#include <FreeImage.h>
#include <QImage>
#include <cstdio>
#include <cstring>
#include <functional>

#include "FaxImages.h"
#include "faxtiff/FaxTiff.h"

using namespace faxtest;
namespace fax = lw::faxtiff;

namespace {

void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
}

struct RefusalCase {
  const char* name;
  std::function<void(std::vector<uint8_t>&)> spoil;
  const char* error;
};

const char* const kLayout = fax::kErrBitmapLayout;
const char* const kShort = "Bitmap file holds less pixel data than its rows need.";

const RefusalCase kRefusals[] = {
    {"empty_file", [](auto& b) { b.clear(); }, kLayout},
    {"header_cut_short", [](auto& b) { b.resize(61); }, kLayout},
    {"not_bm", [](auto& b) { b[0] = 'P'; }, kLayout},
    {"info_header_v5", [](auto& b) { Put32(b, 14, 124); }, kLayout},
    {"pixel_data_elsewhere", [](auto& b) { Put32(b, 10, 66); }, kLayout},
    {"eight_bits_per_pixel", [](auto& b) { b[28] = 8; }, kLayout},
    {"two_planes", [](auto& b) { b[26] = 2; }, kLayout},
    {"rle_compressed", [](auto& b) { Put32(b, 30, 1); }, kLayout},
    {"sixteen_colours", [](auto& b) { Put32(b, 46, 16); }, kLayout},
    {"top_down", [](auto& b) { Put32(b, 22, uint32_t(-5)); }, kLayout},
    {"zero_width", [](auto& b) { Put32(b, 18, 0); }, kLayout},
    {"zero_height", [](auto& b) { Put32(b, 22, 0); }, kLayout},
    {"pixel_data_one_byte_short", [](auto& b) { b.pop_back(); }, kShort},
    {"no_pixel_data", [](auto& b) { b.resize(62); }, kShort},
    {"height_beyond_the_data", [](auto& b) { Put32(b, 22, 0x7FFFFFFF); }, kShort},
    {"width_beyond_the_data", [](auto& b) { Put32(b, 18, 60000); }, kShort},
    {"wider_than_any_fax_page",
     [](auto& b) {
       Put32(b, 18, 65536);
       b.resize(62 + 8192 * 10);
     },
     fax::kErrBitmapTooLarge},
    {"larger_than_any_page", [](auto& b) { b.resize(65 << 20); }, fax::kErrBitmapTooLarge},
};

class BmpRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(BmpRefusal, IsRefusedWithItsText) {
  std::vector<uint8_t> bytes = BmpBytes(Noise(40, 10, 1), true);
  GetParam().spoil(bytes);
  const std::string bmp = TempPath("bad.bmp");
  ASSERT_TRUE(WriteFile(bmp, bytes));
  EXPECT_TRUE(fax::ConvertBmpToFaxTiff(fax::kModeT6, bmp).empty());
  EXPECT_EQ(fax::LastErrorText(), GetParam().error);
  std::remove(bmp.c_str());

  fax::ConversionRequest request;
  EXPECT_FALSE(fax::LoadBitmapBytes(bytes.data(), bytes.size(), request));
  EXPECT_TRUE(request.bits.empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, BmpRefusal, ::testing::ValuesIn(kRefusals),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BmpLoader, ReadsSizesPaletteOrderAndPixelData) {
  for (bool firstEntryBlack : {true, false}) {
    const std::vector<uint8_t> bytes = BmpBytes(Noise(45, 7, 2), firstEntryBlack);
    fax::ConversionRequest r;
    ASSERT_TRUE(fax::LoadBitmapBytes(bytes.data(), bytes.size(), r));
    EXPECT_EQ(r.width, 45u);
    EXPECT_EQ(r.height, 7u);
    EXPECT_EQ(r.resolution, 200u);
    EXPECT_EQ(r.whiteByte, firstEntryBlack ? 0xFF : 0x00);
    EXPECT_EQ(r.bitsSize, 8u * 7u);
    EXPECT_TRUE(std::equal(r.bits.begin(), r.bits.end(), bytes.begin() + 62));
  }
}

// Bytes after the last row do not shift the picture: the top row is found from the height.
TEST(BmpLoader, TrailingBytesAfterTheRowsAreIgnored) {
  const Picture p = Noise(50, 9, 3);
  std::vector<uint8_t> bytes = BmpBytes(p, false);
  bytes.insert(bytes.end(), {0xAA, 0x55, 0xAA, 0x55, 0xFF, 0xFF, 0xFF, 0xFF});
  const std::string bmp = TempPath("trailing.bmp");
  WriteFile(bmp, bytes);
  const std::string tiff = fax::ConvertBmpToFaxTiff(fax::kModeT6, bmp);
  ASSERT_FALSE(tiff.empty()) << fax::LastErrorText();
  EXPECT_TRUE(DecodeTiff(tiff).black == p.black);
  std::remove(tiff.c_str());
  std::remove(bmp.c_str());
}

// The page renderer may write its BMP with Qt or with FreeImage; both must be accepted.
TEST(BmpLoader, AcceptsBitmapsSavedByQtAndFreeImage) {
  const Picture page = TextPage(301, 97);
  QImage mono(301, 97, QImage::Format_Mono);
  mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  for (uint32_t y = 0; y < page.height; ++y)
    for (uint32_t x = 0; x < page.width; ++x) mono.setPixel(int(x), int(y), page.At(x, y) ? 0 : 1);

  const std::string qtBmp = TempPath("qt.bmp");
  ASSERT_TRUE(mono.save(QString::fromStdString(qtBmp), "BMP"));

  const std::string fiBmp = TempPath("freeimage.bmp");
  FIBITMAP* dib = FreeImage_Allocate(int(page.width), int(page.height), 1);
  ASSERT_NE(dib, nullptr);
  RGBQUAD* pal = FreeImage_GetPalette(dib);
  pal[0] = {255, 255, 255, 0};  // entry 0 white this time
  pal[1] = {0, 0, 0, 0};
  for (uint32_t y = 0; y < page.height; ++y) {
    BYTE* line = FreeImage_GetScanLine(dib, int(page.height - 1 - y));  // bottom-up
    for (uint32_t x = 0; x < page.width; ++x)
      if (page.At(x, y)) line[x >> 3] |= BYTE(0x80 >> (x & 7));
  }
  ASSERT_TRUE(FreeImage_Save(FIF_BMP, dib, fiBmp.c_str(), BMP_DEFAULT));
  FreeImage_Unload(dib);

  for (const std::string& bmp : {qtBmp, fiBmp}) {
    SCOPED_TRACE(bmp);
    const std::string tiff = fax::ConvertBmpToFaxTiff(fax::kModeT6, bmp);
    ASSERT_FALSE(tiff.empty()) << fax::LastErrorText();
    EXPECT_TRUE(DecodeTiff(tiff).black == page.black);
    std::remove(tiff.c_str());
    std::remove(bmp.c_str());
  }
}

}  // namespace
