// Pictures in a cover page: inserted, painted with the page-edge rules, written into a file
// and read back with their raster; embedded bytes of other formats and unreadable bytes.
//
// Invariants under test:
// - a picture at its natural size is painted pixel for pixel, pulled one unit inside the
//   page when it touches an edge;
// - the embedded bytes survive a write and a read unchanged, and a read picture paints as
//   the inserted one did;
// - embedded bytes no decoder reads keep the object, without raster and without leftovers.

#include "PictureTestSupport.h"
#include "SamplePictures.h"

#include "common/TestSupport.h"
#include "document/CDrawDoc.h"
#include "document/CDrawImage.h"
#include "document/CRasterImage.h"
#include "document/DocFile.h"
#include "document/ObjectCreation.h"
#include "document/PageImage.h"

#include <QBuffer>
#include <QFileInfo>

#include <climits>

namespace lwtest {
namespace {

using PictureDocumentTest = PictureTest;

// Inserts the picture file `source` as picture insertion does: converted, its working file
// copied, placed at `pos`. Owned by `doc`.
CDrawImage* InsertPicture(CDrawDoc& doc, const QString& source, const LRect& pos) {
  auto* image = new CDrawImage();
  lw::InitInsertedPicture(*image, g_lfDefault);
  EXPECT_TRUE(image->LoadPicture(source));
  image->m_nImageBytes = image->m_pRaster->SavedBytes();
  const QString copy =
      QFile::decodeName(QByteArray::fromStdString(lw::MakeTempFile("lwt", ".bmp")));
  QFile::remove(copy);
  EXPECT_TRUE(QFile::copy(image->m_strImageFile, copy));
  QFile::remove(image->m_strImageFile);
  image->m_strImageFile = copy;
  image->m_rcPos = pos;
  doc.AddObject(image);
  return image;
}

QByteArray SaveToBytes(CDrawDoc& doc) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  EXPECT_TRUE(lw::WriteDocument(buffer, doc).ok());
  return bytes;
}

CDrawImage* OnlyPicture(CDrawDoc& doc) {
  EXPECT_EQ(doc.m_objects.size(), 1);
  return doc.m_objects.isEmpty() ? nullptr : dynamic_cast<CDrawImage*>(doc.m_objects.first());
}

TEST(PictureDrawRect, PicturesOnThePageEdgeArePulledInside) {
  const LRect page{-864, -1166, 864, 1166};
  struct Case {
    const char* name;
    LRect pos;  // L, T, R, B with T < B
    int w, h;   // raster size
    lw::PictureRect expected;
  } cases[] = {
      {"natural size inside the page stays", {-100, -50, 20, 30}, 120, 80, {-100, 30, 20, -50}},
      {"natural size at the upper-left corner moves right and down",
       {-864, 1086, -744, 1166},
       120,
       80,
       {-863, 1165, -743, 1085}},
      {"natural size beyond the lower-right corner moves left and up",
       {800, -1200, 920, -1120},
       120,
       80,
       {799, -1119, 919, -1199}},
      {"stretched picture: only the edges on the page edge move",
       {-864, 1000, 0, 1166},
       120,
       80,
       {-863, 1165, 0, 1000}},
      {"stretched picture across the whole page shrinks by one unit each side",
       {-864, -1166, 864, 1166},
       100,
       100,
       {-863, 1165, 863, -1165}},
  };
  for (const Case& c : cases) {
    const lw::PictureRect r = lw::PictureDrawRect(c.pos, page, c.w, c.h);
    EXPECT_EQ(r.x1, c.expected.x1) << c.name;
    EXPECT_EQ(r.y1, c.expected.y1) << c.name;
    EXPECT_EQ(r.x2, c.expected.x2) << c.name;
    EXPECT_EQ(r.y2, c.expected.y2) << c.name;
  }
}

TEST_F(PictureDocumentTest, InsertedPictureSurvivesASaveAndARead) {
  const QString source = SavePicture(MakeLogo(120, 80), "png", "PNG");
  CDrawDoc doc;
  // At the upper-left corner of the page at natural size (top < bottom for pictures).
  CDrawImage* inserted = InsertPicture(doc, source, {-864, 1086, -744, 1166});
  const QImage working(inserted->m_strImageFile);
  const QByteArray workingBytes = ReadAll(inserted->m_strImageFile);
  ASSERT_EQ(working.size(), QSize(120, 80));

  // Painted one unit right and one unit down from its stored position, pixel for pixel.
  const QImage page = lw::RenderPageImage(doc);
  EXPECT_EQ(page.copy(1, 1, 120, 80).convertToFormat(QImage::Format_RGB32),
            working.convertToFormat(QImage::Format_RGB32));
  EXPECT_EQ(qGray(page.pixel(0, 40)), 255);  // the column left of it stays white

  const QByteArray file = SaveToBytes(doc);
  CDrawDoc back;
  ASSERT_TRUE(lw::ReadDocument(QByteArrayView(file), back).ok());
  CDrawImage* read = OnlyPicture(back);
  ASSERT_NE(read, nullptr);
  ASSERT_NE(read->m_pRaster, nullptr);
  EXPECT_EQ(read->m_pRaster->Width(), 120);
  EXPECT_EQ(read->m_pRaster->Height(), 80);
  EXPECT_NE(read->m_strImageFile, inserted->m_strImageFile);
  EXPECT_EQ(ReadAll(read->m_strImageFile), workingBytes);
  EXPECT_EQ(lw::RenderPageImage(back), page);
  EXPECT_EQ(SaveToBytes(back), file);
  back.DeleteAllObjects();
  doc.DeleteAllObjects();
  QFile::remove(source);
}

TEST_F(PictureDocumentTest, EmbeddedPicturesOfOtherFormatsAndUnreadableBytes) {
  const QString jpeg = SavePicture(MakePhoto(90, 60), "jpg", "JPG");
  const QString tiff = SaveTiff(MakePhoto(90, 60));
  const QString junk = SaveBytes(QByteArray("BM but not really a picture"), "tmp");
  struct Case {
    const char* name;
    QString file;
    bool loads;
    const char* suffix;  // of the working file after reading
  } cases[] = {
      {"JPEG bytes load through the .jpg candidate", jpeg, true, ".jpg"},
      {"TIFF bytes load through the .tif candidate", tiff, true, ".tif"},
      {"unreadable bytes keep the object without raster", junk, false, ".tmp"},
  };
  for (const Case& c : cases) {
    CDrawDoc doc;
    auto* image = new CDrawImage();
    lw::InitInsertedPicture(*image, g_lfDefault);
    const QByteArray bytes = ReadAll(c.file);
    image->m_strImageFile = c.file;
    image->m_nImageBytes = int(bytes.size());
    image->m_rcPos = {0, 0, 90, 60};
    doc.AddObject(image);
    const QByteArray file = SaveToBytes(doc);
    image->m_strImageFile.clear();  // the source file is not the document's
    doc.DeleteAllObjects();

    const QStringList before = TempFiles();
    CDrawDoc back;
    ASSERT_TRUE(lw::ReadDocument(QByteArrayView(file), back).ok()) << c.name;
    CDrawImage* read = OnlyPicture(back);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->m_pRaster != nullptr, c.loads) << c.name;
    if (c.loads) {
      EXPECT_EQ(read->m_pRaster->Width(), 90) << c.name;
    }
    EXPECT_TRUE(read->m_strImageFile.endsWith(c.suffix))
        << c.name << " " << read->m_strImageFile.toStdString();
    EXPECT_EQ(ReadAll(read->m_strImageFile), bytes) << c.name;
    // Only the working file was added: candidates and converted bitmaps are gone.
    EXPECT_EQ(TempFiles().size(), before.size() + 1) << c.name;
    EXPECT_EQ(SaveToBytes(back), file) << c.name;
    lw::RenderPageImage(back);  // paints (or, without raster, skips) without harm
    back.DeleteAllObjects();
    EXPECT_EQ(TempFiles(), before) << c.name;
  }
  EXPECT_TRUE(messages.isEmpty());
  for (const QString& f : {jpeg, tiff, junk}) QFile::remove(f);
}

