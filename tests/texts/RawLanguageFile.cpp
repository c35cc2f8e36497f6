#include "RawLanguageFile.h"

namespace lwtest {
namespace {

void U32(QByteArray& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.append(char((v >> (8 * i)) & 0xFF));
}
void U16(QByteArray& b, uint16_t v) {
  b.append(char(v & 0xFF));
  b.append(char(v >> 8));
}

}  // namespace

QByteArray Utf16z(const QString& s) {
  QByteArray b;
  for (QChar c : s) U16(b, c.unicode());
  U16(b, 0);
  return b;
}

QByteArray Extra(char16_t mnemonic) {
  QByteArray b;
  U16(b, mnemonic);
  return b;
}

QByteArray Extra(char16_t mnemonic, uint16_t accelFlags, uint16_t accelKey) {
  QByteArray b;
  U16(b, mnemonic);
  U16(b, accelFlags);
  U16(b, accelKey);
  return b;
}

QByteArray Bytes(const RawFile& f) {
  QByteArray sections;
  uint32_t mask = 0;
  for (const RawSection& s : f.sections) {
    QByteArray data = s.data;
    if (s.type == 1 || !s.entries.empty()) {
      data.clear();
      for (const RawEntry& e : s.entries) {
        U32(data, e.key);
        U16(data, e.kind);
        U16(data, e.flags);
        U16(data, uint16_t(e.extraLengthOverride >= 0 ? e.extraLengthOverride : e.extra.size()));
        U16(data, uint16_t(e.textLengthOverride >= 0 ? e.textLengthOverride : e.text.size()));
        data.append(e.extra);
        data.append(e.text);
      }
    }
    QByteArray header;
    const bool textHeader = s.textHeader && s.type == 1;
    const uint32_t headerLength =
        s.headerLengthOverride >= 0 ? uint32_t(s.headerLengthOverride) : (textHeader ? 28 : 16);
    U32(header, s.type);
    U32(header, headerLength);
    U32(header, s.dataLengthOverride >= 0 ? uint32_t(s.dataLengthOverride) : uint32_t(data.size()));
    U32(header, 0);
    if (textHeader) {
      U32(header, s.charset);
      U32(header, s.format);
      U32(header,
          s.entryCountOverride >= 0 ? uint32_t(s.entryCountOverride) : uint32_t(s.entries.size()));
    }
    sections.append(header);
    sections.append(data);
    mask |= s.type;
  }
  sections.append(f.trailing);
  QByteArray out;
  U32(out, f.magic);
  for (uint8_t v : f.version) out.append(char(v));
  out.append(QByteArray(128, '\0'));
  U32(out, f.headerSize);
  U32(out,
      f.sectionsSizeOverride >= 0 ? uint32_t(f.sectionsSizeOverride) : uint32_t(sections.size()));
  U32(out, f.maskOverride >= 0 ? uint32_t(f.maskOverride) : mask);
  U32(out, 0);
  out.append(sections);
  return out;
}

RawFile FileWith(std::vector<RawEntry> entries, uint32_t charset) {
  RawFile f;
  RawSection s;
  s.charset = charset;
  s.entries = std::move(entries);
  f.sections.push_back(std::move(s));
  return f;
}

RawEntry Entry(uint32_t key, const QString& text, char16_t mnemonic, uint16_t flags,
               uint16_t kind) {
  RawEntry e;
  e.key = key;
  e.kind = kind;
  e.flags = flags;
  e.extra = Extra(mnemonic);
  e.text = Utf16z(text);
  return e;
}

}  // namespace lwtest
