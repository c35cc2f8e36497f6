#include "upload/HttpTransport.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <mutex>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lw {
namespace {

thread_local std::string t_lastError;

constexpr size_t kChunk = 65535;  // files and bodies move in pieces of at most this size

void EnsureCurl() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

std::string Delimiter() { return std::string("--") + kFormBoundary; }

std::string Disposition(const char* field) {
  return std::string("Content-Disposition: form-data; name=\"") + field + "\"\r\n";
}

int WriteWhole(const std::string& path, const std::string& bytes) {
  // A failure is not reported here; PostForm finds the file missing or short.
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  return 0;
}

// The host part of the URL, or empty when the text is not a plain host name or address
// (anything that would change the meaning of the URL is refused).
std::string HostPart(const QString& server) {
  const std::string s = server.trimmed().toUtf8().toStdString();
  if (s.empty()) return {};
  if (s.front() == '[' && s.back() == ']') {
    for (size_t i = 1; i + 1 < s.size(); ++i)
      if (!std::isxdigit(static_cast<unsigned char>(s[i])) && s[i] != ':' && s[i] != '.') return {};
    return s;
  }
  bool colon = false;
  for (unsigned char c : s) {
    if (c <= 0x20 || c == 0x7F || c == '/' || c == '?' || c == '#' || c == '@' || c == '\\' || c == '[' ||
        c == ']' || c == '%')
      return {};
    colon = colon || c == ':';
  }
  if (colon) {  // an IPv6 address written without brackets
    for (unsigned char c : s)
      if (!std::isxdigit(c) && c != ':' && c != '.') return {};
    return "[" + s + "]";
  }
  return s;
}

// The path as it goes into the request line: bytes outside printable ASCII are
// percent-encoded, everything else is kept as the server gave it.
std::string RequestPath(const QString& path) {
  const QByteArray utf8 = path.toUtf8();
  std::string out;
  if (!utf8.startsWith('/')) out += '/';
  static const char* hex = "0123456789ABCDEF";
  for (unsigned char c : utf8) {
    if (c <= 0x20 || c >= 0x7F) {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

std::string Url(const QString& server, uint16_t port, const QString& path) {
  const std::string host = HostPart(server);
  if (host.empty()) return {};
  return "http://" + host + ":" + std::to_string(port == 0 ? 80 : port) + RequestPath(path);
}

struct Fd {
  int fd = -1;
  ~Fd() {
    if (fd >= 0) ::close(fd);
  }
};

// Gives up when no byte has moved for the time-out (the send and receive time-outs).
struct StallGuard {
  int timeoutMs;
  curl_off_t lastTotal = -1;
  std::chrono::steady_clock::time_point lastMove = std::chrono::steady_clock::now();
  bool stalled = false;
};

int OnProgress(void* p, curl_off_t, curl_off_t dlnow, curl_off_t, curl_off_t ulnow) {
  auto* g = static_cast<StallGuard*>(p);
  const auto now = std::chrono::steady_clock::now();
  if (dlnow + ulnow != g->lastTotal) {
    g->lastTotal = dlnow + ulnow;
    g->lastMove = now;
    return 0;
  }
  if (std::chrono::duration_cast<std::chrono::milliseconds>(now - g->lastMove).count() > g->timeoutMs) {
    g->stalled = true;
    return 1;
  }
  return 0;
}

// The request body: the head file, the payload file and the tail, each sent exactly as
// long as it was declared.
struct BodySource {
  Fd files[2];
  off_t remaining[2] = {0, 0};
  std::string tail;
  size_t tailSent = 0;
  int part = 0;
  bool failed = false;
};

size_t ReadBody(char* buffer, size_t size, size_t nitems, void* p) {
  auto* b = static_cast<BodySource*>(p);
  size_t room = std::min(size * nitems, kChunk);
  while (b->part < 2 && b->remaining[b->part] == 0) ++b->part;
  if (b->part < 2) {
    const size_t want = static_cast<size_t>(std::min<off_t>(b->remaining[b->part], static_cast<off_t>(room)));
    const ssize_t n = ::read(b->files[b->part].fd, buffer, want);
    if (n <= 0) {  // the file shrank or broke since its size was taken
      b->failed = true;
      return CURL_READFUNC_ABORT;
    }
    b->remaining[b->part] -= n;
    return static_cast<size_t>(n);
  }
  const size_t n = std::min(room, b->tail.size() - b->tailSent);
  std::memcpy(buffer, b->tail.data() + b->tailSent, n);
  b->tailSent += n;
  return n;
}

// The response body, written to a file created when the first byte (or the end of an
// empty body) arrives, so a failed connection leaves an earlier file alone.
struct BodySink {
  std::string path;
  size_t limit = 0;
  size_t written = 0;
  Fd file;
  bool opened = false;
  bool tooLarge = false;
  bool writeFailed = false;
  // Downloads: only a 200 answer is stored.
  CURL* onlyStatus200 = nullptr;
  bool skipped = false;

  bool Open() {
    if (opened) return file.fd >= 0;
    opened = true;
    file.fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    return file.fd >= 0;
  }
};

size_t WriteBody(char* data, size_t size, size_t nmemb, void* p) {
  auto* s = static_cast<BodySink*>(p);
  const size_t n = size * nmemb;
  if (s->onlyStatus200) {
    long status = 0;
    curl_easy_getinfo(s->onlyStatus200, CURLINFO_RESPONSE_CODE, &status);
    if (status != 200) {
      s->skipped = true;
      return 0;  // stop reading a body that is not stored
    }
  }
  if (n == 0) return 0;
  if (s->written + n > s->limit) {
    s->tooLarge = true;
    return 0;
  }
  if (!s->Open()) {
    s->writeFailed = true;
    return 0;
  }
  for (size_t off = 0; off < n;) {
    const ssize_t w = ::write(s->file.fd, data + off, n - off);
    if (w <= 0) {
      s->writeFailed = true;
      return 0;
    }
    off += static_cast<size_t>(w);
  }
  s->written += n;
  return n;
}

bool OpenForReading(const std::string& path, Fd& fd, off_t& size) {
  fd.fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd.fd < 0) return false;
  struct stat st {};
  if (::fstat(fd.fd, &st) != 0 || !S_ISREG(st.st_mode)) return false;
  size = st.st_size;
  return true;
}

void CommonOptions(CURL* c, const std::string& url, int timeoutMs, StallGuard& guard) {
  curl_easy_setopt(c, CURLOPT_URL, url.c_str());
  curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http");
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(c, CURLOPT_FRESH_CONNECT, 1L);
  curl_easy_setopt(c, CURLOPT_FORBID_REUSE, 1L);
  curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(timeoutMs));
  curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, OnProgress);
  curl_easy_setopt(c, CURLOPT_XFERINFODATA, &guard);
  curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
  // The proxy follows the environment (http_proxy, no_proxy), libcurl's default.
}

std::string DescribeCurl(CURLcode rc, const char* errbuf) {
  std::string s = curl_easy_strerror(rc);
  if (errbuf && *errbuf) s += std::string(": ") + errbuf;
  return s;
}

}  // namespace

