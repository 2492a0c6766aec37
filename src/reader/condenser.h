// The condenser: strips a class script down to what the parser reads.
// Comments and "#" lines go, every run of white space outside quotes becomes
// one space, and parentheses and braces get spaces around them, so that
// statements split at ";", "{" and "}" and words at single spaces.
#pragma once

#include <cstddef>

/// The most bytes the condensed text can take per input byte ("{" becomes
/// " { ").
inline constexpr size_t kCondenseGrowth = 3;

/// Writes the condensed form of the text `in`, read up to its first NUL, to
/// `out`, which has room for kCondenseGrowth bytes per input byte. Returns the
/// number of bytes written; no NUL is added.
size_t CondenseText(const char* in, char* out);
