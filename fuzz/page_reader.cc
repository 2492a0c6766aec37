#include "fuzz/page_reader.h"

#include <cstdint>

#include "fuzz/json_reader.h"

namespace {

bool IsLetterOrDigit(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Bytes stand for themselves (the pages are in an 8-bit character set);
// a character reference to a code above 0xFF is kept as UTF-8.
void AppendCode(std::string& out, uint32_t code) {
  if (code < 0x100) {
    out.push_back(static_cast<char>(code));
  } else {
    AppendUtf8(out, code);
  }
}

// An attribute value with its character references decoded; one that is
// not known stays as written.
std::string DecodeAttribute(std::string_view value) {
  static constexpr std::string_view kNamed[][2] = {
      {"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}};
  std::string out;
  for (size_t at = 0; at < value.size();) {
    if (value[at] != '&') {
      out.push_back(value[at++]);
      continue;
    }
    bool decoded = false;
    for (const auto& named : kNamed) {
      if (value.substr(at, named[0].size()) == named[0]) {
        out.append(named[1]);
        at += named[0].size();
        decoded = true;
        break;
      }
    }
    if (!decoded && value.substr(at, 2) == "&#") {
      const bool hex = value.substr(at + 2, 1) == "x" || value.substr(at + 2, 1) == "X";
      size_t end = at + (hex ? 3 : 2);
      uint32_t code = 0;
      while (end < value.size() && code < 0x110000) {
        const int digit = hex ? HexDigit(value[end])
                              : (value[end] >= '0' && value[end] <= '9' ? value[end] - '0' : -1);
        if (digit < 0) break;
        code = code * (hex ? 16 : 10) + static_cast<uint32_t>(digit);
        ++end;
      }
      if (end < value.size() && value[end] == ';' && end > at + (hex ? 3 : 2) && code < 0x10000) {
        AppendCode(out, code);
        at = end + 1;
        decoded = true;
      }
    }
    if (!decoded) out.push_back(value[at++]);
  }
  return out;
}

class CTagReader {
 public:
  CTagReader(std::string_view html, PageLinks& out, std::string& error)
      : html_(html), out_(out), error_(error) {}

  bool Read() {
    while (true) {
      at_ = html_.find('<', at_);
      if (at_ == std::string_view::npos) return true;
      if (!Tag()) return false;
    }
  }

 private:
  bool Fail(const char* reason) {
    error_ = std::string(reason) + " at byte " + std::to_string(at_);
    return false;
  }
  // Moves past the first `end` from here on.
  bool SkipPast(std::string_view end, const char* reason) {
    const size_t found = html_.find(end, at_);
    if (found == std::string_view::npos) return Fail(reason);
    at_ = found + end.size();
    return true;
  }

  bool Tag() {
    ++at_;  // the "<"
    if (html_.substr(at_, 3) == "!--") return SkipPast("-->", "an unclosed comment");
    if (html_.substr(at_, 1) == "!" || html_.substr(at_, 1) == "/") {
      return SkipPast(">", "an unclosed tag");
    }
    const size_t name_start = at_;
    while (at_ < html_.size() && IsLetterOrDigit(html_[at_])) ++at_;
    const std::string_view name = html_.substr(name_start, at_ - name_start);
    if (name.empty()) return Fail("a \"<\" that starts no tag");
    if (!Attributes(name)) return false;
    // What a script or style element holds is not markup.
    if (name == "script") return SkipPast("</script>", "an unclosed script");
    if (name == "style") return SkipPast("</style>", "an unclosed style");
    return true;
  }

  bool Attributes(std::string_view tag) {
    while (true) {
      while (at_ < html_.size() && IsBlank(html_[at_])) ++at_;
      if (at_ >= html_.size()) return Fail("an unclosed tag");
      if (html_[at_] == '>') {
        ++at_;
        return true;
      }
      if (html_.substr(at_, 2) == "/>") {
        at_ += 2;
        return true;
      }
      const size_t name_start = at_;
      while (at_ < html_.size() && !IsBlank(html_[at_]) && html_[at_] != '=' && html_[at_] != '>' &&
             html_[at_] != '"' && html_[at_] != '\'' && html_[at_] != '<') {
        ++at_;
      }
      const std::string_view name = html_.substr(name_start, at_ - name_start);
      if (name.empty()) return Fail("a stray quote or \"<\" in a tag");
      if (at_ >= html_.size() || html_[at_] != '=') continue;  // an attribute without a value
      ++at_;
      std::string_view value;
      if (at_ < html_.size() && (html_[at_] == '"' || html_[at_] == '\'')) {
        const char quote = html_[at_++];
        const size_t end = html_.find(quote, at_);
        if (end == std::string_view::npos) return Fail("an unclosed attribute value");
        value = html_.substr(at_, end - at_);
        at_ = end + 1;
      } else {
        const size_t start = at_;
        while (at_ < html_.size() && !IsBlank(html_[at_]) && html_[at_] != '>') ++at_;
        value = html_.substr(start, at_ - start);
      }
      if (name == "id" || (name == "name" && tag == "a")) {
        out_.targets.push_back(DecodeAttribute(value));
      } else if (name == "href") {
        out_.links.push_back(DecodeAttribute(value));
      }
    }
  }

  std::string_view html_;
  PageLinks& out_;
  std::string& error_;
  size_t at_ = 0;
};

}  // namespace

bool ReadPageLinks(std::string_view html, PageLinks& out, std::string& error) {
  out = PageLinks();
  return CTagReader(html, out, error).Read();
}

bool ReadScriptString(std::string_view text, std::string_view opening, std::string& out) {
  const size_t found = text.find(opening);
  if (found == std::string_view::npos) return false;
  out.clear();
  for (size_t at = found + opening.size(); at < text.size();) {
    const char c = text[at++];
    if (c == '"') return true;
    if (c != '\\') {
      out.push_back(c);
      continue;
    }
    if (at >= text.size()) return false;
    const char escaped = text[at++];
    const size_t digits = escaped == 'x' ? 2 : escaped == 'u' ? 4 : 0;
    if (digits == 0) {
      out.push_back(escaped == 'n' ? '\n' : escaped);
      continue;
    }
    uint32_t code = 0;
    for (size_t i = 0; i < digits; ++i, ++at) {
      const int digit = at < text.size() ? HexDigit(text[at]) : -1;
      if (digit < 0) return false;
      code = code * 16 + static_cast<uint32_t>(digit);
    }
    AppendCode(out, code);
  }
  return false;
}
