#include "MfpForm.h"

#include <pugixml.hpp>
#include <tiffio.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <mutex>

namespace mfpsim {
namespace {

constexpr size_t kMaxParts = 16;
constexpr size_t kMaxPartHeaderBytes = 1024;
constexpr size_t kMaxFields = 1000;

bool Fail(std::string& error, std::string text) {
  error = std::move(text);
  return false;
}

std::string Lower(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
  return out;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// Splits "a; b=c; d" at semicolons.
std::vector<std::string_view> SplitParams(std::string_view s) {
  std::vector<std::string_view> out;
  while (true) {
    const size_t semi = s.find(';');
    out.push_back(Trim(s.substr(0, semi)));
    if (semi == std::string_view::npos) break;
    s.remove_prefix(semi + 1);
  }
  return out;
}

// The value of a parameter, unquoting "..." (no escapes are allowed inside).
bool ParamValue(std::string_view param, std::string_view key, std::string& value) {
  if (param.size() <= key.size() || Lower(param.substr(0, key.size())) != key || param[key.size()] != '=')
    return false;
  std::string_view v = param.substr(key.size() + 1);
  if (v.size() >= 2 && v.front() == '"' && v.back() == '"') {
    v = v.substr(1, v.size() - 2);
    if (v.find('"') != std::string_view::npos || v.find('\\') != std::string_view::npos) return false;
  }
  value.assign(v);
  return true;
}

bool ParsePartHeaders(std::string_view headers, FormPart& part, std::string& error) {
  bool haveDisposition = false;
  while (!headers.empty()) {
    const size_t eol = headers.find("\r\n");
    const std::string_view line = headers.substr(0, eol);
    headers.remove_prefix(eol == std::string_view::npos ? headers.size() : eol + 2);
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos) return Fail(error, "part header line without a colon");
    const std::string name = Lower(line.substr(0, colon));
    const std::string_view value = Trim(line.substr(colon + 1));
    if (name == "content-disposition") {
      if (haveDisposition) return Fail(error, "two Content-Disposition lines in one part");
      haveDisposition = true;
      const auto params = SplitParams(value);
      if (params.empty() || Lower(params[0]) != "form-data") return Fail(error, "part is not form-data");
      bool haveName = false;
      for (size_t i = 1; i < params.size(); ++i) {
        std::string v;
        if (ParamValue(params[i], "name", v)) {
          if (haveName) return Fail(error, "two names for one part");
          haveName = true;
          part.name = v;
        } else if (!ParamValue(params[i], "filename", v)) {
          return Fail(error, "unexpected Content-Disposition parameter");
        }
      }
      if (!haveName || part.name.empty()) return Fail(error, "part without a field name");
    } else if (name == "content-type") {
      if (!part.contentType.empty()) return Fail(error, "two Content-Type lines in one part");
      part.contentType.assign(value);
      if (part.contentType.empty()) return Fail(error, "empty part Content-Type");
    } else {
      return Fail(error, "unexpected part header '" + name + "'");
    }
  }
  if (!haveDisposition) return Fail(error, "part without Content-Disposition");
  return true;
}

bool IsInt(std::string_view s, int& value) {
  if (s.empty() || s.size() > 10) return false;
  size_t i = 0;
  bool neg = false;
  if (s[0] == '-') neg = true, i = 1;
  if (i == s.size()) return false;
  if (s[i] == '0' && s.size() > i + 1) return false;  // no leading zeros
  long long v = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
    v = v * 10 + (s[i] - '0');
  }
  if (neg) v = -v;
  if (v < INT32_MIN || v > INT32_MAX) return false;
  if (neg && v == 0) return false;
  value = static_cast<int>(v);
  return true;
}

// The only element children of `parent` must be exactly `names`, in this order, with no
// text beside them.
bool ExpectChildren(const pugi::xml_node& parent, std::initializer_list<const char*> names,
                    std::vector<pugi::xml_node>& out, std::string& error) {
  out.clear();
  auto it = names.begin();
  for (pugi::xml_node c : parent.children()) {
    if (c.type() == pugi::node_comment) continue;
    if (c.type() != pugi::node_element) return Fail(error, std::string("stray text in ") + parent.name());
    if (it == names.end() || std::strcmp(c.name(), *it) != 0)
      return Fail(error, std::string("unexpected element ") + c.name() + " in " + parent.name());
    out.push_back(c);
    ++it;
  }
  if (it != names.end()) return Fail(error, std::string("missing element ") + *it + " in " + parent.name());
  return true;
}

// The text of an element that holds only text (or nothing).
bool LeafText(const pugi::xml_node& e, std::string& text, std::string& error) {
  text.clear();
  for (pugi::xml_node c : e.children()) {
    if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata) text += c.value();
    else if (c.type() != pugi::node_comment) return Fail(error, std::string("element ") + e.name() + " must hold text only");
  }
  return true;
}

