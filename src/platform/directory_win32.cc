#include <windows.h>

#include <utility>
#include "platform/directory.h"

#include "platform/wide_path_win32.h"

namespace platform {
namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// A name from a listing that held a character the code page lacks carries the
// replacement "?"; like "*" it cannot be part of a real name, and it must not
// reach a call that would take it as a wildcard.
bool IsPlainName(const std::string& name) {
  return name.find_first_of("*?") == std::string::npos;
}

// Opens what `path` leads to, following junctions and links, for reading its
// attributes only (directories included).
HANDLE OpenForAttributes(const std::wstring& path, DWORD access) {
  return ::CreateFileW(path.c_str(), access, kShareAll, nullptr, OPEN_EXISTING,
                       FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

// What a junction or link leads to; one that leads nowhere is neither file nor
// directory.
EntryKind FollowedKind(const std::wstring& path) {
  HANDLE handle = OpenForAttributes(path, FILE_READ_ATTRIBUTES);
  if (handle == INVALID_HANDLE_VALUE) return EntryKind::kOther;
  EntryKind kind = EntryKind::kOther;
  BY_HANDLE_FILE_INFORMATION info;
  if (::GetFileInformationByHandle(handle, &info)) {
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      kind = EntryKind::kDirectory;
    } else if (::GetFileType(handle) == FILE_TYPE_DISK) {
      kind = EntryKind::kFile;
    }
  }
  ::CloseHandle(handle);
  return kind;
}

}  // namespace

CDirectory::~CDirectory() = default;

OpenStatus CDirectory::Open(const CDirectory* parent, const std::string& name) {
  if (parent && !IsPlainName(name)) return OpenStatus::kMissing;
  std::wstring path = parent ? JoinWide(parent->path_, ToWide(name)) : LongPath(ToWide(name));
  // Asking for the right to list makes a directory that cannot be read fail
  // here, as it does on POSIX.
  HANDLE handle = OpenForAttributes(path, FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES);
  if (handle == INVALID_HANDLE_VALUE) {
    // Find out why, the way a user would look at it: by its attributes.
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return OpenStatus::kMissing;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? OpenStatus::kUnknownError
                                                   : OpenStatus::kNotDirectory;
  }
  BY_HANDLE_FILE_INFORMATION info;
  const bool known = ::GetFileInformationByHandle(handle, &info);
  ::CloseHandle(handle);
  if (!known) return OpenStatus::kUnknownError;
  if (!(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return OpenStatus::kNotDirectory;
  // The volume's serial number and the file index name a directory however it
  // was reached, through junctions and links included.
  identity_ = {info.dwVolumeSerialNumber,
               (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
  path_ = std::move(path);
  return OpenStatus::kOk;
}

bool CDirectory::List(std::vector<DirEntry>* entries) const {
  WIN32_FIND_DATAW data;
  HANDLE find = ::FindFirstFileExW(JoinWide(path_, L"*").c_str(), FindExInfoBasic, &data,
                                   FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (find == INVALID_HANDLE_VALUE) return ::GetLastError() == ERROR_FILE_NOT_FOUND;
  do {
    const std::wstring_view wide_name = data.cFileName;
    if (wide_name == L"." || wide_name == L"..") continue;
    bool exact = true;
    std::string name = FromWide(wide_name, &exact);
    const DWORD attributes = data.dwFileAttributes;
    EntryKind kind;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
      // Junctions and links are followed.
      kind = FollowedKind(JoinWide(path_, std::wstring(wide_name)));
    } else if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
      kind = EntryKind::kDirectory;
    } else if (attributes & FILE_ATTRIBUTE_DEVICE) {
      kind = EntryKind::kOther;
    } else {
      kind = EntryKind::kFile;
    }
    // A file whose name the code page cannot spell cannot be opened by it.
    if (!exact && kind == EntryKind::kFile) kind = EntryKind::kOther;
    entries->push_back({std::move(name), kind});
  } while (::FindNextFileW(find, &data));
  const bool complete = ::GetLastError() == ERROR_NO_MORE_FILES;
  ::FindClose(find);
  return complete;
}

CInputFile::~CInputFile() {
  Close();
}

void CInputFile::Close() {
  if (handle_) ::CloseHandle(handle_);
  handle_ = nullptr;
}

bool CInputFile::Rewind() {
  LARGE_INTEGER start;
  start.QuadPart = 0;
  return ::SetFilePointerEx(handle_, start, nullptr, FILE_BEGIN) != 0;
}

bool CInputFile::Open(const CDirectory& dir, const std::string& name) {
  Close();
  if (!IsPlainName(name)) return false;
  // Others may go on reading and writing the file while it is read.
  HANDLE handle = ::CreateFileW(JoinWide(dir.path_, ToWide(name)).c_str(), GENERIC_READ, kShareAll,
                                nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info;
  LARGE_INTEGER size;
  if (::GetFileType(handle) != FILE_TYPE_DISK || !::GetFileInformationByHandle(handle, &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !::GetFileSizeEx(handle, &size)) {
    ::CloseHandle(handle);
    return false;
  }
  handle_ = handle;
  size_ = static_cast<uint64_t>(size.QuadPart);
  return true;
}

int64_t CInputFile::Read(char* dest, uint64_t size) {
  uint64_t done = 0;
  while (done < size) {
    uint64_t chunk = size - done;
    if (chunk > (uint64_t{1} << 30)) chunk = uint64_t{1} << 30;
    DWORD n = 0;
    if (!::ReadFile(handle_, dest + done, static_cast<DWORD>(chunk), &n, nullptr)) return -1;
    if (n == 0) break;
    done += n;
  }
  return static_cast<int64_t>(done);
}

}  // namespace platform