TransportSettings& CurrentTransportSettings() {
  static TransportSettings settings;
  return settings;
}

std::string LastTransportError() { return t_lastError; }

std::string XmlFormHead() {
  const std::string d = Delimiter() + "\r\n";
  return d + Disposition("version") + "\r\n" + "1\r\n" + d + Disposition("datafile") +
         "Content-Type: application/octet-stream\r\n" + "\r\n";
}

std::string ImageFormHead(uint32_t serviceId, int pageNumber) {
  char id[16];
  std::snprintf(id, sizeof id, "%08x", serviceId);
  const std::string d = Delimiter() + "\r\n";
  return d + Disposition("serviceid") + "\r\n" + id + "\r\n" + d + Disposition("pagenumber") + "\r\n" +
         std::to_string(pageNumber) + "\r\n" + d + Disposition("binfile") +
         "Content-Type: application/octet-stream\r\n" + "\r\n";
}

std::string FormTail() { return "\r\n" + Delimiter() + "--\r\n"; }

int WriteXmlFormHead(const std::string& path) { return WriteWhole(path, XmlFormHead()); }

int WriteImageFormHead(const std::string& path, uint32_t serviceId, int pageNumber) {
  return WriteWhole(path, ImageFormHead(serviceId, pageNumber));
}

int PostForm(const PostJob& job) {
  EnsureCurl();
  t_lastError.clear();
  const TransportSettings& settings = CurrentTransportSettings();
  const std::string url = Url(job.server, job.port, job.path);
  if (url.empty()) {
    t_lastError = "not a valid server address: " + job.server.toStdString();
    return E_FAIL;
  }
  BodySource body;
  if (!OpenForReading(job.headFile, body.files[0], body.remaining[0])) {
    t_lastError = "cannot read " + job.headFile;
    return E_FAIL;
  }
  if (!OpenForReading(job.dataFile, body.files[1], body.remaining[1])) {
    t_lastError = "cannot read " + job.dataFile;
    return E_FAIL;
  }
  body.tail = job.tail;
  const curl_off_t total = body.remaining[0] + body.remaining[1] + static_cast<curl_off_t>(job.tail.size());

  CURL* c = curl_easy_init();
  if (!c) {
    t_lastError = "cannot start the HTTP client";
    return E_FAIL;
  }
  StallGuard guard{settings.postTimeoutMs};
  BodySink sink;
  sink.path = job.responseFile;
  sink.limit = settings.maxResponseBytes;
  char errbuf[CURL_ERROR_SIZE] = {};
  CommonOptions(c, url, settings.postTimeoutMs, guard);
  curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errbuf);
  curl_easy_setopt(c, CURLOPT_POST, 1L);
  curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE, total);
  // A body that fits in one chunk is read whole and leaves together with the request head
  // (one write instead of two); larger bodies are streamed chunk by chunk.
  std::string oneChunk;
  if (total <= static_cast<curl_off_t>(kChunk)) {
    oneChunk.resize(static_cast<size_t>(total));
    size_t got = 0;
    while (got < oneChunk.size()) {
      const size_t n = ReadBody(oneChunk.data() + got, 1, oneChunk.size() - got, &body);
      if (n == 0 || n == CURL_READFUNC_ABORT) break;
      got += n;
    }
    if (got != oneChunk.size() || body.failed) {
      curl_easy_cleanup(c);
      t_lastError = "a request file changed while it was read";
      return E_FAIL;
    }
    curl_easy_setopt(c, CURLOPT_POSTFIELDS, oneChunk.data());
  } else {
    curl_easy_setopt(c, CURLOPT_READFUNCTION, ReadBody);
    curl_easy_setopt(c, CURLOPT_READDATA, &body);
  }
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, WriteBody);
  curl_easy_setopt(c, CURLOPT_WRITEDATA, &sink);
  curl_slist* headers = nullptr;
  headers = curl_slist_append(headers, "Accept: text/*,application/*");
  headers = curl_slist_append(headers, "User-Agent: Test");
  headers = curl_slist_append(headers, "Content-Type: multipart/form-data; boundary=------WebTarn");
  headers = curl_slist_append(headers, "Expect:");  // the body follows the head at once
  curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers);

  const CURLcode rc = curl_easy_perform(c);
  int result = 0;
  if (body.failed) {
    t_lastError = "a request file changed while it was sent";
    result = E_FAIL;
  } else if (sink.tooLarge) {
    t_lastError = "the response is larger than " + std::to_string(sink.limit) + " bytes";
    result = E_FAIL;
  } else if (sink.writeFailed) {
    t_lastError = "cannot write " + job.responseFile;
    result = E_FAIL;
  } else if (guard.stalled) {
    t_lastError = "timed out";
    result = CURLE_OPERATION_TIMEDOUT;
  } else if (rc != CURLE_OK) {
    t_lastError = DescribeCurl(rc, errbuf);
    result = rc;
  } else if (!sink.Open()) {  // an empty body still leaves an (empty) response file
    t_lastError = "cannot write " + job.responseFile;
    result = E_FAIL;
  }
  curl_slist_free_all(headers);
  curl_easy_cleanup(c);
  return result;
}

