#pragma once
// The language file (".lrc"): a translation of the user-interface texts by string id.
//
// Layout (all numbers little-endian):
//   header, 152 bytes: magic "CRVQ" (0x51565243), four version bytes, 128 unused bytes,
//     header size (152), sections size (file size - 152), section mask (one bit per section);
//   sections back to back, each: type (one bit), header length (>= 16), data length (> 0),
//     4 unused bytes; a text section (type 1) adds character set, format (1) and entry count;
//   text entries: key, kind, flags, extra length A (>= 2), text length B (even, > 0), A bytes
//     of extra data (mnemonic; when A > 5 also accelerator flags and key), B bytes of
//     UTF-16LE text ended by a 0 character.
//
// The reader takes the whole file as bytes, checks every length and count against the bytes
// it has before it reads, and either gives a complete LanguageFile or an error text. It never
// reads outside the buffer, whatever the bytes.

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

namespace lw {

inline constexpr uint32_t kLanguageMagic = 0x51565243;  // the bytes C, R, V, Q
inline constexpr uint32_t kLanguageHeaderSize = 152;
inline constexpr uint32_t kTextSectionType = 1;
inline constexpr uint32_t kTextSectionHeaderSize = 28;
inline constexpr uint32_t kTextFormat = 1;
// Language files are small (a full translation is some 30 KB); anything larger is refused
// before it is read into memory.
inline constexpr int64_t kMaxLanguageFileSize = 16 * 1024 * 1024;

// Entry kind 5: a menu item, whose text holds the label, a tab and the accelerator text.
inline constexpr uint16_t kKindMenuItem = 5;

// Entry flags.
inline constexpr uint16_t kFlagMnemonic = 0x01;       // the mnemonic character is used
inline constexpr uint16_t kFlagColon = 0x02;          // append ":"
inline constexpr uint16_t kFlagEllipsis = 0x04;       // append "..."
inline constexpr uint16_t kFlagBlank = 0x08;          // append a blank
inline constexpr uint16_t kFlagParenMnemonic = 0x10;  // always show the mnemonic as "(&X)"

// Accelerator flags.
inline constexpr uint16_t kAccelFunctionKey = 0x01;
inline constexpr uint16_t kAccelCtrl = 0x02;
inline constexpr uint16_t kAccelShift = 0x04;
inline constexpr uint16_t kAccelAlt = 0x08;

struct LanguageEntry {
  uint32_t key = 0;
  uint16_t kind = 0;
  uint16_t flags = 0;
  uint16_t extraLength = 2;  // A: 2 without an accelerator, 6 with one
  char16_t mnemonic = 0;
  uint16_t accelFlags = 0;  // read only when extraLength > 5
  uint16_t accelKey = 0;
  QString text;  // up to (not including) the first 0 character within the B bytes
  bool HasAccelerator() const { return extraLength > 5; }
};

// Whether a font of a Windows character set (as in a LOGFONT) is installed.
using CharsetCheck = std::function<bool(uint32_t charset)>;

class LanguageFile {
 public:
  // Reads and validates a whole file. `charsetInstalled` decides the character-set rule of
  // the text section; without one the rule holds. On failure returns null and, when
  // `error` is given, a one-line reason.
  static std::unique_ptr<LanguageFile> Parse(const QByteArray& bytes,
                                             const CharsetCheck& charsetInstalled, QString* error);

  // Makes the bytes of a file with one text section holding `entries` (in that order), or a
  // header-only file when there are none. Fails (empty result and `error`) when an entry
  // cannot be stored: text longer than 32766 UTF-16 units.
  static QByteArray Build(const std::array<uint8_t, 4>& version, uint32_t charset,
                          const std::vector<LanguageEntry>& entries, QString* error);

  const std::array<uint8_t, 4>& Version() const { return m_version; }
  bool HasTextSection() const { return m_hasTextSection; }
  uint32_t Charset() const { return m_charset; }
  int SectionCount() const { return m_sectionCount; }
  const std::vector<LanguageEntry>& Entries() const { return m_entries; }

  // The first entry with key `id` in file order, or null.
  const LanguageEntry* Find(uint32_t id) const;

 private:
  std::array<uint8_t, 4> m_version{};
  bool m_hasTextSection = false;
  uint32_t m_charset = 0;
  int m_sectionCount = 0;
  std::vector<LanguageEntry> m_entries;
  std::unordered_map<uint32_t, size_t> m_firstIndex;
};

// The label an entry yields: the mnemonic marked with "&" in the label (or appended as
// "(&X)"), then the decorations, then for a menu item the tab and the accelerator text.
QString ComposeLabel(const LanguageEntry& entry);

// The key of an entry's accelerator, or 0 when it has none that can be used: F1..F24 as
// their virtual-key codes 112..135 (function-key flag, key 1..24), letters A..Z (either
// case, returned upper case) and digits 0..9 as their character codes. *flags gets the
// entry's accelerator flags when the entry has an accelerator.
unsigned AcceleratorKey(const LanguageEntry& entry, unsigned* flags);

}  // namespace lw
