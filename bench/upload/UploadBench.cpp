// A whole upload of a typical page to the stand-in device on loopback (list, create, image),
// beside curl posting the same three bodies in the same run.
//
//   BM_UploadTransactions  ListSlots + SendCreate + SendImage: messages, files, posts, reading
//   BM_OurPosts            our network part alone: PostForm of the three prepared forms
//   BM_CurlTool            the curl program posting the same three bodies (one process, --next)
//   BM_LibcurlInMemory     libcurl posting the three bodies from memory, fresh connections
//   BM_PairedClients       the three clients in turn in every iteration, with the ratios
//
// The device answers the same way to all four (one fixed service id), so they differ only
// in the client.
#include <benchmark/benchmark.h>
#include <curl/curl.h>
#include <tiffio.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <vector>

#include "MfpSimulator.h"
#include "base/TempFiles.h"
#include "upload/HttpTransport.h"
#include "upload/UploadTransactions.h"

namespace {

constexpr uint32_t kServiceId = 0x1234abcd;

// A typical cover page: a frame, a heading bar and lines of "text" (short black runs).
bool MakeTypicalPage(const std::string& path) {
  TIFF* tif = TIFFOpen(path.c_str(), "w");
  if (!tif) return false;
  const uint32_t w = 1728, h = 2332;
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, w);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, h);
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 1);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
  TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, h);
  std::mt19937 rng(7);
  std::vector<unsigned char> row(w / 8);
  std::vector<std::vector<unsigned char>> glyphRows;
  for (uint32_t y = 0; y < h; ++y) {
    std::fill(row.begin(), row.end(), 0);
    auto set = [&](uint32_t x0, uint32_t x1) {
      for (uint32_t x = x0; x < x1 && x < w; ++x) row[x / 8] |= 0x80 >> (x % 8);
    };
    if ((y >= 60 && y < 64) || (y >= 2268 && y < 2272)) set(60, 1668);
    set(60, 64), set(1664, 1668);
    if (y >= 120 && y < 220) set(200, 1528);                  // heading bar
    const uint32_t line = y % 60;
    if (y > 300 && y < 2200 && line < 30) {                   // text lines
      std::uniform_int_distribution<uint32_t> len(2, 9);
      for (uint32_t x = 120; x < 1500;) {
        const uint32_t run = len(rng);
        set(x, x + run);
        x += run + len(rng) * 2;
      }
    }
    if (TIFFWriteScanline(tif, row.data(), y, 0) < 0) return TIFFClose(tif), false;
  }
  TIFFClose(tif);
  return true;
}

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void Write(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

struct Setup {
  mfpsim::Simulator* sim = nullptr;
  int port = 0;
  std::string folder, page;
  lw::PageFieldSet fields;
  // The three prepared posts: head, payload and whole body files.
  struct Post {
    const char* path;
    std::string head, data, body;
  } posts[3];

  Setup() {
    mfpsim::Options o;
    o.fixedServiceId = kServiceId;
    sim = new mfpsim::Simulator(o);
    std::string error;
    if (!sim->Start(error)) std::abort();
    port = sim->Port();
    lw::SetCurrentUploadPort(static_cast<uint16_t>(port));
    folder = lw::UploadTempFolder();
    page = folder + "bench-page.tif";
    if (!MakeTypicalPage(page)) std::abort();
    fields.coverPageId = 1;
    fields.title = "bench";
    for (int i = 0; i < 6; ++i) {
      fields.recipients.push_back({100, 100 + 60 * i, 600, 40, 1, 1, "LEFT", i % 2 ? "NAME" : "FAXNUMBER"});
      fields.senders.push_back({900, 100 + 60 * i, 600, 40, 1, 1, "LEFT", i % 2 ? "COMPANY" : "TELEPHONENUMBER"});
    }
    fields.messages.push_back({100, 1000, 1500, 800, 1, 1, "LEFT", "COMMENT"});
    const std::string list = folder + "bench-list.xml", create = folder + "bench-create.xml";
    lw::WriteListMessage(list);
    lw::WriteCreateMessage(create, fields);
    const std::string xmlHead = folder + "bench-xmlhead", imgHead = folder + "bench-imghead";
    lw::WriteXmlFormHead(xmlHead);
    lw::WriteImageFormHead(imgHead, kServiceId, 1);
    posts[0] = {"/UPCMD.CGI", xmlHead, list, {}};
    posts[1] = {"/UPCMD.CGI", xmlHead, create, {}};
    posts[2] = {"/UPDATA.CGI", imgHead, page, {}};
    for (int i = 0; i < 3; ++i) {
      posts[i].body = folder + "bench-body" + std::to_string(i);
      Write(posts[i].body, Read(posts[i].head) + Read(posts[i].data) + lw::FormTail());
    }
  }
};

Setup& S() {
  static Setup* s = new Setup;
  return *s;
}

void BM_UploadTransactions(benchmark::State& state) {
  Setup& s = S();
  for (auto _ : state) {
    std::vector<lw::SlotEntry> table;
    uint32_t id = 0;
    if (lw::ListSlots(s.folder, "127.0.0.1", table) != 0 || lw::SendCreate(s.folder, "127.0.0.1", s.fields, id) != 0 ||
        lw::SendImage(s.folder, "127.0.0.1", s.page, id) != 0) {
      state.SkipWithError("upload failed");
      break;
    }
  }
  state.counters["page_bytes"] = static_cast<double>(Read(s.page).size());
}

void BM_OurPosts(benchmark::State& state) {
  Setup& s = S();
  for (auto _ : state) {
    for (int i = 0; i < 3; ++i) {
      lw::PostJob job{"127.0.0.1", s.posts[i].path, s.posts[i].head, s.posts[i].data,
                      s.folder + "bench-ret.xml", lw::FormTail(), static_cast<uint16_t>(s.port)};
      if (lw::PostForm(job) != 0) {
        state.SkipWithError("post failed");
        return;
      }
    }
  }
}

std::string CurlCommand(const Setup& s) {
  std::string cmd = "curl -s -S";
  for (int i = 0; i < 3; ++i) {
    if (i) cmd += " --next";
    cmd += " -o /dev/null -H 'Content-Type: multipart/form-data; boundary=------WebTarn' -H 'Expect:'";
    cmd += " --data-binary @" + s.posts[i].body + " http://127.0.0.1:" + std::to_string(s.port) + s.posts[i].path;
  }
  return cmd;
}

void BM_CurlTool(benchmark::State& state) {
  Setup& s = S();
  const std::string cmd = CurlCommand(s);
  for (auto _ : state) {
    if (std::system(cmd.c_str()) != 0) {
      state.SkipWithError("curl failed");
      break;
    }
  }
}

size_t Discard(char*, size_t size, size_t n, void*) { return size * n; }

// The three bodies posted from memory with plain libcurl, a fresh connection each.
bool LibcurlUpload(const Setup& s) {
  static std::string bodies[3];
  if (bodies[0].empty())
    for (int i = 0; i < 3; ++i) bodies[i] = Read(s.posts[i].body);
  curl_slist* headers = curl_slist_append(nullptr, "Content-Type: multipart/form-data; boundary=------WebTarn");
  headers = curl_slist_append(headers, "Expect:");
  bool ok = true;
  for (int i = 0; i < 3 && ok; ++i) {
    CURL* c = curl_easy_init();
    const std::string url = "http://127.0.0.1:" + std::to_string(s.port) + s.posts[i].path;
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_POSTFIELDS, bodies[i].data());
    curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(bodies[i].size()));
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, Discard);
    ok = curl_easy_perform(c) == CURLE_OK;
    curl_easy_cleanup(c);
  }
  curl_slist_free_all(headers);
  return ok;
}

