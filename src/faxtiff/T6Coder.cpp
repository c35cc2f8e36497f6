#include "faxtiff/T6Coder.h"

#include <bit>
#include <cstring>

#include "faxtiff/BmpLoader.h"

namespace lw::faxtiff {

T6Coder::T6Coder(uint32_t width, uint8_t whiteByte, BitWriter& out)
    : width(width),
      rowBytes(static_cast<uint32_t>(BmpRowBytes(width))),
      whiteByte(whiteByte),
      whiteBit_(this->whiteByte & 1u),
      usedBytes_(static_cast<uint32_t>((static_cast<uint64_t>(width) + 7) / 8)),
      referenceRow(rowBytes, this->whiteByte),
      out_(out) {}

uint64_t T6Coder::Load64(const uint8_t* row, uint32_t byte) const {
  uint64_t w = 0;
  if (static_cast<uint64_t>(byte) + 8 <= rowBytes) {
    std::memcpy(&w, row + byte, 8);
    if constexpr (std::endian::native == std::endian::little) w = __builtin_bswap64(w);
    return w;
  }
  for (uint32_t i = 0; i < 8 && byte + i < rowBytes; ++i) w |= static_cast<uint64_t>(row[byte + i]) << (56 - 8 * i);
  return w;
}

uint32_t T6Coder::FindChange(const uint8_t* row, uint32_t from, uint32_t colour) const {
  if (from >= width) return width;
  // After the flip a pixel of `colour` reads as 0, so the answer is the first 1 bit.
  const uint64_t flip = (colour ^ whiteBit_) ? ~uint64_t{0} : 0;
  uint32_t byte = from >> 3;
  uint64_t w = (Load64(row, byte) ^ flip) & (~uint64_t{0} >> (from & 7));
  while (w == 0) {
    byte += 8;
    if (byte >= usedBytes_) return width;
    w = Load64(row, byte) ^ flip;
  }
  const uint64_t pos = static_cast<uint64_t>(byte) * 8 + static_cast<uint32_t>(std::countl_zero(w));
  return pos < width ? static_cast<uint32_t>(pos) : width;
}

void T6Coder::PutRun(uint32_t run, const RunCodes& codes) {
  while (run >= 2560) {
    out_.Put(codes.makeUp[2560 / 64]);
    run -= 2560;
  }
  if (run >= 64) {
    out_.Put(codes.makeUp[run / 64]);
    run %= 64;
  }
  out_.Put(codes.terminating[run]);
}

void T6Coder::CodeRow(const uint8_t* codingRow, const uint8_t* reference) {
  // a0 starts on the imaginary white element before pixel 0; the first a1 and b1 are then
  // simply the first black pixels of their lines.
  uint32_t a0 = 0;
  uint32_t a0Colour = kWhite;
  uint32_t a1 = ColourAt(codingRow, 0) == kBlack ? 0 : FindChange(codingRow, 0, kWhite);
  uint32_t b1 = ColourAt(reference, 0) == kBlack ? 0 : FindChange(reference, 0, kWhite);
  for (;;) {
    const uint32_t b2 = b1 < width ? FindChange(reference, b1, ColourAt(reference, b1)) : width;
    if (b2 < a1) {
      // Pass mode: the reference run b1..b2 ends before a1; a0 moves under b2, same colour.
      out_.Put(kPassTx);
      a0 = b2;
    } else {
      const int64_t d = static_cast<int64_t>(a1) - static_cast<int64_t>(b1);
      if (d >= -3 && d <= 3) {
        // Vertical mode: a1 is coded by its distance to b1.
        out_.Put(kVerticalTx[static_cast<size_t>(d + 3)]);
        a0 = a1;
        a0Colour ^= 1;
      } else {
        // Horizontal mode: the runs a0..a1 and a1..a2, each in its own colour.
        const uint32_t a2 = a1 < width ? FindChange(codingRow, a1, a0Colour ^ 1) : width;
        out_.Put(kHorizontalTx);
        PutRun(a1 - a0, a0Colour == kWhite ? kWhiteRunCodes : kBlackRunCodes);
        PutRun(a2 - a1, a0Colour == kWhite ? kBlackRunCodes : kWhiteRunCodes);
        a0 = a2;
      }
    }
    if (a0 >= width) break;
    a1 = FindChange(codingRow, a0, a0Colour);
    // b1: skip the reference pixels of a0's opposite colour that start at a0 (a changing
    // element there is not to the right of a0), then find the next change to that colour.
    b1 = FindChange(reference, FindChange(reference, a0, a0Colour ^ 1), a0Colour);
  }
}

void T6Coder::CodeBottomUpRows(const uint8_t* bits, uint32_t height) {
  linesLeft = height;
  const uint8_t* reference = referenceRow.data();
  const uint8_t* row = bits + static_cast<size_t>(height) * rowBytes;
  while (linesLeft > 0) {
    row -= rowBytes;
    CodeRow(row, reference);
    reference = row;
    --linesLeft;
  }
}

void T6Coder::PutEofb() {
  out_.Put(kEolTx);
  out_.Put(kEolTx);
}

}  // namespace lw::faxtiff
