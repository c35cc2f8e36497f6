#include "document/ObjectSerialize.h"

#include "base/TempFiles.h"
#include "document/Archive.h"
#include "document/CDrawImage.h"
#include "document/CDrawRect.h"
#include "document/DocGlobals.h"
#include "document/ObjectKind.h"

#include <QFile>

#include <cmath>
#include <cstdio>
#include <limits>

namespace lw {
namespace {

enum StoredClass { kClassRect = 0, kClassImage = 1, kClassObj = 2 };

// Recipient kinds whose version 2 records carry an obsolete text block after the kind.
bool HasObsoleteBlock(int kind) { return kind >= 14 && kind <= 16; }

int ClampToInt(double v) {
  if (!(v >= double(std::numeric_limits<int>::min()))) return std::numeric_limits<int>::min();
  if (v > double(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
  return int(v);
}

// Version 2 pages were drawn at a coarser scale: positions grow by 2.1 (truncated towards
// zero) and font heights double.
int ScaleVersion2(int v) { return ClampToInt(std::trunc(double(v) * 2.1)); }

void WriteRect(ArchiveWriter& out, const LRect& r) {
  out.WriteInt(r.left);
  out.WriteInt(r.top);
  out.WriteInt(r.right);
  out.WriteInt(r.bottom);
}

LRect ReadRect(ArchiveReader& in) {
  LRect r;
  r.left = in.ReadInt();
  r.top = in.ReadInt();
  r.right = in.ReadInt();
  r.bottom = in.ReadInt();
  return r;
}

void WriteFont(ArchiveWriter& out, const LOGFONT& f) {
  out.WriteInt(f.lfHeight);
  out.WriteInt(f.lfWidth);
  out.WriteInt(f.lfEscapement);
  out.WriteInt(f.lfOrientation);
  out.WriteInt(f.lfWeight);
  out.WriteByte(f.lfItalic);
  out.WriteByte(f.lfUnderline);
  out.WriteByte(f.lfStrikeOut);
  out.WriteByte(f.lfCharSet);
  out.WriteByte(f.lfOutPrecision);
  out.WriteByte(f.lfClipPrecision);
  out.WriteByte(f.lfQuality);
  out.WriteByte(f.lfPitchAndFamily);
  out.WriteFixedString(f.lfFaceName, LF_FACESIZE);
}

LOGFONT ReadFont(ArchiveReader& in) {
  LOGFONT f;
  f.lfHeight = in.ReadInt();
  f.lfWidth = in.ReadInt();
  f.lfEscapement = in.ReadInt();
  f.lfOrientation = in.ReadInt();
  f.lfWeight = in.ReadInt();
  f.lfItalic = in.ReadByte();
  f.lfUnderline = in.ReadByte();
  f.lfStrikeOut = in.ReadByte();
  f.lfCharSet = in.ReadByte();
  f.lfOutPrecision = in.ReadByte();
  f.lfClipPrecision = in.ReadByte();
  f.lfQuality = in.ReadByte();
  f.lfPitchAndFamily = in.ReadByte();
  f.lfFaceName = in.ReadFixedString(LF_FACESIZE);
  return f;
}

// A working file opened for the picture's 4096-byte blocks, with a larger stdio buffer so that
// the system is called once per 64 KiB rather than once per block.
std::FILE* OpenBuffered(const QByteArray& path, const char* mode) {
  std::FILE* file = std::fopen(path.constData(), mode);
  if (file) std::setvbuf(file, nullptr, _IOFBF, 64 * 1024);
  return file;
}

void WriteCommonPart(ArchiveWriter& out, const CDrawObj& o) {
  out.WriteInt(o.m_bHasImage);
  WriteRect(out, o.m_rcPos);
  WriteRect(out, o.m_rcPage);
  out.WriteWord(quint16(o.m_bLine));
  out.WriteInt(o.m_lineSpec.lopnStyle);
  out.WriteInt(o.m_lineSpec.lopnWidth.x);
  out.WriteInt(o.m_lineSpec.lopnWidth.y);
  out.WriteDword(o.m_lineSpec.lopnColor);
  out.WriteWord(quint16(o.m_bFill));
  out.WriteInt(o.m_fillSpec.lbStyle);
  out.WriteDword(o.m_fillSpec.lbColor);
  out.WriteInt(o.m_fillSpec.lbHatch);
  out.WriteInt(o.m_bEditableText);
  out.WriteInt(o.m_bSemiTransparent);
  out.WriteString(o.m_strText);
  out.WriteInt(o.m_nAlign);
  WriteFont(out, o.m_textFont);
  out.WriteDword(o.m_crText);
  out.WriteInt(o.m_bEditorOpen);
  out.WriteInt(o.m_nKind);
  out.WriteInt(o.m_bLineYSwapped);
  out.WriteInt(o.m_bLineXSwapped);
  out.WriteInt(o.m_bEditArmed);
  out.WriteString(o.m_strFillColorName);
  out.WriteString(o.m_strLineColorName);
  out.WriteString(o.m_strTextColorName);
  out.WriteInt(o.m_nToolClass);
  out.WriteFloat(o.m_fLineWeight);
  if (o.m_bHasImage) {
    // A negative count cannot be read back; such an object stores an empty picture.
    const int bytes = std::max(o.m_nImageBytes, 0);
    out.WriteInt(bytes);
    std::FILE* file = nullptr;
    if (!o.m_strImageFile.isEmpty()) file = OpenBuffered(QFile::encodeName(o.m_strImageFile), "rbe");
    // A missing or short working file is not reported: the block keeps its stated length.
    out.CopyFromFile(file, bytes);
    if (file) std::fclose(file);
  }
  out.WriteInt(o.m_nVRate);
  out.WriteInt(o.m_nHRate);
}

// Streams the embedded picture into a new working file and names it in m_strImageFile.
void ExtractPicture(ArchiveReader& in, CDrawObj& o) {
  if (o.m_nImageBytes < 0) in.Fail("negative picture byte count");
  in.Require(o.m_nImageBytes, "picture");
  const std::string path = lw::MakeTempFile("lwt", ".tmp");
  std::FILE* file = nullptr;
  if (!path.empty()) {
    o.m_strImageFile = QFile::decodeName(QByteArray::fromStdString(path));
    file = OpenBuffered(QByteArray::fromStdString(path), "wbe");
  }
  // A failing working file is not reported; the bytes are consumed all the same.
  in.CopyToFile(o.m_nImageBytes, file);
  if (file) std::fclose(file);
}

void ReadCommonPart(ArchiveReader& in, CDrawObj& o, int version) {
  o.m_bHasImage = in.ReadInt();
  o.m_rcPos = ReadRect(in);
  o.m_rcPage = ReadRect(in);
  o.m_bLine = in.ReadWord();
  o.m_lineSpec.lopnStyle = in.ReadInt();
  o.m_lineSpec.lopnWidth.x = in.ReadInt();
  o.m_lineSpec.lopnWidth.y = in.ReadInt();
  o.m_lineSpec.lopnColor = in.ReadDword();
  o.m_bFill = in.ReadWord();
  o.m_fillSpec.lbStyle = in.ReadInt();
  o.m_fillSpec.lbColor = in.ReadDword();
  o.m_fillSpec.lbHatch = in.ReadInt();
  o.m_bEditableText = in.ReadInt();
  o.m_bSemiTransparent = in.ReadInt();
  o.m_strText = in.ReadString();
  o.m_nAlign = in.ReadInt();
  o.m_textFont = ReadFont(in);
  o.m_crText = in.ReadDword();
  o.m_bEditorOpen = in.ReadInt();
  o.m_nKind = in.ReadInt();
  if (version == 2 && HasObsoleteBlock(o.m_nKind)) {
    const quint32 m = in.ReadDword();
    if (m > 0) in.Skip(qint64(m));
  }
  o.m_bLineYSwapped = in.ReadInt();
  o.m_bLineXSwapped = in.ReadInt();
  o.m_bEditArmed = in.ReadInt();
  o.m_strFillColorName = in.ReadString();
  o.m_strLineColorName = in.ReadString();
  o.m_strTextColorName = in.ReadString();
  o.m_nToolClass = in.ReadInt();
  o.m_fLineWeight = in.ReadFloat();

  if (version == 2) {
    o.m_rcPos = {ScaleVersion2(o.m_rcPos.left), ScaleVersion2(o.m_rcPos.top),
                 ScaleVersion2(o.m_rcPos.right), ScaleVersion2(o.m_rcPos.bottom)};
    o.m_textFont.lfHeight = ClampToInt(double(o.m_textFont.lfHeight) * 2);
    // Version 2 named the cyan guide frame of text objects "水色".
    if (IsTextKind(o.m_nKind) && o.m_strLineColorName == QStringLiteral("水色")) {
      o.m_strLineColorName = DefaultAutoLabel();
      o.m_lineSpec.lopnColor = kColorCyan;
    }
  }

  if (o.m_bHasImage) {
    o.m_nImageBytes = in.ReadInt();
    ExtractPicture(in, o);
  }
  if (version >= 3) {
    o.m_nVRate = in.ReadInt();
    o.m_nHRate = in.ReadInt();
  }

  NormaliseColours(o);
  o.m_bEditArmed = 0;
  o.m_bEditorOpen = 0;
}

bool IsBlackOrWhite(COLORREF c) { return c == kColorBlack || c == kColorWhite; }

}  // namespace

const std::vector<const char*>& StoredClassNames() {
  static const std::vector<const char*> names{"CDrawRect", "CDrawImage", "CDrawObj"};
  return names;
}

std::unique_ptr<CDrawObj> CreateStoredObject(int classIndex) {
  switch (classIndex) {
    case kClassRect:
      return std::make_unique<CDrawRect>();
    case kClassImage:
      return std::make_unique<CDrawImage>();
    case kClassObj:
      return std::make_unique<CDrawObj>();
    default:
      return nullptr;
  }
}

void WriteObjectData(ArchiveWriter& out, const CDrawObj& obj) {
  if (const auto* rect = dynamic_cast<const CDrawRect*>(&obj)) {
    out.WriteWord(quint16(rect->m_nShape));
    if (quint16(rect->m_nShape) == kShapeFreehand) {
      // Only points that exist are stored, and never more than the stated capacity.
      const int count =
          rect->m_pPoints ? std::clamp(rect->m_nPoints, 0, std::max(rect->m_nPointsAlloc, 0)) : 0;
      out.WriteInt(count);
      out.WriteInt(std::max(rect->m_nPointsAlloc, count));
      for (int i = 0; i < count; ++i) {
        out.WriteInt(rect->m_pPoints[i].x);
        out.WriteInt(rect->m_pPoints[i].y);
      }
    }
  }
  WriteCommonPart(out, obj);
}

void ReadObjectData(ArchiveReader& in, CDrawObj& obj, int version, CDrawDoc* owner) {
  auto* rect = dynamic_cast<CDrawRect*>(&obj);
  if (rect) {
    rect->m_nShape = in.ReadWord();
    if (rect->m_nShape == kShapeFreehand) {
      const qint32 count = in.ReadInt();
      const qint32 capacity = in.ReadInt();
      if (count < 0 || capacity < 0) in.Fail("negative point count");
      if (count > capacity)
        in.Fail(std::to_string(count) + " points in room for " + std::to_string(capacity));
      // Every point of the capacity must be backed by bytes of the stream, so that a few
      // bytes cannot ask for gigabytes.
      in.Require(qint64(capacity) * 8, "point capacity");
      if (!rect->ReservePoints(capacity)) in.Fail("no memory for the points");
      for (qint32 i = 0; i < count; ++i) {
        rect->m_pPoints[i].x = in.ReadInt();
        rect->m_pPoints[i].y = in.ReadInt();
      }
      rect->m_nPoints = count;
    }
    rect->m_nShapeCode = ShapeCodeForShape(rect->m_nShape);
  } else {
    obj.m_nShapeCode = kShapeCodeRectangle;
  }
  obj.m_pOwnerDoc = owner;
  ReadCommonPart(in, obj, version);
}

void NormaliseColours(CDrawObj& o) {
  if (!IsBlackOrWhite(o.m_lineSpec.lopnColor)) {
    if (IsTextKind(o.m_nKind)) {
      if (IsAutoColorName(o.m_strLineColorName)) {
        o.m_lineSpec.lopnWidth = {0, 0};
        o.m_lineSpec.lopnStyle = PS_INSIDEFRAME;
        o.m_fLineWeight = 0.0f;
        o.m_bLine = 0;
      }
    } else {
      o.m_lineSpec.lopnColor = kColorBlack;
      o.m_strLineColorName = BlackColorName();
    }
  }
  if (!IsBlackOrWhite(o.m_fillSpec.lbColor)) {
    o.m_fillSpec.lbColor = kColorBlack;
    o.m_strFillColorName = BlackColorName();
  }
  if (!IsBlackOrWhite(o.m_crText)) {
    o.m_crText = kColorBlack;
    o.m_strTextColorName = BlackColorName();
  }
}

}  // namespace lw
