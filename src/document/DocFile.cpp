#include "document/DocFile.h"

#include "document/Archive.h"
#include "document/CDrawDoc.h"
#include "document/CDrawImage.h"
#include "document/DocGlobals.h"
#include "document/MessageSeam.h"
#include "document/ObjectSerialize.h"

#include <QBuffer>
#include <QFile>
#include <QSaveFile>

#include <memory>

namespace lw {
namespace {

constexpr quint32 kMarkVersion3 = 0xFFFFFFFEu;
constexpr quint32 kMarkVersion2 = 0xFFFFFFFFu;

// The fewest bytes a stored object takes (a tag and the common part of a version 1 record
// with empty strings); bounds how much list room a stated count may reserve.
constexpr qint64 kMinObjectBytes = 178;

PictureLoader& Loader() {
  static PictureLoader loader;
  return loader;
}

void DeleteWithWorkingFile(CDrawObj* obj) {
  if (!obj->m_strImageFile.isEmpty()) QFile::remove(obj->m_strImageFile);
  delete obj;
}

// Reads a count and the tagged objects, appending each to `list` as soon as it is complete.
// An object that fails half-way is deleted here with its working file.
void ReadObjects(ArchiveReader& in, int version, QList<CDrawObj*>& list, CDrawDoc* owner) {
  const quint32 count = in.ReadCount();
  list.reserve(list.size() + qsizetype(std::min<qint64>(count, in.Remaining() / kMinObjectBytes)));
  for (quint32 i = 0; i < count; ++i) {
    const int cls = in.ReadObjectTag(StoredClassNames());
    if (cls < 0) in.Fail("null object in the object list");
    std::unique_ptr<CDrawObj> obj = CreateStoredObject(cls);
    try {
      ReadObjectData(in, *obj, version, owner);
    } catch (...) {
      if (!obj->m_strImageFile.isEmpty()) QFile::remove(obj->m_strImageFile);
      throw;
    }
    if (auto* image = dynamic_cast<CDrawImage*>(obj.get()); image && image->m_bHasImage) {
      if (const PictureLoader& load = Loader()) load(*image);
    }
    list.append(obj.release());
  }
}

void WriteObjects(ArchiveWriter& out, const QList<CDrawObj*>& objects) {
  quint32 count = 0;
  for (const CDrawObj* obj : objects)
    if (obj) ++count;
  out.WriteCount(count);
  for (const CDrawObj* obj : objects) {
    if (!obj) continue;
    out.WriteObjectTag(obj->ClassName());
    WriteObjectData(out, *obj);
  }
}

FileResult ResultOf(const ArchiveError& e, int version) {
  FileResult r;
  r.status = e.kind() == ArchiveError::Kind::Format ? FileResult::Status::FormatError
                                                     : FileResult::Status::IoError;
  r.version = version;
  r.problem = QString::fromStdString(e.what());
  r.offset = e.kind() == ArchiveError::Kind::Format ? e.offset() : -1;
  return r;
}

FileResult ReadDocumentFrom(ArchiveReader& in, CDrawDoc& doc, const QString& name) {
  FileResult result;
  if (in.AtEnd()) return result;  // an empty file is an empty document

  int version = 3;
  try {
    const quint32 mark = in.ReadDword();
    LRect page;
    if (mark == kMarkVersion3 || mark == kMarkVersion2) {
      version = mark == kMarkVersion3 ? 3 : 2;
      page.left = in.ReadInt();
    } else {
      version = 1;  // no mark: the first four bytes are the page's left edge
      page.left = qint32(mark);
    }
    page.top = in.ReadInt();
    page.right = in.ReadInt();
    page.bottom = in.ReadInt();
    const int paperIndex = in.ReadInt();
    const int landscape = in.ReadInt();
    g_rcPage = page;
    g_nPaperIndex = paperIndex;
    g_bLandscape = landscape;
    g_nFileVersion = version;
    ReadObjects(in, version, doc.m_objects, &doc);
  } catch (const ArchiveError& e) {
    result = ResultOf(e, version);
    doc.DeleteAllObjects();
    if (result.status == FileResult::Status::FormatError) {
      g_bLoadOk = 0;
      ReportMessage(kTextBadFileFormat, name);
    }
  }
  result.version = version;
  g_nFileVersion = 3;
  doc.UpdatePageSize();
  return result;
}

FileResult ReadObjectListFrom(ArchiveReader& in, QList<CDrawObj*>& out, CDrawDoc* owner) {
  QList<CDrawObj*> read;
  try {
    ReadObjects(in, 3, read, owner);
  } catch (const ArchiveError& e) {
    for (CDrawObj* obj : std::as_const(read)) DeleteWithWorkingFile(obj);
    return ResultOf(e, 3);
  }
  out.append(read);
  return FileResult();
}

}  // namespace

QString FileResult::Describe(const QString& path) const {
  switch (status) {
    case Status::Ok:
      return path + QStringLiteral(": ok");
    case Status::FormatError:
      return QStringLiteral("%1: not a valid cover page file: %2 at byte %3")
          .arg(path, problem)
          .arg(offset);
    case Status::IoError:
      break;
  }
  return QStringLiteral("%1: %2").arg(path, problem);
}

FileResult ReadDocument(QIODevice& device, CDrawDoc& doc, const QString& name) {
  ArchiveReader in(device);
  return ReadDocumentFrom(in, doc, name);
}

FileResult ReadDocument(QByteArrayView bytes, CDrawDoc& doc, const QString& name) {
  ArchiveReader in(bytes.data(), bytes.size());
  return ReadDocumentFrom(in, doc, name);
}

FileResult WriteDocument(QIODevice& device, CDrawDoc& doc) {
  FileResult result;
  try {
    ArchiveWriter out(device);
    out.WriteDword(kMarkVersion3);
    out.WriteInt(g_rcPage.left);
    out.WriteInt(g_rcPage.top);
    out.WriteInt(g_rcPage.right);
    out.WriteInt(g_rcPage.bottom);
    out.WriteInt(g_nPaperIndex);
    out.WriteInt(g_bLandscape);
    WriteObjects(out, doc.m_objects);
    out.Flush();
  } catch (const ArchiveError& e) {
    result = ResultOf(e, 3);
  }
  g_nFileVersion = 3;
  doc.UpdatePageSize();
  return result;
}

FileResult ReadDocumentFile(const QString& path, CDrawDoc& doc) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    FileResult r;
    r.status = FileResult::Status::IoError;
    r.problem = file.errorString();
    return r;
  }
  return ReadDocument(file, doc, path);
}

