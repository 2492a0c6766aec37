// A text file created for writing by this process alone: opened exclusively,
// written through one buffer, with "\n" turned into the platform's line end.
#pragma once

#include <string>
#include <string_view>

namespace platform {

/// What opening a file does with what stands at its path. A path whose last
/// component is a symbolic link (on Windows, a reparse point) is refused in
/// every mode, so nothing is ever written through one.
enum class OpenMode {
  kTruncate,      // create the file, or empty an existing one once it is held
  kCreateNew,     // create the file; refuse when anything stands at the path
  kHoldExisting,  // hold the file standing at the path as it is; create none
  kReclaim,       // create the file, or take one that no process holds any
                  // more and empty it, if it is still the path's once held
};

class COutputFile {
 public:
  COutputFile() = default;
  ~COutputFile();
  COutputFile(const COutputFile&) = delete;
  COutputFile& operator=(const COutputFile&) = delete;

  /// Opens the regular file at `path` as `mode` says, holding it exclusively
  /// (a file held by another process fails to open); never blocks. False on
  /// any failure.
  bool Open(const std::string& path, OpenMode mode = OpenMode::kTruncate);

  /// Appends text; "\n" is written as the platform's line end.
  void Write(std::string_view text);

  /// Writes out what is buffered and closes the file; false when any write
  /// failed or the file was not open.
  bool Close();

  /// Writes `text`, the file's last, and closes it, as Write and Close do;
  /// where no line end changes, the text goes to the file as it stands,
  /// never copied into the buffer.
  bool CloseWith(std::string_view text);

  /// Makes this a second handle on the open `file` that writes nothing: the
  /// file stays held while this is open, even once `file` is closed; false
  /// when no handle could be had.
  bool ShareHold(const COutputFile& file);

  /// True while the file is open.
  bool IsOpen() const;

  /// True while the file is open and this Open created it.
  bool Created() const { return created_; }

  /// Gives this file the permissions of the open file `model` and, where the
  /// process may, its owner and group (on Windows a file keeps those its
  /// folder gives it); false when the permissions could not be set.
  bool TakeAccessOf(const COutputFile& model);

 private:
  void Reset();
  void Append(std::string_view text);
  void Drain();
  // Writes what is buffered, then `text` unbuffered.
  void WriteThrough(std::string_view text);
  // What each platform provides: taking the file or a second handle on one
  // that is open, writing bytes through, and letting it go.
  bool OpenHandle(const std::string& path, OpenMode mode);
  bool DuplicateHandle(const COutputFile& file);
  bool WriteRaw(const char* data, size_t size);
  bool ReleaseHandle();

  std::string buffer_;
  bool failed_ = false;
  bool created_ = false;
#ifdef _WIN32
  void* handle_ = nullptr;
#else
  int fd_ = -1;
#endif
};

}  // namespace platform
