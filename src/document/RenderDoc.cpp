// The document's painting: every object in stacking order with its text and selection marks.
#include "document/CDrawDoc.h"
#include "document/CDrawObj.h"
#include "document/DocGlobals.h"
#include "document/FontMapping.h"
#include "document/ObjectKind.h"
#include "document/RenderTools.h"
#include "document/WrappedText.h"

#include <QPainterPath>

#include <limits>

namespace {

int ClampInt(qint64 v) {
  return int(std::clamp<qint64>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// The box the text is written into: the position normalised (y upwards: top > bottom) and
// shrunk by half the outline width plus one on every side, whether or not the outline is
// drawn.
LRect TextRect(const CDrawObj& obj) {
  const LRect n = obj.m_rcPos.Normalized();  // top holds the smaller y here
  const qint64 dx = obj.m_lineSpec.lopnWidth.x / 2 + 1;
  const qint64 dy = obj.m_lineSpec.lopnWidth.y / 2 + 1;
  return {ClampInt(n.left + dx), ClampInt(n.bottom - dy), ClampInt(n.right - dx),
          ClampInt(n.top + dy)};
}

unsigned AlignFormat(int align) {
  switch (align) {
    case lw::kAlignLeft:
      return lw::DT_WORDBREAK | lw::DT_LEFT;
    case lw::kAlignCenter:
      return lw::DT_WORDBREAK | lw::DT_CENTER;
    default:
      return lw::DT_WORDBREAK | lw::DT_RIGHT;
  }
}

void WriteText(lw::RenderContext& dc, CDrawObj& obj) {
  // The page image for the server carries labels and free texts but no field placeholders:
  // the server writes the fields.
  if (dc.IsUploadRendering() && lw::IsFieldKind(obj.m_nKind)) return;
  const QFont font = lw::FontFromLogFont(obj.m_textFont);
  lw::DrawWrappedText(dc, font, ToQColor(obj.m_crText), TextRect(obj), obj.m_strText,
                      AlignFormat(obj.m_nAlign));
}

// The position of a picture being dragged: a dotted black frame one unit wide.
void DrawDragFrame(lw::RenderContext& dc, const CDrawObj& obj) {
  QPainter& p = *dc.painter;
  p.save();
  p.setRenderHint(QPainter::Antialiasing, false);
  const QPen pen = *lw::MakeDevicePen(dc, PS_DOT, 1, kColorBlack);
  QPainterPath frame;
  frame.addRect(dc.MapRect(obj.m_rcPos).adjusted(0.5, 0.5, -0.5, -0.5));
  lw::PaintPath(dc, lw::MixMode::MaskPen, frame, pen, Qt::NoBrush);
  p.restore();
}

// The object being edited in place: its outline once more over everything, no fill.
void DrawEditFrame(lw::RenderContext& dc, const CDrawObj& obj) {
  if (!obj.m_bLine) return;
  const std::optional<QPen> pen = lw::MakeDevicePen(dc, obj.m_lineSpec.lopnStyle,
                                                    obj.m_lineSpec.lopnWidth.x,
                                                    obj.m_lineSpec.lopnColor);
  if (!pen) return;
  QPainter& p = *dc.painter;
  p.save();
  p.setRenderHint(QPainter::Antialiasing, false);
  const double inset = obj.m_lineSpec.lopnStyle == PS_INSIDEFRAME ? std::max(pen->widthF() / 2, 0.5) : 0.5;
  QPainterPath frame;
  frame.addRect(dc.MapRect(obj.m_rcPos.Normalized()).adjusted(inset, inset, -inset, -inset));
  lw::PaintPath(dc, lw::MixMode::CopyPen, frame, *pen, Qt::NoBrush);
  p.restore();
}

}  // namespace

void CDrawDoc::DrawAll(lw::RenderContext& dc, lw::ViewPort* view) {
  const int pageW = m_sizePage.isEmpty() ? lw::kPageWidthPortrait : m_sizePage.width();
  const int pageH = m_sizePage.isEmpty() ? lw::kPageHeightPortrait : m_sizePage.height();
  const bool marks = view && view->IsViewActive() && !dc.IsPrinting() && !dc.IsUploadRendering();

  for (CDrawObj* obj : std::as_const(m_objects)) {
    dc.painter->save();
    obj->Draw(dc);
    dc.painter->restore();
    if (marks && view->IsSelected(obj)) obj->DrawHandles(dc, 1);
    obj->UpdatePageRect(pageW, pageH);
    if (obj->m_bEditableText || obj->m_nKind != lw::kKindGraphic) WriteText(dc, *obj);
    if (obj->m_bHasImage && dc.pictureDragInProgress && view && view->IsSelected(obj))
      DrawDragFrame(dc, *obj);
  }

  if (dc.IsUploadRendering() || g_selection.isEmpty()) return;
  CDrawObj* edited = g_selection.first();
  if (!edited->IsTextBeingEdited() || !m_objects.contains(edited)) return;
  DrawEditFrame(dc, *edited);
  if (marks && view->IsSelected(edited)) edited->DrawHandles(dc, 1);
}