bool LeafInt(const pugi::xml_node& e, int& value, std::string& error) {
  std::string t;
  if (!LeafText(e, t, error)) return false;
  if (!IsInt(t, value)) return Fail(error, std::string("element ") + e.name() + " is not a decimal number");
  return true;
}

bool ReadPair(const pugi::xml_node& e, int& x, int& y, std::string& error) {
  std::vector<pugi::xml_node> xy;
  return ExpectChildren(e, {"X", "Y"}, xy, error) && LeafInt(xy[0], x, error) && LeafInt(xy[1], y, error);
}

bool KnownKey(std::string_view group, std::string_view key) {
  static const char* const kPerson[] = {"NAME",    "COMPANY",         "SECTION",   "ZIPCODE",    "ADDRESS",
                                        "TELEPHONENUMBER", "FAXNUMBER", "SUBADDRESS", "PASSWORD", "MAILADDRESS"};
  static const char* const kMessage[] = {"COMMENT", "SUBJECT", "PAGES", "TIMESTAMP"};
  if (group == "MESSAGEINFO") return std::find(std::begin(kMessage), std::end(kMessage), key) != std::end(kMessage);
  return std::find(std::begin(kPerson), std::end(kPerson), key) != std::end(kPerson);
}

bool ParseField(const char* group, const pugi::xml_node& e, RequestField& f, std::string& error) {
  f.group = group;
  f.key = e.name();
  if (!KnownKey(group, f.key)) return Fail(error, "unknown field " + f.key + " in " + group);
  std::vector<pugi::xml_node> parts;
  if (!ExpectChildren(e, {"POSITION", "SIZE", "FONTSIZE", "ALLIGN"}, parts, error)) return false;
  if (!ReadPair(parts[0], f.x, f.y, error) || !ReadPair(parts[1], f.width, f.height, error) ||
      !ReadPair(parts[2], f.hrate, f.vrate, error) || !LeafText(parts[3], f.align, error))
    return false;
  if (f.align != "LEFT" && f.align != "CENTER" && f.align != "RIGHT") return Fail(error, "bad ALLIGN " + f.align);
  if (f.hrate < 1 || f.hrate > 4 || f.vrate < 1 || f.vrate > 4) return Fail(error, "FONTSIZE out of 1..4");
  if (f.width < 0 || f.height < 0) return Fail(error, "negative SIZE");
  return true;
}

// libtiff reads the image from memory through these.
struct MemTiff {
  std::string_view bytes;
  toff_t pos = 0;
};
tsize_t MemRead(thandle_t h, tdata_t buf, tsize_t size) {
  auto* m = static_cast<MemTiff*>(h);
  if (m->pos >= m->bytes.size()) return 0;
  const size_t n = std::min<size_t>(static_cast<size_t>(size), m->bytes.size() - m->pos);
  std::memcpy(buf, m->bytes.data() + m->pos, n);
  m->pos += n;
  return static_cast<tsize_t>(n);
}
tsize_t MemWrite(thandle_t, tdata_t, tsize_t) { return -1; }
toff_t MemSeek(thandle_t h, toff_t off, int whence) {
  auto* m = static_cast<MemTiff*>(h);
  toff_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? m->pos : m->bytes.size();
  m->pos = base + off;
  return m->pos;
}
int MemClose(thandle_t) { return 0; }
toff_t MemSize(thandle_t h) { return static_cast<MemTiff*>(h)->bytes.size(); }
int MemMap(thandle_t, tdata_t*, toff_t*) { return 0; }
void MemUnmap(thandle_t, tdata_t, toff_t) {}

}  // namespace

