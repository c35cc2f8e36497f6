// The XML messages: what the writers produce byte for byte, and what the readers take from
// responses. Invariants: requests begin with a version-only declaration, keep element order,
// leave out fields without a key; readers never fail on bad input but leave the code at 0
// (command responses) or report failure (list responses).
#include <gtest/gtest.h>

#include "UploadTestSupport.h"
#include "base/TempFiles.h"
#include "upload/UploadMessages.h"

namespace {

using lw::FieldPlacement;

TEST(UploadMessages, CreateRequestHoldsTheFieldsInGroupOrder) {
  lw::PageFieldSet set;
  set.coverPageId = 3;
  set.title = QString::fromUtf8("送付状 & <A>");
  set.recipients = {{10, -20, 300, 40, 1, 2, "LEFT", "FAXNUMBER"}, {0, 0, 1, 1, 1, 1, "LEFT", ""}};
  set.messages = {{5, 6, 7, 8, 4, 4, "CENTER", "SUBJECT"}};
  set.senders = {{1, 2, 3, 4, 1, 1, "RIGHT", "NAME"}, {1, 2, 3, 4, 1, 1, "RIGHT", "NAME"}};
  const std::string expected =
      "<?xml version=\"1.0\"?><JOB><COMMAND>CREATE</COMMAND><TYPE>COVERPAGE</TYPE><PARAM><COVERPAGE>"
      "<COVERPAGEID>3</COVERPAGEID><NAME>\xE9\x80\x81\xE4\xBB\x98\xE7\x8A\xB6 &amp; &lt;A&gt;</NAME>"
      "<ADDRESSEEINFO><FAXNUMBER><POSITION><X>10</X><Y>-20</Y></POSITION><SIZE><X>300</X><Y>40</Y></SIZE>"
      "<FONTSIZE><X>1</X><Y>2</Y></FONTSIZE><ALLIGN>LEFT</ALLIGN></FAXNUMBER></ADDRESSEEINFO>"
      "<MESSAGEINFO><SUBJECT><POSITION><X>5</X><Y>6</Y></POSITION><SIZE><X>7</X><Y>8</Y></SIZE>"
      "<FONTSIZE><X>4</X><Y>4</Y></FONTSIZE><ALLIGN>CENTER</ALLIGN></SUBJECT></MESSAGEINFO>"
      "<SENDERINFO><NAME><POSITION><X>1</X><Y>2</Y></POSITION><SIZE><X>3</X><Y>4</Y></SIZE>"
      "<FONTSIZE><X>1</X><Y>1</Y></FONTSIZE><ALLIGN>RIGHT</ALLIGN></NAME>"
      "<NAME><POSITION><X>1</X><Y>2</Y></POSITION><SIZE><X>3</X><Y>4</Y></SIZE>"
      "<FONTSIZE><X>1</X><Y>1</Y></FONTSIZE><ALLIGN>RIGHT</ALLIGN></NAME></SENDERINFO>"
      "</COVERPAGE></PARAM></JOB>";
  EXPECT_EQ(lw::CreateMessageBytes(set), expected);

  const std::string path = lw::PrivateTempPath("create-test.xml");
  ASSERT_EQ(lw::WriteCreateMessage(path, set), 0);
  EXPECT_EQ(lwtest::ReadFileBytes(path), expected);
}

TEST(UploadMessages, CreateRequestWithoutFieldsKeepsTheEmptyGroups) {
  lw::PageFieldSet set;
  set.title = "x";
  set.senders = {{1, 2, 3, 4, 1, 1, "LEFT", "BAD KEY"}};  // not a name: left out like an empty key
  EXPECT_EQ(lw::CreateMessageBytes(set),
            "<?xml version=\"1.0\"?><JOB><COMMAND>CREATE</COMMAND><TYPE>COVERPAGE</TYPE><PARAM><COVERPAGE>"
            "<COVERPAGEID>0</COVERPAGEID><NAME>x</NAME><ADDRESSEEINFO/><MESSAGEINFO/><SENDERINFO/>"
            "</COVERPAGE></PARAM></JOB>");
}

TEST(UploadMessages, ListRequestCarriesOneIdeographicSpace) {
  EXPECT_EQ(lw::ListMessageBytes(),
            "<?xml version=\"1.0\"?><JOB><COMMAND>LIST</COMMAND><TYPE>COVERPAGE</TYPE><PARAM>"
            "<COVERPAGE>\xE3\x80\x80</COVERPAGE></PARAM></JOB>");
}

TEST(UploadMessages, NumberReaders) {
  const std::pair<const char16_t*, int32_t> decimals[] = {
      {u"600", 600}, {u"  600", 600}, {u"600abc", 600}, {u"", 0}, {u"abc", 0}, {u"-12", -12},
      {u"99999999999", INT32_MAX}, {u"-99999999999", INT32_MIN}, {u"\n601\n", 601}};
  for (auto [text, value] : decimals) EXPECT_EQ(lw::ParseDecimal(text), value);
  const std::pair<const char16_t*, uint32_t> hex[] = {
      {u"1A2B", 0x1A2B}, {u"2a", 0x2a}, {u"0000002a", 0x2a}, {u"123456789", 0x12345678},
      {u"fFfFfFfF", 0xFFFFFFFF}, {u"zz", 0}, {u"", 0}, {u" 1f", 0x1f}, {u"12g4", 0x12}};
  for (auto [text, value] : hex) EXPECT_EQ(lw::ParseHex8(text), value);
}

TEST(UploadMessages, CommandResponses) {
  struct Case { const char* what; const char* xml; int32_t code; uint32_t service; const char* codeText; };
  const Case cases[] = {
      {"plain success", "<RESPONSE><CODE>600</CODE><SERVICEID>1A2B</SERVICEID><DOCUMENTID>ff</DOCUMENTID><FAXJOBID>9</FAXJOBID></RESPONSE>", 600, 0x1A2B, "600"},
      {"CORD is read like CODE", "<RESPONSE><CORD>600</CORD><SERVICEID>2a</SERVICEID></RESPONSE>", 600, 0x2a, "600"},
      {"a later code overwrites", "<RESPONSE><CODE>600</CODE><CODE>601</CODE></RESPONSE>", 601, 0, "601"},
      {"nested RESPONSE is found", "<X><Y><RESPONSE><CODE>600</CODE></RESPONSE></Y></X>", 600, 0, "600"},
      {"CODE outside the first RESPONSE is ignored", "<X><CODE>600</CODE><RESPONSE/><RESPONSE><CODE>600</CODE></RESPONSE></X>", 0, 0, ""},
      {"grandchildren do not count", "<RESPONSE><A><CODE>600</CODE></A></RESPONSE>", 0, 0, ""},
      {"prefixed names are matched by local name", "<RESPONSE xmlns:m='u'><m:CODE>600</m:CODE><m:SERVICEID>10</m:SERVICEID></RESPONSE>", 600, 0x10, "600"},
      {"names are case-sensitive", "<RESPONSE><code>600</code></RESPONSE>", 0, 0, ""},
      {"no RESPONSE", "<ANSWER><CODE>600</CODE></ANSWER>", 0, 0, ""},
      {"empty file", "", 0, 0, ""},
      {"not XML", "HTTP/1.1 500", 0, 0, ""},
      {"cut off", "<RESPONSE><CODE>600</CODE><SERV", 0, 0, ""},
      {"long service id is read from 8 characters", "<RESPONSE><CODE>600</CODE><SERVICEID>123456789abc</SERVICEID></RESPONSE>", 600, 0x12345678, "600"},
  };
  for (const Case& c : cases) {
    lw::ServerResponse r;
    EXPECT_EQ(lw::ReadResponseBytes(c.xml, r), 0) << c.what;
    EXPECT_EQ(r.code, c.code) << c.what;
    EXPECT_EQ(r.serviceId, c.service) << c.what;
    EXPECT_EQ(r.codeText, QString::fromLatin1(c.codeText)) << c.what;
  }
  lw::ServerResponse missing;
  EXPECT_EQ(lw::ReadResponse(lw::PrivateTempPath("no-such-response.xml"), missing), 0);
  EXPECT_EQ(missing.code, 0);
}

TEST(UploadMessages, SlotLists) {
  struct Case { const char* what; const char* xml; int result; int32_t code; std::vector<int32_t> ids; };
  const Case cases[] = {
      {"entries in document order", "<RESPONSE><CODE>600</CODE><L><COVERPAGE><COVERPAGEID>4</COVERPAGEID></COVERPAGE>"
       "<COVERPAGE><COVERPAGEID>2</COVERPAGEID></COVERPAGE></L></RESPONSE>", 0, 600, {4, 2}},
      {"entries without or with id 0 are skipped", "<R><CODE>600</CODE><COVERPAGE><NAME>a</NAME></COVERPAGE>"
       "<COVERPAGE><COVERPAGEID>0</COVERPAGEID></COVERPAGE><COVERPAGE><COVERPAGEID>1</COVERPAGEID></COVERPAGE></R>", 0, 600, {1}},
      {"any code is read", "<R><CODE>601</CODE></R>", 0, 601, {}},
      {"the first CODE anywhere", "<R><X><CODE>700</CODE></X><CODE>600</CODE></R>", 0, 700, {}},
      {"CORD is not accepted for lists", "<R><CORD>600</CORD><COVERPAGE><COVERPAGEID>1</COVERPAGEID></COVERPAGE></R>", -1, 0, {}},
      {"not XML", "<R><CODE>600", -1, 0, {}},
      {"empty", "", -1, 0, {}},
  };
  for (const Case& c : cases) {
    int32_t code = 0;
    std::vector<lw::SlotEntry> entries;
    EXPECT_EQ(lw::ReadSlotListBytes(c.xml, code, entries), c.result) << c.what;
    EXPECT_EQ(code, c.code) << c.what;
    std::vector<int32_t> ids;
    for (const auto& e : entries) ids.push_back(e.id);
    EXPECT_EQ(ids, c.ids) << c.what;
  }
  int32_t code = 0;
  std::vector<lw::SlotEntry> entries;
  ASSERT_EQ(lw::ReadSlotListBytes("<R><CODE>600</CODE><COVERPAGE><COVERPAGEID>7</COVERPAGEID><NAME>表紙</NAME>"
                                  "<IMAGEPATH>/COVERPAGE/CP07.TIF</IMAGEPATH><TIMESTAMP>2026/12/11 10:00</TIMESTAMP>"
                                  "<NAME>second</NAME></COVERPAGE></R>", code, entries), 0);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0], (lw::SlotEntry{7, "second", "/COVERPAGE/CP07.TIF", "2026/12/11 10:00"}));
}