int DownloadFile(const QString& server, uint16_t port, const QString& path, const std::string& localFile) {
  EnsureCurl();
  t_lastError.clear();
  const TransportSettings& settings = CurrentTransportSettings();
  const std::string url = Url(server, port, path);
  if (url.empty()) {
    t_lastError = "not a valid server address: " + server.toStdString();
    return E_FAIL;
  }
  CURL* c = curl_easy_init();
  if (!c) return E_FAIL;
  StallGuard guard{settings.downloadTimeoutMs};
  BodySink sink;
  sink.path = localFile;
  sink.limit = settings.maxPreviewBytes;
  sink.onlyStatus200 = c;
  char errbuf[CURL_ERROR_SIZE] = {};
  CommonOptions(c, url, settings.downloadTimeoutMs, guard);
  curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errbuf);
  curl_easy_setopt(c, CURLOPT_HTTPGET, 1L);
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, WriteBody);
  curl_easy_setopt(c, CURLOPT_WRITEDATA, &sink);
  curl_easy_setopt(c, CURLOPT_USERAGENT, "Relaywatch Session");
  const CURLcode rc = curl_easy_perform(c);
  long status = 0;
  curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
  curl_easy_cleanup(c);

  int result = 0;
  if (sink.skipped || (rc == CURLE_OK && status != 200)) {
    result = 0;  // not stored, not an error
  } else if (sink.tooLarge) {
    t_lastError = "the preview is larger than " + std::to_string(sink.limit) + " bytes";
    result = E_FAIL;
  } else if (sink.writeFailed) {
    t_lastError = "cannot write " + localFile;
    result = E_FAIL;
  } else if (guard.stalled) {
    t_lastError = "timed out";
    result = E_FAIL;
  } else if (rc != CURLE_OK) {
    t_lastError = DescribeCurl(rc, errbuf);
    result = E_FAIL;
  } else if (!sink.Open()) {  // status 200 with an empty body: an empty file
    t_lastError = "cannot write " + localFile;
    result = E_FAIL;
  }
  if (result != 0 && sink.opened) ::unlink(localFile.c_str());  // no partial preview stays
  return result;
}

}  // namespace lw
