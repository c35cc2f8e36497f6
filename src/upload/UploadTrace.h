#pragma once
// Trace lines of the upload transactions. They go to the diagnostic log, which records
// them only when tracing is switched on; a test or tool may install its own sink as well.

#include <functional>
#include <string>

namespace lw {

// Formats a line printf-style and hands it to the log (and to the sink, when one is set).
void UploadTrace(const char* format, ...) __attribute__((format(printf, 1, 2)));

using UploadTraceSink = std::function<void(const std::string& line)>;
// Installs a sink that receives every line whatever the log's level; returns the previous.
UploadTraceSink SetUploadTraceSink(UploadTraceSink sink);

}  // namespace lw
