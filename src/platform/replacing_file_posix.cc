#include <unistd.h>

#include <cstdio>

#include "platform/replacing_file.h"

namespace platform {

bool MoveOverHeld(COutputFile& hold, const std::string& from, const std::string& to) {
  // The path stays held through the rename, so no other run can take hold
  // of it in between; one that waits on the old file afterwards finds it is
  // no longer the path's.
  const bool moved = std::rename(from.c_str(), to.c_str()) == 0;
  hold.Close();
  return moved;
}

bool RemoveHeld(COutputFile& hold, const std::string& path) {
  // Removed while still held, so it is this run's file that goes.
  const bool removed = ::unlink(path.c_str()) == 0;
  hold.Close();
  return removed;
}

bool RemoveFile(const std::string& path) {
  return ::unlink(path.c_str()) == 0;
}

}  // namespace platform
