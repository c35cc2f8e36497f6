#pragma once
// The readable text form of a language file, for translators, and its compiler.
//
//   # Comments run from "#" to the end of the line.
//   version 1.0.0.0          # shown in the About box
//   charset 0                # Windows character set of the texts: 0 Western, 128 Japanese
//
//   # id    kind  flags        mnemonic  accelerator  text
//   62656   menu  -            F         -            "File"
//   62658   menu  dots         O         Ctrl+O       "Open\tCtrl+O"
//   62594   text  colon        F         -            "Font"
//
// One entry per line: the text id; the kind ("text", or "menu" for a menu item whose text
// holds a tab before its accelerator text); the decorations appended to the label ("-" or
// any of colon, dots, blank, paren joined by commas, or a raw number); the mnemonic letter
// ("-" for none, or U+XXXX); the accelerator ("-", or Ctrl+, Shift+, Alt+ before a letter,
// a digit, F1..F24 or CodeN; raw:FLAGS:KEY for anything else); the text in double quotes
// with \t, \n, \r, \", \\ and \uXXXX escapes. docs/language-files.md explains each column.

#include <QByteArray>
#include <QString>

#include <array>
#include <vector>

#include "app/texts/LanguageFile.h"

namespace lw {

struct LanguageSource {
  std::array<uint8_t, 4> version{1, 0, 0, 0};
  uint32_t charset = 0;
  std::vector<LanguageEntry> entries;
};

// Reads the text form. On a mistake returns false and, in `error`, "line N: what is wrong".
bool ParseLanguageSource(const QString& text, LanguageSource* out, QString* error);

// Writes the text form; parsing the result gives the same entries back.
QString WriteLanguageSource(const LanguageSource& source, const QString& headerComment = QString());

// The source form of a file that was read (its entries as the program reads them).
LanguageSource SourceOfFile(const LanguageFile& file);

// Parses the text form and makes the bytes of the language file; empty with `error` set on
// a mistake (including an id given twice).
QByteArray CompileLanguageSource(const QString& text, QString* error);

}  // namespace lw
