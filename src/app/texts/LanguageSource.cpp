#include "app/texts/LanguageSource.h"

#include <QStringList>

#include <unordered_set>

namespace lw {
namespace {

struct FlagName {
  const char* name;
  uint16_t bit;
};
constexpr FlagName kFlagNames[] = {{"colon", kFlagColon},
                                   {"dots", kFlagEllipsis},
                                   {"blank", kFlagBlank},
                                   {"paren", kFlagParenMnemonic}};

bool IsSpace(QChar c) {
  return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r');
}

bool AllDigits(QStringView s, int base) {
  if (s.isEmpty()) return false;
  for (QChar c : s) {
    const char16_t u = c.unicode();
    const bool dec = u >= '0' && u <= '9';
    const bool hex = (u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F');
    if (!(dec || (base == 16 && hex))) return false;
  }
  return true;
}

// A decimal or 0x-hexadecimal number no greater than `max`.
bool ParseNumber(const QString& token, uint64_t max, uint64_t* out) {
  bool ok = false;
  uint64_t v = 0;
  if (token.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
    if (AllDigits(QStringView(token).mid(2), 16)) v = token.mid(2).toULongLong(&ok, 16);
  } else if (AllDigits(token, 10)) {
    v = token.toULongLong(&ok, 10);
  }
  if (!ok || v > max) return false;
  *out = v;
  return true;
}

bool ParseKind(const QString& token, uint16_t* kind) {
  if (token == QLatin1String("text")) {
    *kind = 0;
    return true;
  }
  if (token == QLatin1String("menu")) {
    *kind = kKindMenuItem;
    return true;
  }
  uint64_t v = 0;
  if (!ParseNumber(token, 0xFFFF, &v)) return false;
  *kind = uint16_t(v);
  return true;
}

// Names give the decorations and leave the mnemonic bit to the mnemonic column; a number is
// taken as it is.
bool ParseFlags(const QString& token, uint16_t* flags, bool* raw, QString* why) {
  *flags = 0;
  *raw = false;
  if (token == QLatin1String("-")) return true;
  uint64_t v = 0;
  if (ParseNumber(token, 0xFFFF, &v)) {
    *flags = uint16_t(v);
    *raw = true;
    return true;
  }
  for (const QString& name : token.split(QLatin1Char(','))) {
    bool known = false;
    for (const FlagName& f : kFlagNames) {
      if (name == QLatin1String(f.name)) {
        *flags |= f.bit;
        known = true;
      }
    }
    if (!known) {
      *why = QStringLiteral("unknown flag '%1' (use colon, dots, blank, paren, '-' or a number)")
                 .arg(name);
      return false;
    }
  }
  return true;
}

bool ParseCodePoint(const QString& token, char16_t* out) {
  if (!token.startsWith(QLatin1String("U+"), Qt::CaseInsensitive) || token.size() < 3 ||
      token.size() > 6 || !AllDigits(QStringView(token).mid(2), 16))
    return false;
  bool ok = false;
  const uint v = token.mid(2).toUInt(&ok, 16);
  if (!ok || v > 0xFFFF) return false;
  *out = char16_t(v);
  return true;
}

bool ParseMnemonic(const QString& token, char16_t* m) {
  if (token == QLatin1String("-")) {
    *m = 0;
    return true;
  }
  if (ParseCodePoint(token, m)) return true;
  if (token.size() == 1) {
    *m = token[0].unicode();
    return true;
  }
  return false;
}

bool ParseAccelerator(const QString& token, LanguageEntry* e, QString* why) {
  e->extraLength = 2;
  e->accelFlags = 0;
  e->accelKey = 0;
  if (token == QLatin1String("-")) return true;
  e->extraLength = 6;
  if (token.startsWith(QLatin1String("raw:"))) {
    const QStringList parts = token.mid(4).split(QLatin1Char(':'));
    uint64_t f = 0;
    uint64_t k = 0;
    if (parts.size() != 2 || !ParseNumber(parts[0], 0xFFFF, &f) ||
        !ParseNumber(parts[1], 0xFFFF, &k)) {
      *why = QStringLiteral("accelerator '%1' is not raw:FLAGS:KEY").arg(token);
      return false;
    }
    e->accelFlags = uint16_t(f);
    e->accelKey = uint16_t(k);
    return true;
  }
  const QStringList parts = token.split(QLatin1Char('+'));
  for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
    const QString mod = parts[i].toLower();
    if (mod == QLatin1String("ctrl")) {
      e->accelFlags |= kAccelCtrl;
    } else if (mod == QLatin1String("shift")) {
      e->accelFlags |= kAccelShift;
    } else if (mod == QLatin1String("alt")) {
      e->accelFlags |= kAccelAlt;
    } else {
      *why = QStringLiteral("unknown modifier '%1' in accelerator '%2' (use Ctrl, Shift, Alt)")
                 .arg(parts[i], token);
      return false;
    }
  }
  const QString key = parts.last();
  uint64_t v = 0;
  if (key.size() == 1 && key[0].unicode() < 128 && key[0].isLetterOrNumber()) {
    e->accelKey = key[0].unicode();
  } else if (key.size() > 1 && (key[0] == QLatin1Char('F') || key[0] == QLatin1Char('f')) &&
             ParseNumber(key.mid(1), 0xFFFF, &v)) {
    e->accelFlags |= kAccelFunctionKey;
    e->accelKey = uint16_t(v);
  } else if (key.startsWith(QLatin1String("Code"), Qt::CaseInsensitive) &&
             ParseNumber(key.mid(4), 0xFFFF, &v)) {
    e->accelKey = uint16_t(v);
  } else {
    *why =
        QStringLiteral("accelerator key '%1' is not a letter, a digit, F1..F24 or CodeN").arg(key);
    return false;
  }
  return true;
}

// Reads the quoted text starting at line[pos] == '"'; pos ends after the closing quote.
bool ParseQuoted(const QString& line, qsizetype* pos, QString* out, QString* why) {
  qsizetype i = *pos + 1;
  out->clear();
  while (i < line.size()) {
    const QChar c = line[i];
    if (c == QLatin1Char('"')) {
      *pos = i + 1;
      return true;
    }
    if (c.unicode() == 0) {
      *why = QStringLiteral("a text cannot hold a 0 character");
      return false;
    }
    if (c != QLatin1Char('\\')) {
      *out += c;
      ++i;
      continue;
    }
    if (i + 1 >= line.size()) break;
    const QChar n = line[i + 1];
    i += 2;
    switch (n.unicode()) {
      case 't':
        *out += QLatin1Char('\t');
        break;
      case 'n':
        *out += QLatin1Char('\n');
        break;
      case 'r':
        *out += QLatin1Char('\r');
        break;
      case '"':
        *out += QLatin1Char('"');
        break;
      case '\\':
        *out += QLatin1Char('\\');
        break;
      case 'u': {
        bool ok = false;
        const QString digits = line.mid(i, 4);
        const uint v = (digits.size() == 4 && AllDigits(digits, 16)) ? digits.toUInt(&ok, 16) : 0;
        if (!ok) {
          *why = QStringLiteral("\\u needs four hexadecimal digits");
          return false;
        }
        if (v == 0) {
          *why = QStringLiteral("a text cannot hold a 0 character");
          return false;
        }
        *out += QChar(char16_t(v));
        i += 4;
        break;
      }
      default:
        *why = QStringLiteral("unknown escape '\\%1' (use \\t \\n \\r \\\" \\\\ \\uXXXX)").arg(n);
        return false;
    }
  }
  *why = QStringLiteral("text has no closing double quote");
  return false;
}

QString Quote(const QString& text) {
  QString out = QStringLiteral("\"");
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    const char16_t u = c.unicode();
    if (u == '\t') {
      out += QStringLiteral("\\t");
    } else if (u == '\n') {
      out += QStringLiteral("\\n");
    } else if (u == '\r') {
      out += QStringLiteral("\\r");
    } else if (u == '"') {
      out += QStringLiteral("\\\"");
    } else if (u == '\\') {
      out += QStringLiteral("\\\\");
    } else if (u < 0x20 || u == 0x7F) {
      out += QStringLiteral("\\u%1").arg(uint(u), 4, 16, QLatin1Char('0'));
    } else if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      out += c;
      out += text[++i];
    } else if (c.isSurrogate()) {
      // A lone half of a pair cannot be written as UTF-8.
      out += QStringLiteral("\\u%1").arg(uint(u), 4, 16, QLatin1Char('0'));
    } else {
      out += c;
    }
  }
  return out + QLatin1Char('"');
}

