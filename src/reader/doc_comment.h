// Documentation taken from comments: the markers, rule lines and a leading
// "Name:" that repeats the class's name are dropped, the lines trimmed, and
// what remains joined by line ends. The texts are made in an arena that is
// sized once per script, so that views of them stay valid until it is reset.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

#include "model/record_model.h"
#include "reader/script_lexer.h"

namespace reader {

class CDocArena {
 public:
  /// Empties the arena and makes room for `size` bytes of documentation.
  /// False when that room cannot be had.
  bool Reset(size_t size);

  /// The documentation in the comments of `comments` (with `className`, the
  /// class's name, as a leading "Name:" to drop); absent when nothing is left
  /// of them or the arena is full.
  model::OptionalText Clean(const CommentRun& comments, std::string_view className = {});

  /// `text` without its blanks: `text` itself when it has none, else a copy
  /// in the arena (empty when the arena is full).
  std::string_view WithoutBlanks(std::string_view text);

 private:
  std::unique_ptr<char[]> bytes_;
  size_t capacity_ = 0;
  size_t size_ = 0;
};

}  // namespace reader
