// How long one full repaint of the editing view takes: a 1280 x 900 window of the page with
// desk, shadow and grid, and the objects of a busy cover page, at each of the four zoom
// levels. A repaint happens on every scroll step and after every command that changes the
// whole view, so it should stay well under a frame (16 ms).
//
//   build/bench/bench_view                   (QT_QPA_PLATFORM=offscreen without a display)

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScrollBar>

#include "SampleDocument.h"
#include "document/CDrawDoc.h"
#include "document/DocGlobals.h"
#include "view/CDrawView.h"

namespace {

void PaintView(benchmark::State& state, int objects) {
  const int level = int(state.range(0));
  lw::ResetAllState();
  lw::ResetViewState();
  CDrawDoc doc;
  if (objects > 0) lwbench::BuildBusyDocument(doc, objects);
  CDrawView view(&doc);
  view.resize(1280, 900);
  while (g_nZoomLevel < level) view.OnViewZoomIn();
  while (g_nZoomLevel > level) view.OnViewZoomOut();
  // The middle of the page.
  view.horizontalScrollBar()->setValue(view.horizontalScrollBar()->maximum() / 2);
  view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum() / 2);
  QImage target(view.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    QPainter painter(&target);
    view.DrawPage(painter, view.PageToClientTransform(), target.rect(), false);
    painter.end();
    benchmark::DoNotOptimize(target.constBits());
  }
  state.SetLabel(QStringLiteral("zoom %1").arg(level).toStdString());
}

void BM_RepaintEmptyPage(benchmark::State& state) { PaintView(state, 0); }
void BM_RepaintBusyPage(benchmark::State& state) { PaintView(state, 120); }

BENCHMARK(BM_RepaintEmptyPage)->DenseRange(-2, 1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintBusyPage)->DenseRange(-2, 1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM") && !qEnvironmentVariableIsSet("DISPLAY")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
