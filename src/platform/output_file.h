// A text file created for writing by this process alone: opened exclusively,
// written through one buffer, with "\n" turned into the platform's line end.
#pragma once

#include <string>
#include <string_view>

namespace platform {

class COutputFile {
 public:
  COutputFile() = default;
  ~COutputFile();
  COutputFile(const COutputFile&) = delete;
  COutputFile& operator=(const COutputFile&) = delete;

  /// Creates or truncates the regular file at `path`, holding it exclusively
  /// (a file held by another process fails to open); never blocks. False on
  /// any failure.
  bool Open(const std::string& path);

  /// Appends text; "\n" is written as the platform's line end.
  void Write(std::string_view text);

  /// Writes out what is buffered and closes the file; false when any write
  /// failed or the file was not open.
  bool Close();

 private:
  void Drain();
  // What each platform provides: taking the file, writing bytes through,
  // and letting it go.
  bool OpenHandle(const std::string& path);
  bool IsOpen() const;
  bool WriteRaw(const char* data, size_t size);
  bool ReleaseHandle();

  std::string buffer_;
  bool failed_ = false;
#ifdef _WIN32
  void* handle_ = nullptr;
#else
  int fd_ = -1;
#endif
};

}  // namespace platform
