#pragma once
// Shared pieces of the picture tests: fresh program state with the messages recorded, the
// picture loader of the cover page reader installed, and picture files written into the
// private temporary folder.

#include <gtest/gtest.h>

#include <FreeImage.h>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QList>

#include "base/TempFiles.h"
#include "common/TestSupport.h"
#include "document/DocGlobals.h"
#include "document/MessageSeam.h"
#include "document/PictureLoad.h"

namespace lwtest {

class PictureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lw::ResetAllState();
    lw::InstallPictureLoader();
    m_previous = lw::SetMessageHandler([this](int id, const QString&) { messages.append(id); });
  }
  void TearDown() override {
    lw::SetMessageHandler(m_previous);
    lw::ResetAllState();
  }

  QList<int> messages;

 private:
  lw::MessageHandler m_previous;
};

inline QString TempDir() { return QString::fromStdString(lw::PrivateTempDir()); }

// Files in the private temporary folder.
inline QStringList TempFiles() { return QDir(TempDir()).entryList(QDir::Files); }

// Writes `image` as a new temporary file with the given extension and format ("JPG", "PNG",
// "BMP", "TIFF"); returns its path.
inline QString SavePicture(const QImage& image, const char* extension, const char* format,
                           int quality = 90) {
  const QString path = QFile::decodeName(
      QByteArray::fromStdString(lw::MakeTempFile("src", std::string(".") + extension)));
  EXPECT_TRUE(image.save(path, format, quality)) << path.toStdString();
  return path;
}

// Writes `image` as a TIFF file through the image library (Qt has no TIFF writer here).
inline QString SaveTiff(const QImage& image) {
  const QString path =
      QFile::decodeName(QByteArray::fromStdString(lw::MakeTempFile("src", ".tif")));
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  FIBITMAP* dib = FreeImage_ConvertFromRawBits(
      const_cast<uchar*>(rgb.constBits()), rgb.width(), rgb.height(), int(rgb.bytesPerLine()), 32,
      FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK, TRUE);
  FIBITMAP* rgb24 = FreeImage_ConvertTo24Bits(dib);
  EXPECT_TRUE(FreeImage_Save(FIF_TIFF, rgb24, QFile::encodeName(path).constData(), TIFF_DEFAULT));
  FreeImage_Unload(rgb24);
  FreeImage_Unload(dib);
  return path;
}

// Writes raw bytes as a new temporary file with the given extension.
inline QString SaveBytes(const QByteArray& bytes, const char* extension) {
  const QString path = QFile::decodeName(
      QByteArray::fromStdString(lw::MakeTempFile("src", std::string(".") + extension)));
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
  return path;
}

// The share of black pixels of a 1-bit (or any) image inside `rect`.
inline double BlackShare(const QImage& image, const QRect& rect) {
  int black = 0;
  for (int y = rect.top(); y <= rect.bottom(); ++y)
    for (int x = rect.left(); x <= rect.right(); ++x) black += qGray(image.pixel(x, y)) < 128;
  return double(black) / (rect.width() * rect.height());
}

}  // namespace lwtest
