#include "reader/script_lexer.h"

#include <cstring>
#include <utility>

namespace reader {

bool Token::IsWord(std::string_view keyword) const {
  if (kind != kWord || static_cast<size_t>(end - begin) != keyword.size()) return false;
  for (size_t i = 0; i < keyword.size(); ++i) {
    char c = begin[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != keyword[i]) return false;
  }
  return true;
}

void CScriptLexer::Reset(std::string_view text) {
  at_ = text.data();
  // A NUL ends the text, as it does for the declaration parser.
  const void* nul = std::memchr(text.data(), '\0', text.size());
  end_ = nul ? static_cast<const char*>(nul) : text.data() + text.size();
  line_ = 1;
  line_start_ = true;
  keep_comments_ = true;
  pending_.clear();
  before_.clear();
}

void CScriptLexer::Seek(const char* at, uint32_t line) {
  at_ = at;
  line_ = line;
  line_start_ = false;
  pending_.clear();
}

bool CScriptLexer::SkipBlanks() {
  bool skipped = false;
  while (at_ < end_) {
    const char c = *at_;
    if (c == '\n') {
      ++line_;
      line_start_ = true;
      ++at_;
    } else if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
      ++at_;
    } else if (c == '#' && line_start_) {
      // A directive: to its line end, declaring nothing. Comments before it
      // are no longer right before what follows.
      const void* eol = std::memchr(at_, '\n', static_cast<size_t>(end_ - at_));
      at_ = eol ? static_cast<const char*>(eol) : end_;
      pending_.clear();
    } else if (c == '/' && at_ + 1 < end_ && (at_[1] == '/' || at_[1] == '*')) {
      Comment comment;
      comment.begin = at_;
      comment.firstLine = line_;
      comment.ownLine = line_start_;
      comment.block = at_[1] == '*';
      if (comment.block) {
        const char* close = at_ + 2;
        while (close + 1 < end_ && !(close[0] == '*' && close[1] == '/')) {
          if (*close == '\n') ++line_;
          ++close;
        }
        if (close + 1 < end_) {
          at_ = close + 2;
        } else {
          if (close < end_ && *close == '\n') ++line_;
          at_ = end_;
        }
      } else {
        const void* eol = std::memchr(at_, '\n', static_cast<size_t>(end_ - at_));
        at_ = eol ? static_cast<const char*>(eol) : end_;
      }
      comment.end = at_;
      comment.lastLine = line_;
      line_start_ = false;
      if (keep_comments_) pending_.push_back(comment);
    } else {
      break;
    }
    skipped = true;
  }
  return skipped;
}

// A string or name literal from its opening quote: a backslash escapes the
// next byte, and a line end closes what was left open, so that one stray
// quote cannot swallow the rest of the script.
void CScriptLexer::Quoted(char quote) {
  ++at_;
  while (at_ < end_ && *at_ != quote && *at_ != '\n') {
    if (*at_ == '\\' && at_ + 1 < end_ && at_[1] != '\n') ++at_;
    ++at_;
  }
  if (at_ < end_ && *at_ == quote) ++at_;
}

Token CScriptLexer::Next() {
  Token token;
  token.spaced = SkipBlanks();
  before_.clear();
  std::swap(before_, pending_);
  token.line = line_;
  token.begin = at_;
  if (at_ >= end_) {
    token.end = at_;
    return token;
  }
  line_start_ = false;
  const char c = *at_;
  const unsigned char u = static_cast<unsigned char>(c);
  if (c == '"' || c == '\'') {
    token.kind = c == '"' ? Token::kString : Token::kName;
    Quoted(c);
  } else if (u >= '0' && u <= '9') {
    // Numbers with their fraction, exponent or suffix: 1.5, 0x1F, 2e3, 1.0f.
    token.kind = Token::kNumber;
    while (at_ < end_ && (IsWordByte(*at_) || *at_ == '.')) ++at_;
  } else if (IsWordByte(c)) {
    token.kind = Token::kWord;
    while (at_ < end_ && IsWordByte(*at_)) ++at_;
  } else {
    token.kind = Token::kSymbol;
    ++at_;
  }
  token.end = at_;
  return token;
}

}  // namespace reader
