#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/directory.h"

namespace platform {
namespace {

EntryKind KindOf(const struct stat& st) {
  if (S_ISDIR(st.st_mode)) return EntryKind::kDirectory;
  if (S_ISREG(st.st_mode)) return EntryKind::kFile;
  return EntryKind::kOther;
}

}  // namespace

CDirectory::~CDirectory() {
  if (fd_ >= 0) ::close(fd_);
}

OpenStatus CDirectory::Open(const CDirectory* parent, const std::string& name) {
  int base = parent ? parent->fd_ : AT_FDCWD;
  int fd = ::openat(base, name.c_str(), O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    // Find out why, the way a user would look at it: by its attributes.
    struct stat st;
    if (::fstatat(base, name.c_str(), &st, 0) != 0) return OpenStatus::kMissing;
    return S_ISDIR(st.st_mode) ? OpenStatus::kUnknownError : OpenStatus::kNotDirectory;
  }
  struct stat st;
  if (::fstat(fd, &st) != 0) {
    ::close(fd);
    return OpenStatus::kUnknownError;
  }
  if (fd_ >= 0) ::close(fd_);
  fd_ = fd;
  identity_ = {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
  return OpenStatus::kOk;
}

bool CDirectory::List(std::vector<DirEntry>* entries) const {
  // fdopendir takes over the descriptor it is given, so it gets a copy.
  int fd = ::dup(fd_);
  if (fd < 0) return false;
  DIR* dir = ::fdopendir(fd);
  if (!dir) {
    ::close(fd);
    return false;
  }
  ::rewinddir(dir);
  while (struct dirent* ent = ::readdir(dir)) {
    const char* name = ent->d_name;
    if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
    EntryKind kind;
    switch (ent->d_type) {
      case DT_DIR:
        kind = EntryKind::kDirectory;
        break;
      case DT_REG:
        kind = EntryKind::kFile;
        break;
      case DT_LNK:
      case DT_UNKNOWN: {
        // Links are followed; one that leads nowhere is neither file nor directory.
        struct stat st;
        kind = ::fstatat(fd_, name, &st, 0) == 0 ? KindOf(st) : EntryKind::kOther;
        break;
      }
      default:
        kind = EntryKind::kOther;
        break;
    }
    entries->push_back({name, kind});
  }
  ::closedir(dir);
  return true;
}

CInputFile::~CInputFile() {
  Close();
}

void CInputFile::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

bool CInputFile::Rewind() {
  return ::lseek(fd_, 0, SEEK_SET) == 0;
}

bool CInputFile::Open(const CDirectory& dir, const std::string& name) {
  Close();
  // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused below.
  fd_ = ::openat(dir.fd_, name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) return false;
  struct stat st;
  if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd_);
    fd_ = -1;
    return false;
  }
  size_ = static_cast<uint64_t>(st.st_size);
  return true;
}

int64_t CInputFile::Read(char* dest, uint64_t size) {
  uint64_t done = 0;
  while (done < size) {
    uint64_t chunk = size - done;
    if (chunk > (uint64_t{1} << 30)) chunk = uint64_t{1} << 30;
    ssize_t n = ::read(fd_, dest + done, static_cast<size_t>(chunk));
    if (n < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    if (n == 0) break;
    done += static_cast<uint64_t>(n);
  }
  return static_cast<int64_t>(done);
}

}  // namespace platform
