// The field catalogue and CDrawDoc::BuildFieldSet.
// Invariants: only kinds 2..29 reach the field set, each in its group's list in stacking
// order; rectangles are normalised and scaled into the 1728 x 2332 frame with truncating
// integer arithmetic; the title is the file name up to its first dot, or the untitled text.
#include <gtest/gtest.h>

#include "document/CDrawDoc.h"
#include "document/DocGlobals.h"
#include "document/FieldCatalogue.h"
#include "document/ObjectCreation.h"

namespace {

using lw::FieldPlacement;

TEST(FieldCatalogue, CoversKindsTwoToTwentyNineWithTheirGroupsIdsAndKeys) {
  const auto& all = lw::FieldCatalogue();
  ASSERT_EQ(all.size(), 28u);
  for (int kind = 2; kind <= 29; ++kind) {
    const lw::FieldKindInfo* info = lw::FieldKindInfoFor(kind);
    ASSERT_NE(info, nullptr) << kind;
    EXPECT_EQ(info->kind, kind);
    EXPECT_EQ(info->group, lw::GroupOfKind(kind));
    EXPECT_EQ(info->placeholderTextId, info->labelTextId + 1) << kind;  // pairs in the table
  }
  struct Row { int kind; int labelId; const char* key; };
  const Row rows[] = {
      {2, 62485, "NAME"}, {5, 62497, "ZIPCODE"}, {7, 62501, ""}, {12, 62495, "MAILADDRESS"},
      {13, 62507, ""}, {14, 62461, "NAME"}, {19, 62477, ""}, {21, 62469, "FAXNUMBER"},
      {25, 62483, ""}, {26, 62511, "COMMENT"}, {28, 62515, "PAGES"}, {29, 62509, "TIMESTAMP"},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(lw::FieldKindInfoFor(r.kind)->labelTextId, r.labelId) << r.kind;
    EXPECT_EQ(lw::FieldKeyOfKind(r.kind), QString::fromLatin1(r.key)) << r.kind;
  }
  for (int outside : {-1, 0, 1, 30, 1000}) {
    EXPECT_EQ(lw::FieldKindInfoFor(outside), nullptr);
    EXPECT_TRUE(lw::FieldKeyOfKind(outside).isEmpty());
  }
}

TEST(FieldCatalogue, AlignmentNames) {
  const std::pair<int, const char*> rows[] = {{2, "CENTER"}, {3, "RIGHT"}, {1, "LEFT"}, {0, "LEFT"}, {4, "LEFT"}, {-3, "LEFT"}};
  for (auto [code, name] : rows) EXPECT_EQ(lw::AlignmentName(code), QLatin1String(name)) << code;
}

TEST(FieldCatalogue, PlacementIsScaledIntoTheFaxFrame) {
  struct Case { const char* what; int l, t, r, b, w, h; int x, y, width, height; };
  const Case cases[] = {
      {"portrait top-left corner", -864, 1166, -664, 1116, 1728, 2332, 0, 0, 200, 50},
      {"stored upside down gives the same record", -664, 1116, -864, 1166, 1728, 2332, 0, 0, 200, 50},
      {"landscape right edge maps to 1728", 1166, 864, 1266, 764, 2332, 1728, 1728, 0, 74, 134},
      {"landscape truncates towards zero", -1165, 863, -1164, 862, 2332, 1728, 0, 1, 0, 1},
      {"portrait centre", 0, 0, 10, -10, 1728, 2332, 864, 1166, 10, 10},
      {"no page size yet gives zeros, not a crash", 0, 0, 10, 10, 0, 0, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    const FieldPlacement p = lw::PlaceField(c.l, c.t, c.r, c.b, c.w, c.h);
    EXPECT_EQ(p.x, c.x) << c.what;
    EXPECT_EQ(p.y, c.y) << c.what;
    EXPECT_EQ(p.width, c.width) << c.what;
    EXPECT_EQ(p.height, c.height) << c.what;
  }
}

TEST(FieldCatalogue, TitleIsTheFileNameUpToItsFirstDot) {
  const std::pair<const char*, const char*> rows[] = {
      {"/home/u/表紙.lwt", "表紙"},
      {"/home/u/cover.v2.lwt", "cover"},
      {"cover", "cover"},
      {"/home/u.d/cover", "cover"},
      {"/home/u/.hidden.lwt", ""},
  };
  for (auto [path, title] : rows) EXPECT_EQ(lw::TitleFromPath(QString::fromUtf8(path)), QString::fromUtf8(title)) << path;
}

class BuildFieldSetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lw::ResetAllState();
    doc.m_sizePage = QSize(1728, 2332);
  }
  void TearDown() override {
    doc.DeleteAllObjects();
    lw::ResetAllState();
  }
  CDrawRect* Add(int kind, LRect r, int align = 1, int hrate = 1, int vrate = 1) {
    auto obj = lw::MakeFieldObject(kind, r, lw::DefaultTextFont());
    obj->m_nAlign = align;
    obj->m_nHRate = hrate;
    obj->m_nVRate = vrate;
    CDrawRect* raw = obj.release();
    doc.AddObject(raw);
    return raw;
  }
  CDrawDoc doc;
};

