#include "support/temp_tree.h"

#include <fstream>
#include <random>
#include <sstream>

namespace testing_support {

namespace fs = std::filesystem;

TempDir::TempDir() {
  std::random_device seed;
  std::mt19937_64 random(seed());
  for (;;) {
    fs::path candidate = fs::temp_directory_path() / ("korvanref-test-" + std::to_string(random()));
    if (fs::create_directory(candidate)) {
      path_ = candidate;
      return;
    }
  }
}

TempDir::~TempDir() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  if (path.has_parent_path()) fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::map<std::string, std::string> ReadTree(const fs::path& root) {
  std::map<std::string, std::string> files;
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
       ++it) {
    if (it->is_symlink() || !it->is_regular_file()) continue;
    files[fs::relative(it->path(), root).generic_string()] = ReadFile(it->path());
  }
  return files;
}

}  // namespace testing_support
