// Runs the built KorvanRef binary for an end-to-end test and collects what it
// did: its console output, its exit status and the files it wrote.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace testing_support {

// Whether the tests, and so the tool beside them, run under AddressSanitizer
// or ThreadSanitizer: either needs far more address space than the tool, so
// tests that cap it or that hold gigabytes cannot run there.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
inline constexpr bool kUnderSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
inline constexpr bool kUnderSanitizer = true;
#else
inline constexpr bool kUnderSanitizer = false;
#endif
#else
inline constexpr bool kUnderSanitizer = false;
#endif

struct ToolRun {
  std::string out;  // everything printed on standard output
  std::string err;  // everything printed on standard error
  int status = -1;  // exit status; -1 if it did not exit normally
  // Files under the working directory that the run created or changed, by
  // path relative to it ("/" separated), with their bytes.
  std::map<std::string, std::string> written;
};

/// Runs KorvanRef with `args` in the directory `workdir`. A non-zero
/// `memory_limit` caps the bytes of address space the run may use, a
/// non-zero `file_limit` the descriptors it may have open, and a non-zero
/// `cpu_seconds` the processor time it may take before a signal ends it
/// (POSIX).
ToolRun RunTool(const std::filesystem::path& workdir, const std::vector<std::string>& args,
                size_t memory_limit = 0, size_t file_limit = 0, size_t cpu_seconds = 0);

}  // namespace testing_support
