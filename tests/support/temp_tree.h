// Temporary directory trees for tests: made fresh, filled with files, read
// back whole, and removed when the test ends.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace testing_support {

/// A fresh, empty directory that is removed with everything in it when the
/// object goes away.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  /// The path of `relative` inside the directory.
  std::filesystem::path operator/(const std::string& relative) const { return path_ / relative; }

 private:
  std::filesystem::path path_;
};

/// Writes `bytes` to `path`, creating the directories above it.
void WriteFile(const std::filesystem::path& path, const std::string& bytes);

/// Makes the chain of directories `names` below `root`, one inside the other,
/// however long the whole path grows, and writes `files[i]` (a name and its
/// bytes; an empty name for none) into the directory `names[i]`. Returns
/// false if any step fails.
bool MakeDeepTree(const std::filesystem::path& root, const std::vector<std::string>& names,
                  const std::vector<std::pair<std::string, std::string>>& files);

/// The bytes of the file at `path`.
std::string ReadFile(const std::filesystem::path& path);

/// Every regular file under `root`, by its path relative to `root` written
/// with "/", with its bytes. Links are not followed, nor are directories
/// whose paths are too long to open.
std::map<std::string, std::string> ReadTree(const std::filesystem::path& root);

}  // namespace testing_support
