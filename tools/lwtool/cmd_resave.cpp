// lwtool resave IN.lwt OUT.lwt: reads a cover page file of any version and writes it in the
// current one. OUT is replaced only by a complete file.
#include "Command.h"
#include "document/CDrawDoc.h"
#include "document/DocFile.h"
#include "document/MessageSeam.h"

namespace {

int Resave(const QStringList& args) {
  if (args.size() != 2) return lwtool::Fail(QStringLiteral("usage: lwtool resave IN.lwt OUT.lwt"));
  // The reader's own result names the problem; the message seam has nothing to add here.
  const lw::MessageHandler previous = lw::SetMessageHandler([](int, const QString&) {});
  // The pictures' bytes are all this command needs; decoding them is left out.
  lw::SetPictureLoader(nullptr);
  CDrawDoc doc;
  const lw::FileResult in = lw::ReadDocumentFile(args[0], doc);
  lw::SetMessageHandler(previous);
  if (!in.ok()) return lwtool::Fail(in.Describe(args[0]));
  const lw::FileResult out = lw::WriteDocumentFile(args[1], doc);
  // DeleteAllObjects also removes the working files of the pictures read.
  doc.DeleteAllObjects();
  if (!out.ok()) return lwtool::Fail(out.Describe(args[1]));
  return 0;
}

}  // namespace

LWTOOL_COMMAND("resave", "resave IN.lwt OUT.lwt", Resave);
