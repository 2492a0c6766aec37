// A file read whole by mapping it into memory, without copying it: the text
// of a large input costs its pages only as they are read.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

class CMappedFile {
 public:
  CMappedFile() = default;
  ~CMappedFile();
  CMappedFile(const CMappedFile&) = delete;
  CMappedFile& operator=(const CMappedFile&) = delete;

  /// Maps the regular file at `path`; false when it cannot be opened or
  /// mapped (an empty file maps to an empty text).
  bool Open(const std::string& path);

  /// The file's bytes while it is mapped.
  std::string_view Text() const { return {data_, size_}; }

  /// Lets the system take back the pages read so far, which are read from
  /// the file again if they are read again: a large file read once costs
  /// the memory of what was read since. Does nothing where the system
  /// cannot be told.
  void Release();

  /// Unmaps the file.
  void Close();

 private:
  const char* data_ = nullptr;
  size_t size_ = 0;
};

}  // namespace platform
