// A file that replaces the one at its path whole or not at all. The text goes
// to a temporary file beside the path, which is moved over it only once it
// was written and closed without fault. That temporary file is also what
// keeps two runs from writing one destination at once: it is held (as is a
// file that stands at the path already) from Open until it was moved or
// removed, and the system lets go of it when a process ends in any way. So
// anything short of a commit (a failed write, a run that stops or is killed)
// leaves the file at the path as it was, and where there was none, none; a
// temporary file that a killed run left is taken over by the next. The file
// that replaces keeps the permissions, and where the process may, the owner
// and group of the one it replaces.
#pragma once

#include <string>

#include "platform/output_file.h"

namespace platform {

class CReplacingFile {
 public:
  CReplacingFile() = default;
  /// Gives up a file that was not committed: its temporary file is removed.
  ~CReplacingFile();
  CReplacingFile(const CReplacingFile&) = delete;
  CReplacingFile& operator=(const CReplacingFile&) = delete;

  /// Takes hold of the file at `path`, if one stands there, and of the
  /// temporary file beside it, which it creates or takes over; false when
  /// either cannot be written, is held by another process or is a link.
  bool Open(const std::string& path);

  /// Where the text goes until Commit.
  COutputFile& Text() { return temp_; }

  /// Closes the temporary file and moves it over the path; false, with the
  /// temporary file removed and the file at the path untouched, on any
  /// failure.
  bool Commit();

 private:
  void Abandon();
  // What each platform does: moving the closed temporary file over the path
  // (letting go of both once it is done), and removing it.
  bool MoveIntoPlace();
  void RemoveTemp();
  void LetGo();

  std::string path_;
  std::string temp_path_;
  COutputFile hold_;  // the file that stood at the path, held and never written
  COutputFile temp_;
  COutputFile keep_;  // holds the temporary file until it is moved or removed
  bool replaces_ = false;
  bool temp_made_ = false;
};

/// What stands at a path, a link taken as itself.
enum class PathKind {
  kNothing,
  kFile,       // a regular file
  kDirectory,  // a directory
  kOther,      // a link, FIFO, socket or device
};
PathKind KindAt(const std::string& path);

/// Removes the file at `path`, or a link standing there (never what it
/// points to); false when nothing was removed.
bool RemoveFile(const std::string& path);

}  // namespace platform
