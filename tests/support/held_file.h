// A file held open by the test process the way another program would hold it
// exclusively: with an exclusive lock on POSIX, with a share-nothing open on
// Windows. While it is held, the tool must not be able to open the file.
#pragma once

#include <filesystem>

namespace testing_support {

class HeldFile {
 public:
  /// Opens the existing file at `path` and holds it, unless someone else holds
  /// it already (never waits); see held().
  explicit HeldFile(const std::filesystem::path& path);
  ~HeldFile();
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;

  /// True when the file could be opened and is held.
  bool held() const { return held_; }

 private:
  bool held_ = false;
#ifdef _WIN32
  void* handle_ = nullptr;
#else
  int fd_ = -1;
#endif
};

}  // namespace testing_support
