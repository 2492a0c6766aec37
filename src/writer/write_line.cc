#include "writer/write_line.h"

#include <cstdarg>
#include <cstdio>

namespace {

void AppendFormatV(std::string& out, const char* format, va_list args) {
  // Most pieces fit the room already there; a longer one is formatted again
  // into exactly the room it needs.
  va_list again;
  va_copy(again, args);
  size_t old_size = out.size();
  size_t room = out.capacity() - old_size;
  if (room < 512) room = 512;
  out.resize(old_size + room);
  int n = std::vsnprintf(out.data() + old_size, room + 1, format, args);
  if (n < 0) {
    out.resize(old_size);
  } else if (static_cast<size_t>(n) <= room) {
    out.resize(old_size + static_cast<size_t>(n));
  } else {
    out.resize(old_size + static_cast<size_t>(n));
    std::vsnprintf(out.data() + old_size, static_cast<size_t>(n) + 1, format, again);
  }
  va_end(again);
}

}  // namespace

void WriteLine(platform::COutputFile& file, const char* format, ...) {
  static std::string piece;
  piece.clear();
  va_list args;
  va_start(args, format);
  AppendFormatV(piece, format, args);
  va_end(args);
  file.Write(piece);
}

void AppendFormat(std::string& out, const char* format, ...) {
  va_list args;
  va_start(args, format);
  AppendFormatV(out, format, args);
  va_end(args);
}
