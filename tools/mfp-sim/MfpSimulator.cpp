#include "MfpSimulator.h"

#include <httplib.h>
#include <pugixml.hpp>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>

#include "MfpForm.h"

namespace mfpsim {
namespace {

namespace fs = std::filesystem;

// The header under which the request's own Content-Type is kept while the body is read
// (see the pre-routing handler).
constexpr const char* kFormTypeHeader = "X-Mfpsim-Form-Type";
constexpr size_t kMaxRequestBytes = 64u * 1024 * 1024;

struct PendingCreate {
  int slot = 0;
  std::string name;
  std::string request;
};

std::string Now() {
  std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  char buf[32];
  std::strftime(buf, sizeof buf, "%Y/%m/%d %H:%M:%S", &tm);
  return buf;
}

std::string Serialize(const pugi::xml_document& doc) {
  std::ostringstream out;
  doc.save(out, "", pugi::format_raw, pugi::encoding_utf8);
  return out.str();
}

pugi::xml_node AddText(pugi::xml_node parent, const char* name, const std::string& text) {
  pugi::xml_node e = parent.append_child(name);
  e.text().set(text.c_str());
  return e;
}

bool ReadFile(const fs::path& p, std::string& out) {
  std::ifstream in(p, std::ios::binary);
  if (!in) return false;
  std::ostringstream s;
  s << in.rdbuf();
  out = s.str();
  return true;
}

bool WriteFileAtomically(const fs::path& p, const std::string& bytes) {
  const fs::path tmp = p.string() + ".part";
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()))) return false;
  }
  std::error_code ec;
  fs::rename(tmp, p, ec);
  return !ec;
}

std::string SlotFile(int slot, const char* ext) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "slot-%02d.%s", slot, ext);
  return buf;
}

}  // namespace

struct Simulator::Impl {
  Options options;
  httplib::Server server;
  std::thread thread;
  int port = 0;

  mutable std::mutex mutex;
  std::condition_variable wake;
  bool stopping = false;
  bool stopped = false;
  Faults faults;
  std::map<int, StoredSlot> slots;
  std::map<uint32_t, PendingCreate> pending;
  std::map<std::string, RecordedRequest> recorded;
  uint32_t nextServiceId = 0;

  explicit Impl(Options o) : options(std::move(o)), faults(options.faults) {
    std::random_device rd;
    nextServiceId = (rd() & 0x0FFFFFFF) | 0x10000000;  // eight hexadecimal digits
  }

  // ---- responses ----

  std::string CodeName(const Faults& f) const { return f.cord ? "CORD" : "CODE"; }

  std::string CommandResponse(const Faults& f, int code, uint32_t serviceId, const std::string& message) {
    pugi::xml_document doc;
    pugi::xml_node decl = doc.append_child(pugi::node_declaration);
    decl.append_attribute("version") = "1.0";
    decl.append_attribute("encoding") = "UTF-8";
    pugi::xml_node r = doc.append_child("RESPONSE");
    AddText(r, CodeName(f).c_str(), std::to_string(f.errorCode ? f.errorCode : code));
    if (serviceId) {
      char hex[16];
      std::snprintf(hex, sizeof hex, "%08X", serviceId);
      AddText(r, "SERVICEID", hex);
      AddText(r, "DOCUMENTID", "00000001");
      AddText(r, "FAXJOBID", "00000001");
    }
    if (!message.empty()) AddText(r, "MESSAGE", message);
    return Serialize(doc);
  }

  std::string ListResponse(const Faults& f) {
    pugi::xml_document doc;
    pugi::xml_node decl = doc.append_child(pugi::node_declaration);
    decl.append_attribute("version") = "1.0";
    decl.append_attribute("encoding") = "UTF-8";
    pugi::xml_node r = doc.append_child("RESPONSE");
    AddText(r, CodeName(f).c_str(), std::to_string(f.errorCode ? f.errorCode : kCodeOk));
    pugi::xml_node list = r.append_child("COVERPAGELIST");
    std::lock_guard lock(mutex);
    for (const auto& [id, slot] : slots) {
      pugi::xml_node c = list.append_child("COVERPAGE");
      AddText(c, "COVERPAGEID", std::to_string(id));
      AddText(c, "NAME", slot.name);
      AddText(c, "IMAGEPATH", ImagePathOf(id));
      AddText(c, "TIMESTAMP", slot.timestamp);
    }
    return Serialize(doc);
  }

