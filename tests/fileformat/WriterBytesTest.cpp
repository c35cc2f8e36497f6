// The writer's bytes, pinned against files built by hand from the file layout:
// - an empty document is the 28-byte header and a zero count;
// - a class is named on its first object and referred to by number afterwards, classes and
//   objects sharing one numbering;
// - a freehand stroke stores its count, its capacity and only the points it has;
// - every field of the common part lands in its place, strings in CP932;
// - counts and class numbers switch to their wide forms at 0xFFFF and 0x7FFF.

#include "FileBytes.h"
#include "FileFormatSupport.h"

#include "document/Archive.h"
#include "document/ObjectKind.h"

using namespace lwtest;

namespace {

QByteArray Hex(const char* hex) { return QByteArray::fromHex(hex); }

CDrawRect* PlainRect(const LRect& pos) {
  auto* r = new CDrawRect(pos);
  r->m_textFont = lw::DefaultTextFont();
  r->m_nToolClass = lw::kToolClassRectangle;
  return r;
}

}  // namespace

TEST_F(FileFormatTest, EmptyDocumentIsTheHeaderAndAZeroCount) {
  CDrawDoc doc;
  g_nPaperIndex = 2;
  g_bLandscape = 1;
  const QByteArray bytes = SaveToBytes(doc);
  EXPECT_EQ(bytes.toHex(),
            "feffffff"                                  // version 3
            "a0fcffff" "72fbffff" "60030000" "8e040000"  // -864, -1166, 864, 1166
            "02000000" "01000000"                       // paper index, landscape
            "0000");                                    // no objects
  EXPECT_EQ(bytes.size(), 30);
}

TEST_F(FileFormatTest, ClassesAreNamedOnceAndNumberedWithTheirObjects) {
  CDrawDoc doc;
  const LRect pos{-10, 20, 30, -40};
  doc.m_objects = {PlainRect(pos), PlainRect(pos), new CDrawImage(), PlainRect(pos),
                   new CDrawImage()};
  const QByteArray bytes = SaveToBytes(doc);

  // Rectangle: class 1, object 2; rectangle: object 3; picture: class 4, object 5;
  // rectangle: object 6; picture: object 7.
  Record rect;
  rect.pos = pos;
  rect.page = {};
  rect.text.clear();
  Record image = rect;
  image.pos = {};
  image.penWidthX = image.penWidthY = 0;
  image.toolClass = 0;
  image.lfHeight = 0;
  image.lfWeight = 0;
  image.lfBytes[3] = 0;
  image.face.clear();
  const QByteArray rectData = Bytes().u16(0).raw(rect.Common(3)).b;
  const QByteArray imageData = image.Common(3);
  const QByteArray expected = Bytes()
                                  .raw(Header(3))
                                  .u16(5)
                                  .newClass("CDrawRect").raw(rectData)
                                  .u16(0x8001).raw(rectData)
                                  .newClass("CDrawImage").raw(imageData)
                                  .u16(0x8001).raw(rectData)
                                  .u16(0x8004).raw(imageData)
                                  .b;
  EXPECT_EQ(bytes.mid(30, 15), Hex("ffff00000900") + "CDrawRect");
  EXPECT_EQ(bytes.toHex(), expected.toHex());
}

TEST_F(FileFormatTest, FreehandStrokeStoresCountCapacityAndItsPoints) {
  auto* stroke = PlainRect({});
  stroke->m_nShape = lw::kShapeFreehand;
  stroke->m_nToolClass = lw::kToolClassFreehand;
  stroke->MoveHandleTo(1, {1, 2}, nullptr);
  stroke->MoveHandleTo(1, {-3, 4}, nullptr);
  stroke->MoveHandleTo(1, {5, -6}, nullptr);
  ASSERT_EQ(stroke->m_nPointsAlloc, 10);

  CDrawDoc doc;
  doc.m_objects = {stroke};
  const QByteArray bytes = SaveToBytes(doc);
  Record common;
  common.pos = stroke->m_rcPos;
  common.page = {};
  common.toolClass = lw::kToolClassFreehand;
  const QByteArray expected = Bytes()
                                  .u16(3)                 // m_nShape
                                  .i32(3).i32(10)         // count, capacity
                                  .i32(1).i32(2).i32(-3).i32(4).i32(5).i32(-6)
                                  .raw(common.Common(3))
                                  .b;
  EXPECT_EQ(bytes.mid(45).toHex(), expected.toHex());
}