bool ParseMultipartForm(std::string_view contentType, std::string_view body, std::vector<FormPart>& parts,
                        std::string& error) {
  parts.clear();
  const auto params = SplitParams(contentType);
  if (params.empty() || Lower(params[0]) != "multipart/form-data") return Fail(error, "not multipart/form-data");
  std::string boundary;
  for (size_t i = 1; i < params.size(); ++i)
    if (ParamValue(params[i], "boundary", boundary)) break;
  if (boundary.empty() || boundary.size() > 70) return Fail(error, "missing or bad boundary parameter");
  const std::string delimiter = "--" + boundary;
  const std::string separator = "\r\n" + delimiter;

  if (body.substr(0, delimiter.size() + 2) != delimiter + "\r\n") return Fail(error, "body does not start with the delimiter");
  size_t pos = delimiter.size() + 2;
  while (true) {
    if (parts.size() == kMaxParts) return Fail(error, "too many parts");
    const size_t headEnd = body.find("\r\n\r\n", pos);
    if (headEnd == std::string_view::npos || headEnd - pos > kMaxPartHeaderBytes)
      return Fail(error, "part headers do not end");
    FormPart part;
    if (!ParsePartHeaders(body.substr(pos, headEnd - pos), part, error)) return false;
    const size_t dataStart = headEnd + 4;
    const size_t dataEnd = body.find(separator, dataStart);
    if (dataEnd == std::string_view::npos) return Fail(error, "part '" + part.name + "' is not closed by a delimiter");
    part.data = body.substr(dataStart, dataEnd - dataStart);
    parts.push_back(std::move(part));
    pos = dataEnd + separator.size();
    const std::string_view rest = body.substr(pos);
    if (rest.substr(0, 2) == "\r\n") {
      pos += 2;
      continue;
    }
    if (rest == "--\r\n") return true;
    return Fail(error, "bad bytes after a delimiter");
  }
}

bool CheckCommandForm(const std::vector<FormPart>& parts, std::string_view& xml, std::string& error) {
  if (parts.size() != 2 || parts[0].name != "version" || parts[1].name != "datafile")
    return Fail(error, "a command form holds the fields version and datafile");
  if (parts[0].data != "1" || !parts[0].contentType.empty()) return Fail(error, "version must be 1");
  if (parts[1].contentType != "application/octet-stream") return Fail(error, "datafile must be application/octet-stream");
  xml = parts[1].data;
  return true;
}

bool CheckImageForm(const std::vector<FormPart>& parts, uint32_t& serviceId, std::string_view& image,
                    std::string& error) {
  if (parts.size() != 3 || parts[0].name != "serviceid" || parts[1].name != "pagenumber" || parts[2].name != "binfile")
    return Fail(error, "an image form holds the fields serviceid, pagenumber and binfile");
  const std::string_view id = parts[0].data;
  if (id.size() != 8 || !std::all_of(id.begin(), id.end(), [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }))
    return Fail(error, "serviceid must be eight lower-case hexadecimal digits");
  serviceId = static_cast<uint32_t>(std::stoul(std::string(id), nullptr, 16));
  if (parts[1].data != "1") return Fail(error, "pagenumber must be 1");
  if (parts[2].contentType != "application/octet-stream") return Fail(error, "binfile must be application/octet-stream");
  image = parts[2].data;
  return true;
}

