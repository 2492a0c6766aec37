#include "model/package_name.h"

#include "model/names.h"

std::string_view PackageOf(std::string_view path, char separator) {
  const auto is_separator = [separator](char c) { return c == '/' || c == separator; };
  // The folders of the path, from the innermost out: the one that holds a
  // "Classes" folder wins; else the innermost one.
  std::string_view innermost;
  std::string_view inner;  // the folder met last, inside the one looked at now
  size_t end = path.size();
  while (end > 0 && !is_separator(path[end - 1])) --end;  // past the file name
  while (end > 0) {
    const size_t stop = end - 1;  // the separator after the folder
    size_t start = stop;
    while (start > 0 && !is_separator(path[start - 1])) --start;
    const std::string_view folder = path.substr(start, stop - start);
    if (innermost.data() == nullptr) innermost = folder;
    if (inner.data() != nullptr && EqualsNoCase(inner, "classes")) return folder;
    inner = folder;
    end = start;
  }
  return innermost.data() == nullptr ? std::string_view() : innermost;
}
