// An open directory of the source tree: its entries, its identity on disk (to
// notice a directory reached again through a link) and the files in it.
// Directories are opened relative to their parent, so no path ever grows with
// the depth of the tree.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

enum class EntryKind {
  kDirectory,  // a directory, or a link to one
  kFile,       // a regular file, or a link to one
  kOther,      // anything else: FIFO, socket, device, dangling link
};

struct DirEntry {
  std::string name;
  EntryKind kind;
};

/// What a directory is on disk, the same however it was reached.
struct FileIdentity {
  uint64_t device = 0;
  uint64_t file = 0;
  bool operator==(const FileIdentity&) const = default;
};

enum class OpenStatus {
  kOk,
  kMissing,       // it does not exist, or its attributes cannot be read
  kNotDirectory,  // it exists and is not a directory
  kUnknownError,  // it is a directory that could not be opened
};

class CDirectory {
 public:
  CDirectory() = default;
  ~CDirectory();
  CDirectory(const CDirectory&) = delete;
  CDirectory& operator=(const CDirectory&) = delete;

  /// Opens `name`, relative to `parent`, or to the current directory when
  /// `parent` is null.
  OpenStatus Open(const CDirectory* parent, const std::string& name);

  FileIdentity Identity() const { return identity_; }

  /// Appends every entry but "." and ".." in the order the system lists them;
  /// false when the listing cannot be read.
  bool List(std::vector<DirEntry>* entries) const;

 private:
  friend class CInputFile;
  FileIdentity identity_;
#ifdef _WIN32
  std::wstring path_;  // full path with the long-path prefix
#else
  int fd_ = -1;
#endif
};

/// A regular file of an open directory, read whole.
class CInputFile {
 public:
  CInputFile() = default;
  ~CInputFile();
  CInputFile(const CInputFile&) = delete;
  CInputFile& operator=(const CInputFile&) = delete;

  /// Opens `name` in `dir` for reading; false unless it is a regular file
  /// (after following links) that can be opened. Never blocks.
  bool Open(const CDirectory& dir, const std::string& name);

  /// The file's length when it was opened.
  uint64_t Size() const { return size_; }

  /// Reads up to `size` bytes into `dest`; returns how many were read, or -1.
  int64_t Read(char* dest, uint64_t size);

  /// Goes back to the file's start, to read it again; false when it cannot.
  bool Rewind();

  /// Closes the file, if one is open.
  void Close();

 private:
  uint64_t size_ = 0;
#ifdef _WIN32
  void* handle_ = nullptr;
#else
  int fd_ = -1;
#endif
};

}  // namespace platform
