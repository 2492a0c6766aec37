#include <windows.h>

#include "platform/output_file.h"
#include "platform/wide_path_win32.h"

namespace platform {
namespace {
// Text is collected up to this size before it goes to the file, so a page is
// normally written with a single system call.
constexpr size_t kDrainSize = size_t{1} << 20;
}  // namespace

COutputFile::~COutputFile() {
  Close();
}

bool COutputFile::Open(const std::string& path) {
  Close();
  failed_ = false;
  buffer_.clear();
  // Share mode 0: while the file is open here no other process can open it,
  // and it cannot be opened here while another process holds it in any way.
  // The file is truncated only once it is held, so a file held elsewhere is
  // left intact.
  HANDLE handle = ::CreateFileW(LongPath(ToWide(path)).c_str(), GENERIC_WRITE, 0, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  if (::GetFileType(handle) != FILE_TYPE_DISK || !::SetEndOfFile(handle)) {
    ::CloseHandle(handle);
    return false;
  }
  handle_ = handle;
  return true;
}

void COutputFile::Write(std::string_view text) {
  // Text files end their lines in CR LF here.
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string_view::npos; start = end + 1) {
    buffer_.append(text.substr(start, end - start));
    buffer_.append("\r\n");
  }
  buffer_.append(text.substr(start));
  if (buffer_.size() >= kDrainSize) Drain();
}

void COutputFile::Drain() {
  if (!buffer_.empty() && !WriteRaw(buffer_.data(), buffer_.size())) failed_ = true;
  buffer_.clear();
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

bool COutputFile::Close() {
  if (!handle_) return false;
  Drain();
  if (!::CloseHandle(handle_)) failed_ = true;
  handle_ = nullptr;
  return !failed_;
}

}  // namespace platform
