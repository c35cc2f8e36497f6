// Drawing objects as made by each creating path, moved, and drawn freehand; the attribute
// rules for line weights and automatic outlines.
//
// Invariants under test:
// - moving an object to where it is changes nothing (no repaint, modified flag untouched),
//   except for a freehand stroke, whose points may have changed;
// - a freehand stroke grows its point array in steps of 10 and stores a repeated point once;
// - each creating path gives exactly its documented values.

#include "DocTestSupport.h"

#include "document/CDrawDoc.h"
#include "document/ObjectCreation.h"
#include "document/ObjectKind.h"

namespace {

using ObjectsTest = FreshState;

TEST_F(ObjectsTest, ReadingConstructorsLeaveEverythingToTheReader) {
  CDrawRect rect;
  EXPECT_STREQ(rect.ClassName(), "CDrawRect");
  EXPECT_EQ(rect.m_nVRate, 1);
  EXPECT_EQ(rect.m_nHRate, 1);
  EXPECT_EQ(rect.m_bLine, 0);
  EXPECT_TRUE(rect.m_strLineColorName.isEmpty());
  EXPECT_EQ(rect.m_pPoints, nullptr);
  EXPECT_EQ(rect.m_nPoints, 0);

  CDrawImage image;
  EXPECT_STREQ(image.ClassName(), "CDrawImage");
  EXPECT_EQ(image.m_pRaster, nullptr);
  EXPECT_EQ(image.m_pOwnerDoc, nullptr);
  EXPECT_EQ(image.m_bLine, 1);
  EXPECT_EQ(image.m_lineSpec, (LOGPEN{PS_INSIDEFRAME, {0, 0}, kColorBlack}));
  EXPECT_EQ(image.m_bFill, 1);
  EXPECT_EQ(image.m_fillSpec, (LOGBRUSH{BS_SOLID, kColorWhite, 0}));
  EXPECT_EQ(image.m_fLineWeight, 1.0f);
  EXPECT_EQ(image.m_strFillColorName, QStringLiteral("自動"));
  EXPECT_EQ(image.m_strLineColorName, QStringLiteral("自動"));
  EXPECT_EQ(image.m_strTextColorName, QStringLiteral("自動"));
  EXPECT_EQ(image.m_bHasImage, 0);
  EXPECT_EQ(image.m_nKind, 0);
}

TEST_F(ObjectsTest, CreatingConstructorDefaults) {
  CDrawRect obj({1, 2, 3, 4});
  EXPECT_EQ(obj.m_rcPos, (LRect{1, 2, 3, 4}));
  EXPECT_EQ(obj.m_bLine, 1);
  EXPECT_EQ(obj.m_lineSpec, (LOGPEN{PS_INSIDEFRAME, {1, 1}, kColorBlack}));
  EXPECT_EQ(obj.m_bFill, 1);
  EXPECT_EQ(obj.m_fillSpec, (LOGBRUSH{BS_SOLID, kColorWhite, 0}));
  EXPECT_EQ(obj.m_fLineWeight, 1.0f);
  EXPECT_EQ(obj.m_nShape, lw::kShapeRectangle);
  EXPECT_EQ(obj.m_nToolClass, 0);
  EXPECT_EQ(obj.m_nKind, 0);
  EXPECT_EQ(obj.m_nVRate, 1);
  EXPECT_EQ(obj.m_nHRate, 1);
  EXPECT_EQ(obj.m_strLineColorName, QStringLiteral("自動"));

  // The colour names follow the automatic label of the current language.
  g_strAutoLabel = QStringLiteral("Auto");
  CDrawRect english({0, 0, 0, 0});
  EXPECT_EQ(english.m_strFillColorName, QStringLiteral("Auto"));
}

TEST_F(ObjectsTest, ShapeToolsSetShapeCodeAndClass) {
  struct Case {
    lw::ShapeTool tool;
    int shape, code, toolClass;
  };
  const Case cases[] = {
      {lw::ShapeTool::Line, 2, 2, 3},     {lw::ShapeTool::Rectangle, 0, 0, 1},
      {lw::ShapeTool::TextBox, 0, 0, 1},  {lw::ShapeTool::Ellipse, 1, 1, 2},
      {lw::ShapeTool::Freehand, 3, 4, 4},
  };
  LOGFONT font = g_lfDefault;
  font.lfFaceName = QStringLiteral("IPAGothic");
  for (const Case& c : cases) {
    auto obj = lw::MakeShape(c.tool, {0, 10, 10, 0}, font);
    EXPECT_EQ(obj->m_nShape, c.shape);
    EXPECT_EQ(obj->m_nShapeCode, c.code);
    EXPECT_EQ(obj->m_nToolClass, c.toolClass);
    EXPECT_EQ(obj->m_nAlign, lw::kAlignLeft);
    EXPECT_EQ(obj->m_crText, kColorBlack);
    EXPECT_EQ(obj->m_nKind, 0);
    EXPECT_EQ(obj->m_textFont, font);
    EXPECT_EQ(obj->m_bEditableText, 0);
  }
}

TEST_F(ObjectsTest, LabelsAndFieldsGetTheAutomaticOutline) {
  auto label = lw::MakeFieldObject(lw::kKindLabel, {0, 30, 100, 0}, g_lfDefault);
  auto field = lw::MakeFieldObject(14, {100, 30, 300, 0}, g_lfDefault);
  for (const CDrawRect* obj : {label.get(), field.get()}) {
    EXPECT_EQ(obj->m_nShape, lw::kShapeRectangle);
    EXPECT_EQ(obj->m_bSemiTransparent, 1);
    EXPECT_EQ(obj->m_textFont.lfHeight, -27);
    EXPECT_EQ(obj->m_textFont.lfFaceName, g_lfDefault.lfFaceName);
    EXPECT_EQ(obj->m_lineSpec, (LOGPEN{PS_INSIDEFRAME, {0, 0}, kColorCyan}));
    EXPECT_EQ(obj->m_bLine, 0);
    EXPECT_EQ(obj->m_fLineWeight, 0.0f);
    EXPECT_TRUE(obj->HasAutomaticOutline());
  }
  EXPECT_EQ(label->m_nKind, 1);
  EXPECT_EQ(label->m_bEditableText, 1);
  EXPECT_EQ(label->m_nAlign, lw::kAlignRight);
  EXPECT_EQ(field->m_nKind, 14);
  EXPECT_EQ(field->m_bEditableText, 0);
  EXPECT_EQ(field->m_nAlign, lw::kAlignLeft);
  EXPECT_EQ(field->m_strTextColorName, QStringLiteral("黒"));
}

TEST_F(ObjectsTest, InsertedPictureAndCreationByClassName) {
  CDrawImage image;
  image.m_strText = QStringLiteral("left over");
  lw::InitInsertedPicture(image, g_lfDefault);
  EXPECT_EQ(image.m_bHasImage, 1);
  EXPECT_TRUE(image.m_strText.isEmpty());
  EXPECT_EQ(image.m_textFont, g_lfDefault);

  for (const char* name : {"CDrawRect", "CDrawImage", "CDrawObj"}) {
    auto obj = lw::CreateObjectByClassName(name);
    ASSERT_NE(obj, nullptr) << name;
    EXPECT_STREQ(obj->ClassName(), name);
  }
  EXPECT_EQ(lw::CreateObjectByClassName("CDrawRectX"), nullptr);
  EXPECT_EQ(lw::CreateObjectByClassName("cdrawrect"), nullptr);
  EXPECT_EQ(lw::CreateObjectByClassName(""), nullptr);
}

TEST_F(ObjectsTest, MoveToAnUnchangedRectangleDoesNothingExceptForFreehand) {
  CDrawDoc doc;
  RecordingView view;
  doc.AddView(&view);
  auto* rect = new CDrawRect({0, 10, 10, 0});
  doc.AddObject(rect);
  doc.SetModifiedFlag(false);

  rect->MoveTo({0, 10, 10, 0}, &view);
  EXPECT_FALSE(doc.IsModified());
  EXPECT_TRUE(view.invalidated.isEmpty());

  // Moving repaints the old and the new area through the given view.
  rect->MoveTo({5, 10, 10, 0}, &view);
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(view.invalidated, (QList<CDrawObj*>{rect, rect}));
  EXPECT_EQ(rect->m_rcPos, (LRect{5, 10, 10, 0}));

  // Without a view the document asks all views to repaint the object (hint 1).
  view.invalidated.clear();
  rect->MoveTo({6, 10, 10, 0}, nullptr);
  ASSERT_EQ(view.hints.size(), 2);
  EXPECT_EQ(view.hints[0].hint, lw::kHintObject);
  EXPECT_EQ(view.hints[0].object, rect);

  auto stroke = lw::MakeShape(lw::ShapeTool::Freehand, {0, 10, 10, 0}, g_lfDefault);
  CDrawRect* s = stroke.release();
  doc.AddObject(s);
  doc.SetModifiedFlag(false);
  s->MoveTo({0, 10, 10, 0}, &view);
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(view.invalidated, (QList<CDrawObj*>{s, s}));
}

TEST_F(ObjectsTest, FreehandPointsGrowInStepsOfTenAndRepeatsAreStoredOnce) {
  auto stroke = lw::MakeShape(lw::ShapeTool::Freehand, {}, g_lfDefault);
  EXPECT_EQ(stroke->m_pPoints, nullptr);
  stroke->MoveHandleTo(1, {5, -3}, nullptr);
  EXPECT_EQ(stroke->m_nPoints, 1);
  EXPECT_EQ(stroke->m_nPointsAlloc, 10);
  stroke->MoveHandleTo(1, {5, -3}, nullptr);  // the same point again
  EXPECT_EQ(stroke->m_nPoints, 1);
  for (int i = 1; i < 10; ++i) stroke->MoveHandleTo(1, {5 + i, -3 + 2 * i}, nullptr);
  EXPECT_EQ(stroke->m_nPoints, 10);
  EXPECT_EQ(stroke->m_nPointsAlloc, 10);
  stroke->MoveHandleTo(1, {-20, 100}, nullptr);
  EXPECT_EQ(stroke->m_nPoints, 11);
  EXPECT_EQ(stroke->m_nPointsAlloc, 20);
  stroke->MoveHandleTo(1, {5, -3}, nullptr);  // not the last point: stored
  EXPECT_EQ(stroke->m_nPoints, 12);

  // Points are kept across the reallocation, and the box is (min x, min y, max x, max y).
  EXPECT_EQ(stroke->m_pPoints[0], (LPoint{5, -3}));
  EXPECT_EQ(stroke->m_pPoints[9], (LPoint{14, 15}));
  EXPECT_EQ(stroke->m_pPoints[10], (LPoint{-20, 100}));
  EXPECT_EQ(stroke->m_rcPos, (LRect{-20, -3, 14, 100}));

  stroke->OffsetPoints(10, -10);
  EXPECT_EQ(stroke->m_pPoints[0], (LPoint{15, -13}));
  EXPECT_EQ(stroke->m_pPoints[10], (LPoint{-10, 90}));
  EXPECT_EQ(stroke->m_rcPos, (LRect{-20, -3, 14, 100}));  // moved separately by the caller

  EXPECT_FALSE(stroke->ReservePoints(5));  // below the point count
  EXPECT_EQ(stroke->m_nPointsAlloc, 20);
}

TEST_F(ObjectsTest, LineWeightToPenWidth) {
  struct Case {
    float weight;
    int style;
    int width;
  };
  const Case cases[] = {
      {0.0f, PS_INSIDEFRAME, 0}, {0.25f, PS_INSIDEFRAME, 1}, {0.5f, PS_SOLID, 1},
      {0.75f, PS_SOLID, 1},      {1.0f, PS_SOLID, 1},        {1.5f, PS_SOLID, 1},
      {1.75f, PS_SOLID, 2},      {2.75f, PS_INSIDEFRAME, 3}, {6.0f, PS_SOLID, 6},
      {3.0f, PS_DASH, 1},        {4.5f, PS_DOT, 1},          {2.0f, PS_DASHDOT, 1},
      {2.0f, PS_DASHDOTDOT, 1},  {0.0f, PS_DOT, 0},          {-1.0f, PS_SOLID, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(lw::LineWidthForWeight(c.weight, c.style), c.width)
        << c.weight << " style " << c.style;
  }
  CDrawRect obj({0, 10, 10, 0});
  obj.ApplyLineWeight(2.75f);
  EXPECT_EQ(obj.m_lineSpec.lopnWidth, (LPoint{3, 3}));
  EXPECT_EQ(obj.m_bLine, 1);
  obj.ApplyLineWeight(0.0f);
  EXPECT_EQ(obj.m_lineSpec.lopnWidth, (LPoint{0, 0}));
  EXPECT_EQ(obj.m_bLine, 0);
  EXPECT_EQ(obj.m_fLineWeight, 0.0f);
}

TEST_F(ObjectsTest, AutomaticOutlineOfTextObjects) {
  struct Case {
    int kind;
    const char* name;
    float weight;
    const char* autoLabel;
    bool expected;
  };
  const Case cases[] = {
      {1, "自動", 0.0f, "自動", true},
      {1, "自動", 1.0f, "自動", true},    // the loaded label matches whatever the weight
      {29, "auto", 0.0f, "自動", true},   // case-insensitive
      {14, "Auto", 1.0f, "自動", false},  // "Auto" counts only with weight 0
      {14, "Automatic", 1.0f, "Automatic", true},
      {2, "黒", 0.0f, "自動", false},
      {0, "自動", 0.0f, "自動", false},   // graphic objects have no guide frame
      {30, "自動", 0.0f, "自動", false},  // unknown kinds act as graphics
  };
  for (const Case& c : cases) {
    g_strAutoLabel = QString::fromUtf8(c.autoLabel);
    CDrawRect obj({0, 10, 10, 0});
    obj.m_nKind = c.kind;
    obj.m_strLineColorName = QString::fromUtf8(c.name);
    obj.m_fLineWeight = c.weight;
    EXPECT_EQ(obj.HasAutomaticOutline(), c.expected) << c.kind << " " << c.name << " " << c.weight;
  }
  g_strAutoLabel = QStringLiteral("Automatic");
  EXPECT_TRUE(lw::IsAutoColorName(QStringLiteral("自動")));
  EXPECT_TRUE(lw::IsAutoColorName(QStringLiteral("AUTO")));
  EXPECT_TRUE(lw::IsAutoColorName(QStringLiteral("automatic")));
  EXPECT_FALSE(lw::IsAutoColorName(QStringLiteral("黒")));
}

TEST_F(ObjectsTest, PageRectangleInPagePixels) {
  CDrawRect obj({-864, 1166, -664, 1116});
  obj.UpdatePageRect(1728, 2332);
  // (right, bottom, left, top) with x + W/2 and H/2 - y.
  EXPECT_EQ(obj.m_rcPage, (LRect{200, 50, 0, 0}));
}

}  // namespace
