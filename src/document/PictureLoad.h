#pragma once
// Turning pictures into the black-and-white working files of picture objects.
//
// CDrawImage::LoadPicture (declared in CDrawImage.h) loads any readable picture and writes it
// as a 1-bit BMP of the same pixel size: a picture smaller than the page is first drawn at
// double size in full colour and saved, then reduced from that to its own size and dithered;
// a picture at least as wide or as high as the page is dithered in one step at its own size.
//
// LoadEmbeddedPicture is the picture loader of the cover page reader (lw::SetPictureLoader):
// the bytes extracted from the file are tried as a BMP, a TIFF and a JPEG in turn; the first
// that loads gives the raster and its copy becomes the working file, so the same bytes are
// written back. When none loads, the object keeps its bytes and has no raster.

#include "document/GdiTypes.h"

class CDrawImage;

namespace lw {

// Where a picture is drawn, in logical page units: its upper-left corner at (x1, y1), its
// lower-right corner at (x2, y2).
struct PictureRect {
  qint64 x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

// The drawing rectangle of a picture at `pos` (L, T, R, B with T < B) on the page `page`
// (g_rcPage) for a raster of the given size: (L, B, R, T) after the page-edge rules. Shown at
// its natural size (|R - L| and |T - B| equal the raster's size) a picture touching or
// crossing a page edge moves one unit inwards as a whole; otherwise each edge on or beyond
// its page edge moves one unit towards 0 by itself.
PictureRect PictureDrawRect(const LRect& pos, const LRect& page, int rasterWidth, int rasterHeight);

void LoadEmbeddedPicture(CDrawImage& image);

// Installs LoadEmbeddedPicture as the cover page reader's picture loader. Done once at start
// by the library itself; callable again after a test replaced the loader.
void InstallPictureLoader();

}  // namespace lw
