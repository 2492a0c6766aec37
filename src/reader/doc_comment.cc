#include "reader/doc_comment.h"

#include <new>

#include "model/names.h"
#include "reader/blanks.h"

namespace reader {

namespace {

// A line drawn to set comments apart, made only of "=", "-", "*" and "/".
bool IsRuleLine(std::string_view line) {
  if (line.empty()) return false;
  for (char c : line) {
    if (c != '=' && c != '-' && c != '*' && c != '/') return false;
  }
  return true;
}

// The text of a comment without its markers: the slashes of a "//" comment,
// the "/*" (with any more "*") and "*/" of a block.
std::string_view Inside(const Comment& comment) {
  std::string_view text(comment.begin, static_cast<size_t>(comment.end - comment.begin));
  if (comment.block) {
    text.remove_prefix(2);
    if (text.size() >= 2 && text.substr(text.size() - 2) == "*/") text.remove_suffix(2);
    while (!text.empty() && text.front() == '*') text.remove_prefix(1);
  } else {
    while (!text.empty() && text.front() == '/') text.remove_prefix(1);
  }
  return text;
}

}  // namespace

bool CDocArena::Reset(size_t size) {
  size_ = 0;
  if (size <= capacity_) return true;
  bytes_.reset(new (std::nothrow) char[size]);
  capacity_ = bytes_ ? size : 0;
  return bytes_ != nullptr;
}

model::OptionalText CDocArena::Clean(const CommentRun& comments, std::string_view className) {
  char* const start = bytes_.get() + size_;
  char* out = start;
  char* const limit = bytes_.get() + capacity_;
  // Blank lines are written once, between lines of text only.
  bool blank_pending = false;
  CommentWalk walk(comments);
  Comment comment;
  while (walk.Next(comment)) {
    std::string_view text = Inside(comment);
    while (true) {
      const size_t eol = text.find('\n');
      std::string_view line = TrimBlanks(text.substr(0, eol));
      if (!IsRuleLine(line)) {
        // Lines inside a block often start with " * ".
        if (comment.block) {
          while (!line.empty() && line.front() == '*') line.remove_prefix(1);
          line = TrimBlanks(line);
        }
        if (line.empty()) {
          blank_pending = out != start;
        } else {
          const size_t need = line.size() + 1;
          if (static_cast<size_t>(limit - out) < need + 1) return std::nullopt;
          if (out != start) *out++ = '\n';
          if (blank_pending) *out++ = '\n';
          blank_pending = false;
          for (char c : line) *out++ = c;
        }
      }
      if (eol == std::string_view::npos) break;
      text.remove_prefix(eol + 1);
    }
  }
  std::string_view doc(start, static_cast<size_t>(out - start));
  // "Creature: anything that walks" on the class Creature says the name twice.
  if (!className.empty() && doc.size() > className.size() && doc[className.size()] == ':' &&
      EqualsNoCase(doc.substr(0, className.size()), className)) {
    doc.remove_prefix(className.size() + 1);
    while (!doc.empty() && (IsBlank(doc.front()) || doc.front() == '\n')) doc.remove_prefix(1);
  }
  if (doc.empty()) return std::nullopt;
  size_ = static_cast<size_t>(out - bytes_.get());
  return doc;
}

std::string_view CDocArena::WithoutBlanks(std::string_view text) {
  size_t blanks = 0;
  for (char c : text) blanks += IsBlank(c) ? 1 : 0;
  if (blanks == 0) return text;
  if (capacity_ - size_ < text.size() - blanks) return {};
  char* const start = bytes_.get() + size_;
  char* out = start;
  for (char c : text) {
    if (!IsBlank(c)) *out++ = c;
  }
  size_ += static_cast<size_t>(out - start);
  return {start, static_cast<size_t>(out - start)};
}

}  // namespace reader
