#include "fuzz/json_reader.h"

#include <cstdint>
#include <string>

namespace {

// The length of the UTF-8 sequence at the start of `text`, or 0 when it is
// not a valid one.
size_t Utf8SequenceLength(std::string_view text) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  size_t length = 0;
  uint32_t code = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    code = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    code = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    code = lead & 0x07;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  for (size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(i) & 0x3F);
  }
  const bool shortest =
      length == 2 || (length == 3 && code >= 0x800) || (length == 4 && code >= 0x10000);
  const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
  return shortest && !surrogate && code <= 0x10FFFF ? length : 0;
}

class CJsonReader {
 public:
  CJsonReader(std::string_view text, std::string& error) : text_(text), error_(error) {}

  bool Document(JsonValue& out) {
    if (!Value(out, 0)) return false;
    SkipBlanks();
    return at_ == text_.size() || Fail("text after the value");
  }

 private:
  // Deeper nesting than any model file has is refused, so that hostile
  // text cannot exhaust the stack.
  static constexpr int kMaxDepth = 64;

  bool Fail(const char* reason) {
    error_ = std::string(reason) + " at byte " + std::to_string(at_);
    return false;
  }
  bool More() const { return at_ < text_.size(); }
  char Peek() const { return text_[at_]; }
  void SkipBlanks() {
    while (More() && (Peek() == ' ' || Peek() == '\t' || Peek() == '\n' || Peek() == '\r')) ++at_;
  }
  bool Word(std::string_view word) {
    if (text_.substr(at_, word.size()) != word) return Fail("an unknown word");
    at_ += word.size();
    return true;
  }
  bool IsDigit() const { return More() && Peek() >= '0' && Peek() <= '9'; }
  void SkipDigits() {
    while (IsDigit()) ++at_;
  }

  bool Value(JsonValue& out, int depth) {
    SkipBlanks();
    if (!More()) return Fail("a value missing");
    switch (Peek()) {
      case '{':
        return Object(out, depth + 1);
      case '[':
        return Array(out, depth + 1);
      case '"':
        out.type = JsonValue::Type::kString;
        return String(out.text);
      case 't':
        out.type = JsonValue::Type::kTrue;
        return Word("true");
      case 'f':
        out.type = JsonValue::Type::kFalse;
        return Word("false");
      case 'n':
        out.type = JsonValue::Type::kNull;
        return Word("null");
      default:
        out.type = JsonValue::Type::kNumber;
        return Number(out.text);
    }
  }

  bool Number(std::string& out) {
    const size_t start = at_;
    if (More() && Peek() == '-') ++at_;
    if (!IsDigit()) return Fail("a number without digits");
    if (Peek() == '0') {
      ++at_;
    } else {
      SkipDigits();
    }
    if (More() && Peek() == '.') {
      ++at_;
      if (!IsDigit()) return Fail("a fraction without digits");
      SkipDigits();
    }
    if (More() && (Peek() == 'e' || Peek() == 'E')) {
      ++at_;
      if (More() && (Peek() == '+' || Peek() == '-')) ++at_;
      if (!IsDigit()) return Fail("an exponent without digits");
      SkipDigits();
    }
    out.assign(text_.substr(start, at_ - start));
    return true;
  }

  bool Hex4(uint32_t& out) {
    out = 0;
    for (int i = 0; i < 4; ++i, ++at_) {
      if (!More()) return Fail("a cut \\u escape");
      const char c = Peek();
      const int digit = c >= '0' && c <= '9'   ? c - '0'
                        : c >= 'a' && c <= 'f' ? c - 'a' + 10
                        : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                               : -1;
      if (digit < 0) return Fail("a bad \\u escape");
      out = out * 16 + static_cast<uint32_t>(digit);
    }
    return true;
  }

