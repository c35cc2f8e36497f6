#pragma once
// The TIFF around one T.6-coded page: an 8-byte header, one directory of 17 entries at
// offset 8, the two resolution rationals, and the single strip at offset 234.

#include <cstdint>

#include "faxtiff/FaxCallbacks.h"

namespace lw::faxtiff {

inline constexpr uint32_t kTiffHeaderBytes = 8;
inline constexpr uint32_t kDirectoryEntries = 17;
// Directory entries, next-directory offset and the two rationals, after the entry count.
inline constexpr uint32_t kDirectoryBytes = kDirectoryEntries * 12 + 4 + 16;      // 224
inline constexpr uint32_t kStripOffset = kTiffHeaderBytes + 2 + kDirectoryBytes;  // 234

// Writes the header, the entry count and the directory block with StripByteCounts 0, into a
// file that is still empty. Returns false when a write failed.
bool WriteTiffHeader(const FaxCallbacks& io, uint32_t width, uint32_t height, uint16_t resolution);

// Once the strip is written (and nothing after it): reads the directory block back from its
// place before the strip, sets StripByteCounts to the strip's size and writes it back.
// Returns false when a seek, read or write failed.
bool SetStripByteCounts(const FaxCallbacks& io, uint32_t stripBytes);

}  // namespace lw::faxtiff
