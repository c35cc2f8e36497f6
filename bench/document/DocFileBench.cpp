// Cover page files: reading and writing a document of 10,000 mixed objects (in memory), and
// streaming a 50 MB embedded picture between files, next to `cp` of the same 50 MB file.
// At the end the picture rates are printed as a fraction of the `cp` rate.
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QFile>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "base/TempFiles.h"
#include "document/CDrawDoc.h"
#include "document/CDrawImage.h"
#include "document/CDrawRect.h"
#include "document/DocFile.h"
#include "document/DocGlobals.h"
#include "document/MessageSeam.h"
#include "document/ObjectKind.h"

namespace {

constexpr int kObjects = 10000;
constexpr qint64 kPictureBytes = 50ll * 1024 * 1024;

// Rectangles, ellipses, lines, freehand strokes of 25 points, labels and data fields with
// Japanese texts, in turn.
void FillMixed(CDrawDoc& doc) {
  for (int i = 0; i < kObjects; ++i) {
    auto* r = new CDrawRect(LRect{i % 800 - 400, 500 - i % 900, i % 800 - 300, 400 - i % 900});
    r->m_textFont = lw::DefaultTextFont();
    switch (i % 6) {
      case 0:
        r->m_nToolClass = lw::kToolClassRectangle;
        break;
      case 1:
        r->m_nShape = lw::kShapeEllipse;
        r->m_nToolClass = lw::kToolClassEllipse;
        break;
      case 2:
        r->m_nShape = lw::kShapeLine;
        r->m_nToolClass = lw::kToolClassLine;
        break;
      case 3:
        r->m_nShape = lw::kShapeFreehand;
        r->m_nToolClass = lw::kToolClassFreehand;
        for (int p = 0; p < 25; ++p) r->MoveHandleTo(1, {i + p, p * p}, nullptr);
        break;
      case 4:
        r->m_nKind = lw::kKindLabel;
        r->m_bEditableText = 1;
        r->m_strText = QStringLiteral("宛先名:");
        break;
      default:
        r->m_nKind = 14 + i % 16;
        r->m_strText = QStringLiteral("［宛先会社名］");
        r->m_strTextColorName = lw::BlackColorName();
        break;
    }
    doc.m_objects.append(r);
  }
}

QByteArray MixedBytes() {
  CDrawDoc doc;
  FillMixed(doc);
  QByteArray bytes;
  QBuffer b(&bytes);
  b.open(QIODevice::WriteOnly);
  lw::WriteDocument(b, doc);
  return bytes;
}

void BM_WriteMixedDocument(benchmark::State& state) {
  CDrawDoc doc;
  FillMixed(doc);
  QByteArray bytes;
  for (auto _ : state) {
    bytes.clear();
    QBuffer b(&bytes);
    b.open(QIODevice::WriteOnly);
    if (!lw::WriteDocument(b, doc).ok()) state.SkipWithError("write failed");
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetItemsProcessed(state.iterations() * kObjects);
  state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_WriteMixedDocument)->Unit(benchmark::kMillisecond);

void BM_ReadMixedDocument(benchmark::State& state) {
  const QByteArray bytes = MixedBytes();
  for (auto _ : state) {
    CDrawDoc doc;
    if (!lw::ReadDocument(QByteArrayView(bytes), doc).ok()) state.SkipWithError("read failed");
    state.PauseTiming();
    doc.DeleteAllObjects();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kObjects);
  state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_ReadMixedDocument)->Unit(benchmark::kMillisecond);

// The 50 MB picture's working file and a document file embedding it.
struct PictureFiles {
  QString picture;
  QString document;
  QString copy;
  PictureFiles() {
    const QString dir = QString::fromStdString(lw::PrivateTempDir());
    picture = dir + "/bench-picture.bmp";
    document = dir + "/bench-picture.lwt";
    copy = dir + "/bench-copy.bmp";
    QFile f(picture);
    f.open(QIODevice::WriteOnly);
    QByteArray block(1 << 20, '\0');
    for (int i = 0; i < block.size(); ++i) block[i] = char(i * 31 + (i >> 9));
    for (qint64 done = 0; done < kPictureBytes; done += block.size()) f.write(block);
  }
  ~PictureFiles() {
    QFile::remove(picture);
    QFile::remove(document);
    QFile::remove(copy);
  }
};

PictureFiles& Pictures() {
  static PictureFiles files;
  return files;
}

void PictureDocument(CDrawDoc& doc) {
  auto* image = new CDrawImage();
  image->m_bHasImage = 1;
  image->m_strImageFile = Pictures().picture;
  image->m_nImageBytes = int(kPictureBytes);
  doc.m_objects.append(image);
}

void BM_WritePicture50MB(benchmark::State& state) {
  CDrawDoc doc;
  PictureDocument(doc);
  for (auto _ : state) {
    if (!lw::WriteDocumentFile(Pictures().document, doc).ok()) state.SkipWithError("write failed");
  }
  doc.m_objects.first()->m_strImageFile.clear();  // not ours to delete
  state.SetBytesProcessed(state.iterations() * kPictureBytes);
}
BENCHMARK(BM_WritePicture50MB)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadPicture50MB(benchmark::State& state) {
  {
    CDrawDoc doc;
    PictureDocument(doc);
    lw::WriteDocumentFile(Pictures().document, doc);
    doc.m_objects.first()->m_strImageFile.clear();
  }
  for (auto _ : state) {
    CDrawDoc doc;
    if (!lw::ReadDocumentFile(Pictures().document, doc).ok()) state.SkipWithError("read failed");
    state.PauseTiming();
    doc.DeleteAllObjects();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * kPictureBytes);
}
BENCHMARK(BM_ReadPicture50MB)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CpPicture50MB(benchmark::State& state) {
  const std::string cmd = "cp '" + Pictures().picture.toStdString() + "' '" +
                          Pictures().copy.toStdString() + "'";
  for (auto _ : state) {
    if (std::system(cmd.c_str()) != 0) state.SkipWithError("cp failed");
    state.PauseTiming();
    QFile::remove(Pictures().copy);
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * kPictureBytes);
}
BENCHMARK(BM_CpPicture50MB)->Unit(benchmark::kMillisecond)->UseRealTime();

// Prints the picture rates against the rate of `cp` once all runs are in.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) {
      auto it = r.counters.find("bytes_per_second");
      if (it != r.counters.end() && r.run_type == Run::RT_Iteration)
        m_rates[r.benchmark_name()] = it->second.value;
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    const double cp = Rate("BM_CpPicture50MB");
    if (cp <= 0) return;
    for (const char* name : {"BM_WritePicture50MB", "BM_ReadPicture50MB"})
      if (Rate(name) > 0) std::printf("%s: %.2f of the cp rate\n", name, Rate(name) / cp);
  }

 private:
  double Rate(const std::string& prefix) const {
    for (const auto& [name, rate] : m_rates)
      if (name.rfind(prefix, 0) == 0) return rate;
    return 0;
  }
  std::map<std::string, double> m_rates;
};

}  // namespace

int main(int argc, char** argv) {
  lw::SetMessageHandler([](int, const QString&) {});
  // Streaming alone: decoding the picture is measured by the picture code's benchmarks.
  lw::SetPictureLoader(nullptr);
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
