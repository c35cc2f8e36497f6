#include "upload/UploadMessages.h"

#include <pugixml.hpp>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sstream>

namespace lw {
namespace {

QString FromUtf8(const char* s) { return QString::fromUtf8(s); }

std::string ToUtf8(const QString& s) { return s.toUtf8().toStdString(); }

// Element names the writer may use: a field key that is not a plain XML name (empty, or
// handed in by a caller other than the document) produces no element, like an empty key.
bool IsPlainXmlName(const QString& name) {
  if (name.isEmpty()) return false;
  for (qsizetype i = 0; i < name.size(); ++i) {
    const char16_t c = name[i].unicode();
    const bool alpha = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
    const bool rest = (c >= '0' && c <= '9') || c == '-' || c == '.';
    if (!(alpha || (i > 0 && rest))) return false;
  }
  return true;
}

pugi::xml_node AppendText(pugi::xml_node parent, const char* name, const std::string& text) {
  pugi::xml_node e = parent.append_child(name);
  if (e && !text.empty()) e.append_child(pugi::node_pcdata).set_value(text.c_str());
  return e;
}

// "X" and "Y" under a new element `name`; an element that cannot be made is left out.
void AppendPair(pugi::xml_node parent, const char* name, int x, int y) {
  pugi::xml_node e = parent.append_child(name);
  if (!e) return;
  AppendText(e, "X", std::to_string(x));
  AppendText(e, "Y", std::to_string(y));
}

void AppendFields(pugi::xml_node group, const std::vector<FieldPlacement>& fields) {
  for (const FieldPlacement& f : fields) {
    if (!IsPlainXmlName(f.key)) continue;
    pugi::xml_node e = group.append_child(ToUtf8(f.key).c_str());
    if (!e) continue;
    AppendPair(e, "POSITION", f.x, f.y);
    AppendPair(e, "SIZE", f.width, f.height);
    AppendPair(e, "FONTSIZE", f.hrate, f.vrate);
    AppendText(e, "ALLIGN", ToUtf8(f.align));
  }
}

// The common head of every request: the declaration (version only, so the text is UTF-8)
// and the "JOB" element with "COMMAND", "TYPE" and "PARAM"/"COVERPAGE".
pugi::xml_node BuildRequestHead(pugi::xml_document& doc, const char* command) {
  pugi::xml_node decl = doc.append_child(pugi::node_declaration);
  if (!decl) return {};
  decl.append_attribute("version").set_value("1.0");
  pugi::xml_node job = doc.append_child("JOB");
  if (!job) return {};
  if (!AppendText(job, "COMMAND", command)) return {};
  if (!AppendText(job, "TYPE", "COVERPAGE")) return {};
  pugi::xml_node param = job.append_child("PARAM");
  if (!param) return {};
  return param.append_child("COVERPAGE");
}

bool BuildCreate(pugi::xml_document& doc, const PageFieldSet& set) {
  pugi::xml_node cover = BuildRequestHead(doc, "CREATE");
  if (!cover) return false;
  // Inside "COVERPAGE" an element that cannot be made ends the message there.
  if (!AppendText(cover, "COVERPAGEID", std::to_string(set.coverPageId))) return true;
  if (!AppendText(cover, "NAME", ToUtf8(set.title))) return true;
  const std::pair<const char*, const std::vector<FieldPlacement>*> groups[] = {
      {"ADDRESSEEINFO", &set.recipients}, {"MESSAGEINFO", &set.messages}, {"SENDERINFO", &set.senders}};
  for (const auto& [name, list] : groups) {
    pugi::xml_node g = cover.append_child(name);
    if (!g) return true;
    AppendFields(g, *list);
  }
  return true;
}

bool BuildList(pugi::xml_document& doc) {
  pugi::xml_node cover = BuildRequestHead(doc, "LIST");
  if (!cover) return false;
  cover.append_child(pugi::node_pcdata).set_value("\xE3\x80\x80");  // U+3000 ideographic space
  return true;
}

std::string Serialize(const pugi::xml_document& doc) {
  std::ostringstream out;
  doc.save(out, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
  return out.str();
}

int SaveTo(const std::string& path, const std::string& bytes) {
  // A failure to save is not reported here: the transport finds the file missing or short.
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  return 0;
}

// Reads at most kMaxResponseBytes + 1 bytes, so a larger file is recognised and refused.
bool ReadBounded(const std::string& path, std::string& out) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  out.clear();
  char buf[65536];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) {
    out.append(buf, n);
    if (out.size() > kMaxResponseBytes) break;
  }
  const bool ok = !std::ferror(f) && out.size() <= kMaxResponseBytes;
  std::fclose(f);
  return ok;
}

bool LoadBytes(std::string_view bytes, pugi::xml_document& doc) {
  if (bytes.size() > kMaxResponseBytes) return false;
  pugi::xml_parse_result r = doc.load_buffer(bytes.data(), bytes.size(), pugi::parse_default, pugi::encoding_auto);
  return static_cast<bool>(r);
}

std::string_view LocalName(const pugi::xml_node& n) {
  std::string_view name = n.name();
  const size_t colon = name.rfind(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

// The concatenated character data below a node (like the DOM's text content), gathered
// without recursion so that deep nesting cannot exhaust the stack. `budget` counts the
// nodes a whole read may visit: nested slot elements would otherwise make a list read
// quadratic in the size of the response. Returns false when the budget ran out.
bool TextContent(const pugi::xml_node& node, QString& out, size_t& budget) {
  std::string text;
  pugi::xml_node cur = node.first_child();
  while (cur) {
    if (budget == 0) return false;
    --budget;
    if (cur.type() == pugi::node_pcdata || cur.type() == pugi::node_cdata) text += cur.value();
    if (cur.first_child()) {
      cur = cur.first_child();
      continue;
    }
    while (cur && cur != node && !cur.next_sibling()) cur = cur.parent();
    if (!cur || cur == node) break;
    cur = cur.next_sibling();
  }
  out = FromUtf8(text.c_str());
  return true;
}

QString TextContent(const pugi::xml_node& node) {
  size_t unlimited = SIZE_MAX;
  QString out;
  TextContent(node, out, unlimited);
  return out;
}

// Node visits allowed per list read: far above any real slot table, far below quadratic.
constexpr size_t kListReadBudget = 8u * 1024 * 1024;

// First element named `name` (qualified name) in document order.
pugi::xml_node FindFirst(const pugi::xml_document& doc, const char* name) {
  return doc.find_node([name](const pugi::xml_node& n) {
    return n.type() == pugi::node_element && std::strcmp(n.name(), name) == 0;
  });
}

std::u16string_view View(const QString& s) { return {reinterpret_cast<const char16_t*>(s.utf16()), size_t(s.size())}; }

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f'; }

}  // namespace

std::string CreateMessageBytes(const PageFieldSet& fieldSet) {
  pugi::xml_document doc;
  if (!BuildCreate(doc, fieldSet)) return {};
  return Serialize(doc);
}

std::string ListMessageBytes() {
  pugi::xml_document doc;
  if (!BuildList(doc)) return {};
  return Serialize(doc);
}

int WriteCreateMessage(const std::string& path, const PageFieldSet& fieldSet) {
  pugi::xml_document doc;
  if (!BuildCreate(doc, fieldSet)) return -1;
  return SaveTo(path, Serialize(doc));
}

int WriteListMessage(const std::string& path) {
  pugi::xml_document doc;
  if (!BuildList(doc)) return -1;
  return SaveTo(path, Serialize(doc));
}

int32_t ParseDecimal(std::u16string_view text) {
  size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
  long long v = 0;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    v = v * 10 + (text[i] - u'0');
    if (v > 2147483648LL) v = 2147483648LL;  // saturate; keeps the sum from overflowing
  }
  if (negative) v = -v;
  if (v > INT32_MAX) v = INT32_MAX;
  return static_cast<int32_t>(v);
}

uint32_t ParseHex8(std::u16string_view text) {
  size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  uint32_t v = 0;
  for (size_t taken = 0; taken < 8 && i < text.size(); ++taken, ++i) {
    const char16_t c = text[i];
    uint32_t d;
    if (c >= u'0' && c <= u'9') d = c - u'0';
    else if (c >= u'a' && c <= u'f') d = c - u'a' + 10;
    else if (c >= u'A' && c <= u'F') d = c - u'A' + 10;
    else break;
    v = v * 16 + d;
  }
  return v;
}

int ReadResponseBytes(std::string_view bytes, ServerResponse& response) {
  pugi::xml_document doc;
  if (!LoadBytes(bytes, doc)) return 0;
  pugi::xml_node resp = FindFirst(doc, "RESPONSE");
  if (!resp) return 0;
  for (pugi::xml_node child : resp.children()) {
    if (child.type() != pugi::node_element) continue;
    const std::string_view name = LocalName(child);
    if (name == "CODE" || name == "CORD") {
      response.codeText = TextContent(child);
      response.code = ParseDecimal(View(response.codeText));
    } else if (name == "SERVICEID") {
      response.serviceId = ParseHex8(View(TextContent(child)));
    } else if (name == "DOCUMENTID") {
      response.documentId = ParseHex8(View(TextContent(child)));
    } else if (name == "FAXJOBID") {
      response.faxJobId = ParseHex8(View(TextContent(child)));
    }
  }
  return 0;
}

int ReadResponse(const std::string& path, ServerResponse& response) {
  std::string bytes;
  if (!ReadBounded(path, bytes)) return 0;
  return ReadResponseBytes(bytes, response);
}

int ReadSlotListBytes(std::string_view bytes, int32_t& code, std::vector<SlotEntry>& entries) {
  pugi::xml_document doc;
  if (!LoadBytes(bytes, doc)) return -1;
  pugi::xml_node codeNode = FindFirst(doc, "CODE");
  if (!codeNode) return -1;
  code = ParseDecimal(View(TextContent(codeNode)));
  size_t budget = kListReadBudget;
  // Every "COVERPAGE" element in document order, without recursion.
  pugi::xml_node cur = doc.first_child();
  while (cur) {
    if (cur.type() == pugi::node_element && std::strcmp(cur.name(), "COVERPAGE") == 0) {
      SlotEntry e;
      for (pugi::xml_node child : cur.children()) {
        if (child.type() != pugi::node_element) continue;
        const std::string_view name = LocalName(child);
        QString* target = nullptr;
        QString idText;
        if (name == "COVERPAGEID") target = &idText;
        else if (name == "NAME") target = &e.name;
        else if (name == "IMAGEPATH") target = &e.imagePath;
        else if (name == "TIMESTAMP") target = &e.timestamp;
        if (!target) continue;
        if (!TextContent(child, *target, budget)) return -1;
        if (target == &idText) e.id = ParseDecimal(View(idText));
      }
      if (e.id != 0) entries.push_back(std::move(e));
    }
    if (cur.first_child()) {
      cur = cur.first_child();
      continue;
    }
    while (cur && !cur.next_sibling()) cur = cur.parent();
    if (cur) cur = cur.next_sibling();
  }
  return 0;
}

int ReadSlotList(const std::string& path, int32_t& code, std::vector<SlotEntry>& entries) {
  std::string bytes;
  if (!ReadBounded(path, bytes)) return -1;
  return ReadSlotListBytes(bytes, code, entries);
}

}  // namespace lw
