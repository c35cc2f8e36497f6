#pragma once
// Cover page files (.lwt) and object-list streams.
//
// A cover page file is a header (version mark, the page rectangle g_rcPage, g_nPaperIndex,
// g_bLandscape) followed by an object list: the object count, then every object from the
// bottom of the stacking order, each as a class tag and its data (Archive.h,
// ObjectSerialize.h). Version 3 is written; versions 1 (no mark), 2 (mark 0xFFFFFFFF) and 3
// (mark 0xFFFFFFFE) are read, older ones with their conversions. The clipboard and the undo
// snapshot use the object list alone (count and tagged objects, no header), in version 3 form.
//
// Reading never trusts the bytes: any problem (truncation, a bad tag, a length or count the
// rest of the input cannot hold, ...) is a format error. A document read that fails with a
// format error reports text 62564 through lw::ReportMessage, clears g_bLoadOk, deletes every
// object of the document with its working picture file (CDrawDoc::DeleteAllObjects) and
// leaves an empty document. An empty input gives an empty document without reading.
//
// Embedded pictures move between the stream and a working file in blocks of 4096 bytes; no
// picture is ever held whole in memory. On reading, each picture is extracted into a new
// working file (prefix "lwt" in the private temporary folder) named by m_strImageFile, and the
// picture loader (SetPictureLoader) is then given the object to load its raster. On writing,
// the bytes come back from the working file unchanged.

#include <QByteArrayView>
#include <QList>
#include <QString>

#include <functional>

class CDrawDoc;
class CDrawImage;
class CDrawObj;
class QIODevice;

namespace lw {

// The text reported when a cover page file cannot be read: "このファイルは不正な形式のため
// 開けません。"
constexpr int kTextBadFileFormat = 62564;

struct FileResult {
  enum class Status {
    Ok,
    FormatError,  // the bytes are not a valid file or stream
    IoError,      // the file could not be opened, read or written
  };
  Status status = Status::Ok;
  int version = 3;    // version of the file read (1, 2 or 3); 3 for writes
  QString problem;    // what went wrong, in English, for logs and lwtool; empty when ok
  qint64 offset = -1; // byte offset of a format error, or -1

  bool ok() const { return status == Status::Ok; }
  // One line for a log or a command line: "<path>: not a valid cover page file: <problem>
  // at byte <offset>" or "<path>: <problem>".
  QString Describe(const QString& path) const;
};

// --- whole documents ---

// Reads a document from `device` (open for reading, random-access: a file or a QBuffer) into
// `doc`, appending the objects to doc.m_objects (the open step empties the document first).
// Sets g_rcPage, g_nPaperIndex and g_bLandscape from the header, g_nFileVersion while the
// objects are read, and afterwards sets g_nFileVersion back to 3 and calls UpdatePageSize.
// `name` is the detail of the format-error message (the file's path).
FileResult ReadDocument(QIODevice& device, CDrawDoc& doc, const QString& name = QString());
FileResult ReadDocument(QByteArrayView bytes, CDrawDoc& doc, const QString& name = QString());

// Writes `doc` in version 3, then sets g_nFileVersion to 3 and calls UpdatePageSize.
FileResult WriteDocument(QIODevice& device, CDrawDoc& doc);

// The file-level steps the file commands call. Reading opens the file read-only; a file of
// length 0 gives an empty document. Writing goes to a new file beside `path` that replaces
// it only once it is complete, so a failed save leaves the old file as it was. Problems of
// the file itself (cannot open, read or write) are IoError and are not reported here: the
// caller reports them.
FileResult ReadDocumentFile(const QString& path, CDrawDoc& doc);
FileResult WriteDocumentFile(const QString& path, CDrawDoc& doc);

// --- object lists (clipboard, tests) ---

// Writes the count and every object of `objects` in order.
FileResult WriteObjectList(QIODevice& device, const QList<CDrawObj*>& objects);
QByteArray WriteObjectListBytes(const QList<CDrawObj*>& objects);

// Reads a count and that many objects (version 3 form) and appends them to `out`, owned by
// the caller, with m_pOwnerDoc set to `owner`. On failure nothing is appended: the objects
// read so far are deleted with their working files; nothing is reported.
FileResult ReadObjectList(QIODevice& device, QList<CDrawObj*>& out, CDrawDoc* owner = nullptr);
FileResult ReadObjectList(QByteArrayView bytes, QList<CDrawObj*>& out,
                          CDrawDoc* owner = nullptr);

// --- the picture seam ---

// Loads the raster of a picture object just read: m_strImageFile names the extracted working
// file (empty when it could not be made). The loader sets CDrawImage::m_pRaster (null when
// the picture cannot be decoded) and may replace the working file by another one holding the
// same bytes (deleting the old one and setting m_strImageFile). It is called for every
// CDrawImage read with m_bHasImage set, on the thread that reads. Without a loader the
// working file is kept and m_pRaster stays null; the bytes are written back unchanged either
// way.
using PictureLoader = std::function<void(CDrawImage& image)>;
// Installs the loader and returns the previous one.
PictureLoader SetPictureLoader(PictureLoader loader);

}  // namespace lw
