#pragma once
// Shared pieces of the document tests: a fixture that starts every test from fresh
// program-wide state, and views that record what the document and its objects ask of them.

#include <gtest/gtest.h>

#include <QList>
#include <QString>

#include "document/DocGlobals.h"
#include "document/ViewPort.h"

class FreshState : public ::testing::Test {
 protected:
  void SetUp() override { lw::ResetAllState(); }
  void TearDown() override { lw::ResetAllState(); }
};

// A view at one device pixel per `unitsPerPixel` page units, y downwards, that records every
// call the document layer makes.
class RecordingView : public lw::ViewPort {
 public:
  explicit RecordingView(int unitsPerPixel = 1) : m_scale(unitsPerPixel) {}

  LPoint LogicalToDevice(LPoint p) const override { return {p.x / m_scale, -p.y / m_scale}; }
  LPoint DeviceToLogical(LPoint p) const override { return {p.x * m_scale, -p.y * m_scale}; }

  void InvalidateObject(CDrawObj* obj) override { invalidated.append(obj); }
  void OnUpdate(lw::ViewPort* sender, const lw::UpdateHint& hint) override {
    senders.append(sender);
    hints.append(hint);
  }
  void OnPageSizeChanged(QSize size) override { pageSizes.append(size); }
  void RemoveFromSelection(CDrawObj* obj) override {
    removed.append(obj);
    lw::ViewPort::RemoveFromSelection(obj);
  }

  QList<CDrawObj*> invalidated;
  QList<lw::ViewPort*> senders;
  QList<lw::UpdateHint> hints;
  QList<QSize> pageSizes;
  QList<CDrawObj*> removed;

 private:
  int m_scale;
};

// An in-place editor holding a fixed text; counts its destruction.
class FixedTextEditor : public lw::InPlaceEditor {
 public:
  FixedTextEditor(QString text, int* destroyed) : m_text(std::move(text)), m_destroyed(destroyed) {}
  ~FixedTextEditor() override { ++*m_destroyed; }
  QString Text() const override { return m_text; }

 private:
  QString m_text;
  int* m_destroyed;
};
