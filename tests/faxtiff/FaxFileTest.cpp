// The file around the strip: fixed header and directory, the tags a reader sees, the
// StripByteCounts rewrite, the temporary file, and what a failed write leaves behind.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include <tiffio.h>
#include <QByteArray>

#include "FaxImages.h"
#include "base/TempFiles.h"
#include "faxtiff/FaxTiff.h"
#include "faxtiff/TiffContainer.h"

using namespace faxtest;
namespace fax = lw::faxtiff;

namespace {

uint32_t U32(const std::vector<uint8_t>& f, size_t at) {
  return f[at] | f[at + 1] << 8 | f[at + 2] << 16 | uint32_t(f[at + 3]) << 24;
}
uint16_t U16(const std::vector<uint8_t>& f, size_t at) { return uint16_t(f[at] | f[at + 1] << 8); }

std::string ConvertPicture(const Picture& p, bool firstEntryBlack = true) {
  const std::string bmp = TempPath("page.bmp");
  WriteFile(bmp, BmpBytes(p, firstEntryBlack));
  std::string tiff = fax::ConvertBmpToFaxTiff(fax::kModeT6, bmp);
  std::remove(bmp.c_str());
  return tiff;
}

size_t FilesInTempFolder() {
  size_t n = 0;
  for (const auto& e : std::filesystem::directory_iterator(lw::PrivateTempDir()))
    n += e.is_regular_file();
  return n;
}

TEST(FaxFile, HeaderDirectoryAndStripSitAtFixedOffsets) {
  const std::string tiff = ConvertPicture(TextPage(1728, 2332));
  ASSERT_FALSE(tiff.empty()) << fax::LastErrorText();
  const std::vector<uint8_t> f = ReadFile(tiff);
  std::remove(tiff.c_str());
  ASSERT_GT(f.size(), 234u);
  EXPECT_EQ(std::string(f.begin(), f.begin() + 4), std::string("II*\0", 4));
  EXPECT_EQ(U32(f, 4), 8u);
  EXPECT_EQ(U16(f, 8), 17u);
  EXPECT_EQ(U32(f, 214), 0u) << "one directory only";
  EXPECT_EQ(U32(f, 218), 200u);
  EXPECT_EQ(U32(f, 222), 1u);
  EXPECT_EQ(U32(f, 226), 200u);
  EXPECT_EQ(U32(f, 230), 1u);

  // Entries in order: tag, type, count, value.
  const uint32_t stripBytes = uint32_t(f.size() - 234);
  const uint32_t expected[17][4] = {
      {254, 4, 1, 2},         {256, 4, 1, 1728}, {257, 4, 1, 2332}, {258, 3, 1, 1},
      {259, 3, 1, 4},         {262, 3, 1, 0},    {266, 3, 1, 2},    {273, 4, 1, 234},
      {274, 3, 1, 1},         {277, 3, 1, 1},    {278, 4, 1, 2332}, {279, 4, 1, stripBytes},
      {282, 5, 1, 218},       {283, 5, 1, 226},  {293, 4, 1, 0},    {296, 3, 1, 2},
      {297, 3, 2, 0x00010000}};
  for (int i = 0; i < 17; ++i) {
    const size_t at = 10 + 12 * size_t(i);
    SCOPED_TRACE("entry " + std::to_string(i));
    EXPECT_EQ(U16(f, at), expected[i][0]);
    EXPECT_EQ(U16(f, at + 2), expected[i][1]);
    EXPECT_EQ(U32(f, at + 4), expected[i][2]);
    EXPECT_EQ(U32(f, at + 8), expected[i][3]);
  }
  EXPECT_EQ(stripBytes % 2, 0u);
}

TEST(FaxFile, LibtiffReadsTheFaxTags) {
  const std::string tiff = ConvertPicture(Noise(1728, 50, 3, 10));
  ASSERT_FALSE(tiff.empty()) << fax::LastErrorText();
  TIFF* tif = TIFFOpen(tiff.c_str(), "r");
  ASSERT_NE(tif, nullptr);
  uint32_t u32 = 0;
  uint16_t u16 = 0, page = 9, pages = 9;
  float res = 0;
  EXPECT_TRUE(TIFFGetField(tif, TIFFTAG_SUBFILETYPE, &u32) && u32 == FILETYPE_PAGE);
  EXPECT_TRUE(TIFFGetField(tif, TIFFTAG_COMPRESSION, &u16) && u16 == COMPRESSION_CCITTFAX4);
  EXPECT_TRUE(TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &u16) && u16 == PHOTOMETRIC_MINISWHITE);
  EXPECT_TRUE(TIFFGetField(tif, TIFFTAG_FILLORDER, &u16) && u16 == FILLORDER_LSB2MSB);
  EXPECT_TRUE(TIFFGetField(tif, TIFFTAG_RESOLUTIONUNIT, &u16) && u16 == RESUNIT_INCH);
  EXPECT_TRUE(TIFFGetField(tif, TIFFTAG_XRESOLUTION, &res) && res == 200.0f);
  EXPECT_TRUE(TIFFGetField(tif, TIFFTAG_YRESOLUTION, &res) && res == 200.0f);
  EXPECT_TRUE(TIFFGetField(tif, TIFFTAG_GROUP4OPTIONS, &u32) && u32 == 0);
  EXPECT_TRUE(TIFFGetField(tif, TIFFTAG_PAGENUMBER, &page, &pages) && page == 0 && pages == 1);
  EXPECT_EQ(TIFFNumberOfStrips(tif), 1u);
  EXPECT_FALSE(TIFFReadDirectory(tif)) << "a single page";
  TIFFClose(tif);
  std::remove(tiff.c_str());
}

