#pragma once
// The encoder's last-error text: set by whichever step failed, never shown to the user by
// the encoder itself (callers may log it or print it).

#include <string>

namespace lw::faxtiff {

inline constexpr const char* kErrTempFile = "Could not create temp file.";
inline constexpr const char* kErrOpenBitmap = "Could not open bitmap file.";
inline constexpr const char* kErrAllocBitmap = "Could not GlobalAlloc() buffer in LoadBitmapFile.";
// Our own additions for input the encoder refuses and for output it could not write.
inline constexpr const char* kErrBitmapLayout =
    "Bitmap file is not a bottom-up 1-bit uncompressed bitmap with two palette entries.";
inline constexpr const char* kErrBitmapShort =
    "Bitmap file holds less pixel data than its rows need.";
inline constexpr const char* kErrBitmapTooLarge = "Bitmap file is too large to code as a fax page.";
inline constexpr const char* kErrMode = "Unsupported coding mode.";
inline constexpr const char* kErrWrite = "Could not write fax file.";

// The text of the last failure of this thread, empty when nothing has failed yet.
const std::string& LastErrorText();
void SetLastErrorText(const char* text);

}  // namespace lw::faxtiff
