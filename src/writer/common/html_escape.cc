#include "writer/common/html_escape.h"

void AppendEscaped(std::string& out, std::string_view text) {
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char* entity;
    switch (text[i]) {
      case '&':
        entity = "&amp;";
        break;
      case '<':
        entity = "&lt;";
        break;
      case '>':
        entity = "&gt;";
        break;
      case '"':
        entity = "&quot;";
        break;
      default:
        continue;
    }
    out.append(text, start, i - start);
    out.append(entity);
    start = i + 1;
  }
  out.append(text, start, text.size() - start);
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