void BM_LibcurlInMemory(benchmark::State& state) {
  Setup& s = S();
  std::string bodies[3];
  for (int i = 0; i < 3; ++i) bodies[i] = Read(s.posts[i].body);
  curl_slist* headers = curl_slist_append(nullptr, "Content-Type: multipart/form-data; boundary=------WebTarn");
  headers = curl_slist_append(headers, "Expect:");
  for (auto _ : state) {
    for (int i = 0; i < 3; ++i) {
      CURL* c = curl_easy_init();
      const std::string url = "http://127.0.0.1:" + std::to_string(s.port) + s.posts[i].path;
      curl_easy_setopt(c, CURLOPT_URL, url.c_str());
      curl_easy_setopt(c, CURLOPT_POSTFIELDS, bodies[i].data());
      curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(bodies[i].size()));
      curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers);
      curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, Discard);
      const CURLcode rc = curl_easy_perform(c);
      curl_easy_cleanup(c);
      if (rc != CURLE_OK) {
        state.SkipWithError("libcurl failed");
        curl_slist_free_all(headers);
        return;
      }
    }
  }
  curl_slist_free_all(headers);
}

// The three clients in turn within each iteration, so that they see the same machine load;
// the counters are milliseconds per upload (three posts) and our time over each baseline.
void BM_PairedClients(benchmark::State& state) {
  Setup& s = S();
  using Clock = std::chrono::steady_clock;
  double ours = 0, lib = 0, tool = 0;
  auto ourPosts = [&s] {
    for (int i = 0; i < 3; ++i) {
      lw::PostJob job{"127.0.0.1", s.posts[i].path, s.posts[i].head, s.posts[i].data,
                      s.folder + "bench-ret.xml", lw::FormTail(), static_cast<uint16_t>(s.port)};
      if (lw::PostForm(job) != 0) return false;
    }
    return true;
  };
  auto ms = [](Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double, std::milli>(b - a).count(); };
  bool oursFirst = true;
  for (auto _ : state) {
    // The order of the two libcurl clients alternates so that neither always follows the
    // curl process (which leaves the machine busier for a moment).
    auto t0 = Clock::now();
    if (!(oursFirst ? ourPosts() : LibcurlUpload(s))) return state.SkipWithError("post failed");
    auto t1 = Clock::now();
    if (!(oursFirst ? LibcurlUpload(s) : ourPosts())) return state.SkipWithError("post failed");
    auto t2 = Clock::now();
    if (std::system(CurlCommand(s).c_str()) != 0) return state.SkipWithError("curl failed");
    auto t3 = Clock::now();
    ours += oursFirst ? ms(t0, t1) : ms(t1, t2);
    lib += oursFirst ? ms(t1, t2) : ms(t0, t1);
    tool += ms(t2, t3);
    oursFirst = !oursFirst;
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["ours_ms"] = ours / n;
  state.counters["libcurl_ms"] = lib / n;
  state.counters["curl_tool_ms"] = tool / n;
  state.counters["ours/libcurl"] = ours / lib;
  state.counters["ours/curl_tool"] = ours / tool;
}

BENCHMARK(BM_UploadTransactions)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OurPosts)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CurlTool)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibcurlInMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PairedClients)->Unit(benchmark::kMillisecond)->Iterations(100);

}  // namespace

BENCHMARK_MAIN();