TEST_F(PictureDocumentTest, PicturesStretchedFarBeyondThePagePaintOnlyWhatShows) {
  const QString source = SavePicture(MakeLogo(120, 80), "png", "PNG");
  CDrawDoc doc;
  CDrawImage* image = InsertPicture(doc, source, {-864, 1086, -744, 1166});
  const LRect positions[] = {
      {INT_MIN, INT_MIN, INT_MAX, INT_MAX},  // from a damaged file
      {-100000, -100000, 100000, 100000},    // the page shows a small part of it
      {2000, 0, 2120, 80},                   // beside the page
  };
  for (const LRect& pos : positions) {
    image->m_rcPos = pos;
    const QImage page = lw::RenderPageImage(doc);
    EXPECT_EQ(page.size(), QSize(1728, 2332));
  }
  doc.DeleteAllObjects();
  QFile::remove(source);
}

TEST_F(PictureDocumentTest, ScreenPaintingScalesSmoothlyAndMirrorsReversedRectangles) {
  const QString source = SavePicture(MakeLogo(120, 80), "png", "PNG");
  CDrawImage picture;
  ASSERT_TRUE(picture.LoadPicture(source));
  CRasterImage& raster = *picture.m_pRaster;
  const QImage working = raster.LoadedImage();

  // Half size on a colour device: the 1-bit picture turns into smooth greys.
  QImage half(60, 40, QImage::Format_RGB32);
  half.fill(Qt::white);
  {
    QPainter p(&half);
    EXPECT_EQ(raster.Draw(p, QRectF(0, 0, 60, 40)), 80);
  }
  int greys = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 60; ++x)
      greys += qGray(half.pixel(x, y)) > 20 && qGray(half.pixel(x, y)) < 235;
  EXPECT_GT(greys, 100);

  // A rectangle given right to left mirrors the picture.
  QImage mirrored(120, 80, QImage::Format_RGB32);
  {
    QPainter p(&mirrored);
    raster.Draw(p, QRectF(QPointF(120, 0), QPointF(0, 80)));
  }
  EXPECT_EQ(mirrored, working.mirrored(true, false).convertToFormat(QImage::Format_RGB32));

  CRasterImage empty;
  QPainter p(&mirrored);
  EXPECT_EQ(empty.Draw(p, QRectF(0, 0, 10, 10)), 0);
  p.end();
  QFile::remove(picture.m_strImageFile);
  QFile::remove(source);
}

}  // namespace
}  // namespace lwtest
