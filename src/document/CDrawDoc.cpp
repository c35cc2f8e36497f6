#include "document/CDrawDoc.h"

#include "document/CDrawObj.h"
#include "document/DocGlobals.h"

#include <QFile>

#include <algorithm>
#include <limits>

namespace lw {

int PaperSizeCode(int paperIndex, bool letterRegion) {
  switch (paperIndex) {
    case 1:
      return letterRegion ? 5 : 12;  // legal / B4
    case 2:
      return letterRegion ? 4 : 8;  // ledger / A3
    default:
      return letterRegion ? 1 : 9;  // letter / A4
  }
}

}  // namespace lw

CDrawDoc::CDrawDoc() { UpdatePageSize(); }

CDrawDoc::~CDrawDoc() {
  for (CDrawObj* obj : std::as_const(m_objects)) {
    g_selection.removeAll(obj);
    delete obj;
  }
}

void CDrawDoc::AddObject(CDrawObj* obj) {
  if (!obj || m_objects.contains(obj)) return;
  m_objects.append(obj);
  obj->m_pOwnerDoc = this;
  SetModifiedFlag();
}

void CDrawDoc::RemoveObject(CDrawObj* obj) {
  // Views forget the object before it is destroyed, so that nothing points at it.
  for (lw::ViewPort* view : QList<lw::ViewPort*>(m_views)) view->RemoveFromSelection(obj);
  g_selection.removeAll(obj);
  if (const qsizetype i = m_objects.indexOf(obj); i >= 0) {
    m_objects.removeAt(i);
    delete obj;
  }
  SetModifiedFlag();
}

CDrawObj* CDrawDoc::ObjectAt(LPoint point) const {
  auto clamp = [](qint64 v) {
    return int(
        std::clamp<qint64>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
  };
  const LRect square{clamp(qint64(point.x) - 7), clamp(qint64(point.y) - 7),
                     clamp(qint64(point.x) + 7), clamp(qint64(point.y) + 7)};
  for (auto it = m_objects.crbegin(); it != m_objects.crend(); ++it) {
    if ((*it)->Intersects(square)) return *it;
  }
  return nullptr;
}

void CDrawDoc::PlaceDuplicate(CDrawObj* obj) const {
  if (!obj) return;
  static const lw::ViewPort oneToOne;
  const lw::ViewPort& view = g_pDrawView ? *g_pDrawView : oneToOne;
  const LRect page = view.LogicalToDeviceNormalized(g_rcPage);

  bool moved = true;
  while (moved) {
    moved = false;
    for (const CDrawObj* other : m_objects) {
      if (other == obj || other->m_rcPos != obj->m_rcPos) continue;
      // Ten units to the right and ten down.
      const LRect& r = obj->m_rcPos;
      const qint64 c[4] = {qint64(r.left) + 10, qint64(r.top) - 10, qint64(r.right) + 10,
                           qint64(r.bottom) - 10};
      for (qint64 v : c) {
        if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max()) return;
      }
      const LRect candidate{int(c[0]), int(c[1]), int(c[2]), int(c[3])};
      const LRect device = view.LogicalToDeviceNormalized(candidate);
      if (device.right >= page.right || device.bottom >= page.bottom) return;
      obj->m_rcPos = candidate;
      moved = true;
      break;  // start again from the bottom
    }
  }
}

void CDrawDoc::DeleteAllObjects() {
  for (CDrawObj* obj : std::as_const(m_objects)) {
    if (!obj->m_strImageFile.isEmpty()) QFile::remove(obj->m_strImageFile);
    if (obj->m_pTextEditor && obj->m_bEditorOpen) {
      delete obj->m_pTextEditor;
      obj->m_pTextEditor = nullptr;
    }
    delete obj;
  }
  // The scratch file holds the undo snapshot, which belongs to the page just discarded.
  if (!g_szScratchFile.isEmpty()) QFile::remove(g_szScratchFile);
  m_objects.clear();
  g_selection.clear();
  g_bUndoAvailable = 0;
}

void CDrawDoc::EndTextEditing() {
  for (CDrawObj* obj : std::as_const(m_objects)) {
    if (!obj->m_pTextEditor || !obj->m_bEditableText || !obj->m_bEditorOpen) continue;
    obj->m_strText = obj->m_pTextEditor->Text();
    delete obj->m_pTextEditor;
    obj->m_pTextEditor = nullptr;
    obj->m_bEditArmed = 0;
    obj->m_bEditorOpen = 0;
  }
}

void CDrawDoc::UpdatePageSize() {
  int width = lw::kPageWidthPortrait;
  int height = lw::kPageHeightPortrait;
  if (const lw::PrinterPaperHook& apply = lw::Doc().applyPrinterPaper) {
    const bool knownPaper = g_nPaperIndex >= 0 && g_nPaperIndex <= 2;
    const bool landscape = knownPaper && g_bLandscape;
    const int code = lw::PaperSizeCode(g_nPaperIndex, g_bLetterRegion != 0);
    // The orientation reaches the page only together with the printer settings.
    if (apply(code, landscape ? 2 : 1) && landscape) std::swap(width, height);
  }
  if (m_sizePage != QSize(width, height)) {
    m_sizePage = QSize(width, height);
    for (lw::ViewPort* view : QList<lw::ViewPort*>(m_views)) view->OnPageSizeChanged(m_sizePage);
  }
}

void CDrawDoc::SetModifiedFlag(bool modified) {
  if (m_bReadOnly) return;
  m_bModified = modified;
}

void CDrawDoc::AddView(lw::ViewPort* view) {
  if (view && !m_views.contains(view)) m_views.append(view);
}

void CDrawDoc::RemoveView(lw::ViewPort* view) { m_views.removeAll(view); }

void CDrawDoc::UpdateAllViews(lw::ViewPort* sender, int hint, CDrawObj* object) {
  Notify(sender, lw::UpdateHint{hint, object, nullptr});
}

void CDrawDoc::UpdateAllViews(lw::ViewPort* sender, int hint, const QList<CDrawObj*>& objects) {
  Notify(sender, lw::UpdateHint{hint, nullptr, &objects});
}

void CDrawDoc::Notify(lw::ViewPort* sender, const lw::UpdateHint& hint) {
  // A view may unregister while it handles an update; walk a copy.
  for (lw::ViewPort* view : QList<lw::ViewPort*>(m_views)) {
    if (view != sender) view->OnUpdate(sender, hint);
  }
}
