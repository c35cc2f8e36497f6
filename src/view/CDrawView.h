#pragma once
// The editing view: shows the cover page on a grey desk with a drop shadow at one of four
// zoom levels, optionally over a dotted grid, and maps between page units and pixels.
//
// Page units have their origin at the page centre with y growing upwards. On the screen one
// page unit is (logical dots per inch) / g_nZoomDivisor pixels; the page's upper-left corner
// lies at the scroll origin. Every conversion rounds like the classic mapping-mode
// arithmetic (to nearest, halves away from zero), so the sizes come out as on the original
// platform: a portrait page at the start zoom on a 96 dpi screen is 864 x 1166 pixels with
// scroll extents of 867 x 1169.
//
// Repainting is local: the document tells the view what changed (OnUpdate hints) and the
// view invalidates only those objects' rectangles. Qt's backing store makes painting
// flicker-free; the view paints every pixel itself, so the background is never erased.

#include "document/GdiTypes.h"
#include "document/ViewPort.h"

#include <QAbstractScrollArea>
#include <QSize>
#include <QString>
#include <QTransform>

class CDrawDoc;
class CDrawObj;
class QPainter;

namespace lw {

// Zoom state shared by everything that maps page units (one editing view per process).
struct ViewState {
  int nBaseResolution = 0;  // g_nBaseResolution: pixels per inch, measured once
  int nZoomDivisor = 0;     // g_nZoomDivisor: 2 x base after the first initial update
};
ViewState& View();
// Forgets the measured resolution (tests start each case from a fresh process state).
void ResetViewState();

// The zoom divisor of a level (-2: 4 x base, -1: 2 x base, 0: base, 1: base / 2); a level
// outside -2..1 gives base.
int ZoomDivisorFor(int zoomLevel, int baseResolution);
// Grid spacing in page units of a level (-2: 32, -1: 24, 0: 16, 1: 10; else 16).
int GridSpacingFor(int zoomLevel);

// Classic MulDiv: a * b / c rounded to nearest, halves away from zero; 0 when c is 0.
int MulDiv(int a, int b, int c);

// The two status pane texts of the selection for a page of `page` units: "[ X, Y ]" and
// "[ W x H ]" scaled to a 1728 x 2332 page, or empty unless exactly one object is selected.
QString PositionPaneText(const QList<CDrawObj*>& selection, QSize page);
QString SizePaneText(const QList<CDrawObj*>& selection, QSize page);

}  // namespace lw

extern int& g_nBaseResolution;
extern int& g_nZoomDivisor;

class CDrawView : public QAbstractScrollArea, public lw::ViewPort {
  Q_OBJECT

 public:
  // Registers with `doc` (AddView), sets g_pDrawView and runs the first initial update.
  explicit CDrawView(CDrawDoc* doc, QWidget* parent = nullptr);
  ~CDrawView() override;

  CDrawDoc* GetDocument() const { return m_pDocument; }

  // --- mapping (client pixels of the viewport, scroll position included) ---
  LPoint LogicalToDevice(LPoint p) const override;
  LPoint DeviceToLogical(LPoint p) const override;
  // The painter transform from page units to viewport pixels.
  QTransform PageToClientTransform() const;
  // Page size in page units as the document has it (1728 x 2332 when it has none yet).
  QSize PageSize() const;
  // Scroll extents in pixels: MulDiv(W + 5, dpi, divisor) x MulDiv(H + 5, dpi, divisor).
  QSize TotalScrollSize() const;

  // --- document notifications (lw::ViewPort) ---
  void InvalidateObject(CDrawObj* obj) override;
  void OnUpdate(lw::ViewPort* sender, const lw::UpdateHint& hint) override;
  void OnPageSizeChanged(QSize pageSize) override;
  bool IsViewActive() const override { return m_bViewActive; }

  // Measures the screen once per process, sets the scroll sizes and repaints everything.
  void OnInitialUpdate();
  // The view became active (true) or inactive (false): selection handles appear or go.
  void OnActivateView(bool activate);

  // --- commands ---
  void OnViewGrid();  // 32774: grid on or off
  bool IsGridShown() const { return m_bShowGrid; }
  void OnViewZoomIn();      // 32778
  void OnViewZoomOut();     // 32779
  bool CanZoomIn() const;   // update handler of 32778
  bool CanZoomOut() const;  // update handler of 32779

  // --- status panes 32823 and 32824 ---
  QString PositionPaneText() const;
  QString SizePaneText() const;

  // Paints the page into `painter` (identity world transform) through `pageToDevice`: the
  // desk, shadow and page unless `printing`, the grid when shown (never while printing or
  // while the upload renders, m_bUploadRendering), then the document's objects. Stores the
  // page rectangle in g_rcPage. `deviceRect` is the area to paint, in device pixels.
  void DrawPage(QPainter& painter, const QTransform& pageToDevice, const QRect& deviceRect,
                bool printing);

  // --- members (shared with the tools, printing and upload code) ---
  QString m_strServerAddress;      // upload destination (filled by the upload settings)
  QString m_strPictureTemp;        // temporary ".tif" the upload writes the page image to
  int m_bUploadRendering = 0;      // the upload is rendering the page: no grid, no fields
  quint16 m_nServerPort = 0;       // upload destination port
  quint32 m_dwLastButtonDown = 0;  // time of the last left-button press (ms)
  int m_bInPrintPreview = 0;       // between preparing and ending a print preview
  int m_bShowGrid = 1;             // grid visible
  int m_bViewActive = 0;           // active view: handles shown, mouse input accepted

 signals:
  // The texts of panes 32823 and 32824 may have changed (after every repaint hint).
  void statusPanesChanged(const QString& position, const QString& size);
  // The zoom level changed (the frame refreshes the enabled state of its zoom commands).
  void zoomChanged(int zoomLevel);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  bool event(QEvent* event) override;

 private:
  void UpdateScrollBars();
  void DrawDesk(QPainter& painter, const QTransform& t, const LRect& page, const LRect& client);
  void DrawGrid(QPainter& painter, const QTransform& t, const LRect& page);
  void DrawObjects(QPainter& painter, const QTransform& t, bool printing);
  void Zoom(int step);
  void SelectPointerTool();
  void EmitStatusPanes();
  // The scroll origin of the mapping (0, 0 when the scroll bars are at their start).
  QPoint ScrollOffset() const;

  CDrawDoc* m_pDocument = nullptr;
  QString m_lastPositionPane;
  QString m_lastSizePane;
};
