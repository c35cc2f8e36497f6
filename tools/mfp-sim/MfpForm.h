#pragma once
// Strict readers of what the editor posts to the device: the multipart form and the XML
// request inside it. They hold the editor to the exact form the device expects and report
// the first fault they find; they never trust a length or count they have not checked.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mfpsim {

struct FormPart {
  std::string name;         // the form field name
  std::string contentType;  // empty when the part has no Content-Type line
  std::string_view data;    // the part's bytes, pointing into the body
};

// Parses a multipart/form-data body. The boundary comes from `contentType` (the request's
// Content-Type header); the body must consist of delimited parts, each with a
// "Content-Disposition: form-data; name=..." line, an optional Content-Type line and an
// empty line, and end with the closing delimiter and CR LF. Returns false with `error`.
bool ParseMultipartForm(std::string_view contentType, std::string_view body, std::vector<FormPart>& parts,
                        std::string& error);

// One field of a create request.
struct RequestField {
  std::string group;  // ADDRESSEEINFO, MESSAGEINFO or SENDERINFO
  std::string key;    // NAME, FAXNUMBER, ...
  int x = 0, y = 0, width = 0, height = 0, hrate = 0, vrate = 0;
  std::string align;
};

struct CommandRequest {
  enum class Kind { List, Create } kind = Kind::List;
  int coverPageId = 0;       // create only
  std::string name;          // create only (UTF-8)
  std::vector<RequestField> fields;
};

// Parses and checks the XML request of a command post ("datafile").
bool ParseCommandRequest(std::string_view xml, CommandRequest& request, std::string& error);

// Checks the fields of a command post ("version" = 1, then "datafile") and returns the XML.
bool CheckCommandForm(const std::vector<FormPart>& parts, std::string_view& xml, std::string& error);
// Checks the fields of an image post ("serviceid" as eight lower-case hexadecimal digits,
// "pagenumber" = 1, "binfile") and returns the service id and the image bytes.
bool CheckImageForm(const std::vector<FormPart>& parts, uint32_t& serviceId, std::string_view& image,
                    std::string& error);

// Checks that the bytes are a one-page T.6 (CCITT group 4) TIFF of 1728 x 2332 pixels at
// one bit per pixel that decodes completely.
bool CheckFaxTiff(std::string_view bytes, std::string& error);

}  // namespace mfpsim
