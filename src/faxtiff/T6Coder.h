#pragma once
// Two-dimensional coding of ITU-T T.6 (MMR) on packed 1-bit rows.
//
// Terms of the standard: on the coding line, a0 is the reference element (start: an
// imaginary white element before the first pixel), a1 the next changing element to the
// right of a0, a2 the next after a1; on the reference line (the previous row, or an
// all-white row for the first), b1 is the first changing element right of a0 of the
// colour opposite to a0's, b2 the next after b1. A changing element is a pixel whose
// colour differs from the pixel before it.

#include <cstdint>
#include <vector>

#include "faxtiff/BitWriter.h"
#include "faxtiff/FaxCodes.h"

namespace lw::faxtiff {

class T6Coder {
 public:
  // Rows are `width` pixels, most significant bit first in each byte, padded to 32 bits
  // (BMP rows). A pixel is white when its bit equals the low bit of `whiteByte`.
  T6Coder(uint32_t width, uint8_t whiteByte, BitWriter& out);

  // Codes `height` rows of a bottom-up BMP pixel buffer: the last row in memory first.
  // \pre `bits` holds at least rowBytes * height bytes.
  void CodeBottomUpRows(const uint8_t* bits, uint32_t height);

  // Codes one row against `referenceRow` (both rowBytes long).
  void CodeRow(const uint8_t* codingRow, const uint8_t* referenceRow);

  // End of facsimile block: two EOL codes.
  void PutEofb();

  uint32_t RowBytes() const { return rowBytes; }

 private:
  static constexpr uint32_t kWhite = 0;
  static constexpr uint32_t kBlack = 1;

  uint32_t ColourAt(const uint8_t* row, uint32_t x) const {
    return ((row[x >> 3] >> (7 - (x & 7))) & 1u) ^ whiteBit_;
  }
  // First pixel at or after `from` whose colour is not `colour`, or `width` if none.
  uint32_t FindChange(const uint8_t* row, uint32_t from, uint32_t colour) const;
  // 64 pixels from byte `byte` of a row, first pixel in the most significant bit; bytes past
  // the row's end read as zero (their pixels lie past `width` and never count).
  uint64_t Load64(const uint8_t* row, uint32_t byte) const;
  void PutRun(uint32_t run, const RunCodes& codes);

  uint32_t width;
  uint32_t linesLeft = 0;
  uint32_t rowBytes;
  uint8_t whiteByte;
  uint32_t whiteBit_;
  uint32_t usedBytes_;  // bytes of a row that hold pixels: (width + 7) / 8
  std::vector<uint8_t> referenceRow;  // the all-white row above the first row
  BitWriter& out_;
};

}  // namespace lw::faxtiff
