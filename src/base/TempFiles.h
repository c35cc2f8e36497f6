#pragma once
// The private per-user temporary folder and unique files in it.
//
// Every temporary file of the program (document working files, converted pictures, fax
// images, upload messages, the scratch file) lives in one folder that only the user can
// enter (mode 0700), so that no other user can plant a file or a link under a name we are
// about to write.

#include <string>

namespace lw {

// The folder: $XDG_RUNTIME_DIR/leafwright when that is set and usable, otherwise
// $TMPDIR (or /tmp) /leafwright-<uid>. Created on first use with mode 0700; a folder
// that exists but belongs to another user or is open to others is refused.
// Returns an empty string when no private folder can be had.
// LW_TEMP_DIR overrides the location (tests use it to stay out of the user's folder).
std::string PrivateTempDir();

// Creates a new empty file "<prefix>XXXXXX<suffix>" in the private folder with a unique
// name (mkstemp) and returns its path, or an empty string on failure.
std::string MakeTempFile(const std::string& prefix, const std::string& suffix = ".tmp");

// The path of a fixed name inside the private folder (for the upload's message files).
std::string PrivateTempPath(const std::string& name);

}  // namespace lw
