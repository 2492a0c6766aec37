#include "writer/common/script_text.h"

#include <array>
#include <cstdint>

namespace {

// How each byte is written: as it is, after a backslash, as a \x escape, or
// (a line feed) as the sign that pictures it.
enum ByteForm : uint8_t { kAsIs, kBackslashed, kHexEscaped, kLineSign };

constexpr std::array<ByteForm, 256> MakeForms() {
  std::array<ByteForm, 256> forms{};
  for (int b = 0; b < 0x20; ++b) forms[static_cast<size_t>(b)] = kHexEscaped;
  forms[0x7F] = kHexEscaped;
  forms['<'] = kHexEscaped;
  forms['>'] = kHexEscaped;
  forms['&'] = kHexEscaped;
  forms['\\'] = kBackslashed;
  forms['"'] = kBackslashed;
  forms['\n'] = kLineSign;
  return forms;
}

constexpr std::array<ByteForm, 256> kForms = MakeForms();

}  // namespace

void AppendScriptString(std::string& out, std::string_view text) {
  // Most names hold nothing to escape: the runs between the bytes that need
  // it are appended whole.
  static constexpr char kHex[] = "0123456789ABCDEF";
  const char* const data = text.data();
  const size_t size = text.size();
  size_t start = 0;
  for (size_t i = 0; i < size; ++i) {
    const auto byte = static_cast<unsigned char>(data[i]);
    const ByteForm form = kForms[byte];
    if (form == kAsIs) continue;
    out.append(data + start, i - start);
    start = i + 1;
    if (form == kLineSign) {
      out.append("\\u2424");
    } else if (form == kBackslashed) {
      const char escaped[] = {'\\', data[i]};
      out.append(escaped, 2);
    } else {
      const char escaped[] = {'\\', 'x', kHex[byte >> 4], kHex[byte & 0xF]};
      out.append(escaped, 4);
    }
  }
  out.append(data + start, size - start);
}
