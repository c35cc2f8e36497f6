// Feeds the input to the cover page file reader, once as a byte span and once through a
// QBuffer. Both readers must agree; whatever reads must write, and what is written must read
// back and write again to the very same bytes. Any disagreement aborts.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include <QBuffer>
#include <QByteArray>

#include "document/CDrawDoc.h"
#include "document/DocFile.h"
#include "document/DocGlobals.h"
#include "document/MessageSeam.h"

namespace {

QByteArray Save(CDrawDoc& doc) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!lw::WriteDocument(buffer, doc).ok()) std::abort();
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool quiet = [] {
    lw::SetMessageHandler([](int, const QString&) {});
    // The reader alone: picture decoding has its own fuzz target.
    lw::SetPictureLoader(nullptr);
    return true;
  }();
  (void)quiet;
  lw::ResetAllState();
  const QByteArrayView input(reinterpret_cast<const char*>(data), qsizetype(size));

  CDrawDoc spanDoc;
  const lw::FileResult spanResult = lw::ReadDocument(input, spanDoc);
  const QByteArray spanBytes = spanResult.ok() ? Save(spanDoc) : QByteArray();
  spanDoc.DeleteAllObjects();

  lw::ResetAllState();
  QByteArray copy = input.toByteArray();
  QBuffer buffer(&copy);
  buffer.open(QIODevice::ReadOnly);
  CDrawDoc deviceDoc;
  const lw::FileResult deviceResult = lw::ReadDocument(buffer, deviceDoc);
  if (deviceResult.status != spanResult.status || deviceResult.offset != spanResult.offset) {
    std::fprintf(stderr, "span: %s\ndevice: %s\n", qPrintable(spanResult.Describe("input")),
                 qPrintable(deviceResult.Describe("input")));
    std::abort();
  }
  if (!deviceResult.ok()) {
    if (!deviceDoc.m_objects.isEmpty()) std::abort();
    return 0;
  }
  if (Save(deviceDoc) != spanBytes) std::abort();
  deviceDoc.DeleteAllObjects();

  CDrawDoc again;
  if (!lw::ReadDocument(QByteArrayView(spanBytes), again).ok()) std::abort();
  if (Save(again) != spanBytes) std::abort();
  again.DeleteAllObjects();
  return 0;
}
