#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/replacing_file.h"

namespace platform {

bool CReplacingFile::MoveIntoPlace() {
  // Both files stay held through the rename, so no other run can take either
  // in between; one that waits on them afterwards finds they are no longer
  // the paths'.
  if (std::rename(temp_path_.c_str(), path_.c_str()) != 0) return false;
  LetGo();
  return true;
}

void CReplacingFile::RemoveTemp() {
  // Removed while still held, so it is this run's file that goes.
  RemoveFile(temp_path_);
  temp_.Close();
}

PathKind KindAt(const std::string& path) {
  struct stat st;
  // What cannot be looked at is taken to be a file, which is neither
  // written over nor removed.
  if (::lstat(path.c_str(), &st) != 0)
    return errno == ENOENT ? PathKind::kNothing : PathKind::kFile;
  if (S_ISREG(st.st_mode)) return PathKind::kFile;
  return S_ISDIR(st.st_mode) ? PathKind::kDirectory : PathKind::kOther;
}

bool RemoveFile(const std::string& path) {
  return ::unlink(path.c_str()) == 0;
}

}  // namespace platform
