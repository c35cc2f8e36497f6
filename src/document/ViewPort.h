#pragma once
// What the document and its objects need from a view, without depending on any widget: the
// mapping between page units and device pixels, repainting one object, and the notifications
// the document sends to its views. The editing view implements it; tests implement it with
// plain arithmetic.
//
// The base class is usable as it stands: it maps one page unit to one device pixel with the
// y axis turned downwards (device = (x, -y)), ignores every notification and reports an
// object as selected when it is in g_selection. Objects use that mapping when they are given
// no view.

#include "document/GdiTypes.h"

#include <QList>
#include <QSize>
#include <QString>

class CDrawObj;

namespace lw {

// Update hints the document sends to its views.
enum UpdateHintKind : int {
  kHintWholeView = 0,  // repaint everything; no object
  kHintObject = 1,     // repaint one object
  kHintObjects = 2,    // repaint a list of objects; no list means g_selection
  kHintRemoved = 3,    // these objects were removed: repaint them and drop them from the
                       // selection (unless the list is g_selection itself)
};

// One update as delivered to a view. `object` is set for kHintObject, `objects` for hints 2
// and 3 when a list was given (it may be &g_selection; compare the address to tell).
struct UpdateHint {
  int hint = kHintWholeView;
  CDrawObj* object = nullptr;
  const QList<CDrawObj*>* objects = nullptr;
};

class ViewPort {
 public:
  virtual ~ViewPort() = default;

  // Page units to device pixels and back.
  virtual LPoint LogicalToDevice(LPoint p) const;
  virtual LPoint DeviceToLogical(LPoint p) const;

  // Both corners converted; the device rectangle is normalised (left <= right, top <= bottom).
  LRect LogicalToDeviceNormalized(const LRect& r) const;

  // Repaints the area of one object (its current m_rcPos).
  virtual void InvalidateObject(CDrawObj* obj);

  // The document's update of all views (MFC OnUpdate). `sender` is the view that asked for
  // the update, or null; the document never sends an update back to its sender.
  virtual void OnUpdate(ViewPort* sender, const UpdateHint& hint);

  // The document's page size changed (orientation or printer settings).
  virtual void OnPageSizeChanged(QSize pageSize);

  // The document is about to destroy `obj`: forget it. The base removes it from g_selection.
  virtual void RemoveFromSelection(CDrawObj* obj);

  virtual bool IsSelected(const CDrawObj* obj) const;

  // Whether the view is the active one (handles are painted only then).
  virtual bool IsViewActive() const { return false; }
};

// The in-place text editor that is open over an object (m_pTextEditor). The editing view
// implements it with its editor widget; deleting the editor destroys its window.
class InPlaceEditor {
 public:
  virtual ~InPlaceEditor() = default;
  virtual QString Text() const = 0;
};

}  // namespace lw
