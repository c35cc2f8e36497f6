// Makes the sample cover pages shipped with the program, with the program's own document
// code and file writer:
//
//   lw-make-samples OUTPUT_FOLDER
//
// writes business.lwt (a plain business cover page), business-logo.lwt (the same with a
// logo picture), landscape.lwt (a landscape page) and memo.lwt (a short internal memo).

#include "app/texts/TextLoader.h"
#include "base/TempFiles.h"
#include "document/CDrawDoc.h"
#include "document/CDrawImage.h"
#include "document/CDrawRect.h"
#include "document/DocFile.h"
#include "document/DocGlobals.h"
#include "document/FieldCatalogue.h"
#include "document/ObjectCreation.h"
#include "document/ObjectKind.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>
#include <utility>

using namespace lw;

namespace {

// Page frame: W x H page units, logical origin at the centre, y upwards. Rectangles below
// are given from the page's upper-left corner (x right, y down) and converted.
struct Page {
  int w, h;
  LRect At(int x, int y, int width, int height) const {
    return {x - w / 2, h / 2 - y, x + width - w / 2, h / 2 - (y + height)};
  }
};

LOGFONT Font(int height, int weight = 400, const char* face = "ＭＳ Ｐゴシック") {
  LOGFONT lf = DefaultTextFont();
  lf.lfHeight = -height;
  lf.lfWeight = weight;
  lf.lfFaceName = QString::fromUtf8(face);
  return lf;
}

void AddText(CDrawDoc& doc, const Page& p, int x, int y, int w, int h, const QString& text,
             const LOGFONT& font, int align = kAlignLeft) {
  auto box = MakeShape(ShapeTool::TextBox, p.At(x, y, w, h), font);
  box->m_strText = text;
  box->m_bEditableText = 1;
  box->m_nAlign = align;
  box->m_bLine = 0;
  box->m_bFill = 0;
  doc.AddObject(box.release());
}

void AddLine(CDrawDoc& doc, const Page& p, int x, int y, int w, int h, int penWidth) {
  auto line = MakeShape(ShapeTool::Line, p.At(x, y, w, h), DefaultTextFont());
  line->m_bLine = 1;
  line->m_lineSpec.lopnWidth = {penWidth, penWidth};
  doc.AddObject(line.release());
}

void AddRect(CDrawDoc& doc, const Page& p, int x, int y, int w, int h, int penWidth) {
  auto rect = MakeShape(ShapeTool::Rectangle, p.At(x, y, w, h), DefaultTextFont());
  rect->m_bLine = 1;
  rect->m_bFill = 0;
  rect->m_lineSpec.lopnWidth = {penWidth, penWidth};
  doc.AddObject(rect.release());
}

// A caption and its data field side by side, as field insertion places them.
void AddField(CDrawDoc& doc, const Page& p, int kind, int x, int y, int labelWidth,
              int fieldWidth) {
  const FieldKindInfo* info = FieldKindInfoFor(kind);
  if (!info) return;
  auto label = MakeFieldObject(kKindLabel, p.At(x, y, labelWidth, 40), DefaultTextFont());
  label->m_strText = LoadText(unsigned(info->labelTextId));
  doc.AddObject(label.release());
  auto field =
      MakeFieldObject(kind, p.At(x + labelWidth + 10, y, fieldWidth, 40), DefaultTextFont());
  field->m_strText = LoadText(unsigned(info->placeholderTextId)).trimmed();
  doc.AddObject(field.release());
}

int KindOf(const char* key) {
  for (const FieldKindInfo& info : FieldCatalogue()) {
    if (QString::fromLatin1(info.datum).contains(QLatin1String(key), Qt::CaseInsensitive)) {
      return info.kind;
    }
  }
  return -1;
}

// The two blocks of fields of a business cover page, starting at row y.
int AddAddressBlocks(CDrawDoc& doc, const Page& p, int y, int columnWidth) {
  // Name, company, section, telephone and fax number of each side.
  const struct {
    const char* title;
    int kinds[5];
  } blocks[] = {{"宛先", {14, 15, 16, 20, 21}}, {"発信元", {2, 3, 4, 8, 9}}};
  int x = 120;
  int bottom = y;
  for (const auto& block : blocks) {
    AddText(doc, p, x, y, columnWidth, 50, QString::fromUtf8(block.title), Font(40, 700));
    int row = y + 70;
    for (int kind : block.kinds) {
      AddField(doc, p, kind, x, row, 230, columnWidth - 240);
      row += 55;
    }
    bottom = std::max(bottom, row);
    x += columnWidth + 60;
  }
  return bottom;
}

void AddMessageBlock(CDrawDoc& doc, const Page& p, int y, int width, int height) {
  int row = y;
  for (const char* key : {"date", "subject", "page"}) {
    const int kind = KindOf(key);
    if (kind < 0) continue;
    AddField(doc, p, kind, 120, row, 230, width - 240);
    row += 55;
  }
  AddRect(doc, p, 120, row + 20, width, height, 3);
  const int message = KindOf("message");
  if (message >= 0) AddField(doc, p, message, 140, row + 40, 230, width - 280);
}

QString MakeLogo() {
  // A round emblem and the maker's name, black and white like a fax page.
  QImage logo(360, 120, QImage::Format_RGB32);
  logo.fill(Qt::white);
  QPainter painter(&logo);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setBrush(Qt::black);
  painter.setPen(Qt::NoPen);
  painter.drawEllipse(QRect(8, 8, 104, 104));
  painter.setBrush(Qt::white);
  QPainterPath leaf;
  leaf.moveTo(32, 88);
  leaf.cubicTo(36, 40, 70, 24, 94, 26);
  leaf.cubicTo(92, 56, 72, 88, 32, 88);
  painter.drawPath(leaf);
  painter.setPen(QPen(Qt::black, 4));
  painter.drawLine(36, 84, 80, 40);
  painter.setPen(Qt::black);
  QFont font(QStringLiteral("Liberation Sans"));
  font.setPixelSize(44);
  font.setBold(true);
  painter.setFont(font);
  painter.drawText(QRect(126, 18, 230, 56), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("VANTREL"));
  font.setPixelSize(20);
  font.setBold(false);
  painter.setFont(font);
  painter.drawText(QRect(128, 72, 230, 30), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("Trading Company"));
  painter.end();
  const QString path = QString::fromStdString(MakeTempFile("Bmp", ".bmp"));
  if (path.isEmpty() ||
      !logo.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither).save(path, "BMP")) {
    return QString();
  }
  return path;
}

