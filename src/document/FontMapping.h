#pragma once
// Fonts of cover page objects. An object names its face as Windows does ("ＭＳ Ｐゴシック",
// "Arial", ...); this system rarely has those faces, and a face with other metrics would
// break lines elsewhere than the page was laid out for. InstallFontSubstitutions() maps the
// common Windows faces onto installed faces designed with the same metrics (IPA fonts for
// the Japanese ones, Liberation fonts for Arial, Times New Roman and Courier New); other
// Japanese faces fall back to Noto Sans CJK JP. The object keeps the face name it was given.

#include "document/GdiTypes.h"

#include <QFont>

namespace lw {

// Registers the face substitutions with Qt. Safe to call more than once; the program and
// lwtool call it at start, and FontFromLogFont calls it too.
void InstallFontSubstitutions();

// The Qt font for a LOGFONT, sized in page units: pixel size = character height in page
// units (a negative lfHeight is the character height, a positive one the cell height, 0 a
// default height). Weight, italic, underline, strike-out and width are carried over;
// antialiasing is off so that one page unit is one crisp pixel of the page image, and
// hinting is off so that text measures the same at every scale.
QFont FontFromLogFont(const LOGFONT& lf);

// The installed family that FontFromLogFont uses for a face name.
QString InstalledFamilyFor(const QString& faceName, int charSet);

}  // namespace lw
