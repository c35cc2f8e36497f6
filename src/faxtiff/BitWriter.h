#pragma once
// Packs code words into 16-bit little-endian words, first transmitted bit in the least
// significant position (TIFF FillOrder 2), and hands them to the write callback in blocks
// of 1024 words (2048 bytes).

#include <cstdint>

#include "faxtiff/FaxCallbacks.h"
#include "faxtiff/FaxCodes.h"

namespace lw::faxtiff {

class BitWriter {
 public:
  static constexpr uint32_t kBufferWords = 1024;

  explicit BitWriter(const FaxCallbacks& io) : io_(io) {}
  BitWriter(const BitWriter&) = delete;
  BitWriter& operator=(const BitWriter&) = delete;

  // \pre `code` is in transmission order (see FaxCodes.h).
  void Put(FaxCode code) { PutBits(code.bits, code.length); }

  // Appends `length` (at most 32) bits, the first to transmit in the least significant
  // position; several codes may go in one call.
  void PutBits(uint32_t bits, uint32_t length) {
    // bitCount is below 16 between calls, so up to 47 bits are held here.
    accumulator |= static_cast<uint64_t>(bits) << bitCount;
    bitCount = static_cast<uint16_t>(bitCount + length);
    // Store the low 32 bits every time and count as words only those that are full: no
    // branch on whether a word is complete, which is unpredictable on busy pages.
    const uint32_t slot = (wordsWritten % kBufferWords) * 2;
    for (int i = 0; i < 4; ++i) buffer_[slot + i] = static_cast<uint8_t>(accumulator >> (8 * i));
    const uint32_t full = bitCount >> 4;  // whole words held: 0, 1 or 2
    wordsWritten += full;
    accumulator >>= 16 * full;
    bitCount = static_cast<uint16_t>(bitCount - 16 * full);
    if (wordsWritten % kBufferWords < full) BlockFilled();
  }

  // Stores a last partial word (its unused high bits zero) when bits are pending, then
  // writes every stored word not yet written. The output is always a whole number of words.
  void Flush();

  uint32_t WordsWritten() const { return wordsWritten; }
  // True once a write callback has failed or written short.
  bool Failed() const { return failed_; }

 private:
  // Writes the 1024 words of a full buffer and moves a word stored past its end to the
  // start.
  void BlockFilled();
  void WritePending();

  const FaxCallbacks io_;
  uint64_t accumulator = 0;
  uint16_t bitCount = 0;
  uint32_t wordsWritten = 0;
  uint32_t wordsSent_ = 0;  // words already handed to the write callback
  bool failed_ = false;
  // One block and room for the two words a call may store past its end.
  uint8_t buffer_[kBufferWords * 2 + 4] = {};
};

}  // namespace lw::faxtiff
