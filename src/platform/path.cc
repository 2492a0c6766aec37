#include "platform/path.h"

namespace platform {

std::string StripOneTrailingSeparator(std::string dir) {
  if (!dir.empty() && dir.back() == kPathSeparator) dir.pop_back();
  return dir;
}

std::string JoinPath(std::string_view dir, std::string_view name) {
  std::string path;
  path.reserve(dir.size() + 1 + name.size());
  path.append(dir);
  path.push_back(kPathSeparator);
  path.append(name);
  return path;
}

}  // namespace platform
