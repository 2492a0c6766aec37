#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>

#include "platform/mapped_file.h"

namespace platform {

CMappedFile::~CMappedFile() {
  Close();
}

bool CMappedFile::Open(const std::string& path) {
  Close();
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
      static_cast<uint64_t>(st.st_size) >= SIZE_MAX) {
    ::close(fd);
    return false;
  }
  size_ = static_cast<size_t>(st.st_size);
  if (size_ == 0) {
    ::close(fd);
    data_ = "";
    return true;
  }
  // The whole file is read in order: the system reads ahead of the faults.
  void* map = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, fd, 0);
  ::close(fd);  // the mapping stays without the descriptor
  if (map == MAP_FAILED) {
    size_ = 0;
    return false;
  }
  data_ = static_cast<const char*>(map);
  ::madvise(map, size_, MADV_SEQUENTIAL);
  return true;
}

void CMappedFile::Release() {
  // The mapping is read-only: the pages given up hold the file's bytes,
  // which the system reads again where they are read again.
  if (data_ && size_ > 0) ::madvise(const_cast<char*>(data_), size_, MADV_DONTNEED);
}

void CMappedFile::Close() {
  if (data_ && size_ > 0) ::munmap(const_cast<char*>(data_), size_);
  data_ = nullptr;
  size_ = 0;
}

}  // namespace platform
