#include "document/CDrawDoc.h"
#include "document/CDrawRect.h"

void CDrawObj::Draw(lw::RenderContext&) {}
int CDrawObj::DrawHandles(lw::RenderContext&, int) { return 0; }
void CDrawRect::Draw(lw::RenderContext&) {}
bool CDrawRect::DrawPatternedOutline(lw::RenderContext&) { return false; }
void CDrawDoc::DrawAll(lw::RenderContext&, lw::ViewPort*) {}
