#pragma once
// The three transactions with the device's cover page service, each one form post:
// list the slots, create (or replace) the cover page of a slot, send its page image.
// Every step writes a trace line; callers learn only success (0) or failure (non-zero).
//
// Message files have fixed names ("CREATE_SEND.XML", ...) in the folder the caller passes:
// always the private per-user temporary folder (UploadTempFolder), never a folder other
// users can write, since fixed names there would let another user plant a link for us to
// overwrite. After a successful transaction its files are deleted; after a failure they
// stay for inspection.

#include <QString>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "document/FieldCatalogue.h"
#include "upload/HttpTransport.h"
#include "upload/UploadMessages.h"

namespace lw {

// The port of the destination for this run (the upload dialog sets it when it opens;
// 0 means 80). All transactions and the preview download use it.
uint16_t CurrentUploadPort();
void SetCurrentUploadPort(uint16_t port);

// The private temporary folder with a trailing '/', or empty when there is none (then every
// transaction fails instead of writing anywhere else).
std::string UploadTempFolder();

inline constexpr const char* kCommandPath = "/UPCMD.CGI";
inline constexpr const char* kImagePath = "/UPDATA.CGI";

// CREATECOVERPAGE: 0 and the service id on success, E_FAIL otherwise.
int SendCreate(const std::string& folder, const QString& server, const PageFieldSet& fieldSet,
               uint32_t& serviceId);
// SEND_IMAGE: posts `imageFile` (never deleted here) as page 1. 0 or E_FAIL.
int SendImage(const std::string& folder, const QString& server, const std::string& imageFile,
              uint32_t serviceId);
// LISTCOVERPAGE: appends the slot table (5 or 20 entries, entry k is slot k + 1) to `table`.
// 0 on success, -1 when the device answered with a code other than 600, E_FAIL otherwise.
int ListSlots(const std::string& folder, const QString& server, std::vector<SlotEntry>& table);

// Builds the slot table from the entries of a list response: 20 slots when an id above 5
// came back, else 5; the first entry of each slot number wins; others are left out.
std::vector<SlotEntry> BuildSlotTable(const std::vector<SlotEntry>& received);

// Renders the page to a one-page fax TIFF and returns its path (empty on failure).
using PageImageRenderer = std::function<std::string()>;

enum class UploadStep { None, Create, Render, Image };

// The whole upload: create with `fieldSet` for slot `coverPageId`, then (only on success)
// render the page image and send it. 0 on success; otherwise non-zero, and `failedStep`
// (when given) names the step that failed.
int UploadPage(PageFieldSet fieldSet, int coverPageId, const QString& server,
               const PageImageRenderer& renderImage, UploadStep* failedStep = nullptr);

}  // namespace lw