QString KindToken(uint16_t kind) {
  if (kind == 0) return QStringLiteral("text");
  if (kind == kKindMenuItem) return QStringLiteral("menu");
  return QString::number(kind);
}

QString Hex(uint v) { return QStringLiteral("0x%1").arg(v, 0, 16); }

// Names when the flags say nothing the columns cannot (the mnemonic bit matches the
// mnemonic column, no unknown bits); a number otherwise.
QString FlagsToken(const LanguageEntry& e) {
  const bool mnemonicBit = (e.flags & kFlagMnemonic) != 0;
  const uint16_t named = kFlagColon | kFlagEllipsis | kFlagBlank | kFlagParenMnemonic;
  if (mnemonicBit != (e.mnemonic != 0) || (e.flags & ~(named | kFlagMnemonic)) != 0)
    return Hex(e.flags);
  QStringList names;
  for (const FlagName& f : kFlagNames)
    if (e.flags & f.bit) names << QLatin1String(f.name);
  return names.isEmpty() ? QStringLiteral("-") : names.join(QLatin1Char(','));
}

QString MnemonicToken(const LanguageEntry& e) {
  const char16_t m = e.mnemonic;
  if (m == 0) return QStringLiteral("-");
  const QChar c(m);
  const bool plain =
      m > 0x20 && m != 0x7F && m != '-' && m != '#' && m != '"' && !c.isSurrogate() && !c.isSpace();
  if (plain) return QString(c);
  return QStringLiteral("U+%1").arg(
      QString::number(uint(m), 16).toUpper().rightJustified(4, QLatin1Char('0')));
}

