#pragma once
// The byte-level reader and writer of cover page files and of the clipboard's object list:
// little-endian integers without padding, length-prefixed strings in code page 932, and the
// class and object tags that identify the class of every stored object.
//
// Strings. In memory they are QString; in the stream they are CP932 bytes (converted with
// iconv). Bytes that are not valid CP932 are kept as the lone surrogates U+DC00..U+DCFF on
// reading (an invalid lead byte together with the trail-range byte after it) and written back
// as the same bytes, so a string survives a read and a write byte for byte. (CP932 maps a few
// characters twice, e.g. 0x8790 and 0x81E0 both to U+2252; the writer uses the standard code
// for those, as Windows does.) Characters that CP932 lacks are written as '?'.
//
// Tags. Classes and objects share one numbering that starts at 1 (0 is the null object). A
// class is named (new-class tag: 0xFFFF, schema, name length, name) the first time one of its
// objects is stored and referred to by number afterwards (0x8000 + number, or 0x7FFF and
// 0x80000000 + number from 0x7FFF on). Every stored object takes the next number after its
// class.
//
// Errors. A reader never reads past its input and never allocates more than the input still
// holds: every length and count is checked against the bytes that remain before anything is
// allocated. The first problem throws lw::ArchiveError, which the document and object-list
// readers (DocFile.h) turn into a result; nothing above them sees the exception.

#include <QByteArray>
#include <QString>
#include <QtEndian>
#include <QtGlobal>

#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

class QIODevice;

namespace lw {

// What went wrong while reading or writing a stream.
class ArchiveError : public std::runtime_error {
 public:
  enum class Kind {
    Format,  // the bytes are not a valid stream (truncated, bad tag, bad length, ...)
    Device,  // the device failed to read or write
  };
  ArchiveError(Kind kind, const std::string& what, qint64 offset)
      : std::runtime_error(what), m_kind(kind), m_offset(offset) {}
  Kind kind() const { return m_kind; }
  // Stream offset (bytes from the start of the reader or writer) where the problem showed.
  qint64 offset() const { return m_offset; }

 private:
  Kind m_kind;
  qint64 m_offset;
};

// Size of the block through which picture bytes move between a stream and a file.
constexpr int kPictureBlockSize = 4096;

// Longest class name a stream may carry (in bytes); a longer one is a format error.
constexpr int kMaxClassNameBytes = 63;

class ArchiveReader {
 public:
  // Reads the bytes of `data`, which must outlive the reader.
  ArchiveReader(const char* data, qsizetype size);
  // Reads `device` from its current position up to its end. The device must be open for
  // reading and random-access (a file or a buffer): its size bounds every length read.
  explicit ArchiveReader(QIODevice& device);
  ~ArchiveReader();

  ArchiveReader(const ArchiveReader&) = delete;
  ArchiveReader& operator=(const ArchiveReader&) = delete;

  // Bytes consumed so far.
  qint64 Offset() const { return m_consumed + (m_cur - m_begin); }
  // Bytes left before the end of the input.
  qint64 Remaining() const { return m_total - Offset(); }
  bool AtEnd() const { return Remaining() <= 0; }

  quint8 ReadByte() { return ReadFixed<quint8>(); }
  quint16 ReadWord() { return ReadFixed<quint16>(); }
  quint32 ReadDword() { return ReadFixed<quint32>(); }
  qint32 ReadInt() { return qint32(ReadFixed<quint32>()); }
  // A 32-bit IEEE single stored as its bit pattern (kept exactly, NaN payloads included).
  float ReadFloat();
  void ReadBytes(char* out, qint64 n);
  void Skip(qint64 n);

  // A length-prefixed string (CP932 bytes, or the UTF-16 form announced by FF FE FF).
  QString ReadString();
  // `n` bytes of CP932 text; a zero byte ends it early (fixed-size fields such as a face name).
  QString ReadFixedString(int n);

  // An object count: WORD, or WORD 0xFFFF and DWORD. A count with the top bit set (negative
  // as an int) is a format error.
  quint32 ReadCount();

  // The tag before a stored object. `classNames` lists the classes this stream may hold;
  // the result is the index of the object's class in that list, or -1 for the null object.
  // Unknown names, names of 64 bytes or more, schemas other than 0, references to numbers
  // not yet given and references to objects already read are format errors (an object is
  // stored once; a reference to it would put it in a list twice).
  int ReadObjectTag(const std::vector<const char*>& classNames);

  // Copies `n` bytes of the stream to `file` through a block of kPictureBlockSize bytes. A
  // failing or missing file (null) does not stop the copy: the bytes are still consumed, so
  // the stream stays in step. Returns whether every byte reached the file.
  bool CopyToFile(qint64 n, std::FILE* file);

