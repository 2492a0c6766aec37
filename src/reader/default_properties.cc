#include "reader/default_properties.h"

#include <cstring>
#include <string_view>

#include "model/names.h"
#include "reader/blanks.h"

namespace reader {

namespace {

// The line without its comments: a block comment open from an earlier line
// (`depth` levels deep) or standing at its start is passed over, and the line
// ends at a "//" or "/*" outside quotes; `depth` is left as deep as the block
// comments still open at its end.
std::string_view WithoutComments(std::string_view line, size_t& depth) {
  size_t i = 0;
  while (true) {
    while (depth > 0 && i < line.size()) {
      if (line.substr(i, 2) == "*/") {
        --depth;
        i += 2;
      } else if (line.substr(i, 2) == "/*") {
        ++depth;
        i += 2;
      } else {
        ++i;
      }
    }
    if (depth > 0) return {};
    line = TrimBlanks(line.substr(i));
    if (!line.starts_with("/*")) break;
    depth = 1;
    i = 2;
  }
  char quote = 0;
  for (i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quote) {
      if (c == '\\') {
        ++i;
      } else if (c == quote) {
        quote = 0;
      }
    } else if (c == '"') {
      quote = c;
    } else if (c == '/' && i + 1 < line.size() && (line[i + 1] == '/' || line[i + 1] == '*')) {
      if (line[i + 1] == '*') WithoutComments(line.substr(i + 2), depth = 1);
      return TrimBlanks(line.substr(0, i));
    }
  }
  return line;
}

// True when `line` starts with the two words `first` and `second`, in any
// case and with any blanks between; `*rest` is what follows them.
bool StartsWithWords(std::string_view line, std::string_view first, std::string_view second,
                     std::string_view* rest) {
  if (line.size() <= first.size() || !EqualsNoCase(line.substr(0, first.size()), first)) {
    return false;
  }
  std::string_view after = line.substr(first.size());
  if (after.empty() || !IsBlank(after.front())) return false;
  after = TrimBlanks(after);
  if (after.size() < second.size() || !EqualsNoCase(after.substr(0, second.size()), second)) {
    return false;
  }
  after.remove_prefix(second.size());
  if (!after.empty() && !IsBlank(after.front())) return false;
  *rest = TrimBlanks(after);
  return true;
}

// The "Key=Value" entries of one line, split at ";" outside quotes and
// brackets.
void ReadEntries(std::string_view line, uint32_t number, CDocArena& arena,
                 std::vector<model::DefaultProperty>& out) {
  char quote = 0;
  int depth = 0;
  size_t start = 0;
  size_t equals = std::string_view::npos;
  for (size_t i = 0; i <= line.size(); ++i) {
    const char c = i < line.size() ? line[i] : ';';
    if (quote) {
      if (c == '\\') {
        ++i;
      } else if (c == quote) {
        quote = 0;
      }
      continue;
    }
    if (c == '"') quote = c;
    if (c == '(' || c == '[') ++depth;
    if ((c == ')' || c == ']') && depth > 0) --depth;
    if (c == '=' && equals == std::string_view::npos && depth == 0) equals = i;
    if (c == ';' && depth == 0) {
      if (equals != std::string_view::npos) {
        const std::string_view key = TrimBlanks(line.substr(start, equals - start));
        if (!key.empty()) {
          out.push_back({arena.WithoutBlanks(key),
                         TrimBlanks(line.substr(equals + 1, i - equals - 1)), number});
        }
      }
      start = i + 1;
      equals = std::string_view::npos;
    }
  }
}

}  // namespace

void ReadDefaultProperties(const char* begin, const char* end, uint32_t line, CDocArena& arena,
                           std::vector<model::DefaultProperty>& out) {
  const char* at = begin;
  size_t comment_depth = 0;
  // An open group: its entry, and where its lines start.
  size_t group = 0;
  int group_depth = 0;
  const char* group_text = nullptr;
  const char* group_end = nullptr;
  while (at < end) {
    const void* found = std::memchr(at, '\n', static_cast<size_t>(end - at));
    const char* eol = found ? static_cast<const char*>(found) : end;
    const std::string_view text =
        WithoutComments(std::string_view(at, static_cast<size_t>(eol - at)), comment_depth);
    std::string_view rest;
    if (StartsWithWords(text, "begin", "object", &rest)) {
      if (group_depth++ == 0) {
        group = out.size();
        out.push_back({"Begin Object", {}, line});
        group_text = rest.data();
        group_end = rest.data() + rest.size();
      }
    } else if (group_depth > 0) {
      if (StartsWithWords(text, "end", "object", &rest) && --group_depth == 0) {
        out[group].value =
            TrimBlanks(std::string_view(group_text, static_cast<size_t>(group_end - group_text)));
      } else if (text.data()) {  // not inside a comment
        group_end = text.data() + text.size();
      }
    } else if (!text.empty()) {
      ReadEntries(text, line, arena, out);
    }
    if (eol == end) break;
    at = eol + 1;
    ++line;
  }
  // A group left open ends with the block.
  if (group_depth > 0) {
    out[group].value =
        TrimBlanks(std::string_view(group_text, static_cast<size_t>(group_end - group_text)));
  }
}

}  // namespace reader
