// How names compare throughout the tool: case-insensitively, with ASCII
// letters folded to lower case and bytes compared as unsigned values (so "_"
// orders before letters).
#pragma once

#include <cstdint>
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

/// The first sixteen bytes of a name, folded as above, as two numbers (a
/// name shorter than that padded with zero bytes). Two names whose prefixes
/// differ order as their prefixes do; sorting large lists compares these
/// in one array instead of reading each name from its record.
struct NamePrefix {
  uint64_t high = 0;
  uint64_t low = 0;
};
NamePrefix PrefixNoCase(std::string_view name);

/// Negative or positive as the names of prefixes `a` and `b` order; zero
/// when the prefixes are equal, and the names must be compared.
inline int ComparePrefixes(const NamePrefix& a, const NamePrefix& b) {
  if (a.high != b.high) return a.high < b.high ? -1 : 1;
  if (a.low != b.low) return a.low < b.low ? -1 : 1;
  return 0;
}