bool ParseCommandRequest(std::string_view xml, CommandRequest& request, std::string& error) {
  request = CommandRequest{};
  pugi::xml_document doc;
  const auto result = doc.load_buffer(xml.data(), xml.size(), pugi::parse_default | pugi::parse_declaration,
                                      pugi::encoding_utf8);
  if (!result) return Fail(error, std::string("XML: ") + result.description());
  pugi::xml_node decl = doc.first_child();
  if (decl.type() != pugi::node_declaration || std::string_view(decl.attribute("version").value()) != "1.0")
    return Fail(error, "the request must begin with an XML declaration of version 1.0");
  if (pugi::xml_attribute enc = decl.attribute("encoding"); enc && Lower(enc.value()) != "utf-8")
    return Fail(error, "the request must be UTF-8");
  pugi::xml_node job = doc.document_element();
  int elements = 0;
  for (pugi::xml_node c : doc.children())
    if (c.type() == pugi::node_element) ++elements;
  if (elements != 1 || std::strcmp(job.name(), "JOB") != 0) return Fail(error, "the root element must be JOB");
  std::vector<pugi::xml_node> head;
  if (!ExpectChildren(job, {"COMMAND", "TYPE", "PARAM"}, head, error)) return false;
  std::string command, type;
  if (!LeafText(head[0], command, error) || !LeafText(head[1], type, error)) return false;
  if (type != "COVERPAGE") return Fail(error, "TYPE must be COVERPAGE");
  std::vector<pugi::xml_node> param;
  if (!ExpectChildren(head[2], {"COVERPAGE"}, param, error)) return false;
  const pugi::xml_node cover = param[0];
  if (command == "LIST") {
    request.kind = CommandRequest::Kind::List;
    std::string text;
    if (!LeafText(cover, text, error)) return false;
    if (text != "\xE3\x80\x80") return Fail(error, "the list request's COVERPAGE must hold one ideographic space");
    return true;
  }
  if (command != "CREATE") return Fail(error, "unknown COMMAND " + command);
  request.kind = CommandRequest::Kind::Create;
  std::vector<pugi::xml_node> c;
  if (!ExpectChildren(cover, {"COVERPAGEID", "NAME", "ADDRESSEEINFO", "MESSAGEINFO", "SENDERINFO"}, c, error))
    return false;
  if (!LeafInt(c[0], request.coverPageId, error) || !LeafText(c[1], request.name, error)) return false;
  for (size_t g = 2; g < 5; ++g) {
    for (pugi::xml_node f : c[g].children()) {
      if (f.type() == pugi::node_comment) continue;
      if (f.type() != pugi::node_element) return Fail(error, std::string("stray text in ") + c[g].name());
      if (request.fields.size() == kMaxFields) return Fail(error, "too many fields");
      RequestField field;
      if (!ParseField(c[g].name(), f, field, error)) return false;
      request.fields.push_back(std::move(field));
    }
  }
  return true;
}

bool CheckFaxTiff(std::string_view bytes, std::string& error) {
  static std::once_flag quiet;
  std::call_once(quiet, [] {
    TIFFSetErrorHandler(nullptr);
    TIFFSetWarningHandler(nullptr);
  });
  if (bytes.size() < 8) return Fail(error, "the image is too short to be a TIFF");
  MemTiff mem{bytes};
  TIFF* tif = TIFFClientOpen("binfile", "rm", &mem, MemRead, MemWrite, MemSeek, MemClose, MemSize, MemMap, MemUnmap);
  if (!tif) return Fail(error, "the image is not a TIFF file");
  struct Closer {
    TIFF* t;
    ~Closer() { TIFFClose(t); }
  } closer{tif};
  uint32_t width = 0, height = 0;
  uint16_t compression = 0, bits = 0, samples = 1;
  TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width);
  TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height);
  TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &compression);
  TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
  TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
  if (width != 1728 || height != 2332)
    return Fail(error, "the page is " + std::to_string(width) + " x " + std::to_string(height) + ", not 1728 x 2332");
  if (compression != COMPRESSION_CCITTFAX4) return Fail(error, "the image is not T.6 (CCITT group 4) coded");
  if (bits != 1 || samples != 1) return Fail(error, "the image is not one bit per pixel");
  if (TIFFReadDirectory(tif)) return Fail(error, "the TIFF holds more than one page");
  if (!TIFFSetDirectory(tif, 0)) return Fail(error, "the TIFF's page cannot be read again");
  const tmsize_t stripSize = TIFFStripSize(tif);
  const uint32_t strips = TIFFNumberOfStrips(tif);
  if (stripSize <= 0 || strips == 0 || strips > height) return Fail(error, "the TIFF's strips are broken");
  std::vector<unsigned char> buf(static_cast<size_t>(stripSize));
  for (uint32_t s = 0; s < strips; ++s)
    if (TIFFReadEncodedStrip(tif, s, buf.data(), stripSize) < 0)
      return Fail(error, "strip " + std::to_string(s) + " does not decode");
  return true;
}

}  // namespace mfpsim
