#include "document/CDrawDoc.h"
#include "document/DocFile.h"
#include "document/FileCommands.h"
#include "document/MessageSeam.h"

namespace lw {

DocumentIo DefaultDocumentIo() {
  DocumentIo io;
  io.read = [](CDrawDoc& doc, const QString& path) {
    doc.DeleteAllObjects();
    const FileResult r = ReadDocumentFile(path, doc);
    switch (r.status) {
      case FileResult::Status::Ok:
        return ReadOutcome::Ok;
      case FileResult::Status::FormatError:
        return ReadOutcome::FormatError;  // reported by the reader
      case FileResult::Status::IoError:
        break;
    }
    ReportMessage(kTextFileUnreadable, path);
    return ReadOutcome::FileError;
  };
  io.write = [](CDrawDoc& doc, QIODevice& out) { return WriteDocument(out, doc).ok(); };
  return io;
}

}  // namespace lw
