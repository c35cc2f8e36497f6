#pragma once
// The stored data of one drawing object: its class part (a CDrawRect's shape and freehand
// points) followed by the part every object shares, in the forms of file versions 1, 2 and 3.
// DocFile.h uses these for whole documents and for object lists; they are public so that
// tests can look at one object's bytes.

#include <QString>

#include <memory>
#include <vector>

class CDrawDoc;
class CDrawObj;

namespace lw {

class ArchiveReader;
class ArchiveWriter;

// The classes a stream may hold, in the order ArchiveReader::ReadObjectTag reports them:
// "CDrawRect", "CDrawImage", "CDrawObj".
const std::vector<const char*>& StoredClassNames();

// A new object of a stored class (reading constructor), by its index in StoredClassNames().
std::unique_ptr<CDrawObj> CreateStoredObject(int classIndex);

// Writes the object's data in the current form (version 3). A picture's bytes are taken from
// its working file m_strImageFile: exactly m_nImageBytes bytes, zero bytes standing in for
// whatever the file cannot supply.
void WriteObjectData(ArchiveWriter& out, const CDrawObj& obj);

// Reads the object's data in the form of `version` (1, 2 or 3) into a freshly constructed
// object, with everything reading does besides: the version 2 conversions, extracting the
// embedded picture into a new working file (prefix "lwt" in the private temporary folder),
// the colour normalisation, and resetting m_bEditArmed and m_bEditorOpen. Sets m_pOwnerDoc
// to `owner` and m_nShapeCode to the code of the stored shape. Throws ArchiveError; the
// object may then hold a working file already, which the caller deletes with the object.
void ReadObjectData(ArchiveReader& in, CDrawObj& obj, int version, CDrawDoc* owner);

// Only black and white survive a read: another pen colour is made black (or, for a text
// object with an automatic line colour name, the outline is switched off); another fill or
// text colour becomes black with the colour name "黒".
void NormaliseColours(CDrawObj& obj);

}  // namespace lw
