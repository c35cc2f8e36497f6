#pragma once
// Two-dimensional coding of ITU-T T.6 (MMR) on packed 1-bit rows.
//
// Terms of the standard: a changing element is a pixel whose colour differs from the pixel
// before it (the pixel before the first is white). On the coding line, a0 is the reference
// element (at the start an imaginary white element before the first pixel), a1 the next
// changing element to the right of a0, a2 the next after a1; on the reference line (the
// previous row, or an all-white row for the first), b1 is the first changing element to
// the right of a0 whose colour is opposite to a0's, b2 the next changing element after b1.
//
// Each row is scanned once, 64 pixels at a time, into the list of its changing elements
// (a row equal to the one before simply takes over its list); the coder then walks the
// lists of the coding line and of the reference line (kept from the row before), so no
// pixel is looked at twice.

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

  // Codes `height` rows of a bottom-up BMP pixel buffer: the last row in memory first,
  // each against the row coded before it (the first against an all-white row).
  // \pre `bits` holds at least RowBytes() * height bytes.
  void CodeBottomUpRows(const uint8_t* bits, uint32_t height);

  // End of facsimile block: two EOL codes.
  void PutEofb();

  uint32_t RowBytes() const { return rowBytes; }

 private:
  // Changing elements of a row in increasing order, followed by `width` three times (so that
  // b1, b2 and a2 past the last change read as the row's end). Both lists are allocated
  // once for the worst case, width + 3 entries. Elements at even indexes
  // turn the colour to black, those at odd indexes back to white.
  using ChangeList = std::vector<uint32_t>;
  // Fills `changes` and returns the number of changing elements (the ends not counted).
  uint32_t ListChanges(const uint8_t* row, ChangeList& changes) const;
  // Codes one row against the row coded before it (an all-white row at first).
  // \pre the previous row's bytes are still valid.
  void CodeRow(const uint8_t* codingRow);
  void PutRun(uint32_t run, const RunCodes& codes);

  uint32_t width;
  uint32_t linesLeft = 0;
  uint32_t rowBytes;
  uint8_t whiteByte;
  uint32_t usedBytes_;                // bytes of a row that hold pixels: (width + 7) / 8
  std::vector<uint8_t> referenceRow;  // the all-white row above the first row
  const uint8_t* referenceBytes_;     // the row coded last, or referenceRow
  ChangeList codingLine_;
  ChangeList referenceLine_;  // starts as the all-white row: no changing element
  uint32_t referenceCount_ = 0;
  BitWriter& out_;
};

}  // namespace lw::faxtiff
