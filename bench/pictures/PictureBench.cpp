// Conversion of pictures to their 1-bit working files (CDrawImage::LoadPicture) beside
// ImageMagick's `convert -monochrome` on the same files in the same run: a 2000 x 3000
// colour photograph (JPEG) and a 600 x 400 logo (PNG). Both are timed from file to file.
//
// Timing: the machine may be shared, so besides wall time compare processor time: the CPU
// column for ours (it runs in the benchmark's thread), `childCpuMs` for ImageMagick (a child
// process, limited to one thread).
//
// Quality counter `blurRmse`: the 1-bit result and the original's lightness are both blurred
// (Gaussian, sigma 1.5 pixels, about what the eye does at reading distance) and compared;
// the root mean square difference is given in grey levels (0..255). Lower is closer.
#include "SamplePictures.h"
#include "base/TempFiles.h"
#include "document/CDrawImage.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QGuiApplication>
#include <QImage>

#include <sys/resource.h>

#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

struct Sample {
  QString path;
  QImage original;
};

QString TempPath(const char* prefix, const char* suffix) {
  return QFile::decodeName(QByteArray::fromStdString(lw::MakeTempFile(prefix, suffix)));
}

const Sample& Photo() {
  static const Sample s = [] {
    Sample r{TempPath("benchphoto", ".jpg"), lwtest::MakePhoto(2000, 3000)};
    r.original.save(r.path, "JPG", 85);
    return r;
  }();
  return s;
}

const Sample& Logo() {
  static const Sample s = [] {
    Sample r{TempPath("benchlogo", ".png"), lwtest::MakeLogo(600, 400)};
    r.original.save(r.path, "PNG");
    return r;
  }();
  return s;
}

std::vector<double> BlurredLightness(const QImage& image) {
  const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
  const int w = grey.width(), h = grey.height();
  std::vector<double> kernel;
  for (int i = -4; i <= 4; ++i) kernel.push_back(std::exp(-i * i / (2 * 1.5 * 1.5)));
  double sum = 0;
  for (double k : kernel) sum += k;
  for (double& k : kernel) k /= sum;
  std::vector<double> a(size_t(w) * h), b(size_t(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) a[size_t(y) * w + x] = grey.constScanLine(y)[x];
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      double v = 0;
      for (int i = -4; i <= 4; ++i)
        v += kernel[size_t(i + 4)] * a[size_t(y) * w + std::clamp(x + i, 0, w - 1)];
      b[size_t(y) * w + x] = v;
    }
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      double v = 0;
      for (int i = -4; i <= 4; ++i)
        v += kernel[size_t(i + 4)] * b[size_t(std::clamp(y + i, 0, h - 1)) * w + x];
      a[size_t(y) * w + x] = v;
    }
  return a;
}

double BlurRmse(const QImage& original, const QImage& result) {
  if (result.size() != original.size()) return -1;
  const std::vector<double> a = BlurredLightness(original), b = BlurredLightness(result);
  double s = 0;
  for (size_t i = 0; i < a.size(); ++i) s += (a[i] - b[i]) * (a[i] - b[i]);
  return std::sqrt(s / double(a.size()));
}

void Leafwright(benchmark::State& state, const Sample& (*sample)()) {
  const Sample& s = sample();
  QString last;
  for (auto _ : state) {
    CDrawImage picture;
    if (!picture.LoadPicture(s.path)) state.SkipWithError("not converted");
    if (!last.isEmpty()) QFile::remove(last);
    last = picture.m_strImageFile;
  }
  state.counters["blurRmse"] = BlurRmse(s.original, QImage(last));
  QFile::remove(last);
}

void ImageMagick(benchmark::State& state, const Sample& (*sample)()) {
  const Sample& s = sample();
  const QString out = TempPath("benchmagick", ".bmp");
  // One thread, as ours runs on one; its processor time is counted as `childCpuMs`.
  const QByteArray command = "MAGICK_THREAD_LIMIT=1 convert '" + QFile::encodeName(s.path) +
                             "' -monochrome 'BMP3:" + QFile::encodeName(out) + "'";
  rusage before{};
  getrusage(RUSAGE_CHILDREN, &before);
  for (auto _ : state) {
    if (std::system(command.constData()) != 0) state.SkipWithError("convert failed");
  }
  rusage after{};
  getrusage(RUSAGE_CHILDREN, &after);
  auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
  state.counters["childCpuMs"] =
      (ms(after.ru_utime) + ms(after.ru_stime) - ms(before.ru_utime) - ms(before.ru_stime)) /
      double(state.iterations());
  state.counters["blurRmse"] = BlurRmse(s.original, QImage(out));
  QFile::remove(out);
}

BENCHMARK_CAPTURE(Leafwright, photo_2000x3000_jpeg, &Photo)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(ImageMagick, photo_2000x3000_jpeg, &Photo)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(Leafwright, logo_600x400_png, &Logo)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(ImageMagick, logo_600x400_png, &Logo)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  auto* app = new QGuiApplication(argc, argv);  // kept to the end of the process
  Q_UNUSED(app);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  QFile::remove(Photo().path);
  QFile::remove(Logo().path);
  return 0;
}
