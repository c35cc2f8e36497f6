// CRasterImage: loading by extension with the unsupported-format message, the size guard
// before decoding, work bitmaps with their surface, SaveWork's BMP and the fax page image.
//
// Invariants under test:
// - the decoder is chosen by the extension alone; an extension no decoder reads reports text
//   62575, a file its decoder cannot read fails silently;
// - a header declaring more than 256 megapixels is refused before decoding;
// - SaveWork writes a complete BMP and SavedBytes is its size;
// - MakeFaxImage gives a 1728 x 2332 T.6 TIFF holding what was painted.

#include "PictureTestSupport.h"
#include "SamplePictures.h"

#include "document/CRasterImage.h"
#include "document/PictureLoadHeader.h"

#include <tiffio.h>
#include <QPainter>
#include <QtEndian>

namespace lwtest {
namespace {

using RasterImageTest = PictureTest;

template <typename T>
void Put(QByteArray& bytes, int at, T value) {
  qToLittleEndian(value, bytes.data() + at);
}

// A BMP file header and info header declaring w x h at `bpp` bits, with no pixels behind them.
QByteArray BmpHeaderOnly(qint32 w, qint32 h, quint16 bpp) {
  QByteArray b(62, '\0');
  b[0] = 'B';
  b[1] = 'M';
  Put<quint32>(b, 2, 62);
  Put<quint32>(b, 10, 62);
  Put<quint32>(b, 14, 40);
  Put<qint32>(b, 18, w);
  Put<qint32>(b, 22, h);
  Put<quint16>(b, 26, 1);
  Put<quint16>(b, 28, bpp);
  Put<quint32>(b, 58, 0x00FFFFFF);
  return b;
}

quint32 Crc32(const QByteArray& data) {
  quint32 crc = 0xFFFFFFFFu;
  for (char c : data) {
    crc ^= quint8(c);
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

QByteArray PngChunk(const char* type, const QByteArray& data) {
  const QByteArray chunk = QByteArray(type) + data;
  QByteArray length(4, '\0'), crc(4, '\0');
  qToBigEndian<quint32>(quint32(data.size()), length.data());
  qToBigEndian(Crc32(chunk), crc.data());
  return length + chunk + crc;
}

// A PNG declaring w x h, 8-bit RGB, with an empty image data chunk.
QByteArray PngHeaderOnly(quint32 w, quint32 h) {
  QByteArray header(13, '\0');
  qToBigEndian(w, header.data());
  qToBigEndian(h, header.data() + 4);
  header[8] = 8;  // bit depth
  header[9] = 2;  // RGB
  return QByteArray("\x89PNG\r\n\x1a\n", 8) + PngChunk("IHDR", header) + PngChunk("IDAT", {}) +
         PngChunk("IEND", {});
}

// A GIF whose screen and first frame are 65535 x 65535.
QByteArray GifHeaderOnly() {
  QByteArray b("GIF89a");
  b += QByteArray("\xff\xff\xff\xff\x00\x00\x00", 7);               // screen, no colour table
  b += QByteArray("\x2c\x00\x00\x00\x00\xff\xff\xff\xff\x00", 10);  // frame descriptor
  return b;
}

// A little-endian TIFF with one directory: w x h, 8-bit grey, one strip that is not there.
QByteArray TiffHeaderOnly(quint32 w, quint32 h) {
  QByteArray b(8, '\0');
  b[0] = 'I';
  b[1] = 'I';
  Put<quint16>(b, 2, 42);
  Put<quint32>(b, 4, 8);
  const quint16 entries = 7;
  QByteArray ifd(2 + entries * 12 + 4, '\0');
  Put<quint16>(ifd, 0, entries);
  const quint16 tags[entries][2] = {{256, 4}, {257, 4}, {258, 3}, {262, 3},
                                    {273, 4}, {278, 4}, {279, 4}};
  const quint32 values[entries] = {w, h, 8, 1, 200, h, w};
  for (int i = 0; i < entries; ++i) {
    Put<quint16>(ifd, 2 + i * 12, tags[i][0]);
    Put<quint16>(ifd, 4 + i * 12, tags[i][1]);
    Put<quint32>(ifd, 6 + i * 12, 1);
    Put<quint32>(ifd, 10 + i * 12, values[i]);
  }
  return b + ifd;
}

TEST_F(RasterImageTest, FormatIsChosenByTheExtensionAndUnknownOnesReportText62575) {
  const QImage logo = MakeLogo(60, 20);
  const QString jpegAsBmp = SavePicture(logo, "bmp", "JPG");
  const QString pngUpper = SavePicture(logo, "PNG", "PNG");
  const QString unknown = SavePicture(logo, "xyz", "PNG");
  const QString noExtension = SavePicture(logo, "", "PNG");
  struct Case {
    const char* name;
    QString path;
    bool loads;
    bool message;
  } cases[] = {
      {"capital extension is recognised", pngUpper, true, false},
      {"known wrong extension fails silently", jpegAsBmp, false, false},
      {"unknown extension reports the text", unknown, false, true},
      {"a missing file of a known format fails silently", TempDir() + "/absent.jpg", false, false},
      {"empty path", QString(), false, false},
      {"path longer than 260 bytes", TempDir() + "/" + QString(300, 'a') + ".png", false, false},
  };
  for (const Case& c : cases) {
    messages.clear();
    CRasterImage raster;
    EXPECT_EQ(raster.Load(c.path), c.loads) << c.name;
    if (c.message) {
      EXPECT_EQ(messages, QList<int>{CRasterImage::kTextUnsupportedPicture}) << c.name;
    } else {
      EXPECT_TRUE(messages.isEmpty()) << c.name;
    }
    EXPECT_EQ(raster.Width(), c.loads ? 60 : 0) << c.name;
  }
  EXPECT_TRUE(noExtension.endsWith('.'));  // "src.....": no extension at all
  CRasterImage raster;
  EXPECT_FALSE(raster.Load(noExtension));
  EXPECT_EQ(raster.Format(), -1);
  for (const QString& p : {jpegAsBmp, pngUpper, unknown, noExtension}) QFile::remove(p);
}

TEST_F(RasterImageTest, HeadersDeclaringMoreThan256MegapixelsAreRefusedBeforeDecoding) {
  struct Case {
    const char* name;
    QByteArray bytes;
    const char* extension;
    long long width, height;  // as declared
  } cases[] = {
      {"20000 x 20000 BMP", BmpHeaderOnly(20000, 20000, 1), "bmp", 20000, 20000},
      {"16385 x 16384 BMP", BmpHeaderOnly(16385, 16384, 1), "bmp", 16385, 16384},
      {"negative-height BMP of 70000 rows", BmpHeaderOnly(4000, -70000, 1), "bmp", 4000, 70000},
      {"70000 x 70000 PNG", PngHeaderOnly(70000, 70000), "png", 70000, 70000},
      {"65535 x 65535 GIF", GifHeaderOnly(), "gif", 65535, 65535},
      {"100000 x 100000 TIFF", TiffHeaderOnly(100000, 100000), "tif", 100000, 100000},
  };
  for (const Case& c : cases) {
    const QString path = SaveBytes(c.bytes, c.extension);
    CRasterImage raster;
    EXPECT_FALSE(raster.Load(path)) << c.name;
    EXPECT_TRUE(messages.isEmpty()) << c.name;
    // Refused by the size read from the header, not by a decoder failing on missing pixels.
    lw::picture::DeclaredSize size;
    EXPECT_TRUE(lw::picture::ReadDeclaredSize(path, raster.Format(), &size)) << c.name;
    EXPECT_EQ(size.width, c.width) << c.name;
    EXPECT_EQ(size.height, c.height) << c.name;
    EXPECT_FALSE(lw::picture::IsAcceptableSize(size)) << c.name;
    QFile::remove(path);
  }
  EXPECT_TRUE(lw::picture::IsAcceptableSize({16384, 16384, 32}));
  EXPECT_FALSE(lw::picture::IsAcceptableSize({16384, 16384, 64}));  // 2 GB of bitmap
  EXPECT_FALSE(lw::picture::IsAcceptableSize({0, 10, 8}));
}

TEST_F(RasterImageTest, TruncatedAndCorruptFilesFailWithoutHarm) {
  const QImage photo = MakePhoto(120, 80);
  for (const auto& [ext, format] :
       {std::pair{"jpg", "JPG"}, {"png", "PNG"}, {"bmp", "BMP"}, {"tif", "TIFF"}}) {
    const QString whole =
        QByteArray(ext) == "tif" ? SaveTiff(photo) : SavePicture(photo, ext, format);
    const QByteArray bytes = lwtest::ReadAll(whole);
    for (const qsizetype keep : {qsizetype(0), qsizetype(10), bytes.size() / 3}) {
      const QString cut = SaveBytes(bytes.left(keep), ext);
      CRasterImage raster;
      raster.Load(cut);  // may or may not decode a part; must not crash
      if (raster.Width() > 0) {
        EXPECT_EQ(raster.Width(), 120) << ext;
      }
      QFile::remove(cut);
    }
    QByteArray garbled = bytes;
    for (qsizetype i = 40; i < garbled.size(); i += 7) garbled[i] = char(garbled[i] ^ 0x5A);
    const QString bad = SaveBytes(garbled, ext);
    CRasterImage raster;
    raster.Load(bad);
    QFile::remove(bad);
    QFile::remove(whole);
  }
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(RasterImageTest, SaveWorkWritesA1BitBmpOfTheSurface) {
  CRasterImage raster;
  EXPECT_EQ(raster.SavedBytes(), 0);
  EXPECT_EQ(raster.CreateSurface(), nullptr);  // no work bitmap yet
  ASSERT_TRUE(raster.CreateMonoWork(100, 50));
  QImage* surface = raster.CreateSurface();
  ASSERT_NE(surface, nullptr);
  EXPECT_EQ(surface->pixelIndex(0, 0), 0);  // zeroed: black
  surface->fill(1);
  surface->setPixel(3, 0, 0);  // one black pixel on the top row
  const QString path = TempDir() + "/work.bmp";
  ASSERT_TRUE(raster.SaveWork(path));
  const QByteArray bmp = ReadAll(path);
  EXPECT_EQ(raster.SavedBytes(), 862);  // 62 bytes of headers and palette + 16 x 50
  ASSERT_EQ(bmp.size(), 862);
  EXPECT_EQ(qFromLittleEndian<quint32>(bmp.constData() + 10), 62u);
  EXPECT_EQ(qFromLittleEndian<quint16>(bmp.constData() + 28), 1);
  EXPECT_EQ(qFromLittleEndian<quint32>(bmp.constData() + 54), 0x000000u);  // entry 0 black
  EXPECT_EQ(qFromLittleEndian<quint32>(bmp.constData() + 58) & 0xFFFFFF, 0xFFFFFFu);
  const QImage back(path);
  EXPECT_EQ(back.size(), QSize(100, 50));
  EXPECT_EQ(qGray(back.pixel(3, 0)), 0);
  EXPECT_EQ(qGray(back.pixel(4, 0)), 255);
  EXPECT_EQ(qGray(back.pixel(3, 49)), 255);
  QFile::remove(path);

  EXPECT_FALSE(raster.CreateMonoWork(0, 10));
  EXPECT_FALSE(raster.CreateColorWork(20000, 20000));
  EXPECT_FALSE(raster.SaveWork(path));
  EXPECT_EQ(raster.SavedBytes(), 0);
}

TEST_F(RasterImageTest, ColourWorkKeepsTheColoursOfItsSurface) {
  CRasterImage raster;
  ASSERT_TRUE(raster.CreateColorWork(4, 2));
  QImage* surface = raster.CreateSurface();
  ASSERT_NE(surface, nullptr);
  surface->fill(QColor(10, 200, 30));
  surface->setPixelColor(0, 0, QColor(250, 5, 6));
  const QString path = TempDir() + "/colour.bmp";
  ASSERT_TRUE(raster.SaveWork(path));
  EXPECT_EQ(raster.SavedBytes(), 54 + 12 * 2);
  const QImage back(path);
  EXPECT_EQ(back.pixelColor(0, 0), QColor(250, 5, 6));
  EXPECT_EQ(back.pixelColor(3, 1), QColor(10, 200, 30));
  QFile::remove(path);
}

TEST_F(RasterImageTest, MakeFaxImageEncodesThePaintedPage) {
  CRasterImage raster;
  ASSERT_TRUE(raster.CreateMonoWork(1728, 2332));
  QImage* surface = raster.CreateSurface();
  ASSERT_NE(surface, nullptr);
  surface->fill(1);
  {
    QPainter p(surface);
    p.fillRect(QRect(100, 200, 300, 40), Qt::black);
  }
  const QString bmp = TempDir() + "/page.bmp";
  const QString fax = raster.MakeFaxImage(bmp);
  ASSERT_FALSE(fax.isEmpty());
  EXPECT_TRUE(QFileInfo(fax).fileName().startsWith("fax"));
  TIFF* tiff = TIFFOpen(QFile::encodeName(fax).constData(), "r");
  ASSERT_NE(tiff, nullptr);
  uint32_t w = 0, h = 0;
  uint16_t compression = 0;
  TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &w);
  TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &h);
  TIFFGetField(tiff, TIFFTAG_COMPRESSION, &compression);
  EXPECT_EQ(w, 1728u);
  EXPECT_EQ(h, 2332u);
  EXPECT_EQ(compression, COMPRESSION_CCITTFAX4);
  std::vector<uint32_t> pixels(size_t(w) * h);
  ASSERT_TRUE(TIFFReadRGBAImageOriented(tiff, w, h, pixels.data(), ORIENTATION_TOPLEFT, 0));
  TIFFClose(tiff);
  auto black = [&](int x, int y) { return TIFFGetR(pixels[size_t(y) * w + x]) == 0; };
  EXPECT_TRUE(black(100, 200));
  EXPECT_TRUE(black(399, 239));
  EXPECT_FALSE(black(99, 200));
  EXPECT_FALSE(black(400, 239));
  EXPECT_FALSE(black(1727, 2331));
  QFile::remove(fax);
  QFile::remove(bmp);
}

TEST_F(RasterImageTest, TransparentPicturesLieOnWhitePaper) {
  QImage image(40, 20, QImage::Format_ARGB32);
  image.fill(Qt::transparent);  // transparent black underneath
  QPainter(&image).fillRect(QRect(0, 0, 10, 20), Qt::black);
  const QString path = SavePicture(image, "png", "PNG");
  CRasterImage raster;
  ASSERT_TRUE(raster.Load(path));
  const QImage loaded = raster.LoadedImage();
  EXPECT_EQ(qGray(loaded.pixel(5, 5)), 0);
  EXPECT_EQ(qGray(loaded.pixel(30, 5)), 255);
  QFile::remove(path);
}

}  // namespace
}  // namespace lwtest
