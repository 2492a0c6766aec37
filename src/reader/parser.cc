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

// What one level collects before it is kept: views into the text being
// parsed.
struct LevelTexts {
  std::string_view name;
  std::string_view superName;
  std::vector<std::string_view> vars;
  std::vector<std::string_view> functions;
  std::vector<std::string_view> events;
};

// Working room of the parser, kept from script to script so that parsing
// does not allocate once it has grown: the tokens of a statement, and the
// texts of a class and of the state inside it.
struct Scratch {
  std::vector<std::string_view> tokens;
  LevelTexts levels[2];
};

thread_local Scratch scratch;

// Parses the declarations of one level from `*pos`: the whole text for a
// class, or a state's body, which ends after the "}" that closes it. Leaves
// `*pos` where the level stopped, and keeps the level's texts in `record`
// with `name` (a state's, from the statement that opened it) and `script`.
bool ParseLevel(CClassList& list, CClassRecord& record, const char** pos, std::string_view name,
                const ScriptPath& script) {
  std::vector<std::string_view>& tokens = scratch.tokens;
  // A class is the outer level and a state the inner one: states hold no
  // states.
  LevelTexts& level = scratch.levels[record.isState == 0 ? 0 : 1];
  level.name = name;
  level.superName = {};
  level.vars.clear();
  level.functions.clear();
  level.events.clear();
  bool ok = true;
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
        if (tokens.size() >= 2) level.name = tokens[1];
        if (tokens.size() >= 4 && tokens[2] == "expands") level.superName = tokens[3];
      } else if (state_at >= 0) {
        CClassRecord* state = list.CreateRecord();
        if (!state) {
          ok = false;
          break;
        }
        state->isState = 1;
        state->parent = &record;
        const char* body = end + 1;
        if (!ParseLevel(list, *state, &body, StateName(tokens, static_cast<size_t>(state_at)),
                        {})) {
          ok = false;
        }
        p = body;
        state_parsed = true;
      } else if (!block && tokens[0] == "var") {
        level.vars.push_back(statement);
      } else if (block && FindToken("function", tokens) >= 0) {
        level.functions.push_back(statement);
      } else if (block && FindToken("event", tokens) >= 0) {
        level.events.push_back(statement);
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
  const RecordTexts texts{level.name, level.superName, script,
                          level.vars, level.events,    level.functions};
  return list.SetTexts(record, texts) && ok;
}

}  // namespace

bool ParseBody(CClassList& list, CClassRecord& record, const char* text, const ScriptPath& script) {
  return ParseLevel(list, record, &text, {}, script);
}

bool ParseSource(CClassList& list, const CSourceBuffer& buffer, const ScriptPath& script) {
  CClassRecord* record = list.CreateRecord();
  if (!record) return false;
  record->isState = 0;
  return ParseBody(list, *record, buffer.Text(), script);
}
