// lwtool dump FILE.lwt: the document as JSON, every stored member under its own name, in the
// order the file stores them. Strings are UTF-8; a picture is shown by its byte count.
#include <QByteArray>
#include <QString>

#include <charconv>
#include <cmath>
#include <cstdio>

#include "Command.h"
#include "document/CDrawDoc.h"
#include "document/CDrawImage.h"
#include "document/CDrawRect.h"
#include "document/DocFile.h"
#include "document/DocGlobals.h"
#include "document/MessageSeam.h"

namespace {

// A small ordered JSON writer: QJsonObject would sort the members by name.
class Json {
 public:
  QByteArray out;

  void Open(char c) {
    Separate();
    out += c;
    ++m_depth;
    m_first = true;
  }
  void Close(char c) {
    --m_depth;
    if (!m_first) NewLine();
    out += c;
    m_first = false;
  }
  void Key(const char* name) {
    Separate();
    Quoted(QString::fromLatin1(name));
    out += ": ";
    m_afterKey = true;
  }
  void Int(qint64 v) {
    Separate();
    out += QByteArray::number(v);
  }
  void Float(float v) {
    Separate();
    if (!std::isfinite(v)) {
      out += "null";
      return;
    }
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, r.ptr - buf);
  }
  void String(const QString& s) {
    Separate();
    Quoted(s);
  }
  void Quoted(const QString& s) {
    out += '"';
    for (char c : s.toUtf8()) {
      const uchar u = uchar(c);
      if (c == '"' || c == '\\') {
        out += '\\';
        out += c;
      } else if (u < 0x20) {
        out += QByteArray("\\u00") + QByteArray::number(u, 16).rightJustified(2, '0');
      } else {
        out += c;
      }
    }
    out += '"';
  }
  // A short array of numbers on one line.
  void Ints(std::initializer_list<qint64> values) {
    Separate();
    out += '[';
    bool first = true;
    for (qint64 v : values) {
      if (!first) out += ", ";
      out += QByteArray::number(v);
      first = false;
    }
    out += ']';
  }

 private:
  void Separate() {
    if (m_afterKey) {
      m_afterKey = false;
      return;
    }
    if (!m_first) out += ',';
    if (m_depth > 0) NewLine();
    m_first = false;
  }
  void NewLine() {
    out += '\n';
    out += QByteArray(m_depth * 2, ' ');
  }
  int m_depth = 0;
  bool m_first = true;
  bool m_afterKey = false;
};

void Rect(Json& j, const char* key, const LRect& r) {
  j.Key(key);
  j.Ints({r.left, r.top, r.right, r.bottom});
}

