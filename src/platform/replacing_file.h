// A file that replaces the one at its path whole or not at all. The path is
// held for this process alone from Open on, so two runs cannot write one
// destination at once; the text goes to a new temporary file beside it, which
// is moved over the path only once it was written and closed without fault.
// Anything short of that (a failed write, a run that stops or is killed)
// leaves the file at the path as it was, and where there was none, a failure
// leaves none. The file that replaces keeps the permissions, and where the
// process may, the owner and group of the one it replaces.
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

  /// Takes hold of `path` (creating an empty file there if there is none,
  /// which goes again unless the file is committed) and creates the
  /// temporary file beside it; false when the path cannot be written, is
  /// held by another process or is a link.
  bool Open(const std::string& path);

  /// Where the text goes until Commit.
  COutputFile& Text() { return temp_; }

  /// Closes the temporary file and moves it over the path; false, with the
  /// temporary file removed and the file at the path untouched, on any
  /// failure.
  bool Commit();

 private:
  void Abandon();
  // Lets go of the path; an empty file put there to hold it goes again.
  void LetGo();

  std::string path_;
  std::string temp_path_;
  COutputFile hold_;  // the file at the path, held and never written
  COutputFile temp_;
  bool temp_made_ = false;
};

/// Moves the closed file `from` over `to`, replacing it in one step, and lets
/// go of `hold`, which holds `to`; false when the move failed.
bool MoveOverHeld(COutputFile& hold, const std::string& from, const std::string& to);

/// Removes the file at `path`, which `hold` holds, and lets go of it; false
/// when it could not be removed.
bool RemoveHeld(COutputFile& hold, const std::string& path);

/// Removes the file at `path`, or a link standing there (never what it
/// points to); false when nothing was removed.
bool RemoveFile(const std::string& path);

}  // namespace platform
