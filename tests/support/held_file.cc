#include "support/held_file.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace testing_support {

#ifdef _WIN32
HeldFile::HeldFile(const std::filesystem::path& path) {
  HANDLE handle = ::CreateFileW(path.wstring().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return;
  handle_ = handle;
  held_ = true;
}

HeldFile::~HeldFile() {
  if (handle_) ::CloseHandle(handle_);
}
#else
HeldFile::HeldFile(const std::filesystem::path& path) {
  fd_ = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
  held_ = fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) == 0;
}

HeldFile::~HeldFile() {
  if (fd_ >= 0) ::close(fd_);
}
#endif

}  // namespace testing_support
