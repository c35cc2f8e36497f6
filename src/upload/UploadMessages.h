#pragma once
// The XML messages exchanged with the device's cover page service.
//
// Requests are written to files (the transport posts them); responses are read from the
// files the transport stored. Writers return 0 or -1; readers report as described below.
// Every reader bounds the file it loads (kMaxResponseBytes) before parsing.

#include <QString>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "document/FieldCatalogue.h"

namespace lw {

// The largest response document the readers load; the transport cuts bodies off there too.
inline constexpr std::size_t kMaxResponseBytes = 16u * 1024 * 1024;

// The answer to a command (create cover page, send image).
struct ServerResponse {
  QString codeText;         // text of the result code element
  int32_t code = 0;         // 600 is success; 0 until a code element is seen
  uint32_t serviceId = 0;   // hexadecimal in the response
  uint32_t faxJobId = 0;
  uint32_t documentId = 0;
};

// One slot of the device's cover page table.
struct SlotEntry {
  int32_t id = 0;      // slot number, 1 and up
  QString name;        // the cover page's name
  QString imagePath;   // server path of the preview image
  QString timestamp;   // creation date and time, as the device sent it
  bool operator==(const SlotEntry&) const = default;
};

inline constexpr int32_t kCodeSuccess = 600;

// Writes the create request for `fieldSet` to `path`. 0, or -1 when nothing was written.
int WriteCreateMessage(const std::string& path, const PageFieldSet& fieldSet);
// Writes the list request to `path`. 0, or -1 when nothing was written.
int WriteListMessage(const std::string& path);

// The same documents as bytes (what the writers save).
std::string CreateMessageBytes(const PageFieldSet& fieldSet);
std::string ListMessageBytes();

// Reads a command response. Returns 0 in every case but one that cannot occur with a loaded
// document; an unreadable, oversized or malformed file, a missing "RESPONSE" element or a
// missing code element leave `response.code` 0, which callers treat as failure.
int ReadResponse(const std::string& path, ServerResponse& response);
int ReadResponseBytes(std::string_view bytes, ServerResponse& response);

// Reads a list response: sets `code` and appends the slots with a non-zero id to `entries`
// in document order. 0 on success; -1 when the file cannot be loaded (missing, oversized,
// malformed) or holds no "CODE" element. Succeeds whatever the code is.
int ReadSlotList(const std::string& path, int32_t& code, std::vector<SlotEntry>& entries);
int ReadSlotListBytes(std::string_view bytes, int32_t& code, std::vector<SlotEntry>& entries);

// Number readers of response texts: leading white space skipped, optional sign, digits up to
// the first other character, no digits give 0, out-of-range values saturate.
int32_t ParseDecimal(std::u16string_view text);
// Hexadecimal: leading white space skipped, then at most 8 characters, digits in either
// case up to the first other character; no digits give 0.
uint32_t ParseHex8(std::u16string_view text);

}  // namespace lw
