// The device's responses as the upload reads them: a command response and a slot list.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "upload/UploadMessages.h"
#include "upload/UploadTransactions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  lw::ServerResponse response;
  lw::ReadResponseBytes(bytes, response);
  int32_t code = 0;
  std::vector<lw::SlotEntry> entries;
  if (lw::ReadSlotListBytes(bytes, code, entries) == 0) {
    const auto table = lw::BuildSlotTable(entries);
    if (table.size() != 5 && table.size() != 20) __builtin_trap();
  }
  return 0;
}
