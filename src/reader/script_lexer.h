// Splits a script's text, as it stands in its file, into the tokens the
// complete reader reads: words, numbers, strings, name literals and single
// symbols, each with its line. Comments are passed over, but where they stand
// is kept, so that the reader can take a member's documentation from them;
// directive lines ("#exec ...") are passed over whole.
#pragma once

#include <cstdint>
#include <string_view>

namespace reader {

struct Token {
  enum Kind : uint8_t { kEnd, kWord, kNumber, kString, kName, kSymbol };
  Kind kind = kEnd;
  // Whether white space or a comment stands between this token and the one
  // before it.
  bool spaced = false;
  uint32_t line = 0;  // 1 for the first line
  const char* begin = nullptr;
  const char* end = nullptr;

  std::string_view Text() const { return {begin, static_cast<size_t>(end - begin)}; }
  bool Is(char symbol) const { return kind == kSymbol && *begin == symbol; }
  /// True for a word equal to `keyword` (lower case) but for case.
  bool IsWord(std::string_view keyword) const;
};

struct Comment {
  const char* begin = nullptr;  // at its "//" or "/*"
  const char* end = nullptr;
  uint32_t firstLine = 0;
  uint32_t lastLine = 0;
  bool block = false;    // "/* ... */"
  bool ownLine = false;  // nothing but blanks before it on its line
};

/// The comments between two tokens: the text from the first comment's start
/// to the last one's end, which holds nothing but comments and blanks. It is
/// kept as one range however many comments it holds, so that a script of
/// comments costs no memory beyond its text; `CommentWalk` reads it again
/// comment by comment.
struct CommentRun {
  const char* begin = nullptr;
  const char* end = nullptr;
  uint32_t firstLine = 0;  // the line of the first comment
  bool ownLine = false;    // the first comment has nothing but blanks before it on its line

  bool Empty() const { return begin == end; }
};

/// Reads the comments of a `CommentRun` one by one, as the lexer met them.
class CommentWalk {
 public:
  explicit CommentWalk(const CommentRun& run)
      : at_(run.begin), end_(run.end), line_(run.firstLine), line_start_(run.ownLine) {}

  /// The next comment; false after the last.
  bool Next(Comment& comment);

 private:
  const char* at_;
  const char* end_;
  uint32_t line_;
  bool line_start_;
};

/// The end of a block comment whose "/*" ends at `at`: just past the "*/"
/// that closes it, minding that block comments nest, or `end` when it is not
/// closed. `line` is counted on over the line ends passed.
const char* BlockCommentEnd(const char* at, const char* end, uint32_t& line);

class CScriptLexer {
 public:
  /// Starts reading `text`, all of it but a UTF-8 byte-order mark at its
  /// start.
  void Reset(std::string_view text);

  /// The next token; a token of kind kEnd at the end of the text, and from
  /// then on.
  Token Next();

  /// The comments between the token that Next returned last and the one
  /// before it. A directive line between them leaves only the comments after
  /// it.
  const CommentRun& CommentsBefore() const { return before_; }

  /// Where reading stands, and the line there.
  const char* Position() const { return at_; }
  uint32_t Line() const { return line_; }
  const char* TextEnd() const { return end_; }

  /// Passes over a block whose "{" Next returned last, through its closing
  /// "}" (or to the end of the text), as reading its tokens one by one
  /// would, but without making them: comments, strings, name literals and
  /// directive lines hide the braces they hold, and no comment is kept.
  /// Returns the end of the block's last token, the "}" where it is closed.
  const char* SkipBlock();

 private:
  // Passes over white space, comments and directive lines; true when any
  // stood there.
  bool SkipBlanks();
  void Quoted(char quote);

  const char* at_ = nullptr;
  const char* end_ = nullptr;
  uint32_t line_ = 1;
  bool line_start_ = true;  // only blanks since the last line end
  CommentRun pending_;
  CommentRun before_;
};

/// True for a byte that may stand in a word: letters, digits, "_", and every
/// byte from 0x80 up (letters of the 8-bit character set).
inline bool IsWordByte(char c) {
  const unsigned char u = static_cast<unsigned char>(c);
  return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_' ||
         u >= 0x80;
}

}  // namespace reader
