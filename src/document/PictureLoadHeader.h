#pragma once
// The size check made before a picture is decoded.
//
// The image library allocates the whole bitmap a file declares before it decodes a pixel, so a
// few bytes can ask for gigabytes. The declared size is therefore read first, from the header
// alone, and a picture above kMaxPicturePixels is refused as unreadable before anything is
// allocated for it.

#include <QString>

namespace lw::picture {

// 16384 x 16384: 256 megapixels.
constexpr long long kMaxPicturePixels = 1LL << 28;

// No decoded bitmap may take more than this (256 megapixels at 32 bits per pixel).
constexpr long long kMaxPictureBytes = 1LL << 30;

struct DeclaredSize {
  long long width = 0;
  long long height = 0;
  int bitsPerPixel = 0;  // of the bitmap the decoder will make
};

// Reads the width and height that the file at `path` declares for format `fif` (the image
// library's format code) without decoding its pixels. False when the header cannot be read,
// or when the format's decoder cannot tell its size before allocating (such a file is not
// decoded at all).
bool ReadDeclaredSize(const QString& path, int fif, DeclaredSize* size);

// Whether a picture of this size may be decoded: at least one pixel each way, no more than
// kMaxPicturePixels in all and no more than kMaxPictureBytes of bitmap.
bool IsAcceptableSize(const DeclaredSize& size);

}  // namespace lw::picture
