#include "document/ViewPort.h"

#include "document/DocGlobals.h"

#include <algorithm>
#include <limits>

namespace lw {
namespace {
// Negating INT_MIN would overflow; the 1:1 mapping saturates instead.
int Negate(int v) {
  return v == std::numeric_limits<int>::min() ? std::numeric_limits<int>::max() : -v;
}
}  // namespace

LPoint ViewPort::LogicalToDevice(LPoint p) const { return {p.x, Negate(p.y)}; }

LPoint ViewPort::DeviceToLogical(LPoint p) const { return {p.x, Negate(p.y)}; }

LRect ViewPort::LogicalToDeviceNormalized(const LRect& r) const {
  const LPoint a = LogicalToDevice({r.left, r.top});
  const LPoint b = LogicalToDevice({r.right, r.bottom});
  return LRect{a.x, a.y, b.x, b.y}.Normalized();
}

void ViewPort::InvalidateObject(CDrawObj*) {}

void ViewPort::OnUpdate(ViewPort*, const UpdateHint&) {}

void ViewPort::OnPageSizeChanged(QSize) {}

void ViewPort::RemoveFromSelection(CDrawObj* obj) { g_selection.removeAll(obj); }

bool ViewPort::IsSelected(const CDrawObj* obj) const {
  return std::find(g_selection.cbegin(), g_selection.cend(), obj) != g_selection.cend();
}

}  // namespace lw
