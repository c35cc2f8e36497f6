#pragma once
// The code words of ITU-T T.4 and T.6 for two-dimensional (MMR) coding.
//
// The tables below are written as the standard prints them: `bits` holds the code with its
// first transmitted bit as the most significant of `length` bits, and each entry carries
// the bit string as a comment. The bit writer wants the opposite order (first transmitted
// bit in the least significant position), so the coder uses the reversed copies at the end,
// computed at compile time.

#include <array>
#include <cstddef>
#include <cstdint>

namespace lw::faxtiff {

struct FaxCode {
  uint8_t length;  // bits in the code, 1..13
  uint16_t bits;   // the code; meaning of the bit order depends on the table (see above)
};

// clang-format off
// White runs 0-63.
inline constexpr FaxCode kWhiteTerminating[64] = {
    {8, 0x35},  /* 0011 0101        */  // 0
    {6, 0x07},  /* 0001 11          */  // 1
    {4, 0x07},  /* 0111             */  // 2
    {4, 0x08},  /* 1000             */  // 3
    {4, 0x0B},  /* 1011             */  // 4
    {4, 0x0C},  /* 1100             */  // 5
    {4, 0x0E},  /* 1110             */  // 6
    {4, 0x0F},  /* 1111             */  // 7
    {5, 0x13},  /* 1001 1           */  // 8
    {5, 0x14},  /* 1010 0           */  // 9
    {5, 0x07},  /* 0011 1           */  // 10
    {5, 0x08},  /* 0100 0           */  // 11
    {6, 0x08},  /* 0010 00          */  // 12
    {6, 0x03},  /* 0000 11          */  // 13
    {6, 0x34},  /* 1101 00          */  // 14
    {6, 0x35},  /* 1101 01          */  // 15
    {6, 0x2A},  /* 1010 10          */  // 16
    {6, 0x2B},  /* 1010 11          */  // 17
    {7, 0x27},  /* 0100 111         */  // 18
    {7, 0x0C},  /* 0001 100         */  // 19
    {7, 0x08},  /* 0001 000         */  // 20
    {7, 0x17},  /* 0010 111         */  // 21
    {7, 0x03},  /* 0000 011         */  // 22
    {7, 0x04},  /* 0000 100         */  // 23
    {7, 0x28},  /* 0101 000         */  // 24
    {7, 0x2B},  /* 0101 011         */  // 25
    {7, 0x13},  /* 0010 011         */  // 26
    {7, 0x24},  /* 0100 100         */  // 27
    {7, 0x18},  /* 0011 000         */  // 28
    {8, 0x02},  /* 0000 0010        */  // 29
    {8, 0x03},  /* 0000 0011        */  // 30
    {8, 0x1A},  /* 0001 1010        */  // 31
    {8, 0x1B},  /* 0001 1011        */  // 32
    {8, 0x12},  /* 0001 0010        */  // 33
    {8, 0x13},  /* 0001 0011        */  // 34
    {8, 0x14},  /* 0001 0100        */  // 35
    {8, 0x15},  /* 0001 0101        */  // 36
    {8, 0x16},  /* 0001 0110        */  // 37
    {8, 0x17},  /* 0001 0111        */  // 38
    {8, 0x28},  /* 0010 1000        */  // 39
    {8, 0x29},  /* 0010 1001        */  // 40
    {8, 0x2A},  /* 0010 1010        */  // 41
    {8, 0x2B},  /* 0010 1011        */  // 42
    {8, 0x2C},  /* 0010 1100        */  // 43
    {8, 0x2D},  /* 0010 1101        */  // 44
    {8, 0x04},  /* 0000 0100        */  // 45
    {8, 0x05},  /* 0000 0101        */  // 46
    {8, 0x0A},  /* 0000 1010        */  // 47
    {8, 0x0B},  /* 0000 1011        */  // 48
    {8, 0x52},  /* 0101 0010        */  // 49
    {8, 0x53},  /* 0101 0011        */  // 50
    {8, 0x54},  /* 0101 0100        */  // 51
    {8, 0x55},  /* 0101 0101        */  // 52
    {8, 0x24},  /* 0010 0100        */  // 53
    {8, 0x25},  /* 0010 0101        */  // 54
    {8, 0x58},  /* 0101 1000        */  // 55
    {8, 0x59},  /* 0101 1001        */  // 56
    {8, 0x5A},  /* 0101 1010        */  // 57
    {8, 0x5B},  /* 0101 1011        */  // 58
    {8, 0x4A},  /* 0100 1010        */  // 59
    {8, 0x4B},  /* 0100 1011        */  // 60
    {8, 0x32},  /* 0011 0010        */  // 61
    {8, 0x33},  /* 0011 0011        */  // 62
    {8, 0x34},  /* 0011 0100        */  // 63
};

// White runs 64-1728, multiples of 64.
inline constexpr FaxCode kWhiteMakeUp[27] = {
    {5, 0x1B},  /* 1101 1           */  // 64
    {5, 0x12},  /* 1001 0           */  // 128
    {6, 0x17},  /* 0101 11          */  // 192
    {7, 0x37},  /* 0110 111         */  // 256
    {8, 0x36},  /* 0011 0110        */  // 320
    {8, 0x37},  /* 0011 0111        */  // 384
    {8, 0x64},  /* 0110 0100        */  // 448
    {8, 0x65},  /* 0110 0101        */  // 512
    {8, 0x68},  /* 0110 1000        */  // 576
    {8, 0x67},  /* 0110 0111        */  // 640
    {9, 0xCC},  /* 0110 0110 0      */  // 704
    {9, 0xCD},  /* 0110 0110 1      */  // 768
    {9, 0xD2},  /* 0110 1001 0      */  // 832
    {9, 0xD3},  /* 0110 1001 1      */  // 896
    {9, 0xD4},  /* 0110 1010 0      */  // 960
    {9, 0xD5},  /* 0110 1010 1      */  // 1024
    {9, 0xD6},  /* 0110 1011 0      */  // 1088
    {9, 0xD7},  /* 0110 1011 1      */  // 1152
    {9, 0xD8},  /* 0110 1100 0      */  // 1216
    {9, 0xD9},  /* 0110 1100 1      */  // 1280
    {9, 0xDA},  /* 0110 1101 0      */  // 1344
    {9, 0xDB},  /* 0110 1101 1      */  // 1408
    {9, 0x98},  /* 0100 1100 0      */  // 1472
    {9, 0x99},  /* 0100 1100 1      */  // 1536
    {9, 0x9A},  /* 0100 1101 0      */  // 1600
    {6, 0x18},  /* 0110 00          */  // 1664
    {9, 0x9B},  /* 0100 1101 1      */  // 1728
};

// Black runs 0-63.
inline constexpr FaxCode kBlackTerminating[64] = {
    {10, 0x37}, /* 0000 1101 11     */  // 0
    {3, 0x02},  /* 010              */  // 1
    {2, 0x03},  /* 11               */  // 2
    {2, 0x02},  /* 10               */  // 3
    {3, 0x03},  /* 011              */  // 4
    {4, 0x03},  /* 0011             */  // 5
    {4, 0x02},  /* 0010             */  // 6
    {5, 0x03},  /* 0001 1           */  // 7
    {6, 0x05},  /* 0001 01          */  // 8
    {6, 0x04},  /* 0001 00          */  // 9
    {7, 0x04},  /* 0000 100         */  // 10
    {7, 0x05},  /* 0000 101         */  // 11
    {7, 0x07},  /* 0000 111         */  // 12
    {8, 0x04},  /* 0000 0100        */  // 13
    {8, 0x07},  /* 0000 0111        */  // 14
    {9, 0x18},  /* 0000 1100 0      */  // 15
    {10, 0x17}, /* 0000 0101 11     */  // 16
    {10, 0x18}, /* 0000 0110 00     */  // 17
    {10, 0x08}, /* 0000 0010 00     */  // 18
    {11, 0x67}, /* 0000 1100 111    */  // 19
    {11, 0x68}, /* 0000 1101 000    */  // 20
    {11, 0x6C}, /* 0000 1101 100    */  // 21
    {11, 0x37}, /* 0000 0110 111    */  // 22
    {11, 0x28}, /* 0000 0101 000    */  // 23
    {11, 0x17}, /* 0000 0010 111    */  // 24
    {11, 0x18}, /* 0000 0011 000    */  // 25
    {12, 0xCA}, /* 0000 1100 1010   */  // 26
    {12, 0xCB}, /* 0000 1100 1011   */  // 27
    {12, 0xCC}, /* 0000 1100 1100   */  // 28
    {12, 0xCD}, /* 0000 1100 1101   */  // 29
    {12, 0x68}, /* 0000 0110 1000   */  // 30
    {12, 0x69}, /* 0000 0110 1001   */  // 31
    {12, 0x6A}, /* 0000 0110 1010   */  // 32
    {12, 0x6B}, /* 0000 0110 1011   */  // 33
    {12, 0xD2}, /* 0000 1101 0010   */  // 34
    {12, 0xD3}, /* 0000 1101 0011   */  // 35
    {12, 0xD4}, /* 0000 1101 0100   */  // 36
    {12, 0xD5}, /* 0000 1101 0101   */  // 37
    {12, 0xD6}, /* 0000 1101 0110   */  // 38
    {12, 0xD7}, /* 0000 1101 0111   */  // 39
    {12, 0x6C}, /* 0000 0110 1100   */  // 40
    {12, 0x6D}, /* 0000 0110 1101   */  // 41
    {12, 0xDA}, /* 0000 1101 1010   */  // 42
    {12, 0xDB}, /* 0000 1101 1011   */  // 43
    {12, 0x54}, /* 0000 0101 0100   */  // 44
    {12, 0x55}, /* 0000 0101 0101   */  // 45
    {12, 0x56}, /* 0000 0101 0110   */  // 46
    {12, 0x57}, /* 0000 0101 0111   */  // 47
    {12, 0x64}, /* 0000 0110 0100   */  // 48
    {12, 0x65}, /* 0000 0110 0101   */  // 49
    {12, 0x52}, /* 0000 0101 0010   */  // 50
    {12, 0x53}, /* 0000 0101 0011   */  // 51
    {12, 0x24}, /* 0000 0010 0100   */  // 52
    {12, 0x37}, /* 0000 0011 0111   */  // 53
    {12, 0x38}, /* 0000 0011 1000   */  // 54
    {12, 0x27}, /* 0000 0010 0111   */  // 55
    {12, 0x28}, /* 0000 0010 1000   */  // 56
    {12, 0x58}, /* 0000 0101 1000   */  // 57
    {12, 0x59}, /* 0000 0101 1001   */  // 58
    {12, 0x2B}, /* 0000 0010 1011   */  // 59
    {12, 0x2C}, /* 0000 0010 1100   */  // 60
    {12, 0x5A}, /* 0000 0101 1010   */  // 61
    {12, 0x66}, /* 0000 0110 0110   */  // 62
    {12, 0x67}, /* 0000 0110 0111   */  // 63
};

// Black runs 64-1728, multiples of 64.
inline constexpr FaxCode kBlackMakeUp[27] = {
    {10, 0x0F}, /* 0000 0011 11     */  // 64
    {12, 0xC8}, /* 0000 1100 1000   */  // 128
    {12, 0xC9}, /* 0000 1100 1001   */  // 192
    {12, 0x5B}, /* 0000 0101 1011   */  // 256
    {12, 0x33}, /* 0000 0011 0011   */  // 320
    {12, 0x34}, /* 0000 0011 0100   */  // 384
    {12, 0x35}, /* 0000 0011 0101   */  // 448
    {13, 0x6C}, /* 0000 0011 0110 0 */  // 512
    {13, 0x6D}, /* 0000 0011 0110 1 */  // 576
    {13, 0x4A}, /* 0000 0010 0101 0 */  // 640
    {13, 0x4B}, /* 0000 0010 0101 1 */  // 704
    {13, 0x4C}, /* 0000 0010 0110 0 */  // 768
    {13, 0x4D}, /* 0000 0010 0110 1 */  // 832
    {13, 0x72}, /* 0000 0011 1001 0 */  // 896
    {13, 0x73}, /* 0000 0011 1001 1 */  // 960
    {13, 0x74}, /* 0000 0011 1010 0 */  // 1024
    {13, 0x75}, /* 0000 0011 1010 1 */  // 1088
    {13, 0x76}, /* 0000 0011 1011 0 */  // 1152
    {13, 0x77}, /* 0000 0011 1011 1 */  // 1216
    {13, 0x52}, /* 0000 0010 1001 0 */  // 1280
    {13, 0x53}, /* 0000 0010 1001 1 */  // 1344
    {13, 0x54}, /* 0000 0010 1010 0 */  // 1408
    {13, 0x55}, /* 0000 0010 1010 1 */  // 1472
    {13, 0x5A}, /* 0000 0010 1101 0 */  // 1536
    {13, 0x5B}, /* 0000 0010 1101 1 */  // 1600
    {13, 0x64}, /* 0000 0011 0010 0 */  // 1664
    {13, 0x65}, /* 0000 0011 0010 1 */  // 1728
};

// Runs 1792-2560 of either colour.
inline constexpr FaxCode kExtendedMakeUp[13] = {
    {11, 0x08}, /* 0000 0001 000    */  // 1792
    {11, 0x0C}, /* 0000 0001 100    */  // 1856
    {11, 0x0D}, /* 0000 0001 101    */  // 1920
    {12, 0x12}, /* 0000 0001 0010   */  // 1984
    {12, 0x13}, /* 0000 0001 0011   */  // 2048
    {12, 0x14}, /* 0000 0001 0100   */  // 2112
    {12, 0x15}, /* 0000 0001 0101   */  // 2176
    {12, 0x16}, /* 0000 0001 0110   */  // 2240
    {12, 0x17}, /* 0000 0001 0111   */  // 2304
    {12, 0x1C}, /* 0000 0001 1100   */  // 2368
    {12, 0x1D}, /* 0000 0001 1101   */  // 2432
    {12, 0x1E}, /* 0000 0001 1110   */  // 2496
    {12, 0x1F}, /* 0000 0001 1111   */  // 2560
};

// Mode codes of two-dimensional coding.
inline constexpr FaxCode kPassCode = {4, 0x1};        /* 0001 */
inline constexpr FaxCode kHorizontalCode = {3, 0x1};  /* 001 */
// Vertical codes indexed by a1 - b1 + 3: VL3, VL2, VL1, V0, VR1, VR2, VR3.
inline constexpr FaxCode kVerticalCodes[7] = {
    {7, 0x02},  /* 0000 010         */  // VL3
    {6, 0x02},  /* 0000 10          */  // VL2
    {3, 0x02},  /* 010              */  // VL1
    {1, 0x01},  /* 1                */  // V0
    {3, 0x03},  /* 011              */  // VR1
    {6, 0x03},  /* 0000 11          */  // VR2
    {7, 0x03},  /* 0000 011         */  // VR3
};
inline constexpr FaxCode kEolCode = {12, 0x001};  /* 0000 0000 0001 */
// clang-format on

// ---- Transmission order: first bit in the least significant position ----

constexpr FaxCode ToTransmissionOrder(FaxCode code) {
  uint16_t reversed = 0;
  for (int i = 0; i < code.length; ++i)
    if (code.bits & (1u << i)) reversed |= static_cast<uint16_t>(1u << (code.length - 1 - i));
  return {code.length, reversed};
}

// Run-length codes of one colour in transmission order: terminating codes for runs 0-63 and
// make-up codes for the multiples of 64 up to 2560 (index run / 64, entry 0 unused); the
// make-up codes from 1792 on are the extended ones shared by both colours.
struct RunCodes {
  std::array<FaxCode, 64> terminating;
  std::array<FaxCode, 41> makeUp;
};

constexpr RunCodes MakeRunCodes(const FaxCode (&terminating)[64], const FaxCode (&makeUp)[27]) {
  RunCodes codes{};
  for (size_t i = 0; i < 64; ++i) codes.terminating[i] = ToTransmissionOrder(terminating[i]);
  for (size_t i = 0; i < 27; ++i) codes.makeUp[i + 1] = ToTransmissionOrder(makeUp[i]);
  for (size_t i = 0; i < 13; ++i) codes.makeUp[i + 28] = ToTransmissionOrder(kExtendedMakeUp[i]);
  return codes;
}

inline constexpr RunCodes kWhiteRunCodes = MakeRunCodes(kWhiteTerminating, kWhiteMakeUp);
inline constexpr RunCodes kBlackRunCodes = MakeRunCodes(kBlackTerminating, kBlackMakeUp);

inline constexpr FaxCode kPassTx = ToTransmissionOrder(kPassCode);
inline constexpr FaxCode kHorizontalTx = ToTransmissionOrder(kHorizontalCode);
inline constexpr FaxCode kEolTx = ToTransmissionOrder(kEolCode);
inline constexpr std::array<FaxCode, 7> kVerticalTx = {
    ToTransmissionOrder(kVerticalCodes[0]), ToTransmissionOrder(kVerticalCodes[1]),
    ToTransmissionOrder(kVerticalCodes[2]), ToTransmissionOrder(kVerticalCodes[3]),
    ToTransmissionOrder(kVerticalCodes[4]), ToTransmissionOrder(kVerticalCodes[5]),
    ToTransmissionOrder(kVerticalCodes[6])};

static_assert(kVerticalTx[4].bits == 0x6 && kVerticalTx[4].length == 3, "VR1 is 011");
static_assert(kWhiteRunCodes.makeUp[40].bits == 0xF80 && kBlackRunCodes.makeUp[40].length == 12,
              "2560 is 0000 0001 1111 for both colours");

}  // namespace lw::faxtiff
