#include <windows.h>

#include "platform/replacing_file.h"
#include "platform/wide_path_win32.h"

namespace platform {

bool CReplacingFile::MoveIntoPlace() {
  // A file that is open can be neither moved nor replaced here, so the holds
  // end just before the move. Should another run take the temporary file in
  // that moment, the move fails and the file at the path is left as it is.
  LetGo();
  return ::MoveFileExW(LongPath(ToWide(temp_path_)).c_str(), LongPath(ToWide(path_)).c_str(),
                       MOVEFILE_REPLACE_EXISTING) != 0;
}

void CReplacingFile::RemoveTemp() {
  // A file that is open cannot be removed here: the holds on it end first.
  temp_.Close();
  keep_.Close();
  RemoveFile(temp_path_);
}

PathKind KindAt(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesW(LongPath(ToWide(path)).c_str());
  // What cannot be looked at is taken to be a file, which is neither
  // written over nor removed.
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? PathKind::kNothing
                                                                          : PathKind::kFile;
  }
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return PathKind::kOther;
  return attributes & FILE_ATTRIBUTE_DIRECTORY ? PathKind::kDirectory : PathKind::kFile;
}

bool RemoveFile(const std::string& path) {
  return ::DeleteFileW(LongPath(ToWide(path)).c_str()) != 0;
}

}  // namespace platform
