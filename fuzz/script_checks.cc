#include "fuzz/script_checks.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "model/record_model.h"

namespace {

[[noreturn]] void Fault(std::string_view what, std::string_view detail) {
  std::fprintf(stderr, "script check failed: %.*s: \"%.*s\"\n", static_cast<int>(what.size()),
               what.data(), static_cast<int>(detail.size()), detail.data());
  std::abort();
}

// Passes over a string or name literal from its opening quote at `at`: it
// ends at its closing quote or at the line end, a backslash escaping the
// byte after it. Returns where the text after it starts.
size_t PastLiteral(std::string_view text, size_t at) {
  const char quote = text[at++];
  while (at < text.size() && text[at] != quote && text[at] != '\n') {
    at += text[at] == '\\' && at + 1 < text.size() && text[at + 1] != '\n' ? 2 : 1;
  }
  return at < text.size() && text[at] == quote ? at + 1 : at;
}

// Passes over the comment that starts at `at` ("//" or "/*"). A block
// comment ends at the "*/" that closes its own "/*", those inside it
// counted. Returns where the text after it starts.
size_t PastComment(std::string_view text, size_t at) {
  if (text[at + 1] == '/') {
    const size_t end = text.find('\n', at);
    return end == std::string_view::npos ? text.size() : end;
  }
  size_t depth = 0;
  while (at + 1 < text.size()) {
    if (text[at] == '/' && text[at + 1] == '*') {
      ++depth;
      at += 2;
    } else if (text[at] == '*' && text[at + 1] == '/') {
      at += 2;
      if (--depth == 0) return at;
    } else {
      ++at;
    }
  }
  return text.size();
}

bool StartsComment(std::string_view text, size_t at) {
  return text[at] == '/' && at + 1 < text.size() && (text[at + 1] == '/' || text[at + 1] == '*');
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}

// The script with every comment made blanks of the same length. A line whose
// first byte but blanks is "#" is a directive to its line end, in which a
// comment's opening is text.
std::string CodeOf(std::string_view script) {
  std::string code(script);
  bool line_start = true;
  for (size_t at = 0; at < script.size();) {
    const char c = script[at];
    if (c == '#' && line_start) {
      const size_t end = script.find('\n', at);
      at = end == std::string_view::npos ? script.size() : end;
    } else if (c == '"' || c == '\'') {
      at = PastLiteral(script, at);
      line_start = false;
    } else if (StartsComment(script, at)) {
      const size_t end = PastComment(script, at);
      for (size_t i = at; i < end; ++i) {
        if (code[i] != '\n') code[i] = ' ';
      }
      at = end;
      line_start = false;
    } else {
      if (c == '\n') line_start = true;
      if (c != '\n' && !IsBlank(c)) line_start = false;
      ++at;
    }
  }
  return code;
}

void ExpectInCode(std::string_view code, std::string_view name) {
  if (!name.empty() && code.find(name) == std::string_view::npos) {
    Fault("a name declared only inside a comment", name);
  }
}

// The depth of braces before each byte of `code` (a script with its
// comments blanked), literals and directive lines passed over.
std::vector<int> BraceDepths(std::string_view code) {
  std::vector<int> depths(code.size() + 1, 0);
  int depth = 0;
  bool line_start = true;
  for (size_t at = 0; at < code.size();) {
    const char c = code[at];
    size_t next = at + 1;
    if (c == '#' && line_start) {
      next = std::min(code.find('\n', at), code.size());
    } else if (c == '"' || c == '\'') {
      next = PastLiteral(code, at);
    } else if (c == '{') {
      ++depth;
    } else if (c == '}' && depth > 0) {  // a stray one outside blocks closes nothing
      --depth;
    }
    if (c == '\n') line_start = true;
    if (c != '\n' && !IsBlank(c)) line_start = false;
    for (; at < next; ++at) depths[at + 1] = depth;
  }
  return depths;
}

// The lowest depth of braces within `value` relative to its start, literals
// and comments passed over.
int LowestDepth(std::string_view value) {
  int depth = 0;
  int lowest = 0;
  for (size_t at = 0; at < value.size();) {
    if (value[at] == '"' || value[at] == '\'') {
      at = PastLiteral(value, at);
    } else if (StartsComment(value, at)) {
      at = PastComment(value, at);
    } else {
      if (value[at] == '{') ++depth;
      if (value[at] == '}') lowest = std::min(lowest, --depth);
      ++at;
    }
  }
  return lowest;
}

// A default value that takes in the "}" that closes its block (brings the
// depth down to none) ran past the block's end. A "}" closing a "{" left
// open on an earlier line of the block is the value's own. The value is
// looked for where its line starts; where it cannot be placed, nothing is
// said.
void ExpectWithinBlock(std::string_view script, const std::vector<int>& depths,
                       const std::vector<size_t>& lineStarts, const model::DefaultProperty& d) {
  if (d.value.empty() || d.line == 0 || d.line > lineStarts.size()) return;
  const int lowest = LowestDepth(d.value);
  if (lowest == 0) return;
  const size_t first = lineStarts[d.line - 1];
  const size_t last = d.line < lineStarts.size() ? lineStarts[d.line] : script.size();
  bool placed = false;
  for (size_t at = script.find(d.value, first); at < last; at = script.find(d.value, at + 1)) {
    placed = true;
    if (depths[at] + lowest > 0) return;
  }
  if (placed) Fault("a default value past its block's end", d.value);
}

}  // namespace

void CheckReadScript(const model::RecordModel& m, std::string_view script) {
  const std::string code = CodeOf(script);
  ExpectInCode(code, m.name);
  for (const model::Constant& c : m.constants) ExpectInCode(code, c.name);
  for (const model::Enumeration& e : m.enums) ExpectInCode(code, e.name);
  for (const model::Structure& s : m.structs) ExpectInCode(code, s.name);
  for (const model::Variable& v : m.variables) ExpectInCode(code, v.name);
  for (const model::Function& f : m.functions) ExpectInCode(code, f.name);
  if (m.defaults.empty()) return;
  const std::vector<int> depths = BraceDepths(code);
  std::vector<size_t> line_starts{0};
  for (size_t at = script.find('\n'); at != std::string_view::npos; at = script.find('\n', at + 1))
    line_starts.push_back(at + 1);
  for (const model::DefaultProperty& d : m.defaults)
    ExpectWithinBlock(script, depths, line_starts, d);
}
