#include "reader/parser.h"

#include <string_view>
#include <vector>

#include "reader/tokens.h"

namespace {

bool IsQuote(char c) {
  return c == '"' || c == '\'';
}

// The end of the statement that starts at `p`: the first ";", "{" or "}"
// outside quotes, or the end of the text. A quote opened by one quote
// character is closed only by the same character.
const char* StatementEnd(const char* p) {
  char quote = 0;
  for (;; ++p) {
    char c = *p;
    if (c == '\0') return p;
    if (quote) {
      if (c == quote) quote = 0;
    } else if (IsQuote(c)) {
      quote = c;
    } else if (c == ';' || c == '{' || c == '}') {
      return p;
    }
  }
}

// Skips the body of a block whose "{" stands just before `p`: returns the
// position after the "}" that closes it, or the end of the text.
const char* SkipBody(const char* p) {
  int depth = 1;
  char quote = 0;
  for (; *p != '\0'; ++p) {
    char c = *p;
    if (quote) {
      if (c == quote) quote = 0;
    } else if (IsQuote(c)) {
      quote = c;
    } else if (c == '{') {
      ++depth;
    } else if (c == '}' && --depth == 0) {
      return p + 1;
    }
  }
  return p;
}

// The name of a state: the first token after "state" that is not a
// parenthesised group, or empty.
std::string_view StateName(const std::vector<std::string_view>& tokens, size_t state_at) {
  for (size_t i = state_at + 1; i < tokens.size(); ++i) {
    if (tokens[i].empty() || tokens[i][0] != '(') return tokens[i];
  }
  return {};
}

// Parses the declarations of one level from `*pos`: the whole text for a
// class, or a state's body, which ends after the "}" that closes it. Leaves
// `*pos` where the level stopped.
bool ParseLevel(CClassList& list, CClassRecord& record, const char** pos) {
  std::vector<std::string_view> tokens;
  const char* p = *pos;
  while (*p != '\0') {
    while (*p == ' ') ++p;
    const char* end = StatementEnd(p);
    const std::string_view statement(p, static_cast<size_t>(end - p));
    const bool block = *end == '{';
    bool state_parsed = false;
    SplitTokens(statement, tokens);
    if (!tokens.empty()) {
      const bool is_class = record.isState == 0;
      // Only a class's block statements can open a state.
      const int state_at = is_class && block ? FindToken("state", tokens) : -1;
      if (is_class && !block && tokens[0] == "class") {
        if (tokens.size() >= 2) record.name = tokens[1];
        if (tokens.size() >= 4 && tokens[2] == "expands") record.superName = tokens[3];
      } else if (state_at >= 0) {
        CClassRecord* state = list.CreateRecord();
        if (!state) {
          *pos = p;
          return false;
        }
        state->isState = 1;
        state->parent = &record;
        state->name = StateName(tokens, static_cast<size_t>(state_at));
        const char* body = end + 1;
        ParseLevel(list, *state, &body);
        p = body;
        state_parsed = true;
      } else if (!block && tokens[0] == "var") {
        record.vars.emplace_back(statement);
      } else if (block && FindToken("function", tokens) >= 0) {
        record.functions.emplace_back(statement);
      } else if (block && FindToken("event", tokens) >= 0) {
        record.events.emplace_back(statement);
      }
    }
    if (state_parsed) continue;
    if (*end == '\0') {
      p = end;
      break;
    }
    p = end + 1;
    if (block) {
      p = SkipBody(p);
    } else if (*end == '}' && record.isState != 0) {
      break;  // the "}" that closes this state's body
    }
  }
  *pos = p;
  // The lists are kept to the end of the run: give back their spare room.
  record.vars.shrink_to_fit();
  record.functions.shrink_to_fit();
  record.events.shrink_to_fit();
  return true;
}

}  // namespace

bool ParseBody(CClassList& list, CClassRecord& record, const char* text) {
  return ParseLevel(list, record, &text);
}

bool ParseSource(CClassList& list, const CSourceBuffer& buffer) {
  CClassRecord* record = list.CreateRecord();
  if (!record) return false;
  record->isState = 0;
  ParseBody(list, *record, buffer.Text());
  return true;
}
