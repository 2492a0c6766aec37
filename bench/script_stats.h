// Statistics of a generated tree, measured on the scripts' text: sizes,
// the share of bytes in comments and in white space, lines, directive lines
// and records per script. They show how close a profile comes to real trees.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string_view>
#include <vector>

namespace bench {

class ScriptStats {
 public:
  /// Counts one script's text, which declares one class and `states` states.
  void Add(std::string_view text, size_t states);

  /// Prints the statistics of every script counted, a few lines.
  void Print(std::FILE* file) const;

 private:
  std::vector<size_t> sizes_;
  size_t comment_bytes_ = 0;
  size_t space_bytes_ = 0;  // white space outside comments
  size_t lines_ = 0;
  size_t directive_lines_ = 0;
  size_t records_ = 0;
  size_t stateless_ = 0;
  size_t several_states_ = 0;
};

}  // namespace bench
