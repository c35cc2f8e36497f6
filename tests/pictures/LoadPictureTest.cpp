// CDrawImage::LoadPicture: every readable picture becomes a 1-bit BMP working file of the
// same pixel size, and the black and white version is faithful: solid areas stay solid,
// tones keep their lightness, paper becomes white.
//
// Invariants under test:
// - the working file is a 1-bit BMP named "Bmp*.bmp" in the private temporary folder, and no
//   intermediate file is left behind;
// - a black-and-white picture comes through unchanged;
// - flat black and white stay free of dither dots; grey levels keep their lightness.

#include "PictureTestSupport.h"
#include "SamplePictures.h"

#include "document/CDrawImage.h"
#include "document/CRasterImage.h"

#include <QFileInfo>
#include <QPainter>
#include <QtEndian>

namespace lwtest {
namespace {

using LoadPictureTest = PictureTest;

// Loads `source` as a new picture; returns its 1-bit working image (null on failure) and
// deletes the working file.
QImage Convert(const QString& source, CDrawImage& picture) {
  if (!picture.LoadPicture(source)) return {};
  QImage image(picture.m_strImageFile);
  QFile::remove(picture.m_strImageFile);
  return image;
}

TEST_F(LoadPictureTest, SmallColourJpegBecomesA1BitBmpOfTheSameSize) {
  const QString source = SavePicture(MakePhoto(100, 50), "jpg", "JPG");
  const QStringList before = TempFiles();
  CDrawImage picture;
  ASSERT_TRUE(picture.LoadPicture(source));
  const QFileInfo work(picture.m_strImageFile);
  EXPECT_EQ(work.absolutePath(), QDir(TempDir()).absolutePath());
  EXPECT_TRUE(work.fileName().startsWith("Bmp"));
  EXPECT_TRUE(work.fileName().endsWith(".bmp"));
  EXPECT_EQ(work.size(), 62 + 16 * 50);
  EXPECT_EQ(picture.m_pRaster->SavedBytes(), 62 + 16 * 50);
  EXPECT_EQ(picture.m_pRaster->Width(), 100);
  EXPECT_EQ(picture.m_pRaster->Height(), 50);
  const QByteArray bmp = ReadAll(picture.m_strImageFile);
  EXPECT_EQ(qFromLittleEndian<quint16>(bmp.constData() + 28), 1);  // bits per pixel
  // Only the working file is new: the double-size colour file is gone.
  QStringList added = TempFiles();
  for (const QString& f : before) added.removeAll(f);
  EXPECT_EQ(added, QStringList{work.fileName()});
  QFile::remove(picture.m_strImageFile);
  QFile::remove(source);
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(LoadPictureTest, PicturesAsLargeAsThePageAreConvertedInOneStep) {
  const QString source = SavePicture(MakePhoto(2000, 3000), "jpg", "JPG", 80);
  const QStringList before = TempFiles();
  CDrawImage picture;
  ASSERT_TRUE(picture.LoadPicture(source));
  EXPECT_EQ(QFileInfo(picture.m_strImageFile).size(), 62 + 252 * 3000);
  EXPECT_EQ(picture.m_pRaster->Width(), 2000);
  EXPECT_EQ(picture.m_pRaster->Height(), 3000);
  EXPECT_EQ(TempFiles().size(), before.size() + 1);
  QFile::remove(picture.m_strImageFile);
  QFile::remove(source);
}

TEST_F(LoadPictureTest, ABlackAndWhitePictureComesThroughUnchanged) {
  QImage mono(77, 33, QImage::Format_Mono);
  mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  for (int y = 0; y < mono.height(); ++y)
    for (int x = 0; x < mono.width(); ++x) mono.setPixel(x, y, ((x * 7 + y * 3) % 5) < 2 ? 0 : 1);
  const QString source = SavePicture(mono, "bmp", "BMP");
  CDrawImage picture;
  const QImage out = Convert(source, picture);
  ASSERT_FALSE(out.isNull());
  EXPECT_EQ(out.convertToFormat(QImage::Format_RGB32), mono.convertToFormat(QImage::Format_RGB32));
  // And once more, as a read document does with its embedded working file.
  const QString again = SavePicture(out, "bmp", "BMP");
  CDrawImage second;
  EXPECT_EQ(Convert(again, second).convertToFormat(QImage::Format_RGB32),
            mono.convertToFormat(QImage::Format_RGB32));
  QFile::remove(source);
  QFile::remove(again);
}

TEST_F(LoadPictureTest, LogosKeepSolidBlackAndWhiteAreas) {
  const QImage logo = MakeLogo(600, 200);
  for (const auto& [ext, format] : {std::pair{"png", "PNG"}, {"jpg", "JPG"}}) {
    const QString source = SavePicture(logo, ext, format, 85);
    CDrawImage picture;
    const QImage out = Convert(source, picture);
    ASSERT_EQ(out.size(), logo.size()) << ext;
    // The margin above the logo and the black square in the disc, away from their edges.
    EXPECT_EQ(BlackShare(out, QRect(200, 2, 380, 25)), 0.0) << ext;
    EXPECT_EQ(BlackShare(out, QRect(30 + 48, 78, 44, 44)), 1.0) << ext;
    // The bold black lettering is solid in its strokes: the "V" is mostly black.
    EXPECT_GT(BlackShare(out, QRect(200, 60, 30, 60)), 0.3) << ext;
    // The flat red disc becomes an even mid-dark pattern.
    const double red = BlackShare(out, QRect(40, 110, 20, 40));
    EXPECT_GT(red, 0.4) << ext;
    EXPECT_LT(red, 0.8) << ext;
    QFile::remove(source);
  }
}

TEST_F(LoadPictureTest, GreyLevelsKeepTheirLightness) {
  // Eight flat grey fields from black to white.
  QImage fields(400, 60, QImage::Format_RGB32);
  for (int i = 0; i < 8; ++i)
    QPainter(&fields).fillRect(QRect(i * 50, 0, 50, 60), QColor::fromHsv(0, 0, i * 255 / 7));
  const QString source = SavePicture(fields, "png", "PNG");
  CDrawImage picture;
  const QImage out = Convert(source, picture);
  ASSERT_EQ(out.size(), fields.size());
  double previous = 2;
  for (int i = 0; i < 8; ++i) {
    const double black = BlackShare(out, QRect(i * 50 + 5, 5, 40, 50));
    const double expected = 1.0 - (i * 255 / 7) / 255.0;
    EXPECT_NEAR(black, expected, 0.06) << "field " << i;
    EXPECT_LT(black, previous + 1e-9) << "field " << i;
    previous = black;
  }
  QFile::remove(source);
}

TEST_F(LoadPictureTest, ScannedPaperBecomesWhiteAndTheStrokeStays) {
  const QString source = SavePicture(MakeSignature(400, 130), "jpg", "JPG", 85);
  CDrawImage picture;
  const QImage out = Convert(source, picture);
  ASSERT_EQ(out.size(), QSize(400, 130));
  EXPECT_LT(BlackShare(out, QRect(300, 2, 95, 25)), 0.002);  // blank paper, top right
  EXPECT_GT(BlackShare(out, QRect(0, 0, 400, 130)), 0.02);   // the pen strokes
  QFile::remove(source);
}

TEST_F(LoadPictureTest, UnreadablePicturesLeaveNoWorkingFile) {
  const QString garbage = SaveBytes(QByteArray(500, 'x'), "jpg");
  const QString unknown = SaveBytes(QByteArray(500, 'x'), "xyz");
  const QStringList before = TempFiles();
  CDrawImage picture;
  EXPECT_FALSE(picture.LoadPicture(garbage));
  EXPECT_TRUE(messages.isEmpty());
  EXPECT_FALSE(picture.LoadPicture(unknown));
  EXPECT_EQ(messages, QList<int>{CRasterImage::kTextUnsupportedPicture});
  ASSERT_NE(picture.m_pRaster, nullptr);  // a raster without a picture: paints nothing
  EXPECT_EQ(picture.m_pRaster->Width(), 0);
  EXPECT_TRUE(picture.m_strImageFile.isEmpty());
  EXPECT_EQ(TempFiles(), before);
  QFile::remove(garbage);
  QFile::remove(unknown);
}

}  // namespace
}  // namespace lwtest
