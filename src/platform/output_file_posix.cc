#include "platform/output_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

bool COutputFile::OpenHandle(const std::string& path, OpenMode mode) {
  // O_NONBLOCK keeps a FIFO standing at the path from blocking the open, and
  // O_NOFOLLOW refuses a symbolic link (ELOOP) instead of writing where it
  // points. Nearly every page of a run is new: a file this call creates is an
  // empty regular file, so it needs no check or truncation, only the lock
  // that keeps other processes off it while it is written (one that came
  // first keeps it). Only a path that is already taken goes the long way.
  const int flags = O_WRONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC;
  int fd = -1;
  if (mode != OpenMode::kHoldExisting) {
    fd = ::open(path.c_str(), flags | O_CREAT | O_EXCL, 0666);
    if (fd >= 0) {
      if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
      }
      fd_ = fd;
      created_ = true;
      return true;
    }
    if (errno != EEXIST || mode == OpenMode::kCreateNew) return false;
  }
  // The file is looked at and truncated only once the lock is held, so a
  // file another process holds is left intact, and an empty file is spared
  // the truncating call.
  fd = ::open(path.c_str(), mode == OpenMode::kHoldExisting ? flags : flags | O_CREAT, 0666);
  if (fd < 0) return false;
  struct stat st;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return false;
  }
  // A file taken as it stands may have been moved away from its path by the
  // process that held it before: then the path is not held at all, and the
  // file, now another's, is left as it is.
  struct stat at_path;
  if (mode != OpenMode::kTruncate && (::lstat(path.c_str(), &at_path) != 0 ||
                                      at_path.st_dev != st.st_dev || at_path.st_ino != st.st_ino)) {
    ::close(fd);
    return false;
  }
  if (mode != OpenMode::kHoldExisting && st.st_size != 0 && ::ftruncate(fd, 0) != 0) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  return true;
}

bool COutputFile::DuplicateHandle(const COutputFile& file) {
  // A duplicate shares the open file, and so its lock, which lasts until
  // the last descriptor of it is closed.
  fd_ = ::fcntl(file.fd_, F_DUPFD_CLOEXEC, 0);
  return fd_ >= 0;
}

bool COutputFile::TakeAccessOf(const COutputFile& model) {
  struct stat st;
  if (::fstat(model.fd_, &st) != 0) return false;
  // Owner and group first: a change of owner clears the set-id bits, which
  // the permissions then bring back. Only a privileged process may give the
  // file away; any other keeps at least the group where it belongs to it.
  [[maybe_unused]] const bool given = ::fchown(fd_, st.st_uid, st.st_gid) == 0 ||
                                      ::fchown(fd_, static_cast<uid_t>(-1), st.st_gid) == 0;
  return ::fchmod(fd_, st.st_mode & 07777) == 0;
}

bool COutputFile::WriteRaw(const char* data, size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd_, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool COutputFile::IsOpen() const {
  return fd_ >= 0;
}

bool COutputFile::ReleaseHandle() {
  int fd = fd_;
  fd_ = -1;
  return ::close(fd) == 0;
}

}  // namespace platform
