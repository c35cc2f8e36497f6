// CDrawDoc::BuildFieldSet: the page's data fields as the server receives them.
#include "document/CDrawDoc.h"
#include "document/CDrawObj.h"
#include "document/DocGlobals.h"
#include "document/FieldCatalogue.h"

int CDrawDoc::BuildFieldSet(lw::PageFieldSet& fieldSet) const {
  fieldSet.coverPageId = 0;
  fieldSet.title = g_strDocPath.isEmpty() ? lw::UntitledTitle() : lw::TitleFromPath(g_strDocPath);
  const int w = m_sizePage.width();
  const int h = m_sizePage.height();
  // Bottom of the stacking order first, so the server sees fields in the order they lie.
  for (const CDrawObj* obj : m_objects) {
    if (!obj || !lw::IsFieldKind(obj->m_nKind)) continue;
    const LRect& r = obj->m_rcPos;
    lw::FieldPlacement p = lw::PlaceField(r.left, r.top, r.right, r.bottom, w, h);
    p.hrate = obj->m_nHRate;
    p.vrate = obj->m_nVRate;
    p.align = lw::AlignmentName(obj->m_nAlign);
    p.key = lw::FieldKeyOfKind(obj->m_nKind);
    lw::AppendField(fieldSet, obj->m_nKind, p);  // a record that cannot be stored is dropped
  }
  return 1;
}
