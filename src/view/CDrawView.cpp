#include "view/CDrawView.h"

#include "base/TempFiles.h"
#include "document/CDrawDoc.h"
#include "document/CDrawObj.h"
#include "document/DocGlobals.h"
#include "document/RenderContext.h"

#include <QFile>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace lw {

ViewState& View() {
  static ViewState state;
  return state;
}

void ResetViewState() { View() = ViewState{}; }

int ZoomDivisorFor(int zoomLevel, int baseResolution) {
  switch (zoomLevel) {
    case -2:
      return 4 * baseResolution;
    case -1:
      return 2 * baseResolution;
    case 1:
      return baseResolution / 2;
    default:
      return baseResolution;
  }
}

int GridSpacingFor(int zoomLevel) {
  switch (zoomLevel) {
    case -2:
      return 32;
    case -1:
      return 24;
    case 1:
      return 10;
    default:
      return 16;
  }
}

namespace {

int ClampToInt(qint64 v) {
  return int(
      std::clamp<qint64>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

qint64 MulDiv64(qint64 a, qint64 b, qint64 c) {
  if (c == 0) return 0;
  const qint64 n = a * b;
  const bool negative = (n < 0) != (c < 0);
  const qint64 an = n < 0 ? -n : n;
  const qint64 ac = c < 0 ? -c : c;
  const qint64 q = (an + ac / 2) / ac;
  return negative ? -q : q;
}

// Colours of the desk, the shadow and the grid.
constexpr COLORREF kDeskColor = RGB(192, 192, 192);
constexpr COLORREF kShadowColor = RGB(36, 36, 36);
constexpr COLORREF kGridColor = RGB(210, 214, 234);

// The page rectangle of a page size: left = -(W/2), right = left + W, lower = -(H/2),
// upper = lower + H, held as (left, lower, right, upper) like g_rcPage.
LRect PageRectFor(QSize page) {
  const int left = -(page.width() / 2);
  const int lower = -(page.height() / 2);
  return {left, lower, left + page.width(), lower + page.height()};
}

}  // namespace

int MulDiv(int a, int b, int c) { return ClampToInt(MulDiv64(a, b, c)); }

QString PositionPaneText(const QList<CDrawObj*>& selection, QSize page) {
  if (selection.size() != 1 || page.width() <= 0 || page.height() <= 0) return QString();
  const LRect& r = selection.front()->m_rcPos;
  const qint64 w = page.width();
  const qint64 h = page.height();
  // Distances of the upper-left corner from the page's upper-left corner, scaled to a
  // 1728 x 2332 page; integer division truncates toward zero.
  qint64 x = (qint64(std::min(r.left, r.right)) + w / 2) * 1728 / w;
  qint64 y = (h / 2 - qint64(std::max(r.top, r.bottom))) * 2332 / h;
  if (x < 0) x = 0;
  if (y < 0) y = 0;
  return QStringLiteral("[ %1, %2 ]").arg(ClampToInt(x)).arg(ClampToInt(y));
}

QString SizePaneText(const QList<CDrawObj*>& selection, QSize page) {
  if (selection.size() != 1 || page.width() <= 0 || page.height() <= 0) return QString();
  const LRect& r = selection.front()->m_rcPos;
  const qint64 width = std::abs(qint64(r.right) - r.left) * 1728 / page.width();
  const qint64 height = std::abs(qint64(r.bottom) - r.top) * 2332 / page.height();
  return QStringLiteral("[ %1 x %2 ]").arg(ClampToInt(width)).arg(ClampToInt(height));
}

}  // namespace lw

int& g_nBaseResolution = lw::View().nBaseResolution;
int& g_nZoomDivisor = lw::View().nZoomDivisor;

CDrawView::CDrawView(CDrawDoc* doc, QWidget* parent)
    : QAbstractScrollArea(parent), m_pDocument(doc) {
  m_bShowGrid = 1;
  g_pDrawView = this;
  // A name for the page image of the upload: unique in the private temporary folder, made
  // free again at once and given the extension ".tif".
  const QString temp = QString::fromStdString(lw::MakeTempFile("Img", ".tmp"));
  if (!temp.isEmpty()) {
    QFile::remove(temp);
    m_strPictureTemp = temp.left(temp.size() - 3) + QStringLiteral("tif");
  }
  // The upload settings fill m_strServerAddress and m_nServerPort when they are loaded.

  // Every pixel is painted on each paint, so nothing needs erasing first.
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setAutoFillBackground(false);
  setFrameShape(QFrame::NoFrame);

  if (m_pDocument) m_pDocument->AddView(this);
  OnInitialUpdate();
}

CDrawView::~CDrawView() {
  if (!m_strPictureTemp.isEmpty()) QFile::remove(m_strPictureTemp);
  if (m_pDocument) m_pDocument->RemoveView(this);
  if (g_pDrawView == this) g_pDrawView = nullptr;
}

// ---- mapping ------------------------------------------------------------------------------

QSize CDrawView::PageSize() const {
  if (m_pDocument && m_pDocument->m_sizePage.width() > 0 && m_pDocument->m_sizePage.height() > 0) {
    return m_pDocument->m_sizePage;
  }
  return QSize(lw::kPageWidthPortrait, lw::kPageHeightPortrait);
}

QPoint CDrawView::ScrollOffset() const {
  return QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

LPoint CDrawView::LogicalToDevice(LPoint p) const {
  const QSize page = PageSize();
  const QPoint scroll = ScrollOffset();
  const int div = g_nZoomDivisor;
  return {
      lw::ClampToInt(lw::MulDiv64(qint64(p.x) + page.width() / 2, logicalDpiX(), div) - scroll.x()),
      lw::ClampToInt(lw::MulDiv64(qint64(page.height() / 2) - p.y, logicalDpiY(), div) -
                     scroll.y())};
}

LPoint CDrawView::DeviceToLogical(LPoint p) const {
  const QSize page = PageSize();
  const QPoint scroll = ScrollOffset();
  const int div = g_nZoomDivisor;
  return {
      lw::ClampToInt(lw::MulDiv64(qint64(p.x) + scroll.x(), div, logicalDpiX()) - page.width() / 2),
      lw::ClampToInt(page.height() / 2 -
                     lw::MulDiv64(qint64(p.y) + scroll.y(), div, logicalDpiY()))};
}

QTransform CDrawView::PageToClientTransform() const {
  const int div = std::max(1, g_nZoomDivisor);
  const QPoint scroll = ScrollOffset();
  return lw::PageTransform(PageSize(), double(logicalDpiX()) / div, double(logicalDpiY()) / div) *
         QTransform::fromTranslate(-scroll.x(), -scroll.y());
}

QSize CDrawView::TotalScrollSize() const {
  const QSize page = PageSize();
  // Five more page units make room for the shadow.
  return QSize(lw::MulDiv(page.width() + 5, logicalDpiX(), g_nZoomDivisor),
               lw::MulDiv(page.height() + 5, logicalDpiY(), g_nZoomDivisor));
}

void CDrawView::UpdateScrollBars() {
  const QSize total = TotalScrollSize();
  const QSize client = viewport()->size();
  QScrollBar* h = horizontalScrollBar();
  QScrollBar* v = verticalScrollBar();
  h->setRange(0, std::max(0, total.width() - client.width()));
  v->setRange(0, std::max(0, total.height() - client.height()));
  h->setPageStep(std::max(1, client.width()));
  v->setPageStep(std::max(1, client.height()));
  // A line is a hundredth of the page, as a scroll view's default line size.
  h->setSingleStep(std::max(1, total.width() / 100));
  v->setSingleStep(std::max(1, total.height() / 100));
}

void CDrawView::OnInitialUpdate() {
  if (g_nBaseResolution == 0) {
    // Measured once per process; later zooming and other documents reuse it.
    g_nBaseResolution = logicalDpiX();
    g_nZoomDivisor = 2 * g_nBaseResolution;
  }
  UpdateScrollBars();
  viewport()->update();
  EmitStatusPanes();
}

// ---- notifications ----------------------------------------------------------------------

void CDrawView::InvalidateObject(CDrawObj* obj) {
  if (!obj) return;
  const LRect r = LogicalToDeviceNormalized(obj->m_rcPos);
  qint64 margin = 0;
  const int penWidth = std::max(0, obj->m_lineSpec.lopnWidth.x);
  const int f = std::max(1, g_nZoomDivisor > 0 ? g_nBaseResolution / g_nZoomDivisor : 1);
  if (m_bViewActive && IsSelected(obj)) {
    // Room for the handles drawn around a selected object.
    margin = obj->m_bHasImage ? 15 : 15 + qint64(penWidth / 2) * f;
  } else {
    // The outline of a wide pen reaches past the object's rectangle.
    margin = qint64(penWidth / 2) * f;
  }
  margin += 1;
  const qint64 left = qint64(r.left) - margin;
  const qint64 top = qint64(r.top) - margin;
  const qint64 right = qint64(r.right) + margin;
  const qint64 bottom = qint64(r.bottom) + margin;
  // Only the part that can be seen matters (and keeps far-off rectangles in int range).
  const QRect client = viewport()->rect();
  const QRect area(QPoint(lw::ClampToInt(std::max<qint64>(left, client.left() - 1)),
                          lw::ClampToInt(std::max<qint64>(top, client.top() - 1))),
                   QPoint(lw::ClampToInt(std::min<qint64>(right, client.right() + 1)),
                          lw::ClampToInt(std::min<qint64>(bottom, client.bottom() + 1))));
  if (area.isValid()) viewport()->update(area);
}

void CDrawView::OnUpdate(lw::ViewPort*, const lw::UpdateHint& hint) {
  switch (hint.hint) {
    case lw::kHintObject:
      InvalidateObject(hint.object);
      break;
    case lw::kHintObjects: {
      const QList<CDrawObj*> list = hint.objects ? *hint.objects : g_selection;
      for (CDrawObj* obj : list) InvalidateObject(obj);
      break;
    }
    case lw::kHintRemoved:
      if (hint.objects && hint.objects != &g_selection) {
        const QList<CDrawObj*> list = *hint.objects;
        for (CDrawObj* obj : list) {
          InvalidateObject(obj);
          g_selection.removeAll(obj);
        }
      }
      break;
    default:
      viewport()->update();
      break;
  }
  EmitStatusPanes();
}

void CDrawView::OnPageSizeChanged(QSize) {
  UpdateScrollBars();
  if (m_pDocument) {
    m_pDocument->UpdateAllViews(nullptr, lw::kHintWholeView);
  } else {
    viewport()->update();
  }
}

void CDrawView::OnActivateView(bool activate) {
  if (bool(m_bViewActive) == activate) return;
  // Activating: count as active already, so the handles' room is repainted. Deactivating:
  // still active while the old handles' room is repainted.
  if (activate) m_bViewActive = 1;
  if (!g_selection.isEmpty()) OnUpdate(nullptr, {lw::kHintObjects, nullptr, nullptr});
  m_bViewActive = activate ? 1 : 0;
}

bool CDrawView::event(QEvent* e) {
  switch (e->type()) {
    case QEvent::WindowActivate:
      OnActivateView(true);
      break;
    case QEvent::WindowDeactivate:
      OnActivateView(false);
      break;
    case QEvent::Show:
      if (window()->isActiveWindow()) OnActivateView(true);
      break;
    default:
      break;
  }
  return QAbstractScrollArea::event(e);
}

// ---- commands -----------------------------------------------------------------------------

void CDrawView::OnViewGrid() {
  m_bShowGrid = m_bShowGrid ? 0 : 1;
  viewport()->update();
  SelectPointerTool();
}

bool CDrawView::CanZoomIn() const { return g_nBaseResolution / 2 < g_nZoomDivisor; }

bool CDrawView::CanZoomOut() const { return g_nZoomDivisor < 4 * g_nBaseResolution; }

void CDrawView::OnViewZoomIn() {
  if (CanZoomIn()) Zoom(+1);
}

void CDrawView::OnViewZoomOut() {
  if (CanZoomOut()) Zoom(-1);
}

void CDrawView::Zoom(int step) {
  if (m_pDocument) m_pDocument->EndTextEditing();
  g_nZoomLevel += step;
  g_nZoomDivisor = lw::ZoomDivisorFor(g_nZoomLevel, g_nBaseResolution);
  SelectPointerTool();
  horizontalScrollBar()->setValue(0);
  verticalScrollBar()->setValue(0);
  OnInitialUpdate();
  emit zoomChanged(g_nZoomLevel);
}

// The drawing tools return to the pointer here (grid and zoom commands end any tool).
void CDrawView::SelectPointerTool() {}

// ---- status panes -------------------------------------------------------------------------

QString CDrawView::PositionPaneText() const {
  return lw::PositionPaneText(g_selection, PageSize());
}

QString CDrawView::SizePaneText() const { return lw::SizePaneText(g_selection, PageSize()); }

void CDrawView::EmitStatusPanes() {
  const QString position = PositionPaneText();
  const QString size = SizePaneText();
  if (position == m_lastPositionPane && size == m_lastSizePane) return;
  m_lastPositionPane = position;
  m_lastSizePane = size;
  emit statusPanesChanged(position, size);
}

// ---- painting -----------------------------------------------------------------------------

void CDrawView::resizeEvent(QResizeEvent* e) {
  QAbstractScrollArea::resizeEvent(e);
  UpdateScrollBars();
}

void CDrawView::scrollContentsBy(int, int) { viewport()->update(); }

void CDrawView::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  DrawPage(painter, PageToClientTransform(), viewport()->rect(), false);
}

void CDrawView::DrawPage(QPainter& painter, const QTransform& pageToDevice, const QRect& deviceRect,
                         bool printing) {
  const QSize pageSize = PageSize();
  const LRect page = lw::PageRectFor(pageSize);
  g_rcPage = page;

  if (!printing) {
    painter.fillRect(deviceRect, Qt::white);
    // The painted area in page units, held as (left, lower, right, upper) like g_rcPage:
    // "top" is the smaller y, the client's bottom edge.
    const QTransform toPage = pageToDevice.inverted();
    const QPointF a = toPage.map(QPointF(deviceRect.topLeft()));
    const QPointF b = toPage.map(QPointF(deviceRect.right() + 1, deviceRect.bottom() + 1));
    const LRect client{
        int(std::floor(std::min(a.x(), b.x()))), int(std::floor(std::min(a.y(), b.y()))),
        int(std::ceil(std::max(a.x(), b.x()))), int(std::ceil(std::max(a.y(), b.y())))};
    DrawDesk(painter, pageToDevice, page, client);
    if (m_bShowGrid && !m_bUploadRendering) DrawGrid(painter, pageToDevice, page);
  }
  DrawObjects(painter, pageToDevice, printing);
}

namespace {

// A logical rectangle as device pixels, normalised, edges rounded to whole pixels.
QRect DeviceRect(const QTransform& t, qint64 x1, qint64 y1, qint64 x2, qint64 y2) {
  const QPointF a = t.map(QPointF(double(x1), double(y1)));
  const QPointF b = t.map(QPointF(double(x2), double(y2)));
  const int left = int(std::lround(std::min(a.x(), b.x())));
  const int right = int(std::lround(std::max(a.x(), b.x())));
  const int top = int(std::lround(std::min(a.y(), b.y())));
  const int bottom = int(std::lround(std::max(a.y(), b.y())));
  return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

}  // namespace

// The desk right of and below the page, the shadow and the white page. The desk is never
// painted above or left of the page: the page's upper-left corner is the scroll origin.
void CDrawView::DrawDesk(QPainter& painter, const QTransform& t, const LRect& page,
                         const LRect& client) {
  const QColor desk = ToQColor(lw::kDeskColor);
  const QColor shadow = ToQColor(lw::kShadowColor);
  const int pageLeft = page.left, pageRight = page.right;
  const int pageLower = page.top, pageUpper = page.bottom;  // g_rcPage order
  // Right-hand desk: from the page's right edge to the client's, from the client's bottom
  // to the page's upper edge.
  if (client.right > pageRight) {
    painter.fillRect(DeviceRect(t, pageRight, client.top, client.right, pageUpper), desk);
  }
  // Lower desk: the whole width, from the client's bottom to the page's lower edge.
  if (client.top < pageLower) {
    painter.fillRect(DeviceRect(t, client.left, client.top, client.right, pageLower), desk);
  }
  // Shadow: five units right of and below the page, offset five units down and right.
  painter.fillRect(DeviceRect(t, pageRight, pageLower - 5, qint64(pageRight) + 5, pageUpper - 5),
                   shadow);
  painter.fillRect(
      DeviceRect(t, qint64(pageLeft) + 5, pageLower - 5, qint64(pageRight) + 5, pageLower), shadow);
  painter.fillRect(DeviceRect(t, pageLeft, pageLower, pageRight, pageUpper), Qt::white);
}

// Dotted lines every s page units across the page, except on x = 0 and y = 0, where the two
// centre lines are drawn solid.
void CDrawView::DrawGrid(QPainter& painter, const QTransform& t, const LRect& page) {
  const int s = lw::GridSpacingFor(g_nZoomLevel);
  const int pageLeft = page.left, pageRight = page.right;
  const int pageLower = page.top, pageUpper = page.bottom;
  const QColor color = ToQColor(lw::kGridColor);
  const QRectF clip = painter.hasClipping() ? painter.clipBoundingRect() : QRectF();

  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  QPen dotted(color, 0, Qt::DotLine);
  dotted.setCosmetic(true);
  painter.setPen(dotted);
  const double yTop = t.map(QPointF(0, pageUpper)).y();
  const double yBottom = t.map(QPointF(0, pageLower)).y();
  const double xLeft = t.map(QPointF(pageLeft, 0)).x();
  const double xRight = t.map(QPointF(pageRight, 0)).x();
  for (int x = s * (pageLeft / s); x < pageRight; x += s) {
    if (x == 0) continue;
    const double dx = std::round(t.map(QPointF(x, 0)).x());
    if (!clip.isEmpty() && (dx < clip.left() - 1 || dx > clip.right() + 1)) continue;
    painter.drawLine(QPointF(dx, std::round(yBottom)), QPointF(dx, std::round(yTop)));
  }
  for (int y = s * (pageLower / s); y < pageUpper; y += s) {
    if (y == 0) continue;
    const double dy = std::round(t.map(QPointF(0, y)).y());
    if (!clip.isEmpty() && (dy < clip.top() - 1 || dy > clip.bottom() + 1)) continue;
    painter.drawLine(QPointF(std::round(xLeft), dy), QPointF(std::round(xRight), dy));
  }
  QPen solid(color, 1, Qt::SolidLine);
  solid.setCosmetic(true);
  painter.setPen(solid);
  const double cx = std::round(t.map(QPointF(0, 0)).x());
  const double cy = std::round(t.map(QPointF(0, 0)).y());
  painter.drawLine(QPointF(cx, std::round(yBottom)), QPointF(cx, std::round(yTop)));
  painter.drawLine(QPointF(std::round(xLeft), cy), QPointF(std::round(xRight), cy));
  painter.restore();
}

void CDrawView::DrawObjects(QPainter& painter, const QTransform& t, bool printing) {
  if (!m_pDocument) return;
  const lw::RenderTarget target = printing             ? lw::RenderTarget::Print
                                  : m_bUploadRendering ? lw::RenderTarget::Upload
                                                       : lw::RenderTarget::Screen;
  lw::RenderContext dc(&painter, target, t);
  if (target == lw::RenderTarget::Screen) dc.zoomLevel = g_nZoomLevel;
  m_pDocument->DrawAll(dc, this);
}