QString AcceleratorToken(const LanguageEntry& e) {
  if (!e.HasAccelerator()) return QStringLiteral("-");
  const uint16_t known = kAccelFunctionKey | kAccelCtrl | kAccelShift | kAccelAlt;
  if (e.accelFlags & ~known)
    return QStringLiteral("raw:%1:%2").arg(Hex(e.accelFlags)).arg(e.accelKey);
  QString s;
  if (e.accelFlags & kAccelCtrl) s += QStringLiteral("Ctrl+");
  if (e.accelFlags & kAccelShift) s += QStringLiteral("Shift+");
  if (e.accelFlags & kAccelAlt) s += QStringLiteral("Alt+");
  const uint k = e.accelKey;
  if (e.accelFlags & kAccelFunctionKey) {
    s += QStringLiteral("F%1").arg(k);
  } else if ((k >= 'A' && k <= 'Z') || (k >= 'a' && k <= 'z') || (k >= '0' && k <= '9')) {
    s += QChar(char16_t(k));
  } else {
    s += QStringLiteral("Code%1").arg(k);
  }
  return s;
}

}  // namespace

bool ParseLanguageSource(const QString& text, LanguageSource* out, QString* error) {
  LanguageSource src;
  bool haveVersion = false;
  bool haveCharset = false;
  const QStringList lines = text.split(QLatin1Char('\n'));
  for (qsizetype n = 0; n < lines.size(); ++n) {
    const QString& line = lines[n];
    auto fail = [&](const QString& why) {
      if (error) *error = QStringLiteral("line %1: %2").arg(n + 1).arg(why);
      return false;
    };
    // Split into words up to the quoted text or a comment.
    QStringList words;
    qsizetype pos = 0;
    bool quoted = false;
    while (pos < line.size()) {
      while (pos < line.size() && IsSpace(line[pos])) ++pos;
      if (pos >= line.size() || line[pos] == QLatin1Char('#')) break;
      if (line[pos] == QLatin1Char('"')) {
        quoted = true;
        break;
      }
      const qsizetype start = pos;
      while (pos < line.size() && !IsSpace(line[pos]) && line[pos] != QLatin1Char('"')) ++pos;
      words << line.mid(start, pos - start);
    }
    if (words.isEmpty() && !quoted) continue;

    if (!quoted && !words.isEmpty() && words[0] == QLatin1String("version")) {
      if (haveVersion) return fail(QStringLiteral("version given twice"));
      const QStringList parts =
          words.size() == 2 ? words[1].split(QLatin1Char('.')) : QStringList();
      if (parts.size() != 4)
        return fail(QStringLiteral("version needs four numbers, such as 1.0.0.0"));
      for (int i = 0; i < 4; ++i) {
        uint64_t v = 0;
        if (!ParseNumber(parts[i], 255, &v))
          return fail(QStringLiteral("version numbers run from 0 to 255"));
        src.version[i] = uint8_t(v);
      }
      haveVersion = true;
      continue;
    }
    if (!quoted && !words.isEmpty() && words[0] == QLatin1String("charset")) {
      if (haveCharset) return fail(QStringLiteral("charset given twice"));
      uint64_t v = 0;
      if (words.size() != 2 || !ParseNumber(words[1], 0xFFFFFFFF, &v))
        return fail(
            QStringLiteral("charset needs one number, such as 0 (Western) or 128 (Japanese)"));
      src.charset = uint32_t(v);
      haveCharset = true;
      continue;
    }
    if (!quoted)
      return fail(QStringLiteral("an entry needs its text in double quotes after five columns"));
    if (words.size() != 5)
      return fail(
          QStringLiteral(
              "an entry has five columns before its text (id kind flags mnemonic accelerator), "
              "found %1")
              .arg(words.size()));

    LanguageEntry e;
    QString why;
    uint64_t id = 0;
    if (!ParseNumber(words[0], 0xFFFFFFFF, &id))
      return fail(QStringLiteral("'%1' is not a text id").arg(words[0]));
    e.key = uint32_t(id);
    if (!ParseKind(words[1], &e.kind))
      return fail(QStringLiteral("kind '%1' is not text, menu or a number").arg(words[1]));
    bool rawFlags = false;
    if (!ParseFlags(words[2], &e.flags, &rawFlags, &why)) return fail(why);
    if (!ParseMnemonic(words[3], &e.mnemonic))
      return fail(
          QStringLiteral("mnemonic '%1' is not one character, '-' or U+XXXX").arg(words[3]));
    if (!rawFlags && e.mnemonic != 0) e.flags |= kFlagMnemonic;
    if (!ParseAccelerator(words[4], &e, &why)) return fail(why);
    if (!ParseQuoted(line, &pos, &e.text, &why)) return fail(why);
    while (pos < line.size() && IsSpace(line[pos])) ++pos;
    if (pos < line.size() && line[pos] != QLatin1Char('#'))
      return fail(QStringLiteral("only a comment may follow the text"));
    if (e.text.size() > 32766) return fail(QStringLiteral("text longer than 32766 characters"));
    src.entries.push_back(std::move(e));
  }
  if (out) *out = std::move(src);
  return true;
}

