// The page image for the server: 1728 x 2332 pixels at one bit, white page, palette entry 1
// white, 2880 pixels per metre, rows bottom-up in the BMP; the fax TIFF made from it decodes
// to the same pixels. Fonts: Windows faces map to installed faces of the same metrics.
#include <gtest/gtest.h>

#include <QFile>
#include <QFontInfo>
#include <QtEndian>

#include <tiffio.h>

#include "RenderTestSupport.h"
#include "base/TempFiles.h"
#include "document/FontMapping.h"

namespace {

using namespace rendertest;

template <typename T>
T Le(const QByteArray& b, int at) {
  return qFromLittleEndian<T>(b.constData() + at);
}

class PageImage : public RenderFixture {};

TEST_F(PageImage, IsOneBitWhitePageWithTheObjects) {
  CDrawRect* r = AddShape(lw::ShapeTool::Rectangle, {-864, 1166, -854, 1156});
  r->m_fillSpec = {BS_SOLID, kColorBlack, 0};
  const QImage img = lw::RenderPageImage(doc);
  ASSERT_EQ(img.format(), QImage::Format_Mono);
  EXPECT_EQ(img.size(), QSize(1728, 2332));
  EXPECT_EQ(img.pixelIndex(0, 0), 0);      // the black corner square
  EXPECT_EQ(img.pixelIndex(9, 9), 0);
  EXPECT_EQ(img.pixelIndex(10, 10), 1);    // white
  EXPECT_EQ(img.pixelIndex(1727, 2331), 1);
  EXPECT_EQ(g_rcPage, (LRect{-864, -1166, 864, 1166}));
  EXPECT_EQ(r->m_rcPage, (LRect{10, 10, 0, 0}));  // (R + W/2, H/2 - B, L + W/2, H/2 - T)
}

TEST_F(PageImage, BmpHeaderPaletteAndRowOrder) {
  CDrawRect* r = AddShape(lw::ShapeTool::Rectangle, {-864, 1166, -856, 1165});
  r->m_fillSpec = {BS_SOLID, kColorBlack, 0};
  r->m_bLine = 0;
  const QByteArray bmp = lw::PageBmpBytes(lw::RenderPageImage(doc));
  const int rowBytes = 216;
  ASSERT_EQ(bmp.size(), 62 + rowBytes * 2332);
  EXPECT_EQ(bmp.left(2), QByteArray("BM"));
  EXPECT_EQ(Le<quint32>(bmp, 2), quint32(bmp.size()));
  EXPECT_EQ(Le<quint32>(bmp, 10), 62u);
  EXPECT_EQ(Le<qint32>(bmp, 18), 1728);
  EXPECT_EQ(Le<qint32>(bmp, 22), 2332);  // bottom-up
  EXPECT_EQ(Le<quint16>(bmp, 28), 1);
  EXPECT_EQ(Le<qint32>(bmp, 38), 2880);
  EXPECT_EQ(Le<qint32>(bmp, 42), 2880);
  EXPECT_EQ(Le<quint32>(bmp, 54), 0x000000u);  // entry 0 black
  EXPECT_EQ(Le<quint32>(bmp, 58), 0xFFFFFFu);  // entry 1 white
  // The page's top row is the file's last row: eight black pixels, then white.
  const int lastRow = 62 + rowBytes * 2331;
  EXPECT_EQ(quint8(bmp[lastRow]), 0x00);
  EXPECT_EQ(quint8(bmp[lastRow + 1]), 0xFF);
  EXPECT_EQ(quint8(bmp[62]), 0xFF);  // the bottom row is white
}

TEST_F(PageImage, FaxTiffDecodesToThePageImage) {
  CDrawRect* e = AddShape(lw::ShapeTool::Ellipse, {-500, 800, 500, -300});
  e->m_lineSpec = {PS_SOLID, {3, 3}, kColorBlack};
  CDrawRect* label = AddField(lw::kKindLabel, {-800, 1000, 0, 900}, QStringLiteral("送信日"));
  label->m_nAlign = lw::kAlignLeft;
  AddField(29, {0, 1000, 800, 900}, QStringLiteral("送信日時"));

  const QString bmp = QString::fromStdString(lw::MakeTempFile("Bmp", ".bmp"));
  QString error;
  const QString tiffPath = lw::MakeFaxPageImage(doc, bmp, &error);
  ASSERT_FALSE(tiffPath.isEmpty()) << error.toStdString();
  EXPECT_FALSE(QFile::exists(bmp));  // the intermediate bitmap is gone
  const QImage expected = lw::RenderPageImage(doc);

  TIFF* tif = TIFFOpen(QFile::encodeName(tiffPath).constData(), "r");
  ASSERT_NE(tif, nullptr);
  uint32_t w = 0, h = 0;
  uint16_t compression = 0, photometric = 0;
  TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &w);
  TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &h);
  TIFFGetField(tif, TIFFTAG_COMPRESSION, &compression);
  TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric);
  EXPECT_EQ(w, 1728u);
  EXPECT_EQ(h, 2332u);
  EXPECT_EQ(compression, COMPRESSION_CCITTFAX4);
  std::vector<uint8_t> row(size_t(TIFFScanlineSize(tif)));
  int differing = 0;
  for (uint32_t y = 0; y < h; ++y) {
    ASSERT_EQ(TIFFReadScanline(tif, row.data(), y), 1);
    for (uint32_t x = 0; x < w; ++x) {
      const bool bit = (row[x / 8] >> (7 - x % 8)) & 1;
      const bool black = photometric == PHOTOMETRIC_MINISWHITE ? bit : !bit;
      differing += black != (expected.pixelIndex(int(x), int(y)) == 0) ? 1 : 0;
    }
  }
  TIFFClose(tif);
  QFile::remove(tiffPath);
  EXPECT_EQ(differing, 0);
}

