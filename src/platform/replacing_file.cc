#include "platform/replacing_file.h"

namespace platform {
namespace {
// The temporary file's name beside the final one. Only the holder of the
// final path writes it, so one that stands there already was left by a run
// that was stopped, and is replaced.
constexpr const char* kTempSuffix = ".tmp";
}  // namespace

CReplacingFile::~CReplacingFile() {
  Abandon();
}

bool CReplacingFile::Open(const std::string& path) {
  Abandon();
  if (!hold_.Open(path, OpenMode::kKeep)) return false;
  path_ = path;
  temp_path_ = path + kTempSuffix;
  temp_made_ = temp_.Open(temp_path_, OpenMode::kCreateNew) ||
               (RemoveFile(temp_path_) && temp_.Open(temp_path_, OpenMode::kCreateNew));
  if (!temp_made_) LetGo();
  return temp_made_;
}

bool CReplacingFile::Commit() {
  if (!temp_made_) return false;
  // A file that stood at the path before lends the new one its access.
  const bool access = hold_.Created() || temp_.TakeAccessOf(hold_);
  if (!access || !temp_.Close() || !MoveOverHeld(hold_, temp_path_, path_)) {
    Abandon();
    return false;
  }
  temp_made_ = false;
  return true;
}

void CReplacingFile::Abandon() {
  if (temp_made_) {
    temp_.Close();
    RemoveFile(temp_path_);
    temp_made_ = false;
  }
  LetGo();
}

void CReplacingFile::LetGo() {
  if (hold_.Created()) {
    RemoveHeld(hold_, path_);
  } else {
    hold_.Close();
  }
}

}  // namespace platform
