// Our T.6 fax encoder against libtiff's own Group 4 encoder on the same 1728 x 2332 pages:
// blank, a text-like page and random noise. Both code into memory and write a whole TIFF.
// Before timing, each page's strip is checked to be bit for bit libtiff's (ours is padded
// to a whole 16-bit word).
//
//   build-<you>/bench/bench_faxtiff --benchmark_counters_tabular=true

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <tiffio.h>

#include "faxtiff/FaxTiff.h"
#include "faxtiff/TiffContainer.h"

namespace fax = lw::faxtiff;

namespace {

constexpr uint32_t kWidth = 1728;
constexpr uint32_t kHeight = 2332;

// A page as libtiff takes it: rows top-down, (width + 7) / 8 bytes, 1 = black.
struct Page {
  std::vector<uint8_t> packed;
  uint32_t RowBytes() const { return (kWidth + 7) / 8; }
  void SetBlack(uint32_t x, uint32_t y) {
    packed[y * RowBytes() + (x >> 3)] |= uint8_t(0x80 >> (x & 7));
  }
};

Page BlankPage() { return {std::vector<uint8_t>(size_t(kWidth + 7) / 8 * kHeight, 0)}; }

Page NoisePage() {
  Page p = BlankPage();
  std::mt19937 rng(42);
  for (auto& b : p.packed) b = uint8_t(rng());
  return p;
}

// Lines of 20-pixel "glyphs" made of vertical stems, bars and diagonals, with word gaps,
// 40 lines to the page: black runs and edges like those of typed text.
Page TextPage() {
  Page p = BlankPage();
  std::mt19937 rng(7);
  for (uint32_t top = 120; top + 24 < kHeight - 100; top += 52) {
    uint32_t x = 100;
    while (x + 16 < kWidth - 100) {
      if (rng() % 6 == 0) {
        x += 14;  // word gap
        continue;
      }
      const uint32_t shape = rng();
      for (uint32_t y = 0; y < 24; ++y) {
        for (uint32_t dx = 0; dx < 12; ++dx) {
          const bool stemL = (shape & 1) && dx < 2;
          const bool stemR = (shape & 2) && dx >= 10;
          const bool barT = (shape & 4) && y < 2;
          const bool barM = (shape & 8) && y >= 11 && y < 13;
          const bool barB = (shape & 16) && y >= 22;
          const bool diag = (shape & 32) && (dx == y / 2 || dx == y / 2 + 1);
          if (stemL || stemR || barT || barM || barB || diag) p.SetBlack(x + dx, top + y);
        }
      }
      x += 15;
    }
  }
  return p;
}

// The same page as the BMP the renderer writes: bottom-up, 32-bit rows, entry 0 black.
fax::ConversionRequest RequestFor(const Page& p) {
  fax::ConversionRequest r;
  r.width = kWidth;
  r.height = kHeight;
  r.whiteByte = 0xFF;
  const uint32_t rowBytes = uint32_t(fax::BmpRowBytes(kWidth));
  r.bits.assign(size_t(rowBytes) * kHeight, 0xFF);
  for (uint32_t y = 0; y < kHeight; ++y)
    for (uint32_t i = 0; i < p.RowBytes(); ++i)
      r.bits[size_t(kHeight - 1 - y) * rowBytes + i] = uint8_t(~p.packed[y * p.RowBytes() + i]);
  r.bitsSize = uint32_t(r.bits.size());
  return r;
}

// libtiff writing into memory.
struct MemSink {
  std::vector<uint8_t> bytes;
  toff_t pos = 0;
};
tmsize_t SinkRead(thandle_t h, void* buf, tmsize_t n) {
  auto* s = static_cast<MemSink*>(h);
  if (s->pos >= s->bytes.size()) return 0;
  const size_t k = std::min<size_t>(size_t(n), s->bytes.size() - s->pos);
  std::memcpy(buf, s->bytes.data() + s->pos, k);
  s->pos += k;
  return tmsize_t(k);
}
tmsize_t SinkWrite(thandle_t h, void* buf, tmsize_t n) {
  auto* s = static_cast<MemSink*>(h);
  if (s->pos + size_t(n) > s->bytes.size()) s->bytes.resize(s->pos + size_t(n));
  std::memcpy(s->bytes.data() + s->pos, buf, size_t(n));
  s->pos += toff_t(n);
  return n;
}
toff_t SinkSeek(thandle_t h, toff_t off, int whence) {
  auto* s = static_cast<MemSink*>(h);
  s->pos = whence == SEEK_SET ? off : whence == SEEK_CUR ? s->pos + off : s->bytes.size() + off;
  return s->pos;
}
int SinkClose(thandle_t) { return 0; }
toff_t SinkSize(thandle_t h) { return static_cast<MemSink*>(h)->bytes.size(); }
int SinkMap(thandle_t, void**, toff_t*) { return 0; }
void SinkUnmap(thandle_t, void*, toff_t) {}

// Codes `page` with libtiff; returns the coded strip's size and, in `strip`, its bytes.
size_t LibtiffEncode(const Page& page, std::vector<uint8_t>& scratch, MemSink& sink,
                     std::vector<uint8_t>* strip) {
  sink.bytes.clear();
  sink.pos = 0;
  TIFF* tif = TIFFClientOpen("page", "w", &sink, SinkRead, SinkWrite, SinkSeek, SinkClose, SinkSize,
                             SinkMap, SinkUnmap);
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, kWidth);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, kHeight);
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 1);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
  TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
  TIFFSetField(tif, TIFFTAG_FILLORDER, FILLORDER_LSB2MSB);
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, kHeight);
  TIFFSetField(tif, TIFFTAG_XRESOLUTION, 200.0);
  TIFFSetField(tif, TIFFTAG_YRESOLUTION, 200.0);
  TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
  scratch = page.packed;  // libtiff may use the buffer as scratch space
  TIFFWriteEncodedStrip(tif, 0, scratch.data(), tmsize_t(scratch.size()));
  uint64_t* offsets = nullptr;
  uint64_t* counts = nullptr;
  TIFFGetField(tif, TIFFTAG_STRIPOFFSETS, &offsets);
  TIFFGetField(tif, TIFFTAG_STRIPBYTECOUNTS, &counts);
  const size_t size = counts ? size_t(counts[0]) : 0;
  if (strip && offsets)
    strip->assign(sink.bytes.begin() + std::ptrdiff_t(offsets[0]),
                  sink.bytes.begin() + std::ptrdiff_t(offsets[0] + size));
  TIFFClose(tif);
  return size;
}

