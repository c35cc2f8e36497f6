#pragma once
// The faces that cover pages made on other systems name ("ＭＳ Ｐゴシック", "Arial", ...)
// mapped to installed faces with the same metrics, so that text breaks into lines where it
// did when the page was made. Objects keep the face name they were given.

namespace lw {

// Installs the substitutions into Qt's font matching (once per process).
void InstallFontSubstitutions();

}  // namespace lw
