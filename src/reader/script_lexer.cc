#include "reader/script_lexer.h"

#include <array>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

const char* BlockCommentEnd(const char* at, const char* end, uint32_t& line) {
  size_t depth = 1;
  while (at < end) {
    const char c = *at;
    if (c == '\n') {
      ++line;
    } else if (c == '*' && at + 1 < end && at[1] == '/') {
      at += 2;
      if (--depth == 0) return at;
      continue;
    } else if (c == '/' && at + 1 < end && at[1] == '*') {
      at += 2;
      ++depth;
      continue;
    }
    ++at;
  }
  return end;
}

namespace {

// The end of the comment whose "//" or "/*" stands at `at`: its line end, or
// just past the "*/" that closes it.
const char* CommentEnd(const char* at, const char* end, uint32_t& line) {
  if (at[1] == '*') return BlockCommentEnd(at + 2, end, line);
  const void* eol = std::memchr(at, '\n', static_cast<size_t>(end - at));
  return eol ? static_cast<const char*>(eol) : end;
}

}  // namespace

bool CommentWalk::Next(Comment& comment) {
  while (at_ < end_) {
    const char c = *at_;
    if (c == '\n') {
      ++line_;
      line_start_ = true;
      ++at_;
    } else if (c == '/' && at_ + 1 < end_ && (at_[1] == '/' || at_[1] == '*')) {
      comment.begin = at_;
      comment.firstLine = line_;
      comment.ownLine = line_start_;
      comment.block = at_[1] == '*';
      at_ = CommentEnd(at_, end_, line_);
      comment.end = at_;
      comment.lastLine = line_;
      line_start_ = false;
      return true;
    } else {
      ++at_;  // a blank between two comments
    }
  }
  return false;
}

void CScriptLexer::Reset(std::string_view text) {
  // A UTF-8 byte-order mark at the start is not text. A NUL is a byte like
  // any other: binary data that some editors export into default properties
  // holds them, and what follows is still read.
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  at_ = text.data();
  end_ = text.data() + text.size();
  line_ = 1;
  line_start_ = true;
  pending_ = {};
  before_ = {};
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
      pending_ = {};
    } else if (c == '/' && at_ + 1 < end_ && (at_[1] == '/' || at_[1] == '*')) {
      if (pending_.Empty()) pending_ = {at_, at_, line_, line_start_};
      at_ = CommentEnd(at_, end_, line_);
      pending_.end = at_;
      line_start_ = false;
    } else {
      break;
    }
    skipped = true;
  }
  return skipped;
}

namespace {

// What a byte is to a block being passed over: part of a token, a blank, or
// one that needs a closer look.
enum ByteClass : uint8_t { kTokenByte, kBlankByte, kLookByte };

constexpr std::array<uint8_t, 256> ClassifyBytes() {
  std::array<uint8_t, 256> classes{};
  for (const unsigned char c : std::string_view(" \t\r\f\v")) classes[c] = kBlankByte;
  for (const unsigned char c : std::string_view("{}\n\"'/#")) classes[c] = kLookByte;
  return classes;
}
constexpr std::array<uint8_t, 256> kByteClasses = ClassifyBytes();

// Moves `at` over the token bytes and blanks before the next byte that needs
// a closer look, sixteen bytes at a time while sixteen are left (the rest is
// left to the caller); `last` becomes the end of the last token byte passed,
// and `lineStart` false if there was one.
void PassPlainBytes(const char*& at, const char* end, const char*& last, bool& lineStart) {
#if defined(__SSE2__)
  const auto is = [](__m128i block, char c) { return _mm_cmpeq_epi8(block, _mm_set1_epi8(c)); };
  while (end - at >= 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    const __m128i look =
        _mm_or_si128(_mm_or_si128(_mm_or_si128(is(block, '{'), is(block, '}')),
                                  _mm_or_si128(is(block, '\n'), is(block, '"'))),
                     _mm_or_si128(_mm_or_si128(is(block, '\''), is(block, '/')), is(block, '#')));
    const __m128i blank =
        _mm_or_si128(_mm_or_si128(is(block, ' '), is(block, '\t')),
                     _mm_or_si128(_mm_or_si128(is(block, '\r'), is(block, '\f')), is(block, '\v')));
    const unsigned looks = static_cast<unsigned>(_mm_movemask_epi8(look));
    // The bytes before the first that needs a look, and the tokens' among them.
    const unsigned before = looks != 0 ? (looks & (0u - looks)) - 1 : 0xffffu;
    const unsigned tokens = ~static_cast<unsigned>(_mm_movemask_epi8(blank)) & before;
    if (tokens != 0) {
      last = at + (32 - __builtin_clz(tokens));
      lineStart = false;
    }
    if (looks != 0) {
      at += __builtin_ctz(looks);
      return;
    }
    at += 16;
  }
#else
  (void)at;
  (void)end;
  (void)last;
  (void)lineStart;
#endif
}

}  // namespace

const char* CScriptLexer::SkipBlock() {
  pending_ = {};
  const char* last = at_;  // the end of the last token passed
  int depth = 1;
  while (at_ < end_) {
    PassPlainBytes(at_, end_, last, line_start_);
    if (at_ >= end_) break;
    const char c = *at_;
    const uint8_t kind = kByteClasses[static_cast<unsigned char>(c)];
    if (kind == kBlankByte) {
      ++at_;
    } else if (kind == kTokenByte) {
      last = ++at_;
      line_start_ = false;
    } else if (c == '\n') {
      ++line_;
      line_start_ = true;
      ++at_;
    } else if ((c == '#' && line_start_) ||
               (c == '/' && at_ + 1 < end_ && (at_[1] == '/' || at_[1] == '*'))) {
      // Directives and comments, passed over as between tokens, kept by
      // nobody.
      SkipBlanks();
      pending_ = {};
    } else if (c == '"' || c == '\'') {
      Quoted(c);
      last = at_;
      line_start_ = false;
    } else {
      last = ++at_;
      line_start_ = false;
      if (c == '{') ++depth;
      if (c == '}' && --depth == 0) break;
    }
  }
  return last;
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
  before_ = pending_;
  pending_ = {};
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
