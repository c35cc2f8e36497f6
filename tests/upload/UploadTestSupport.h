#pragma once
// Helpers of the upload tests: fax images made with libtiff, a raw loopback server that
// records the exact bytes of one request, and a stand-in device on a free port.

#include <QString>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

#include "MfpSimulator.h"
#include "upload/HttpTransport.h"

namespace lwtest {

// Writes a TIFF of the given size and page count with libtiff (CCITT group 4 unless
// `compression` says otherwise); the page holds a black frame. Returns false on failure.
bool MakeFaxTiff(const std::string& path, uint32_t width = 1728, uint32_t height = 2332, int pages = 1,
                 int compression = 4 /* COMPRESSION_CCITTFAX4 */);

std::string ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);

// A port on 127.0.0.1 where nothing listens (bound once, then released).
int UnusedPort();

// Accepts one connection on 127.0.0.1, reads one request (headers and the body of the
// declared length), sends `reply` and closes. The request bytes are in `request` after
// Join().
class RawServer {
 public:
  explicit RawServer(std::string reply, int port = 0);
  ~RawServer();
  int Port() const { return m_listen >= 0 ? m_port : 0; }
  // Waits for the exchange to end and returns the request as received.
  std::string Join();

 private:
  int m_listen = -1;
  int m_port = 0;
  std::string m_reply;
  std::string m_request;
  std::thread m_thread;
};

// The stand-in device on a free loopback port, for one test.
struct SimDevice {
  explicit SimDevice(mfpsim::Options options = {});
  ~SimDevice();
  std::unique_ptr<mfpsim::Simulator> sim;
  int port = 0;
};

// Shortens the transport's time-outs for a test and restores them afterwards.
struct ScopedTransportSettings {
  explicit ScopedTransportSettings(const lw::TransportSettings& s) : saved(lw::CurrentTransportSettings()) {
    lw::CurrentTransportSettings() = s;
  }
  ~ScopedTransportSettings() { lw::CurrentTransportSettings() = saved; }
  lw::TransportSettings saved;
};

}  // namespace lwtest
