#include "document/CDrawObj.h"

#include "document/CDrawDoc.h"
#include "document/DocGlobals.h"
#include "document/ObjectKind.h"

#include <cmath>
#include <limits>

namespace {

// Positions read from a file may hold any 32-bit values; arithmetic on them is done in 64
// bits and brought back into range instead of overflowing.
int ClampToInt(qint64 v) {
  if (v < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  if (v > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  return int(v);
}

const lw::ViewPort& ViewOrDefault(const lw::ViewPort* view) {
  static const lw::ViewPort oneToOne;
  return view ? *view : oneToOne;
}

QString AutoColorName() {
  return g_strAutoLabel.isEmpty() ? lw::DefaultAutoLabel() : g_strAutoLabel;
}

}  // namespace

CDrawObj::CDrawObj() = default;

CDrawObj::CDrawObj(const LRect& rect) {
  m_rcPos = rect;
  SetNewObjectDefaults(1);
}

CDrawObj::~CDrawObj() { delete m_pTextEditor; }

void CDrawObj::SetNewObjectDefaults(int penWidth) {
  m_pOwnerDoc = nullptr;
  m_bLine = 1;
  m_lineSpec = LOGPEN{PS_INSIDEFRAME, {penWidth, penWidth}, kColorBlack};
  m_bFill = 1;
  m_fillSpec = LOGBRUSH{BS_SOLID, kColorWhite, 0};
  m_bEditableText = 0;
  m_bSemiTransparent = 0;
  m_pTextEditor = nullptr;
  m_bEditorOpen = 0;
  m_nKind = lw::kKindGraphic;
  m_bHasImage = 0;
  m_bEditArmed = 0;
  m_bLineYSwapped = 0;
  m_bLineXSwapped = 0;
  m_nToolClass = lw::kToolClassNone;
  m_fLineWeight = 1.0f;
  m_strFillColorName = m_strLineColorName = m_strTextColorName = AutoColorName();
  m_nVRate = 1;
  m_nHRate = 1;
}

int CDrawObj::GetHandleTotal() const { return 8; }

// With L, T, R, B the edges of m_rcPos and CX, CY the centre (truncated towards zero):
//   1 (L, T)   2 (CX, T)   3 (R, T)   4 (R, CY)
//   5 (R, B)   6 (CX, B)   7 (L, B)   8 (L, CY)
LPoint CDrawObj::GetHandlePoint(int handle) const {
  const LRect& r = m_rcPos;
  const int cx = int(r.left + (qint64(r.right) - r.left) / 2);
  const int cy = int(r.top + (qint64(r.bottom) - r.top) / 2);
  switch (MapHandle(handle)) {
    case 2:
      return {cx, r.top};
    case 3:
      return {r.right, r.top};
    case 4:
      return {r.right, cy};
    case 5:
      return {r.right, r.bottom};
    case 6:
      return {cx, r.bottom};
    case 7:
      return {r.left, r.bottom};
    case 8:
      return {r.left, cy};
    default:
      return {r.left, r.top};
  }
}

Qt::CursorShape CDrawObj::GetHandleCursor(int handle) const {
  // Pictures exchange the two diagonal cursors.
  const Qt::CursorShape nwse = m_bHasImage ? Qt::SizeBDiagCursor : Qt::SizeFDiagCursor;
  const Qt::CursorShape nesw = m_bHasImage ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor;
  switch (MapHandle(handle)) {
    case 2:
    case 6:
      return Qt::SizeVerCursor;
    case 4:
    case 8:
      return Qt::SizeHorCursor;
    case 3:
    case 7:
      return nesw;
    default:
      return nwse;  // 1, 5 and any other number
  }
}

void CDrawObj::InvalidateThrough(lw::ViewPort* view) {
  if (view)
    view->InvalidateObject(this);
  else
    Invalidate();
}

void CDrawObj::Invalidate() {
  if (m_pOwnerDoc) m_pOwnerDoc->UpdateAllViews(nullptr, lw::kHintObject, this);
}

void CDrawObj::MoveTo(const LRect& rect, lw::ViewPort* view) {
  // A freehand stroke is repainted even in place: its points may have changed.
  if (rect == m_rcPos && m_nToolClass != lw::kToolClassFreehand) return;
  InvalidateThrough(view);
  m_rcPos = rect;
  InvalidateThrough(view);
  if (m_pOwnerDoc) m_pOwnerDoc->SetModifiedFlag();
}

LRect CDrawObj::HandleRect(int handle, const lw::ViewPort* view) const {
  const lw::ViewPort& v = ViewOrDefault(view);
  const LPoint d = v.LogicalToDevice(GetHandlePoint(handle));
  const LPoint a = v.DeviceToLogical({ClampToInt(qint64(d.x) - 4), ClampToInt(qint64(d.y) - 4)});
  const LPoint b = v.DeviceToLogical({ClampToInt(qint64(d.x) + 4), ClampToInt(qint64(d.y) + 4)});
  return {a.x, a.y, b.x, b.y};
}

int CDrawObj::HitTest(LPoint point, const lw::ViewPort* view, bool selected) const {
  if (m_nToolClass == lw::kToolClassFreehand) return 0;
  if (selected) {
    const int total = GetHandleTotal();
    for (int n = 1; n <= total; ++n) {
      const LRect r = HandleRect(n, view);
      if (r.left <= point.x && point.x < r.right && r.bottom < point.y && point.y <= r.top)
        return n;
    }
    return 0;
  }
  const LRect& r = m_rcPos;
  return (r.left <= point.x && point.x < r.right && r.bottom < point.y && point.y <= r.top) ? 1 : 0;
}

bool CDrawObj::Intersects(const LRect& rect) const {
  return !LRect::Intersect(rect.Normalized(), m_rcPos.Normalized()).IsEmpty();
}

void CDrawObj::MoveHandleTo(int handle, LPoint point, lw::ViewPort* view) {
  LRect r = m_rcPos;
  switch (MapHandle(handle)) {
    case 2:
      r.top = point.y;
      break;
    case 3:
      r.right = point.x;
      r.top = point.y;
      break;
    case 4:
      r.right = point.x;
      break;
    case 5:
      r.right = point.x;
      r.bottom = point.y;
      break;
    case 6:
      r.bottom = point.y;
      break;
    case 7:
      r.left = point.x;
      r.bottom = point.y;
      break;
    case 8:
      r.left = point.x;
      break;
    default:
      r.left = point.x;
      r.top = point.y;
      break;  // 1 and any other number
  }
  MoveTo(r, view);
}

void CDrawObj::OffsetPoints(int, int) {}

CDrawObj::HandleSquareMetrics CDrawObj::HandleSquareFor(int zoomLevel) {
  switch (zoomLevel) {
    case -2:
      return {16, 28};
    case -1:
      return {8, 14};
    case 1:
      return {2, 4};
    default:
      return {4, 7};  // 0 and any other level
  }
}

LRect CDrawObj::HandleSquare(int handle, int zoomLevel) const {
  const HandleSquareMetrics m = HandleSquareFor(zoomLevel);
  const LPoint p = GetHandlePoint(handle);
  const int x = ClampToInt(qint64(p.x) - m.offset);
  const int y = ClampToInt(qint64(p.y) - m.offset);
  return {x, y, ClampToInt(qint64(x) + m.size), ClampToInt(qint64(y) + m.size)};
}

CDrawObj::HandleRop CDrawObj::HandleRasterOp() const {
  if (!IsTextBeingEdited()) return HandleRop::PatInvert;
  return m_lineSpec.lopnWidth.x < 7 ? HandleRop::Blackness : HandleRop::DstInvert;
}

void CDrawObj::UpdatePageRect(int pageWidth, int pageHeight) {
  const qint64 halfW = pageWidth / 2;
  const qint64 halfH = pageHeight / 2;
  m_rcPage = {ClampToInt(m_rcPos.right + halfW), ClampToInt(halfH - m_rcPos.bottom),
              ClampToInt(m_rcPos.left + halfW), ClampToInt(halfH - m_rcPos.top)};
}

bool CDrawObj::HasAutomaticOutline() const {
  if (!lw::IsTextKind(m_nKind)) return false;
  if (!g_strAutoLabel.isEmpty() &&
      m_strLineColorName.compare(g_strAutoLabel, Qt::CaseInsensitive) == 0)
    return true;
  return m_fLineWeight == 0.0f &&
         (m_strLineColorName.compare(lw::DefaultAutoLabel(), Qt::CaseInsensitive) == 0 ||
          m_strLineColorName.compare(QLatin1String("Auto"), Qt::CaseInsensitive) == 0);
}

void CDrawObj::ApplyLineWeight(float weight) {
  if (!(weight > 0.0f)) weight = 0.0f;
  m_fLineWeight = weight;
  const int width = lw::LineWidthForWeight(weight, m_lineSpec.lopnStyle);
  m_lineSpec.lopnWidth = {width, width};
  if (weight == 0.0f) m_bLine = 0;
}

namespace lw {

int LineWidthForWeight(float weight, int penStyle) {
  if (!(weight > 0.0f)) return 0;
  if (penStyle >= PS_DASH && penStyle <= PS_DASHDOTDOT) return 1;
  if (weight == 0.25f || weight == 0.5f) return 1;
  if (weight >= 1.0e9f) return std::numeric_limits<int>::max();
  const float whole = std::floor(weight);
  return int(whole) + ((weight - whole) > 0.5f ? 1 : 0);
}

bool IsAutoColorName(const QString& name) {
  return name.compare(DefaultAutoLabel(), Qt::CaseInsensitive) == 0 ||
         name.compare(QLatin1String("Auto"), Qt::CaseInsensitive) == 0 ||
         (!g_strAutoLabel.isEmpty() && name.compare(g_strAutoLabel, Qt::CaseInsensitive) == 0);
}

QString BlackColorName() { return QStringLiteral("黒"); }

}  // namespace lw