TEST_F(PageImage, UnwritableBmpIsReportedAndLeavesNothing) {
  QString error;
  const QString tiff = lw::MakeFaxPageImage(doc, QStringLiteral("/nonexistent-folder/x.bmp"), &error);
  EXPECT_TRUE(tiff.isEmpty());
  EXPECT_FALSE(error.isEmpty());
}

TEST(FontMapping, WindowsFacesUseInstalledFacesOfTheSameMetrics) {
  struct Case {
    const char* face;
    int charSet;
    const char* family;
  };
  const Case cases[] = {{"ＭＳ Ｐゴシック", 128, "IPAPGothic"},
                        {"ＭＳ ゴシック", 128, "IPAGothic"},
                        {"ＭＳ 明朝", 128, "IPAMincho"},
                        {"ＭＳ Ｐ明朝", 128, "IPAPMincho"},
                        {"メイリオ", 128, "Noto Sans CJK JP"},
                        {"Arial", 0, "Liberation Sans"},
                        {"Times New Roman", 0, "Liberation Serif"},
                        {"Courier New", 0, "Liberation Mono"}};
  for (const Case& c : cases) {
    LOGFONT lf;
    lf.lfHeight = -27;
    lf.lfCharSet = quint8(c.charSet);
    lf.lfFaceName = QString::fromUtf8(c.face);
    const QFont font = lw::FontFromLogFont(lf);
    EXPECT_EQ(QFontInfo(font).family(), QString::fromUtf8(c.family)) << c.face;
    EXPECT_EQ(lf.lfFaceName, QString::fromUtf8(c.face));  // the object keeps its face name
  }
}

TEST(FontMapping, LogFontAttributesCarryOver) {
  LOGFONT lf;
  lf.lfFaceName = QStringLiteral("Arial");
  lf.lfHeight = -40;
  lf.lfWeight = 700;
  lf.lfItalic = 1;
  lf.lfUnderline = 1;
  lf.lfStrikeOut = 1;
  QFont f = lw::FontFromLogFont(lf);
  EXPECT_EQ(f.pixelSize(), 40);
  EXPECT_EQ(f.weight(), QFont::Bold);
  EXPECT_TRUE(f.italic());
  EXPECT_TRUE(f.underline());
  EXPECT_TRUE(f.strikeOut());
  EXPECT_TRUE(f.styleStrategy() & QFont::NoAntialias);
  // A positive height is the cell height: ascent and descent fill it.
  lf.lfHeight = 40;
  f = lw::FontFromLogFont(lf);
  EXPECT_LT(f.pixelSize(), 40);
  EXPECT_NEAR(QFontMetrics(f).height(), 40, 2);
}

}  // namespace
