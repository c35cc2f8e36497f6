#include "document/Archive.h"

#include <QIODevice>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <iconv.h>

namespace lw {
namespace {

constexpr qsizetype kIoBufferSize = 64 * 1024;
constexpr size_t kStringCacheSize = 16;

// Tags.
constexpr quint16 kNullTag = 0x0000;
constexpr quint16 kNewClassTag = 0xFFFF;
constexpr quint16 kClassTag = 0x8000;
constexpr quint16 kBigObjectTag = 0x7FFF;
constexpr quint32 kBigClassTag = 0x80000000u;

// Load map entries that are not class indexes.
constexpr int kMapNull = -2;
constexpr int kMapObject = -1;

// The two iconv conversions, opened once per thread (opening one costs far more than a
// conversion). CP932 is stateless, so a handle needs no reset between strings.
struct Cp932Codec {
  iconv_t toUtf16 = iconv_t(-1);
  iconv_t fromUtf16 = iconv_t(-1);
  Cp932Codec() {
    toUtf16 = iconv_open("UTF-16LE", "CP932");
    fromUtf16 = iconv_open("CP932", "UTF-16LE");
  }
  ~Cp932Codec() {
    if (toUtf16 != iconv_t(-1)) iconv_close(toUtf16);
    if (fromUtf16 != iconv_t(-1)) iconv_close(fromUtf16);
  }
};

Cp932Codec& Codec() {
  thread_local Cp932Codec codec;
  return codec;
}

bool IsAscii(const char* data, qsizetype n) {
  for (qsizetype i = 0; i < n; ++i)
    if (uchar(data[i]) >= 0x80) return false;
  return true;
}

bool IsAscii(const QString& s) {
  for (QChar c : s)
    if (c.unicode() >= 0x80) return false;
  return true;
}

// Lead bytes of CP932 double-byte characters.
bool IsLeadByte(uchar b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
// Second bytes of CP932 double-byte characters.
bool IsTrailByte(uchar b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }

std::string Describe(const char* what, qint64 n) {
  return std::string(what) + " of " + std::to_string(n) + " bytes";
}

}  // namespace

// --- CP932 ---

QString DecodeCp932(const char* data, qsizetype n) {
  if (n <= 0) return QString();
  if (IsAscii(data, n)) return QString::fromLatin1(data, n);
  // One CP932 byte or byte pair gives one UTF-16 unit, and so does every escaped byte.
  QString out(n, Qt::Uninitialized);
  char* inPtr = const_cast<char*>(data);
  size_t inLeft = size_t(n);
  char* outBase = reinterpret_cast<char*>(out.data());
  char* outPtr = outBase;
  size_t outLeft = size_t(n) * 2;
  iconv_t cd = Codec().toUtf16;
  while (inLeft > 0) {
    if (cd == iconv_t(-1) ||
        iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == size_t(-1)) {
      if (inLeft == 0) break;
      if (cd != iconv_t(-1) && errno == E2BIG) break;  // cannot happen: one unit per byte
      // An invalid or incomplete sequence: keep its bytes as escapes and go on. A lead byte
      // takes a following byte of the trail range with it, as a two-byte character would;
      // otherwise the canonical form of that next character, written back, could pair with
      // the lead byte and read as something else.
      const bool pair = IsLeadByte(uchar(*inPtr)) && inLeft >= 2 && IsTrailByte(uchar(inPtr[1]));
      for (int k = 0; k < (pair ? 2 : 1); ++k) {
        const char16_t unit = char16_t(0xDC00 | uchar(*inPtr));
        std::memcpy(outPtr, &unit, 2);
        outPtr += 2;
        outLeft -= 2;
        ++inPtr;
        --inLeft;
      }
    }
  }
  out.truncate((outPtr - outBase) / 2);
  return out;
}

QByteArray EncodeCp932(const QString& s) {
  if (s.isEmpty()) return QByteArray();
  if (IsAscii(s)) return s.toLatin1();
  // A BMP character takes at most two bytes; a surrogate pair becomes one '?'.
  QByteArray out(s.size() * 2, Qt::Uninitialized);
  const char16_t* units = reinterpret_cast<const char16_t*>(s.utf16());
  char* inPtr = const_cast<char*>(reinterpret_cast<const char*>(units));
  size_t inLeft = size_t(s.size()) * 2;
  char* outPtr = out.data();
  size_t outLeft = size_t(out.size());
  iconv_t cd = Codec().fromUtf16;
  while (inLeft > 0) {
    if (cd != iconv_t(-1) &&
        iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != size_t(-1))
      break;
    if (inLeft == 0) break;
    if (cd != iconv_t(-1) && errno == E2BIG) break;  // cannot happen, see above
    // A character CP932 lacks, an escaped byte, or a lone surrogate.
    char16_t unit;
    std::memcpy(&unit, inPtr, 2);
    size_t used = 2;
    char byte = '?';
    if (unit >= 0xDC00 && unit <= 0xDCFF) {
      byte = char(unit & 0xFF);
    } else if (unit >= 0xD800 && unit <= 0xDBFF && inLeft >= 4) {
      char16_t next;
      std::memcpy(&next, inPtr + 2, 2);
      if (next >= 0xDC00 && next <= 0xDFFF) used = 4;
    } else if (cd == iconv_t(-1) && unit < 0x80) {
      byte = char(unit);
    }
    *outPtr++ = byte;
    --outLeft;
    inPtr += used;
    inLeft -= used;
  }
  out.truncate(outPtr - out.data());
  return out;
}

// --- reader ---

ArchiveReader::ArchiveReader(const char* data, qsizetype size)
    : m_begin(data), m_cur(data), m_end(data + std::max<qsizetype>(size, 0)),
      m_total(std::max<qsizetype>(size, 0)) {
  m_loadMap.push_back(kMapNull);
}

ArchiveReader::ArchiveReader(QIODevice& device) : m_device(&device) {
  m_total = device.isSequential() ? device.bytesAvailable()
                                  : std::max<qint64>(device.size() - device.pos(), 0);
  m_buffer.resize(kIoBufferSize);
  m_begin = m_cur = m_end = m_buffer.constData();
  m_loadMap.push_back(kMapNull);
}

ArchiveReader::~ArchiveReader() = default;

void ArchiveReader::Fail(const std::string& what) const {
  throw ArchiveError(ArchiveError::Kind::Format, what, Offset());
}

void ArchiveReader::FailLength(qint64 n, const char* what) const {
  if (n < 0) Fail(std::string("negative length for ") + what);
  Fail(Describe(what, n) + " where only " + std::to_string(Remaining()) + " remain");
}

bool ArchiveReader::Refill() {
  if (!m_device) return false;
  m_consumed += m_end - m_begin;
  m_begin = m_cur = m_end;  // the window is used up, whatever comes next
  const qint64 want = std::min<qint64>(m_buffer.size(), m_total - m_consumed);
  if (want <= 0) return false;
  const qint64 got = m_device->read(m_buffer.data(), want);
  if (got < 0)
    throw ArchiveError(ArchiveError::Kind::Device, m_device->errorString().toStdString(),
                       m_consumed);
  m_begin = m_cur = m_buffer.constData();
  m_end = m_begin + got;
  // The device ended before its stated size: nothing more will come.
  if (got == 0) m_total = m_consumed;
  return got > 0;
}

void ArchiveReader::ReadSlow(char* out, qint64 n) {
  while (n > 0) {
    qint64 avail = m_end - m_cur;
    if (avail == 0) {
      if (!Refill()) Fail("unexpected end of data");
      continue;
    }
    const qint64 take = std::min(avail, n);
    std::memcpy(out, m_cur, size_t(take));
    m_cur += take;
    out += take;
    n -= take;
  }
}

float ArchiveReader::ReadFloat() { return std::bit_cast<float>(ReadDword()); }

void ArchiveReader::ReadBytes(char* out, qint64 n) {
  Require(n, "data");
  ReadSlow(out, n);
}

void ArchiveReader::Skip(qint64 n) {
  Require(n, "skipped block");
  while (n > 0) {
    const qint64 avail = m_end - m_cur;
    if (avail == 0) {
      if (!Refill()) Fail("unexpected end of data");
      continue;
    }
    const qint64 take = std::min(avail, n);
    m_cur += take;
    n -= take;
  }
}

QString ArchiveReader::DecodeBytes(const char* data, qsizetype n) {
  if (n == 0) return QString();
  if (IsAscii(data, n)) return QString::fromLatin1(data, n);
  // Colour names and face names repeat from object to object.
  for (const CachedString& c : m_stringCache) {
    if (c.bytes.size() == n && std::memcmp(c.bytes.constData(), data, size_t(n)) == 0)
      return c.text;
  }
  QString text = DecodeCp932(data, n);
  if (n <= 64) {
    if (m_stringCache.size() >= kStringCacheSize) m_stringCache.erase(m_stringCache.begin());
    m_stringCache.push_back({QByteArray(data, n), text});
  }
  return text;
}

QString ArchiveReader::ReadString() {
  quint64 n = ReadByte();
  bool wide = false;
  if (n == 0xFF) {
    quint16 w = ReadWord();
    if (w == 0xFFFE) {
      // UTF-16 form: a second length prefix counts 16-bit units.
      wide = true;
      n = ReadByte();
      if (n == 0xFF) w = ReadWord();
    }
    if (n == 0xFF) {
      if (w < 0xFFFF) {
        n = w;
      } else {
        const quint32 d = ReadDword();
        if (d == 0xFFFFFFFFu) Fail("string with a 64-bit length");
        n = d;
      }
    }
  }
  const qint64 bytes = qint64(n) * (wide ? 2 : 1);
  Require(bytes, "string");
  if (wide) {
    QByteArray raw(bytes, Qt::Uninitialized);
    ReadSlow(raw.data(), bytes);
    QString s(qsizetype(n), Qt::Uninitialized);
    for (qsizetype i = 0; i < qsizetype(n); ++i)
      s[i] = QChar(qFromLittleEndian<quint16>(raw.constData() + 2 * i));
    return s;
  }
  if (m_end - m_cur >= bytes) {
    const char* p = m_cur;
    m_cur += bytes;
    return DecodeBytes(p, bytes);
  }
  QByteArray raw(bytes, Qt::Uninitialized);
  ReadSlow(raw.data(), bytes);
  return DecodeBytes(raw.constData(), bytes);
}

QString ArchiveReader::ReadFixedString(int n) {
  Require(n, "fixed text");
  char buf[256];
  if (n > int(sizeof buf)) Fail("fixed text too long");
  ReadSlow(buf, n);
  const char* zero = static_cast<const char*>(std::memchr(buf, 0, size_t(n)));
  return DecodeBytes(buf, zero ? zero - buf : n);
}

quint32 ArchiveReader::ReadCount() {
  quint32 n = ReadWord();
  if (n == 0xFFFF) n = ReadDword();
  if (n & 0x80000000u) Fail("negative object count");
  return n;
}

int ArchiveReader::ReadObjectTag(const std::vector<const char*>& classNames) {
  const quint16 w = ReadWord();
  quint32 tag;
  if (w == kBigObjectTag)
    tag = ReadDword();
  else
    tag = (quint32(w & kClassTag) << 16) | (w & ~kClassTag);

  if (!(tag & kBigClassTag)) {
    if (tag == kNullTag) return -1;
    if (tag >= m_loadMap.size())
      Fail("reference to object number " + std::to_string(tag) + ", which is not yet given");
    Fail("reference to object number " + std::to_string(tag) +
         ", which is already stored (an object is stored once)");
  }

  int cls = -1;
  if (w == kNewClassTag) {
    const quint16 schema = ReadWord();
    const quint16 len = ReadWord();
    if (len > kMaxClassNameBytes) Fail("class name of " + std::to_string(len) + " bytes");
    char name[kMaxClassNameBytes + 1];
    ReadBytes(name, len);
    for (size_t i = 0; i < classNames.size(); ++i) {
      if (std::strlen(classNames[i]) == len && std::memcmp(classNames[i], name, len) == 0) {
        cls = int(i);
        break;
      }
    }
    if (cls < 0) Fail("unknown class \"" + std::string(name, len) + "\"");
    if (schema != 0) Fail("class " + std::string(name, len) + " with schema " + std::to_string(schema));
    m_loadMap.push_back(cls);
  } else {
    const quint32 number = tag & ~kBigClassTag;
    if (number >= m_loadMap.size() || m_loadMap[number] < 0)
      Fail("reference to class number " + std::to_string(number) + ", which is not a class");
    cls = m_loadMap[number];
  }
  m_loadMap.push_back(kMapObject);
  return cls;
}

bool ArchiveReader::CopyToFile(qint64 n, std::FILE* file) {
  Require(n, "picture");
  char block[kPictureBlockSize];
  bool ok = file != nullptr;
  while (n > 0) {
    const qint64 take = std::min<qint64>(n, kPictureBlockSize);
    ReadSlow(block, take);
    if (ok) ok = std::fwrite(block, 1, size_t(take), file) == size_t(take);
    n -= take;
  }
  return ok;
}

// --- writer ---

ArchiveWriter::ArchiveWriter(QIODevice& device) : m_device(&device) {
  m_buffer.resize(kIoBufferSize);
  m_capacity = m_buffer.size();
}

ArchiveWriter::~ArchiveWriter() = default;

void ArchiveWriter::Flush() {
  if (m_used == 0) return;
  if (m_device->write(m_buffer.constData(), m_used) != m_used)
    throw ArchiveError(ArchiveError::Kind::Device, m_device->errorString().toStdString(),
                       m_flushed);
  m_flushed += m_used;
  m_used = 0;
}

void ArchiveWriter::WriteBytes(const char* data, qint64 n) {
  if (n <= 0) return;
  if (m_capacity - m_used < n) {
    Flush();
    if (n >= m_capacity) {
      if (m_device->write(data, n) != n)
        throw ArchiveError(ArchiveError::Kind::Device, m_device->errorString().toStdString(),
                           m_flushed);
      m_flushed += n;
      return;
    }
  }
  std::memcpy(m_buffer.data() + m_used, data, size_t(n));
  m_used += n;
}

void ArchiveWriter::WriteFloat(float v) { WriteDword(std::bit_cast<quint32>(v)); }

QByteArray ArchiveWriter::EncodeString(const QString& s) {
  if (IsAscii(s)) return s.toLatin1();
  for (const CachedString& c : m_stringCache)
    if (c.text == s) return c.bytes;
  QByteArray bytes = EncodeCp932(s);
  if (s.size() <= 64) {
    if (m_stringCache.size() >= kStringCacheSize) m_stringCache.erase(m_stringCache.begin());
    m_stringCache.push_back({s, bytes});
  }
  return bytes;
}

void ArchiveWriter::WriteString(const QString& s) {
  if (s.isEmpty()) {
    WriteByte(0);
    return;
  }
  const QByteArray bytes = EncodeString(s);
  const qint64 n = bytes.size();
  if (n < 0xFF) {
    WriteByte(quint8(n));
  } else if (n < 0xFFFE) {
    WriteByte(0xFF);
    WriteWord(quint16(n));
  } else {
    WriteByte(0xFF);
    WriteWord(0xFFFF);
    WriteDword(quint32(n));
  }
  WriteBytes(bytes.constData(), n);
}

void ArchiveWriter::WriteFixedString(const QString& s, int n) {
  const QByteArray bytes = EncodeString(s);
  // Cut at a character boundary, leaving room for the terminating zero.
  qsizetype keep = 0;
  for (qsizetype i = 0; i < bytes.size();) {
    const qsizetype len = (IsLeadByte(uchar(bytes[i])) && i + 1 < bytes.size()) ? 2 : 1;
    if (i + len > n - 1) break;
    i += len;
    keep = i;
  }
  char buf[256] = {};
  if (n > int(sizeof buf)) n = int(sizeof buf);
  std::memcpy(buf, bytes.constData(), size_t(keep));
  WriteBytes(buf, n);
}

void ArchiveWriter::WriteCount(quint32 n) {
  if (n < 0xFFFF) {
    WriteWord(quint16(n));
  } else {
    WriteWord(0xFFFF);
    WriteDword(n);
  }
}

void ArchiveWriter::WriteObjectTag(const char* className) {
  for (const ClassNumber& c : m_classes) {
    if (c.name == className || std::strcmp(c.name, className) == 0) {
      if (c.number < kBigObjectTag) {
        WriteWord(quint16(kClassTag | c.number));
      } else {
        WriteWord(kBigObjectTag);
        WriteDword(kBigClassTag | c.number);
      }
      ++m_mapCount;  // the object
      return;
    }
  }
  const size_t len = std::min<size_t>(std::strlen(className), kMaxClassNameBytes);
  WriteWord(kNewClassTag);
  WriteWord(0);  // schema
  WriteWord(quint16(len));
  WriteBytes(className, qint64(len));
  m_classes.push_back({className, m_mapCount++});
  ++m_mapCount;  // the object
}

bool ArchiveWriter::CopyFromFile(std::FILE* file, qint64 n) {
  char block[kPictureBlockSize];
  bool ok = file != nullptr;
  while (n > 0) {
    const qint64 take = std::min<qint64>(n, kPictureBlockSize);
    std::memset(block, 0, sizeof block);
    if (ok) ok = std::fread(block, 1, size_t(take), file) == size_t(take);
    WriteBytes(block, take);
    n -= take;
  }
  return ok;
}

}  // namespace lw
