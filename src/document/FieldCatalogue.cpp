#include "document/FieldCatalogue.h"

#include <algorithm>
#include <climits>
#include <new>

namespace lw {
namespace {

const std::vector<FieldKindInfo> kCatalogue = {
    {2, FieldGroup::Sender, "sender name", 62485, 62486, "NAME"},
    {3, FieldGroup::Sender, "sender company", 62487, 62488, "COMPANY"},
    {4, FieldGroup::Sender, "sender section", 62489, 62490, "SECTION"},
    {5, FieldGroup::Sender, "sender zip code", 62497, 62498, "ZIPCODE"},
    {6, FieldGroup::Sender, "sender address", 62499, 62500, "ADDRESS"},
    {7, FieldGroup::Sender, "sender address, second line", 62501, 62502, ""},
    {8, FieldGroup::Sender, "sender telephone number", 62491, 62492, "TELEPHONENUMBER"},
    {9, FieldGroup::Sender, "sender fax number", 62493, 62494, "FAXNUMBER"},
    {10, FieldGroup::Sender, "sender subaddress", 62503, 62504, "SUBADDRESS"},
    {11, FieldGroup::Sender, "sender password", 62505, 62506, "PASSWORD"},
    {12, FieldGroup::Sender, "sender e-mail address", 62495, 62496, "MAILADDRESS"},
    {13, FieldGroup::Sender, "sender salutation", 62507, 62508, ""},
    {14, FieldGroup::Recipient, "recipient name", 62461, 62462, "NAME"},
    {15, FieldGroup::Recipient, "recipient company", 62463, 62464, "COMPANY"},
    {16, FieldGroup::Recipient, "recipient section", 62465, 62466, "SECTION"},
    {17, FieldGroup::Recipient, "recipient zip code", 62473, 62474, "ZIPCODE"},
    {18, FieldGroup::Recipient, "recipient address", 62475, 62476, "ADDRESS"},
    {19, FieldGroup::Recipient, "recipient address, second line", 62477, 62478, ""},
    {20, FieldGroup::Recipient, "recipient telephone number", 62467, 62468, "TELEPHONENUMBER"},
    {21, FieldGroup::Recipient, "recipient fax number", 62469, 62470, "FAXNUMBER"},
    {22, FieldGroup::Recipient, "recipient subaddress", 62479, 62480, "SUBADDRESS"},
    {23, FieldGroup::Recipient, "recipient password", 62481, 62482, "PASSWORD"},
    {24, FieldGroup::Recipient, "recipient e-mail address", 62471, 62472, "MAILADDRESS"},
    {25, FieldGroup::Recipient, "recipient salutation", 62483, 62484, ""},
    {26, FieldGroup::Message, "message", 62511, 62512, "COMMENT"},
    {27, FieldGroup::Message, "subject", 62513, 62514, "SUBJECT"},
    {28, FieldGroup::Message, "page count", 62515, 62516, "PAGES"},
    {29, FieldGroup::Message, "date sent", 62509, 62510, "TIMESTAMP"},
};

// Page sizes are a few thousand units, so products of coordinates and 2332 stay far inside
// 64 bits even for corrupt rectangles; the result is clamped into int.
int ScaleTruncated(long long value, long long numerator, long long denominator) {
  if (denominator == 0) return 0;
  long long q = value * numerator / denominator;  // C++ division truncates towards zero
  if (q > INT_MAX) return INT_MAX;
  if (q < INT_MIN) return INT_MIN;
  return static_cast<int>(q);
}

TextLookup& Lookup() {
  static TextLookup lookup;
  return lookup;
}

}  // namespace

TextLookup SetFieldTextLookup(TextLookup lookup) {
  TextLookup old = std::move(Lookup());
  Lookup() = std::move(lookup);
  return old;
}

QString UntitledTitle() {
  if (Lookup()) return Lookup()(kUntitledTextId);
  return QStringLiteral("無題");
}

const std::vector<FieldKindInfo>& FieldCatalogue() { return kCatalogue; }

const FieldKindInfo* FieldKindInfoFor(int kind) {
  if (!IsFieldKind(kind)) return nullptr;
  return &kCatalogue[static_cast<size_t>(kind - kKindSenderFirst)];
}

QString FieldKeyOfKind(int kind) {
  const FieldKindInfo* info = FieldKindInfoFor(kind);
  return info ? QString::fromLatin1(info->key) : QString();
}

QString AlignmentName(int align) {
  switch (align) {
    case 2:
      return QStringLiteral("CENTER");
    case 3:
      return QStringLiteral("RIGHT");
    default:
      return QStringLiteral("LEFT");
  }
}

FieldPlacement PlaceField(int left, int top, int right, int bottom, int pageWidth, int pageHeight) {
  const long long l = left, t = top, r = right, b = bottom;
  const long long w = pageWidth, h = pageHeight;
  // Top-left corner in page pixels; half sizes truncated towards zero.
  const long long px = std::min(l, r) + w / 2;
  const long long py = h / 2 - std::max(t, b);
  FieldPlacement p;
  p.x = ScaleTruncated(px, 1728, w);
  p.y = ScaleTruncated(py, 2332, h);
  p.width = ScaleTruncated(r > l ? r - l : l - r, 1728, w);
  p.height = ScaleTruncated(b > t ? b - t : t - b, 2332, h);
  return p;
}

bool AppendField(PageFieldSet& set, int kind, const FieldPlacement& placement) {
  std::vector<FieldPlacement>* list = nullptr;
  switch (GroupOfKind(kind)) {
    case FieldGroup::Sender:
      list = &set.senders;
      break;
    case FieldGroup::Recipient:
      list = &set.recipients;
      break;
    case FieldGroup::Message:
      list = &set.messages;
      break;
    case FieldGroup::None:
      return false;
  }
  try {
    list->push_back(placement);
  } catch (const std::bad_alloc&) {
    return false;  // that record only is lost; the walk goes on
  }
  return true;
}

QString TitleFromPath(const QString& path) {
  if (path.isEmpty()) return {};
  QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
  const qsizetype dot = name.indexOf(QLatin1Char('.'));
  if (dot >= 0) name.truncate(dot);
  return name;
}

}  // namespace lw
