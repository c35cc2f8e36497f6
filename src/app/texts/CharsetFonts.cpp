#include "app/texts/CharsetFonts.h"

#include <QFontDatabase>
#include <QGuiApplication>

#include <optional>

namespace lw {
namespace {

std::optional<QFontDatabase::WritingSystem> WritingSystemOf(uint32_t charset) {
  switch (charset) {
    case 0:    // ANSI_CHARSET
    case 162:  // TURKISH_CHARSET
    case 186:  // BALTIC_CHARSET
    case 238:  // EASTEUROPE_CHARSET
      return QFontDatabase::Latin;
    case 1:  // DEFAULT_CHARSET: any font at all
      return QFontDatabase::Any;
    case 2:  // SYMBOL_CHARSET
      return QFontDatabase::Symbol;
    case 128:  // SHIFTJIS_CHARSET
      return QFontDatabase::Japanese;
    case 129:  // HANGEUL_CHARSET
    case 130:  // JOHAB_CHARSET
      return QFontDatabase::Korean;
    case 134:  // GB2312_CHARSET
      return QFontDatabase::SimplifiedChinese;
    case 136:  // CHINESEBIG5_CHARSET
      return QFontDatabase::TraditionalChinese;
    case 161:  // GREEK_CHARSET
      return QFontDatabase::Greek;
    case 163:  // VIETNAMESE_CHARSET
      return QFontDatabase::Vietnamese;
    case 177:  // HEBREW_CHARSET
      return QFontDatabase::Hebrew;
    case 178:  // ARABIC_CHARSET
      return QFontDatabase::Arabic;
    case 204:  // RUSSIAN_CHARSET
      return QFontDatabase::Cyrillic;
    case 222:  // THAI_CHARSET
      return QFontDatabase::Thai;
    default:
      return std::nullopt;
  }
}

}  // namespace

bool CharsetFontInstalled(uint32_t charset) {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return true;
  const std::optional<QFontDatabase::WritingSystem> ws = WritingSystemOf(charset);
  if (!ws) return false;
  return !QFontDatabase::families(*ws).isEmpty();
}

}  // namespace lw
