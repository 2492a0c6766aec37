#include "platform/replacing_file.h"

namespace platform {
namespace {
// The temporary file's name beside the final one.
constexpr const char* kTempSuffix = ".tmp";
}  // namespace

CReplacingFile::~CReplacingFile() {
  Abandon();
}

bool CReplacingFile::Open(const std::string& path) {
  Abandon();
  path_ = path;
  temp_path_ = path + kTempSuffix;
  // Nothing is ever created at the path itself before the commit, so a run
  // stopped at any point leaves it as it was.
  replaces_ = hold_.Open(path, OpenMode::kHoldExisting);
  if (!replaces_ && KindAt(path) != PathKind::kNothing) return false;
  // A regular file at the temporary path is either held by a run that is
  // writing this destination, which refuses this one, or was left by a run
  // that was stopped, and is taken over. A link or the like was left by no
  // run and goes.
  if (KindAt(temp_path_) == PathKind::kOther) RemoveFile(temp_path_);
  temp_made_ = temp_.Open(temp_path_, OpenMode::kReclaim);
  if (temp_made_ && !keep_.ShareHold(temp_)) Abandon();
  if (!temp_made_) LetGo();
  return temp_made_;
}

bool CReplacingFile::Commit() {
  if (!temp_made_) return false;
  // A file that stood at the path before lends the new one its access.
  const bool access = !replaces_ || temp_.TakeAccessOf(hold_);
  if (!access || !temp_.Close() || !MoveIntoPlace()) {
    Abandon();
    return false;
  }
  temp_made_ = false;
  return true;
}

void CReplacingFile::Abandon() {
  if (temp_made_) {
    RemoveTemp();
    temp_made_ = false;
  }
  LetGo();
}

void CReplacingFile::LetGo() {
  hold_.Close();
  keep_.Close();
}

}  // namespace platform