  void Answer(httplib::Response& res, int status, const std::string& body) {
    res.status = status;
    res.set_content(body, "text/xml; charset=UTF-8");
  }

  // ---- faults ----

  Faults CurrentFaults(const std::string& path) {
    std::lock_guard lock(mutex);
    if (!faults.onlyPath.empty() && faults.onlyPath != path) return Faults{};
    return faults;
  }

  // Applies the faults that replace the answer; true when the answer is made.
  bool ApplyFaults(const Faults& f, httplib::Response& res) {
    if (f.delayMs > 0) {
      std::unique_lock lock(mutex);
      wake.wait_for(lock, std::chrono::milliseconds(f.delayMs), [this] { return stopping; });
    }
    if (f.closeWithoutBody) {
      res.status = 200;
      res.set_content_provider("text/xml", [](size_t, httplib::DataSink&) { return false; });
      return true;
    }
    if (f.dropBody) {
      res.status = 200;
      res.set_content_provider(1000, "text/xml", [](size_t, size_t, httplib::DataSink&) { return false; });
      return true;
    }
    if (f.errorCode) {
      Answer(res, 200, CommandResponse(f, f.errorCode, 0, "fault"));
      return true;
    }
    if (f.status404) {
      Answer(res, 404, "<html><body>Not Found</body></html>");
      return true;
    }
    if (f.malformedXml) {
      Answer(res, 200, "<?xml version=\"1.0\"?><RESPONSE><CODE>600</CODE><SERVICEID>1</SERV");
      return true;
    }
    if (f.oversizedBytes > 0) {
      std::string body = "<?xml version=\"1.0\"?><RESPONSE><CODE>600</CODE><PAD>";
      body.append(f.oversizedBytes > body.size() + 20 ? f.oversizedBytes - body.size() - 20 : 0, 'x');
      body += "</PAD></RESPONSE>";
      body.resize(std::max(body.size(), f.oversizedBytes), ' ');
      Answer(res, 200, body);
      return true;
    }
    return false;
  }

  void Record(const httplib::Request& req, const std::string& contentType) {
    RecordedRequest r;
    r.method = req.method;
    r.path = req.path;
    for (const auto& [k, v] : req.headers) {
      if (k == kFormTypeHeader) r.headers.emplace_back("Content-Type", v);
      else if (k != "REMOTE_ADDR" && k != "REMOTE_PORT" && k != "LOCAL_ADDR" && k != "LOCAL_PORT") r.headers.emplace_back(k, v);
    }
    (void)contentType;
    r.body = req.body;
    std::lock_guard lock(mutex);
    recorded[req.path] = std::move(r);
  }

  void Log(const httplib::Request& req, int code, const std::string& detail) {
    if (!options.verbose) return;
    std::fprintf(stderr, "%s %s -> %d%s%s\n", req.method.c_str(), req.path.c_str(), code, detail.empty() ? "" : ": ",
                 detail.c_str());
  }

  // ---- handlers ----

  bool ReadForm(const httplib::Request& req, httplib::Response& res, std::vector<FormPart>& parts, const Faults& f) {
    std::string error;
    if (req.has_header("Transfer-Encoding")) error = "the body must be sent with a declared length";
    else if (!req.has_header("Content-Length")) error = "no Content-Length";
    else if (std::to_string(req.body.size()) != req.get_header_value("Content-Length")) error = "body length differs from Content-Length";
    else ParseMultipartForm(req.get_header_value(kFormTypeHeader), req.body, parts, error);
    if (!error.empty()) {
      Log(req, kCodeBadForm, error);
      Answer(res, 400, CommandResponse(f, kCodeBadForm, 0, error));
      return false;
    }
    return true;
  }

