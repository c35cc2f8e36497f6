#include "document/FontMapping.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHash>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <mutex>

namespace lw {
namespace {

constexpr int kShiftJisCharSet = 128;
constexpr int kDefaultPixelSize = 16;  // a LOGFONT height of 0 asks for a default size
constexpr int kMaxPixelSize = 4000;    // far above any page; keeps the font engine sane

const QString kJapaneseFallback = QStringLiteral("Noto Sans CJK JP");

// Windows faces and the installed faces with the same metrics, best first.
const QHash<QString, QStringList>& SubstitutionTable() {
  static const QHash<QString, QStringList> table = {
      {QStringLiteral("ＭＳ Ｐゴシック"), {QStringLiteral("IPAPGothic"), kJapaneseFallback}},
      {QStringLiteral("MS PGothic"), {QStringLiteral("IPAPGothic"), kJapaneseFallback}},
      {QStringLiteral("ＭＳ ゴシック"), {QStringLiteral("IPAGothic"), kJapaneseFallback}},
      {QStringLiteral("MS Gothic"), {QStringLiteral("IPAGothic"), kJapaneseFallback}},
      {QStringLiteral("ＭＳ 明朝"), {QStringLiteral("IPAMincho"), QStringLiteral("Noto Serif CJK JP")}},
      {QStringLiteral("MS Mincho"), {QStringLiteral("IPAMincho"), QStringLiteral("Noto Serif CJK JP")}},
      {QStringLiteral("ＭＳ Ｐ明朝"), {QStringLiteral("IPAPMincho"), QStringLiteral("Noto Serif CJK JP")}},
      {QStringLiteral("MS PMincho"), {QStringLiteral("IPAPMincho"), QStringLiteral("Noto Serif CJK JP")}},
      {QStringLiteral("ＭＳ ＵＩ Ｇｏｔｈｉｃ"), {QStringLiteral("IPAPGothic"), kJapaneseFallback}},
      {QStringLiteral("MS UI Gothic"), {QStringLiteral("IPAPGothic"), kJapaneseFallback}},
      {QStringLiteral("Arial"), {QStringLiteral("Liberation Sans")}},
      {QStringLiteral("Times New Roman"), {QStringLiteral("Liberation Serif")}},
      {QStringLiteral("Courier New"), {QStringLiteral("Liberation Mono")}},
  };
  return table;
}

bool HasCjk(const QString& s) {
  return std::any_of(s.cbegin(), s.cend(), [](QChar c) {
    const char16_t u = c.unicode();
    return (u >= 0x3000 && u <= 0x9FFF) || (u >= 0xFF00 && u <= 0xFFEF) || c.isSurrogate();
  });
}

bool IsInstalled(const QString& family) {
  static QHash<QString, bool> cache;
  static std::mutex mutex;
  std::lock_guard<std::mutex> lock(mutex);
  auto it = cache.constFind(family);
  if (it != cache.constEnd()) return *it;
  const bool has = QFontDatabase::hasFamily(family);
  cache.insert(family, has);
  return has;
}

}  // namespace

void InstallFontSubstitutions() {
  static std::once_flag once;
  std::call_once(once, [] {
    const auto& table = SubstitutionTable();
    for (auto it = table.cbegin(); it != table.cend(); ++it)
      QFont::insertSubstitutions(it.key(), it.value());
  });
}

QString InstalledFamilyFor(const QString& faceName, int charSet) {
  InstallFontSubstitutions();
  const auto& table = SubstitutionTable();
  const auto it = table.constFind(faceName);
  if (it != table.constEnd()) {
    for (const QString& family : *it)
      if (IsInstalled(family)) return family;
  }
  if (!faceName.isEmpty() && IsInstalled(faceName)) return faceName;
  // An unknown Japanese face (by its name or its character set) gets a Japanese face rather
  // than whatever Latin face fontconfig would offer.
  if (charSet == kShiftJisCharSet || HasCjk(faceName)) {
    if (IsInstalled(QStringLiteral("IPAPGothic")) && charSet == kShiftJisCharSet &&
        faceName.isEmpty())
      return QStringLiteral("IPAPGothic");
    return kJapaneseFallback;
  }
  return faceName.isEmpty() ? QStringLiteral("Liberation Sans") : faceName;
}

QFont FontFromLogFont(const LOGFONT& lf) {
  QFont font(InstalledFamilyFor(lf.lfFaceName, lf.lfCharSet));
  font.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::PreferMatch));
  font.setHintingPreference(QFont::PreferNoHinting);
  font.setKerning(false);

  qint64 height = lf.lfHeight;
  int pixelSize = kDefaultPixelSize;
  if (height < 0) {
    pixelSize = int(std::min<qint64>(-height, kMaxPixelSize));
  } else if (height > 0) {
    // A cell height: scale the character height so that ascent + descent fills the cell.
    const int cell = int(std::min<qint64>(height, kMaxPixelSize));
    font.setPixelSize(cell);
    const double cellOfEm = QFontMetricsF(font).height();
    pixelSize = cellOfEm > 0 ? std::max(1, int(std::lround(cell * double(cell) / cellOfEm))) : cell;
  }
  font.setPixelSize(std::max(1, pixelSize));

  const int weight = lf.lfWeight <= 0 ? 400 : std::clamp(lf.lfWeight, 1, 1000);
  font.setWeight(QFont::Weight(weight));
  font.setItalic(lf.lfItalic != 0);
  font.setUnderline(lf.lfUnderline != 0);
  font.setStrikeOut(lf.lfStrikeOut != 0);
  if (lf.lfWidth > 0) {
    // A requested average character width stretches the face.
    const double average = QFontMetricsF(font).averageCharWidth();
    if (average > 0) font.setStretch(std::clamp(int(std::lround(100.0 * lf.lfWidth / average)), 1, 4000));
  }
  return font;
}

}  // namespace lw