FileResult WriteDocumentFile(const QString& path, CDrawDoc& doc) {
  QSaveFile file(path);
  FileResult r;
  if (!file.open(QIODevice::WriteOnly)) {
    r.status = FileResult::Status::IoError;
    r.problem = file.errorString();
    return r;
  }
  r = WriteDocument(file, doc);
  if (!r.ok()) {
    file.cancelWriting();
    return r;
  }
  if (!file.commit()) {
    r.status = FileResult::Status::IoError;
    r.problem = file.errorString();
  }
  return r;
}

FileResult WriteObjectList(QIODevice& device, const QList<CDrawObj*>& objects) {
  try {
    ArchiveWriter out(device);
    WriteObjects(out, objects);
    out.Flush();
  } catch (const ArchiveError& e) {
    return ResultOf(e, 3);
  }
  return FileResult();
}

QByteArray WriteObjectListBytes(const QList<CDrawObj*>& objects) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  WriteObjectList(buffer, objects);
  return bytes;
}

FileResult ReadObjectList(QIODevice& device, QList<CDrawObj*>& out, CDrawDoc* owner) {
  ArchiveReader in(device);
  return ReadObjectListFrom(in, out, owner);
}

FileResult ReadObjectList(QByteArrayView bytes, QList<CDrawObj*>& out, CDrawDoc* owner) {
  ArchiveReader in(bytes.data(), bytes.size());
  return ReadObjectListFrom(in, out, owner);
}

PictureLoader SetPictureLoader(PictureLoader loader) {
  return std::exchange(Loader(), std::move(loader));
}

}  // namespace lw