  void OnCommand(const httplib::Request& req, httplib::Response& res) {
    Record(req, req.get_header_value(kFormTypeHeader));
    const Faults f = CurrentFaults(req.path);
    if (ApplyFaults(f, res)) return Log(req, res.status, "fault");
    std::vector<FormPart> parts;
    if (!ReadForm(req, res, parts, f)) return;
    std::string error;
    std::string_view xml;
    CommandRequest cmd;
    if (!CheckCommandForm(parts, xml, error) || !ParseCommandRequest(xml, cmd, error)) {
      Log(req, kCodeBadRequest, error);
      return Answer(res, 200, CommandResponse(f, kCodeBadRequest, 0, error));
    }
    if (cmd.kind == CommandRequest::Kind::List) {
      Log(req, kCodeOk, "list");
      return Answer(res, 200, ListResponse(f));
    }
    if (cmd.coverPageId < 1 || cmd.coverPageId > options.slotCount) {
      error = "slot " + std::to_string(cmd.coverPageId) + " is not 1.." + std::to_string(options.slotCount);
      Log(req, kCodeBadSlot, error);
      return Answer(res, 200, CommandResponse(f, kCodeBadSlot, 0, error));
    }
    uint32_t id;
    {
      std::lock_guard lock(mutex);
      if (options.fixedServiceId) {
        id = options.fixedServiceId;
      } else {
        id = nextServiceId++;
        if (nextServiceId == 0) nextServiceId = 1;
      }
      pending[id] = PendingCreate{cmd.coverPageId, cmd.name, std::string(xml)};
    }
    Log(req, kCodeOk, "create slot " + std::to_string(cmd.coverPageId));
    Answer(res, 200, CommandResponse(f, kCodeOk, id, {}));
  }

  void OnImage(const httplib::Request& req, httplib::Response& res) {
    Record(req, req.get_header_value(kFormTypeHeader));
    const Faults f = CurrentFaults(req.path);
    if (ApplyFaults(f, res)) return Log(req, res.status, "fault");
    std::vector<FormPart> parts;
    if (!ReadForm(req, res, parts, f)) return;
    std::string error;
    uint32_t serviceId = 0;
    std::string_view image;
    if (!CheckImageForm(parts, serviceId, image, error)) {
      Log(req, kCodeBadForm, error);
      return Answer(res, 200, CommandResponse(f, kCodeBadForm, 0, error));
    }
    PendingCreate create;
    {
      std::lock_guard lock(mutex);
      auto it = pending.find(serviceId);
      if (it == pending.end()) {
        error = "unknown service id";
      } else {
        create = it->second;
      }
    }
    if (!error.empty()) {
      Log(req, kCodeUnknownService, error);
      return Answer(res, 200, CommandResponse(f, kCodeUnknownService, 0, error));
    }
    if (!CheckFaxTiff(image, error)) {
      Log(req, kCodeBadImage, error);
      return Answer(res, 200, CommandResponse(f, kCodeBadImage, 0, error));
    }
    StoredSlot slot{create.slot, create.name, Now(), create.request, std::string(image)};
    if (!Persist(slot, error)) {
      Log(req, kCodeBadImage, error);
      return Answer(res, 500, CommandResponse(f, kCodeBadImage, 0, error));
    }
    {
      std::lock_guard lock(mutex);
      pending.erase(serviceId);
      slots[slot.id] = std::move(slot);
    }
    Log(req, kCodeOk, "stored slot " + std::to_string(create.slot));
    Answer(res, 200, CommandResponse(f, kCodeOk, 0, {}));
  }

  void OnPreview(const httplib::Request& req, httplib::Response& res) {
    const Faults f = CurrentFaults(req.path);
    if (ApplyFaults(f, res)) return Log(req, res.status, "fault");
    std::lock_guard lock(mutex);
    for (const auto& [id, slot] : slots) {
      if (ImagePathOf(id) == req.path) {
        res.status = 200;
        res.set_content(slot.image, "image/tiff");
        return;
      }
    }
    res.status = 404;
    res.set_content("<html><body>Not Found</body></html>", "text/html");
  }

  // ---- storage ----

  bool Persist(const StoredSlot& slot, std::string& error) {
    if (options.dataDir.empty()) return true;
    const fs::path dir = options.dataDir;
    if (!WriteFileAtomically(dir / SlotFile(slot.id, "tif"), slot.image) ||
        !WriteFileAtomically(dir / SlotFile(slot.id, "xml"), slot.request) ||
        !WriteFileAtomically(dir / SlotFile(slot.id, "time"), slot.timestamp)) {
      error = "cannot store the slot in " + options.dataDir;
      return false;
    }
    return true;
  }