TEST_F(BuildFieldSetTest, OnlyFieldsReachTheSetInStackingOrder) {
  doc.AddObject(lw::MakeShape(lw::ShapeTool::Rectangle, LRect{0, 0, 50, -50}, lw::DefaultTextFont()).release());
  Add(1, LRect{-864, 1166, -800, 1100});                   // label: not sent
  Add(14, LRect{-864, 1166, -664, 1116}, 3, 2, 4);         // recipient name
  Add(29, LRect{0, 0, 100, -40}, 2);                       // date sent
  Add(14, LRect{-864, 1000, -664, 950});                   // a second recipient name
  Add(19, LRect{0, 100, 10, 90});                          // second address line: empty key
  Add(9, LRect{100, 100, 110, 90});                        // sender fax number
  lw::PageFieldSet set;
  ASSERT_EQ(doc.BuildFieldSet(set), 1);
  EXPECT_EQ(set.coverPageId, 0);
  ASSERT_EQ(set.recipients.size(), 3u);
  EXPECT_EQ(set.recipients[0], (FieldPlacement{0, 0, 200, 50, 2, 4, "RIGHT", "NAME"}));
  EXPECT_EQ(set.recipients[1].key, "NAME");
  EXPECT_EQ(set.recipients[1].y, 166);
  EXPECT_EQ(set.recipients[2].key, "");
  ASSERT_EQ(set.senders.size(), 1u);
  EXPECT_EQ(set.senders[0].key, "FAXNUMBER");
  ASSERT_EQ(set.messages.size(), 1u);
  EXPECT_EQ(set.messages[0], (FieldPlacement{864, 1166, 100, 40, 1, 1, "CENTER", "TIMESTAMP"}));
}

TEST_F(BuildFieldSetTest, TitleOfUntitledAndSavedDocuments) {
  lw::PageFieldSet untitled;
  doc.BuildFieldSet(untitled);
  EXPECT_EQ(untitled.title, QString::fromUtf8("無題"));
  EXPECT_TRUE(untitled.recipients.empty() && untitled.senders.empty() && untitled.messages.empty());

  auto previous = lw::SetFieldTextLookup([](int id) { return QStringLiteral("text %1").arg(id); });
  lw::PageFieldSet loaded;
  doc.BuildFieldSet(loaded);
  EXPECT_EQ(loaded.title, "text 62456");
  lw::SetFieldTextLookup(previous);

  g_strDocPath = QString::fromUtf8("/data/送付状.社外.lwt");
  lw::PageFieldSet saved;
  doc.BuildFieldSet(saved);
  EXPECT_EQ(saved.title, QString::fromUtf8("送付状"));
}

TEST_F(BuildFieldSetTest, LandscapePagesAreSentInThePortraitFrame) {
  doc.m_sizePage = QSize(2332, 1728);
  Add(27, LRect{1166, 864, 1266, 764});  // top-left at page pixel (2332, 0)
  lw::PageFieldSet set;
  doc.BuildFieldSet(set);
  ASSERT_EQ(set.messages.size(), 1u);
  EXPECT_EQ(set.messages[0].x, 1728);
  EXPECT_EQ(set.messages[0].y, 0);
}

}  // namespace
