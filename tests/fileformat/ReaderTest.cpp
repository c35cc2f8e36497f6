// Reading: older versions with their conversions, the colour normalisation, the string forms
// only other writers produce, and round trips of every kind of object:
// - version 2 positions grow by 2.1 (truncated), font heights double, recipient records
//   skip their obsolete block, and "水色" outlines of text objects become automatic;
// - version 1 has no mark: its first DWORD is the page's left edge;
// - older versions leave both magnifications at 1;
// - after reading only black and white remain, and the editing flags are off;
// - everything the writer stores reads back equal, and writing it again gives the same bytes.

#include "FileBytes.h"
#include "FileFormatSupport.h"

#include "document/Archive.h"
#include "document/ObjectKind.h"

using namespace lwtest;

namespace {

QByteArray OneObjectFile(int version, const Record& r, const QByteArray& className = "CDrawRect",
                         quint16 shape = 0) {
  Bytes b;
  b.raw(Header(version, {-7, -2, 3, 4}, 1, 1)).u16(1).newClass(className);
  if (className == "CDrawRect") b.u16(shape);
  return b.raw(r.Common(version)).b;
}

}  // namespace

TEST_F(FileFormatTest, Version2RecordsAreConverted) {
  Record rect;
  rect.pos = {100, 200, 300, 50};
  rect.lfHeight = -14;
  rect.vRate = rect.hRate = 4;  // not stored in version 2
  Record field;
  field.kind = 14;  // recipient name: carries the obsolete block
  field.obsoleteBlock = "old recipient text";
  field.lineName = kSjisAqua;
  field.penColor = 0x000000;
  field.pos = {-101, -1, 0, 7};
  Record emptyBlock;
  emptyBlock.kind = 16;
  Record noBlock;
  noBlock.kind = 17;
  noBlock.obsoleteBlock = "never stored";

  const QByteArray file = Bytes()
                              .raw(Header(2, {-5, -6, 7, 8}, 2, 1))
                              .u16(4)
                              .newClass("CDrawRect").u16(0).raw(rect.Common(2))
                              .u16(0x8001).u16(0).raw(field.Common(2))
                              .u16(0x8001).u16(0).raw(emptyBlock.Common(2))
                              .u16(0x8001).u16(0).raw(noBlock.Common(2))
                              .b;
  CDrawDoc doc;
  const lw::FileResult r = lw::ReadDocument(QByteArrayView(file), doc);
  ASSERT_TRUE(r.ok()) << r.Describe("v2").toStdString();
  EXPECT_EQ(r.version, 2);
  EXPECT_EQ(g_nFileVersion, 3);
  EXPECT_EQ(g_rcPage, (LRect{-5, -6, 7, 8}));
  EXPECT_EQ(g_nPaperIndex, 2);
  EXPECT_EQ(g_bLandscape, 1);
  ASSERT_EQ(doc.m_objects.size(), 4);

  const CDrawObj* a = doc.m_objects[0];
  EXPECT_EQ(a->m_rcPos, (LRect{210, 420, 630, 105}));
  EXPECT_EQ(a->m_textFont.lfHeight, -28);
  EXPECT_EQ(a->m_nVRate, 1);
  EXPECT_EQ(a->m_nHRate, 1);

  const CDrawObj* b = doc.m_objects[1];
  EXPECT_EQ(b->m_rcPos, (LRect{-212, -2, 0, 14}));  // truncated towards zero
  EXPECT_EQ(b->m_strLineColorName, QStringLiteral("自動"));
  // The converted cyan outline is an automatic one, so reading switches it off.
  EXPECT_EQ(b->m_lineSpec.lopnColor, kColorCyan);
  EXPECT_EQ(b->m_bLine, 0);
  EXPECT_EQ(b->m_fLineWeight, 0.0f);
  EXPECT_EQ(b->m_lineSpec.lopnWidth, (LPoint{0, 0}));
  EXPECT_EQ(doc.m_objects[2]->m_nKind, 16);
  EXPECT_EQ(doc.m_objects[3]->m_nKind, 17);
  for (const CDrawObj* o : std::as_const(doc.m_objects)) EXPECT_EQ(o->m_pOwnerDoc, &doc);
}

