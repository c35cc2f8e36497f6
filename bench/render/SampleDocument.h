#pragma once
// Cover pages made in code for the rendering benchmark and for looking at the renderer's
// output: one with every object kind, and a busy page of many mixed objects.

#include <QString>

class CDrawDoc;

namespace lwbench {

// Every kind of object once or more: labels, sender, recipient and message fields, a free
// text box with CR LF and a tab, rectangles (solid, dashed, dotted, hatched, white on black,
// semi-transparent), ellipses (one on the page edge), lines of every pen style, a freehand
// stroke and two pictures.
void BuildEveryKindDocument(CDrawDoc& doc);

// `count` mixed objects spread over the page: about half texts (labels, fields, free text),
// the rest shapes, and two pictures among them.
void BuildBusyDocument(CDrawDoc& doc, int count);

// A new BMP picture file of `width` x `height` pixels in the private temporary folder, with
// a pattern; returns its path, or an empty string.
QString MakePictureFile(int width, int height);

}  // namespace lwbench