struct Fixture {
  Page page;
  fax::ConversionRequest request;
};

const Fixture& PageFor(int which) {
  static std::map<int, Fixture> pages;
  auto it = pages.find(which);
  if (it != pages.end()) return it->second;
  Page page = which == 0 ? BlankPage() : which == 1 ? TextPage() : NoisePage();
  Fixture f{page, RequestFor(page)};
  // Same coding as libtiff, or the comparison means nothing.
  fax::MemoryFile ours;
  std::vector<uint8_t> theirs, scratch;
  MemSink sink;
  fax::WriteFaxTiff(f.request, ours.Callbacks());
  LibtiffEncode(f.page, scratch, sink, &theirs);
  if (theirs.size() % 2) theirs.push_back(0);
  if (std::vector<uint8_t>(ours.bytes.begin() + fax::kStripOffset, ours.bytes.end()) != theirs) {
    std::fprintf(stderr, "page %d: our strip differs from libtiff's\n", which);
    std::abort();
  }
  return pages.emplace(which, std::move(f)).first->second;
}

const char* const kPageNames[] = {"blank", "text", "noise"};

void BM_Ours(benchmark::State& state) {
  const Fixture& f = PageFor(int(state.range(0)));
  fax::MemoryFile out;
  out.bytes.reserve(1 << 20);
  for (auto _ : state) {
    out.bytes.clear();
    out.position = 0;
    fax::WriteFaxTiff(f.request, out.Callbacks());
    benchmark::DoNotOptimize(out.bytes.data());
  }
  state.SetLabel(kPageNames[state.range(0)]);
  state.counters["strip_bytes"] = double(out.bytes.size() - fax::kStripOffset);
}

void BM_Libtiff(benchmark::State& state) {
  const Fixture& f = PageFor(int(state.range(0)));
  std::vector<uint8_t> scratch;
  MemSink sink;
  sink.bytes.reserve(1 << 20);
  size_t size = 0;
  for (auto _ : state) {
    size = LibtiffEncode(f.page, scratch, sink, nullptr);
    benchmark::DoNotOptimize(sink.bytes.data());
  }
  state.SetLabel(kPageNames[state.range(0)]);
  state.counters["strip_bytes"] = double(size);
}

// The whole conversion as the upload runs it: BMP file in, TIFF file out.
void BM_OursFileToFile(benchmark::State& state) {
  const Fixture& f = PageFor(int(state.range(0)));
  const std::string bmp = std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") +
                          "/bench_faxtiff_page.bmp";
  {
    std::vector<uint8_t> file(62, 0);
    const uint32_t header[] = {uint32_t(62 + f.request.bits.size()), 0, 62, 40, kWidth, kHeight};
    file[0] = 'B';
    file[1] = 'M';
    std::memcpy(&file[2], header, sizeof header);
    file[26] = 1;                           // planes
    file[28] = 1;                           // bits per pixel
    file[58] = file[59] = file[60] = 0xFF;  // entry 0 black, entry 1 white
    file.insert(file.end(), f.request.bits.begin(), f.request.bits.end());
    FILE* out = std::fopen(bmp.c_str(), "wb");
    std::fwrite(file.data(), 1, file.size(), out);
    std::fclose(out);
  }
  for (auto _ : state) {
    const std::string tiff = fax::ConvertBmpToFaxTiff(fax::kModeT6, bmp);
    if (tiff.empty()) {
      state.SkipWithError(fax::LastErrorText().c_str());
      break;
    }
    std::remove(tiff.c_str());
  }
  std::remove(bmp.c_str());
  state.SetLabel(kPageNames[state.range(0)]);
}

BENCHMARK(BM_Ours)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Libtiff)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OursFileToFile)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
