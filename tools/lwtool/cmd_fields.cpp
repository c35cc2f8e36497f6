// lwtool fields: the create request an upload of a cover page would send.
#include <QFileInfo>

#include <cstdio>

#include "Command.h"
#include "app/texts/TextLoader.h"
#include "document/CDrawDoc.h"
#include "document/DocFile.h"
#include "document/DocGlobals.h"
#include "document/FieldCatalogue.h"
#include "document/FontMapping.h"
#include "document/MessageSeam.h"
#include "upload/UploadMessages.h"

namespace lwtool {

// Reads a cover page file as the editor would open it for an upload (fonts substituted, the
// page in the file's orientation, the title taken from the file name). Shared with
// `lwtool upload store`. Returns false with `error`; the document is empty then.
bool LoadCoverPage(const QString& path, CDrawDoc& doc, QString& error) {
  lw::SetFieldTextLookup([](int id) { return lw::LoadText(static_cast<unsigned>(id)); });
  lw::InstallFontSubstitutions();
  const lw::MessageHandler previous = lw::SetMessageHandler([](int, const QString&) {});
  const lw::FileResult r = lw::ReadDocumentFile(path, doc);
  lw::SetMessageHandler(previous);
  if (!r.ok()) {
    error = r.Describe(path);
    doc.DeleteAllObjects();
    return false;
  }
  g_strDocPath = QFileInfo(path).absoluteFilePath();
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
  CDrawDoc doc;
  QString error;
  if (!lwtool::LoadCoverPage(file, doc, error)) return lwtool::Fail(error);
  lw::PageFieldSet set;
  doc.BuildFieldSet(set);
  doc.DeleteAllObjects();  // the extracted picture files are not needed
  set.coverPageId = slot;
  const std::string xml = lw::CreateMessageBytes(set);
  std::fwrite(xml.data(), 1, xml.size(), stdout);
  std::fputc('\n', stdout);
  return 0;
}

}  // namespace

LWTOOL_COMMAND("fields", "fields IN.lwt [--slot N]", Fields);
