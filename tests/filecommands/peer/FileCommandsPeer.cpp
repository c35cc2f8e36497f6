// Another copy of the editor for the file command tests, using the same file commands:
//
//   lw_filecommands_peer hold PATH        opens PATH for editing, prints "editing" (or
//                                         "read-only" when it was offered read-only opening,
//                                         which it accepts), then waits for its standard
//                                         input to close
//   lw_filecommands_peer crash-save PATH  opens PATH, changes the page and saves it, but dies
//                                         (_exit) when half of the new file is written
//
// Every question is answered with OK or Yes and printed to standard error as its text id.

#include "document/CDrawDoc.h"
#include "document/CDrawRect.h"
#include "document/DocFile.h"
#include "document/FileCommands.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFileDevice>
#include <QIODevice>

#include <unistd.h>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

namespace {

class AcceptingPrompts : public lw::FilePrompts {
 public:
  lw::PromptAnswer Ask(const lw::PromptMessage& m) override {
    std::fprintf(stderr, "asked %d\n", m.textId);
    asked = m.textId;
    return m.buttons == lw::PromptButtons::YesNoCancel ? lw::PromptAnswer::Yes
                                                       : lw::PromptAnswer::Ok;
  }
  QString ChooseOpenFile(const QString&, const QString&) override { return QString(); }
  QString ChooseSaveFile(const QString&, const QString&, const QString&) override {
    return QString();
  }
  int asked = 0;
};

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s hold|crash-save PATH\n", argv[0]);
    return 2;
  }
  const QString path = QString::fromLocal8Bit(argv[2]);
  CDrawDoc doc;
  AcceptingPrompts prompts;
  lw::FileCommands files(doc, prompts);

  if (std::strcmp(argv[1], "hold") == 0) {
    if (!files.OnOpenDocument(path)) return 1;
    std::printf("%s\n", files.IsHoldingFile() ? "editing" : "read-only");
    std::fflush(stdout);
    std::string line;
    while (std::getline(std::cin, line)) {
    }
    return 0;
  }

  if (std::strcmp(argv[1], "crash-save") == 0) {
    if (!files.OnOpenDocument(path) || !files.IsHoldingFile()) return 1;
    doc.AddObject(new CDrawRect(LRect{-100, 100, 100, -100}));
    lw::DocumentIo io = lw::DefaultDocumentIo();
    io.write = [](CDrawDoc& d, QIODevice& out) {
      QBuffer whole;
      whole.open(QIODevice::WriteOnly);
      if (!lw::WriteDocument(whole, d).ok()) return false;
      const QByteArray bytes = whole.data();
      out.write(bytes.constData(), bytes.size() / 2);
      if (auto* file = qobject_cast<QFileDevice*>(&out)) file->flush();
      // The program dies here, as in a crash or a power cut in the middle of the write.
      std::fflush(nullptr);
      ::_exit(9);
    };
    files.SetDocumentIo(io);
    files.OnFileSave();
    return 0;  // not reached
  }
  std::fprintf(stderr, "unknown mode %s\n", argv[1]);
  return 2;
}
