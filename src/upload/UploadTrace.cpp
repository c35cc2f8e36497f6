#include "upload/UploadTrace.h"

#include <cstdarg>
#include <cstdio>

#include "log/DiagnosticLog.h"

namespace lw {
namespace {
UploadTraceSink& Sink() {
  static UploadTraceSink sink;
  return sink;
}
}  // namespace

UploadTraceSink SetUploadTraceSink(UploadTraceSink sink) {
  UploadTraceSink old = std::move(Sink());
  Sink() = std::move(sink);
  return old;
}

void UploadTrace(const char* format, ...) {
  char line[2048];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  TheDiagnosticLog().Write("%s", line);
  if (Sink()) Sink()(line);
}

}  // namespace lw