  bool Load(std::string& error) {
    if (options.dataDir.empty()) return true;
    std::error_code ec;
    fs::create_directories(options.dataDir, ec);
    if (!fs::is_directory(options.dataDir)) {
      error = "cannot use the data folder " + options.dataDir;
      return false;
    }
    for (int id = 1; id <= 20; ++id) {
      const fs::path dir = options.dataDir;
      StoredSlot s;
      s.id = id;
      if (!ReadFile(dir / SlotFile(id, "tif"), s.image) || !ReadFile(dir / SlotFile(id, "xml"), s.request) ||
          !ReadFile(dir / SlotFile(id, "time"), s.timestamp))
        continue;
      CommandRequest cmd;
      std::string ignored;
      if (!ParseCommandRequest(s.request, cmd, ignored)) continue;
      s.name = cmd.name;
      slots[id] = std::move(s);
    }
    return true;
  }
};

Simulator::Simulator(Options options) : d(std::make_unique<Impl>(std::move(options))) {}

Simulator::~Simulator() { Stop(); }

std::string Simulator::ImagePathOf(int slot) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "/COVERPAGE/CP%02d.TIF", slot);
  return buf;
}

bool Simulator::Start(std::string& error) {
  if (d->options.slotCount != 5 && d->options.slotCount != 20) {
    error = "--slots must be 5 or 20";
    return false;
  }
  if (!d->Load(error)) return false;
  Impl* impl = d.get();
  auto& svr = d->server;
  svr.set_payload_max_length(kMaxRequestBytes);
  svr.set_tcp_nodelay(true);  // answers go out at once, not after the client's delayed ACK
  // httplib reads multipart bodies into its own part list; the device checks the raw form
  // itself, so the form's Content-Type is moved aside before the body is read.
  svr.set_pre_routing_handler([](const httplib::Request& creq, httplib::Response&) {
    auto& req = const_cast<httplib::Request&>(creq);
    auto it = req.headers.find("Content-Type");
    if (it != req.headers.end()) {
      std::string type = it->second;
      req.headers.erase(it);
      req.headers.emplace(kFormTypeHeader, type);
      req.headers.emplace("Content-Type", "application/octet-stream");
    }
    return httplib::Server::HandlerResponse::Unhandled;
  });
  svr.Post("/UPCMD.CGI", [impl](const httplib::Request& req, httplib::Response& res) { impl->OnCommand(req, res); });
  svr.Post("/UPDATA.CGI", [impl](const httplib::Request& req, httplib::Response& res) { impl->OnImage(req, res); });
  svr.Get("/COVERPAGE/.*", [impl](const httplib::Request& req, httplib::Response& res) { impl->OnPreview(req, res); });
  svr.set_error_handler([](const httplib::Request&, httplib::Response& res) {
    if (res.body.empty()) res.set_content("<html><body>Error</body></html>", "text/html");
  });
  if (d->options.port == 0) {
    d->port = svr.bind_to_any_port(d->options.bind.c_str());
  } else {
    d->port = svr.bind_to_port(d->options.bind.c_str(), d->options.port) ? d->options.port : -1;
  }
  if (d->port <= 0) {
    error = "cannot listen on " + d->options.bind + ":" + std::to_string(d->options.port);
    return false;
  }
  d->thread = std::thread([impl] { impl->server.listen_after_bind(); });
  return true;
}

int Simulator::Port() const { return d->port; }

void Simulator::Stop() {
  {
    std::lock_guard lock(d->mutex);
    if (d->stopped) return;
    d->stopping = true;
    d->stopped = true;
  }
  d->wake.notify_all();
  d->server.stop();
  if (d->thread.joinable()) d->thread.join();
}

void Simulator::Wait() {
  if (d->thread.joinable()) d->thread.join();
}

void Simulator::SetFaults(const Faults& faults) {
  std::lock_guard lock(d->mutex);
  d->faults = faults;
}

std::vector<StoredSlot> Simulator::Slots() const {
  std::lock_guard lock(d->mutex);
  std::vector<StoredSlot> out;
  for (const auto& [id, s] : d->slots) out.push_back(s);
  return out;
}

RecordedRequest Simulator::LastRequest(const std::string& path) const {
  std::lock_guard lock(d->mutex);
  auto it = d->recorded.find(path);
  return it == d->recorded.end() ? RecordedRequest{} : it->second;
}

}  // namespace mfpsim
