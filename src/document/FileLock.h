#pragma once
// The advisory lock that marks a cover page file as being edited.
//
// The lock is an open file description lock (F_OFD_SETLK) over the whole file, exclusive,
// held through a descriptor that stays open for as long as the file is edited. Every copy of
// the program asks for it before it edits a file and offers read-only opening when another
// process has it. Because the kernel drops the lock together with the last descriptor, a
// copy that crashes leaves nothing behind that could block anyone; the lock also works on
// network file systems that support byte-range locks (NFS), so a second user on a shared
// folder sees the file as in use. Closing some other descriptor of the same file (the reader
// does) does not drop the lock, unlike classic POSIX record locks.

#include <QString>

#include <sys/types.h>

#include <memory>

namespace lw {

class FileLock {
 public:
  // Opens `path` for writing (never truncating it) and takes the exclusive lock; null when the file
  // cannot be opened that way or another process (or another lock of this one) holds it.
  static std::unique_ptr<FileLock> TryAcquire(const QString& path);
  // Takes over `fd` (open for writing) and takes the exclusive lock through it. On a file
  // system without byte-range locks the descriptor is kept without a lock. Null when another
  // lock is in the way (then `fd` is closed).
  static std::unique_ptr<FileLock> Adopt(int fd);

  // Whether some lock on `path` would conflict with an exclusive one, i.e. another process
  // (or another descriptor of this one) is editing the file. A file that cannot be opened or
  // a file system without locks counts as not locked.
  static bool IsLockedElsewhere(const QString& path);

  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // Whether `path` names the very file this lock holds (same device and inode).
  bool Holds(const QString& path) const;
  int Descriptor() const { return m_fd; }

 private:
  explicit FileLock(int fd);
  int m_fd = -1;
  dev_t m_dev = 0;
  ino_t m_ino = 0;
};

}  // namespace lw
