#pragma once
// The three file callbacks through which the encoder does all of its file access, and the
// two ways of backing them used by the program: an open file descriptor and a byte buffer.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lw::faxtiff {

enum SeekOrigin : int { kSeekStart = 0, kSeekCurrent = 1, kSeekEnd = 2 };

struct FaxCallbacks {
  void* handle = nullptr;
  // Each returns the number of bytes transferred, or -1 on failure.
  int64_t (*write)(void* handle, const void* bytes, uint32_t count) = nullptr;
  int64_t (*read)(void* handle, void* bytes, uint32_t count) = nullptr;
  // Returns the new position from the start of the file, or -1 on failure.
  int64_t (*seek)(void* handle, int64_t distance, int origin) = nullptr;
};

// Callbacks on an open file descriptor (plain write, read and lseek). `fd` must outlive
// the callbacks' use.
FaxCallbacks FileCallbacks(int* fd);

// A file held in memory, for encoding without touching the disk.
struct MemoryFile {
  std::vector<uint8_t> bytes;
  size_t position = 0;

  FaxCallbacks Callbacks();
};

}  // namespace lw::faxtiff
