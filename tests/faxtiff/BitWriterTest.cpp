// The bit writer's packing order and its block and flush rule: output goes out in blocks of
// 1024 words, and the last (partial) word always reaches the file, also when it completes a
// block.

#include <gtest/gtest.h>

#include "faxtiff/BitWriter.h"

namespace fax = lw::faxtiff;

namespace {

struct Recorder {
  std::vector<uint8_t> bytes;
  std::vector<uint32_t> writes;  // size of each write call
  static int64_t Write(void* h, const void* data, uint32_t count) {
    auto* r = static_cast<Recorder*>(h);
    r->writes.push_back(count);
    r->bytes.insert(r->bytes.end(), static_cast<const uint8_t*>(data),
                    static_cast<const uint8_t*>(data) + count);
    return count;
  }
  fax::FaxCallbacks Callbacks() { return {this, Write, nullptr, nullptr}; }
};

TEST(BitWriter, FirstBitGoesToTheLeastSignificantPositionOfLittleEndianWords) {
  Recorder rec;
  fax::BitWriter w(rec.Callbacks());
  w.Put(fax::kVerticalTx[3]);  // V0: 1
  w.Put(fax::kVerticalTx[4]);  // VR1: 011
  w.Put(fax::kEolTx);          // 0000 0000 0001
  w.Flush();
  // Bits in order: 1 011 000000000001 -> bit 0 = 1, bits 2, 3 = 1, bit 15 = 1.
  EXPECT_EQ(rec.bytes, (std::vector<uint8_t>{0x0D, 0x80}));
  EXPECT_EQ(w.WordsWritten(), 1u);
}

struct FlushCase {
  const char* name;
  uint32_t bits;                 // bits put before the flush
  std::vector<uint32_t> writes;  // expected write calls
};

class BitWriterFlush : public ::testing::TestWithParam<FlushCase> {};

TEST_P(BitWriterFlush, WritesEveryWordOnceInBlocks) {
  const FlushCase& c = GetParam();
  Recorder rec;
  fax::BitWriter w(rec.Callbacks());
  for (uint32_t i = 0; i < c.bits / 4; ++i) w.Put(fax::kPassTx);  // 0001
  for (uint32_t i = 0; i < c.bits % 4; ++i) w.Put(fax::kVerticalTx[3]);
  w.Flush();
  EXPECT_EQ(rec.writes, c.writes);
  EXPECT_EQ(w.WordsWritten(), (c.bits + 15) / 16);
  EXPECT_EQ(rec.bytes.size(), 2 * size_t(w.WordsWritten()));
  EXPECT_FALSE(w.Failed());
}

const FlushCase kFlushCases[] = {
    {"nothing", 0, {}},
    {"one_bit", 1, {2}},
    {"one_whole_word", 16, {2}},
    {"partial_word_completes_the_block", 1023 * 16 + 5, {2048}},
    {"exactly_one_block", 1024 * 16, {2048}},
    {"one_bit_past_a_block", 1024 * 16 + 1, {2048, 2}},
    {"two_blocks_and_a_half", 2560 * 16 + 7, {2048, 2048, 1026}},
};

INSTANTIATE_TEST_SUITE_P(Cases, BitWriterFlush, ::testing::ValuesIn(kFlushCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BitWriter, FailedWriteIsRemembered) {
  fax::FaxCallbacks io{nullptr, [](void*, const void*, uint32_t) -> int64_t { return -1; }, nullptr,
                       nullptr};
  fax::BitWriter w(io);
  w.Put(fax::kEolTx);
  EXPECT_FALSE(w.Failed());
  w.Flush();
  EXPECT_TRUE(w.Failed());
}

}  // namespace
