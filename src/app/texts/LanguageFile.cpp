#include "app/texts/LanguageFile.h"

#include <bit>

namespace lw {
namespace {

uint32_t U32(const QByteArray& b, int64_t at) {
  const auto* p = reinterpret_cast<const uint8_t*>(b.constData()) + at;
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

uint16_t U16(const QByteArray& b, int64_t at) {
  const auto* p = reinterpret_cast<const uint8_t*>(b.constData()) + at;
  return uint16_t(p[0] | p[1] << 8);
}

void PutU32(QByteArray& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.append(char((v >> (8 * i)) & 0xFF));
}

void PutU16(QByteArray& b, uint16_t v) {
  b.append(char(v & 0xFF));
  b.append(char(v >> 8));
}

std::unique_ptr<LanguageFile> Fail(QString* error, const QString& why) {
  if (error) *error = why;
  return nullptr;
}

}  // namespace

std::unique_ptr<LanguageFile> LanguageFile::Parse(const QByteArray& bytes,
                                                  const CharsetCheck& charsetInstalled,
                                                  QString* error) {
  const int64_t size = bytes.size();
  if (size < kLanguageHeaderSize)
    return Fail(error, QStringLiteral("file shorter than its 152-byte header"));
  if (size > kMaxLanguageFileSize) return Fail(error, QStringLiteral("file larger than 16 MB"));
  if (U32(bytes, 0) != kLanguageMagic)
    return Fail(error, QStringLiteral("wrong magic number (not a language file)"));
  if (U32(bytes, 136) != kLanguageHeaderSize)
    return Fail(error, QStringLiteral("header size is not 152"));
  const uint32_t sectionsSize = U32(bytes, 140);
  uint32_t mask = U32(bytes, 144);
  if (int64_t(kLanguageHeaderSize) + sectionsSize != size)
    return Fail(error, QStringLiteral("file size %1 does not match 152 + sections size %2")
                           .arg(size)
                           .arg(sectionsSize));
  if (sectionsSize != 0 && mask == 0)
    return Fail(error, QStringLiteral("sections present but the section mask is 0"));

  auto file = std::unique_ptr<LanguageFile>(new LanguageFile);
  for (int i = 0; i < 4; ++i) file->m_version[i] = uint8_t(bytes[4 + i]);
  if (size == kLanguageHeaderSize) return file;  // valid, no text section

  // Walk the sections: each one's type must be a bit still present in the mask, and together
  // they must fill the sections size exactly.
  int64_t offset = kLanguageHeaderSize;
  int64_t remaining = sectionsSize;
  int count = std::popcount(mask);
  int64_t textOffset = -1;
  while (mask != 0) {
    if (size - offset < 16)
      return Fail(error, QStringLiteral("section header at %1 runs past the end").arg(offset));
    const uint32_t type = U32(bytes, offset);
    const uint32_t headerLength = U32(bytes, offset + 4);
    const uint32_t dataLength = U32(bytes, offset + 8);
    if (std::popcount(type) != 1 || (type & mask) == 0)
      return Fail(error, QStringLiteral("section at %1 has type %2, not one bit of the mask")
                             .arg(offset)
                             .arg(type));
    if (headerLength < 16)
      return Fail(error, QStringLiteral("section at %1 has a header shorter than 16").arg(offset));
    if (dataLength == 0)
      return Fail(error, QStringLiteral("section at %1 has no data").arg(offset));
    remaining -= int64_t(headerLength) + int64_t(dataLength);
    if (remaining < 0)
      return Fail(error, QStringLiteral("section at %1 runs past the sections size").arg(offset));
    if (type == kTextSectionType) {
      // The text section's own fields follow its common header; they must lie inside it.
      if (headerLength < kTextSectionHeaderSize)
        return Fail(error, QStringLiteral("text section header shorter than 28"));
      const uint32_t charset = U32(bytes, offset + 16);
      if (U32(bytes, offset + 20) != kTextFormat)
        return Fail(error, QStringLiteral("text section format is not 1"));
      if (U32(bytes, offset + 24) == 0)
        return Fail(error, QStringLiteral("text section has no entries"));
      if (charsetInstalled && !charsetInstalled(charset))
        return Fail(error, QStringLiteral("no installed font for character set %1").arg(charset));
      file->m_charset = charset;
      textOffset = offset;
    }
    --count;
    mask &= ~type;
    ++file->m_sectionCount;
    offset += int64_t(headerLength) + int64_t(dataLength);
  }
  if (count != 0 || remaining != 0)
    return Fail(
        error,
        QStringLiteral("sections do not fill the sections size (%1 bytes left)").arg(remaining));
  if (textOffset < 0) return Fail(error, QStringLiteral("no text section"));

  // The entries must fill the text section's data exactly.
  const uint32_t headerLength = U32(bytes, textOffset + 4);
  int64_t data = textOffset + headerLength;
  int64_t left = U32(bytes, textOffset + 8);
  const uint32_t entryCount = U32(bytes, textOffset + 24);
  // Every entry takes at least 16 bytes, so the data length bounds what can be reserved.
  file->m_entries.reserve(size_t(std::min<int64_t>(entryCount, left / 16)));
  for (uint32_t i = 0; i < entryCount; ++i) {
    if (left < 12) return Fail(error, QStringLiteral("entry %1 runs past the text section").arg(i));
    const uint16_t a = U16(bytes, data + 8);
    const uint16_t b = U16(bytes, data + 10);
    left -= 12 + int64_t(a) + int64_t(b);
    if (left < 0) return Fail(error, QStringLiteral("entry %1 runs past the text section").arg(i));
    if (b == 0 || (b & 1) != 0)
      return Fail(error, QStringLiteral("entry %1 has a text length that is 0 or odd").arg(i));
    if (a < 2) return Fail(error, QStringLiteral("entry %1 has an extra length below 2").arg(i));
    LanguageEntry e;
    e.key = U32(bytes, data);
    e.kind = U16(bytes, data + 4);
    e.flags = U16(bytes, data + 6);
    e.extraLength = a;
    e.mnemonic = U16(bytes, data + 12);
    if (a > 5) {
      e.accelFlags = U16(bytes, data + 14);
      e.accelKey = U16(bytes, data + 16);
    }
    // The text ends at its first 0 character, and never later than its B bytes.
    const int64_t text = data + 12 + a;
    int units = 0;
    while (units < b / 2 && U16(bytes, text + 2 * units) != 0) ++units;
    e.text.resize(units);
    for (int u = 0; u < units; ++u) e.text[u] = QChar(U16(bytes, text + 2 * u));
    file->m_firstIndex.emplace(e.key, file->m_entries.size());
    file->m_entries.push_back(std::move(e));
    data = text + b;
  }
  if (left != 0)
    return Fail(error,
                QStringLiteral("%1 bytes after the last entry of the text section").arg(left));
  file->m_hasTextSection = true;
  return file;
}

QByteArray LanguageFile::Build(const std::array<uint8_t, 4>& version, uint32_t charset,
                               const std::vector<LanguageEntry>& entries, QString* error) {
  QByteArray data;
  for (const LanguageEntry& e : entries) {
    if (e.text.size() > 32766) {
      if (error) *error = QStringLiteral("text of %1 is longer than 32766 characters").arg(e.key);
      return {};
    }
    const uint16_t a = e.HasAccelerator() ? 6 : 2;
    const uint16_t b = uint16_t(2 * (e.text.size() + 1));
    PutU32(data, e.key);
    PutU16(data, e.kind);
    PutU16(data, e.flags);
    PutU16(data, a);
    PutU16(data, b);
    PutU16(data, e.mnemonic);
    if (a == 6) {
      PutU16(data, e.accelFlags);
      PutU16(data, e.accelKey);
    }
    for (QChar c : e.text) PutU16(data, c.unicode());
    PutU16(data, 0);
  }
  QByteArray out;
  PutU32(out, kLanguageMagic);
  for (uint8_t v : version) out.append(char(v));
  out.append(QByteArray(128, '\0'));
  PutU32(out, kLanguageHeaderSize);
  const uint32_t sectionsSize =
      entries.empty() ? 0 : kTextSectionHeaderSize + uint32_t(data.size());
  PutU32(out, sectionsSize);
  PutU32(out, entries.empty() ? 0 : kTextSectionType);
  PutU32(out, 0);  // the header's last 4 bytes
  if (!entries.empty()) {
    PutU32(out, kTextSectionType);
    PutU32(out, kTextSectionHeaderSize);
    PutU32(out, uint32_t(data.size()));
    PutU32(out, 0);
    PutU32(out, charset);
    PutU32(out, kTextFormat);
    PutU32(out, uint32_t(entries.size()));
    out.append(data);
  }
  return out;
}

const LanguageEntry* LanguageFile::Find(uint32_t id) const {
  auto it = m_firstIndex.find(id);
  return it == m_firstIndex.end() ? nullptr : &m_entries[it->second];
}

QString ComposeLabel(const LanguageEntry& entry) {
  const QString& text = entry.text;
  char16_t upper = 0;
  char16_t lower = 0;
  bool pending = false;
  if ((entry.flags & kFlagMnemonic) && entry.mnemonic != 0) {
    upper = QChar(entry.mnemonic).toUpper().unicode();
    if (!(entry.flags & kFlagParenMnemonic)) {
      lower = QChar(entry.mnemonic).toLower().unicode();
      pending = true;
    }
  }
  qsizetype labelEnd = text.size();
  if (entry.kind == kKindMenuItem) {
    qsizetype tab = text.indexOf(QLatin1Char('\t'));
    if (tab >= 0) labelEnd = tab;
  }
  // An "&" already in the label is the translator's own mnemonic; an upper-case occurrence
  // of the letter is preferred to a lower-case one.
  for (qsizetype i = 0; i < labelEnd; ++i) {
    const char16_t c = text[i].unicode();
    if (c == u'&') {
      upper = lower = 0;
      pending = false;
    } else if (upper != 0 && c == upper) {
      lower = 0;
    }
  }
  QString out;
  out.reserve(text.size() + 9);
  for (qsizetype i = 0; i < labelEnd; ++i) {
    const char16_t c = text[i].unicode();
    if (pending && ((upper != 0 && c == upper) || (lower != 0 && c == lower))) {
      out += QLatin1Char('&');
      pending = false;
      upper = 0;
    }
    out += QChar(c);
  }
  if (upper != 0) {
    out += QStringLiteral("(&");
    out += QChar(upper);
    out += QLatin1Char(')');
  }
  if (entry.flags & kFlagBlank) out += QLatin1Char(' ');
  if (entry.flags & kFlagEllipsis) out += QStringLiteral("...");
  if (entry.flags & kFlagColon) out += QLatin1Char(':');
  out += QStringView(text).mid(labelEnd);
  return out;
}

unsigned AcceleratorKey(const LanguageEntry& entry, unsigned* flags) {
  if (!entry.HasAccelerator()) return 0;
  if (flags) *flags = entry.accelFlags;
  const unsigned k = entry.accelKey;
  if (k == 0) return 0;
  if (entry.accelFlags & kAccelFunctionKey) {
    const unsigned vk = k + 111;
    return (vk >= 112 && vk <= 135) ? vk : 0;
  }
  if ((k >= 'A' && k <= 'Z') || (k >= '0' && k <= '9')) return k;
  if (k >= 'a' && k <= 'z') return k - 'a' + 'A';
  return 0;
}

}  // namespace lw
