#include "faxtiff/BitWriter.h"

#include <cstring>

namespace lw::faxtiff {

void BitWriter::BlockFilled() {
  const uint32_t spill = wordsWritten % kBufferWords;  // words stored past the block
  const uint32_t wordsAtEnd = wordsWritten;
  wordsWritten -= spill;
  WritePending();
  wordsWritten = wordsAtEnd;
  std::memcpy(buffer_, buffer_ + kBufferWords * 2, 4);
}

void BitWriter::WritePending() {
  const uint32_t pending = wordsWritten - wordsSent_;
  if (pending == 0) return;
  // Pending words always start at the beginning of the buffer: a block is sent whenever
  // the buffer fills, so at most one (possibly full) block is outstanding.
  const int64_t n = io_.write(io_.handle, buffer_, pending * 2);
  if (n != static_cast<int64_t>(pending) * 2) failed_ = true;
  wordsSent_ += pending;
}

void BitWriter::Flush() {
  // The partial word, its unused high bits zero, becomes the last word.
  if (bitCount != 0) PutBits(0, 16u - bitCount);
  WritePending();
}

}  // namespace lw::faxtiff
