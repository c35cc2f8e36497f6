#pragma once
// The built-in string table: every user-interface text of the program by its id, in
// Japanese. A language file may replace any of them (see TextLoader.h); the table is what
// the program shows for every id the language file does not carry.

#include <QString>
#include <span>

namespace lw {

struct StringTableEntry {
  unsigned id;
  const char* text;  // UTF-8
};

// Every entry, sorted by id.
std::span<const StringTableEntry> StringTableEntries();

// The text of `id` as UTF-8, or null when the table has no such id.
const char* StringTableUtf8(unsigned id);

// Puts the text of `id` into *out (when out is not null); false when the table has none.
bool StringTableText(unsigned id, QString* out);

}  // namespace lw
