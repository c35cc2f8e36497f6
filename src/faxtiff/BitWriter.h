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

  // \pre `code` is in transmission order (see FaxCodes.h) and bitCount < 16, which holds
  // between calls since every code is at most 13 bits long.
  void Put(FaxCode code) {
    accumulator |= static_cast<uint32_t>(code.bits) << bitCount;
    bitCount = static_cast<uint16_t>(bitCount + code.length);
    if (bitCount >= 16) StoreWord();
  }

  // Stores a last partial word (its unused high bits zero) when bits are pending, then
  // writes every stored word not yet written. The output is always a whole number of words.
  void Flush();

  uint32_t WordsWritten() const { return wordsWritten; }
  // True once a write callback has failed or written short.
  bool Failed() const { return failed_; }

 private:
  void StoreWord() {
    const uint32_t slot = (wordsWritten % kBufferWords) * 2;
    buffer_[slot] = static_cast<uint8_t>(accumulator);
    buffer_[slot + 1] = static_cast<uint8_t>(accumulator >> 8);
    ++wordsWritten;
    accumulator >>= 16;
    bitCount = static_cast<uint16_t>(bitCount - 16);
    if (wordsWritten % kBufferWords == 0) WritePending();
  }
  void WritePending();

  const FaxCallbacks io_;
  uint32_t accumulator = 0;
  uint16_t bitCount = 0;
  uint32_t wordsWritten = 0;
  uint32_t wordsSent_ = 0;  // words already handed to the write callback
  bool failed_ = false;
  uint8_t buffer_[kBufferWords * 2] = {};
};

}  // namespace lw::faxtiff
