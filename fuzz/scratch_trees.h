// A source tree and a destination for a fuzz target's runs, in a directory
// of their own under /tmp made once per process and removed, with all they
// hold, at the process's end.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <system_error>

#include "fuzz/fuzz_check.h"

class CScratchTrees {
 public:
  CScratchTrees() {
    char pattern[] = "/tmp/korvanref-fuzz-XXXXXX";
    const char* made = mkdtemp(pattern);
    FUZZ_CHECK(made != nullptr);
    root_ = made;
    FUZZ_CHECK(std::filesystem::create_directory(source()));
    FUZZ_CHECK(std::filesystem::create_directory(dest()));
  }
  ~CScratchTrees() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  CScratchTrees(const CScratchTrees&) = delete;
  CScratchTrees& operator=(const CScratchTrees&) = delete;

  /// Empties both trees, so that nothing of an earlier run is left.
  void Empty() {
    std::error_code error;
    std::filesystem::remove_all(source(), error);
    FUZZ_CHECK(!error);
    std::filesystem::remove_all(dest(), error);
    FUZZ_CHECK(!error);
    FUZZ_CHECK(std::filesystem::create_directory(source()));
    FUZZ_CHECK(std::filesystem::create_directory(dest()));
  }
  std::filesystem::path source() const { return root_ / "src"; }
  std::filesystem::path dest() const { return root_ / "out"; }

 private:
  std::filesystem::path root_;
};
