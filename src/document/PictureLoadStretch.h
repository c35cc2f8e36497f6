#pragma once
// Resampling and black-and-white dithering of pictures.
//
// A picture becomes a fax picture in two steps: it is resampled to the size wanted, then
// reduced to one bit per pixel by error diffusion. Both steps work in linear light (sRGB
// decoded), because averaging pixels and spreading the error of a black or white decision
// are sums of light: done on the coded values, mid-tones come out too dark and thin lines
// too faint.
//
// Resampling: an exact integer enlargement repeats pixels (so the double-size colour step of
// a small picture is lossless and its reduction gives back the picture exactly); a reduction
// averages the area each target pixel covers; any other enlargement interpolates bilinearly.
//
// Dithering: Floyd-Steinberg error diffusion on alternate row directions, on lightness (the
// sRGB-coded luminance), which keeps detail in the shadows of photographs and suits the dot
// gain of fax printers. Pixels within a small distance of pure black or pure white are set
// to that colour, take no error and pass none on, so solid areas of logos and text stay
// solid and JPEG ringing around their edges leaves no stray dots. A picture that is mostly
// a light, even background (paper of a scan, a tinted logo ground) has that background made
// white first (FindPaperWhite), so it does not turn into a field of dots.

#include <QImage>

#include <cstdint>
#include <functional>
#include <vector>

namespace lw::picture {

// A picture in linear light: `channels` floats per pixel (1 luminance, or 3 for R, G, B),
// each 0 (black) to 1 (white), rows top-down.
struct LinearPlane {
  int width = 0;
  int height = 0;
  int channels = 1;
  std::vector<float> values;

  float* Row(int y) { return values.data() + std::size_t(y) * width * channels; }
  const float* Row(int y) const { return values.data() + std::size_t(y) * width * channels; }
};

// sRGB coded 0..255 to linear light and back.
float SrgbToLinear(std::uint8_t v);
std::uint8_t LinearToSrgb(float v);

// The linear plane of 24-bit pixels: `rows(y)` gives row y (top-down) as B, G, R bytes, as
// the image library stores them. With `luminanceOnly` one channel (Rec. 709 luminance),
// otherwise three.
template <typename RowFn>
LinearPlane PlaneFromBgr(int width, int height, bool luminanceOnly, RowFn rows);

// A window of the picture resampled to `fullWidth` x `fullHeight`: the target pixels
// (x0 .. x0 + w - 1, y0 .. y0 + h - 1) of that size. The whole picture is the window
// (0, 0, fullWidth, fullHeight). Requires a non-empty source, positive sizes and a window
// inside the full size.
LinearPlane Resample(const LinearPlane& source, int fullWidth, int fullHeight, int x0, int y0,
                     int w, int h);
inline LinearPlane Resample(const LinearPlane& source, int width, int height) {
  return Resample(source, width, height, 0, 0, width, height);
}

// Dithers luminance rows into `mono` (QImage::Format_Mono, width x height); the colour table
// of `mono` decides which index is white. `row(y, out)` fills `out` with `width` values of
// row y (top-down); rows are asked for in order, so a large picture never needs a whole
// plane.
// Lightness at or above `paperWhite` (0..1] becomes white and the tones below it are spread
// over the whole range.
using LuminanceRowFn = std::function<void(int y, float* out)>;
void DitherToMono(int width, int height, const LuminanceRowFn& row, QImage& mono,
                  float paperWhite = 1.0f);
// The same from a one-channel plane.
void DitherToMono(const LinearPlane& luminance, QImage& mono, float paperWhite = 1.0f);

// The lightness of a picture's paper: when at least 40 % of the pixels lie close to one light
// level, that level less two and a half times their spread; otherwise 1 (no change).
float FindPaperWhite(int width, int height, const LuminanceRowFn& row);
float FindPaperWhite(const LinearPlane& luminance);

// Rec. 709 luminance in linear light of `width` pixels stored as B, G, R bytes.
void BgrToLuminance(const std::uint8_t* bgr, int width, float* out);

// Writes a three-channel plane into an RGB888 image of the plane's size.
void PlaneToRgb888(const LinearPlane& rgb, QImage& image);

// ---- template definition ----

template <typename RowFn>
LinearPlane PlaneFromBgr(int width, int height, bool luminanceOnly, RowFn rows) {
  LinearPlane plane;
  plane.width = width;
  plane.height = height;
  plane.channels = luminanceOnly ? 1 : 3;
  plane.values.resize(std::size_t(width) * height * plane.channels);
  static const std::vector<float> lut = [] {
    std::vector<float> t(256);
    for (int i = 0; i < 256; ++i) t[i] = SrgbToLinear(std::uint8_t(i));
    return t;
  }();
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* src = rows(y);
    float* dst = plane.Row(y);
    if (luminanceOnly) {
      BgrToLuminance(src, width, dst);
    } else {
      for (int x = 0; x < width; ++x, src += 3, dst += 3) {
        dst[0] = lut[src[2]];
        dst[1] = lut[src[1]];
        dst[2] = lut[src[0]];
      }
    }
  }
  return plane;
}

}  // namespace lw::picture
