#include "document/PageImage.h"

#include "document/CDrawDoc.h"
#include "document/DocGlobals.h"
#include "faxtiff/FaxTiff.h"

#include <QFile>
#include <QSaveFile>
#include <QtEndian>

namespace lw {
namespace {

QSize PageSizeOf(const CDrawDoc& doc) {
  return doc.m_sizePage.isEmpty() ? QSize(kPageWidthPortrait, kPageHeightPortrait) : doc.m_sizePage;
}

template <typename T>
void Put(QByteArray& out, int at, T value) {
  qToLittleEndian(value, out.data() + at);
}

}  // namespace

void PaintPage(RenderContext& dc, CDrawDoc& doc, ViewPort* view) {
  const QSize size = PageSizeOf(doc);
  const int left = -(size.width() / 2);
  const int bottom = -(size.height() / 2);
  g_rcPage = {left, bottom, left + size.width(), bottom + size.height()};
  // Paper is white, and the page image starts white: only the screen paints the page.
  if (dc.target == RenderTarget::Screen) {
    QPainter& p = *dc.painter;
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(dc.MapRect(g_rcPage), Qt::white);
    p.restore();
  }
  doc.DrawAll(dc, view);
}

QImage RenderPageImage(CDrawDoc& doc) {
  QImage image(kFaxImageWidth, kFaxImageHeight, QImage::Format_Mono);
  image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  image.fill(1);  // white beyond the page too (a landscape page is cut at the image edge)
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setRenderHint(QPainter::TextAntialiasing, false);
  RenderContext dc(&painter, RenderTarget::Upload, PageImageTransform(PageSizeOf(doc)));
  PaintPage(dc, doc, nullptr);
  painter.end();
  return image;
}

QByteArray PageBmpBytes(const QImage& source) {
  const QImage image = source.format() == QImage::Format_Mono
                           ? source
                           : source.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
  // Palette index 1 must be white; an image with the opposite table is inverted.
  const bool inverted = image.colorCount() >= 2 && qGray(image.color(1)) < qGray(image.color(0));
  const int width = image.width(), height = image.height();
  const int rowBytes = ((width + 31) / 32) * 4;
  const int headerBytes = 14 + 40 + 8;
  QByteArray out(headerBytes + qsizetype(rowBytes) * height, '\0');
  out[0] = 'B';
  out[1] = 'M';
  Put<quint32>(out, 2, quint32(out.size()));
  Put<quint32>(out, 10, quint32(headerBytes));
  Put<quint32>(out, 14, 40);
  Put<qint32>(out, 18, width);
  Put<qint32>(out, 22, height);  // positive: rows bottom-up
  Put<quint16>(out, 26, 1);
  Put<quint16>(out, 28, 1);
  Put<quint32>(out, 30, 0);  // no compression
  Put<quint32>(out, 34, quint32(rowBytes * height));
  Put<qint32>(out, 38, kBmpPixelsPerMetre);
  Put<qint32>(out, 42, kBmpPixelsPerMetre);
  Put<quint32>(out, 46, 2);
  Put<quint32>(out, 50, 2);
  Put<quint32>(out, 54, 0x00000000);  // entry 0 black
  Put<quint32>(out, 58, 0x00FFFFFF);  // entry 1 white
  const int usedBytes = (width + 7) / 8;
  const uchar lastMask = uchar(0xFF << ((8 - width % 8) % 8));
  for (int y = 0; y < height; ++y) {
    const uchar* src = image.constScanLine(y);
    uchar* dst = reinterpret_cast<uchar*>(out.data()) + headerBytes + qsizetype(rowBytes) * (height - 1 - y);
    for (int b = 0; b < usedBytes; ++b) dst[b] = inverted ? uchar(~src[b]) : src[b];
    if (usedBytes > 0) dst[usedBytes - 1] &= lastMask;  // padding bits stay 0
  }
  return out;
}

bool WritePageBmp(const QImage& image, const QString& path, QString* error) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    if (error) *error = QStringLiteral("%1: %2").arg(path, file.errorString());
    return false;
  }
  const QByteArray bytes = PageBmpBytes(image);
  if (file.write(bytes) != bytes.size() || !file.commit()) {
    if (error) *error = QStringLiteral("%1: %2").arg(path, file.errorString());
    return false;
  }
  return true;
}

QString MakeFaxPageImage(CDrawDoc& doc, const QString& bmpPath, QString* error) {
  const QImage image = RenderPageImage(doc);
  if (!WritePageBmp(image, bmpPath, error)) {
    QFile::remove(bmpPath);
    return {};
  }
  const std::string tiff =
      faxtiff::ConvertBmpToFaxTiff(faxtiff::kModeT6, QFile::encodeName(bmpPath).toStdString());
  QFile::remove(bmpPath);
  if (tiff.empty()) {
    if (error)
      *error = QStringLiteral("fax image: %1").arg(QString::fromStdString(faxtiff::LastErrorText()));
    return {};
  }
  return QFile::decodeName(QByteArray::fromStdString(tiff));
}

}  // namespace lw
