#include "SampleDocument.h"

#include <QFile>
#include <QImage>
#include <QPainter>

#include "base/TempFiles.h"
#include "document/CDrawDoc.h"
#include "document/CDrawImage.h"
#include "document/CDrawRect.h"
#include "document/DocGlobals.h"
#include "document/ObjectCreation.h"
#include "document/ObjectKind.h"

namespace lwbench {
namespace {

CDrawRect* Shape(CDrawDoc& doc, lw::ShapeTool tool, LRect r) {
  auto obj = lw::MakeShape(tool, r, lw::DefaultTextFont());
  CDrawRect* raw = obj.get();
  doc.AddObject(obj.release());
  return raw;
}

CDrawRect* Field(CDrawDoc& doc, int kind, LRect r, const QString& text) {
  auto obj = lw::MakeFieldObject(kind, r, lw::DefaultTextFont());
  obj->m_strText = text;
  if (kind == lw::kKindLabel) obj->m_nAlign = lw::kAlignLeft;
  CDrawRect* raw = obj.get();
  doc.AddObject(obj.release());
  return raw;
}

CDrawRect* TextBox(CDrawDoc& doc, LRect r, const QString& text, int align) {
  CDrawRect* box = Shape(doc, lw::ShapeTool::TextBox, r);
  box->m_bEditableText = 1;
  box->m_strText = text;
  box->m_nAlign = align;
  box->m_strLineColorName = QStringLiteral("水色");
  return box;
}

void Picture(CDrawDoc& doc, LRect r, int w, int h) {
  auto pic = std::make_unique<CDrawImage>();
  lw::InitInsertedPicture(*pic, lw::DefaultTextFont());
  pic->m_rcPos = r;
  pic->m_strImageFile = MakePictureFile(w, h);
  pic->m_nImageBytes = int(QFile(pic->m_strImageFile).size());
  doc.AddObject(pic.release());
}

}  // namespace

QString MakePictureFile(int width, int height) {
  const std::string path = lw::MakeTempFile("lwt", ".bmp");
  if (path.empty()) return {};
  QImage img(width, height, QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter p(&img);
  p.setPen(QPen(Qt::black, 3));
  for (int i = 0; i < width + height; i += 12) p.drawLine(i, 0, i - height, height);
  p.setBrush(Qt::darkGray);
  p.drawEllipse(QRect(width / 4, height / 4, width / 2, height / 2));
  p.end();
  const QString qpath = QString::fromStdString(path);
  img.save(qpath, "BMP");
  return qpath;
}

void BuildEveryKindDocument(CDrawDoc& doc) {
  // Heading and labels with their fields.
  CDrawRect* title = TextBox(doc, {-800, 1100, 800, 980}, QStringLiteral("FAX 送付状  Cover Page"), lw::kAlignCenter);
  title->m_textFont.lfHeight = -80;
  title->m_textFont.lfWeight = 700;
  title->m_lineSpec = {PS_INSIDEFRAME, {3, 3}, kColorBlack};
  title->m_fLineWeight = 3;
  const struct {
    const char* label;
    int kind;
    const char* placeholder;
  } rows[] = {{"宛先:", 14, "[宛先名]"},  {"会社名:", 15, "[宛先会社名]"}, {"FAX番号:", 17, "[宛先FAX番号]"},
              {"差出人:", 2, "[差出人名]"}, {"会社名:", 3, "[差出人会社名]"}, {"件名:", 27, "[件名]"},
              {"枚数:", 28, "[枚数]"},      {"送信日時:", 29, "[送信日時]"}};
  int y = 940;
  for (const auto& row : rows) {
    Field(doc, lw::kKindLabel, {-800, y, -500, y - 50}, QString::fromUtf8(row.label));
    Field(doc, row.kind, {-480, y, 300, y - 50}, QString::fromUtf8(row.placeholder));
    y -= 60;
  }
  Field(doc, 26, {-800, y - 10, 800, y - 250}, QStringLiteral("[メッセージ]"));

  // Free text with CR LF and a tab, in the three alignments.
  TextBox(doc, {-800, -20, -300, -200}, QStringLiteral("Left aligned\r\nsecond line\tafter tab"), lw::kAlignLeft);
  TextBox(doc, {-250, -20, 250, -200}, QStringLiteral("中央揃えのテキスト\r\nCentred"), lw::kAlignCenter);
  TextBox(doc, {300, -20, 800, -200}, QStringLiteral("右揃え Right\r\n\t(tab)"), lw::kAlignRight);

  // Rectangles of each pen style and fill.
  const int styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_INSIDEFRAME};
  int x = -800;
  for (int style : styles) {
    CDrawRect* r = Shape(doc, lw::ShapeTool::Rectangle, {x, -240, x + 230, -400});
    r->m_lineSpec = {style, {style == PS_SOLID || style == PS_INSIDEFRAME ? 4 : 1, 1}, kColorBlack};
    x += 270;
  }
  const int hatches[] = {HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL, HS_BDIAGONAL, HS_CROSS, HS_DIAGCROSS};
  x = -800;
  for (int hatch : hatches) {
    CDrawRect* r = Shape(doc, lw::ShapeTool::Rectangle, {x, -430, x + 230, -590});
    r->m_fillSpec = {BS_HATCHED, kColorBlack, hatch};
    x += 270;
  }
  // A black block with a white dashed rectangle and a semi-transparent white one over it.
  CDrawRect* block = Shape(doc, lw::ShapeTool::Rectangle, {-800, -620, -200, -860});
  block->m_fillSpec = {BS_SOLID, kColorBlack, 0};
  CDrawRect* whiteDash = Shape(doc, lw::ShapeTool::Rectangle, {-760, -660, -520, -820});
  whiteDash->m_lineSpec = {PS_DASH, {1, 1}, kColorWhite};
  whiteDash->m_bFill = 0;
  CDrawRect* semi = Shape(doc, lw::ShapeTool::Ellipse, {-480, -660, -240, -820});
  semi->m_bSemiTransparent = 1;
  semi->m_lineSpec = {PS_SOLID, {2, 2}, kColorWhite};

  // Ellipses: one touching the left page edge, one dotted.
  Shape(doc, lw::ShapeTool::Ellipse, {-864, -880, -600, -1050});
  CDrawRect* dotted = Shape(doc, lw::ShapeTool::Ellipse, {-560, -880, -200, -1050});
  dotted->m_lineSpec = {PS_DOT, {1, 1}, kColorBlack};
  // Lines of every style and a thick one.
  int ly = -620;
  for (int style : styles) {
    CDrawRect* l = Shape(doc, lw::ShapeTool::Line, {-150, ly, 300, ly - 30});
    l->m_lineSpec = {style, {style == PS_SOLID ? 6 : 1, 1}, kColorBlack};
    ly -= 40;
  }
  // A freehand stroke.
  CDrawRect* stroke = Shape(doc, lw::ShapeTool::Freehand, {0, 0, 0, 0});
  for (int i = 0; i <= 60; ++i) {
    const double t = i / 60.0 * 6.283;
    stroke->MoveHandleTo(1, {int(-120 + i * 7), int(-1000 + 50 * std::sin(t * 2))}, nullptr);
  }
  // Two pictures.
  Picture(doc, {350, -620, 800, -850}, 180, 120);
  Picture(doc, {350, -880, 600, -1100}, 64, 64);
}

void BuildBusyDocument(CDrawDoc& doc, int count) {
  const QString texts[] = {QStringLiteral("宛先"), QStringLiteral("Company name"),
                           QStringLiteral("ファクシミリ送付状"), QStringLiteral("Tel 03-1234-5678\r\nFax 03-1234-5679")};
  for (int i = 0; i < count; ++i) {
    const int col = i % 10, row = (i / 10) % 50;
    const LRect r{-860 + col * 172, 1160 - row * 46, -860 + col * 172 + 160, 1160 - row * 46 - 40};
    if (i == count / 3 || i == 2 * count / 3) {
      Picture(doc, {r.left, r.top, r.left + 300, r.top - 200}, 300, 200);
      continue;
    }
    switch (i % 8) {
      case 0:
        Field(doc, lw::kKindLabel, r, texts[i % 4]);
        break;
      case 1:
        Field(doc, 2 + i % 28, r, texts[(i + 1) % 4]);
        break;
      case 2:
      case 3:
        TextBox(doc, r, texts[(i + 2) % 4], 1 + i % 3);
        break;
      case 4:
        Shape(doc, lw::ShapeTool::Rectangle, r)->m_fillSpec = {BS_HATCHED, kColorBlack, i % 6};
        break;
      case 5:
        Shape(doc, lw::ShapeTool::Ellipse, r);
        break;
      case 6:
        Shape(doc, lw::ShapeTool::Line, r)->m_lineSpec = {PS_SOLID, {2, 2}, kColorBlack};
        break;
      default: {
        CDrawRect* s = Shape(doc, lw::ShapeTool::Freehand, r);
        for (int k = 0; k < 12; ++k) s->MoveHandleTo(1, {r.left + k * 13, r.bottom + (k % 3) * 15}, nullptr);
        break;
      }
    }
  }
}

}  // namespace lwbench
