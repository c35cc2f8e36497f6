#pragma once
// Shared pieces of the file format tests: a fixture with fresh program state that records
// the messages reported, documents made of every kind of object, and member-by-member
// comparison of what a file stores.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>

#include <memory>

#include "base/TempFiles.h"
#include "common/TestSupport.h"
#include "document/CDrawDoc.h"
#include "document/CDrawImage.h"
#include "document/CDrawRect.h"
#include "document/DocFile.h"
#include "document/DocGlobals.h"
#include "document/MessageSeam.h"

namespace lwtest {

class FileFormatTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lw::ResetAllState();
    m_previous = lw::SetMessageHandler([this](int id, const QString&) { messages.append(id); });
    // The reader is tested on its own; decoding pictures is the picture code's business.
    m_previousLoader = lw::SetPictureLoader(nullptr);
  }
  void TearDown() override {
    lw::SetMessageHandler(m_previous);
    lw::SetPictureLoader(m_previousLoader);
    lw::ResetAllState();
  }

  QList<int> messages;

 private:
  lw::MessageHandler m_previous;
  lw::PictureLoader m_previousLoader;
};

// Files in the private temporary folder (working files of pictures among them).
inline QStringList TempFiles() {
  return QDir(QString::fromStdString(lw::PrivateTempDir())).entryList(QDir::Files);
}

inline QByteArray SaveToBytes(CDrawDoc& doc) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  EXPECT_TRUE(lw::WriteDocument(buffer, doc).ok());
  return bytes;
}

// Reads through a QBuffer (the device path; the byte-span path is used elsewhere).
inline lw::FileResult LoadFromBytes(const QByteArray& bytes, CDrawDoc& doc) {
  QByteArray copy = bytes;
  QBuffer buffer(&copy);
  buffer.open(QIODevice::ReadOnly);
  return lw::ReadDocument(buffer, doc);
}

// A working picture file holding `bytes`, as picture insertion leaves one.
inline QString MakeWorkingFile(const QByteArray& bytes) {
  const QString path = QString::fromStdString(lw::MakeTempFile("lwt", ".tmp"));
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) return QString();
  return path;
}

inline QByteArray ReadFile(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Sets every stored member of `o` to a distinct value derived from `seed`, with the colours
// kept black or white so that reading leaves them alone.
void FillStoredMembers(CDrawObj& o, int seed);

// One object of each kind: rectangle, ellipse, line, freehand stroke, free text box, label,
// data field, picture (with `pictureBytes` in its working file) and a plain CDrawObj.
QList<CDrawObj*> EveryKindOfObject(const QByteArray& pictureBytes);

// Compares every member a file stores (m_bEditArmed and m_bEditorOpen are reset by reading
// and compared as 0).
void ExpectSameStored(const CDrawObj& read, const CDrawObj& written);

}  // namespace lwtest
