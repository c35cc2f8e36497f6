#pragma once
// The base of every drawing object on a cover page: text labels, data fields, free text boxes,
// shapes (CDrawRect) and pictures (CDrawImage). A plain CDrawObj is never placed on a page.
//
// Members are public and named as the rest of the program knows them; the file format, the
// renderer, the field catalogue, the view and the property pages all work on them directly.
// Positions are in logical page units (origin at the page centre, y upwards); m_rcPos is
// never normalised here.
//
// Type checks: ClassName() names the most derived class ("CDrawObj", "CDrawRect",
// "CDrawImage"), which is also the class name a cover page file stores; dynamic_cast works
// as well.

#include "document/GdiTypes.h"
#include "document/RenderContext.h"
#include "document/ViewPort.h"

#include <QString>
#include <Qt>

class CDrawDoc;

class CDrawObj {
 public:
  // Reading constructor: empty strings, both magnifications 1, everything else zero; a file
  // reader fills the rest.
  CDrawObj();
  // Creating constructor: position `rect` and the defaults of a newly drawn object (solid
  // black inside-frame outline one unit wide, white solid fill, automatic colour names).
  // The creating tool sets m_textFont, m_crText and m_nAlign.
  explicit CDrawObj(const LRect& rect);
  virtual ~CDrawObj();

  CDrawObj(const CDrawObj&) = delete;
  CDrawObj& operator=(const CDrawObj&) = delete;

  virtual const char* ClassName() const { return "CDrawObj"; }

  // --- geometry (called by the editing view) ---

  // Number of handles: 8 (a line has 2).
  virtual int GetHandleTotal() const;
  // Handle 1..8: corners and edge centres (see the .cpp); other numbers act as handle 1.
  virtual LPoint GetHandlePoint(int handle) const;
  // The sizing cursor of a handle; other numbers act as handle 1.
  virtual Qt::CursorShape GetHandleCursor(int handle) const;
  // Sets m_rcPos (kept as given) with repainting of the old and new area and marks the
  // document modified; an unchanged rectangle does nothing (except for freehand strokes).
  // With no view the document's views are told to repaint (hint 1).
  virtual void MoveTo(const LRect& rect, lw::ViewPort* view);
  // Selected: the number of the handle whose square holds `point`, or 0. Not selected: 1 when
  // the point lies in m_rcPos as stored (left <= x < right, bottom < y <= top), else 0.
  // A freehand stroke is never hit.
  virtual int HitTest(LPoint point, const lw::ViewPort* view, bool selected) const;
  // Whether the object meets the rectangle (both normalised first).
  virtual bool Intersects(const LRect& rect) const;
  // Moves one handle to `point` (see the .cpp); other numbers act as handle 1.
  virtual void MoveHandleTo(int handle, LPoint point, lw::ViewPort* view);
  // Moves the points of a freehand stroke; other objects have none.
  virtual void OffsetPoints(int dx, int dy);

  // --- painting ---

  // Paints the object (CDrawRect: the shape; CDrawImage: the picture). A plain CDrawObj
  // paints nothing. The text is written by CDrawDoc::DrawAll, not here.
  virtual void Draw(lw::RenderContext& dc);
  // Handle squares: state 0 (not selected) paints nothing; 1 (selected) and 2 (active) paint
  // one square per handle with HandleRasterOp(). Returns the number of squares painted.
  virtual int DrawHandles(lw::RenderContext& dc, int state);

  // The square around a handle: the handle point in device pixels +-4, back in logical units
  // (left < right, top > bottom for the usual y-up mapping). A null view maps 1:1.
  LRect HandleRect(int handle, const lw::ViewPort* view) const;

  // Handle squares as painted: offset o before the handle point and size s, in logical units,
  // for a zoom level (-2: 16/28, -1: 8/14, 0: 4/7, 1: 2/4, else 4/7).
  struct HandleSquareMetrics {
    int offset;
    int size;
  };
  static HandleSquareMetrics HandleSquareFor(int zoomLevel);
  // The painted square of a handle: (x - o, y - o) to (x - o + s, y - o + s).
  LRect HandleSquare(int handle, int zoomLevel) const;

  // Raster operation of the handle squares: pattern-invert, except while the text is being
  // edited in place: blackness for an outline narrower than 7 units, else destination-invert.
  enum class HandleRop { PatInvert, Blackness, DstInvert };
  HandleRop HandleRasterOp() const;

