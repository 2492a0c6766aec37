#include "model/json_cursor.h"

#include <cstring>

namespace model {

namespace {

// Nesting deeper than this in a skipped value is refused: the model file
// never nests so deep, and the skip recurses.
constexpr int kMaxDepth = 64;

const char* const kCutOff = "cut off";

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Writes `c` as UTF-8 at `out`, returning the end.
char* PutUtf8(char* out, uint32_t c) {
  if (c < 0x80) {
    *out++ = static_cast<char>(c);
  } else if (c < 0x800) {
    *out++ = static_cast<char>(0xC0 | (c >> 6));
    *out++ = static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    *out++ = static_cast<char>(0xE0 | (c >> 12));
    *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (c & 0x3F));
  } else {
    *out++ = static_cast<char>(0xF0 | (c >> 18));
    *out++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

}  // namespace

std::string CJsonCursor::Problem() const {
  if (problem_ == kCutOff) return kCutOff;
  return std::string(problem_ ? problem_ : "") + " at byte " + std::to_string(at_);
}

bool CJsonCursor::Fail(const char* what) {
  if (problem_ == nullptr) problem_ = at_ >= text_.size() ? kCutOff : what;
  return false;
}

bool CJsonCursor::CutOff() {
  return Fail(kCutOff);
}

bool CJsonCursor::Open(char bracket) {
  if (!ok() || !Blanks()) return false;
  if (text_[at_] != bracket) return Fail(bracket == '{' ? "not an object" : "not an array");
  ++at_;
  return true;
}

bool CJsonCursor::Next(char close, bool& first) {
  if (!ok() || !Blanks()) return false;
  if (text_[at_] == close) {
    ++at_;
    return false;
  }
  if (!first) {
    if (text_[at_] != ',') return Fail("not JSON");
    ++at_;
  }
  first = false;
  return true;
}

bool CJsonCursor::NextElement(bool& first) {
  return Next(']', first);
}

bool CJsonCursor::NextKey(bool& first, std::string_view& key) {
  if (!Next('}', first) || !String(key) || !Blanks()) return false;
  if (text_[at_] != ':') return Fail("not JSON");
  ++at_;
  return true;
}

bool CJsonCursor::Hex4(uint32_t& value) {
  if (text_.size() - at_ < 4) {
    at_ = text_.size();
    return Fail(kCutOff);
  }
  value = 0;
  for (int i = 0; i < 4; ++i) {
    const char c = text_[at_++];
    uint32_t digit = 0;
    if (c >= '0' && c <= '9') {
      digit = static_cast<uint32_t>(c - '0');
    } else if (c >= 'a' && c <= 'f') {
      digit = static_cast<uint32_t>(c - 'a' + 10);
    } else if (c >= 'A' && c <= 'F') {
      digit = static_cast<uint32_t>(c - 'A' + 10);
    } else {
      return Fail("not JSON");
    }
    value = value * 16 + digit;
  }
  return true;
}

bool CJsonCursor::SkipString() {
  if (!ok() || !Blanks()) return false;
  if (text_[at_] != '"') return Fail("not a string");
  ++at_;
  // The string ends at the first quote after an even run of backslashes.
  for (;;) {
    const void* quote = std::memchr(text_.data() + at_, '"', text_.size() - at_);
    if (quote == nullptr) {
      at_ = text_.size();
      return Fail(kCutOff);
    }
    const size_t end = static_cast<size_t>(static_cast<const char*>(quote) - text_.data());
    size_t escapes = end;
    while (text_[escapes - 1] == '\\') --escapes;
    at_ = end + 1;
    if ((end - escapes) % 2 == 0) return true;
  }
}

bool CJsonCursor::String(std::string_view& value) {
  if (!ok() || !Blanks()) return false;
  if (text_[at_] != '"') return Fail("not a string");
  const size_t start = ++at_;
  // The strings read are short names and types: a plain loop finds their
  // end sooner than a search.
  size_t end = start;
  while (end < text_.size() && text_[end] != '"' && text_[end] != '\\') ++end;
  if (end >= text_.size()) {
    at_ = text_.size();
    return Fail(kCutOff);
  }
  if (text_[end] == '"') {
    value = text_.substr(start, end - start);
    at_ = end + 1;
    return true;
  }
  // A string with escapes is decoded into a text of its own.
  std::string& out = decoded_.emplace_back();
  for (;;) {
    if (at_ >= text_.size()) return Fail(kCutOff);
    const char c = text_[at_++];
    if (c == '"') break;
    if (static_cast<unsigned char>(c) < 0x20) return Fail("not JSON");
    if (c != '\\') {
      out.push_back(c);
      continue;
    }
    if (at_ >= text_.size()) return Fail(kCutOff);
    const char e = text_[at_++];
    switch (e) {
      case '"':
      case '\\':
      case '/':
        out.push_back(e);
        break;
      case 'b':
        out.push_back('\b');
        break;
      case 'f':
        out.push_back('\f');
        break;
      case 'n':
        out.push_back('\n');
        break;
      case 'r':
        out.push_back('\r');
        break;
      case 't':
        out.push_back('\t');
        break;
      case 'u': {
        uint32_t code = 0;
        if (!Hex4(code)) return false;
        if (code >= 0xD800 && code < 0xDC00 && text_.size() - at_ >= 6 && text_[at_] == '\\' &&
            text_[at_ + 1] == 'u') {
          const size_t back = at_;
          at_ += 2;
          uint32_t low = 0;
          if (!Hex4(low)) return false;
          if (low >= 0xDC00 && low < 0xE000) {
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
          } else {
            at_ = back;  // the next escape stands on its own
          }
        }
        // A surrogate without its partner stands for no character.
        if (code >= 0xD800 && code < 0xE000) code = 0xFFFD;
        char bytes[4];
        out.append(bytes, static_cast<size_t>(PutUtf8(bytes, code) - bytes));
        break;
      }
      default:
        return Fail("not JSON");
    }
  }
  value = out;
  return true;
}

bool CJsonCursor::Literal(std::string_view word) {
  if (text_.substr(at_, word.size()) != word) {
    if (text_.size() - at_ < word.size() &&
        word.substr(0, text_.size() - at_) == text_.substr(at_)) {
      at_ = text_.size();
      return Fail(kCutOff);
    }
    return Fail("not JSON");
  }
  at_ += word.size();
  return true;
}

bool CJsonCursor::OptionalString(std::string_view& value, bool& present) {
  present = false;
  if (!ok() || !Blanks()) return false;
  if (text_[at_] == 'n') return Literal("null");
  present = true;
  return String(value);
}

bool CJsonCursor::Number(uint32_t& value) {
  if (!ok() || !Blanks()) return false;
  const size_t start = at_;
  uint64_t n = 0;
  while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9' && n <= UINT32_MAX) {
    n = n * 10 + static_cast<uint64_t>(text_[at_++] - '0');
  }
  if (at_ == start || n > UINT32_MAX) return Fail("not a whole number");
  value = static_cast<uint32_t>(n);
  return true;
}

bool CJsonCursor::OptionalNumber(uint32_t& value, bool& present) {
  present = false;
  if (!ok() || !Blanks()) return false;
  if (text_[at_] == 'n') return Literal("null");
  present = true;
  return Number(value);
}

bool CJsonCursor::SkipNumber() {
  const size_t start = at_;
  while (at_ < text_.size()) {
    const char c = text_[at_];
    if (!((c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E')) {
      break;
    }
    ++at_;
  }
  return at_ > start || Fail("not JSON");
}

bool CJsonCursor::Skip() {
  if (!ok() || !Blanks()) return false;
  const char c = text_[at_];
  if (c == '"') return SkipString();
  if (c == 't') return Literal("true");
  if (c == 'f') return Literal("false");
  if (c == 'n') return Literal("null");
  if (c != '{' && c != '[') return SkipNumber();
  // An object or an array is skipped by its brackets and strings alone,
  // each closing bracket checked against the one it closes.
  char open[kMaxDepth];
  int depth = 0;
  while (at_ < text_.size()) {
    const char b = text_[at_];
    if (b == '"') {
      if (!SkipString()) return false;
      continue;
    }
    ++at_;
    if (b == '{' || b == '[') {
      if (depth == kMaxDepth) return Fail("nested too deep");
      open[depth++] = b;
    } else if (b == '}' || b == ']') {
      if (depth == 0 || open[--depth] != (b == '}' ? '{' : '[')) return Fail("not JSON");
      if (depth == 0) return true;
    }
  }
  return Fail(kCutOff);
}

bool CJsonCursor::AtEnd() {
  if (!ok()) return false;
  while (at_ < text_.size() && IsBlank(text_[at_])) ++at_;
  return at_ == text_.size() || Fail("text after the end");
}

}  // namespace model
