#include "platform/wide_path_win32.h"

#include <windows.h>

namespace platform {

std::wstring ToWide(std::string_view text) {
  std::wstring wide;
  if (text.empty()) return wide;
  int size =
      ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (size <= 0) return wide;
  wide.resize(static_cast<size_t>(size));
  ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  return wide;
}

std::string FromWide(std::wstring_view text, bool* exact) {
  if (exact) *exact = true;
  std::string narrow;
  if (text.empty()) return narrow;
  // Best-fit mapping is turned off: it would turn a name into another,
  // existing one ("ā" into "a"). A UTF-8 code page takes neither the flag nor
  // the report, and represents everything anyway.
  const bool utf8 = ::GetACP() == CP_UTF8;
  const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
  BOOL replaced = FALSE;
  BOOL* report = utf8 ? nullptr : &replaced;
  const int length = static_cast<int>(text.size());
  int size = ::WideCharToMultiByte(CP_ACP, flags, text.data(), length, nullptr, 0, nullptr, report);
  if (size <= 0) {
    if (exact) *exact = false;
    return narrow;
  }
  narrow.resize(static_cast<size_t>(size));
  ::WideCharToMultiByte(CP_ACP, flags, text.data(), length, narrow.data(), size, nullptr, report);
  if (exact && replaced) *exact = false;
  return narrow;
}

std::wstring LongPath(const std::wstring& path) {
  if (path.rfind(L"\\\\?\\", 0) == 0) return path;
  DWORD size = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) return path;
  std::wstring full(size, L'\0');
  size = ::GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
  full.resize(size);
  std::wstring result;
  if (full.rfind(L"\\\\.\\", 0) == 0) {
    result = full;  // a device path stays what it is
  } else if (full.rfind(L"\\\\", 0) == 0) {
    result = L"\\\\?\\UNC\\" + full.substr(2);
  } else {
    result = L"\\\\?\\" + full;
  }
  // "X:\" keeps its separator: without it the prefixed path names the volume.
  const bool drive_root = result.size() == 7 && result[5] == L':';
  if (!drive_root && result.size() > 4 && result.back() == L'\\') result.pop_back();
  return result;
}

std::wstring JoinWide(const std::wstring& dir, const std::wstring& name) {
  std::wstring path = dir;
  if (path.empty() || path.back() != L'\\') path.push_back(L'\\');
  path.append(name);
  return path;
}

}  // namespace platform
