// The stand-in device holds the editor to the exact form: these cases show that it refuses
// what a device would refuse (so the end-to-end tests mean something) and that the program
// starts, prints its port and serves.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>
#include <tiffio.h>

#include "MfpForm.h"
#include "UploadTestSupport.h"
#include "base/TempFiles.h"
#include "common/TestSupport.h"
#include "upload/UploadTransactions.h"

namespace {

const std::string kType = "multipart/form-data; boundary=------WebTarn";

std::string CommandBody(const std::string& xml) { return lw::XmlFormHead() + xml + lw::FormTail(); }

TEST(MfpForm, MultipartFormsAreReadStrictly) {
  struct Case { const char* what; std::string type; std::string body; bool ok; };
  const std::string good = CommandBody("<x/>");
  const Case cases[] = {
      {"the editor's form", kType, good, true},
      {"quoted boundary", "multipart/form-data; boundary=\"------WebTarn\"", good, true},
      {"other boundary than the body uses", "multipart/form-data; boundary=XYZ", good, false},
      {"no boundary", "multipart/form-data", good, false},
      {"not multipart", "application/xml", good, false},
      {"no closing delimiter", kType, lw::XmlFormHead() + "<x/>", false},
      {"bytes after the closing delimiter", kType, good + "junk", false},
      {"closing delimiter without CR LF", kType, good.substr(0, good.size() - 2), false},
      {"part without a name", kType, "--------WebTarn\r\nContent-Disposition: form-data\r\n\r\n1" + lw::FormTail(), false},
      {"unknown part header", kType, "--------WebTarn\r\nContent-Disposition: form-data; name=\"a\"\r\nX-Y: z\r\n\r\n1" + lw::FormTail(), false},
      {"headers never end", kType, "--------WebTarn\r\nContent-Disposition: form-data; name=\"a\"\r\n", false},
      {"empty body", kType, "", false},
  };
  for (const Case& c : cases) {
    std::vector<mfpsim::FormPart> parts;
    std::string error;
    EXPECT_EQ(mfpsim::ParseMultipartForm(c.type, c.body, parts, error), c.ok) << c.what << ": " << error;
  }
  std::vector<mfpsim::FormPart> parts;
  std::string error;
  ASSERT_TRUE(mfpsim::ParseMultipartForm(kType, good, parts, error));
  std::string_view xml;
  ASSERT_TRUE(mfpsim::CheckCommandForm(parts, xml, error)) << error;
  EXPECT_EQ(xml, "<x/>");

  uint32_t id = 0;
  std::string_view image;
  const std::string imageBody = lw::ImageFormHead(0x2a, 1) + "II*" + lw::FormTail();
  ASSERT_TRUE(mfpsim::ParseMultipartForm(kType, imageBody, parts, error));
  ASSERT_TRUE(mfpsim::CheckImageForm(parts, id, image, error)) << error;
  EXPECT_EQ(id, 0x2au);
  EXPECT_EQ(image, "II*");
  const std::string upperId = lw::ImageFormHead(0xAB, 1);
  std::string upper = upperId;
  upper.replace(upper.find("000000ab"), 8, "000000AB");
  const std::string upperBody = upper + "II*" + lw::FormTail();  // the parts point into it
  ASSERT_TRUE(mfpsim::ParseMultipartForm(kType, upperBody, parts, error));
  EXPECT_FALSE(mfpsim::CheckImageForm(parts, id, image, error)) << "upper-case service ids are refused";
}

TEST(MfpForm, RequestsAreCheckedElementByElement) {
  lw::PageFieldSet set;
  set.coverPageId = 2;
  set.title = "t";
  set.messages = {{1, 2, 3, 4, 1, 1, "LEFT", "PAGES"}};
  struct Case { const char* what; std::string xml; bool ok; };
  std::string noDecl = lw::CreateMessageBytes(set).substr(std::strlen("<?xml version=\"1.0\"?>"));
  std::string badKey = lw::CreateMessageBytes(set);
  badKey.replace(badKey.find("PAGES"), 5, "NAME2").replace(badKey.rfind("PAGES"), 5, "NAME2");
  std::string wrongOrder = lw::CreateMessageBytes(set);
  wrongOrder.replace(wrongOrder.find("<MESSAGEINFO>"), 13, "<SENDERINFO>");
  const Case cases[] = {
      {"the editor's create request", lw::CreateMessageBytes(set), true},
      {"the editor's list request", lw::ListMessageBytes(), true},
      {"no declaration", noDecl, false},
      {"unknown field key", badKey, false},
      {"groups out of order", wrongOrder, false},
      {"list without the ideographic space", "<?xml version=\"1.0\"?><JOB><COMMAND>LIST</COMMAND><TYPE>COVERPAGE</TYPE><PARAM><COVERPAGE> </COVERPAGE></PARAM></JOB>", false},
      {"unknown command", "<?xml version=\"1.0\"?><JOB><COMMAND>DELETE</COMMAND><TYPE>COVERPAGE</TYPE><PARAM><COVERPAGE/></PARAM></JOB>", false},
      {"not XML", "<?xml version=\"1.0\"?><JOB>", false},
  };
  for (const Case& c : cases) {
    mfpsim::CommandRequest req;
    std::string error;
    EXPECT_EQ(mfpsim::ParseCommandRequest(c.xml, req, error), c.ok) << c.what << ": " << error;
  }
}

TEST(MfpForm, OnlyOnePageT6TiffsOfTheFaxSizeAreAccepted) {
  struct Case { const char* what; uint32_t w, h; int pages; int compression; bool ok; };
  const Case cases[] = {
      {"fax page", 1728, 2332, 1, COMPRESSION_CCITTFAX4, true},
      {"two pages", 1728, 2332, 2, COMPRESSION_CCITTFAX4, false},
      {"landscape size", 2332, 1728, 1, COMPRESSION_CCITTFAX4, false},
      {"T.4 coded", 1728, 2332, 1, COMPRESSION_CCITTFAX3, false},
      {"uncompressed", 1728, 2332, 1, COMPRESSION_NONE, false},
  };
  const std::string path = lw::PrivateTempPath("sim-check.tif");
  for (const Case& c : cases) {
    ASSERT_TRUE(lwtest::MakeFaxTiff(path, c.w, c.h, c.pages, c.compression)) << c.what;
    std::string error;
    EXPECT_EQ(mfpsim::CheckFaxTiff(lwtest::ReadFileBytes(path), error), c.ok) << c.what << ": " << error;
  }
  std::string bytes = lwtest::ReadFileBytes(path);
  std::string error;
  EXPECT_FALSE(mfpsim::CheckFaxTiff("not a tiff", error));
  ASSERT_TRUE(lwtest::MakeFaxTiff(path));
  bytes = lwtest::ReadFileBytes(path);
  EXPECT_FALSE(mfpsim::CheckFaxTiff(bytes.substr(0, bytes.size() / 2), error)) << "a cut-off image";
}

// Posts hand-made forms to the running device and reads the code it answers.
TEST(MfpSim, MalformedPostsGetACodeOtherThan600) {
  lwtest::SimDevice device;
  const std::string head = lw::PrivateTempPath("sim-head"), data = lw::PrivateTempPath("sim-data"),
                    ret = lw::PrivateTempPath("sim-ret");
  auto post = [&](const char* path, const std::string& headBytes, const std::string& payload) {
    lwtest::WriteFileBytes(head, headBytes);
    lwtest::WriteFileBytes(data, payload);
    lw::PostJob job{"127.0.0.1", path, head, data, ret, lw::FormTail(), static_cast<uint16_t>(device.port)};
    lw::ServerResponse r;
    if (lw::PostForm(job) != 0) return -1;
    lw::ReadResponse(ret, r);
    return int(r.code);
  };
  lw::PageFieldSet set;
  set.coverPageId = 1;
  const std::string tif = lw::PrivateTempPath("sim-page.tif");
  ASSERT_TRUE(lwtest::MakeFaxTiff(tif));
  const std::string page = lwtest::ReadFileBytes(tif);
  std::string wrongField = lw::XmlFormHead();
  wrongField.replace(wrongField.find("datafile"), 8, "xmlfile");

  EXPECT_EQ(post("/UPCMD.CGI", lw::XmlFormHead(), lw::CreateMessageBytes(set)), 600);
  EXPECT_EQ(post("/UPCMD.CGI", wrongField, lw::CreateMessageBytes(set)), mfpsim::kCodeBadRequest);
  EXPECT_EQ(post("/UPCMD.CGI", lw::XmlFormHead(), "<JOB>"), mfpsim::kCodeBadRequest);
  set.coverPageId = 6;
  EXPECT_EQ(post("/UPCMD.CGI", lw::XmlFormHead(), lw::CreateMessageBytes(set)), mfpsim::kCodeBadSlot);
  EXPECT_EQ(post("/UPDATA.CGI", lw::ImageFormHead(0x1234, 1), page), mfpsim::kCodeUnknownService);
  EXPECT_EQ(post("/UPDATA.CGI", lw::ImageFormHead(0x1234, 2), page), mfpsim::kCodeBadForm);
  EXPECT_EQ(post("/UPDATA.CGI", lw::XmlFormHead(), page), mfpsim::kCodeBadForm);
  EXPECT_TRUE(device.sim->Slots().empty());
}

TEST(MfpSim, TwentySlotDeviceAcceptsSlotsAboveFive) {
  mfpsim::Options o;
  o.slotCount = 20;
  lwtest::SimDevice device(o);
  lw::SetCurrentUploadPort(static_cast<uint16_t>(device.port));
  const std::string tif = lw::PrivateTempPath("sim-page20.tif");
  ASSERT_TRUE(lwtest::MakeFaxTiff(tif));
  ASSERT_EQ(lw::UploadPage({}, 12, "127.0.0.1", [&] { return tif; }), 0);
  std::vector<lw::SlotEntry> table;
  ASSERT_EQ(lw::ListSlots(lw::UploadTempFolder(), "127.0.0.1", table), 0);
  ASSERT_EQ(table.size(), 20u);
  EXPECT_EQ(table[11].imagePath, "/COVERPAGE/CP12.TIF");
  lw::SetCurrentUploadPort(0);
}

TEST(MfpSim, TheProgramPrintsItsPortAndServes) {
  QTemporaryDir data;
  QProcess sim;
  sim.start(lwtest::BinaryDir() + "/bin/leafwright-mfp-sim", {"--port", "0", "--data", data.path()});
  ASSERT_TRUE(sim.waitForStarted(10000));
  ASSERT_TRUE(sim.waitForReadyRead(10000));
  const QString line = QString::fromUtf8(sim.readLine()).trimmed();
  ASSERT_TRUE(line.startsWith("listening on 127.0.0.1:")) << line.toStdString();
  const int port = line.section(':', -1).toInt();
  ASSERT_GT(port, 0);
  lw::SetCurrentUploadPort(static_cast<uint16_t>(port));
  std::vector<lw::SlotEntry> table;
  EXPECT_EQ(lw::ListSlots(lw::UploadTempFolder(), "127.0.0.1", table), 0);
  EXPECT_EQ(table.size(), 5u);
  lw::SetCurrentUploadPort(0);
  sim.terminate();
  ASSERT_TRUE(sim.waitForFinished(10000));
  EXPECT_EQ(sim.exitCode(), 0);
}

}  // namespace
