#include "faxtiff/LastError.h"

namespace lw::faxtiff {
namespace {
thread_local std::string g_lastError;
}

const std::string& LastErrorText() { return g_lastError; }

void SetLastErrorText(const char* text) { g_lastError = text; }

}  // namespace lw::faxtiff
