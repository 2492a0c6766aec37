#include "writer/common/write_line.h"

#include <algorithm>
#include <charconv>
#include <cstdarg>
#include <cstring>
#include <string_view>

namespace {

// Pads `text` to `width` as the flags say: spaces before it, or after it
// with "-", or zeros after its sign with "0" (numbers only).
template <typename Sink>
void EmitPadded(Sink& sink, std::string_view text, size_t width, bool left, bool zeros) {
  static constexpr std::string_view kSpaces = "                                ";
  static constexpr std::string_view kZeros = "00000000000000000000000000000000";
  size_t pad = width > text.size() ? width - text.size() : 0;
  auto fill = [&sink](std::string_view with, size_t count) {
    for (; count > 0; count -= std::min(count, with.size())) {
      sink(with.substr(0, std::min(count, with.size())));
    }
  };
  if (left) {
    sink(text);
    fill(kSpaces, pad);
  } else if (zeros) {
    if (!text.empty() && text[0] == '-') {
      sink(text.substr(0, 1));
      text.remove_prefix(1);
    }
    fill(kZeros, pad);
    sink(text);
  } else {
    fill(kSpaces, pad);
    sink(text);
  }
}

// Formats `format` into `sink`, which takes each literal run and each
// converted argument as a string_view as soon as it is known: nothing is
// formatted whole first, so a text of any length goes through.
template <typename Sink>
void FormatInto(Sink& sink, const char* format, va_list args) {
  const char* p = format;
  while (*p != '\0') {
    const char* percent = std::strchr(p, '%');
    if (!percent) {
      sink(std::string_view(p));
      return;
    }
    if (percent != p) sink(std::string_view(p, static_cast<size_t>(percent - p)));
    const char* conversion = percent + 1;
    bool left = false;
    bool zeros = false;
    for (;; ++conversion) {
      if (*conversion == '-') {
        left = true;
      } else if (*conversion == '0') {
        zeros = true;
      } else {
        break;
      }
    }
    size_t width = 0;
    for (; *conversion >= '0' && *conversion <= '9'; ++conversion)
      width = width * 10 + static_cast<size_t>(*conversion - '0');
    char size = 0;
    if (*conversion == 'l' || *conversion == 'z') size = *conversion++;
    char digits[32];
    std::to_chars_result done{digits, std::errc()};
    switch (*conversion) {
      case '%':
        sink(std::string_view("%"));
        break;
      case 's': {
        const char* text = va_arg(args, const char*);
        EmitPadded(sink, text ? std::string_view(text) : std::string_view("(null)"), width, left,
                   false);
        break;
      }
      case 'd':
        done = size == 'l'   ? std::to_chars(digits, digits + sizeof digits, va_arg(args, long))
               : size == 'z' ? std::to_chars(digits, digits + sizeof digits, va_arg(args, size_t))
                             : std::to_chars(digits, digits + sizeof digits, va_arg(args, int));
        EmitPadded(sink, std::string_view(digits, static_cast<size_t>(done.ptr - digits)), width,
                   left, zeros);
        break;
      case 'u':
        done =
            size == 'l' ? std::to_chars(digits, digits + sizeof digits, va_arg(args, unsigned long))
            : size == 'z' ? std::to_chars(digits, digits + sizeof digits, va_arg(args, size_t))
                          : std::to_chars(digits, digits + sizeof digits, va_arg(args, unsigned));
        EmitPadded(sink, std::string_view(digits, static_cast<size_t>(done.ptr - digits)), width,
                   left, zeros);
        break;
      default:
        // Not one the templates use: written out as it stands.
        if (*conversion == '\0') {
          sink(std::string_view(percent));
          return;
        }
        sink(std::string_view(percent, static_cast<size_t>(conversion + 1 - percent)));
        break;
    }
    p = conversion + 1;
  }
}

}  // namespace

void WriteLine(platform::COutputFile& file, const char* format, ...) {
  auto sink = [&file](std::string_view text) { file.Write(text); };
  va_list args;
  va_start(args, format);
  FormatInto(sink, format, args);
  va_end(args);
}

void AppendFormat(std::string& out, const char* format, ...) {
  auto sink = [&out](std::string_view text) { out.append(text); };
  va_list args;
  va_start(args, format);
  FormatInto(sink, format, args);
  va_end(args);
}
