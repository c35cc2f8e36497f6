#pragma once
// Value types for the drawing attributes of a cover page object, holding exactly the fields
// that a cover page file stores: a rectangle and a point in page units, colours, the outline
// pen, the fill brush and the text font. They carry the classic GDI record names because the
// file format and every colour and style code are defined in those terms.
//
// Coordinates are logical page units: origin at the page centre, x to the right, y upwards.

#include <QColor>
#include <QString>
#include <QtGlobal>

#include <algorithm>

// A point in page units.
struct LPoint {
  int x = 0;
  int y = 0;

  friend bool operator==(const LPoint&, const LPoint&) = default;
};

// A rectangle given by its four edges, kept exactly as assigned: nothing here normalises it.
// An object's position usually has top > bottom (y grows upwards); a line keeps its start in
// (left, top) and its end in (right, bottom) in any order. Width() and Height() are plain
// differences (right - left, bottom - top) and may be negative.
struct LRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  friend bool operator==(const LRect&, const LRect&) = default;

  qint64 Width() const { return qint64(right) - left; }
  qint64 Height() const { return qint64(bottom) - top; }

  // left <= right and top <= bottom in numbers.
  LRect Normalized() const {
    return {std::min(left, right), std::min(top, bottom), std::max(left, right),
            std::max(top, bottom)};
  }

  // Empty in the GDI sense: no area once read as (left, top) - (right, bottom) with
  // right > left and bottom > top required.
  bool IsEmpty() const { return right <= left || bottom <= top; }

  // Intersection of two normalised rectangles; an empty result is all zero.
  static LRect Intersect(const LRect& a, const LRect& b) {
    LRect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
    return r.IsEmpty() ? LRect{} : r;
  }
};

// A colour as 0x00BBGGRR (red in the low byte).
using COLORREF = quint32;

constexpr COLORREF RGB(int r, int g, int b) {
  return COLORREF(quint8(r)) | (COLORREF(quint8(g)) << 8) | (COLORREF(quint8(b)) << 16);
}
constexpr int GetRValue(COLORREF c) { return int(c & 0xFF); }
constexpr int GetGValue(COLORREF c) { return int((c >> 8) & 0xFF); }
constexpr int GetBValue(COLORREF c) { return int((c >> 16) & 0xFF); }

inline QColor ToQColor(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }

// The only colours objects use: black and white for outline, fill and text; cyan only for
// the screen guide frame of a text object with an automatic outline.
constexpr COLORREF kColorBlack = 0x000000;
constexpr COLORREF kColorWhite = 0xFFFFFF;
constexpr COLORREF kColorCyan = 0xFFFF00;

// Pen styles.
constexpr int PS_SOLID = 0;
constexpr int PS_DASH = 1;
constexpr int PS_DOT = 2;
constexpr int PS_DASHDOT = 3;
constexpr int PS_DASHDOTDOT = 4;
constexpr int PS_NULL = 5;
constexpr int PS_INSIDEFRAME = 6;

// Brush styles and hatch codes.
constexpr int BS_SOLID = 0;
constexpr int BS_HATCHED = 2;
constexpr int HS_HORIZONTAL = 0;
constexpr int HS_VERTICAL = 1;
constexpr int HS_FDIAGONAL = 2;  // downward diagonal
constexpr int HS_BDIAGONAL = 3;  // upward diagonal
constexpr int HS_CROSS = 4;      // grid
constexpr int HS_DIAGCROSS = 5;  // diamond

// Outline pen: style, thickness (x horizontal, y vertical, both in page units), colour.
struct LOGPEN {
  int lopnStyle = PS_SOLID;
  LPoint lopnWidth;
  COLORREF lopnColor = kColorBlack;

  friend bool operator==(const LOGPEN&, const LOGPEN&) = default;
};

// Fill: style (solid or hatched), colour, hatch code.
struct LOGBRUSH {
  int lbStyle = BS_SOLID;
  COLORREF lbColor = kColorBlack;
  int lbHatch = 0;

  friend bool operator==(const LOGBRUSH&, const LOGBRUSH&) = default;
};

// Text font. lfHeight is in page units, negative for a character height. The face name is
// held as text; in a file it occupies 32 bytes in the Windows code page 932, so it holds at
// most 31 bytes once encoded (the file writer enforces that).
struct LOGFONT {
  int lfHeight = 0;
  int lfWidth = 0;
  int lfEscapement = 0;
  int lfOrientation = 0;
  int lfWeight = 0;
  quint8 lfItalic = 0;
  quint8 lfUnderline = 0;
  quint8 lfStrikeOut = 0;
  quint8 lfCharSet = 0;
  quint8 lfOutPrecision = 0;
  quint8 lfClipPrecision = 0;
  quint8 lfQuality = 0;
  quint8 lfPitchAndFamily = 0;
  QString lfFaceName;

  friend bool operator==(const LOGFONT&, const LOGFONT&) = default;
};

// Bytes a face name may take in a file, the terminating zero included.
constexpr int LF_FACESIZE = 32;