// Packs bits in transmission order, first bit in the least significant position, into
// bytes, padded with zeros to a whole 16-bit word.
std::vector<uint8_t> Pack(const std::string& bits) {
  std::vector<uint8_t> out((bits.size() + 15) / 16 * 2, 0);
  for (size_t i = 0; i < bits.size(); ++i)
    if (bits[i] == '1') out[i / 8] |= uint8_t(1u << (i % 8));
  return out;
}

TEST(FaxFile, AllWhitePageIsOneV0PerRowThenEofb) {
  const std::string tiff = ConvertPicture(Blank(1728, 2332, 0), false);
  ASSERT_FALSE(tiff.empty()) << fax::LastErrorText();
  const std::vector<uint8_t> f = ReadFile(tiff);
  std::remove(tiff.c_str());
  const std::string eol = "000000000001";
  const std::vector<uint8_t> expected = Pack(std::string(2332, '1') + eol + eol);
  EXPECT_TRUE(std::vector<uint8_t>(f.begin() + 234, f.end()) == expected);
}

TEST(FaxFile, TempFileHasFaxPrefixInThePrivateFolder) {
  const std::string tiff = ConvertPicture(Blank(8, 8, 0));
  ASSERT_FALSE(tiff.empty()) << fax::LastErrorText();
  const std::filesystem::path p(tiff);
  EXPECT_EQ(p.parent_path(), std::filesystem::path(lw::PrivateTempDir()));
  EXPECT_EQ(p.filename().string().rfind("fax", 0), 0u);
  EXPECT_EQ(p.extension(), ".tif");
  std::remove(tiff.c_str());
}

// A disk that fills up: the write callback fails once `room` bytes are written.
struct FullDisk {
  fax::MemoryFile file;
  size_t room;
  static int64_t Write(void* h, const void* bytes, uint32_t count) {
    auto* d = static_cast<FullDisk*>(h);
    if (d->file.position + count > d->room) return -1;
    auto cb = d->file.Callbacks();
    return cb.write(cb.handle, bytes, count);
  }
  static int64_t Read(void* h, void* bytes, uint32_t count) {
    auto cb = static_cast<FullDisk*>(h)->file.Callbacks();
    return cb.read(cb.handle, bytes, count);
  }
  static int64_t Seek(void* h, int64_t distance, int origin) {
    auto cb = static_cast<FullDisk*>(h)->file.Callbacks();
    return cb.seek(cb.handle, distance, origin);
  }
};

TEST(FaxFile, FailedWriteIsReportedNotTakenForSuccess) {
  for (size_t room : {size_t(100), size_t(234), size_t(234 + 2048), size_t(234 + 4096 + 10)}) {
    SCOPED_TRACE("room " + std::to_string(room));
    const std::vector<uint8_t> bmp = BmpBytes(Noise(1728, 40, 5), true);
    fax::ConversionRequest request;
    ASSERT_TRUE(fax::LoadBitmapBytes(bmp.data(), bmp.size(), request));
    FullDisk disk{{}, room};
    const fax::FaxCallbacks io{&disk, FullDisk::Write, FullDisk::Read, FullDisk::Seek};
    EXPECT_FALSE(fax::EncodeFaxTiff(request, io));
    EXPECT_EQ(fax::LastErrorText(), "Could not write fax file.");
    EXPECT_TRUE(request.bits.empty()) << "pixel data released";
  }
}

TEST(FaxFile, MemoryAndDiskCodingAreTheSame) {
  const Picture p = Noise(200, 30, 6);
  const std::vector<uint8_t> bmp = BmpBytes(p, false);
  fax::ConversionRequest request;
  ASSERT_TRUE(fax::LoadBitmapBytes(bmp.data(), bmp.size(), request));
  fax::MemoryFile memory;
  ASSERT_TRUE(fax::EncodeFaxTiff(request, memory.Callbacks()));
  const std::string tiff = ConvertPicture(p, false);
  EXPECT_TRUE(ReadFile(tiff) == memory.bytes);
  std::remove(tiff.c_str());
}

TEST(FaxFile, NoFileIsLeftBehindWhenTheBitmapIsRefused) {
  const size_t before = FilesInTempFolder();
  EXPECT_TRUE(fax::ConvertBmpToFaxTiff(fax::kModeT6, TempPath("missing.bmp")).empty());
  EXPECT_EQ(fax::LastErrorText(), "Could not open bitmap file.");
  EXPECT_EQ(FilesInTempFolder(), before);
}

TEST(FaxFile, UnknownCodingModeIsRefused) {
  const std::string bmp = TempPath("mode.bmp");
  WriteFile(bmp, BmpBytes(Blank(8, 8, 0), true));
  EXPECT_TRUE(fax::ConvertBmpToFaxTiff(2, bmp).empty());
  EXPECT_EQ(fax::LastErrorText(), "Unsupported coding mode.");
  std::remove(bmp.c_str());
}

TEST(FaxFile, NoTempFolderMeansNoTempFile) {
  const QByteArray saved = qgetenv("LW_TEMP_DIR");
  qputenv("LW_TEMP_DIR", "/proc/no-such-folder/leafwright");
  const std::string tiff = fax::ConvertBmpToFaxTiff(fax::kModeT6, "/dev/null");
  qputenv("LW_TEMP_DIR", saved);
  EXPECT_TRUE(tiff.empty());
  EXPECT_EQ(fax::LastErrorText(), "Could not create temp file.");
}

}  // namespace
