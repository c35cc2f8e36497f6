#include "base/TempFiles.h"

#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lw {
namespace {

bool UsablePrivateDir(const std::string& path) {
  if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
  struct stat st {};
  if (lstat(path.c_str(), &st) != 0) return false;
  if (!S_ISDIR(st.st_mode) || st.st_uid != geteuid()) return false;
  if ((st.st_mode & 077) != 0 && chmod(path.c_str(), 0700) != 0) return false;
  return true;
}

std::string ComputeDir() {
  if (const char* over = std::getenv("LW_TEMP_DIR"); over && *over) {
    std::string p = over;
    return UsablePrivateDir(p) ? p : std::string();
  }
  if (const char* rt = std::getenv("XDG_RUNTIME_DIR"); rt && *rt) {
    std::string p = std::string(rt) + "/leafwright";
    if (UsablePrivateDir(p)) return p;
  }
  const char* tmp = std::getenv("TMPDIR");
  std::string base = (tmp && *tmp) ? tmp : "/tmp";
  std::string p = base + "/leafwright-" + std::to_string(geteuid());
  return UsablePrivateDir(p) ? p : std::string();
}

}  // namespace

std::string PrivateTempDir() {
  // Computed each time: cheap, and tests may point LW_TEMP_DIR elsewhere between cases.
  return ComputeDir();
}

std::string MakeTempFile(const std::string& prefix, const std::string& suffix) {
  std::string dir = PrivateTempDir();
  if (dir.empty()) return {};
  std::string templ = dir + "/" + prefix + "XXXXXX" + suffix;
  std::vector<char> buf(templ.begin(), templ.end());
  buf.push_back('\0');
  int fd = mkstemps(buf.data(), static_cast<int>(suffix.size()));
  if (fd < 0) return {};
  close(fd);
  return std::string(buf.data());
}

std::string PrivateTempPath(const std::string& name) {
  std::string dir = PrivateTempDir();
  if (dir.empty()) return {};
  return dir + "/" + name;
}

}  // namespace lw
