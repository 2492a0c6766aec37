// Windows only: the tool's byte strings (in the system's 8-bit code page, as
// the command line gives them) turned into the UTF-16 paths the file calls
// take, and back.
#pragma once

#include <string>
#include <string_view>

namespace platform {

/// `text` read in the system's 8-bit code page.
std::wstring ToWide(std::string_view text);

/// `text` written in the system's 8-bit code page; `exact` (if given) is set
/// to false when some character has no equivalent there and was replaced.
std::string FromWide(std::wstring_view text, bool* exact);

/// The absolute form of `path` with the long-path prefix, so that its length
/// is not limited and its last components are taken literally (trailing dots
/// and spaces, device names such as "con"); no trailing separator unless it
/// is a drive's root.
std::wstring LongPath(const std::wstring& path);

/// `dir`, a separator and `name`.
std::wstring JoinWide(const std::wstring& dir, const std::wstring& name);

}  // namespace platform
