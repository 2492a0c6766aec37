// A plain condenser that reads one byte at a time: the reference the
// condenser is checked against, for every input.
#pragma once

#include <cstddef>
#include <cstring>

namespace reference {

/// Writes the condensed form of `in` to `out`, as CondenseText does.
inline size_t CondenseText(const char* in, char* out) {
  const char* p = in;
  char* o = out;
  char quote = 0;   // the quote character of an open quotation, or 0
  bool sep = true;  // the last thing written separates words, or nothing is written yet
  for (char c; (c = *p) != '\0'; ++p) {
    if (quote) {
      *o++ = c;
      if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
        sep = true;
      } else if (c == quote) {
        quote = 0;
        sep = false;
      } else if (c != ')' && c != '/' && c != '{' && c != '}') {
        sep = false;
      }
      continue;
    }
    switch (c) {
      case ' ':
      case '\t':
      case '\n':
      case '\r':
        if (!sep) {
          *o++ = ' ';
          sep = true;
        }
        break;
      case '"':
      case '\'':
        *o++ = c;
        quote = c;
        sep = false;
        break;
      case '#': {
        // A "#" line is dropped with its newline.
        const char* eol = std::strchr(p, '\n');
        if (!eol) return static_cast<size_t>(o - out);
        p = eol;
        sep = false;
        break;
      }
      case '(':
        if (!sep) *o++ = ' ';
        *o++ = '(';
        sep = false;
        break;
      case ')':
        // A separating byte just before ")" is replaced by it.
        if (sep && o != out) {
          o[-1] = ')';
        } else {
          *o++ = ')';
        }
        *o++ = ' ';
        sep = true;
        break;
      case '/':
        if (p[1] == '/') {
          const char* eol = std::strchr(p + 2, '\n');
          if (!eol) return static_cast<size_t>(o - out);
          p = eol;
        } else if (p[1] == '*') {
          // The search starts at the opening "*", so "/*/" is a whole comment.
          const char* q = p + 1;
          while (*q != '\0' && !(q[0] == '*' && q[1] == '/')) ++q;
          if (*q == '\0') return static_cast<size_t>(o - out);
          p = q + 1;
        } else {
          *o++ = '/';
        }
        break;
      case '{':
      case '}':
        if (!sep) *o++ = ' ';
        *o++ = c;
        *o++ = ' ';
        sep = true;
        break;
      default:
        *o++ = c;
        sep = false;
        break;
    }
  }
  return static_cast<size_t>(o - out);
}

}  // namespace reference
