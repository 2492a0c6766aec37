// Runs the built KorvanRef binary for an end-to-end test and collects what it
// did: its console output, its exit status and the files it wrote.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace testing_support {

struct ToolRun {
  std::string out;  // everything printed on standard output
  std::string err;  // everything printed on standard error
  int status = -1;  // exit status; -1 if it did not exit normally
  // Files under the working directory that the run created or changed, by
  // path relative to it ("/" separated), with their bytes.
  std::map<std::string, std::string> written;
};

/// Runs KorvanRef with `args` in the directory `workdir`.
ToolRun RunTool(const std::filesystem::path& workdir, const std::vector<std::string>& args);

}  // namespace testing_support
