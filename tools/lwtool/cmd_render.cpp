// lwtool render IN.lwt OUT.png|OUT.pdf|OUT.tif [--target screen|print|upload]: paints the page.
//   .png  one pixel per page unit; target screen unless given (upload gives the 1-bit page
//         image exactly as sent)
//   .pdf  through Qt's PDF writer with the printer mapping (218 page units per inch) on the
//         document's paper; target print unless given
//   .tif  the fax image exactly as the upload sends it (target upload only)
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include "Command.h"
#include "base/TempFiles.h"
#include "document/CDrawDoc.h"
#include "document/DocFile.h"
#include "document/DocGlobals.h"
#include "document/FontMapping.h"
#include "document/MessageSeam.h"
#include "document/PageImage.h"
#include "document/RenderContext.h"

namespace {

constexpr int kPdfResolution = 1200;

bool ParseTarget(const QString& name, lw::RenderTarget& target) {
  if (name == u"screen") target = lw::RenderTarget::Screen;
  else if (name == u"print") target = lw::RenderTarget::Print;
  else if (name == u"upload") target = lw::RenderTarget::Upload;
  else return false;
  return true;
}

// The paper of the document's paper index, as the printer would be given it.
QPageSize PaperOf(int paperIndex, bool letterRegion) {
  switch (paperIndex) {
    case 1:
      return QPageSize(letterRegion ? QPageSize::Legal : QPageSize::JisB4);
    case 2:
      return QPageSize(letterRegion ? QPageSize::Tabloid : QPageSize::A3);
    default:
      return QPageSize(letterRegion ? QPageSize::Letter : QPageSize::A4);
  }
}

bool CopyInto(const QString& from, const QString& to, QString& why) {
  QFile in(from);
  QSaveFile out(to);
  const bool ok = in.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly) &&
                  out.write(in.readAll()) == in.size() && out.commit();
  why = out.errorString();
  return ok;
}

int RenderPng(CDrawDoc& doc, lw::RenderTarget target, const QString& out) {
  QImage image;
  if (target == lw::RenderTarget::Upload) {
    image = lw::RenderPageImage(doc);
  } else {
    image = QImage(doc.m_sizePage, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    lw::RenderContext dc(&painter, target, lw::PageImageTransform(doc.m_sizePage));
    lw::PaintPage(dc, doc, nullptr);
  }
  QSaveFile file(out);
  if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit())
    return lwtool::Fail(QStringLiteral("%1: could not write: %2").arg(out, file.errorString()));
  return 0;
}

int RenderPdf(CDrawDoc& doc, lw::RenderTarget target, const QString& out) {
  // Written beside the target first so that a failed render leaves OUT as it was.
  QSaveFile file(out);
  if (!file.open(QIODevice::WriteOnly))
    return lwtool::Fail(QStringLiteral("%1: could not write: %2").arg(out, file.errorString()));
  {
    QPdfWriter pdf(&file);
    pdf.setCreator(QStringLiteral("Leafwright lwtool"));
    pdf.setTitle(QFileInfo(out).completeBaseName());
    pdf.setResolution(kPdfResolution);
    pdf.setPageLayout(QPageLayout(PaperOf(g_nPaperIndex, g_bLetterRegion != 0),
                                  g_bLandscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                  QMarginsF(0, 0, 0, 0)));
    QPainter painter;
    if (!painter.begin(&pdf)) return lwtool::Fail(QStringLiteral("%1: cannot start a PDF").arg(out));
    lw::RenderContext dc(&painter, target,
                         lw::PrintTransform(doc.m_sizePage, pdf.resolution(), pdf.resolution()));
    lw::PaintPage(dc, doc, nullptr);
    painter.end();
  }
  if (!file.commit())
    return lwtool::Fail(QStringLiteral("%1: could not write: %2").arg(out, file.errorString()));
  return 0;
}

int RenderTiff(CDrawDoc& doc, const QString& out) {
  const std::string bmp = lw::MakeTempFile("Bmp", ".bmp");
  if (bmp.empty()) return lwtool::Fail(QStringLiteral("no private temporary folder"));
  QString error;
  const QString tiff = lw::MakeFaxPageImage(doc, QFile::decodeName(QByteArray::fromStdString(bmp)), &error);
  if (tiff.isEmpty()) return lwtool::Fail(error);
  QString why;
  const bool copied = CopyInto(tiff, out, why);
  QFile::remove(tiff);
  if (!copied) return lwtool::Fail(QStringLiteral("%1: could not write: %2").arg(out, why));
  return 0;
}

int Render(const QStringList& args) {
  const QString usage = QStringLiteral("usage: lwtool render IN.lwt OUT.png|OUT.pdf|OUT.tif [--target screen|print|upload]");
  QStringList files;
  QString targetName;
  for (int i = 0; i < args.size(); ++i) {
    if (args[i] == u"--target") {
      if (i + 1 >= args.size()) return lwtool::Fail(usage);
      targetName = args[++i];
    } else if (args[i].startsWith(u"--target=")) {
      targetName = args[i].mid(9);
    } else {
      files << args[i];
    }
  }
  if (files.size() != 2) return lwtool::Fail(usage);
  const QString in = files[0], out = files[1];
  const QString suffix = QFileInfo(out).suffix().toLower();

  lw::RenderTarget target = suffix == u"pdf"   ? lw::RenderTarget::Print
                            : suffix == u"tif" || suffix == u"tiff" ? lw::RenderTarget::Upload
                                                                    : lw::RenderTarget::Screen;
  if (!targetName.isEmpty() && !ParseTarget(targetName, target))
    return lwtool::Fail(QStringLiteral("unknown target '%1' (screen, print or upload)").arg(targetName));
  if ((suffix == u"tif" || suffix == u"tiff") && target != lw::RenderTarget::Upload)
    return lwtool::Fail(QStringLiteral("a .tif is the fax image as uploaded: only --target upload"));
  if (suffix != u"png" && suffix != u"pdf" && suffix != u"tif" && suffix != u"tiff")
    return lwtool::Fail(QStringLiteral("%1: the output must end in .png, .pdf or .tif").arg(out));

  lw::InstallFontSubstitutions();
  const lw::MessageHandler previous = lw::SetMessageHandler([](int, const QString&) {});
  CDrawDoc doc;
  const lw::FileResult r = lw::ReadDocumentFile(in, doc);
  lw::SetMessageHandler(previous);
  if (!r.ok()) return lwtool::Fail(r.Describe(in));

  int status = 0;
  if (suffix == u"png") status = RenderPng(doc, target, out);
  else if (suffix == u"pdf") status = RenderPdf(doc, target, out);
  else status = RenderTiff(doc, out);
  doc.DeleteAllObjects();  // the extracted picture files are not needed
  return status;
}

}  // namespace

LWTOOL_COMMAND("render", "render IN.lwt OUT.png|OUT.pdf|OUT.tif [--target screen|print|upload]", Render);
