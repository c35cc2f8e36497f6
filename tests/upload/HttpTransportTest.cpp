// The multipart transport. Invariants: the form heads and tail are byte-exact; a post puts
// exactly the request line, our three header lines, the declared length and head + payload +
// tail on the wire; the response body is stored whatever the status, within its bound;
// downloads store only a 200 body; failures come back as non-zero results.
#include <gtest/gtest.h>

#include "UploadTestSupport.h"
#include "base/TempFiles.h"
#include "upload/HttpTransport.h"

namespace {

const char* kXmlHead =
    "--------WebTarn\r\n"
    "Content-Disposition: form-data; name=\"version\"\r\n"
    "\r\n"
    "1\r\n"
    "--------WebTarn\r\n"
    "Content-Disposition: form-data; name=\"datafile\"\r\n"
    "Content-Type: application/octet-stream\r\n"
    "\r\n";

TEST(HttpTransport, FormHeadsAndTailAreByteExact) {
  EXPECT_EQ(lw::XmlFormHead(), kXmlHead);
  EXPECT_EQ(lw::ImageFormHead(0x1A2B, 1),
            "--------WebTarn\r\n"
            "Content-Disposition: form-data; name=\"serviceid\"\r\n"
            "\r\n"
            "00001a2b\r\n"
            "--------WebTarn\r\n"
            "Content-Disposition: form-data; name=\"pagenumber\"\r\n"
            "\r\n"
            "1\r\n"
            "--------WebTarn\r\n"
            "Content-Disposition: form-data; name=\"binfile\"\r\n"
            "Content-Type: application/octet-stream\r\n"
            "\r\n");
  EXPECT_EQ(lw::FormTail(), "\r\n--------WebTarn--\r\n");
  EXPECT_EQ(lw::FormTail().size(), 21u);
  const std::string path = lw::PrivateTempPath("head-test.xml");
  EXPECT_EQ(lw::WriteImageFormHead(path, 0xdeadbeef, 1), 0);
  EXPECT_EQ(lwtest::ReadFileBytes(path), lw::ImageFormHead(0xdeadbeef, 1));
  EXPECT_NE(lwtest::ReadFileBytes(path).find("deadbeef\r\n"), std::string::npos);
}

class PostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    head = lw::PrivateTempPath("post-head.xml");
    data = lw::PrivateTempPath("post-data.bin");
    response = lw::PrivateTempPath("post-ret.xml");
    std::remove(response.c_str());
    lw::WriteXmlFormHead(head);
  }
  lw::PostJob Job(int port) {
    lw::PostJob job;
    job.server = "127.0.0.1";
    job.path = "/UPCMD.CGI";
    job.headFile = head;
    job.dataFile = data;
    job.responseFile = response;
    job.tail = lw::FormTail();
    job.port = static_cast<uint16_t>(port);
    return job;
  }
  std::string head, data, response;
};

TEST_F(PostTest, TheWireCarriesOurHeadersAndTheWholeBody) {
  // Payload sizes around the 65535-byte chunk: empty, one chunk exactly, more than one.
  for (size_t size : {size_t(0), size_t(65535), size_t(65535 * 2 + 7)}) {
    std::string payload(size, '\0');
    for (size_t i = 0; i < size; ++i) payload[i] = static_cast<char>(i * 7);
    ASSERT_TRUE(lwtest::WriteFileBytes(data, payload));
    lwtest::RawServer server("HTTP/1.1 200 OK\r\nContent-Length: 5\r\nConnection: close\r\n\r\nhello");
    ASSERT_EQ(lw::PostForm(Job(server.Port())), 0) << lw::LastTransportError();
    const std::string wire = server.Join();
    const size_t end = wire.find("\r\n\r\n");
    ASSERT_NE(end, std::string::npos);
    const std::string headers = wire.substr(0, end + 2);
    const std::string body = wire.substr(end + 4);
    EXPECT_EQ(headers.rfind("POST /UPCMD.CGI HTTP/1.1\r\n", 0), 0u) << headers;
    EXPECT_NE(headers.find("\r\nAccept: text/*,application/*\r\n"), std::string::npos) << headers;
    EXPECT_NE(headers.find("\r\nUser-Agent: Test\r\n"), std::string::npos) << headers;
    EXPECT_NE(headers.find("\r\nContent-Type: multipart/form-data; boundary=------WebTarn\r\n"), std::string::npos);
    EXPECT_NE(headers.find("\r\nContent-Length: " + std::to_string(std::strlen(kXmlHead) + size + 21) + "\r\n"),
              std::string::npos) << headers;
    EXPECT_EQ(headers.find("Expect:"), std::string::npos) << headers;
    EXPECT_EQ(headers.find("User-Agent:"), headers.rfind("User-Agent:")) << "one User-Agent line";
    EXPECT_EQ(headers.find("Accept:"), headers.rfind("Accept:")) << "one Accept line";
    EXPECT_EQ(body, kXmlHead + payload + lw::FormTail()) << "payload of " << size;
    EXPECT_EQ(lwtest::ReadFileBytes(response), "hello");
  }
}

TEST_F(PostTest, ResponsesAreStoredWhateverTheStatus) {
  lwtest::WriteFileBytes(data, "<x/>");
  struct Case { const char* what; std::string reply; int ok; std::string stored; };
  const Case cases[] = {
      {"status 404 with a body", "HTTP/1.1 404 Not Found\r\nContent-Length: 3\r\n\r\nnope", 0, "nop"},
      {"headers, then closed without a body", "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n", 0, ""},
      {"closed without any answer", "", 1, "(none)"},
      {"declared body cut short", "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nshort", 1, "short"},
  };
  for (const Case& c : cases) {
    std::remove(response.c_str());
    lwtest::RawServer server(c.reply);
    const int result = lw::PostForm(Job(server.Port()));
    EXPECT_EQ(result != 0, c.ok != 0) << c.what << ": " << lw::LastTransportError();
    server.Join();
    if (c.stored == "(none)") EXPECT_FALSE(lwtest::FileExists(response)) << c.what;
    else EXPECT_EQ(lwtest::ReadFileBytes(response), c.stored) << c.what;
  }
}

