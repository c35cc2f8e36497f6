// The picture loading path: the first byte chooses the extension (and so the decoder), the
// rest is the file. Loads it; a picture that loads is also converted to its 1-bit working
// file as picture insertion does, when it is small enough to keep the fuzzer fast.
#include "base/TempFiles.h"
#include "document/CDrawImage.h"
#include "document/CRasterImage.h"
#include "document/MessageSeam.h"

#include <QFile>
#include <QGuiApplication>

#include <cstdint>
#include <cstdlib>

namespace {

const char* const kExtensions[] = {".bmp", ".jpg", ".png", ".tif", ".gif"};

// The application object lives until the process ends: destroyed among the exit handlers it
// would outlive parts of Qt it needs.
void EnsureApp() {
  static QGuiApplication* app = nullptr;
  if (app) return;
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "fuzz_picture_load";
  static char* argv[] = {name, nullptr};
  app = new QGuiApplication(argc, argv);
  lw::SetMessageHandler([](int, const QString&) {});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  EnsureApp();
  const char* extension = kExtensions[data[0] % (sizeof kExtensions / sizeof *kExtensions)];
  const std::string path = lw::MakeTempFile("fuzz", extension);
  if (path.empty()) return 0;
  const QString name = QFile::decodeName(QByteArray::fromStdString(path));
  {
    QFile file(name);
    if (file.open(QIODevice::WriteOnly))
      file.write(reinterpret_cast<const char*>(data) + 1, qint64(size - 1));
  }
  CRasterImage raster;
  if (raster.Load(name) && qint64(raster.Width()) * raster.Height() <= 250000) {
    CDrawImage picture;
    if (picture.LoadPicture(name) && !picture.m_strImageFile.isEmpty())
      QFile::remove(picture.m_strImageFile);
  }
  QFile::remove(name);
  return 0;
}