  bool Escape(std::string& out) {
    if (!More()) return Fail("a cut escape");
    const char c = text_[at_++];
    switch (c) {
      case '"':
      case '\\':
      case '/':
        out.push_back(c);
        return true;
      case 'b':
        out.push_back('\b');
        return true;
      case 'f':
        out.push_back('\f');
        return true;
      case 'n':
        out.push_back('\n');
        return true;
      case 'r':
        out.push_back('\r');
        return true;
      case 't':
        out.push_back('\t');
        return true;
      case 'u':
        break;
      default:
        return Fail("an unknown escape");
    }
    uint32_t code = 0;
    if (!Hex4(code)) return false;
    if (code >= 0xDC00 && code <= 0xDFFF) return Fail("a low surrogate alone");
    if (code >= 0xD800 && code <= 0xDBFF) {
      uint32_t low = 0;
      if (text_.substr(at_, 2) != "\\u") return Fail("a high surrogate alone");
      at_ += 2;
      if (!Hex4(low)) return false;
      if (low < 0xDC00 || low > 0xDFFF) return Fail("a high surrogate alone");
      code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
    }
    AppendUtf8(out, code);
    return true;
  }

  bool String(std::string& out) {
    ++at_;  // the opening quote
    out.clear();
    while (More()) {
      const unsigned char c = static_cast<unsigned char>(Peek());
      if (c == '"') {
        ++at_;
        return true;
      }
      if (c == '\\') {
        ++at_;
        if (!Escape(out)) return false;
        continue;
      }
      if (c < 0x20) return Fail("a control byte in a string");
      const size_t length = Utf8SequenceLength(text_.substr(at_));
      if (length == 0) return Fail("invalid UTF-8");
      out.append(text_.substr(at_, length));
      at_ += length;
    }
    return Fail("an unclosed string");
  }

  bool Array(JsonValue& out, int depth) {
    if (depth > kMaxDepth) return Fail("nesting too deep");
    out.type = JsonValue::Type::kArray;
    ++at_;
    SkipBlanks();
    if (More() && Peek() == ']') {
      ++at_;
      return true;
    }
    while (true) {
      out.items.emplace_back();
      if (!Value(out.items.back(), depth)) return false;
      SkipBlanks();
      if (!More()) return Fail("an unclosed array");
      const char c = text_[at_++];
      if (c == ']') return true;
      if (c != ',') return Fail("a missing comma in an array");
    }
  }

  bool Object(JsonValue& out, int depth) {
    if (depth > kMaxDepth) return Fail("nesting too deep");
    out.type = JsonValue::Type::kObject;
    ++at_;
    SkipBlanks();
    if (More() && Peek() == '}') {
      ++at_;
      return true;
    }
    while (true) {
      SkipBlanks();
      if (!More() || Peek() != '"') return Fail("a missing key");
      std::string key;
      if (!String(key)) return false;
      if (out.Find(key)) return Fail("a key twice in an object");
      SkipBlanks();
      if (!More() || text_[at_++] != ':') return Fail("a missing colon");
      out.keys.push_back(std::move(key));
      out.items.emplace_back();
      if (!Value(out.items.back(), depth)) return false;
      SkipBlanks();
      if (!More()) return Fail("an unclosed object");
      const char c = text_[at_++];
      if (c == '}') return true;
      if (c != ',') return Fail("a missing comma in an object");
    }
  }

  std::string_view text_;
  std::string& error_;
  size_t at_ = 0;
};

}  // namespace

const JsonValue* JsonValue::Find(std::string_view key) const {
  for (size_t i = 0; i < keys.size(); ++i) {
    if (keys[i] == key) return &items[i];
  }
  return nullptr;
}

bool ReadJson(std::string_view text, JsonValue& out, std::string& error) {
  out = JsonValue();
  return CJsonReader(text, error).Document(out);
}

void AppendUtf8(std::string& out, uint32_t code) {
  if (code < 0x80) {
    out.push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (code >> 6)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (code >> 12)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (code >> 18)));
    out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

bool IsValidUtf8(std::string_view text) {
  for (size_t at = 0; at < text.size();) {
    const size_t length = Utf8SequenceLength(text.substr(at));
    if (length == 0) return false;
    at += length;
  }
  return true;
}
