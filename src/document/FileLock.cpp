#include "document/FileLock.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

namespace lw {
namespace {

struct flock WholeFile(short type) {
  struct flock fl {};
  fl.l_type = type;
  fl.l_whence = SEEK_SET;
  fl.l_start = 0;
  fl.l_len = 0;  // to the end, however the file grows
  fl.l_pid = 0;  // required for OFD locks
  return fl;
}

int OpenFile(const QString& path, int flags) {
  const QByteArray native = QFile::encodeName(path);
  int fd;
  do {
    fd = ::open(native.constData(), flags | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

// File systems without byte-range locks answer with these; such a file is never "in use".
bool LocksUnsupported(int err) { return err == ENOLCK || err == EINVAL || err == EOPNOTSUPP; }

}  // namespace

FileLock::FileLock(int fd) : m_fd(fd) {
  struct stat st {};
  if (::fstat(fd, &st) == 0) {
    m_dev = st.st_dev;
    m_ino = st.st_ino;
  }
}

FileLock::~FileLock() {
  if (m_fd >= 0) ::close(m_fd);
}

std::unique_ptr<FileLock> FileLock::TryAcquire(const QString& path) {
  // Write access is what an exclusive lock needs; reading goes through other descriptors.
  const int fd = OpenFile(path, O_WRONLY);
  if (fd < 0) return nullptr;
  return Adopt(fd);
}

std::unique_ptr<FileLock> FileLock::Adopt(int fd) {
  if (fd < 0) return nullptr;
  struct flock fl = WholeFile(F_WRLCK);
  if (::fcntl(fd, F_OFD_SETLK, &fl) != 0 && !LocksUnsupported(errno)) {
    ::close(fd);
    return nullptr;
  }
  return std::unique_ptr<FileLock>(new FileLock(fd));
}

bool FileLock::IsLockedElsewhere(const QString& path) {
  const int fd = OpenFile(path, O_RDONLY);
  if (fd < 0) return false;
  // Asking whether an exclusive lock could be had needs no write access.
  struct flock fl = WholeFile(F_WRLCK);
  const bool locked = ::fcntl(fd, F_OFD_GETLK, &fl) == 0 && fl.l_type != F_UNLCK;
  ::close(fd);
  return locked;
}

bool FileLock::Holds(const QString& path) const {
  struct stat st {};
  if (::stat(QFile::encodeName(path).constData(), &st) != 0) return false;
  return st.st_dev == m_dev && st.st_ino == m_ino;
}

}  // namespace lw
