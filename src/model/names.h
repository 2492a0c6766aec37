// How names compare throughout the tool: case-insensitively, with ASCII
// letters folded to lower case and bytes compared as unsigned values (so "_"
// orders before letters).
#pragma once

#include <string>
#include <string_view>

/// The byte with an ASCII capital letter folded to lower case.
inline unsigned char FoldByte(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

/// The text with every ASCII capital letter folded to lower case.
std::string FoldCase(std::string_view text);

/// Negative, zero or positive as `a` orders before, with or after `b`.
int CompareNoCase(std::string_view a, std::string_view b);

/// True when `a` and `b` are equal but for the case of ASCII letters.
/// Inline: most calls compare names of different lengths, or the same bytes.
inline bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i] &&
        FoldByte(static_cast<unsigned char>(a[i])) != FoldByte(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}
