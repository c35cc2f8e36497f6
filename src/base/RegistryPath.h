#pragma once
// Where a per-user registry key lives on this system.
//
// The program keeps its settings the way a Windows program keeps them in the registry under
// HKEY_CURRENT_USER: a key path such as "Software\Vantrel\Leafwright" whose subkeys
// ("Window", "Server", ...) hold named values. Here one such application key is one INI file
// in the user's configuration folder, and each subkey is a section of that file:
//
//   Software\Vantrel\Leafwright          -> <config>/Vantrel/Leafwright.ini
//   Software\Vantrel\Leafwright\Window   -> <config>/Vantrel/Leafwright.ini, section [Window]
//   Software\Pellucor\Nexilo\Leafwright\Log
//                                        -> <config>/Pellucor/Nexilo/Leafwright.ini, [Log]
//
// Plain C++ so that the log (which depends on nothing of ours but this folder) and the
// settings store use one and the same rule.

#include <string>

namespace lw {

// $XDG_CONFIG_HOME when it is set to an absolute path, otherwise $HOME/.config.
// Empty when neither can be had.
std::string UserConfigDir();

// $XDG_STATE_HOME when it is set to an absolute path, otherwise $HOME/.local/state.
std::string UserStateDir();

// The INI file that holds the application key `keyPath` (its subkeys are the sections).
// A leading "Software\" is dropped (every key of ours is under it); both "\" and "/"
// separate the parts; empty parts are skipped and "." or ".." parts become "_", so the
// result always stays inside the configuration folder. Empty when `keyPath` names nothing
// or there is no configuration folder.
std::string StoreFileForKey(const std::string& keyPath);

// A key that holds values directly: the store of its parent key and its own last part as
// the section. "Software\Pellucor\Nexilo\Leafwright\Log" gives the file of
// "Software\Pellucor\Nexilo\Leafwright" and the section "Log".
struct RegistryLocation {
  std::string file;
  std::string section;
};
RegistryLocation LocateRegistryKey(const std::string& keyPath);

}  // namespace lw
