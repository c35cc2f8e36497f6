// A cover page with every kind of object, read from its file (written by
// `bench_render --write-sample`), painted for the three targets: it reads, paints and keeps the
// rules that tell the targets apart.
#include <gtest/gtest.h>

#include "RenderTestSupport.h"
#include "common/TestSupport.h"
#include "document/DocFile.h"

namespace {

using namespace rendertest;

class SampleFile : public RenderFixture {};

TEST_F(SampleFile, EveryKindPaintsOnAllTargets) {
  const lw::FileResult r =
      lw::ReadDocumentFile(lwtest::FixturePath(QStringLiteral("render/every-kind.lwt")), doc);
  ASSERT_TRUE(r.ok()) << r.problem.toStdString();
  ASSERT_GT(doc.m_objects.size(), 40);
  const QImage screen = Render(lw::RenderTarget::Screen);
  const QImage print = Render(lw::RenderTarget::Print);
  const QImage upload = Render(lw::RenderTarget::Upload);
  // The recipient name field (kind 14) at (-480, 940)-(300, 890): placeholder and guide frame
  // on screen and in print, nothing in the page image; its label beside it everywhere.
  for (const QImage* img : {&screen, &print}) {
    EXPECT_GT(DarkPixels(*img, -470, 895, 290, 935), 30);
    EXPECT_TRUE(IsCyan(*img, -478, 940) || IsCyan(*img, -477, 940) || IsCyan(*img, -476, 940));
  }
  EXPECT_EQ(DarkPixels(upload, -482, 888, 302, 942), 0);
  for (const QImage* img : {&screen, &print, &upload}) EXPECT_GT(DarkPixels(*img, -795, 895, -505, 935), 30);
}

}  // namespace