TEST_F(FileFormatTest, Version2AquaOutlineOfAGraphicObjectStaysAsIs) {
  Record r;
  r.kind = 0;
  r.lineName = kSjisAqua;
  CDrawDoc doc;
  ASSERT_TRUE(lw::ReadDocument(QByteArrayView(OneObjectFile(2, r)), doc).ok());
  EXPECT_EQ(doc.m_objects[0]->m_strLineColorName, QStringLiteral("水色"));
  EXPECT_EQ(doc.m_objects[0]->m_lineSpec.lopnColor, kColorBlack);
}

TEST_F(FileFormatTest, Version1HasNoMarkAndNoRates) {
  Record r;
  r.pos = {100, 200, 300, 50};
  const QByteArray file = OneObjectFile(1, r);
  CDrawDoc doc;
  const lw::FileResult res = LoadFromBytes(file, doc);
  ASSERT_TRUE(res.ok()) << res.Describe("v1").toStdString();
  EXPECT_EQ(res.version, 1);
  EXPECT_EQ(g_rcPage, (LRect{-7, -2, 3, 4}));
  EXPECT_EQ(g_nPaperIndex, 1);
  ASSERT_EQ(doc.m_objects.size(), 1);
  EXPECT_EQ(doc.m_objects[0]->m_rcPos, (LRect{100, 200, 300, 50}));  // no scaling
  EXPECT_EQ(doc.m_objects[0]->m_nVRate, 1);
  EXPECT_EQ(doc.m_objects[0]->m_nHRate, 1);
}

TEST_F(FileFormatTest, OlderVersionsCarryPicturesToo) {
  for (int version : {1, 2}) {
    SCOPED_TRACE(version);
    Record r;
    r.hasImage = 1;
    r.picture = QByteArray("BM\x01\x02\x03", 5);
    CDrawDoc doc;
    ASSERT_TRUE(lw::ReadDocument(QByteArrayView(OneObjectFile(version, r, "CDrawImage")), doc).ok());
    ASSERT_EQ(doc.m_objects.size(), 1);
    EXPECT_EQ(doc.m_objects[0]->m_nImageBytes, 5);
    EXPECT_EQ(ReadFile(doc.m_objects[0]->m_strImageFile), r.picture);
    doc.DeleteAllObjects();
  }
}

