#pragma once
// The data fields of a cover page and the field list the fax server receives.
//
// A data field is a text object whose kind names a datum the server fills in for each
// transmission (recipient, sender and message data); its text is only a placeholder. This
// file is the catalogue of those kinds (group, the text ids of the caption label and the
// placeholder used by the insertion commands, the XML key the server knows them by) and the
// `PageFieldSet` that the upload writes into the create request.

#include <QString>
#include <functional>
#include <vector>

#include "document/ObjectKind.h"

namespace lw {

struct FieldKindInfo {
  int kind;
  FieldGroup group;
  const char* datum;      // English description, for tools and diagnostics
  int labelTextId;        // caption placed beside the field
  int placeholderTextId;  // text shown in the field while editing
  const char* key;        // XML element name on the server; "" when the datum has none
};

// The catalogue entry of a field kind (2..29), or nullptr for anything else.
const FieldKindInfo* FieldKindInfoFor(int kind);
// All 28 entries, kinds 2..29 in order.
const std::vector<FieldKindInfo>& FieldCatalogue();

// The XML key of a kind; empty for kinds without one and for values outside 2..29.
QString FieldKeyOfKind(int kind);
// "CENTER" for 2, "RIGHT" for 3, "LEFT" for every other alignment code.
QString AlignmentName(int align);

// Text id of the title sent for a document that has no file yet ("無題").
inline constexpr int kUntitledTextId = 62456;

// How the document layer gets a user-interface text by id: the application installs the
// text loader (language file first, built-in table second). Without one, the untitled title
// is the built-in "無題". Returns the previous lookup.
using TextLookup = std::function<QString(int textId)>;
TextLookup SetFieldTextLookup(TextLookup lookup);
// The title of a document that has no file yet, as loaded.
QString UntitledTitle();

// One data field as the server receives it: page pixels of a 1728 x 2332 page, origin at
// the top-left corner.
struct FieldPlacement {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  int hrate = 1;  // horizontal character magnification 1..4
  int vrate = 1;  // vertical character magnification 1..4
  QString align;  // "LEFT", "CENTER" or "RIGHT"
  QString key;    // XML key, possibly empty
  bool operator==(const FieldPlacement&) const = default;
};

// The field list of a page (filled by CDrawDoc::BuildFieldSet).
struct PageFieldSet {
  int coverPageId = 0;  // the server slot; set by whoever starts the upload
  QString title;        // the cover page's name
  std::vector<FieldPlacement> recipients;  // kinds 14..25, stacking order
  std::vector<FieldPlacement> senders;     // kinds 2..13
  std::vector<FieldPlacement> messages;    // kinds 26..29
};

// Scales a field rectangle given in page units (origin at the page centre, y upwards; any
// corner order) on a page of `pageWidth` x `pageHeight` units to the 1728 x 2332 frame.
// Integer arithmetic, product first, quotients truncated towards zero.
FieldPlacement PlaceField(int left, int top, int right, int bottom, int pageWidth, int pageHeight);

// Appends a record to the list of its kind's group; a kind outside 2..29 is ignored. When
// memory runs out the record is dropped and false returned; the set stays usable.
bool AppendField(PageFieldSet& set, int kind, const FieldPlacement& placement);

// The title of a document from its path: the name after the last '/', cut at its first
// '.'. An empty path gives an empty string (the caller substitutes the untitled text).
QString TitleFromPath(const QString& path);

}  // namespace lw
