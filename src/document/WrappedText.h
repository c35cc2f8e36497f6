#pragma once
// Writing an object's text into its box, breaking lines at any character: a line ends where
// the next character would make it wider than the box, at a carriage return and line feed,
// or at a tab that does not fit; lines go down from the top of the box by the height of the
// font until a line would start below the box. A character (a surrogate pair included) is
// never split; a character wider than the box gets a line of its own.
//
// Rectangles here have y upwards: top > bottom.

#include "document/GdiTypes.h"
#include "document/RenderContext.h"

#include <QFont>
#include <QString>

#include <functional>
#include <vector>

namespace lw {

// Text format flags (the classic DrawText values).
constexpr unsigned DT_LEFT = 0x0;
constexpr unsigned DT_CENTER = 0x1;
constexpr unsigned DT_RIGHT = 0x2;
constexpr unsigned DT_WORDBREAK = 0x10;

// One line as laid out: its text and the y of the top of its line rectangle.
struct WrappedLine {
  QString text;
  int top = 0;
};

// Width of a run of text in page units.
using TextMeasure = std::function<int(QStringView run)>;

// Lays out `text` in `rect` with line height `lineHeight` (page units), measuring runs with
// `measure`. Returns the lines in order as they are drawn; a line's text may contain the
// ending carriage return, and a line widened by a tab its eight blanks.
std::vector<WrappedLine> WrapText(const LRect& rect, QString text, int lineHeight,
                                  const TextMeasure& measure);

// Lays out and paints `text` into `rect` with `font` (sized in page units) in `color`,
// aligned by `format` (DT_LEFT, DT_CENTER or DT_RIGHT). Each line is placed at the top of its
// line rectangle; nothing is clipped. The painter's colour settings are left as found.
void DrawWrappedText(RenderContext& dc, const QFont& font, const QColor& color,
                     const LRect& rect, const QString& text, unsigned format);

}  // namespace lw
