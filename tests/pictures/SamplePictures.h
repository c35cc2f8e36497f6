#pragma once
// Pictures made in code for the picture tests, the benchmark and the documentation: a
// photograph-like scene (smooth gradients, soft shapes, fine detail and sensor noise), a
// logo (flat colours, solid black lettering, anti-aliased edges) and a scanned signature
// (a dark pen stroke on slightly grey, noisy paper).

#include <QImage>

namespace lwtest {

QImage MakePhoto(int width, int height);
QImage MakeLogo(int width, int height);
QImage MakeSignature(int width, int height);

}  // namespace lwtest
