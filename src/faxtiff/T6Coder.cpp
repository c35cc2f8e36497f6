#include "faxtiff/T6Coder.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "faxtiff/BmpLoader.h"

namespace lw::faxtiff {
namespace {

constexpr uint32_t kWhite = 0;

// 64 pixels from byte `byte` of a row, the first in the most significant bit; bytes from
// `end` on read as zero.
uint64_t LoadPixels(const uint8_t* row, uint32_t byte, uint32_t end) {
  uint64_t w = 0;
  if (end - byte >= 8) {
    std::memcpy(&w, row + byte, 8);
    if constexpr (std::endian::native == std::endian::little) w = __builtin_bswap64(w);
    return w;
  }
  for (uint32_t i = 0; byte + i < end; ++i)
    w |= static_cast<uint64_t>(row[byte + i]) << (56 - 8 * i);
  return w;
}

// Skips the whole 8-byte words from `byte` on that equal `fill` (eight bytes of one
// colour); returns the first byte of the first word that differs or is not whole.
uint32_t SkipFill(const uint8_t* row, uint32_t byte, uint32_t end, uint64_t fill) {
  for (; end - byte >= 32; byte += 32) {
    uint64_t q[4];
    std::memcpy(q, row + byte, 32);
    if (((q[0] ^ fill) | (q[1] ^ fill) | (q[2] ^ fill) | (q[3] ^ fill)) != 0) break;
  }
  for (; end - byte >= 8; byte += 8) {
    uint64_t q;
    std::memcpy(&q, row + byte, 8);
    if (q != fill) break;
  }
  return byte;
}

}  // namespace

T6Coder::T6Coder(uint32_t width, uint8_t whiteByte, BitWriter& out)
    : width(width),
      rowBytes(static_cast<uint32_t>(BmpRowBytes(width))),
      whiteByte(whiteByte),
      usedBytes_(static_cast<uint32_t>((static_cast<uint64_t>(width) + 7) / 8)),
      referenceRow(rowBytes, whiteByte),
      referenceBytes_(referenceRow.data()),
      out_(out) {
  // Room for the worst case, every pixel a changing element, plus the three ends. The
  // reference line starts as the all-white row: nothing but the ends.
  codingLine_.assign(static_cast<size_t>(width) + 3, width);
  referenceLine_.assign(static_cast<size_t>(width) + 3, width);
}

uint32_t T6Coder::ListChanges(const uint8_t* row, ChangeList& changes) const {
  uint32_t* const first = changes.data();
  uint32_t* out = first;
  // After the flip a black pixel is a 1 bit, whatever the palette order.
  const uint64_t flip = (whiteByte & 1u) ? ~uint64_t{0} : 0;
  uint64_t previous = 0;  // colour of the pixel before `byte`; before the first, white
  uint32_t byte = 0;
  while (byte < usedBytes_) {
    // Words all of the previous pixel's colour hold no changing element; on the blank
    // stretches of a page this is all the work there is.
    byte = SkipFill(row, byte, usedBytes_, flip ^ (0 - previous));
    if (byte >= usedBytes_) break;
    const uint64_t w = LoadPixels(row, byte, usedBytes_) ^ flip;
    // Bit 63 - k of `changed` is set when pixel byte * 8 + k differs from the one before.
    uint64_t changed = w ^ ((w >> 1) | (previous << 63));
    previous = w & 1;
    const uint64_t base = static_cast<uint64_t>(byte) * 8;
    if (base + 64 > width) changed &= ~uint64_t{0} << (base + 64 - width);  // padding bits
    while (changed) {
      const int k = std::countl_zero(changed);
      *out++ = static_cast<uint32_t>(base + static_cast<uint32_t>(k));
      changed &= ~(uint64_t{1} << (63 - k));
    }
    byte += 8;
  }
  out[0] = out[1] = out[2] = width;
  return static_cast<uint32_t>(out - first);
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

void T6Coder::CodeRow(const uint8_t* codingRow) {
  uint32_t count;
  if (std::memcmp(codingRow, referenceBytes_, usedBytes_) == 0) {
    // Same pixels as the row before (blank stretches, vertical strokes): same list.
    count = referenceCount_;
    std::copy_n(referenceLine_.data(), count + 3, codingLine_.data());
  } else {
    count = ListChanges(codingRow, codingLine_);
  }
  const uint32_t* const a = codingLine_.data();
  const uint32_t* const b = referenceLine_.data();

  // At the start a0 is the imaginary white element before pixel 0: every changing element
  // lies right of it, so a1 and b1 are the first ones of their lines. Afterwards `i` and
  // `j` index the first changing element right of a0 on the coding and reference line.
  uint32_t a0 = 0;
  uint32_t a0Colour = kWhite;
  size_t i = 0;
  size_t j = 0;
  for (;;) {
    const uint32_t a1 = a[i];
    // b1 must turn to the colour opposite a0's: to black at even indexes, to white at odd.
    const size_t k = j + ((j & 1) != a0Colour);
    const uint32_t b1 = b[k];
    const uint32_t b2 = b[k + 1];
    if (b2 < a1) {
      // Pass mode: the reference run b1..b2 ends before a1; a0 moves under b2, same colour.
      out_.Put(kPassTx);
      a0 = b2;
      j = k + 2;
    } else {
      const int64_t d = static_cast<int64_t>(a1) - static_cast<int64_t>(b1);
      if (static_cast<uint64_t>(d + 3) <= 6) {
        // Vertical mode: a1 is coded by its distance to b1.
        out_.Put(kVerticalTx[static_cast<size_t>(d + 3)]);
        a0 = a1;
        a0Colour ^= 1;
        i += 1;
      } else {
        // Horizontal mode: the runs a0..a1 and a1..a2, each in its own colour.
        const uint32_t a2 = a[i + 1];
        const RunCodes& first = a0Colour == kWhite ? kWhiteRunCodes : kBlackRunCodes;
        const RunCodes& second = a0Colour == kWhite ? kBlackRunCodes : kWhiteRunCodes;
        if (a1 - a0 < 64 && a2 - a1 < 64) {
          // Two short runs: the mode code and both terminating codes in one go (at most
          // 3 + 12 + 12 bits).
          const FaxCode t1 = first.terminating[a1 - a0];
          const FaxCode t2 = second.terminating[a2 - a1];
          out_.PutBits(kHorizontalTx.bits | uint32_t{t1.bits} << kHorizontalTx.length |
                           uint32_t{t2.bits} << (kHorizontalTx.length + t1.length),
                       kHorizontalTx.length + t1.length + t2.length);
        } else {
          out_.Put(kHorizontalTx);
          PutRun(a1 - a0, first);
          PutRun(a2 - a1, second);
        }
        a0 = a2;
        i += 2;
      }
    }
    if (a0 >= width) break;
    // The new a0 is a changing element of the coding line (vertical, horizontal) or lies
    // before a1 (pass), so `i` is already the first element right of it. On the reference
    // line the first element right of a0 is near b1 except after a long horizontal run.
    while (b[j] <= a0) ++j;
  }
  referenceLine_.swap(codingLine_);
  referenceCount_ = count;
  referenceBytes_ = codingRow;
}

void T6Coder::CodeBottomUpRows(const uint8_t* bits, uint32_t height) {
  linesLeft = height;
  const uint8_t* row = bits + static_cast<size_t>(height) * rowBytes;
  while (linesLeft > 0) {
    row -= rowBytes;
    CodeRow(row);
    --linesLeft;
  }
}

void T6Coder::PutEofb() {
  out_.Put(kEolTx);
  out_.Put(kEolTx);
}

}  // namespace lw::faxtiff
