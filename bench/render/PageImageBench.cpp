// The page image of a busy cover page (500 mixed objects: texts, shapes, two pictures), step
// by step: render into the 1-bit image, write the BMP, code the fax TIFF; and the whole.
//
//   build/bench/bench_render                      the figures
//   build/bench/bench_render --write-sample F.lwt writes the every-kind sample cover page
#include <benchmark/benchmark.h>

#include <QFile>
#include <QGuiApplication>

#include <cstring>

#include "SampleDocument.h"
#include "base/TempFiles.h"
#include "document/CDrawDoc.h"
#include "document/DocFile.h"
#include "document/DocGlobals.h"
#include "document/FontMapping.h"
#include "document/PageImage.h"
#include "faxtiff/FaxTiff.h"

namespace {

constexpr int kObjects = 500;

CDrawDoc& BusyDocument() {
  static CDrawDoc* doc = [] {
    auto* d = new CDrawDoc;
    lwbench::BuildBusyDocument(*d, kObjects);
    return d;
  }();
  return *doc;
}

void BM_Render(benchmark::State& state) {
  CDrawDoc& doc = BusyDocument();
  for (auto _ : state) benchmark::DoNotOptimize(lw::RenderPageImage(doc));
}

void BM_WriteBmp(benchmark::State& state) {
  const QImage image = lw::RenderPageImage(BusyDocument());
  const QString path = QString::fromStdString(lw::MakeTempFile("Bmp", ".bmp"));
  for (auto _ : state) lw::WritePageBmp(image, path);
  QFile::remove(path);
}

void BM_FaxTiff(benchmark::State& state) {
  const QString bmp = QString::fromStdString(lw::MakeTempFile("Bmp", ".bmp"));
  lw::WritePageBmp(lw::RenderPageImage(BusyDocument()), bmp);
  const std::string path = QFile::encodeName(bmp).toStdString();
  for (auto _ : state) {
    const std::string tiff = lw::faxtiff::ConvertBmpToFaxTiff(lw::faxtiff::kModeT6, path);
    QFile::remove(QString::fromStdString(tiff));
  }
  QFile::remove(bmp);
}

void BM_WholePageImage(benchmark::State& state) {
  CDrawDoc& doc = BusyDocument();
  const QString bmp = QString::fromStdString(lw::MakeTempFile("Bmp", ".bmp"));
  for (auto _ : state) QFile::remove(lw::MakeFaxPageImage(doc, bmp));
}

BENCHMARK(BM_Render)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteBmp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FaxTiff)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholePageImage)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  lw::InstallFontSubstitutions();
  if (argc == 3 && std::strcmp(argv[1], "--write-sample") == 0) {
    CDrawDoc doc;
    lwbench::BuildEveryKindDocument(doc);
    const lw::FileResult r = lw::WriteDocumentFile(QString::fromLocal8Bit(argv[2]), doc);
    doc.DeleteAllObjects();
    if (!r.ok()) std::fprintf(stderr, "%s\n", qPrintable(r.Describe(QString::fromLocal8Bit(argv[2]))));
    return r.ok() ? 0 : 1;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