  // Throws a format error at the current offset.
  [[noreturn]] void Fail(const std::string& what) const;
  // Throws unless `n` bytes remain (`what` names the field for the message).
  void Require(qint64 n, const char* what) const {
    if (n < 0 || n > Remaining()) FailLength(n, what);
  }

 private:
  template <typename T>
  T ReadFixed() {
    T v;
    if (m_end - m_cur >= qsizetype(sizeof(T))) {
      std::memcpy(&v, m_cur, sizeof(T));
      m_cur += sizeof(T);
    } else {
      ReadSlow(reinterpret_cast<char*>(&v), sizeof(T));
    }
    return FromLittle(v);
  }
  template <typename T>
  static T FromLittle(T v) {
#if Q_BYTE_ORDER == Q_BIG_ENDIAN
    return qFromLittleEndian(v);
#else
    return v;
#endif
  }
  void ReadSlow(char* out, qint64 n);
  bool Refill();
  [[noreturn]] void FailLength(qint64 n, const char* what) const;
  QString DecodeBytes(const char* data, qsizetype n);

  QIODevice* m_device = nullptr;
  QByteArray m_buffer;          // device mode: bytes read ahead
  const char* m_begin = nullptr;  // start of the current window
  const char* m_cur = nullptr;
  const char* m_end = nullptr;
  qint64 m_consumed = 0;  // bytes before m_begin
  qint64 m_total = 0;     // bytes of the whole input
  // One entry per number given: the index of a class in the caller's list, or -1 for an
  // object. Entry 0 is the null object.
  std::vector<int> m_loadMap;
  struct CachedString {
    QByteArray bytes;
    QString text;
  };
  std::vector<CachedString> m_stringCache;  // recently decoded non-ASCII strings
};

class ArchiveWriter {
 public:
  // Writes to `device` (open for writing) through a buffer; call Flush() at the end.
  explicit ArchiveWriter(QIODevice& device);
  ~ArchiveWriter();

  ArchiveWriter(const ArchiveWriter&) = delete;
  ArchiveWriter& operator=(const ArchiveWriter&) = delete;

  qint64 Offset() const { return m_flushed + m_used; }

  void WriteByte(quint8 v) { WriteFixed(v); }
  void WriteWord(quint16 v) { WriteFixed(v); }
  void WriteDword(quint32 v) { WriteFixed(v); }
  void WriteInt(qint32 v) { WriteFixed(quint32(v)); }
  void WriteFloat(float v);
  void WriteBytes(const char* data, qint64 n);

  // The string in CP932 with its length prefix (1, 3 or 7 bytes).
  void WriteString(const QString& s);
  // The string in CP932, cut at a character boundary to at most n - 1 bytes, padded with
  // zero bytes to exactly n bytes.
  void WriteFixedString(const QString& s, int n);
  // WORD n below 0xFFFF, else WORD 0xFFFF and DWORD n.
  void WriteCount(quint32 n);
  // The tag of the next stored object of class `className` (a string literal that outlives
  // the writer): the new-class tag on its first use, a class reference afterwards.
  void WriteObjectTag(const char* className);

  // Writes exactly `n` bytes taken from `file` through a block of kPictureBlockSize bytes,
  // each block cleared before it is read; what the file cannot supply (it is shorter, fails,
  // or is null) is written as zero bytes. Returns whether every byte came from the file.
  bool CopyFromFile(std::FILE* file, qint64 n);

  // Writes the buffered bytes to the device. Throws on a device error.
  void Flush();

 private:
  template <typename T>
  void WriteFixed(T v) {
#if Q_BYTE_ORDER == Q_BIG_ENDIAN
    v = qToLittleEndian(v);
#endif
    if (m_capacity - m_used >= qsizetype(sizeof(T))) {
      std::memcpy(m_buffer.data() + m_used, &v, sizeof(T));
      m_used += sizeof(T);
    } else {
      WriteBytes(reinterpret_cast<const char*>(&v), sizeof(T));
    }
  }
  QByteArray EncodeString(const QString& s);

  QIODevice* m_device;
  QByteArray m_buffer;
  qsizetype m_capacity;
  qsizetype m_used = 0;
  qint64 m_flushed = 0;
  quint32 m_mapCount = 1;  // the next number to give (0 is the null object)
  struct ClassNumber {
    const char* name;
    quint32 number;
  };
  std::vector<ClassNumber> m_classes;
  struct CachedString {
    QString text;
    QByteArray bytes;
  };
  std::vector<CachedString> m_stringCache;  // recently encoded non-ASCII strings
};

// CP932 <-> QString as described above (exposed for tests and the dump).
QString DecodeCp932(const char* data, qsizetype n);
QByteArray EncodeCp932(const QString& s);

}  // namespace lw
