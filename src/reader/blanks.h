// Blanks within a line of a script: what the complete reader trims around
// comments, keys and values.
#pragma once

#include <string_view>

namespace reader {

/// True for a space, tab, carriage return, form feed or vertical tab.
inline bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}

/// `text` without the blanks at its start and end.
inline std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace reader