QString WriteLanguageSource(const LanguageSource& source, const QString& headerComment) {
  QString out;
  if (!headerComment.isEmpty()) {
    for (const QString& l : headerComment.split(QLatin1Char('\n')))
      out += QStringLiteral("# ") + l + QLatin1Char('\n');
    out += QLatin1Char('\n');
  }
  out += QStringLiteral("version %1.%2.%3.%4\n")
             .arg(source.version[0])
             .arg(source.version[1])
             .arg(source.version[2])
             .arg(source.version[3]);
  out += QStringLiteral("charset %1\n\n").arg(source.charset);

  struct Row {
    QString cols[5];
    QString text;
  };
  std::vector<Row> rows;
  int width[5] = {3, 4, 5, 8, 11};
  for (const LanguageEntry& e : source.entries) {
    Row r{{QString::number(e.key), KindToken(e.kind), FlagsToken(e), MnemonicToken(e),
           AcceleratorToken(e)},
          Quote(e.text)};
    for (int i = 0; i < 5; ++i) width[i] = std::max<int>(width[i], int(r.cols[i].size()));
    rows.push_back(std::move(r));
  }
  const char* heads[5] = {"id", "kind", "flags", "mnemonic", "accelerator"};
  QString head;
  for (int i = 0; i < 5; ++i) {
    const QString h = (i == 0 ? QStringLiteral("#") : QString()) + QLatin1String(heads[i]);
    head += h.leftJustified(width[i]) + QStringLiteral("  ");
  }
  out += head + QStringLiteral("text\n");
  for (const Row& r : rows) {
    QString line;
    for (int i = 0; i < 5; ++i) line += r.cols[i].leftJustified(width[i]) + QStringLiteral("  ");
    out += line + r.text + QLatin1Char('\n');
  }
  return out;
}

LanguageSource SourceOfFile(const LanguageFile& file) {
  LanguageSource src;
  src.version = file.Version();
  src.charset = file.Charset();
  src.entries = file.Entries();
  for (LanguageEntry& e : src.entries) e.extraLength = e.HasAccelerator() ? 6 : 2;
  return src;
}

QByteArray CompileLanguageSource(const QString& text, QString* error) {
  LanguageSource src;
  if (!ParseLanguageSource(text, &src, error)) return {};
  std::unordered_set<uint32_t> seen;
  for (const LanguageEntry& e : src.entries) {
    if (!seen.insert(e.key).second) {
      if (error) *error = QStringLiteral("text id %1 is given twice").arg(e.key);
      return {};
    }
  }
  return LanguageFile::Build(src.version, src.charset, src.entries, error);
}

}  // namespace lw
