#pragma once
// HTTP transport to the device: multipart form posts built from a head file, a payload file
// and a closing string, and the GET of preview images. One fresh connection per call,
// synchronous. Results are 0 on success and non-zero otherwise: a libcurl error code for a
// failed exchange, or E_FAIL.

#include <QString>
#include <cstdint>
#include <string>

namespace lw {

// The general failure result.
inline constexpr int E_FAIL = static_cast<int>(0x80004005u);

// The boundary parameter of every form; delimiter lines carry two more hyphens.
inline constexpr const char* kFormBoundary = "------WebTarn";

// The largest preview image a download stores; command responses are bounded by
// kMaxResponseBytes (UploadMessages.h).
inline constexpr std::size_t kMaxPreviewBytes = 64u * 1024 * 1024;

// One POST.
struct PostJob {
  QString server;            // host name or address of the device
  QString path;              // "/UPCMD.CGI" or "/UPDATA.CGI"
  std::string headFile;      // form parts before the payload, and the payload's part header
  std::string dataFile;      // the payload
  std::string responseFile;  // where the response body is stored
  std::string tail;          // FormTail()
  uint16_t port = 0;         // 0 means 80
};

// Time-outs and body limits of the transport. The defaults are the product's; tests shorten
// them. Each time-out bounds one phase: connecting, and any stretch in which no byte moves.
struct TransportSettings {
  int postTimeoutMs = 20000;
  int downloadTimeoutMs = 180000;
  std::size_t maxResponseBytes = 16u * 1024 * 1024;
  std::size_t maxPreviewBytes = kMaxPreviewBytes;
};
TransportSettings& CurrentTransportSettings();

// Writes the head file of a command post (fields "version" = 1 and "datafile"). Returns 0.
int WriteXmlFormHead(const std::string& path);
// Writes the head file of an image post ("serviceid" as %08x, "pagenumber", "binfile").
int WriteImageFormHead(const std::string& path, uint32_t serviceId, int pageNumber);
// The same heads as bytes.
std::string XmlFormHead();
std::string ImageFormHead(uint32_t serviceId, int pageNumber);
// CR LF, the closing delimiter "--------WebTarn--", CR LF: 21 characters.
std::string FormTail();

// Posts the form and stores the response body whatever the HTTP status. 0 on success.
// A body larger than the settings' limit is cut off there and fails the post.
int PostForm(const PostJob& job);

// GETs `path` (as the server gave it) and stores the body in `localFile` only for status
// 200; other statuses write nothing and still give 0. E_FAIL when the exchange failed or
// the body exceeded the preview limit (the partial file is removed).
int DownloadFile(const QString& server, uint16_t port, const QString& path, const std::string& localFile);

// A readable description of the last failed PostForm or DownloadFile of this thread
// (for tools; the result codes are what callers test).
std::string LastTransportError();

}  // namespace lw
