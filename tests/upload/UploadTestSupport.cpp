#include "UploadTestSupport.h"

#include <tiffio.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace lwtest {

bool MakeFaxTiff(const std::string& path, uint32_t width, uint32_t height, int pages, int compression) {
  TIFF* tif = TIFFOpen(path.c_str(), "w");
  if (!tif) return false;
  const size_t rowBytes = (width + 7) / 8;
  std::vector<unsigned char> row(rowBytes);
  for (int page = 0; page < pages; ++page) {
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 1);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, compression);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
    TIFFSetField(tif, TIFFTAG_FILLORDER, FILLORDER_LSB2MSB);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, height);
    TIFFSetField(tif, TIFFTAG_XRESOLUTION, 204.0);
    TIFFSetField(tif, TIFFTAG_YRESOLUTION, 196.0);
    TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    if (pages > 1) {
      TIFFSetField(tif, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
      TIFFSetField(tif, TIFFTAG_PAGENUMBER, page, pages);
    }
    for (uint32_t y = 0; y < height; ++y) {
      const bool edge = y < 8 || y + 8 >= height;
      std::memset(row.data(), edge ? 0xFF : 0, rowBytes);
      if (!edge) row[0] = 0xFF, row[rowBytes - 1] = 0xFF;
      if (TIFFWriteScanline(tif, row.data(), y, 0) < 0) {
        TIFFClose(tif);
        return false;
      }
    }
    if (!TIFFWriteDirectory(tif)) {
      TIFFClose(tif);
      return false;
    }
  }
  TIFFClose(tif);
  return true;
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  return static_cast<bool>(out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())));
}

bool FileExists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

static int ListenLoopback(int& port) {
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = htons(static_cast<uint16_t>(port));
  int one = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  if (bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || listen(fd, 4) != 0) {
    close(fd);
    return -1;
  }
  socklen_t len = sizeof a;
  getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
  port = ntohs(a.sin_port);
  return fd;
}

int UnusedPort() {
  int port = 0;
  int fd = ListenLoopback(port);
  close(fd);
  return port;
}

RawServer::RawServer(std::string reply, int port) : m_port(port), m_reply(std::move(reply)) {
  m_listen = ListenLoopback(m_port);
  if (m_listen < 0) return;
  m_thread = std::thread([this] {
    int c = accept(m_listen, nullptr, nullptr);
    if (c < 0) return;
    char buf[65536];
    size_t headerEnd = std::string::npos;
    size_t want = 0;
    while (true) {
      const ssize_t n = recv(c, buf, sizeof buf, 0);
      if (n <= 0) break;
      m_request.append(buf, static_cast<size_t>(n));
      if (headerEnd == std::string::npos) {
        headerEnd = m_request.find("\r\n\r\n");
        if (headerEnd == std::string::npos) continue;
        const size_t cl = m_request.find("Content-Length: ");
        if (cl != std::string::npos && cl < headerEnd) want = std::stoul(m_request.substr(cl + 16));
      }
      if (m_request.size() >= headerEnd + 4 + want) break;
    }
    send(c, m_reply.data(), m_reply.size(), MSG_NOSIGNAL);
    shutdown(c, SHUT_WR);
    while (recv(c, buf, sizeof buf, 0) > 0) {
    }
    close(c);
  });
}

RawServer::~RawServer() {
  if (m_thread.joinable()) {
    shutdown(m_listen, SHUT_RDWR);
    m_thread.join();
  }
  if (m_listen >= 0) close(m_listen);
}

std::string RawServer::Join() {
  if (m_thread.joinable()) m_thread.join();
  return m_request;
}

SimDevice::SimDevice(mfpsim::Options options) {
  options.bind = "127.0.0.1";
  options.port = 0;
  sim = std::make_unique<mfpsim::Simulator>(options);
  std::string error;
  EXPECT_TRUE(sim->Start(error)) << error;
  port = sim->Port();
}

SimDevice::~SimDevice() { sim->Stop(); }

}  // namespace lwtest
