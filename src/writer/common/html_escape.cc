#include "writer/common/html_escape.h"

#include <array>

namespace {

// The bytes written as entities, each marked by its entity's index plus one.
constexpr std::array<unsigned char, 256> MakeEntityOf() {
  std::array<unsigned char, 256> of{};
  of['&'] = 1;
  of['<'] = 2;
  of['>'] = 3;
  of['"'] = 4;
  return of;
}
constexpr std::array<unsigned char, 256> kEntityOf = MakeEntityOf();
constexpr std::string_view kEntities[] = {"", "&amp;", "&lt;", "&gt;", "&quot;"};

}  // namespace

void AppendEscaped(std::string& out, std::string_view text) {
  // Most texts hold nothing to escape: they are looked through with one
  // table read a byte and appended whole.
  const char* const data = text.data();
  const size_t size = text.size();
  size_t start = 0;
  for (size_t i = 0; i < size; ++i) {
    const unsigned char entity = kEntityOf[static_cast<unsigned char>(data[i])];
    if (entity == 0) continue;
    out.append(data + start, i - start);
    out.append(kEntities[entity]);
    start = i + 1;
  }
  out.append(data + start, size - start);
}

size_t EscapedSize(std::string_view text) {
  size_t size = text.size();
  for (char c : text) {
    if (c == '&') size += 4;
    if (c == '<' || c == '>') size += 3;
    if (c == '"') size += 5;
  }
  return size;
}

std::string HtmlEscaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  AppendEscaped(out, text);
  return out;
}
