#include "faxtiff/TiffContainer.h"

#include <array>

namespace lw::faxtiff {
namespace {

enum TiffType : uint16_t { kShort = 3, kLong = 4, kRational = 5 };

constexpr uint32_t kXResolutionOffset = kStripOffset - 16;  // 218
constexpr uint32_t kYResolutionOffset = kStripOffset - 8;   // 226
constexpr uint32_t kStripByteCountsEntry = 11;

struct Entry {
  uint16_t tag;
  uint16_t type;
  uint32_t count;
  uint32_t value;  // SHORT values sit in the low two bytes (little-endian)
};

void Put16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
void Put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

std::array<uint8_t, kDirectoryBytes> DirectoryBlock(uint32_t width, uint32_t height,
                                                    uint16_t resolution) {
  const Entry entries[kDirectoryEntries] = {
      {254, kLong, 1, 2},                       // NewSubfileType: one page of a document
      {256, kLong, 1, width},                   // ImageWidth
      {257, kLong, 1, height},                  // ImageLength
      {258, kShort, 1, 1},                      // BitsPerSample
      {259, kShort, 1, 4},                      // Compression: T.6
      {262, kShort, 1, 0},                      // PhotometricInterpretation: white is zero
      {266, kShort, 1, 2},                      // FillOrder: least significant bit first
      {273, kLong, 1, kStripOffset},            // StripOffsets
      {274, kShort, 1, 1},                      // Orientation: top-left
      {277, kShort, 1, 1},                      // SamplesPerPixel
      {278, kLong, 1, height},                  // RowsPerStrip
      {279, kLong, 1, 0},                       // StripByteCounts, set when coding ends
      {282, kRational, 1, kXResolutionOffset},  // XResolution
      {283, kRational, 1, kYResolutionOffset},  // YResolution
      {293, kLong, 1, 0},                       // T6Options
      {296, kShort, 1, 2},                      // ResolutionUnit: inch
      {297, kShort, 2, 0x00010000},             // PageNumber: page 0 of 1
  };
  std::array<uint8_t, kDirectoryBytes> block{};
  uint8_t* p = block.data();
  for (const Entry& e : entries) {
    Put16(p, e.tag);
    Put16(p + 2, e.type);
    Put32(p + 4, e.count);
    Put32(p + 8, e.value);
    p += 12;
  }
  Put32(p, 0);  // no next directory
  Put32(p + 4, resolution);
  Put32(p + 8, 1);
  Put32(p + 12, resolution);
  Put32(p + 16, 1);
  return block;
}

bool WriteAll(const FaxCallbacks& io, const uint8_t* bytes, uint32_t count) {
  return io.write(io.handle, bytes, count) == count;
}

}  // namespace

bool WriteTiffHeader(const FaxCallbacks& io, uint32_t width, uint32_t height, uint16_t resolution) {
  static_assert(kDirectoryBytes == 224 && kStripOffset == 234);
  const uint8_t header[kTiffHeaderBytes + 2] = {
      'I', 'I', '*', 0, kTiffHeaderBytes, 0, 0, 0, kDirectoryEntries, 0};
  const auto block = DirectoryBlock(width, height, resolution);
  return WriteAll(io, header, sizeof header) && WriteAll(io, block.data(), kDirectoryBytes);
}

bool SetStripByteCounts(const FaxCallbacks& io, uint32_t stripBytes) {
  std::array<uint8_t, kDirectoryBytes> block{};
  const int64_t back = static_cast<int64_t>(kDirectoryBytes) + stripBytes;
  if (io.seek(io.handle, -back, kSeekEnd) != kStripOffset - kDirectoryBytes) return false;
  if (io.read(io.handle, block.data(), kDirectoryBytes) != kDirectoryBytes) return false;
  Put32(block.data() + kStripByteCountsEntry * 12 + 8, stripBytes);
  if (io.seek(io.handle, -static_cast<int64_t>(kDirectoryBytes), kSeekCurrent) < 0) return false;
  return WriteAll(io, block.data(), kDirectoryBytes);
}

}  // namespace lw::faxtiff
