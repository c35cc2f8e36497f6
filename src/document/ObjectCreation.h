#pragma once
// Creation of drawing objects with the values each creating path gives them: the shape tools,
// field and label insertion, picture insertion, and creation by class name for readers.

#include "document/CDrawImage.h"
#include "document/CDrawRect.h"

#include <QByteArrayView>

#include <memory>

namespace lw {

enum class ShapeTool { Rectangle, TextBox, Ellipse, Line, Freehand };

// A shape made by a drawing tool: shape number, shape code and shape class of the tool,
// left alignment, black text, kind 0, the given text font (normally g_lfDefault). A text box
// is a rectangle; the tool sets m_bEditableText when its drag ends.
std::unique_ptr<CDrawRect> MakeShape(ShapeTool tool, const LRect& rect, const LOGFONT& font);

// A label (kind 1) or data field (kinds 2..29) made by field insertion: a semi-transparent
// rectangle with the automatic outline (cyan pen colour, no width, outline off, weight 0),
// the font `defaultFont` with height -27. A label is editable and right-aligned; a field is
// not editable, left-aligned, with the text colour name "黒". The text is left to the caller.
std::unique_ptr<CDrawRect> MakeFieldObject(int kind, const LRect& rect, const LOGFONT& defaultFont);

// Gives a new picture the values of picture insertion: m_bHasImage 1, kind 0, not editable,
// no open editor, empty text, the given font.
void InitInsertedPicture(CDrawImage& image, const LOGFONT& font);

// A new object of a stored class name ("CDrawRect", "CDrawImage", "CDrawObj") made with its
// reading constructor; null for any other name.
std::unique_ptr<CDrawObj> CreateObjectByClassName(QByteArrayView name);

}  // namespace lw
