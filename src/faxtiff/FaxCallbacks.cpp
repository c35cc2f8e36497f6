#include "faxtiff/FaxCallbacks.h"

#include <cerrno>
#include <cstring>

#include <unistd.h>

namespace lw::faxtiff {
namespace {

int64_t FdWrite(void* handle, const void* bytes, uint32_t count) {
  const int fd = *static_cast<int*>(handle);
  const auto* p = static_cast<const uint8_t*>(bytes);
  uint32_t done = 0;
  while (done < count) {
    ssize_t n = ::write(fd, p + done, count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return -1;
    done += static_cast<uint32_t>(n);
  }
  return done;
}

int64_t FdRead(void* handle, void* bytes, uint32_t count) {
  const int fd = *static_cast<int*>(handle);
  auto* p = static_cast<uint8_t*>(bytes);
  uint32_t done = 0;
  while (done < count) {
    ssize_t n = ::read(fd, p + done, count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return -1;
    if (n == 0) break;
    done += static_cast<uint32_t>(n);
  }
  return done;
}

int64_t FdSeek(void* handle, int64_t distance, int origin) {
  const int fd = *static_cast<int*>(handle);
  const int whence = origin == kSeekStart ? SEEK_SET : origin == kSeekCurrent ? SEEK_CUR : SEEK_END;
  off_t pos = ::lseek(fd, static_cast<off_t>(distance), whence);
  return pos < 0 ? -1 : static_cast<int64_t>(pos);
}

int64_t MemWrite(void* handle, const void* bytes, uint32_t count) {
  auto* file = static_cast<MemoryFile*>(handle);
  if (file->position + count > file->bytes.size()) file->bytes.resize(file->position + count);
  std::memcpy(file->bytes.data() + file->position, bytes, count);
  file->position += count;
  return count;
}

int64_t MemRead(void* handle, void* bytes, uint32_t count) {
  auto* file = static_cast<MemoryFile*>(handle);
  size_t available = file->position < file->bytes.size() ? file->bytes.size() - file->position : 0;
  size_t n = count < available ? count : available;
  if (n) std::memcpy(bytes, file->bytes.data() + file->position, n);
  file->position += n;
  return static_cast<int64_t>(n);
}

int64_t MemSeek(void* handle, int64_t distance, int origin) {
  auto* file = static_cast<MemoryFile*>(handle);
  int64_t base = origin == kSeekStart     ? 0
                 : origin == kSeekCurrent ? static_cast<int64_t>(file->position)
                                          : static_cast<int64_t>(file->bytes.size());
  int64_t pos = base + distance;
  if (pos < 0) return -1;
  file->position = static_cast<size_t>(pos);
  return pos;
}

}  // namespace

FaxCallbacks FileCallbacks(int* fd) { return {fd, FdWrite, FdRead, FdSeek}; }

FaxCallbacks MemoryFile::Callbacks() { return {this, MemWrite, MemRead, MemSeek}; }

}  // namespace lw::faxtiff
