// Path rules of the platform the tool runs on: its separator, and how a
// destination directory given on the command line becomes file paths.
#pragma once

#include <string>
#include <string_view>

namespace platform {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

/// Returns `dir` without its last character when that is the path separator
/// (one character only; an empty string stays empty).
std::string StripOneTrailingSeparator(std::string dir);

/// Returns `dir`, the path separator and `name`.
std::string JoinPath(std::string_view dir, std::string_view name);

}  // namespace platform
