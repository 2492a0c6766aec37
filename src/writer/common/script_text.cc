#include "writer/common/script_text.h"

void AppendScriptString(std::string& out, std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (char c : text) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (c == '\n') {
      out.append("\\u2424");
    } else if (c == '\\' || c == '"') {
      out.push_back('\\');
      out.push_back(c);
    } else if (byte < 0x20 || byte == 0x7F || c == '<' || c == '>' || c == '&') {
      out.append("\\x");
      out.push_back(kHex[byte >> 4]);
      out.push_back(kHex[byte & 0xF]);
    } else {
      out.push_back(c);
    }
  }
}
