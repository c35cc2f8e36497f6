#include "document/PictureLoad.h"

#include "base/TempFiles.h"
#include "document/CDrawDoc.h"
#include "document/CDrawImage.h"
#include "document/CRasterImage.h"
#include "document/DocFile.h"

#include <QFile>

#include <memory>

namespace {

// A new empty file in the private temporary folder; empty on failure.
QString NewTempFile(const char* prefix, const char* suffix) {
  return QFile::decodeName(QByteArray::fromStdString(lw::MakeTempFile(prefix, suffix)));
}

// Copies `from` over the existing file `to`.
bool CopyOver(const QString& from, const QString& to) {
  QFile::remove(to);
  return QFile::copy(from, to);
}

}  // namespace

bool CDrawImage::LoadPicture(const QString& path) {
  m_pRaster = std::make_shared<CRasterImage>();
  CRasterImage& raster = *m_pRaster;
  if (!raster.Load(path)) return false;
  const int w = raster.Width(), h = raster.Height();
  QString name;
  if (w < lw::kPageWidthPortrait && h < lw::kPageHeightPortrait) {
    // Small picture: full colour at double size first, so that the reduction to one bit per
    // pixel has twice the samples to work from.
    if (!raster.CreateColorWork(2 * w, 2 * h) || !raster.CreateSurface()) return false;
    raster.DrawToSurface(0, 0, 2 * w, 2 * h);
    const QString colour = NewTempFile("Bmp", ".bmp");
    if (colour.isEmpty()) return false;
    const bool saved = raster.SaveWork(colour);
    if (!saved || !raster.Load(colour)) {
      QFile::remove(colour);
      return false;
    }
    const int half = raster.Width() / 2, halfHeight = raster.Height() / 2;
    const bool ok = raster.CreateMonoWork(half, halfHeight) && raster.CreateSurface();
    if (ok) raster.DrawToSurface(0, 0, half, halfHeight);
    QFile::remove(colour);
    if (!ok) return false;
  } else {
    // At least as large as the page: one step at its own size keeps memory bounded.
    if (!raster.CreateMonoWork(w, h) || !raster.CreateSurface()) return false;
    raster.DrawToSurface(0, 0, w, h);
  }
  name = NewTempFile("Bmp", ".bmp");
  if (name.isEmpty()) return false;
  raster.SaveWork(name);
  m_strImageFile = name;
  return raster.Load(name);
}

namespace lw {

void LoadEmbeddedPicture(CDrawImage& image) {
  const QString extracted = image.m_strImageFile;
  if (extracted.isEmpty()) {
    image.m_pRaster.reset();
    return;
  }
  // Each candidate is a new unique file with the extension of a decoder, holding the bytes.
  for (const char* suffix : {".bmp", ".tif", ".jpg"}) {
    const QString candidate = NewTempFile("lwt", suffix);
    if (candidate.isEmpty() || !CopyOver(extracted, candidate)) {
      if (!candidate.isEmpty()) QFile::remove(candidate);
      continue;
    }
    const bool loaded = image.LoadPicture(candidate);
    // The 1-bit BMP that LoadPicture made is not kept: the raster holds it, and the working
    // file stays the embedded bytes.
    if (image.m_strImageFile != extracted && image.m_strImageFile != candidate)
      QFile::remove(image.m_strImageFile);
    if (loaded) {
      QFile::remove(extracted);
      image.m_strImageFile = candidate;
      return;
    }
    image.m_strImageFile = extracted;
    QFile::remove(candidate);
  }
  image.m_pRaster.reset();
}

void InstallPictureLoader() { SetPictureLoader(&LoadEmbeddedPicture); }

}  // namespace lw
