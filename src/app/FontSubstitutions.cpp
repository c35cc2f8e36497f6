#include "app/FontSubstitutions.h"

#include <QFont>
#include <QStringList>

namespace lw {

void InstallFontSubstitutions() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  // The IPA fonts are drawn with the metrics of the four Japanese system faces, the
  // Liberation fonts with those of the three Western ones. Noto Sans CJK JP is the last
  // resort for any Japanese face.
  const QString noto = QStringLiteral("Noto Sans CJK JP");
  struct Pair {
    const char* face;
    const char* substitute;
  };
  static constexpr Pair kPairs[] = {
      {"ＭＳ Ｐゴシック", "IPAPGothic"}, {"MS PGothic", "IPAPGothic"},
      {"ＭＳ ゴシック", "IPAGothic"},    {"MS Gothic", "IPAGothic"},
      {"ＭＳ 明朝", "IPAMincho"},         {"MS Mincho", "IPAMincho"},
      {"ＭＳ Ｐ明朝", "IPAPMincho"},      {"MS PMincho", "IPAPMincho"},
      {"ＭＳ ＵＩ Ｇｏｔｈｉｃ", "IPAPGothic"}, {"MS UI Gothic", "IPAPGothic"},
      {"メイリオ", "Noto Sans CJK JP"},   {"Meiryo", "Noto Sans CJK JP"},
      {"Arial", "Liberation Sans"},       {"Times New Roman", "Liberation Serif"},
      {"Courier New", "Liberation Mono"},
  };
  for (const Pair& p : kPairs) {
    QFont::insertSubstitutions(QString::fromUtf8(p.face),
                               {QString::fromUtf8(p.substitute), noto});
  }
}

}  // namespace lw
