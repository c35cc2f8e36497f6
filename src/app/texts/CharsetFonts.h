#pragma once
// Whether the system has a font for a Windows character set (the number a LOGFONT carries):
// the language file's texts are only used when they can be displayed.

#include <cstdint>

namespace lw {

// True when at least one installed font family supports the writing system of `charset`.
// Known sets: 0 Western, 1 default (any font), 2 symbol, 128 Japanese, 129 and 130 Korean,
// 134 Simplified Chinese, 136 Traditional Chinese, 161 Greek, 162 Turkish, 163 Vietnamese,
// 177 Hebrew, 178 Arabic, 186 Baltic, 204 Cyrillic, 222 Thai, 238 Central European.
// Any other set counts as not installed. Without a running QGuiApplication the fonts
// cannot be asked, and every set counts as installed.
bool CharsetFontInstalled(uint32_t charset);

}  // namespace lw
