// The stand-in device's readers of a post: the first line of the input is the request's
// Content-Type, the rest its body; a form that passes goes on to the request and image checks.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "MfpForm.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t nl = input.find('\n');
  const std::string_view type = nl == std::string_view::npos ? input : input.substr(0, nl);
  const std::string_view body = nl == std::string_view::npos ? std::string_view() : input.substr(nl + 1);
  std::string error;
  // The body is also tried as a bare request, which reaches the XML checks directly.
  mfpsim::CommandRequest bare;
  mfpsim::ParseCommandRequest(body, bare, error);
  std::vector<mfpsim::FormPart> parts;
  if (!mfpsim::ParseMultipartForm(type, body, parts, error)) return 0;
  std::string_view xml;
  if (mfpsim::CheckCommandForm(parts, xml, error)) {
    mfpsim::CommandRequest request;
    mfpsim::ParseCommandRequest(xml, request, error);
  }
  uint32_t serviceId = 0;
  std::string_view image;
  if (mfpsim::CheckImageForm(parts, serviceId, image, error)) mfpsim::CheckFaxTiff(image, error);
  return 0;
}
