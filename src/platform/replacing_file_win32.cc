#include <windows.h>

#include "platform/replacing_file.h"
#include "platform/wide_path_win32.h"

namespace platform {

bool MoveOverHeld(COutputFile& hold, const std::string& from, const std::string& to) {
  // A file that is open cannot be replaced here, so the hold ends just
  // before the move. Should another process take the path in that moment,
  // the move fails and the file it holds is left as it is.
  hold.Close();
  return ::MoveFileExW(LongPath(ToWide(from)).c_str(), LongPath(ToWide(to)).c_str(),
                       MOVEFILE_REPLACE_EXISTING) != 0;
}

bool RemoveHeld(COutputFile& hold, const std::string& path) {
  // A file that is open cannot be removed here: the hold ends first.
  hold.Close();
  return RemoveFile(path);
}

bool RemoveFile(const std::string& path) {
  return ::DeleteFileW(LongPath(ToWide(path)).c_str()) != 0;
}

}  // namespace platform
