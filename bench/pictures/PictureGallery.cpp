// Writes the before and after images of the picture documentation: a photograph, a logo and a
// scanned signature, each as made and as its 1-bit working file.
//   picture_gallery OUT_DIR
#include "SamplePictures.h"
#include "base/TempFiles.h"
#include "document/CDrawImage.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: picture_gallery OUT_DIR\n");
    return 2;
  }
  const QDir out(QString::fromLocal8Bit(argv[1]));
  struct Sample {
    const char* name;
    QImage image;
    const char* format;
  };
  const Sample samples[] = {
      {"photo", lwtest::MakePhoto(360, 240), "jpg"},
      {"logo", lwtest::MakeLogo(360, 120), "png"},
      {"signature", lwtest::MakeSignature(360, 110), "jpg"},
  };
  for (const Sample& s : samples) {
    const QString source = QFile::decodeName(
        QByteArray::fromStdString(lw::MakeTempFile("gallery", std::string(".") + s.format)));
    s.image.save(source, s.format, 92);
    CDrawImage picture;
    if (!picture.LoadPicture(source)) {
      std::fprintf(stderr, "%s: not converted\n", s.name);
      return 1;
    }
    s.image.save(out.filePath(QStringLiteral("%1-before.png").arg(s.name)));
    QImage after(picture.m_strImageFile);
    after.convertToFormat(QImage::Format_Mono)
        .save(out.filePath(QStringLiteral("%1-after.png").arg(s.name)));
    QFile::remove(source);
    QFile::remove(picture.m_strImageFile);
  }
  return 0;
}
