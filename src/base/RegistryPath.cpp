#include "base/RegistryPath.h"

#include <cstdlib>
#include <vector>

namespace lw {
namespace {

std::string XdgDir(const char* variable, const char* homeRelative) {
  if (const char* v = std::getenv(variable); v && v[0] == '/') return v;
  const char* home = std::getenv("HOME");
  if (!home || home[0] != '/') return {};
  return std::string(home) + "/" + homeRelative;
}

std::vector<std::string> KeyParts(const std::string& keyPath) {
  std::vector<std::string> parts;
  std::string cur;
  auto flush = [&] {
    if (cur.empty()) return;
    if (cur == "." || cur == "..") cur = "_";
    parts.push_back(cur);
    cur.clear();
  };
  for (char c : keyPath) {
    if (c == '\\' || c == '/') {
      flush();
    } else {
      cur += c;
    }
  }
  flush();
  if (!parts.empty()) {
    std::string first = parts.front();
    for (char& c : first) c = static_cast<char>((c >= 'A' && c <= 'Z') ? c + 32 : c);
    if (first == "software") parts.erase(parts.begin());
  }
  return parts;
}

std::string FileOfParts(const std::vector<std::string>& parts, size_t count) {
  if (count == 0) return {};
  std::string dir = UserConfigDir();
  if (dir.empty()) return {};
  std::string path = dir;
  for (size_t i = 0; i < count; ++i) path += "/" + parts[i];
  return path + ".ini";
}

}  // namespace

std::string UserConfigDir() { return XdgDir("XDG_CONFIG_HOME", ".config"); }

std::string UserStateDir() { return XdgDir("XDG_STATE_HOME", ".local/state"); }

std::string StoreFileForKey(const std::string& keyPath) {
  std::vector<std::string> parts = KeyParts(keyPath);
  return FileOfParts(parts, parts.size());
}

RegistryLocation LocateRegistryKey(const std::string& keyPath) {
  std::vector<std::string> parts = KeyParts(keyPath);
  if (parts.size() < 2) return {};
  return {FileOfParts(parts, parts.size() - 1), parts.back()};
}

}  // namespace lw
