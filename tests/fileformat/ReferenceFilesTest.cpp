// Reference files: documents written by the program, kept in the repository so that any
// change of the bytes it writes shows up here. The same files seed the fuzz targets.
// Run with LW_UPDATE_REFERENCE_FILES=1 to rewrite them after an intended change.

#include "FileBytes.h"
#include "FileFormatSupport.h"

#include "document/ObjectKind.h"

#include <QDir>

using namespace lwtest;

namespace {

QString CorpusDir(const char* target) {
  return lwtest::SourceDir() + "/fuzz/document/corpus/" + target;
}

void CheckReference(const QString& path, const QByteArray& written) {
  SCOPED_TRACE(path.toStdString());
  if (qEnvironmentVariableIntValue("LW_UPDATE_REFERENCE_FILES") == 1) {
    QDir().mkpath(QFileInfo(path).path());
    ASSERT_TRUE(lwtest::WriteAll(path, written));
  }
  EXPECT_EQ(lwtest::ReadAll(path).toHex(), written.toHex());
}

}  // namespace

TEST_F(FileFormatTest, WriterOutputMatchesTheReferenceFiles) {
  const QString docs = CorpusDir("fuzz_docfile");
  {
    CDrawDoc doc;
    CheckReference(docs + "/empty.lwt", SaveToBytes(doc));
  }
  {
    CDrawDoc doc;
    doc.m_objects = EveryKindOfObject(QByteArray("BM\x3e\0\0\0\0\0\0\0\x3e\0\0\0\0\0", 16));
    g_bLandscape = 1;
    CheckReference(docs + "/every_kind.lwt", SaveToBytes(doc));
    CheckReference(CorpusDir("fuzz_objectlist") + "/every_kind.bin",
                   lw::WriteObjectListBytes(doc.m_objects));

    // A resave of the reference file gives it back unchanged.
    CDrawDoc back;
    ASSERT_TRUE(lw::ReadDocumentFile(docs + "/every_kind.lwt", back).ok());
    EXPECT_EQ(SaveToBytes(back), lwtest::ReadAll(docs + "/every_kind.lwt"));
    back.DeleteAllObjects();
    doc.DeleteAllObjects();
  }
  {
    // Older versions, as the readers of those files must take them.
    Record field;
    field.kind = 14;
    field.obsoleteBlock = "old";
    field.lineName = kSjisAqua;
    CheckReference(docs + "/version2.lwt",
                   Bytes().raw(Header(2)).u16(2).newClass("CDrawRect").u16(0).raw(Record().Common(2))
                       .u16(0x8001).u16(3).i32(1).i32(10).i32(5).i32(6).raw(field.Common(2)).b);
    CheckReference(docs + "/version1.lwt",
                   Bytes().raw(Header(1)).u16(1).newClass("CDrawRect").u16(1).raw(Record().Common(1)).b);
  }
}