TEST_F(FileFormatTest, CommonPartPutsEveryFieldInPlace) {
  auto* r = new CDrawRect();
  r->m_nShape = lw::kShapeEllipse;
  r->m_bHasImage = 0;
  r->m_rcPos = {1, 2, 3, 4};
  r->m_rcPage = {5, 6, 7, 8};
  r->m_bLine = 0x10001;  // only the low 16 bits are stored
  r->m_lineSpec = LOGPEN{PS_DOT, {1, 1}, kColorWhite};
  r->m_bFill = 1;
  r->m_fillSpec = LOGBRUSH{BS_HATCHED, kColorBlack, HS_DIAGCROSS};
  r->m_bEditableText = 1;
  r->m_bSemiTransparent = 1;
  r->m_strText = QStringLiteral("黒い自動");
  r->m_nAlign = 3;
  r->m_textFont = lw::DefaultTextFont();
  r->m_crText = kColorWhite;
  r->m_bEditorOpen = 1;
  r->m_nKind = 27;
  r->m_bLineYSwapped = 1;
  r->m_bLineXSwapped = 1;
  r->m_bEditArmed = 1;
  r->m_strFillColorName = lw::BlackColorName();
  r->m_strLineColorName = QStringLiteral("Auto");
  r->m_strTextColorName = QString();
  r->m_nToolClass = 2;
  r->m_fLineWeight = 0.25f;
  r->m_nVRate = 3;
  r->m_nHRate = 4;

  Record e;
  e.pos = {1, 2, 3, 4};
  e.page = {5, 6, 7, 8};
  e.line = 1;
  e.penStyle = PS_DOT;
  e.penColor = 0xFFFFFF;
  e.brushStyle = 2;
  e.brushColor = 0;
  e.hatch = 5;
  e.editableText = e.semiTransparent = 1;
  e.text = kSjisBlack + "\x82\xA2" + kSjisAuto;
  e.align = 3;
  e.crText = 0xFFFFFF;
  e.editorOpen = 1;
  e.kind = 27;
  e.lineYSwapped = e.lineXSwapped = e.editArmed = 1;
  e.fillName = kSjisBlack;
  e.lineName = "Auto";
  e.textName = "";
  e.toolClass = 2;
  e.weight = 0.25f;
  e.vRate = 3;
  e.hRate = 4;

  CDrawDoc doc;
  doc.m_objects = {r};
  const QByteArray bytes = SaveToBytes(doc);
  EXPECT_EQ(bytes.mid(45).toHex(), (Bytes().u16(1).raw(e.Common(3)).b).toHex());
}

TEST_F(FileFormatTest, LongCountsAndLateClassesUseTheWideForms) {
  // 65535 rectangles (the count no longer fits a WORD), then two pictures whose class gets
  // number 65537, beyond the narrow class reference.
  CDrawDoc doc;
  for (int i = 0; i < 65535; ++i) doc.m_objects.append(PlainRect({i, 0, i + 1, -1}));
  doc.m_objects.append(new CDrawImage());
  doc.m_objects.append(new CDrawImage());
  const QByteArray bytes = SaveToBytes(doc);
  EXPECT_EQ(bytes.mid(28, 6), Hex("ffff01000100"));  // WORD 0xFFFF, DWORD 65537
  const QByteArray imageData = [] {
    CDrawImage blank;
    QByteArray one;
    QBuffer b(&one);
    b.open(QIODevice::WriteOnly);
    lw::WriteObjectList(b, {&blank});
    return one.mid(2 + 16);  // after the count and the new-class tag
  }();
  const qsizetype tail = 6 + imageData.size();
  EXPECT_EQ(bytes.right(tail).left(6), Hex("ff7f01000180"));  // 0x7FFF, 0x80000000 + 65537

  CDrawDoc back;
  ASSERT_TRUE(lw::ReadDocument(QByteArrayView(bytes), back).ok());
  ASSERT_EQ(back.m_objects.size(), 65537);
  EXPECT_STREQ(back.m_objects.last()->ClassName(), "CDrawImage");
  EXPECT_EQ(back.m_objects[65534]->m_rcPos, (LRect{65534, 0, 65535, -1}));
}

TEST_F(FileFormatTest, StringLengthPrefixesTakeOneThreeOrSevenBytes) {
  const struct {
    int length;
    const char* prefix;
  } cases[] = {{0, "00"},          {254, "fe"},          {255, "ffff00"},
               {65533, "fffdff"}, {65534, "fffffffeff0000"}, {70000, "ffffff70110100"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.length);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
      lw::ArchiveWriter out(buffer);
      out.WriteString(QString(c.length, QLatin1Char('x')));
      out.Flush();
    }
    EXPECT_EQ(bytes.left(qsizetype(std::strlen(c.prefix) / 2)).toHex(), QByteArray(c.prefix));
    EXPECT_EQ(bytes.size(), qsizetype(std::strlen(c.prefix) / 2) + c.length);
    lw::ArchiveReader in(bytes.constData(), bytes.size());
    EXPECT_EQ(in.ReadString().size(), c.length);
    EXPECT_TRUE(in.AtEnd());
  }
}