TEST_F(PostTest, MissingFilesAndBadAddressesFailWithoutSending) {
  lwtest::WriteFileBytes(data, "x");
  lw::PostJob job = Job(lwtest::UnusedPort());
  job.dataFile = lw::PrivateTempPath("no-such-payload");
  EXPECT_EQ(lw::PostForm(job), lw::E_FAIL);
  job = Job(lwtest::UnusedPort());
  job.headFile = lw::PrivateTempPath("no-such-head");
  EXPECT_EQ(lw::PostForm(job), lw::E_FAIL);
  for (const char* bad : {"", "host/evil", "user@host", "a b", "h#x"}) {
    job = Job(80);
    job.server = bad;
    EXPECT_EQ(lw::PostForm(job), lw::E_FAIL) << bad;
  }
}

TEST_F(PostTest, RefusedConnectionIsAnError) {
  lwtest::WriteFileBytes(data, "x");
  EXPECT_NE(lw::PostForm(Job(lwtest::UnusedPort())), 0);
  EXPECT_FALSE(lw::LastTransportError().empty());
  EXPECT_FALSE(lwtest::FileExists(response));
}

TEST_F(PostTest, PortZeroMeansEighty) {
  lwtest::WriteFileBytes(data, "x");
  lwtest::RawServer server("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok", 80);
  if (server.Port() != 80) GTEST_SKIP() << "this process may not listen on port 80";
  EXPECT_EQ(lw::PostForm(Job(0)), 0) << lw::LastTransportError();
  EXPECT_NE(server.Join().find("\r\nHost: 127.0.0.1\r\n"), std::string::npos);
}

TEST_F(PostTest, BodiesAboveTheLimitAreCutOffAndFail) {
  lwtest::WriteFileBytes(data, "x");
  lw::TransportSettings s;
  s.maxResponseBytes = 1000;
  lwtest::ScopedTransportSettings scoped(s);
  lwtest::RawServer server("HTTP/1.1 200 OK\r\nContent-Length: 1001\r\n\r\n" + std::string(1001, 'y'));
  EXPECT_EQ(lw::PostForm(Job(server.Port())), lw::E_FAIL);
  server.Join();
  EXPECT_LE(lwtest::ReadFileBytes(response).size(), 1000u);
}

TEST(Download, OnlyStatus200IsStored) {
  const std::string local = lw::PrivateTempPath("preview-test.tif");
  struct Case { const char* what; std::string reply; int result; const char* stored; };
  const Case cases[] = {
      {"200 is stored", "HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\nTIFF", 0, "TIFF"},
      {"200 with an empty body gives an empty file", "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", 0, ""},
      {"404 writes nothing and is not an error", "HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n\r\nnot found", 0, nullptr},
      {"a cut-off body leaves no partial file", "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nTI", lw::E_FAIL, nullptr},
      {"no answer", "", lw::E_FAIL, nullptr},
  };
  for (const Case& c : cases) {
    std::remove(local.c_str());
    lwtest::RawServer server(c.reply);
    EXPECT_EQ(lw::DownloadFile("127.0.0.1", static_cast<uint16_t>(server.Port()), "/COVERPAGE/CP01.TIF", local), c.result)
        << c.what;
    const std::string wire = server.Join();
    EXPECT_EQ(wire.rfind("GET /COVERPAGE/CP01.TIF HTTP/1.1\r\n", 0), 0u) << wire;
    if (c.stored) EXPECT_EQ(lwtest::ReadFileBytes(local), c.stored) << c.what;
    else EXPECT_FALSE(lwtest::FileExists(local)) << c.what;
  }
  // Download paths are sent as given, with bytes outside printable ASCII escaped.
  lwtest::RawServer server("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n");
  lw::DownloadFile("127.0.0.1", static_cast<uint16_t>(server.Port()), QString::fromUtf8("/img/表 1.TIF?v=1"), local);
  EXPECT_EQ(server.Join().rfind("GET /img/%E8%A1%A8%201.TIF?v=1 HTTP/1.1\r\n", 0), 0u);
}

TEST(Download, PreviewsAboveTheLimitFail) {
  const std::string local = lw::PrivateTempPath("preview-big.tif");
  lw::TransportSettings s;
  s.maxPreviewBytes = 100;
  lwtest::ScopedTransportSettings scoped(s);
  lwtest::RawServer server("HTTP/1.1 200 OK\r\nContent-Length: 101\r\n\r\n" + std::string(101, 'z'));
  EXPECT_EQ(lw::DownloadFile("127.0.0.1", static_cast<uint16_t>(server.Port()), "/p", local), lw::E_FAIL);
  server.Join();
  EXPECT_FALSE(lwtest::FileExists(local));
}

TEST(TransportSettings, DefaultsAreTheProductTimeoutsAndBounds) {
  const lw::TransportSettings s;
  EXPECT_EQ(s.postTimeoutMs, 20000);
  EXPECT_EQ(s.downloadTimeoutMs, 180000);
  EXPECT_EQ(s.maxResponseBytes, 16u * 1024 * 1024);
  EXPECT_EQ(s.maxPreviewBytes, 64u * 1024 * 1024);
}

}  // namespace
