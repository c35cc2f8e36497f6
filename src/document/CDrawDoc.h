#pragma once
// The cover page document: the objects of one page in stacking order, the page size, the
// modified flag, and the object-list operations the editing view uses. Views register with
// AddView and receive the document's updates through lw::ViewPort.
//
// m_objects owns its objects: the head is the bottom of the stacking order, the tail the top.
// Code that takes an object out of the list without RemoveObject takes over its ownership.

#include "document/FieldCatalogue.h"
#include "document/GdiTypes.h"
#include "document/RenderContext.h"
#include "document/ViewPort.h"

#include <QList>
#include <QSize>

class CDrawObj;

class CDrawDoc {
 public:
  // Empty page, m_bReadOnly 0, page size from UpdatePageSize.
  CDrawDoc();
  // Destroys every object (working picture files are left to DeleteAllObjects).
  ~CDrawDoc();

  CDrawDoc(const CDrawDoc&) = delete;
  CDrawDoc& operator=(const CDrawDoc&) = delete;

  // --- object list ---

  // Takes ownership and puts the object on top; sets its m_pOwnerDoc; marks the document
  // modified. A null object, or one already in the list, is ignored.
  void AddObject(CDrawObj* obj);
  // When the object is in the list: every view drops it from its selection, then it is
  // destroyed and removed. In every case the document is marked modified.
  void RemoveObject(CDrawObj* obj);
  // The topmost object that meets the square (x - 7, y - 7) to (x + 7, y + 7), or null.
  CDrawObj* ObjectAt(LPoint point) const;
  // Moves a pasted object (not yet in the list) 10 units right and 10 down for as long as an
  // object of the list has exactly its position, unless that would reach the page's right or
  // bottom edge (in device terms of g_pDrawView; 1:1 without a view).
  void PlaceDuplicate(CDrawObj* obj) const;
  // Deletes every object with its working picture file and open editor, deletes the scratch
  // file g_szScratchFile, empties the list and g_selection and clears g_bUndoAvailable.
  void DeleteAllObjects();
  // Copies the text of every open in-place editor into its object and closes the editor.
  void EndTextEditing();

  // --- page ---

  // Applies g_nPaperIndex and g_bLandscape to the default printer settings (through
  // lw::Doc().applyPrinterPaper) and sets m_sizePage: 1728 x 2332, or 2332 x 1728 when the
  // printer took landscape. Without a default printer the page stays portrait. Views are told
  // when the size changes.
  void UpdatePageSize();
  // Fills `fieldSet` (arriving empty) with the page's data fields for the server; returns 1.
  int BuildFieldSet(lw::PageFieldSet& fieldSet) const;

  // --- painting ---

  // Paints every object from the bottom of the stacking order to the top with its text, the
  // handles of selected objects (when `view` is active and not printing), the dotted frame
  // of a picture being dragged, and the frame of the object edited in place. Sets each
  // object's m_rcPage. `view` may be null (no selection marks).
  void DrawAll(lw::RenderContext& dc, lw::ViewPort* view);

  // --- modified flag ---

  bool IsModified() const { return m_bModified; }
  // Stores the flag, unless m_bReadOnly is set: then nothing changes.
  void SetModifiedFlag(bool modified = true);

  // --- views ---

  void AddView(lw::ViewPort* view);
  void RemoveView(lw::ViewPort* view);
  const QList<lw::ViewPort*>& Views() const { return m_views; }
  // Sends an update to every view but `sender`.
  void UpdateAllViews(lw::ViewPort* sender, int hint = lw::kHintWholeView,
                      CDrawObj* object = nullptr);
  void UpdateAllViews(lw::ViewPort* sender, int hint, const QList<CDrawObj*>& objects);

  QList<CDrawObj*> m_objects;  // owning; bottom of the stacking order first
  QSize m_sizePage{0, 0};      // page size in page units (set by UpdatePageSize)
  int m_bReadOnly = 0;         // a read-only file was accepted: the modified flag stays put
  bool m_bModified = false;

 private:
  void Notify(lw::ViewPort* sender, const lw::UpdateHint& hint);

  QList<lw::ViewPort*> m_views;
};

namespace lw {

// Page sizes in page units.
constexpr int kPageWidthPortrait = 1728;
constexpr int kPageHeightPortrait = 2332;

// Printer paper size code for a paper index: 0 A4 (9) / letter (1), 1 B4 (12) / legal (5),
// 2 A3 (8) / ledger (4); any other index A4 / letter.
int PaperSizeCode(int paperIndex, bool letterRegion);

}  // namespace lw
