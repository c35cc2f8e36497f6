#pragma once
// Shared pieces of the rendering tests: a fresh document on a portrait page, objects as the
// program makes them, and pages rendered at one pixel per page unit for each target, with
// pixel reads in logical page coordinates.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <memory>

#include "document/CDrawDoc.h"
#include "document/CDrawRect.h"
#include "document/DocGlobals.h"
#include "document/ObjectCreation.h"
#include "document/ObjectKind.h"
#include "document/PageImage.h"
#include "document/RenderContext.h"

namespace rendertest {

constexpr int kHalfW = 864;   // page-pixel x = x + 864
constexpr int kHalfH = 1166;  // page-pixel y = 1166 - y

class RenderFixture : public ::testing::Test {
 protected:
  void SetUp() override { lw::ResetAllState(); }
  void TearDown() override {
    doc.DeleteAllObjects();
    lw::ResetAllState();
  }

  // Adds an object and returns it.
  template <typename T>
  T* Add(std::unique_ptr<T> obj) {
    T* raw = obj.get();
    doc.AddObject(obj.release());
    return raw;
  }
  CDrawRect* AddShape(lw::ShapeTool tool, const LRect& r) {
    return Add(lw::MakeShape(tool, r, lw::DefaultTextFont()));
  }
  CDrawRect* AddField(int kind, const LRect& r, const QString& text) {
    auto obj = lw::MakeFieldObject(kind, r, lw::DefaultTextFont());
    obj->m_strText = text;
    return Add(std::move(obj));
  }

  // The page painted for `target` at one pixel per page unit into an RGB image (the upload
  // target through the real 1-bit page image).
  QImage Render(lw::RenderTarget target, lw::ViewPort* view = nullptr, bool dragging = false) {
    if (target == lw::RenderTarget::Upload)
      return lw::RenderPageImage(doc).convertToFormat(QImage::Format_RGB32);
    QImage image(doc.m_sizePage, QImage::Format_RGB32);
    // Paper is white; on screen the page is painted white over the grey desk.
    image.fill(target == lw::RenderTarget::Print ? Qt::white : Qt::gray);
    QPainter painter(&image);
    lw::RenderContext dc(&painter, target, lw::PageImageTransform(doc.m_sizePage));
    dc.pictureDragInProgress = dragging;
    lw::PaintPage(dc, doc, view);
    return image;
  }

  CDrawDoc doc;
};

inline QRgb At(const QImage& img, int x, int y) { return img.pixel(x + kHalfW, kHalfH - y) & 0xFFFFFF; }
inline bool IsBlack(const QImage& img, int x, int y) { return qGray(At(img, x, y)) < 64; }
inline bool IsWhite(const QImage& img, int x, int y) { return At(img, x, y) == 0xFFFFFF; }
inline bool IsCyan(const QImage& img, int x, int y) { return At(img, x, y) == 0x00FFFF; }

// Dark pixels in the logical rectangle (left, bottom) .. (right, top), both inclusive.
inline int DarkPixels(const QImage& img, int left, int bottom, int right, int top) {
  int n = 0;
  for (int y = bottom; y <= top; ++y)
    for (int x = left; x <= right; ++x) n += qGray(At(img, x, y)) < 128 ? 1 : 0;
  return n;
}

// Lengths of the alternating runs of black and not-black pixels along a row (logical y) from
// x0 to x1 inclusive, starting with the colour found at x0.
inline std::vector<int> RowRuns(const QImage& img, int y, int x0, int x1) {
  std::vector<int> runs;
  bool black = IsBlack(img, x0, y);
  int n = 0;
  for (int x = x0; x <= x1; ++x) {
    if (IsBlack(img, x, y) == black) {
      ++n;
    } else {
      runs.push_back(n);
      black = !black;
      n = 1;
    }
  }
  runs.push_back(n);
  return runs;
}

}  // namespace rendertest
