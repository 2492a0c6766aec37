#include "support/platform_text.h"

namespace testing_support {

#ifdef _WIN32
std::string Native(std::string path) {
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

std::string Text(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (char c : text) {
    if (c == '\n') out.push_back('\r');
    out.push_back(c);
  }
  return out;
}
#else
std::string Native(std::string path) {
  return path;
}
std::string Text(const std::string& text) {
  return text;
}
#endif

}  // namespace testing_support
