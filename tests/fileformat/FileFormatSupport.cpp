#include "FileFormatSupport.h"

#include "document/ObjectKind.h"

namespace lwtest {

void FillStoredMembers(CDrawObj& o, int seed) {
  o.m_rcPos = {-100 - seed, 200 + seed, 300 + seed, 50 - seed};
  o.m_rcPage = {1164 + seed, 1116, 764, 966 - seed};
  o.m_bLine = 1;
  o.m_lineSpec = LOGPEN{PS_DASH, {1, 2 + seed}, kColorBlack};
  o.m_bFill = seed % 2;
  o.m_fillSpec = LOGBRUSH{BS_HATCHED, kColorWhite, seed % 6};
  o.m_bEditableText = 1;
  o.m_bSemiTransparent = 1;
  o.m_strText = QStringLiteral("宛先 %1\r\nline two ①Ⅱ㈱").arg(seed);
  o.m_nAlign = 1 + seed % 3;
  o.m_textFont.lfHeight = -27 - seed;
  o.m_textFont.lfWidth = seed;
  o.m_textFont.lfEscapement = 900;
  o.m_textFont.lfOrientation = 900;
  o.m_textFont.lfWeight = 700;
  o.m_textFont.lfItalic = 1;
  o.m_textFont.lfUnderline = 1;
  o.m_textFont.lfStrikeOut = 0;
  o.m_textFont.lfCharSet = 128;
  o.m_textFont.lfOutPrecision = 3;
  o.m_textFont.lfClipPrecision = 2;
  o.m_textFont.lfQuality = 1;
  o.m_textFont.lfPitchAndFamily = 49;
  o.m_textFont.lfFaceName = QStringLiteral("ＭＳ 明朝");
  o.m_crText = kColorWhite;
  o.m_nKind = seed % 30;
  o.m_bLineYSwapped = 1;
  o.m_bLineXSwapped = 0;
  o.m_strFillColorName = QStringLiteral("白");
  o.m_strLineColorName = lw::BlackColorName();
  o.m_strTextColorName = QStringLiteral("Auto");
  o.m_nToolClass = seed % 5;
  o.m_fLineWeight = 2.75f;
  o.m_nVRate = 1 + seed % 4;
  o.m_nHRate = 4 - seed % 4;
}

QList<CDrawObj*> EveryKindOfObject(const QByteArray& pictureBytes) {
  QList<CDrawObj*> list;
  auto shape = [&](int nShape, int seed) {
    auto* r = new CDrawRect();
    FillStoredMembers(*r, seed);
    r->m_nShape = nShape;
    r->m_nKind = lw::kKindGraphic;
    list.append(r);
    return r;
  };
  shape(lw::kShapeRectangle, 1);
  shape(lw::kShapeEllipse, 2);
  shape(lw::kShapeLine, 3);
  CDrawRect* stroke = shape(lw::kShapeFreehand, 4);
  for (int i = 0; i < 13; ++i) stroke->MoveHandleTo(1, {i * 7, -i * i}, nullptr);
  CDrawRect* textBox = shape(lw::kShapeRectangle, 5);
  textBox->m_strText = QStringLiteral("自由なテキスト");
  CDrawRect* label = shape(lw::kShapeRectangle, 6);
  label->m_nKind = lw::kKindLabel;
  label->m_lineSpec.lopnColor = kColorCyan;  // an automatic guide frame keeps its colour
  label->m_strLineColorName = lw::DefaultAutoLabel();
  label->m_bLine = 0;
  label->m_fLineWeight = 0;
  label->m_lineSpec.lopnWidth = {0, 0};
  label->m_lineSpec.lopnStyle = PS_INSIDEFRAME;
  CDrawRect* field = shape(lw::kShapeRectangle, 7);
  field->m_nKind = 14;
  field->m_strText = QStringLiteral("［宛先名］");

  auto* image = new CDrawImage();
  FillStoredMembers(*image, 8);
  image->m_nKind = lw::kKindGraphic;
  image->m_bHasImage = 1;
  image->m_strImageFile = MakeWorkingFile(pictureBytes);
  image->m_nImageBytes = int(pictureBytes.size());
  list.append(image);

  auto* plain = new CDrawObj();
  FillStoredMembers(*plain, 9);
  list.append(plain);
  return list;
}

void ExpectSameStored(const CDrawObj& read, const CDrawObj& written) {
  SCOPED_TRACE(written.ClassName());
  EXPECT_STREQ(read.ClassName(), written.ClassName());
  EXPECT_EQ(read.m_bHasImage, written.m_bHasImage);
  EXPECT_EQ(read.m_rcPos, written.m_rcPos);
  EXPECT_EQ(read.m_rcPage, written.m_rcPage);
  EXPECT_EQ(read.m_bLine, written.m_bLine);
  EXPECT_EQ(read.m_lineSpec, written.m_lineSpec);
  EXPECT_EQ(read.m_bFill, written.m_bFill);
  EXPECT_EQ(read.m_fillSpec, written.m_fillSpec);
  EXPECT_EQ(read.m_bEditableText, written.m_bEditableText);
  EXPECT_EQ(read.m_bSemiTransparent, written.m_bSemiTransparent);
  EXPECT_EQ(read.m_strText, written.m_strText);
  EXPECT_EQ(read.m_nAlign, written.m_nAlign);
  EXPECT_EQ(read.m_textFont, written.m_textFont);
  EXPECT_EQ(read.m_crText, written.m_crText);
  EXPECT_EQ(read.m_bEditorOpen, 0);
  EXPECT_EQ(read.m_nKind, written.m_nKind);
  EXPECT_EQ(read.m_bLineYSwapped, written.m_bLineYSwapped);
  EXPECT_EQ(read.m_bLineXSwapped, written.m_bLineXSwapped);
  EXPECT_EQ(read.m_bEditArmed, 0);
  EXPECT_EQ(read.m_strFillColorName, written.m_strFillColorName);
  EXPECT_EQ(read.m_strLineColorName, written.m_strLineColorName);
  EXPECT_EQ(read.m_strTextColorName, written.m_strTextColorName);
  EXPECT_EQ(read.m_nToolClass, written.m_nToolClass);
  EXPECT_EQ(read.m_fLineWeight, written.m_fLineWeight);
  EXPECT_EQ(read.m_nVRate, written.m_nVRate);
  EXPECT_EQ(read.m_nHRate, written.m_nHRate);
  if (written.m_bHasImage) {
    EXPECT_EQ(read.m_nImageBytes, written.m_nImageBytes);
    EXPECT_NE(read.m_strImageFile, written.m_strImageFile);  // a working file of its own
    EXPECT_EQ(ReadFile(read.m_strImageFile), ReadFile(written.m_strImageFile));
  }
  const auto* rr = dynamic_cast<const CDrawRect*>(&read);
  const auto* wr = dynamic_cast<const CDrawRect*>(&written);
  ASSERT_EQ(rr != nullptr, wr != nullptr);
  if (rr) {
    EXPECT_EQ(rr->m_nShape, wr->m_nShape);
    EXPECT_EQ(rr->m_nShapeCode, lw::ShapeCodeForShape(wr->m_nShape));
    if (wr->m_nShape == lw::kShapeFreehand) {
      EXPECT_EQ(rr->m_nPoints, wr->m_nPoints);
      EXPECT_EQ(rr->m_nPointsAlloc, wr->m_nPointsAlloc);
      for (int i = 0; i < wr->m_nPoints && i < rr->m_nPoints; ++i)
        EXPECT_EQ(rr->m_pPoints[i], wr->m_pPoints[i]) << "point " << i;
    }
  }
}

}  // namespace lwtest
