#include "support/temp_tree.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

namespace testing_support {

namespace fs = std::filesystem;

namespace {
constexpr size_t kLongestPath = 3000;
}  // namespace

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
  std::error_code error;
  fs::remove_all(path_, error);
#ifndef _WIN32
  // Trees too deep to remove by path are left to rm, which works relative to
  // each directory.
  if (error) std::system(("rm -rf '" + path_.string() + "'").c_str());
#endif
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
    // Directories whose paths are too long to open by path are passed over.
    if (it->path().native().size() > kLongestPath && it->is_directory()) {
      it.disable_recursion_pending();
      continue;
    }
    if (it->is_symlink() || !it->is_regular_file()) continue;
    files[fs::relative(it->path(), root).generic_string()] = ReadFile(it->path());
  }
  return files;
}

#ifndef _WIN32
// Works relative to each new directory, so no path handed to the system grows
// with the depth.
bool MakeDeepTree(const fs::path& root, const std::vector<std::string>& names,
                  const std::vector<std::pair<std::string, std::string>>& files) {
  int dir = open(root.c_str(), O_RDONLY | O_DIRECTORY);
  bool ok = dir >= 0;
  for (size_t i = 0; ok && i < names.size(); ++i) {
    int next = -1;
    ok = mkdirat(dir, names[i].c_str(), 0755) == 0 &&
         (next = openat(dir, names[i].c_str(), O_RDONLY | O_DIRECTORY)) >= 0;
    close(dir);
    dir = next;
    if (ok && i < files.size() && !files[i].first.empty()) {
      int fd = openat(dir, files[i].first.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      const std::string& bytes = files[i].second;
      ok = fd >= 0 && write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
      if (fd >= 0) close(fd);
    }
  }
  if (dir >= 0) close(dir);
  return ok;
}
#endif

}  // namespace testing_support
