#pragma once
// A stand-in for the cover page service of a multi-function peripheral: an HTTP server that
// answers the list, create, image and preview requests like a device, keeps its slots (on
// disk when given a folder) and can be told to misbehave for tests.

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace mfpsim {

// Ways to misbehave. They apply to every request, or only to the path in `onlyPath`.
struct Faults {
  int delayMs = 0;                // wait this long before answering
  bool closeWithoutBody = false;  // send the status line and headers, then close
  bool dropBody = false;          // declare a body, then close before sending it
  int errorCode = 0;              // answer commands with this code instead of 600
  bool cord = false;              // name the code element "CORD" instead of "CODE"
  bool malformedXml = false;      // answer with XML that is cut off
  size_t oversizedBytes = 0;      // answer with a body of this many bytes
  bool status404 = false;         // answer with HTTP status 404 (and a small body)
  std::string onlyPath;           // empty: every path
};

struct Options {
  std::string bind = "127.0.0.1";
  int port = 0;          // 0: any free port
  std::string dataDir;   // empty: slots live in memory only
  int slotCount = 5;     // 5 or 20
  Faults faults;
  bool verbose = false;  // one line per request on standard error
  uint32_t fixedServiceId = 0;  // non-zero: every create gets this id (benchmarks replaying fixed bodies)
};

// A slot the device holds.
struct StoredSlot {
  int id = 0;
  std::string name;       // UTF-8
  std::string timestamp;  // "YYYY/MM/DD HH:MM:SS"
  std::string request;    // the create request as received
  std::string image;      // the TIFF
};

// What the last request to a path looked like (for tests).
struct RecordedRequest {
  std::string method;
  std::string path;
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;
};

inline constexpr int kCodeOk = 600;
inline constexpr int kCodeBadForm = 601;
inline constexpr int kCodeBadRequest = 602;
inline constexpr int kCodeBadSlot = 603;
inline constexpr int kCodeUnknownService = 604;
inline constexpr int kCodeBadImage = 605;

class Simulator {
 public:
  explicit Simulator(Options options);
  ~Simulator();
  Simulator(const Simulator&) = delete;
  Simulator& operator=(const Simulator&) = delete;

  // Loads the stored slots, binds and starts serving on a thread of its own.
  // Returns false with `error` when the folder or the address cannot be used.
  bool Start(std::string& error);
  // The bound port (after Start).
  int Port() const;
  // Stops serving; waiting requests are released.
  void Stop();
  // Blocks until Stop (from another thread or a signal handler's thread).
  void Wait();

  void SetFaults(const Faults& faults);
  std::vector<StoredSlot> Slots() const;
  RecordedRequest LastRequest(const std::string& path) const;
  // The preview path of a slot as listed ("/COVERPAGE/CP01.TIF").
  static std::string ImagePathOf(int slot);

 private:
  struct Impl;
  std::unique_ptr<Impl> d;
};

}  // namespace mfpsim
