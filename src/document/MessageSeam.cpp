#include "document/MessageSeam.h"

#include <cstdio>
#include <utility>

namespace lw {
namespace {
MessageHandler& Handler() {
  static MessageHandler handler;
  return handler;
}
}  // namespace

MessageHandler SetMessageHandler(MessageHandler handler) {
  return std::exchange(Handler(), std::move(handler));
}

void ReportMessage(int textId, const QString& detail) {
  if (const auto& h = Handler()) {
    h(textId, detail);
    return;
  }
  std::fprintf(stderr, "message %d%s%s\n", textId, detail.isEmpty() ? "" : ": ",
               detail.toLocal8Bit().constData());
}

}  // namespace lw
