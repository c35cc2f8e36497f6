// lwtool upload: the list transaction and the whole upload of a cover page into a slot of a
// device (or of leafwright-mfp-sim).
#include <QFile>
#include <QFileInfo>

#include <cstdio>

#include "Command.h"
#include "base/TempFiles.h"
#include "document/CDrawDoc.h"
#include "document/PageImage.h"
#include "upload/HttpTransport.h"
#include "upload/UploadTrace.h"
#include "upload/UploadTransactions.h"

namespace lwtool {
bool LoadCoverPage(const QString& path, CDrawDoc& doc, QString& error);  // cmd_fields.cpp
}

namespace {

constexpr const char* kUsage =
    "upload --server HOST [--port P] [--trace] list | store N IN.lwt [--image PAGE.tif]";

QString Usage() { return QStringLiteral("usage: lwtool ") + kUsage; }

// Why the last transaction failed, from the transport or from the response it left behind.
QString FailureDetail(const std::string& responseFile) {
  const std::string transport = lw::LastTransportError();
  if (!transport.empty()) return QString::fromStdString(transport);
  lw::ServerResponse r;
  lw::ReadResponse(responseFile, r);
  if (r.codeText.isEmpty()) return QStringLiteral("the device's answer holds no result code");
  return QStringLiteral("the device answered code %1").arg(r.codeText);
}

int List(const QString& server) {
  std::vector<lw::SlotEntry> table;
  const std::string folder = lw::UploadTempFolder();
  const int rc = lw::ListSlots(folder, server, table);
  if (rc == -1) return lwtool::Fail(QStringLiteral("list failed: the device answered a code other than 600"));
  if (rc != 0) return lwtool::Fail(QStringLiteral("list failed: %1").arg(FailureDetail(folder + "LIST_RET.XML")));
  for (const lw::SlotEntry& s : table) {
    if (s.name.isEmpty() && s.imagePath.isEmpty())
      lwtool::Print(QStringLiteral("%1  (empty)").arg(s.id, 2));
    else
      lwtool::Print(QStringLiteral("%1  %2  %3  %4").arg(s.id, 2).arg(s.name, s.timestamp, s.imagePath));
  }
  return 0;
}

int Store(const QString& server, const QStringList& rest) {
  QString file, image;
  int slot = 0;
  bool haveSlot = false;
  for (int i = 0; i < rest.size(); ++i) {
    if (rest[i] == "--image" && i + 1 < rest.size()) {
      image = rest[++i];
    } else if (!haveSlot) {
      slot = rest[i].toInt(&haveSlot);
      if (!haveSlot || slot < 1) return lwtool::Fail(QStringLiteral("store needs a slot number from 1"));
    } else if (file.isEmpty()) {
      file = rest[i];
    } else {
      return lwtool::Fail(Usage());
    }
  }
  if (!haveSlot || file.isEmpty()) return lwtool::Fail(Usage());

  CDrawDoc doc;
  QString error;
  if (!lwtool::LoadCoverPage(file, doc, error)) return lwtool::Fail(error);
  lw::PageFieldSet set;
  doc.BuildFieldSet(set);
  lw::PageImageRenderer render;
  QString rendered, renderError;
  if (!image.isEmpty()) {
    const std::string path = QFileInfo(image).absoluteFilePath().toStdString();
    render = [path] { return path; };
  } else {
    // The page as the editor renders it for the device, made only once the create succeeded.
    render = [&] {
      const std::string bmp = lw::MakeTempFile("Bmp", ".bmp");
      if (bmp.empty()) return std::string();
      rendered = lw::MakeFaxPageImage(doc, QString::fromStdString(bmp), &renderError);
      return rendered.toStdString();
    };
  }
  lw::UploadStep step = lw::UploadStep::None;
  const std::string folder = lw::UploadTempFolder();
  const int rc = lw::UploadPage(set, slot, server, render, &step);
  doc.DeleteAllObjects();
  if (!rendered.isEmpty()) QFile::remove(rendered);
  if (rc == 0) {
    lwtool::Print(QStringLiteral("stored %1 in slot %2").arg(file).arg(slot));
    return 0;
  }
  switch (step) {
    case lw::UploadStep::Create:
      return lwtool::Fail(QStringLiteral("the create step failed: %1").arg(FailureDetail(folder + "CREATE_RET.XML")));
    case lw::UploadStep::Render:
      return lwtool::Fail(QStringLiteral("the page image could not be made: %1").arg(renderError));
    default:
      return lwtool::Fail(QStringLiteral("the image step failed: %1").arg(FailureDetail(folder + "CPIMG_RET.XML")));
  }
}

int Upload(const QStringList& args) {
  QString server;
  int port = 0;
  bool trace = false;
  int i = 0;
  for (; i < args.size(); ++i) {
    if (args[i] == "--server" && i + 1 < args.size()) {
      server = args[++i];
    } else if (args[i] == "--port" && i + 1 < args.size()) {
      bool ok = false;
      port = args[++i].toInt(&ok);
      if (!ok || port < 0 || port > 65535) return lwtool::Fail(QStringLiteral("--port needs a number from 0 to 65535"));
    } else if (args[i] == "--trace") {
      trace = true;
    } else {
      break;
    }
  }
  if (server.isEmpty() || i >= args.size()) return lwtool::Fail(Usage());
  lw::SetCurrentUploadPort(static_cast<uint16_t>(port));
  if (trace) lw::SetUploadTraceSink([](const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); });
  if (lw::UploadTempFolder().empty()) return lwtool::Fail(QStringLiteral("no private temporary folder"));
  const QString verb = args[i];
  const QStringList rest = args.mid(i + 1);
  if (verb == "list" && rest.isEmpty()) return List(server);
  if (verb == "store") return Store(server, rest);
  return lwtool::Fail(Usage());
}

}  // namespace

LWTOOL_COMMAND("upload", kUsage, Upload);