void DumpObject(Json& j, const CDrawObj& o) {
  j.Open('{');
  j.Key("class");
  j.String(QString::fromLatin1(o.ClassName()));
  if (const auto* r = dynamic_cast<const CDrawRect*>(&o)) {
    j.Key("m_nShape");
    j.Int(r->m_nShape);
    if (r->m_nShape == 3) {
      j.Key("m_nPoints");
      j.Int(r->m_nPoints);
      j.Key("m_nPointsAlloc");
      j.Int(r->m_nPointsAlloc);
      j.Key("m_pPoints");
      j.Open('[');
      for (int i = 0; r->m_pPoints && i < r->m_nPoints; ++i) j.Ints({r->m_pPoints[i].x, r->m_pPoints[i].y});
      j.Close(']');
    }
  }
  j.Key("m_bHasImage");
  j.Int(o.m_bHasImage);
  Rect(j, "m_rcPos", o.m_rcPos);
  Rect(j, "m_rcPage", o.m_rcPage);
  j.Key("m_bLine");
  j.Int(o.m_bLine);
  j.Key("m_lineSpec");
  j.Open('{');
  j.Key("lopnStyle");
  j.Int(o.m_lineSpec.lopnStyle);
  j.Key("lopnWidth");
  j.Ints({o.m_lineSpec.lopnWidth.x, o.m_lineSpec.lopnWidth.y});
  j.Key("lopnColor");
  j.Int(o.m_lineSpec.lopnColor);
  j.Close('}');
  j.Key("m_bFill");
  j.Int(o.m_bFill);
  j.Key("m_fillSpec");
  j.Open('{');
  j.Key("lbStyle");
  j.Int(o.m_fillSpec.lbStyle);
  j.Key("lbColor");
  j.Int(o.m_fillSpec.lbColor);
  j.Key("lbHatch");
  j.Int(o.m_fillSpec.lbHatch);
  j.Close('}');
  j.Key("m_bEditableText");
  j.Int(o.m_bEditableText);
  j.Key("m_bSemiTransparent");
  j.Int(o.m_bSemiTransparent);
  j.Key("m_strText");
  j.String(o.m_strText);
  j.Key("m_nAlign");
  j.Int(o.m_nAlign);
  const LOGFONT& f = o.m_textFont;
  j.Key("m_textFont");
  j.Open('{');
  const std::pair<const char*, qint64> fontFields[] = {
      {"lfHeight", f.lfHeight},           {"lfWidth", f.lfWidth},
      {"lfEscapement", f.lfEscapement},   {"lfOrientation", f.lfOrientation},
      {"lfWeight", f.lfWeight},           {"lfItalic", f.lfItalic},
      {"lfUnderline", f.lfUnderline},     {"lfStrikeOut", f.lfStrikeOut},
      {"lfCharSet", f.lfCharSet},         {"lfOutPrecision", f.lfOutPrecision},
      {"lfClipPrecision", f.lfClipPrecision}, {"lfQuality", f.lfQuality},
      {"lfPitchAndFamily", f.lfPitchAndFamily}};
  for (const auto& [name, value] : fontFields) {
    j.Key(name);
    j.Int(value);
  }
  j.Key("lfFaceName");
  j.String(f.lfFaceName);
  j.Close('}');
  j.Key("m_crText");
  j.Int(o.m_crText);
  j.Key("m_bEditorOpen");
  j.Int(o.m_bEditorOpen);
  j.Key("m_nKind");
  j.Int(o.m_nKind);
  j.Key("m_bLineYSwapped");
  j.Int(o.m_bLineYSwapped);
  j.Key("m_bLineXSwapped");
  j.Int(o.m_bLineXSwapped);
  j.Key("m_bEditArmed");
  j.Int(o.m_bEditArmed);
  j.Key("m_strFillColorName");
  j.String(o.m_strFillColorName);
  j.Key("m_strLineColorName");
  j.String(o.m_strLineColorName);
  j.Key("m_strTextColorName");
  j.String(o.m_strTextColorName);
  j.Key("m_nToolClass");
  j.Int(o.m_nToolClass);
  j.Key("m_fLineWeight");
  j.Float(o.m_fLineWeight);
  if (o.m_bHasImage) {
    j.Key("m_nImageBytes");
    j.Int(o.m_nImageBytes);
  }
  j.Key("m_nVRate");
  j.Int(o.m_nVRate);
  j.Key("m_nHRate");
  j.Int(o.m_nHRate);
  j.Close('}');
}

int Dump(const QStringList& args) {
  if (args.size() != 1) return lwtool::Fail(QStringLiteral("usage: lwtool dump FILE.lwt"));
  // The reader's own result names the problem; the message seam has nothing to add here.
  const lw::MessageHandler previous = lw::SetMessageHandler([](int, const QString&) {});
  // The pictures' bytes are all this command needs; decoding them is left out.
  lw::SetPictureLoader(nullptr);
  CDrawDoc doc;
  const lw::FileResult r = lw::ReadDocumentFile(args[0], doc);
  lw::SetMessageHandler(previous);
  if (!r.ok()) return lwtool::Fail(r.Describe(args[0]));

  Json j;
  j.Open('{');
  j.Key("version");
  j.Int(r.version);
  j.Key("pageRect");
  j.Ints({g_rcPage.left, g_rcPage.top, g_rcPage.right, g_rcPage.bottom});
  j.Key("paperIndex");
  j.Int(g_nPaperIndex);
  j.Key("landscape");
  j.Int(g_bLandscape);
  j.Key("objects");
  j.Open('[');
  for (const CDrawObj* o : std::as_const(doc.m_objects)) DumpObject(j, *o);
  j.Close(']');
  j.Close('}');
  j.out += '\n';
  // The extracted picture files are not needed.
  doc.DeleteAllObjects();
  std::fwrite(j.out.constData(), 1, size_t(j.out.size()), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace

LWTOOL_COMMAND("dump", "dump FILE.lwt", Dump);
