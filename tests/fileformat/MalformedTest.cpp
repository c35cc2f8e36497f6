// Malformed files: each one is a format error that reports text 62564, clears g_bLoadOk and
// leaves an empty document with no working file behind, whatever was read before the fault.
// Lengths and counts larger than what the file still holds are refused before anything is
// allocated, and an object referred to a second time is refused instead of being owned twice.

#include "FileBytes.h"
#include "FileFormatSupport.h"

using namespace lwtest;

namespace {

Record Picture(int bytes) {
  Record r;
  r.hasImage = 1;
  r.picture = QByteArray(bytes, 'p');
  return r;
}

// A version 3 file: a picture object that reads well, then `tail` as the second object
// (count 2).
QByteArray AfterAPicture(const QByteArray& tail) {
  return Bytes().raw(Header(3)).u16(2).newClass("CDrawImage").raw(Picture(300).Common(3)).raw(tail).b;
}

QByteArray FreehandHead(qint32 count, qint32 capacity) {
  return Bytes().u16(0xFFFF).u16(0).u16(9).raw("CDrawRect").u16(3).i32(count).i32(capacity).b;
}

QByteArray Truncated(const QByteArray& b, int drop) { return b.left(b.size() - drop); }

}  // namespace

TEST_F(FileFormatTest, MalformedFilesAreFormatErrors) {
  const QByteArray good = AfterAPicture(Bytes().newClass("CDrawRect").u16(0).raw(Record().Common(3)).b);
  {
    CDrawDoc doc;
    ASSERT_TRUE(lw::ReadDocument(QByteArrayView(good), doc).ok());
    doc.DeleteAllObjects();
  }
  // Strings patched in place of the (empty) text of a record.
  const QByteArray common = Record().Common(3);
  const int textAt = 4 + 16 + 16 + 2 + 16 + 2 + 12 + 4 + 4;
  QByteArray longString = common.left(textAt) + Bytes().u8(0xFF).u16(0xFFFF).u32(100000).b +
                          common.mid(textAt + 1);
  QByteArray unicodeLong = common.left(textAt) + Bytes().u8(0xFF).u16(0xFFFE).u8(0xFF).u16(0xFFFF).u32(0x7FFFFFFF).b +
                           common.mid(textAt + 1);
  QByteArray length64 = common.left(textAt) + Bytes().u8(0xFF).u16(0xFFFF).u32(0xFFFFFFFF).b + common.mid(textAt + 1);
  const int imageCountAt = int(Picture(0).Common(3).size()) - 8 - 4;
  QByteArray negativePicture = Picture(0).Common(3);
  negativePicture.replace(imageCountAt, 4, Bytes().i32(-1).b);
  QByteArray hugePicture = Picture(0).Common(3);
  hugePicture.replace(imageCountAt, 4, Bytes().i32(0x7FFFFFFF).b);
  Record oldField;
  oldField.kind = 15;
  QByteArray v2Block = oldField.Common(2);
  const int blockAt = textAt + 1 + 4 + 60 + 4 + 4 + 4;
  v2Block.replace(blockAt, 4, Bytes().u32(0xFFFFFFF0).b);

  const struct {
    const char* name;
    QByteArray bytes;
  } cases[] = {
      {"header cut short", Header(3).left(10)},
      {"three bytes", QByteArray("\xFE\xFF\xFF", 3)},
      {"no object count", Header(3)},
      {"count larger than the objects present", Bytes().raw(Header(3)).u16(3).b + good.mid(30)},
      {"negative count", Bytes().raw(Header(3)).u16(0xFFFF).u32(0x80000000).b},
      {"last object cut short", Truncated(good, 1)},
      {"picture bytes cut short", Truncated(Bytes().raw(Header(3)).u16(1).newClass("CDrawImage").raw(Picture(5000).Common(3)).b, 2000)},
      {"picture object cut short after its bytes", Truncated(Bytes().raw(Header(3)).u16(1).newClass("CDrawImage").raw(Picture(5000).Common(3)).b, 4)},
      {"unknown class", AfterAPicture(Bytes().newClass("CDrawLine").u16(0).raw(common).b)},
      {"framework class", AfterAPicture(Bytes().newClass("CObList").raw(common).b)},
      {"class name of 64 bytes", AfterAPicture(Bytes().newClass(QByteArray(64, 'C')).raw(common).b)},
      {"class name longer than the file", AfterAPicture(Bytes().u16(0xFFFF).u16(0).u16(60).raw("CDraw").b)},
      {"schema 1", AfterAPicture(Bytes().u16(0xFFFF).u16(1).u16(9).raw("CDrawRect").u16(0).raw(common).b)},
      {"reference to the picture already read", AfterAPicture(Bytes().u16(2).b)},
      {"wide reference to the picture already read", AfterAPicture(Bytes().u16(0x7FFF).u32(2).b)},
      {"reference to a number not given", AfterAPicture(Bytes().u16(9).b)},
      {"class reference to a number not given", AfterAPicture(Bytes().u16(0x8009).raw(common).b)},
      {"class reference to an object", AfterAPicture(Bytes().u16(0x8002).raw(common).b)},
      {"class reference to the null number", AfterAPicture(Bytes().u16(0x8000).raw(common).b)},
      {"wide class reference to a number not given", AfterAPicture(Bytes().u16(0x7FFF).u32(0xFFFFFFFF).b)},
      {"null object in the list", AfterAPicture(Bytes().u16(0).b)},
      {"string longer than the file", AfterAPicture(Bytes().u16(0x8001).raw(longString).b)},
      {"UTF-16 string longer than the file", AfterAPicture(Bytes().u16(0x8001).raw(unicodeLong).b)},
      {"string with a 64-bit length", AfterAPicture(Bytes().u16(0x8001).raw(length64).b)},
      {"negative point count", AfterAPicture(FreehandHead(-1, 10) + common)},
      {"negative point capacity", AfterAPicture(FreehandHead(0, -10) + common)},
      {"more points than capacity", AfterAPicture(FreehandHead(3, 2) + QByteArray(24, '\0') + common)},
      {"capacity beyond the file", AfterAPicture(FreehandHead(0, 0x10000000) + common)},
      {"points beyond the file", AfterAPicture(FreehandHead(1000, 1000) + common)},
      {"negative picture byte count", AfterAPicture(Bytes().u16(0x8001).raw(negativePicture).b)},
      {"picture byte count beyond the file", AfterAPicture(Bytes().u16(0x8001).raw(hugePicture).b)},
      {"version 2 block beyond the file",
       Bytes().raw(Header(2)).u16(1).newClass("CDrawRect").u16(0).raw(v2Block).b},
  };
  const QStringList filesBefore = TempFiles();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    for (bool viaDevice : {false, true}) {
      lw::ResetDocumentState();
      messages.clear();
      CDrawDoc doc;
      const lw::FileResult r =
          viaDevice ? LoadFromBytes(c.bytes, doc) : lw::ReadDocument(QByteArrayView(c.bytes), doc);
      EXPECT_EQ(r.status, lw::FileResult::Status::FormatError) << viaDevice;
      EXPECT_FALSE(r.problem.isEmpty());
      EXPECT_TRUE(doc.m_objects.isEmpty());
      EXPECT_EQ(messages, QList<int>{62564});
      EXPECT_EQ(g_bLoadOk, 0);
      EXPECT_EQ(g_nFileVersion, 3);
      EXPECT_EQ(TempFiles(), filesBefore) << "a working file was left behind";
    }
  }
}