TEST(UploadMessages, OversizedResponseFilesAreRefusedBeforeParsing) {
  const std::string path = lw::PrivateTempPath("big-response.xml");
  std::string big = "<RESPONSE><CODE>600</CODE><P>";
  big.resize(lw::kMaxResponseBytes + 1, 'x');
  ASSERT_TRUE(lwtest::WriteFileBytes(path, big));
  lw::ServerResponse r;
  EXPECT_EQ(lw::ReadResponse(path, r), 0);
  EXPECT_EQ(r.code, 0);
  int32_t code = 0;
  std::vector<lw::SlotEntry> entries;
  EXPECT_NE(lw::ReadSlotList(path, code, entries), 0);
  std::remove(path.c_str());
}

TEST(UploadMessages, DeeplyNestedSlotsFailInsteadOfTakingQuadraticTime) {
  std::string xml = "<R><CODE>600</CODE>";
  const int depth = 200000;
  for (int i = 0; i < depth; ++i) xml += "<COVERPAGE><NAME>";
  for (int i = 0; i < depth; ++i) xml += "</NAME></COVERPAGE>";
  xml += "</R>";
  int32_t code = 0;
  std::vector<lw::SlotEntry> entries;
  EXPECT_EQ(lw::ReadSlotListBytes(xml, code, entries), -1);
}

}  // namespace
