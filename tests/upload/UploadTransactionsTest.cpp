// The transactions end to end against the stand-in device on a free loopback port.
// Invariants: a successful transaction deletes its message files and a failed one keeps
// them; every step writes its trace line; the image goes up only after a create answered
// 600, carrying that service id; each fault of the device fails the step it hits.
#include <gtest/gtest.h>

#include "UploadTestSupport.h"
#include "base/TempFiles.h"
#include "upload/UploadTrace.h"
#include "upload/UploadTransactions.h"

#include <QTemporaryDir>
#include <cstring>

namespace {

using lw::SlotEntry;

// One fault set on an otherwise well-behaved device.
template <typename T, typename V>
mfpsim::Faults Fault(T mfpsim::Faults::*member, V value) {
  mfpsim::Faults f;
  f.*member = static_cast<T>(value);
  return f;
}

class TransactionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = lw::UploadTempFolder();
    ASSERT_FALSE(folder.empty());
    image = lw::PrivateTempPath("page.tif");
    ASSERT_TRUE(lwtest::MakeFaxTiff(image));
    previousSink = lw::SetUploadTraceSink([this](const std::string& line) { trace.push_back(line); });
    fields.title = QString::fromUtf8("送付状");
    fields.recipients = {{100, 200, 300, 40, 1, 1, "LEFT", "FAXNUMBER"}};
  }
  void TearDown() override {
    lw::SetUploadTraceSink(previousSink);
    lw::SetCurrentUploadPort(0);
  }
  void Use(const lwtest::SimDevice& device) { lw::SetCurrentUploadPort(static_cast<uint16_t>(device.port)); }
  std::string File(const char* word) { return folder + word + ".XML"; }
  std::string ServiceIdSent(const mfpsim::Simulator& sim) {
    const std::string body = sim.LastRequest("/UPDATA.CGI").body;
    const size_t at = body.find("name=\"serviceid\"\r\n\r\n");
    return at == std::string::npos ? std::string() : body.substr(at + std::strlen("name=\"serviceid\"\r\n\r\n"), 8);
  }

  std::string folder, image;
  std::vector<std::string> trace;
  lw::UploadTraceSink previousSink;
  lw::PageFieldSet fields;
};

TEST_F(TransactionTest, ListCreateImagePreviewAndPersistence) {
  QTemporaryDir data;
  mfpsim::Options options;
  options.dataDir = data.path().toStdString();
  {
    lwtest::SimDevice device(options);
    Use(device);
    std::vector<SlotEntry> table;
    ASSERT_EQ(lw::ListSlots(folder, "127.0.0.1", table), 0);
    ASSERT_EQ(table.size(), 5u);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(table[i], (SlotEntry{i + 1, "", "", ""}));
    for (const char* f : {"LIST_SEND", "LIST_HEAD", "LIST_RET"}) EXPECT_FALSE(lwtest::FileExists(File(f))) << f;

    lw::UploadStep step = lw::UploadStep::Create;
    ASSERT_EQ(lw::UploadPage(fields, 2, "127.0.0.1", [this] { return image; }, &step), 0);
    EXPECT_EQ(step, lw::UploadStep::None);
    EXPECT_TRUE(lwtest::FileExists(image)) << "the page image is never deleted by the upload";
    for (const char* f : {"CREATE_SEND", "CREATE_HEAD", "CREATE_RET", "CPIMG_HEAD", "CPIMG_RET"})
      EXPECT_FALSE(lwtest::FileExists(File(f))) << f;

    table.clear();
    ASSERT_EQ(lw::ListSlots(folder, "127.0.0.1", table), 0);
    ASSERT_EQ(table.size(), 5u);
    EXPECT_EQ(table[1].id, 2);
    EXPECT_EQ(table[1].name, QString::fromUtf8("送付状"));
    EXPECT_EQ(table[1].imagePath, "/COVERPAGE/CP02.TIF");
    EXPECT_FALSE(table[1].timestamp.isEmpty());

    const std::string preview = lw::PrivateTempPath("preview.tif");
    ASSERT_EQ(lw::DownloadFile("127.0.0.1", lw::CurrentUploadPort(), table[1].imagePath, preview), 0);
    EXPECT_EQ(lwtest::ReadFileBytes(preview), lwtest::ReadFileBytes(image));
    EXPECT_EQ(device.sim->Slots().at(0).request.find("<FAXNUMBER><POSITION><X>100</X>") != std::string::npos, true);
  }
  // A new device process on the same folder still holds the slot.
  lwtest::SimDevice again(options);
  Use(again);
  std::vector<SlotEntry> table;
  ASSERT_EQ(lw::ListSlots(folder, "127.0.0.1", table), 0);
  EXPECT_EQ(table[1].name, QString::fromUtf8("送付状"));
}