TEST_F(FileFormatTest, ReadingKeepsOnlyBlackAndWhite) {
  g_strAutoLabel = QStringLiteral("Automatic");
  const QByteArray red = "Red";
  const struct Case {
    const char* name;
    int kind;
    quint32 pen, fill, text;
    QByteArray lineName;
    // expected
    quint32 pen2, fill2, text2;
    int line2;
    QString lineName2;
  } cases[] = {
      {"black and white stay", 0, 0x000000, 0xFFFFFF, 0xFFFFFF, red, 0x000000, 0xFFFFFF, 0xFFFFFF, 1, "Red"},
      {"graphic red pen becomes black", 0, 0x0000FF, 0xFFFFFF, 0, red, 0, 0xFFFFFF, 0, 1, "黒"},
      {"kind 30 counts as graphic", 30, 0xFFFF00, 0xFFFFFF, 0, kSjisAuto, 0, 0xFFFFFF, 0, 1, "黒"},
      {"label with automatic cyan outline loses it", 1, 0xFFFF00, 0xFFFFFF, 0, kSjisAuto, 0xFFFF00, 0xFFFFFF, 0, 0, "自動"},
      {"field with Auto outline loses it", 29, 0x00FF00, 0xFFFFFF, 0, "AUTO", 0x00FF00, 0xFFFFFF, 0, 0, "AUTO"},
      {"the loaded automatic label counts", 5, 0x123456, 0xFFFFFF, 0, "automatic", 0x123456, 0xFFFFFF, 0, 0, "automatic"},
      {"text object with a named outline keeps it", 14, 0x0000FF, 0xFFFFFF, 0, red, 0x0000FF, 0xFFFFFF, 0, 1, "Red"},
      {"red fill becomes black", 0, 0, 0x0000FF, 0, red, 0, 0, 0, 1, "Red"},
      {"grey text becomes black", 2, 0, 0xFFFFFF, 0x808080, red, 0, 0xFFFFFF, 0, 1, "Red"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Record r;
    r.kind = c.kind;
    r.penColor = c.pen;
    r.brushColor = c.fill;
    r.crText = c.text;
    r.lineName = c.lineName;
    r.fillName = r.textName = "before";
    r.editArmed = r.editorOpen = 1;
    r.penWidthX = r.penWidthY = 3;
    r.penStyle = PS_SOLID;
    r.weight = 2.5f;
    CDrawDoc doc;
    ASSERT_TRUE(lw::ReadDocument(QByteArrayView(OneObjectFile(3, r)), doc).ok());
    ASSERT_EQ(doc.m_objects.size(), 1);
    const CDrawObj& o = *doc.m_objects[0];
    EXPECT_EQ(o.m_lineSpec.lopnColor, c.pen2);
    EXPECT_EQ(o.m_fillSpec.lbColor, c.fill2);
    EXPECT_EQ(o.m_crText, c.text2);
    EXPECT_EQ(o.m_bLine, c.line2);
    EXPECT_EQ(o.m_strLineColorName, c.lineName2);
    EXPECT_EQ(o.m_strFillColorName, c.fill2 != c.fill ? QStringLiteral("黒") : QStringLiteral("before"));
    EXPECT_EQ(o.m_strTextColorName, c.text2 != c.text ? QStringLiteral("黒") : QStringLiteral("before"));
    if (c.line2 == 0) {
      EXPECT_EQ(o.m_lineSpec.lopnWidth, (LPoint{0, 0}));
      EXPECT_EQ(o.m_lineSpec.lopnStyle, PS_INSIDEFRAME);
      EXPECT_EQ(o.m_fLineWeight, 0.0f);
    } else {
      EXPECT_EQ(o.m_lineSpec.lopnWidth, (LPoint{3, 3}));
    }
    EXPECT_EQ(o.m_bEditArmed, 0);
    EXPECT_EQ(o.m_bEditorOpen, 0);
  }
}

TEST_F(FileFormatTest, EveryKindOfObjectRoundTripsAndResavesToTheSameBytes) {
  QByteArray picture(10000, '\0');
  for (int i = 0; i < picture.size(); ++i) picture[i] = char(i * 7 + i / 256);
  CDrawDoc doc;
  doc.m_objects = EveryKindOfObject(picture);
  g_rcPage = {-1166, -864, 1166, 864};
  g_nPaperIndex = 1;
  g_bLandscape = 1;
  const QByteArray first = SaveToBytes(doc);

  int loaded = 0;
  QByteArray loadedBytes;
  lw::SetPictureLoader([&](CDrawImage& image) {
    ++loaded;
    loadedBytes = ReadFile(image.m_strImageFile);
  });
  lw::ResetDocumentState();
  lw::ResetEditState();
  CDrawDoc back;
  const lw::FileResult r = LoadFromBytes(first, back);
  ASSERT_TRUE(r.ok()) << r.Describe("round trip").toStdString();
  EXPECT_EQ(loaded, 1);
  EXPECT_EQ(loadedBytes, picture);
  EXPECT_EQ(g_rcPage, (LRect{-1166, -864, 1166, 864}));
  EXPECT_EQ(g_nPaperIndex, 1);
  EXPECT_EQ(g_bLandscape, 1);
  ASSERT_EQ(back.m_objects.size(), doc.m_objects.size());
  for (qsizetype i = 0; i < doc.m_objects.size(); ++i)
    ExpectSameStored(*back.m_objects[i], *doc.m_objects[i]);

  EXPECT_EQ(SaveToBytes(back), first);
  // The byte-span reader reads the same.
  CDrawDoc third;
  ASSERT_TRUE(lw::ReadDocument(QByteArrayView(first), third).ok());
  EXPECT_EQ(SaveToBytes(third), first);
  doc.DeleteAllObjects();
  back.DeleteAllObjects();
  third.DeleteAllObjects();
}

TEST_F(FileFormatTest, StringsKeepTheirBytes) {
  const QByteArray cases[] = {
      kSjisAuto + "abc",
      QByteArray("\x80\xA0\xFD\xFE\xFF", 5),  // single bytes CP932 does not define
      QByteArray("\x81", 1),                  // a lead byte at the end
      QByteArray("\x81\x20\x82", 3),          // a lead byte before a space
      QByteArray("a\0b", 3),                  // an embedded zero
      QByteArray("\xF0\x40\xF9\xFC", 4),      // user-defined characters
      QByteArray("\x85\x41z", 3),              // an undefined pair takes its second byte along
      QByteArray("\xEE\xED\x40", 3),          // ... so ED 40 is not rewritten as FA 5C
  };
  for (const QByteArray& raw : cases) {
    SCOPED_TRACE(raw.toHex().toStdString());
    const QByteArray stream = Bytes().str(raw).b;
    lw::ArchiveReader in(stream.constData(), stream.size());
    const QString s = in.ReadString();
    QByteArray again;
    QBuffer buffer(&again);
    buffer.open(QIODevice::WriteOnly);
    lw::ArchiveWriter out(buffer);
    out.WriteString(s);
    out.Flush();
    EXPECT_EQ(again.toHex(), stream.toHex());
  }
}

TEST_F(FileFormatTest, DoublyMappedCharactersAreWrittenInTheirStandardCode) {
  // NEC-selected IBM extension (ED 40) and NEC row 13 (87 90) read as the characters that
  // IBM's extension (FA 5C) and JIS row 2 (81 E0) also encode; those are what is written.
  const QByteArray stream = Bytes().str("\xED\x40\x87\x90").b;
  lw::ArchiveReader in(stream.constData(), stream.size());
  const QString s = in.ReadString();
  EXPECT_EQ(s, QString::fromUtf16(u"\u7E8A\u2252"));
  EXPECT_EQ(lw::EncodeCp932(s).toHex(), "fa5c81e0");
}

TEST_F(FileFormatTest, Utf16StringsAreRead) {
  // FF FE FF announces UTF-16; the second prefix counts 16-bit units.
  const QString text = QStringLiteral("黒 text");
  Bytes b;
  b.u8(0xFF).u16(0xFFFE).u8(quint8(text.size()));
  for (QChar c : text) b.u16(c.unicode());
  b.u8(0xFF).u16(0xFFFE).u8(0xFF).u16(300);
  for (int i = 0; i < 300; ++i) b.u16('w');
  lw::ArchiveReader in(b.b.constData(), b.b.size());
  EXPECT_EQ(in.ReadString(), text);
  EXPECT_EQ(in.ReadString(), QString(300, QLatin1Char('w')));
  EXPECT_TRUE(in.AtEnd());
}

TEST_F(FileFormatTest, FaceNamesAreCutAtACharacterBoundary) {
  auto* r = new CDrawRect();
  r->m_textFont.lfFaceName = QString(20, QChar(0x660E));  // 明 x 20: 40 bytes in CP932
  CDrawDoc doc;
  doc.m_objects = {r};
  const QByteArray bytes = SaveToBytes(doc);
  CDrawDoc back;
  ASSERT_TRUE(lw::ReadDocument(QByteArrayView(bytes), back).ok());
  EXPECT_EQ(back.m_objects[0]->m_textFont.lfFaceName, QString(15, QChar(0x660E)));
}

TEST_F(FileFormatTest, EmptyFileGivesAnEmptyDocument) {
  const QString path = QString::fromStdString(lw::MakeTempFile("empty", ".lwt"));
  CDrawDoc doc;
  const lw::FileResult r = lw::ReadDocumentFile(path, doc);
  EXPECT_TRUE(r.ok());
  EXPECT_TRUE(doc.m_objects.isEmpty());
  EXPECT_TRUE(messages.isEmpty());
  EXPECT_EQ(g_bLoadOk, 1);
  QFile::remove(path);
}

TEST_F(FileFormatTest, SavingReplacesTheFileOnlyWhenComplete) {
  const QString path = QString::fromStdString(lw::PrivateTempDir()) + "/saved.lwt";
  CDrawDoc doc;
  doc.m_objects = {new CDrawRect(LRect{1, 2, 3, 4})};
  ASSERT_TRUE(lw::WriteDocumentFile(path, doc).ok());
  const QByteArray good = ReadFile(path);
  EXPECT_EQ(good, SaveToBytes(doc));

  // A target that cannot be written leaves nothing behind and reports why.
  const QString missing = QString::fromStdString(lw::PrivateTempDir()) + "/no/such/dir/x.lwt";
  const lw::FileResult bad = lw::WriteDocumentFile(missing, doc);
  EXPECT_EQ(bad.status, lw::FileResult::Status::IoError);
  EXPECT_FALSE(bad.problem.isEmpty());

  CDrawDoc back;
  ASSERT_TRUE(lw::ReadDocumentFile(path, back).ok());
  ASSERT_EQ(back.m_objects.size(), 1);
  EXPECT_EQ(back.m_objects[0]->m_rcPos, (LRect{1, 2, 3, 4}));
  QFile::remove(path);
}

TEST_F(FileFormatTest, MissingWorkingFileIsStoredAsZerosOfItsLength) {
  auto* image = new CDrawImage();
  image->m_bHasImage = 1;
  image->m_nImageBytes = 5000;
  image->m_strImageFile = QString::fromStdString(lw::PrivateTempDir()) + "/gone.tmp";
  CDrawDoc doc;
  doc.m_objects = {image};
  CDrawDoc back;
  ASSERT_TRUE(lw::ReadDocument(QByteArrayView(SaveToBytes(doc)), back).ok());
  EXPECT_EQ(ReadFile(back.m_objects[0]->m_strImageFile), QByteArray(5000, '\0'));
  back.DeleteAllObjects();
}

TEST_F(FileFormatTest, ObjectListStreamRoundTrips) {
  QList<CDrawObj*> objects = EveryKindOfObject("picture bytes");
  const QByteArray bytes = lw::WriteObjectListBytes(objects);
  EXPECT_EQ(bytes.left(2).toHex(), "0900");
  EXPECT_EQ(bytes.mid(2, 6).toHex(), "ffff00000900");

  CDrawDoc owner;
  QList<CDrawObj*> back{nullptr};  // appended after what is there
  ASSERT_TRUE(lw::ReadObjectList(QByteArrayView(bytes), back, &owner).ok());
  ASSERT_EQ(back.size(), objects.size() + 1);
  for (qsizetype i = 0; i < objects.size(); ++i) {
    ExpectSameStored(*back[i + 1], *objects[i]);
    EXPECT_EQ(back[i + 1]->m_pOwnerDoc, &owner);
  }
  EXPECT_EQ(lw::WriteObjectListBytes(back.mid(1)), bytes);
  for (CDrawObj* o : objects + back.mid(1)) {
    if (!o->m_strImageFile.isEmpty()) QFile::remove(o->m_strImageFile);
    delete o;
  }
}