TEST_F(FileFormatTest, MalformedObjectListLeavesTheTargetAlone) {
  QList<CDrawObj*> source{new CDrawImage(), new CDrawRect(LRect{1, 2, 3, 4})};
  source[0]->m_bHasImage = 1;
  source[0]->m_nImageBytes = 3;
  source[0]->m_strImageFile = MakeWorkingFile("abc");
  const QByteArray bytes = lw::WriteObjectListBytes(source);
  const QStringList filesBefore = TempFiles();
  QList<CDrawObj*> out;
  const lw::FileResult r = lw::ReadObjectList(QByteArrayView(bytes).chopped(1), out);
  EXPECT_EQ(r.status, lw::FileResult::Status::FormatError);
  EXPECT_TRUE(out.isEmpty());
  EXPECT_EQ(TempFiles(), filesBefore);
  EXPECT_TRUE(messages.isEmpty());  // the caller decides what to tell
  QFile::remove(source[0]->m_strImageFile);
  qDeleteAll(source);
}

TEST_F(FileFormatTest, DescribeNamesTheFileAndTheProblem) {
  CDrawDoc doc;
  const lw::FileResult r = lw::ReadDocument(QByteArrayView(Header(3)), doc);
  EXPECT_EQ(r.Describe("a.lwt"), QStringLiteral("a.lwt: not a valid cover page file: unexpected end of data at byte 28"));
}
