#include <windows.h>

#include <cstdint>

#include "platform/mapped_file.h"
#include "platform/wide_path_win32.h"

namespace platform {

CMappedFile::~CMappedFile() {
  Close();
}

bool CMappedFile::Open(const std::string& path) {
  Close();
  // Others may go on reading and writing the file while it is mapped.
  HANDLE file = ::CreateFileW(LongPath(ToWide(path)).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size;
  if (::GetFileType(file) != FILE_TYPE_DISK || !::GetFileSizeEx(file, &size) ||
      static_cast<uint64_t>(size.QuadPart) >= SIZE_MAX) {
    ::CloseHandle(file);
    return false;
  }
  size_ = static_cast<size_t>(size.QuadPart);
  if (size_ == 0) {
    ::CloseHandle(file);
    data_ = "";
    return true;
  }
  HANDLE mapping = ::CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
  ::CloseHandle(file);
  if (!mapping) {
    size_ = 0;
    return false;
  }
  // The view keeps the mapping, and the file, open on its own.
  void* view = ::MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
  ::CloseHandle(mapping);
  if (!view) {
    size_ = 0;
    return false;
  }
  data_ = static_cast<const char*>(view);
  return true;
}

void CMappedFile::Release() {
  // The pages of a view stay in the working set until the system trims it.
}

void CMappedFile::Close() {
  if (data_ && size_ > 0) ::UnmapViewOfFile(data_);
  data_ = nullptr;
  size_ = 0;
}

}  // namespace platform
