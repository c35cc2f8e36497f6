#include "faxtiff/BitWriter.h"

namespace lw::faxtiff {

void BitWriter::WritePending() {
  const uint32_t pending = wordsWritten - wordsSent_;
  if (pending == 0) return;
  // Pending words always start at the beginning of the buffer: a block is sent whenever
  // the buffer fills, so at most one (possibly full) block is outstanding.
  const int64_t n = io_.write(io_.handle, buffer_, pending * 2);
  if (n != static_cast<int64_t>(pending) * 2) failed_ = true;
  wordsSent_ = wordsWritten;
}

void BitWriter::Flush() {
  if (bitCount != 0) {
    // Pad the partial word with zero bits up to 16.
    bitCount = 16;
    StoreWord();
  }
  WritePending();
}

}  // namespace lw::faxtiff
