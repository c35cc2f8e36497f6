// lwtool fields: the create request an upload of a cover page would send.
#include <QFileInfo>

#include <cstdio>

#include "Command.h"
#include "app/texts/TextLoader.h"
#include "document/CDrawDoc.h"
#include "document/DocFile.h"
#include "document/DocGlobals.h"
#include "document/FieldCatalogue.h"
#include "upload/UploadMessages.h"

namespace lwtool {

// Reads a cover page file and builds its field set as the upload does (title from the
// file name). Shared with `lwtool upload store`. Returns false with `error`.
bool LoadFieldSet(const QString& path, lw::PageFieldSet& set, QString& error) {
  lw::SetFieldTextLookup([](int id) { return lw::LoadText(static_cast<unsigned>(id)); });
  CDrawDoc doc;
  const lw::FileResult r = lw::ReadDocumentFile(path, doc);
  if (!r.ok()) {
    error = QStringLiteral("%1: %2").arg(path, r.problem.isEmpty() ? QStringLiteral("cannot read") : r.problem);
    doc.DeleteAllObjects();
    return false;
  }
  g_strDocPath = QFileInfo(path).absoluteFilePath();
  doc.BuildFieldSet(set);
  doc.DeleteAllObjects();
  return true;
}

}  // namespace lwtool

namespace {

int Fields(const QStringList& args) {
  QString file;
  int slot = 0;
  for (int i = 0; i < args.size(); ++i) {
    if (args[i] == "--slot" && i + 1 < args.size()) {
      bool ok = false;
      slot = args[++i].toInt(&ok);
      if (!ok) return lwtool::Fail(QStringLiteral("--slot needs a number"));
    } else if (file.isEmpty() && !args[i].startsWith("--")) {
      file = args[i];
    } else {
      return lwtool::Fail(QStringLiteral("usage: lwtool fields IN.lwt [--slot N]"));
    }
  }
  if (file.isEmpty()) return lwtool::Fail(QStringLiteral("usage: lwtool fields IN.lwt [--slot N]"));
  lw::PageFieldSet set;
  QString error;
  if (!lwtool::LoadFieldSet(file, set, error)) return lwtool::Fail(error);
  set.coverPageId = slot;
  const std::string xml = lw::CreateMessageBytes(set);
  std::fwrite(xml.data(), 1, xml.size(), stdout);
  std::fputc('\n', stdout);
  return 0;
}

}  // namespace

LWTOOL_COMMAND("fields", "fields IN.lwt [--slot N]", Fields);