TEST_F(TransactionTest, TheTraceNamesEveryStep) {
  lwtest::SimDevice device;
  Use(device);
  uint32_t serviceId = 0;
  fields.coverPageId = 4;
  ASSERT_EQ(lw::SendCreate(folder, "127.0.0.1", fields, serviceId), 0);
  const std::string port = std::to_string(device.port);
  const std::vector<std::string> expected = {
      "SEND CREATECOVERPAGE MSG START",
      "SEND CREATECOVERPAGE MSG COVERPAGEID=4",
      "SEND CREATECOVERPAGE MSG PORT=" + port,
      "SEND CREATECOVERPAGE MSG NETPATH=127.0.0.1",
      "SEND CREATECOVERPAGE MSG NETNAME=/UPCMD.CGI",
      "SEND CREATECOVERPAGE MSG LOCAL FILE=" + File("CREATE_SEND"),
      "SEND CREATECOVERPAGE MSG RET   FILE=" + File("CREATE_RET"),
      "SEND CREATECOVERPAGE MSG STEP 1 ENCODE CREATE",
      "SEND CREATECOVERPAGE MSG STEP 2 MAKE HEAD",
      "SEND CREATECOVERPAGE MSG STEP 3 POST",
      "SEND CREATECOVERPAGE MSG STEP 4 DECODE RET",
  };
  EXPECT_EQ(trace, expected);

  trace.clear();
  ASSERT_EQ(lw::SendImage(folder, "127.0.0.1", image, serviceId), 0);
  EXPECT_EQ(trace, (std::vector<std::string>{
                       "SEND SEND_IMAGE START", "SEND SEND_IMAGE PORT=" + port, "SEND SEND_IMAGE NETPATH=127.0.0.1",
                       "SEND SEND_IMAGE NETNAME=/UPDATA.CGI", "SEND SEND_IMAGE LOCAL FILE=" + image,
                       "SEND SEND_IMAGE RET   FILE=" + File("CPIMG_RET"), "SEND SEND_IMAGE STEP 1 MAKE HEAD FILE",
                       "SEND SEND_IMAGE STEP 2 POST FILE", "SEND SEND_IMAGE STEP 3 DECODE RET"}));
  char hex[16];
  std::snprintf(hex, sizeof hex, "%08x", serviceId);
  EXPECT_EQ(ServiceIdSent(*device.sim), hex);

  trace.clear();
  std::vector<SlotEntry> table;
  ASSERT_EQ(lw::ListSlots(folder, "127.0.0.1", table), 0);
  EXPECT_EQ(trace.front(), "SEND LISTCOVERPAGE START");
  EXPECT_EQ(trace.back(), "SEND LISTCOVERPAGE STEP 4 DECODE RET");
  EXPECT_EQ(trace.size(), 10u);
}

TEST_F(TransactionTest, DeviceFaultsFailTheStepTheyHit) {
  struct Case {
    const char* what;
    mfpsim::Faults faults;
    lw::UploadStep step;     // where UploadPage stops
    const char* errorLine;   // the trace's ERROR line
    bool slotStored;
  };
  auto only = [](mfpsim::Faults f, const char* path) {
    f.onlyPath = path;
    return f;
  };
  const Case cases[] = {
      {"create answered 601", Fault(&mfpsim::Faults::errorCode, 601), lw::UploadStep::Create, "SEND CREATECOVERPAGE MSG STEP 4 ERROR", false},
      {"create answered with CORD 600", Fault(&mfpsim::Faults::cord, true), lw::UploadStep::None, nullptr, true},
      {"create closed without a body", Fault(&mfpsim::Faults::closeWithoutBody, true), lw::UploadStep::Create, "SEND CREATECOVERPAGE MSG STEP 4 ERROR", false},
      {"create dropped mid-body", Fault(&mfpsim::Faults::dropBody, true), lw::UploadStep::Create, "SEND CREATECOVERPAGE MSG STEP 3 ERROR", false},
      {"create answered with malformed XML", Fault(&mfpsim::Faults::malformedXml, true), lw::UploadStep::Create, "SEND CREATECOVERPAGE MSG STEP 4 ERROR", false},
      {"create answered 404", Fault(&mfpsim::Faults::status404, true), lw::UploadStep::Create, "SEND CREATECOVERPAGE MSG STEP 4 ERROR", false},
      {"create answer too large", Fault(&mfpsim::Faults::oversizedBytes, 16u * 1024 * 1024 + 1), lw::UploadStep::Create, "SEND CREATECOVERPAGE MSG STEP 3 ERROR", false},
      {"image answered 602", only(Fault(&mfpsim::Faults::errorCode, 602), "/UPDATA.CGI"), lw::UploadStep::Image, "SEND SEND_IMAGE STEP 3 ERROR", false},
      {"image answered 404", only(Fault(&mfpsim::Faults::status404, true), "/UPDATA.CGI"), lw::UploadStep::Image, "SEND SEND_IMAGE STEP 3 ERROR", false},
  };
  for (const Case& c : cases) {
    lwtest::SimDevice device;
    Use(device);
    device.sim->SetFaults(c.faults);
    trace.clear();
    lw::UploadStep step = lw::UploadStep::None;
    const int result = lw::UploadPage(fields, 1, "127.0.0.1", [this] { return image; }, &step);
    EXPECT_EQ(result != 0, c.step != lw::UploadStep::None) << c.what;
    EXPECT_EQ(step, c.step) << c.what;
    if (c.errorLine) {
      EXPECT_EQ(trace.back(), c.errorLine) << c.what;
    }
    if (c.step == lw::UploadStep::Create) {
      EXPECT_TRUE(device.sim->LastRequest("/UPDATA.CGI").method.empty()) << c.what << ": no image after a failed create";
      for (const char* f : {"CREATE_SEND", "CREATE_HEAD"}) EXPECT_TRUE(lwtest::FileExists(File(f))) << c.what << " " << f;
    }
    if (c.step == lw::UploadStep::Image) {
      EXPECT_TRUE(lwtest::FileExists(File("CPIMG_HEAD"))) << c.what;
    }
    EXPECT_EQ(!device.sim->Slots().empty(), c.slotStored) << c.what;
  }
}

