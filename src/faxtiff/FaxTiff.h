#pragma once
// The fax TIFF encoder: turns a 1-bit bottom-up BMP into a one-page TIFF whose single strip
// is coded with ITU-T T.6 (MMR) at 200 dots per inch.

#include <string>

#include "faxtiff/BmpLoader.h"
#include "faxtiff/FaxCallbacks.h"
#include "faxtiff/LastError.h"

namespace lw::faxtiff {

// Converts the BMP at `bmpPath` into a new file "fax??????.tif" in the private temporary
// folder (lw::PrivateTempDir()) and returns its path; the caller owns and deletes the file.
// Returns an empty string when the temporary file cannot be made, the BMP cannot be read or
// is refused, or the TIFF cannot be written; LastErrorText() then says why and no file is
// left behind. `mode` must be kModeT6.
std::string ConvertBmpToFaxTiff(uint16_t mode, const std::string& bmpPath);

// Encodes `request` as the whole TIFF through `io`, which must start on an empty file, then
// releases the request's pixel data. Returns false (with the last-error text set) when the
// request is not codable or a callback failed.
bool EncodeFaxTiff(ConversionRequest& request, const FaxCallbacks& io);

// The same without releasing the pixel data (for coding one bitmap several times).
bool WriteFaxTiff(const ConversionRequest& request, const FaxCallbacks& io);

}  // namespace lw::faxtiff
