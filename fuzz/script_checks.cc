#include "fuzz/script_checks.h"

#include <cstdio>
#include <cstdlib>
#include <string>

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

// A "}" outside literals and comments with no "{" of its own before it.
void ExpectNoStrayBrace(std::string_view value) {
  size_t depth = 0;
  for (size_t at = 0; at < value.size();) {
    if (value[at] == '"' || value[at] == '\'') {
      at = PastLiteral(value, at);
    } else if (StartsComment(value, at)) {
      at = PastComment(value, at);
    } else {
      if (value[at] == '{') ++depth;
      if (value[at] == '}' && depth-- == 0) Fault("a default value past its block's end", value);
      ++at;
    }
  }
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
  for (const model::DefaultProperty& d : m.defaults) ExpectNoStrayBrace(d.value);
}
