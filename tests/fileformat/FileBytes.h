#pragma once
// Cover page file bytes built by hand for the tests, field by field as the file layout gives
// them, independently of the program's writer: little-endian values, length-prefixed strings
// (raw CP932 bytes given by the test), and whole object records in the forms of versions 1,
// 2 and 3.

#include <QByteArray>
#include <QtEndian>

#include <bit>
#include <initializer_list>

#include "document/GdiTypes.h"

namespace lwtest {

class Bytes {
 public:
  Bytes& u8(quint8 v) {
    b.append(char(v));
    return *this;
  }
  Bytes& u16(quint16 v) {
    char c[2];
    qToLittleEndian(v, c);
    b.append(c, 2);
    return *this;
  }
  Bytes& u32(quint32 v) {
    char c[4];
    qToLittleEndian(v, c);
    b.append(c, 4);
    return *this;
  }
  Bytes& i32(qint32 v) { return u32(quint32(v)); }
  Bytes& f32(float v) { return u32(std::bit_cast<quint32>(v)); }
  Bytes& raw(const QByteArray& bytes) {
    b.append(bytes);
    return *this;
  }
  Bytes& rect(const LRect& r) { return i32(r.left).i32(r.top).i32(r.right).i32(r.bottom); }
  // A string with its length prefix; `bytes` are already CP932.
  Bytes& str(const QByteArray& bytes) {
    const qsizetype n = bytes.size();
    if (n < 255)
      u8(quint8(n));
    else if (n < 65534)
      u8(0xFF).u16(quint16(n));
    else
      u8(0xFF).u16(0xFFFF).u32(quint32(n));
    return raw(bytes);
  }
  // The new-class tag of `name` (schema 0).
  Bytes& newClass(const QByteArray& name) { return u16(0xFFFF).u16(0).u16(quint16(name.size())).raw(name); }

  QByteArray b;
};

// CP932 bytes of the Japanese colour names.
inline const QByteArray kSjisAuto("\x8E\xA9\x93\xAE");   // 自動
inline const QByteArray kSjisBlack("\x8D\x95");          // 黒
inline const QByteArray kSjisAqua("\x90\x85\x90\x46");   // 水色
inline const QByteArray kSjisGothic("\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E");  // ＭＳ Ｐゴシック

// The stored fields of one object, with the values of a typical black-on-white rectangle.
struct Record {
  qint32 hasImage = 0;
  LRect pos{-100, 200, 300, 50};
  LRect page{1164, 1116, 764, 966};
  quint16 line = 1;
  qint32 penStyle = 6, penWidthX = 1, penWidthY = 1;
  quint32 penColor = 0x000000;
  quint16 fill = 1;
  qint32 brushStyle = 0;
  quint32 brushColor = 0xFFFFFF;
  qint32 hatch = 0;
  qint32 editableText = 0, semiTransparent = 0;
  QByteArray text;
  qint32 align = 1;
  qint32 lfHeight = -35, lfWidth = 0, lfEscapement = 0, lfOrientation = 0, lfWeight = 400;
  quint8 lfBytes[8] = {0, 0, 0, 128, 0, 0, 0, 0};
  QByteArray face = kSjisGothic;
  quint32 crText = 0x000000;
  qint32 editorOpen = 0, kind = 0, lineYSwapped = 0, lineXSwapped = 0, editArmed = 0;
  QByteArray fillName = kSjisAuto, lineName = kSjisAuto, textName = kSjisAuto;
  qint32 toolClass = 1;
  float weight = 1.0f;
  QByteArray picture;  // the embedded bytes when hasImage
  qint32 vRate = 1, hRate = 1;
  QByteArray obsoleteBlock;  // version 2, kinds 14 to 16: the skipped text

  // The common part in the form of `version`.
  QByteArray Common(int version) const {
    Bytes o;
    o.i32(hasImage).rect(pos).rect(page).u16(line);
    o.i32(penStyle).i32(penWidthX).i32(penWidthY).u32(penColor);
    o.u16(fill).i32(brushStyle).u32(brushColor).i32(hatch);
    o.i32(editableText).i32(semiTransparent).str(text).i32(align);
    o.i32(lfHeight).i32(lfWidth).i32(lfEscapement).i32(lfOrientation).i32(lfWeight);
    for (quint8 v : lfBytes) o.u8(v);
    QByteArray faceField = face.left(31);
    faceField.resize(32, '\0');
    o.raw(faceField);
    o.u32(crText).i32(editorOpen).i32(kind);
    if (version == 2 && kind >= 14 && kind <= 16) {
      o.u32(quint32(obsoleteBlock.size()));
      o.raw(obsoleteBlock);
    }
    o.i32(lineYSwapped).i32(lineXSwapped).i32(editArmed);
    o.str(fillName).str(lineName).str(textName).i32(toolClass).f32(weight);
    if (hasImage) o.i32(qint32(picture.size())).raw(picture);
    if (version == 3) o.i32(vRate).i32(hRate);
    return o.b;
  }
};

// The header of a file of `version`: mark (none for version 1), page rectangle, paper
// index, landscape flag.
inline QByteArray Header(int version, const LRect& page = {-864, -1166, 864, 1166},
                         qint32 paper = 0, qint32 landscape = 0) {
  Bytes h;
  if (version == 3) h.u32(0xFFFFFFFE);
  if (version == 2) h.u32(0xFFFFFFFF);
  return h.rect(page).i32(paper).i32(landscape).b;
}

}  // namespace lwtest