  // Asks the owning document to repaint this object in all views (hint 1).
  void Invalidate();

  // Sets m_rcPage from m_rcPos for a page of `pageWidth` x `pageHeight` units:
  // (R + W/2, H/2 - B, L + W/2, H/2 - T).
  void UpdatePageRect(int pageWidth, int pageHeight);

  // --- attribute rules ---

  // A text object (kind 1..29) whose outline is the automatic guide frame: its line colour
  // name is g_strAutoLabel, or its line weight is 0 and the name is "自動" or "Auto"
  // (case-insensitive).
  bool HasAutomaticOutline() const;
  // The in-place editor is open over this object's editable text.
  bool IsTextBeingEdited() const { return m_bEditArmed && m_bEditableText && m_bEditorOpen; }

  // Sets m_fLineWeight and the pen widths from a weight in points (see LineWidthForWeight);
  // weight 0 (or less) also turns the outline off.
  void ApplyLineWeight(float weight);

  // --- members, in declared order ---
  // Flags named m_b... hold 0 or non-zero as stored in files (ints, not bool, so that a
  // file's values survive a read and a write).
  int m_bLine = 0;      // outline drawn
  LOGPEN m_lineSpec;    // outline pen
  int m_bFill = 0;      // interior filled
  LOGBRUSH m_fillSpec;  // fill
  LOGFONT m_textFont;   // text font; height in page units
  COLORREF m_crText = kColorBlack;
  int m_nShapeCode = 0;        // lw::kShapeCode...; never stored
  LRect m_rcPos;               // position, logical units, not normalised
  LRect m_rcPage;              // (right, bottom, left, top) in page pixels; see UpdatePageRect
  QString m_strText;           // text of a text box, label or field (placeholder)
  int m_bEditableText = 0;     // typed by the user, editable in place (labels, text boxes)
  int m_bSemiTransparent = 0;  // fill combined with what lies beneath (mask)
  // Open in-place editor, owned by the object (the destructor deletes it); whoever closes
  // the editor deletes it and sets this back to null. Never stored.
  lw::InPlaceEditor* m_pTextEditor = nullptr;
  int m_bEditorOpen = 0;
  int m_nAlign = 1;            // lw::kAlignLeft / kAlignCenter / kAlignRight
  int m_nKind = 0;             // lw::kKind...
  QString m_strImageFile;      // picture's working file (deleted by the document)
  int m_nImageBytes = 0;       // byte count of the embedded picture file
  int m_bHasImage = 0;         // carries an embedded picture file
  int m_bEditArmed = 0;        // in-place editing state of the view
  QString m_strFillColorName;  // colour list entries chosen for fill, line and text
  QString m_strLineColorName;
  QString m_strTextColorName;
  int m_nToolClass = 0;        // lw::kToolClass...
  float m_fLineWeight = 0.0f;  // points as entered; 0 = no outline
  int m_bLineYSwapped = 0;     // vertical ends of a line exchanged by the arrange commands
  int m_bLineXSwapped = 0;     // horizontal ends likewise
  int m_nVRate = 1;            // vertical magnification at the server, 1..4
  int m_nHRate = 1;            // horizontal magnification at the server, 1..4
  CDrawDoc* m_pOwnerDoc = nullptr;

 protected:
  // Sets the defaults shared by the creating constructor and a new picture.
  void SetNewObjectDefaults(int penWidth);
  // Handle numbering for the handle operations: a line's handle 2 is its end point (5).
  virtual int MapHandle(int handle) const { return handle; }
  // Repaints the current area through `view`, or through the document (hint 1).
  void InvalidateThrough(lw::ViewPort* view);
};

namespace lw {

// Pen width (page units, both axes) for a line weight in points: 0 for 0 (or less); 0.25 and
// 0.5 give 1; any other weight its whole part, plus 1 when the fraction exceeds one half
// (0.75 gives 1, 1.5 gives 1, 2.75 gives 3). The dashed, dotted, dash-dot and dash-dot-dot
// styles always have width 1 while the weight is not 0.
int LineWidthForWeight(float weight, int penStyle);

// "自動", "Auto" or g_strAutoLabel, compared case-insensitively.
bool IsAutoColorName(const QString& name);

// The colour name given to black (text 62523).
QString BlackColorName();

}  // namespace lw
