#include "document/PictureLoadStretch.h"

#include <algorithm>
#include <cmath>

namespace lw::picture {
namespace {

// Within these distances of black and white (in lightness, about sRGB 15 and 242) a pixel
// counts as solid: it is set to that colour and neither takes nor passes on any error.
constexpr float kSolidBlack = 0.06f;
constexpr float kSolidWhite = 0.95f;

// Paper: a light level (lightness at least kPaperLowest) that at least kPaperShare of the
// pixels lie within kPaperBand of.
constexpr int kPaperLowest = 150;
constexpr int kPaperBand = 12;
constexpr double kPaperShare = 0.4;

// Lightness (the sRGB-coded value, 0..1) of linear light, through a table fine enough for
// dithering.
float Lightness(float linear) {
  static const std::vector<float> table = [] {
    std::vector<float> t(16385);
    for (int i = 0; i <= 16384; ++i) {
      const double c = i / 16384.0;
      t[std::size_t(i)] = float(c <= 0.0031308 ? c * 12.92 : 1.055 * std::pow(c, 1 / 2.4) - 0.055);
    }
    return t;
  }();
  const float c = std::clamp(linear, 0.0f, 1.0f);
  return table[std::size_t(std::lround(c * 16384.0f))];
}

// The source pixels one target pixel of an axis is made of.
struct Taps {
  int first = 0;               // first source index
  std::vector<float> weights;  // weights of first, first + 1, ...; they sum to 1
};

// The taps of target pixels t0 .. t0 + n - 1 when `source` pixels become `target` pixels.
std::vector<Taps> AxisTaps(int source, int target, int t0, int n) {
  std::vector<Taps> taps(static_cast<std::size_t>(n));
  const double scale = double(source) / target;
  for (int i = 0; i < n; ++i) {
    const int t = t0 + i;
    Taps& tap = taps[std::size_t(i)];
    if (target == source) {
      tap.first = t;
      tap.weights = {1.0f};
    } else if (target % source == 0) {  // exact enlargement: repeat
      tap.first = t / (target / source);
      tap.weights = {1.0f};
    } else if (target < source) {  // reduction: average the covered area
      const double a = t * scale, b = (t + 1) * scale;
      const int first = int(std::floor(a));
      const int last = std::min(source - 1, int(std::ceil(b)) - 1);
      tap.first = first;
      double sum = 0;
      std::vector<double> w;
      for (int s = first; s <= last; ++s) {
        const double cover = std::min<double>(b, s + 1) - std::max<double>(a, s);
        w.push_back(std::max(0.0, cover));
        sum += w.back();
      }
      for (double v : w) tap.weights.push_back(float(v / sum));
    } else {  // other enlargement: bilinear between pixel centres
      const double x = std::clamp((t + 0.5) * scale - 0.5, 0.0, double(source - 1));
      const int first = std::min(int(x), source - 1);
      const float frac = float(x - first);
      tap.first = first;
      if (first + 1 < source && frac > 0)
        tap.weights = {1.0f - frac, frac};
      else
        tap.weights = {1.0f};
    }
  }
  return taps;
}

}  // namespace

float SrgbToLinear(std::uint8_t v) {
  const double c = v / 255.0;
  return float(c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
}

std::uint8_t LinearToSrgb(float v) {
  // A table over 65536 steps of linear light: finer than the darkest sRGB step.
  static const std::vector<std::uint8_t> table = [] {
    std::vector<std::uint8_t> t(65536);
    for (int i = 0; i < 65536; ++i) {
      const double c = i / 65535.0;
      const double s = c <= 0.0031308 ? c * 12.92 : 1.055 * std::pow(c, 1 / 2.4) - 0.055;
      t[std::size_t(i)] = std::uint8_t(std::lround(s * 255.0));
    }
    return t;
  }();
  const float c = std::clamp(v, 0.0f, 1.0f);
  return table[std::size_t(std::lround(c * 65535.0f))];
}

LinearPlane Resample(const LinearPlane& source, int fullWidth, int fullHeight, int x0, int y0,
                     int w, int h) {
  const int ch = source.channels;
  LinearPlane out;
  out.width = w;
  out.height = h;
  out.channels = ch;
  out.values.assign(std::size_t(w) * h * ch, 0.0f);
  if (w <= 0 || h <= 0 || source.width <= 0 || source.height <= 0) return out;

  const std::vector<Taps> xTaps = AxisTaps(source.width, fullWidth, x0, w);
  const std::vector<Taps> yTaps = AxisTaps(source.height, fullHeight, y0, h);
  const int rowFirst = yTaps.front().first;
  const int rowLast = yTaps.back().first + int(yTaps.back().weights.size()) - 1;

  // Horizontal pass over the source rows the window needs.
  LinearPlane mid;
  mid.width = w;
  mid.height = rowLast - rowFirst + 1;
  mid.channels = ch;
  mid.values.assign(std::size_t(w) * mid.height * ch, 0.0f);
  for (int sy = rowFirst; sy <= rowLast; ++sy) {
    const float* src = source.Row(sy);
    float* dst = mid.Row(sy - rowFirst);
    for (int x = 0; x < w; ++x) {
      const Taps& tap = xTaps[std::size_t(x)];
      for (int c = 0; c < ch; ++c) {
        float acc = 0;
        for (std::size_t k = 0; k < tap.weights.size(); ++k)
          acc += tap.weights[k] * src[(tap.first + int(k)) * ch + c];
        dst[x * ch + c] = acc;
      }
    }
  }
  // Vertical pass.
  for (int y = 0; y < h; ++y) {
    const Taps& tap = yTaps[std::size_t(y)];
    float* dst = out.Row(y);
    for (std::size_t k = 0; k < tap.weights.size(); ++k) {
      const float wk = tap.weights[k];
      const float* src = mid.Row(tap.first + int(k) - rowFirst);
      for (int i = 0; i < w * ch; ++i) dst[i] += wk * src[i];
    }
  }
  return out;
}

void BgrToLuminance(const std::uint8_t* bgr, int width, float* out) {
  static const std::vector<float> lut = [] {
    std::vector<float> t(256);
    for (int i = 0; i < 256; ++i) t[std::size_t(i)] = SrgbToLinear(std::uint8_t(i));
    return t;
  }();
  for (int x = 0; x < width; ++x, bgr += 3)
    out[x] = 0.0722f * lut[bgr[0]] + 0.7152f * lut[bgr[1]] + 0.2126f * lut[bgr[2]];
}

float FindPaperWhite(int w, int h, const LuminanceRowFn& row) {
  if (w <= 0 || h <= 0) return 1.0f;
  std::vector<double> histogram(256, 0.0);
  std::vector<float> line(static_cast<std::size_t>(w));
  for (int y = 0; y < h; ++y) {
    row(y, line.data());
    for (float v : line) histogram[std::size_t(std::lround(Lightness(v) * 255.0f))] += 1;
  }
  const double total = double(w) * h;
  int peak = kPaperLowest;
  for (int i = kPaperLowest; i < 256; ++i)
    if (histogram[std::size_t(i)] > histogram[std::size_t(peak)]) peak = i;
  double band = 0, mean = 0;
  for (int i = std::max(0, peak - kPaperBand); i <= std::min(255, peak + kPaperBand); ++i) {
    band += histogram[std::size_t(i)];
    mean += histogram[std::size_t(i)] * i;
  }
  if (band < kPaperShare * total) return 1.0f;
  mean /= band;
  double variance = 0;
  for (int i = std::max(0, peak - kPaperBand); i <= std::min(255, peak + kPaperBand); ++i)
    variance += histogram[std::size_t(i)] * (i - mean) * (i - mean);
  const double sigma = std::sqrt(variance / band);
  // Everything at the paper's level and up to two and a half of its noise below it is white.
  return float(std::clamp(mean - 2.5 * sigma, double(kPaperLowest), 255.0) / 255.0);
}

void DitherToMono(const LinearPlane& luminance, QImage& mono, float paperWhite) {
  DitherToMono(
      luminance.width, luminance.height,
      [&](int y, float* out) { std::copy_n(luminance.Row(y), luminance.width, out); }, mono,
      paperWhite);
}

float FindPaperWhite(const LinearPlane& luminance) {
  return FindPaperWhite(luminance.width, luminance.height, [&](int y, float* out) {
    std::copy_n(luminance.Row(y), luminance.width, out);
  });
}

void DitherToMono(int w, int h, const LuminanceRowFn& row, QImage& mono, float paperWhite) {
  const float gain = paperWhite > 0 ? 1.0f / paperWhite : 1.0f;
  std::vector<float> line(std::size_t(std::max(w, 0)));
  const bool oneIsWhite = mono.colorCount() < 2 || qGray(mono.color(1)) >= qGray(mono.color(0));
  // Error rows with one pixel of margin on each side.
  std::vector<float> current(std::size_t(w) + 2, 0.0f), next(std::size_t(w) + 2, 0.0f);
  for (int y = 0; y < h; ++y) {
    row(y, line.data());
    const float* src = line.data();
    uchar* bits = mono.scanLine(y);
    std::fill(bits, bits + mono.bytesPerLine(), uchar(0));
    std::fill(next.begin(), next.end(), 0.0f);
    const bool leftToRight = (y % 2) == 0;
    const int step = leftToRight ? 1 : -1;
    for (int i = 0; i < w; ++i) {
      const int x = leftToRight ? i : w - 1 - i;
      const float original = std::min(1.0f, Lightness(src[x]) * gain);
      bool white;
      float error = 0;
      if (original <= kSolidBlack) {
        white = false;
      } else if (original >= kSolidWhite) {
        white = true;
      } else {
        const float v = original + current[std::size_t(x) + 1];
        white = v >= 0.5f;
        error = v - (white ? 1.0f : 0.0f);
      }
      if (white == oneIsWhite) bits[x >> 3] |= uchar(0x80 >> (x & 7));
      if (error != 0) {
        // Floyd-Steinberg weights 7/16 ahead, 3/16 behind below, 5/16 below, 1/16 ahead below.
        current[std::size_t(x + step) + 1] += error * (7.0f / 16);
        next[std::size_t(x - step) + 1] += error * (3.0f / 16);
        next[std::size_t(x) + 1] += error * (5.0f / 16);
        next[std::size_t(x + step) + 1] += error * (1.0f / 16);
      }
    }
    std::swap(current, next);
  }
}

void PlaneToRgb888(const LinearPlane& rgb, QImage& image) {
  for (int y = 0; y < rgb.height; ++y) {
    const float* src = rgb.Row(y);
    uchar* dst = image.scanLine(y);
    if (rgb.channels == 3) {
      for (int i = 0; i < rgb.width * 3; ++i) dst[i] = LinearToSrgb(src[i]);
    } else {
      for (int x = 0; x < rgb.width; ++x)
        dst[3 * x] = dst[3 * x + 1] = dst[3 * x + 2] = LinearToSrgb(src[x]);
    }
  }
}

}  // namespace lw::picture
