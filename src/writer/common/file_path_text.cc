#include "writer/common/file_path_text.h"

#include <cstdint>

#include "writer/common/html_escape.h"
#include "writer/common/script_text.h"

namespace {

// Reads the UTF-8 character at `at` of `text` into `*c`; the byte after it,
// or 0 when the bytes there are no valid UTF-8.
size_t NextCharacter(std::string_view text, size_t at, uint32_t* c) {
  const auto byte = [&text](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  if (lead < 0x80) {
    *c = lead;
    return at + 1;
  }
  size_t more;
  uint32_t least;
  if (lead >= 0xC2 && lead <= 0xDF) {
    more = 1;
    least = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    more = 2;
    least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    more = 3;
    least = 0x10000;
  } else {
    return 0;
  }
  if (text.size() - at <= more) return 0;
  uint32_t value = lead & (0x3F >> more);
  for (size_t i = 1; i <= more; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return 0;
    value = (value << 6) | (byte(at + i) & 0x3F);
  }
  if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  *c = value;
  return at + 1 + more;
}

}  // namespace

bool IsUtf8(std::string_view text) {
  uint32_t c = 0;
  for (size_t at = 0; at < text.size();) {
    at = NextCharacter(text, at, &c);
    if (at == 0) return false;
  }
  return true;
}

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

// Appends the path's runs of ASCII by `ascii` and each character from U+0080
// up by `wide`, for a valid UTF-8 path.
template <typename Ascii, typename Wide>
void AppendCharacters(std::string_view path, Ascii ascii, Wide wide) {
  size_t run = 0;
  for (size_t at = 0; at < path.size();) {
    uint32_t c = 0;
    const size_t next = NextCharacter(path, at, &c);
    if (c >= 0x80) {
      ascii(path.substr(run, at - run));
      wide(c);
      run = next;
    }
    at = next;
  }
  ascii(path.substr(run));
}

void AppendHex(std::string& out, uint32_t c, int digits) {
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) out.push_back(kHex[(c >> shift) & 15]);
}

}  // namespace

void AppendPathText(std::string& out, std::string_view path) {
  if (!IsUtf8(path)) {
    AppendEscaped(out, path);
    return;
  }
  AppendCharacters(
      path, [&out](std::string_view ascii) { AppendEscaped(out, ascii); },
      [&out](uint32_t c) {
        out.append("&#x");
        int digits = 6;
        while (digits > 1 && (c >> ((digits - 1) * 4)) == 0) --digits;
        AppendHex(out, c, digits);
        out.push_back(';');
      });
}

void AppendPathScriptString(std::string& out, std::string_view path) {
  if (!IsUtf8(path)) {
    AppendScriptString(out, path);
    return;
  }
  AppendCharacters(
      path, [&out](std::string_view ascii) { AppendScriptString(out, ascii); },
      [&out](uint32_t c) {
        if (c >= 0x10000) {
          // A pair of surrogates, as a script string holds such a character.
          const uint32_t v = c - 0x10000;
          out.append("\\u");
          AppendHex(out, 0xD800 + (v >> 10), 4);
          c = 0xDC00 + (v & 0x3FF);
        }
        out.append("\\u");
        AppendHex(out, c, 4);
      });
}