bool Write(CDrawDoc& doc, const QString& path) {
  const FileResult result = WriteDocumentFile(path, doc);
  if (!result.ok()) {
    std::fprintf(stderr, "%s\n", qPrintable(result.Describe(path)));
    return false;
  }
  std::printf("wrote %s\n", qPrintable(path));
  return true;
}

bool MakeBusiness(const QString& path, bool withLogo) {
  ResetAllState();
  CDrawDoc doc;
  doc.UpdatePageSize();
  const Page p{1728, 2332};
  int top = 120;
  if (withLogo) {
    const QString logo = MakeLogo();
    if (logo.isEmpty()) return false;
    auto image = std::make_unique<CDrawImage>();
    InitInsertedPicture(*image, DefaultTextFont());
    // Pictures are stored with top < bottom, as the picture tool places them.
    image->m_rcPos = p.At(120, 100, 360, 120);
    std::swap(image->m_rcPos.top, image->m_rcPos.bottom);
    image->m_strImageFile = logo;
    image->m_nImageBytes = int(QFileInfo(logo).size());
    doc.AddObject(image.release());
    AddText(doc, p, 900, 110, 708, 100, QStringLiteral("FAX"), Font(96, 700, "Arial"), kAlignRight);
    top = 260;
  } else {
    AddText(doc, p, 120, top, 1488, 110, QStringLiteral("FAX送付状"), Font(90, 700), kAlignCenter);
    top += 140;
  }
  AddLine(doc, p, 120, top, 1488, 0, 6);
  const int bottom = AddAddressBlocks(doc, p, top + 50, 714);
  AddLine(doc, p, 120, bottom + 20, 1488, 0, 3);
  AddMessageBlock(doc, p, bottom + 60, 1488, 2332 - (bottom + 60) - 380);
  AddText(doc, p, 120, 2180, 1488, 40,
          QStringLiteral("このFAXに関するお問い合わせは発信元までご連絡ください。"), Font(28),
          kAlignCenter);
  doc.SetModifiedFlag(false);
  return Write(doc, path);
}

bool MakeLandscape(const QString& path) {
  ResetAllState();
  g_bLandscape = 1;
  CDrawDoc doc;
  doc.UpdatePageSize();
  const Page p{doc.m_sizePage.width(), doc.m_sizePage.height()};
  AddText(doc, p, 120, 100, 2092, 110, QStringLiteral("FAX TRANSMISSION"), Font(84, 700, "Arial"));
  AddLine(doc, p, 120, 230, 2092, 0, 6);
  const int bottom = AddAddressBlocks(doc, p, 280, 1016);
  AddMessageBlock(doc, p, bottom + 40, 2092, p.h - (bottom + 40) - 300);
  doc.SetModifiedFlag(false);
  const bool ok = Write(doc, path);
  return ok;
}

bool MakeMemo(const QString& path) {
  ResetAllState();
  CDrawDoc doc;
  doc.UpdatePageSize();
  const Page p{1728, 2332};
  AddText(doc, p, 120, 120, 1488, 100, QStringLiteral("社内連絡"), Font(80, 700, "ＭＳ 明朝"));
  AddRect(doc, p, 120, 250, 1488, 330, 4);
  int row = 280;
  for (int kind :
       {KindOf("recipient name"), KindOf("sender name"), KindOf("date"), KindOf("page")}) {
    if (kind < 0) continue;
    AddField(doc, p, kind, 150, row, 230, 1200);
    row += 70;
  }
  const int message = KindOf("message");
  if (message >= 0) AddField(doc, p, message, 150, 640, 230, 1200);
  auto ellipse = MakeShape(ShapeTool::Ellipse, p.At(1380, 2020, 220, 220), DefaultTextFont());
  ellipse->m_bLine = 1;
  ellipse->m_lineSpec.lopnWidth = {4, 4};
  doc.AddObject(ellipse.release());
  AddText(doc, p, 1380, 2100, 220, 60, QStringLiteral("確認"), Font(44, 700), kAlignCenter);
  doc.SetModifiedFlag(false);
  return Write(doc, path);
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: lw-make-samples OUTPUT_FOLDER\n");
    return 2;
  }
  const QDir out(QString::fromLocal8Bit(argv[1]));
  if (!out.exists() && !QDir().mkpath(out.path())) return 1;
  bool ok = MakeBusiness(out.filePath(QStringLiteral("business.lwt")), false);
  ok = MakeBusiness(out.filePath(QStringLiteral("business-logo.lwt")), true) && ok;
  ok = MakeLandscape(out.filePath(QStringLiteral("landscape.lwt"))) && ok;
  ok = MakeMemo(out.filePath(QStringLiteral("memo.lwt"))) && ok;
  return ok ? 0 : 1;
}
