#pragma once
// Builds language file bytes field by field, so a test can break exactly one rule.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

namespace lwtest {

struct RawEntry {
  uint32_t key = 0;
  uint16_t kind = 0;
  uint16_t flags = 0;
  QByteArray extra = QByteArray(2, '\0');  // A bytes
  QByteArray text;                         // B bytes, as stored
  int extraLengthOverride = -1;            // A as written, when >= 0
  int textLengthOverride = -1;             // B as written, when >= 0
};

// UTF-16LE with the ending 0 character.
QByteArray Utf16z(const QString& s);
// Mnemonic only (A = 2), or mnemonic with accelerator flags and key (A = 6).
QByteArray Extra(char16_t mnemonic);
QByteArray Extra(char16_t mnemonic, uint16_t accelFlags, uint16_t accelKey);

struct RawSection {
  uint32_t type = 1;
  uint32_t charset = 0;
  uint32_t format = 1;
  int entryCountOverride = -1;
  int headerLengthOverride = -1;
  int dataLengthOverride = -1;
  std::vector<RawEntry> entries;
  QByteArray data;         // used instead of the entries for sections of other types
  bool textHeader = true;  // the 28-byte header of a text section
};

struct RawFile {
  uint8_t version[4] = {1, 2, 3, 4};
  uint32_t magic = 0x51565243;
  uint32_t headerSize = 152;
  int sectionsSizeOverride = -1;
  int maskOverride = -1;
  std::vector<RawSection> sections;
  QByteArray trailing;  // bytes appended after the sections
};

QByteArray Bytes(const RawFile& f);

// A valid file with one text section holding the entries.
RawFile FileWith(std::vector<RawEntry> entries, uint32_t charset = 0);
RawEntry Entry(uint32_t key, const QString& text, char16_t mnemonic = 0, uint16_t flags = 0,
               uint16_t kind = 0);

}  // namespace lwtest
