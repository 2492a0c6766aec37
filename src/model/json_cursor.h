// A reader of JSON text that walks it once from start to end, value by value,
// as the caller expects them: no tree of values is built. A string without
// escapes is given as a view into the text; one with escapes is decoded into
// a list of texts the caller keeps, which only such strings take room in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

namespace model {

class CJsonCursor {
 public:
  /// Reads `text`, decoding strings with escapes into `decoded`.
  CJsonCursor(std::string_view text, std::deque<std::string>& decoded)
      : text_(text), decoded_(decoded) {}

  /// The offset of the next byte to read.
  size_t Offset() const { return at_; }
  /// Goes on reading at `offset`, ahead of Offset(): the bytes between are
  /// passed over unread.
  void MoveTo(size_t offset) { at_ = offset; }

  /// False once anything was not as expected; the reading then stops.
  bool ok() const { return problem_ == nullptr; }
  /// What went wrong: "cut off" when the text ended too soon, else a
  /// description with the byte offset.
  std::string Problem() const;

  /// Opens an object or array; false (a problem) when another value stands.
  bool Open(char bracket);
  /// Steps to the next key of an open object: false at its end (consumed) or
  /// on a problem; `first` tells whether a comma is due and is cleared.
  bool NextKey(bool& first, std::string_view& key);
  /// Steps to the next element of an open array, as NextKey does.
  bool NextElement(bool& first);

  /// A string, decoded to UTF-8.
  bool String(std::string_view& value);
  /// A string or null (`present` false).
  bool OptionalString(std::string_view& value, bool& present);
  /// A whole number from 0 to 2^32 - 1.
  bool Number(uint32_t& value);
  /// A whole number or null (`present` false).
  bool OptionalNumber(uint32_t& value, bool& present);
  /// A string, skipped.
  bool SkipString();
  /// Any value, skipped.
  bool Skip();
  /// True when only blanks follow; else a problem.
  bool AtEnd();

 private:
  bool Fail(const char* what);
  // Steps past a comma, unless `first`, to the next entry of an open object
  // or array; false at its `close` (consumed) or on a problem.
  bool Next(char close, bool& first);
  // Skips blanks; false (a problem) when the text ends there.
  bool Blanks() {
    while (at_ < text_.size()) {
      const char c = text_[at_];
      if (c != ' ' && c != '\n' && c != '\r' && c != '\t') return true;
      ++at_;
    }
    return CutOff();
  }
  bool CutOff();
  bool Literal(std::string_view word);
  bool SkipNumber();
  bool Hex4(uint32_t& value);

  std::string_view text_;
  std::deque<std::string>& decoded_;
  size_t at_ = 0;
  const char* problem_ = nullptr;
};

}  // namespace model
