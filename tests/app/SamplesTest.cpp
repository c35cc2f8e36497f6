// The shipped sample cover pages read back whole with the program's reader.

#include "AppTestSupport.h"

#include "document/CDrawDoc.h"
#include "document/CDrawObj.h"
#include "document/DocFile.h"
#include "document/DocGlobals.h"
#include "document/ObjectKind.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

TEST(Samples, EverySampleReadsBackWithFieldsAndTheRightPageSize) {
  const QDir dir(QString::fromLocal8Bit(qgetenv("LW_SOURCE_DIR")) +
                 QStringLiteral("/src/resources/samples"));
  if (!dir.exists()) GTEST_SKIP() << "LW_SOURCE_DIR not set";
  const QStringList names = dir.entryList({QStringLiteral("*.lwt")}, QDir::Files, QDir::Name);
  EXPECT_GE(names.size(), 3);
  for (const QString& name : names) {
    lw::ResetAllState();
    lw::Doc().applyPrinterPaper = [](int, int) { return true; };
    CDrawDoc doc;
    const lw::FileResult result = lw::ReadDocumentFile(dir.filePath(name), doc);
    ASSERT_TRUE(result.ok()) << result.Describe(name).toStdString();
    EXPECT_EQ(result.version, 3) << name.toStdString();
    int fields = 0;
    for (const CDrawObj* obj : doc.m_objects) fields += lw::IsFieldKind(obj->m_nKind) ? 1 : 0;
    EXPECT_GE(fields, 4) << name.toStdString();
    const bool landscape = name.startsWith(QStringLiteral("landscape"));
    EXPECT_EQ(doc.m_sizePage, landscape ? QSize(2332, 1728) : QSize(1728, 2332))
        << name.toStdString();
    doc.DeleteAllObjects();
  }
  lw::ResetAllState();
}

}  // namespace
