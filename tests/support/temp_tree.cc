#include "support/temp_tree.h"

#ifdef _WIN32
#include <windows.h>
#else
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

#ifdef _WIN32
namespace {
// `path` as an absolute path with the long-path prefix, which lifts the
// limit of 260 characters.
std::wstring LongPathOf(const fs::path& path) {
  return L"\\\\?\\" + fs::absolute(path).make_preferred().wstring();
}

// Removes the tree at `path` (a long-path prefixed path) from the bottom up.
void RemoveLongTree(const std::wstring& path) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring child = path + L"\\" + name;
      if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
          !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        RemoveLongTree(child);
      } else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveDirectoryW(child.c_str());
      } else {
        DeleteFileW(child.c_str());
      }
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  RemoveDirectoryW(path.c_str());
}
}  // namespace
#endif

TempDir::~TempDir() {
  std::error_code error;
  fs::remove_all(path_, error);
#ifdef _WIN32
  if (error) RemoveLongTree(LongPathOf(path_));
#else
  // Trees too deep to remove by path are left to rm, which works relative to
  // each directory. What is left if rm fails cannot be helped here.
  if (error && std::system(("rm -rf '" + path_.string() + "'").c_str()) != 0) return;
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

#ifdef _WIN32
// Works with long-path prefixed paths, which may grow past 260 characters.
bool MakeDeepTree(const fs::path& root, const std::vector<std::string>& names,
                  const std::vector<std::pair<std::string, std::string>>& files) {
  std::wstring dir = LongPathOf(root);
  bool ok = true;
  for (size_t i = 0; ok && i < names.size(); ++i) {
    dir += L"\\" + fs::path(names[i]).wstring();
    ok = CreateDirectoryW(dir.c_str(), nullptr) != 0;
    if (ok && i < files.size() && !files[i].first.empty()) {
      HANDLE file =
          CreateFileW((dir + L"\\" + fs::path(files[i].first).wstring()).c_str(), GENERIC_WRITE, 0,
                      nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
      const std::string& bytes = files[i].second;
      DWORD written = 0;
      ok = file != INVALID_HANDLE_VALUE &&
           ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
      if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    }
  }
  return ok;
}
#else
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
