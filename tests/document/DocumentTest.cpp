// The cover page document: its object list in stacking order, finding objects at a point,
// placing pasted copies, discarding the page, the page size from paper and orientation, the
// modified flag and the updates its views receive.
//
// Invariants under test:
// - the list owns its objects; the head is the bottom of the stacking order;
// - no view and no g_selection entry ever points at a destroyed object;
// - once a read-only file was accepted, nothing marks the document modified;
// - the page turns to landscape only together with a default printer.

#include "DocTestSupport.h"

#include <QFile>
#include <QFileInfo>
#include <climits>

#include "base/TempFiles.h"
#include "document/CDrawDoc.h"
#include "document/ObjectCreation.h"

namespace {

using DocumentTest = FreshState;

// A rectangle that reports its destruction.
class CountedRect : public CDrawRect {
 public:
  CountedRect(const LRect& r, int* destroyed) : CDrawRect(r), m_destroyed(destroyed) {}
  ~CountedRect() override { ++*m_destroyed; }

 private:
  int* m_destroyed;
};

QString NewTempFile(const char* prefix) { return QString::fromStdString(lw::MakeTempFile(prefix)); }

TEST_F(DocumentTest, AddAndRemoveObjects) {
  CDrawDoc doc;
  RecordingView view;
  doc.AddView(&view);
  EXPECT_FALSE(doc.IsModified());

  int destroyed = 0;
  auto* a = new CountedRect({0, 10, 10, 0}, &destroyed);
  auto* b = new CountedRect({0, 10, 10, 0}, &destroyed);
  doc.AddObject(a);
  doc.AddObject(b);
  doc.AddObject(a);  // already there: ignored
  EXPECT_EQ(doc.m_objects, (QList<CDrawObj*>{a, b}));
  EXPECT_EQ(a->m_pOwnerDoc, &doc);
  EXPECT_TRUE(doc.IsModified());

  g_selection = {b, a};
  doc.SetModifiedFlag(false);
  doc.RemoveObject(a);
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(doc.m_objects, (QList<CDrawObj*>{b}));
  EXPECT_EQ(g_selection, (QList<CDrawObj*>{b}));
  EXPECT_EQ(view.removed, (QList<CDrawObj*>{a}));
  EXPECT_TRUE(doc.IsModified());

  // An object that is not in the list is not destroyed, but the document counts as changed.
  CountedRect stranger({0, 0, 0, 0}, &destroyed);
  doc.SetModifiedFlag(false);
  doc.RemoveObject(&stranger);
  EXPECT_EQ(destroyed, 1);
  EXPECT_TRUE(doc.IsModified());
}

TEST_F(DocumentTest, ObjectAtFindsTheTopmostObjectWithinSevenUnits) {
  CDrawDoc doc;
  auto* bottom = new CDrawRect({0, 100, 100, 0});
  auto* top = new CDrawRect({50, 150, 150, 50});
  doc.AddObject(bottom);
  doc.AddObject(top);
  auto line = lw::MakeShape(lw::ShapeTool::Line, {300, 50, 400, 50}, g_lfDefault);
  CDrawRect* l = line.release();
  doc.AddObject(l);
  auto stroke = lw::MakeShape(lw::ShapeTool::Freehand, {}, g_lfDefault);
  stroke->MoveHandleTo(1, {500, 0}, nullptr);
  stroke->MoveHandleTo(1, {600, 100}, nullptr);
  CDrawRect* s = stroke.release();
  doc.AddObject(s);

  struct Case {
    LPoint point;
    CDrawObj* expected;
  };
  const Case cases[] = {
      {{75, 75}, top},  // both meet: the later one is on top
      {{25, 25}, bottom},
      {{106, 25}, bottom},   // 6 units beyond the right edge
      {{107, 25}, nullptr},  // 7 units: the square only touches the box
      {{350, 64}, l},        // 7 units above the line's band (which reaches y 57)
      {{350, 65}, nullptr},
      {{350, 36}, l},  // 7 units below the band (from y 43)
      {{350, 35}, nullptr},
      {{550, 50}, s},  // inside the stroke's box, away from its points
      {{606, 50}, s},
      {{607, 50}, nullptr},
      {{INT_MIN, INT_MAX}, nullptr},  // the square is clamped, not overflowed
  };
  for (const Case& c : cases) {
    EXPECT_EQ(doc.ObjectAt(c.point), c.expected) << c.point.x << "," << c.point.y;
  }
}

TEST_F(DocumentTest, PlaceDuplicateStepsOffObjectsWithTheSamePosition) {
  struct Case {
    const char* what;
    QList<LRect> existing;
    LRect pasted;
    LRect expected;
  };
  const Case cases[] = {
      {"unique position stays", {{0, 100, 50, 50}}, {0, 100, 50, 51}, {0, 100, 50, 51}},
      {"one step", {{0, 100, 50, 50}}, {0, 100, 50, 50}, {10, 90, 60, 40}},
      {"steps on past a second copy",
       {{0, 100, 50, 50}, {10, 90, 60, 40}},
       {0, 100, 50, 50},
       {20, 80, 70, 30}},
      // The walk restarts from the bottom after each step, so the order does not matter.
      {"steps on in any order",
       {{10, 90, 60, 40}, {0, 100, 50, 50}},
       {0, 100, 50, 50},
       {20, 80, 70, 30}},
      // Page (-864, -1166, 864, 1166): a step may not reach the right or bottom edge.
      {"right edge would be reached", {{800, 0, 854, -50}}, {800, 0, 854, -50}, {800, 0, 854, -50}},
      {"right edge not reached", {{800, 0, 853, -50}}, {800, 0, 853, -50}, {810, -10, 863, -60}},
      {"bottom edge would be reached",
       {{0, -1100, 50, -1156}},
       {0, -1100, 50, -1156},
       {0, -1100, 50, -1156}},
      {"bottom edge not reached",
       {{0, -1100, 50, -1155}},
       {0, -1100, 50, -1155},
       {10, -1110, 60, -1165}},
  };
  for (const Case& c : cases) {
    CDrawDoc doc;
    for (const LRect& r : c.existing) doc.AddObject(new CDrawRect(r));
    CDrawRect pasted(c.pasted);
    doc.PlaceDuplicate(&pasted);
    EXPECT_EQ(pasted.m_rcPos, c.expected) << c.what;
  }
}

TEST_F(DocumentTest, PlaceDuplicateMeasuresTheEdgesThroughTheEditingView) {
  // At four units per pixel the page's bottom edge (-1166) is pixel 291, and a step to a
  // bottom of -1164 lands on that same pixel: the copy stays. At one unit per pixel it moves.
  const LRect position{0, -1100, 50, -1154};
  for (int unitsPerPixel : {1, 4}) {
    RecordingView view(unitsPerPixel);
    g_pDrawView = &view;
    CDrawDoc doc;
    doc.AddObject(new CDrawRect(position));
    CDrawRect pasted(position);
    doc.PlaceDuplicate(&pasted);
    const LRect expected = unitsPerPixel == 1 ? LRect{10, -1110, 60, -1164} : position;
    EXPECT_EQ(pasted.m_rcPos, expected) << unitsPerPixel << " units per pixel";
  }
}

TEST_F(DocumentTest, DeleteAllObjectsDiscardsFilesSelectionAndUndo) {
  CDrawDoc doc;
  const QString picture = NewTempFile("lwt");
  g_szScratchFile = NewTempFile("scratch");
  ASSERT_TRUE(QFileInfo::exists(picture));
  ASSERT_TRUE(QFileInfo::exists(g_szScratchFile));

  auto* image = new CDrawImage;
  lw::InitInsertedPicture(*image, g_lfDefault);
  image->m_strImageFile = picture;
  doc.AddObject(image);
  int editorsClosed = 0;
  auto* text = lw::MakeShape(lw::ShapeTool::TextBox, {0, 10, 10, 0}, g_lfDefault).release();
  text->m_bEditableText = 1;
  text->m_pTextEditor = new FixedTextEditor(QStringLiteral("x"), &editorsClosed);
  text->m_bEditorOpen = 1;
  doc.AddObject(text);
  g_selection = {image, text};
  g_bUndoAvailable = 1;

  doc.DeleteAllObjects();
  EXPECT_TRUE(doc.m_objects.isEmpty());
  EXPECT_TRUE(g_selection.isEmpty());
  EXPECT_EQ(g_bUndoAvailable, 0);
  EXPECT_EQ(editorsClosed, 1);
  EXPECT_FALSE(QFileInfo::exists(picture));
  EXPECT_FALSE(QFileInfo::exists(g_szScratchFile));
}

TEST_F(DocumentTest, EndTextEditingTakesTheEditorsText) {
  CDrawDoc doc;
  int closed = 0;
  auto* editing = new CDrawRect({0, 10, 10, 0});
  editing->m_bEditableText = editing->m_bEditorOpen = editing->m_bEditArmed = 1;
  editing->m_pTextEditor = new FixedTextEditor(QStringLiteral("typed text"), &closed);
  auto* field = new CDrawRect({0, 10, 10, 0});  // not editable: left alone
  field->m_strText = QStringLiteral("{件名}");
  field->m_bEditorOpen = 1;
  field->m_pTextEditor = new FixedTextEditor(QStringLiteral("ignored"), &closed);
  doc.AddObject(editing);
  doc.AddObject(field);

  doc.EndTextEditing();
  EXPECT_EQ(editing->m_strText, QStringLiteral("typed text"));
  EXPECT_EQ(editing->m_pTextEditor, nullptr);
  EXPECT_EQ(editing->m_bEditorOpen, 0);
  EXPECT_EQ(editing->m_bEditArmed, 0);
  EXPECT_EQ(closed, 1);
  EXPECT_EQ(field->m_strText, QStringLiteral("{件名}"));
  EXPECT_NE(field->m_pTextEditor, nullptr);

  doc.RemoveObject(field);  // an object takes its open editor with it
  EXPECT_EQ(closed, 2);
}

TEST_F(DocumentTest, PageSizeFollowsPaperAndOrientationWithAPrinter) {
  struct Case {
    int letter, index, landscape;
    int code, orientation;
    QSize size;
  };
  const Case cases[] = {
      {0, 0, 0, 9, 1, {1728, 2332}},
      {0, 0, 1, 9, 2, {2332, 1728}},
      {0, 1, 0, 12, 1, {1728, 2332}},
      {0, 2, 1, 8, 2, {2332, 1728}},
      {1, 0, 0, 1, 1, {1728, 2332}},
      {1, 1, 1, 5, 2, {2332, 1728}},
      {1, 2, 0, 4, 1, {1728, 2332}},
      // An unknown paper index is A4 or letter, always portrait.
      {0, 3, 1, 9, 1, {1728, 2332}},
      {1, -1, 1, 1, 1, {1728, 2332}},
  };
  for (const Case& c : cases) {
    int gotCode = -1, gotOrientation = -1;
    lw::Doc().applyPrinterPaper = [&](int code, int orientation) {
      gotCode = code;
      gotOrientation = orientation;
      return true;
    };
    g_bLetterRegion = c.letter;
    g_nPaperIndex = c.index;
    g_bLandscape = c.landscape;
    CDrawDoc doc;
    EXPECT_EQ(gotCode, c.code) << c.letter << " " << c.index << " " << c.landscape;
    EXPECT_EQ(gotOrientation, c.orientation) << c.letter << " " << c.index << " " << c.landscape;
    EXPECT_EQ(doc.m_sizePage, c.size) << c.letter << " " << c.index << " " << c.landscape;
  }
}

TEST_F(DocumentTest, WithoutAPrinterThePageStaysPortrait) {
  g_bLandscape = 1;
  lw::Doc().applyPrinterPaper = [](int, int) { return false; };  // no default printer
  CDrawDoc doc;
  EXPECT_EQ(doc.m_sizePage, QSize(1728, 2332));
  lw::Doc().applyPrinterPaper = nullptr;
  doc.UpdatePageSize();
  EXPECT_EQ(doc.m_sizePage, QSize(1728, 2332));
}

TEST_F(DocumentTest, TheProgramsOwnPrinterSettingsTakeTheOrientation) {
  // With no printer code installed the program's own settings record paper and
  // orientation, so a landscape page is landscape on a machine without printers.
  g_nPaperIndex = 1;
  g_bLandscape = 1;
  CDrawDoc doc;
  EXPECT_EQ(doc.m_sizePage, QSize(2332, 1728));
  EXPECT_EQ(lw::Doc().nPrinterPaperSize, 12);
  EXPECT_EQ(lw::Doc().nPrinterOrientation, 2);
}

TEST_F(DocumentTest, ViewsAreToldWhenThePageSizeChanges) {
  lw::Doc().applyPrinterPaper = [](int, int) { return true; };
  CDrawDoc doc;
  RecordingView view;
  doc.AddView(&view);
  doc.UpdatePageSize();
  EXPECT_TRUE(view.pageSizes.isEmpty());
  g_bLandscape = 1;
  doc.UpdatePageSize();
  EXPECT_EQ(view.pageSizes, (QList<QSize>{QSize(2332, 1728)}));
}

TEST_F(DocumentTest, ReadOnlyDocumentKeepsItsModifiedFlag) {
  CDrawDoc doc;
  doc.m_bReadOnly = 1;
  doc.AddObject(new CDrawRect({0, 10, 10, 0}));
  doc.m_objects.front()->MoveTo({1, 10, 10, 0}, nullptr);
  doc.RemoveObject(doc.m_objects.front());
  EXPECT_FALSE(doc.IsModified());

  CDrawDoc other;
  other.SetModifiedFlag(true);
  other.m_bReadOnly = 1;
  other.SetModifiedFlag(false);  // nothing changes either way
  EXPECT_TRUE(other.IsModified());
}

TEST_F(DocumentTest, UpdatesReachEveryViewButTheSender) {
  CDrawDoc doc;
  RecordingView first, second;
  doc.AddView(&first);
  doc.AddView(&second);
  auto* obj = new CDrawRect({0, 10, 10, 0});
  doc.AddObject(obj);
  g_selection = {obj};

  doc.UpdateAllViews(nullptr);
  obj->Invalidate();
  doc.UpdateAllViews(&first, lw::kHintObjects, g_selection);
  const QList<CDrawObj*> removed{obj};
  doc.UpdateAllViews(nullptr, lw::kHintRemoved, removed);

  ASSERT_EQ(second.hints.size(), 4);
  EXPECT_EQ(second.hints[0].hint, lw::kHintWholeView);
  EXPECT_EQ(second.hints[0].object, nullptr);
  EXPECT_EQ(second.hints[1].hint, lw::kHintObject);
  EXPECT_EQ(second.hints[1].object, obj);
  EXPECT_EQ(second.hints[2].hint, lw::kHintObjects);
  EXPECT_EQ(second.hints[2].objects, &g_selection);  // the selection itself, by address
  EXPECT_EQ(second.senders[2], &first);
  EXPECT_EQ(second.hints[3].hint, lw::kHintRemoved);
  EXPECT_EQ(second.hints[3].objects, &removed);

  ASSERT_EQ(first.hints.size(), 3);  // not its own update
  EXPECT_EQ(first.hints[2].hint, lw::kHintRemoved);

  doc.RemoveView(&second);
  doc.UpdateAllViews(nullptr);
  EXPECT_EQ(second.hints.size(), 4);
  EXPECT_EQ(first.hints.size(), 4);
}

TEST_F(DocumentTest, FreshStateForEveryDocument) {
  g_selection.append(nullptr);
  g_nZoomLevel = 1;
  g_strDocPath = QStringLiteral("/tmp/x.lwt");
  g_bLetterRegion = 1;
  lw::ResetAllState();
  EXPECT_TRUE(g_selection.isEmpty());
  EXPECT_EQ(g_nZoomLevel, -1);
  EXPECT_TRUE(g_strDocPath.isEmpty());
  EXPECT_EQ(g_bLetterRegion, 0);
  EXPECT_EQ(g_rcPage, (LRect{-864, -1166, 864, 1166}));
  EXPECT_EQ(g_strAutoLabel, QStringLiteral("自動"));
  EXPECT_EQ(g_lfDefault.lfHeight, -35);
  EXPECT_EQ(g_nFileVersion, 3);
  EXPECT_EQ(g_bLoadOk, 1);
}

TEST(PaperTable, SizeCodes) {
  const int expected[][2] = {
      {9, 1}, {12, 5}, {8, 4}, {9, 1}};  // A4/letter, B4/legal, A3/ledger, other
  const int indexes[] = {0, 1, 2, 7};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(lw::PaperSizeCode(indexes[i], false), expected[i][0]);
    EXPECT_EQ(lw::PaperSizeCode(indexes[i], true), expected[i][1]);
  }
}

}  // namespace
