#include <windows.h>

#include "platform/output_file.h"
#include "platform/wide_path_win32.h"

namespace platform {

bool COutputFile::OpenHandle(const std::string& path, OpenMode mode) {
  // Share mode 0: while the file is open here no other process can open it,
  // and it cannot be opened here while another process holds it in any way.
  // A reparse point (a link or junction) is opened as itself and refused, so
  // nothing is written where it points. The file is truncated only once it
  // is held, so a file held elsewhere is left intact.
  // A file held here cannot be moved away, so one taken as it stands is
  // still the path's.
  const DWORD disposition = mode == OpenMode::kCreateNew      ? CREATE_NEW
                            : mode == OpenMode::kHoldExisting ? OPEN_EXISTING
                                                              : OPEN_ALWAYS;
  HANDLE handle =
      ::CreateFileW(LongPath(ToWide(path)).c_str(), GENERIC_WRITE, 0, nullptr, disposition,
                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  const bool existed = mode == OpenMode::kHoldExisting || ::GetLastError() == ERROR_ALREADY_EXISTS;
  const bool truncate = mode == OpenMode::kTruncate || mode == OpenMode::kReclaim;
  BY_HANDLE_FILE_INFORMATION info;
  if (::GetFileType(handle) != FILE_TYPE_DISK || !::GetFileInformationByHandle(handle, &info) ||
      (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) ||
      (truncate && !::SetEndOfFile(handle))) {
    ::CloseHandle(handle);
    return false;
  }
  handle_ = handle;
  created_ = !existed;
  return true;
}

bool COutputFile::DuplicateHandle(const COutputFile& file) {
  // A duplicate is the same open file: nothing else can open it while
  // either handle is open.
  HANDLE process = ::GetCurrentProcess();
  HANDLE handle = nullptr;
  if (!::DuplicateHandle(process, file.handle_, process, &handle, 0, FALSE,
                         DUPLICATE_SAME_ACCESS)) {
    return false;
  }
  handle_ = handle;
  return true;
}

bool COutputFile::TakeAccessOf(const COutputFile& model) {
  // A new file gets the permissions its folder passes on, as the file it
  // replaces most likely did.
  return model.IsOpen() && IsOpen();
}

bool COutputFile::WriteRaw(const char* data, size_t size) {
  while (size > 0) {
    DWORD chunk = size > (size_t{1} << 30) ? DWORD{1} << 30 : static_cast<DWORD>(size);
    DWORD n = 0;
    if (!::WriteFile(handle_, data, chunk, &n, nullptr) || n == 0) return false;
    data += n;
    size -= n;
  }
  return true;
}

bool COutputFile::IsOpen() const {
  return handle_ != nullptr;
}

bool COutputFile::ReleaseHandle() {
  HANDLE handle = handle_;
  handle_ = nullptr;
  return ::CloseHandle(handle) != 0;
}

}  // namespace platform