TEST_F(TransactionTest, ListFailures) {
  {
    lwtest::SimDevice device;
    Use(device);
    device.sim->SetFaults(Fault(&mfpsim::Faults::errorCode, 601));
    std::vector<SlotEntry> table;
    EXPECT_EQ(lw::ListSlots(folder, "127.0.0.1", table), -1);
    EXPECT_TRUE(table.empty());
    for (const char* f : {"LIST_SEND", "LIST_HEAD", "LIST_RET"}) EXPECT_FALSE(lwtest::FileExists(File(f))) << f;
    device.sim->SetFaults(Fault(&mfpsim::Faults::cord, true));  // a list needs "CODE"
    EXPECT_EQ(lw::ListSlots(folder, "127.0.0.1", table), lw::E_FAIL);
    EXPECT_TRUE(lwtest::FileExists(File("LIST_RET")));
  }
  lw::SetCurrentUploadPort(static_cast<uint16_t>(lwtest::UnusedPort()));
  std::vector<SlotEntry> table;
  trace.clear();
  EXPECT_EQ(lw::ListSlots(folder, "127.0.0.1", table), lw::E_FAIL);
  EXPECT_EQ(trace.back(), "SEND LISTCOVERPAGE STEP 3 ERROR");
  EXPECT_TRUE(lwtest::FileExists(File("LIST_SEND")));
}

TEST_F(TransactionTest, SilentDeviceTimesOut) {
  lw::TransportSettings s;
  s.postTimeoutMs = 300;
  lwtest::ScopedTransportSettings scoped(s);
  lwtest::SimDevice device;
  Use(device);
  device.sim->SetFaults(Fault(&mfpsim::Faults::delayMs, 10000));
  std::vector<SlotEntry> table;
  EXPECT_EQ(lw::ListSlots(folder, "127.0.0.1", table), lw::E_FAIL);
  EXPECT_EQ(lw::LastTransportError(), "timed out");
}

TEST_F(TransactionTest, ARenderThatMakesNoImageFailsTheImageStep) {
  lwtest::SimDevice device;
  Use(device);
  lw::UploadStep step = lw::UploadStep::None;
  EXPECT_NE(lw::UploadPage(fields, 1, "127.0.0.1", [] { return std::string(); }, &step), 0);
  EXPECT_EQ(step, lw::UploadStep::Render);
  EXPECT_EQ(trace.back(), "SEND SEND_IMAGE STEP 2 ERROR");
}

TEST(SlotTable, FiveOrTwentyRowsFromTheReceivedEntries) {
  struct Case { const char* what; std::vector<int> ids; size_t size; std::vector<int> filled; };
  const Case cases[] = {
      {"slots 2 and 4", {2, 4}, 5, {2, 4}},
      {"no entries", {}, 5, {}},
      {"slot 6 makes twenty", {6}, 20, {6}},
      {"slots 0, 21 and -1 are never shown", {0, 21, -1, 3}, 20, {3}},
      {"slot 5 keeps five", {5, 1}, 5, {1, 5}},
  };
  for (const Case& c : cases) {
    std::vector<SlotEntry> received;
    for (int id : c.ids) received.push_back({id, QString("name %1").arg(id), "", ""});
    const auto table = lw::BuildSlotTable(received);
    ASSERT_EQ(table.size(), c.size) << c.what;
    std::vector<int> filled;
    for (size_t k = 0; k < table.size(); ++k) {
      EXPECT_EQ(table[k].id, int(k + 1)) << c.what;
      if (!table[k].name.isEmpty()) filled.push_back(table[k].id);
    }
    EXPECT_EQ(filled, c.filled) << c.what;
  }
  const auto dup = lw::BuildSlotTable({{2, "first", "", ""}, {2, "second", "", ""}});
  EXPECT_EQ(dup[1].name, "first");
}

}  // namespace
