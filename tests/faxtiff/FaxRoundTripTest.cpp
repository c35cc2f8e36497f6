// Pictures coded by our encoder decode, with libtiff, to exactly the source pixels, in
// either palette order; and the coded strip is bit for bit the one libtiff's own Group 4
// coder makes (ours is padded to a whole 16-bit word, libtiff's to a byte).

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include "FaxImages.h"
#include "faxtiff/FaxTiff.h"
#include "faxtiff/TiffContainer.h"

using namespace faxtest;
namespace fax = lw::faxtiff;

namespace {

struct PictureCase {
  const char* name;
  std::function<Picture()> make;
};

Picture LongRuns() {
  // Runs of several times 2560 pixels, and runs just below and above the make-up limits.
  const uint32_t runs[] = {6000, 2559, 2560, 2561, 2623, 2624, 5119,
                           5120, 5184, 63,   64,   65,   1728, 1792};
  Picture p = Blank(8000, 2 * std::size(runs), 0);
  uint32_t y = 0;
  for (uint32_t run : runs) {
    for (uint32_t x = 0; x < run && x < p.width; ++x) p.Set(x, y, 1);  // black from 0
    for (uint32_t x = 1; x < run + 1 && x < p.width; ++x) p.Set(x, y + 1, x % 3000 == 0);  // white
    y += 2;
  }
  return p;
}

Picture VerticalEdges() {
  // Columns that shift left and right by 0-4 pixels per row: vertical modes VL3..VR3, pass
  // mode where a reference run ends before the coding run starts, and horizontal mode at 4.
  Picture p = Blank(300, 120, 0);
  for (uint32_t y = 0; y < p.height; ++y) {
    const int shift = int(y % 9) - 4;
    for (uint32_t x = 0; x < p.width; ++x) {
      const int phase = (int(x) + shift * int(y % 5) + 400) % 40;
      p.Set(x, y, (phase < 12) ^ (y % 17 == 0 && x % 50 < 3));
    }
  }
  return p;
}

const PictureCase kCases[] = {
    {"all_white_page", [] { return Blank(1728, 2332, 0); }},
    {"all_black_page", [] { return Blank(1728, 2332, 1); }},
    {"noise_on_a_page_width", [] { return Noise(1728, 300, 1); }},
    {"sparse_noise", [] { return Noise(1728, 300, 2, 3); }},
    {"dense_noise", [] { return Noise(1728, 100, 3, 97); }},
    {"rendered_text_page", [] { return TextPage(1728, 2332); }},
    {"every_run_length_to_2700", [] { return Staircase(2800, 2700); }},
    {"runs_beyond_2560", LongRuns},
    {"vertical_pass_and_horizontal_modes", VerticalEdges},
    {"width_1_noise", [] { return Noise(1, 50, 4); }},
    {"width_7_noise", [] { return Noise(7, 40, 5); }},
    {"width_9_noise", [] { return Noise(9, 40, 6); }},
    {"width_31_noise", [] { return Noise(31, 40, 7); }},
    {"width_33_noise", [] { return Noise(33, 40, 8); }},
    {"width_63_noise", [] { return Noise(63, 40, 9); }},
    {"width_65_noise", [] { return Noise(65, 40, 10); }},
    {"width_100_noise", [] { return Noise(100, 40, 11); }},
    {"width_1729_sparse", [] { return Noise(1729, 40, 12, 5); }},
    {"width_33_black", [] { return Blank(33, 5, 1); }},
    {"widest_accepted_width", [] { return Noise(65535, 4, 15, 1); }},
    {"one_row_noise", [] { return Noise(1728, 1, 13); }},
    {"one_row_black", [] { return Blank(1728, 1, 1); }},
    {"one_column_noise", [] { return Noise(1, 500, 14); }},
    {"one_column_black", [] { return Blank(1, 20, 1); }},
    {"single_white_pixel", [] { return Blank(1, 1, 0); }},
    {"single_black_pixel", [] { return Blank(1, 1, 1); }},
};

void PrintTo(const PictureCase& c, std::ostream* os) { *os << c.name; }

class FaxRoundTrip : public ::testing::TestWithParam<PictureCase> {};

// Our strip equals libtiff's, allowing only our padding to an even byte count.
::testing::AssertionResult SameCoding(const std::vector<uint8_t>& ours,
                                      const std::vector<uint8_t>& libtiff) {
  if (libtiff.empty()) return ::testing::AssertionFailure() << "libtiff made no strip";
  std::vector<uint8_t> expected = libtiff;
  if (expected.size() % 2) expected.push_back(0);
  if (ours == expected) return ::testing::AssertionSuccess();
  size_t i = 0;
  while (i < ours.size() && i < expected.size() && ours[i] == expected[i]) ++i;
  return ::testing::AssertionFailure() << "strips differ at byte " << i << " of " << ours.size()
                                       << " (libtiff " << libtiff.size() << ")";
}

TEST_P(FaxRoundTrip, DecodesToTheSourceAndCodesLikeLibtiff) {
  const Picture picture = GetParam().make();
  std::vector<uint8_t> firstFile;
  for (bool firstEntryBlack : {true, false}) {
    SCOPED_TRACE(firstEntryBlack ? "palette entry 0 black" : "palette entry 0 white");
    const std::string bmp = TempPath("source.bmp");
    ASSERT_TRUE(WriteFile(bmp, BmpBytes(picture, firstEntryBlack)));
    const std::string tiff = fax::ConvertBmpToFaxTiff(fax::kModeT6, bmp);
    ASSERT_FALSE(tiff.empty()) << fax::LastErrorText();

    const Picture decoded = DecodeTiff(tiff);
    ASSERT_EQ(decoded.width, picture.width);
    ASSERT_EQ(decoded.height, picture.height);
    EXPECT_TRUE(decoded.black == picture.black) << "decoded pixels differ from the source";

    const std::vector<uint8_t> file = ReadFile(tiff);
    ASSERT_GT(file.size(), fax::kStripOffset);
    const std::vector<uint8_t> strip(file.begin() + fax::kStripOffset, file.end());
    EXPECT_EQ(strip.size() % 2, 0u);
    if (firstFile.empty()) {
      EXPECT_TRUE(SameCoding(strip, LibtiffStrip(picture)));
      firstFile = file;
    } else {
      EXPECT_TRUE(file == firstFile) << "the two palette orders code differently";
    }
    std::remove(tiff.c_str());
    std::remove(bmp.c_str());
  }
}

INSTANTIATE_TEST_SUITE_P(Pictures, FaxRoundTrip, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
