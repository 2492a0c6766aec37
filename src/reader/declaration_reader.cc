#include "reader/declaration_reader.h"

#include <cstring>
#include <new>
#include <span>

#include "reader/tokens.h"

namespace {

bool IsQuote(char c) {
  return c == '"' || c == '\'';
}

// Where the quotation opened at `p` ends: after the same quote character
// again, or at the end of the text.
const char* QuotationEnd(const char* p) {
  const char* close = std::strchr(p + 1, *p);
  return close ? close + 1 : p + std::strlen(p);
}

// The end of the statement that starts at `p`: the first ";", "{" or "}"
// outside quotes, or the end of the text. A quote opened by one quote
// character is closed only by the same character.
const char* StatementEnd(const char* p) {
  for (;;) {
    p += std::strcspn(p, ";{}\"'");
    if (!IsQuote(*p)) return p;
    p = QuotationEnd(p);
  }
}

// Skips the body of a block whose "{" stands just before `p`: returns the
// position after the "}" that closes it, or the end of the text.
const char* SkipBody(const char* p) {
  int depth = 1;
  for (;;) {
    p += std::strcspn(p, "{}\"'");
    const char c = *p;
    if (c == '\0') return p;
    if (IsQuote(c)) {
      p = QuotationEnd(p);
      continue;
    }
    if (c == '{') {
      ++depth;
    } else if (--depth == 0) {
      return p + 1;
    }
    ++p;
  }
}

// The name of a state: the first token after "state" that is not a
// parenthesised group, or empty.
std::string_view StateName(const std::vector<std::string_view>& tokens, size_t state_at) {
  for (size_t i = state_at + 1; i < tokens.size(); ++i) {
    if (tokens[i].empty() || tokens[i][0] != '(') return tokens[i];
  }
  return {};
}

}  // namespace

// Parses the declarations of levels_[at] from `*pos`: the whole text for the
// class, or a state's body, which ends after the "}" that closes it. Leaves
// `*pos` where the level stopped. A state found in the class is parsed at
// once, as the next level.
void CDeclarationReader::ParseLevel(const char** pos, size_t at) {
  const bool is_class = at == 0;
  Declarations& found = declarations_[is_class ? 0 : 1];
  levels_[at].begin[0] = found.vars.size();
  levels_[at].begin[1] = found.events.size();
  levels_[at].begin[2] = found.functions.size();
  std::vector<std::string_view>& tokens = tokens_;
  const char* p = *pos;
  while (*p != '\0') {
    while (*p == ' ') ++p;
    const char* end = StatementEnd(p);
    const std::string_view statement(p, static_cast<size_t>(end - p));
    const bool block = *end == '{';
    bool state_parsed = false;
    SplitTokens(statement, tokens);
    if (!tokens.empty()) {
      // Only a class's block statements can open a state.
      const int state_at = is_class && block ? FindToken("state", tokens) : -1;
      if (is_class && !block && tokens[0] == "class") {
        if (tokens.size() >= 2) levels_[at].name = tokens[1];
        if (tokens.size() >= 4 && tokens[2] == "expands") levels_[at].superName = tokens[3];
      } else if (state_at >= 0) {
        if (levelCount_ == levels_.size()) levels_.emplace_back();
        const size_t state = levelCount_++;
        levels_[state] = Level{StateName(tokens, static_cast<size_t>(state_at)), {}, {}, {}};
        const char* body = end + 1;
        ParseLevel(&body, state);
        p = body;
        state_parsed = true;
      } else if (!block && tokens[0] == "var") {
        found.vars.push_back(statement);
      } else if (block && FindToken("function", tokens) >= 0) {
        found.functions.push_back(statement);
      } else if (block && FindToken("event", tokens) >= 0) {
        found.events.push_back(statement);
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
    } else if (*end == '}' && !is_class) {
      break;  // the "}" that closes this state's body
    }
  }
  *pos = p;
  levels_[at].end[0] = found.vars.size();
  levels_[at].end[1] = found.events.size();
  levels_[at].end[2] = found.functions.size();
}

bool CDeclarationReader::Parse(const char* text) {
  levelCount_ = 0;
  for (Declarations& found : declarations_) {
    found.vars.clear();
    found.events.clear();
    found.functions.clear();
  }
  // The containers throw when memory runs out; what was found is then of no
  // use, and is not kept.
  try {
    if (levels_.empty()) levels_.emplace_back();
    levels_[0] = Level{};
    levelCount_ = 1;
    ParseLevel(&text, 0);
  } catch (const std::bad_alloc&) {
    levelCount_ = 0;
    return false;
  }
  return true;
}

bool CDeclarationReader::Read(CSourceBuffer& buffer) {
  return buffer.Condense() && Parse(buffer.Text());
}

RecordTexts CDeclarationReader::TextsOf(size_t at, const ScriptPath& script) const {
  const Level& level = levels_[at];
  const Declarations& found = declarations_[at == 0 ? 0 : 1];
  auto part = [&level](const std::vector<std::string_view>& texts, int kind) {
    return std::span<const std::string_view>(texts.data() + level.begin[kind],
                                             level.end[kind] - level.begin[kind]);
  };
  return RecordTexts{level.name,          level.superName,       script,
                     part(found.vars, 0), part(found.events, 1), part(found.functions, 2)};
}

bool CDeclarationReader::KeepInto(CClassList& list, CClassRecord& record,
                                  const ScriptPath& script) {
  if (levelCount_ == 0) return false;
  const size_t before = list.Count();
  // Making a record can throw when memory runs out; the states made are then
  // removed again.
  try {
    if (list.SetTexts(record, TextsOf(0, script))) {
      size_t at = 1;
      for (; at < levelCount_; ++at) {
        CClassRecord* state = list.CreateRecord();
        if (!state) break;
        state->isState = 1;
        state->parent = &record;
        if (!list.SetTexts(*state, TextsOf(at, {}))) break;
      }
      if (at == levelCount_) return true;
    }
  } catch (const std::bad_alloc&) {
  }
  list.RemoveRecordsFrom(before);
  return false;
}

bool CDeclarationReader::Keep(CClassList& list, const ScriptPath& script) {
  const size_t before = list.Count();
  try {
    CClassRecord* record = list.CreateRecord();
    if (record) {
      record->isState = 0;
      if (KeepInto(list, *record, script)) return true;
    }
  } catch (const std::bad_alloc&) {
  }
  list.RemoveRecordsFrom(before);
  return false;
}
