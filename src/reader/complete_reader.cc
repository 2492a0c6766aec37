#include "reader/complete_reader.h"

#include <algorithm>
#include <new>
#include <string>
#include <vector>

#include "model/model_codec.h"
#include "reader/default_properties.h"

namespace reader {

namespace {

using model::FunctionKind;

// Structures and states nest no deeper than this; deeper blocks are passed
// over, so that a hostile script cannot exhaust the stack.
constexpr int kMaxDepth = 32;

// A statement keeps no more tokens than this: no declaration has as many, and
// a script of one endless statement then costs no memory beyond its text.
constexpr size_t kMaxStatementTokens = 4096;

bool KindOf(const Token& token, FunctionKind* kind) {
  if (token.kind != Token::kWord) return false;
  static constexpr struct {
    std::string_view word;
    FunctionKind kind;
  } kKinds[] = {
      {"function", FunctionKind::kFunction},       {"event", FunctionKind::kEvent},
      {"delegate", FunctionKind::kDelegate},       {"operator", FunctionKind::kOperator},
      {"preoperator", FunctionKind::kPreOperator}, {"postoperator", FunctionKind::kPostOperator},
  };
  for (const auto& entry : kKinds) {
    if (token.IsWord(entry.word)) {
      *kind = entry.kind;
      return true;
    }
  }
  return false;
}

bool IsParameterModifier(const Token& token) {
  return token.IsWord("optional") || token.IsWord("out") || token.IsWord("coerce") ||
         token.IsWord("skip") || token.IsWord("const") || token.IsWord("init") ||
         token.IsWord("ref");
}

// Tokens that may stand among the modifiers of a declaration: words and the
// numbers and parentheses of groups such as "native(310)".
bool IsModifierToken(const Token& token) {
  return token.kind == Token::kWord || token.kind == Token::kNumber || token.Is('(') ||
         token.Is(')') || token.Is(',');
}

// The index of the bracket that closes the one at `open` among `tokens`
// [open, to), or `to` when it is not closed.
size_t Closing(const std::vector<Token>& tokens, size_t open, size_t to, char opening,
               char closing) {
  int depth = 0;
  for (size_t i = open; i < to; ++i) {
    if (tokens[i].Is(opening)) ++depth;
    if (tokens[i].Is(closing) && --depth == 0) return i;
  }
  return to;
}

// The index of the bracket that opens the one at `close`, searching back to
// `from`; `close` itself when there is none.
size_t Opening(const std::vector<Token>& tokens, size_t from, size_t close, char opening,
               char closing) {
  int depth = 0;
  for (size_t i = close + 1; i-- > from;) {
    if (tokens[i].Is(closing)) ++depth;
    if (tokens[i].Is(opening) && --depth == 0) return i;
  }
  return close;
}

// Splits tokens [from, to) at the commas outside brackets; calls `each` with
// every piece's [begin, end).
template <typename Each>
void SplitAtCommas(const std::vector<Token>& tokens, size_t from, size_t to, Each each) {
  int depth = 0;
  size_t start = from;
  for (size_t i = from; i < to; ++i) {
    const Token& t = tokens[i];
    if (t.Is('(') || t.Is('[') || t.Is('{')) ++depth;
    if ((t.Is(')') || t.Is(']') || t.Is('}')) && depth > 0) --depth;
    // "<" opens a type's argument only after "array", "class" or "map".
    if (t.Is('<') && i > from &&
        (tokens[i - 1].IsWord("array") || tokens[i - 1].IsWord("class") ||
         tokens[i - 1].IsWord("map"))) {
      ++depth;
    }
    if (t.Is('>') && depth > 0) --depth;
    if (t.Is(',') && depth == 0) {
      each(start, i);
      start = i + 1;
    }
  }
  each(start, to);
}

}  // namespace

std::string_view CCompleteParser::Slice(size_t from, size_t to) const {
  if (from >= to) return {};
  return {head_[from].begin, static_cast<size_t>(head_[to - 1].end - head_[from].begin)};
}

bool CCompleteParser::Read(std::string_view text) {
  try {
    if (!docs_.Reset(text.size() + 16)) return false;
    if (records_.empty()) records_.emplace_back();
    records_.front().Clear();
    count_ = 1;
    class_seen_ = false;
    head_.clear();
    lexer_.Reset(text);
    Advance();
    ParseScope(records_.front(), false, 0);
    return true;
  } catch (const std::bad_alloc&) {
    count_ = 0;
    return false;
  }
}

model::OptionalText CCompleteParser::Documentation(const Lead& lead, const char* end) {
  // The last comment before it, and the run of "//" lines, each on a line of
  // its own, that ends with it (none when the last is not such a line).
  Comment last;
  const char* run = nullptr;
  uint32_t run_end_line = 0;
  CommentWalk walk(lead.comments);
  Comment comment;
  while (walk.Next(comment)) {
    if (comment.block || !comment.ownLine) {
      run = nullptr;
    } else if (!run || comment.firstLine != run_end_line + 1) {
      run = comment.begin;
    }
    run_end_line = comment.lastLine;
    last = comment;
  }
  // 1. A "/** ... */" right before it, not one that trails another line.
  if (last.block && last.ownLine && last.end - last.begin > 4 && last.begin[2] == '*' &&
      last.begin[3] != '/') {
    return docs_.Clean({last.begin, last.end, last.firstLine, true});
  }
  // 2. A "//" comment after it on the line where it ends.
  if (end) {
    std::string_view rest(end, static_cast<size_t>(lexer_.TextEnd() - end));
    rest.remove_prefix(std::min(rest.find_first_not_of(" \t"), rest.size()));
    if (rest.starts_with("//")) {
      const char* eol = rest.data() + std::min(rest.find('\n'), rest.size());
      if (model::OptionalText doc = docs_.Clean({rest.data(), eol, 0, false})) return doc;
    }
  }
  // 3. The run of "//" lines right before it, with no blank line between.
  if (!run || run_end_line + 1 != lead.line) return std::nullopt;
  return docs_.Clean({run, lead.comments.end, 0, true});
}

size_t CCompleteParser::CollectHead() {
  const size_t from = head_.size();
  while (token_.kind != Token::kEnd && !token_.Is(';') && !token_.Is('{') && !token_.Is('}')) {
    if (head_.size() - from < kMaxStatementTokens) head_.push_back(token_);
    Advance();
  }
  return from;
}

const char* CCompleteParser::SkipBlock() {
  const char* end = lexer_.SkipBlock();
  Advance();
  return end;
}

model::Words CCompleteParser::Modifiers(RecordModel& record, size_t from, size_t to) {
  model::Words words{static_cast<uint32_t>(record.words.size()), 0};
  for (size_t i = from; i < to; ++i) {
    size_t last = i;
    if (i + 1 < to && head_[i + 1].Is('(')) last = Closing(head_, i + 1, to, '(', ')');
    if (last == to) last = to - 1;
    record.words.push_back(Slice(i, last + 1));
    ++words.count;
    i = last;
  }
  return words;
}

void CCompleteParser::ParseScope(RecordModel& record, bool inState, int depth) {
  while (token_.kind != Token::kEnd) {
    if (token_.Is('}')) {
      Advance();
      if (inState) return;
      continue;
    }
    if (token_.Is(';')) {
      Advance();
      continue;
    }
    if (token_.Is('{')) {
      SkipBlock();
      continue;
    }
    const Lead lead = SaveLeadingComments();
    const size_t head = head_.size();
    if (!inState && !class_seen_ && token_.IsWord("class")) {
      ParseClass(record, lead);
    } else if (!inState && token_.IsWord("const")) {
      ParseConstant(record, lead);
    } else if (!inState && token_.IsWord("enum")) {
      ParseEnum(record, lead, false);
    } else if (!inState && token_.IsWord("struct") && depth < kMaxDepth) {
      ParseStruct(record, lead, false, depth + 1);
    } else if (token_.IsWord("var") && depth < kMaxDepth) {
      ParseVariable(record, lead, 0, depth + 1);
    } else if (inState && token_.IsWord("ignores")) {
      ParseIgnores(record);
    } else if (!inState && token_.IsWord("defaultproperties")) {
      ParseDefaults(record);
    } else {
      ParseStatement(record, lead, inState, depth);
    }
    head_.resize(head);
  }
}

void CCompleteParser::ParseClass(RecordModel& record, const Lead& lead) {
  record.line = token_.line;
  const size_t head = CollectHead();
  const size_t end = head_.size();
  class_seen_ = true;
  size_t i = head + 1;
  if (i < end && head_[i].kind == Token::kWord) record.name = head_[i++].Text();
  const uint32_t first_modifier = static_cast<uint32_t>(record.words.size());
  while (i < end) {
    if ((head_[i].IsWord("extends") || head_[i].IsWord("expands")) && i + 1 < end) {
      record.extends = head_[i + 1].Text();
      i += 2;
    } else if (head_[i].IsWord("within") && i + 1 < end) {
      record.within = head_[i + 1].Text();
      i += 2;
    } else {
      size_t last = i;
      if (i + 1 < end && head_[i + 1].Is('(')) last = Closing(head_, i + 1, end, '(', ')');
      if (last == end) last = end - 1;
      record.words.push_back(Slice(i, last + 1));
      i = last + 1;
    }
  }
  record.modifiers = {first_modifier, static_cast<uint32_t>(record.words.size()) - first_modifier};
  // The class's documentation is every comment before its statement.
  record.doc = docs_.Clean(lead.comments, record.name);
  // "class Name { ... }" is read as if the "{" were a ";".
  if (token_.Is(';') || token_.Is('{')) Advance();
}

void CCompleteParser::ParseConstant(RecordModel& record, const Lead& lead) {
  const size_t head = CollectHead();
  const size_t end = head_.size();
  const char* stop = head_[end - 1].end;
  if (token_.Is(';')) {
    stop = token_.end;
    Advance();
  }
  if (end - head < 2 || head_[head + 1].kind != Token::kWord) return;
  model::Constant constant;
  constant.name = head_[head + 1].Text();
  if (end - head > 3 && head_[head + 2].Is('=')) constant.value = Slice(head + 3, end);
  constant.line = lead.line;
  constant.doc = Documentation(lead, stop);
  record.constants.push_back(constant);
}

Token CCompleteParser::ParseEnum(RecordModel& record, const Lead& lead, bool inDeclaration) {
  Advance();  // "enum"
  Token name = token_;
  if (name.kind != Token::kWord) return name;
  Advance();
  if (!token_.Is('{')) return name;
  model::Enumeration enumeration;
  enumeration.name = name.Text();
  enumeration.line = lead.line;
  enumeration.doc = inDeclaration ? std::nullopt : Documentation(lead, nullptr);
  enumeration.values.first = static_cast<uint32_t>(record.words.size());
  Advance();
  // The first word of each piece between commas is a value.
  bool expect_value = true;
  while (token_.kind != Token::kEnd && !token_.Is('}')) {
    if (token_.Is(',')) {
      expect_value = true;
    } else if (expect_value && token_.kind == Token::kWord) {
      record.words.push_back(token_.Text());
      ++enumeration.values.count;
      expect_value = false;
    }
    Advance();
  }
  if (token_.Is('}')) Advance();
  if (!inDeclaration && token_.Is(';')) Advance();
  record.enums.push_back(enumeration);
  return name;
}

Token CCompleteParser::ParseStruct(RecordModel& record, const Lead& lead, bool inDeclaration,
                                   int depth) {
  const size_t head = CollectHead();
  const size_t end = head_.size();
  size_t name_at = end - 1;
  size_t extends_at = end;
  for (size_t i = head + 1; i < end; ++i) {
    if (head_[i].IsWord("extends") || head_[i].IsWord("expands")) {
      extends_at = i;
      break;
    }
  }
  if (extends_at < end) name_at = extends_at - 1;
  const Token name = head_[name_at];
  if (name_at <= head || name.kind != Token::kWord) {
    if (token_.Is('{')) SkipBlock();
    return name;
  }
  const uint32_t index = static_cast<uint32_t>(record.structs.size());
  {
    model::Structure structure;
    structure.name = name.Text();
    if (extends_at + 1 < end) structure.extends = Slice(extends_at + 1, end);
    structure.modifiers = Modifiers(record, head + 1, name_at);
    structure.line = lead.line;
    structure.doc = inDeclaration ? std::nullopt : Documentation(lead, nullptr);
    record.structs.push_back(structure);
  }
  if (!token_.Is('{')) return name;
  Advance();
  while (token_.kind != Token::kEnd && !token_.Is('}')) {
    const Lead member = SaveLeadingComments();
    const size_t mark = head_.size();
    if (token_.IsWord("var") && depth < kMaxDepth) {
      ParseVariable(record, member, index + 1, depth + 1);
    } else if (token_.IsWord("enum")) {
      ParseEnum(record, member, false);
    } else if (token_.IsWord("struct") && depth < kMaxDepth) {
      ParseStruct(record, member, false, depth + 1);
    } else if (token_.Is('{')) {
      SkipBlock();
    } else if (token_.Is(';')) {
      Advance();
    } else {
      CollectHead();
      if (token_.Is('{')) SkipBlock();
      if (token_.Is(';')) Advance();
    }
    head_.resize(mark);
  }
  if (token_.Is('}')) Advance();
  if (!inDeclaration && token_.Is(';')) Advance();
  return name;
}

void CCompleteParser::ParseVariable(RecordModel& record, const Lead& lead, uint32_t structure,
                                    int depth) {
  Advance();  // "var"
  model::OptionalText category;
  if (token_.Is('(')) {
    Advance();
    const char* inside = token_.begin;
    const char* inside_end = inside;
    while (token_.kind != Token::kEnd && !token_.Is(')') && !token_.Is(';')) {
      inside_end = token_.end;
      Advance();
    }
    if (token_.Is(')')) Advance();
    category = std::string_view(inside, static_cast<size_t>(inside_end - inside));
    // "var()" puts the variable in the category named after its class.
    if (category->empty()) category = records_.front().name;
  }
  const size_t head = head_.size();
  while (token_.kind != Token::kEnd && !token_.Is(';') && !token_.Is('}') && !token_.Is('{')) {
    if (token_.IsWord("enum") || token_.IsWord("struct")) {
      const bool is_enum = token_.IsWord("enum");
      const Lead inner{{}, token_.line};
      const size_t mark = head_.size();
      const Token name =
          is_enum ? ParseEnum(record, inner, true) : ParseStruct(record, inner, true, depth + 1);
      head_.resize(mark);
      head_.push_back(name);
      continue;
    }
    if (head_.size() - head < kMaxStatementTokens) head_.push_back(token_);
    Advance();
  }
  const char* stop = head_.size() > head ? head_.back().end : token_.begin;
  if (token_.Is(';')) {
    stop = token_.end;
    Advance();
  }
  const size_t end = head_.size();
  const size_t first_variable = record.variables.size();
  std::string_view type;
  model::Words modifiers;
  SplitAtCommas(head_, head, end, [&](size_t from, size_t to) {
    if (from >= to) return;
    size_t name_at = to - 1;
    model::OptionalText size;
    if (head_[name_at].Is(']')) {
      const size_t open = Opening(head_, from, name_at, '[', ']');
      if (open == name_at || open == from) return;
      size = Slice(open + 1, name_at);
      if (!size->data()) size = std::string_view();
      name_at = open - 1;
    }
    if (head_[name_at].kind != Token::kWord) return;
    if (from == head) {
      // The first piece holds the modifiers and the type before the name.
      if (name_at == from) return;
      size_t type_at = name_at - 1;
      if (head_[type_at].Is('>')) {
        type_at = Opening(head_, from, type_at, '<', '>');
        if (type_at > from) --type_at;
      } else if (head_[type_at].Is(']')) {
        type_at = Opening(head_, from, type_at, '[', ']');
        if (type_at > from) --type_at;
      }
      // A qualified type, "Outer.Inner", is one type, not modifiers.
      while (type_at >= from + 2 && head_[type_at - 1].Is('.') &&
             head_[type_at - 2].kind == Token::kWord) {
        type_at -= 2;
      }
      type = Slice(type_at, name_at);
      modifiers = Modifiers(record, from, type_at);
    }
    model::Variable variable;
    variable.name = head_[name_at].Text();
    variable.type = type;
    variable.category = category;
    variable.modifiers = modifiers;
    variable.size = size;
    variable.line = lead.line;
    variable.structure = structure;
    record.variables.push_back(variable);
  });
  if (record.variables.size() > first_variable) {
    const model::OptionalText doc = Documentation(lead, stop);
    for (size_t i = first_variable; i < record.variables.size(); ++i) record.variables[i].doc = doc;
  }
}

void CCompleteParser::ParseIgnores(RecordModel& record) {
  const size_t head = CollectHead();
  record.ignores.first = static_cast<uint32_t>(record.words.size());
  for (size_t i = head + 1; i < head_.size(); ++i) {
    if (head_[i].kind == Token::kWord) record.words.push_back(head_[i].Text());
  }
  record.ignores.count = static_cast<uint32_t>(record.words.size()) - record.ignores.first;
  if (token_.Is(';')) Advance();
}

void CCompleteParser::ParseDefaults(RecordModel& record) {
  Advance();  // "defaultproperties"
  if (!token_.Is('{')) return;
  // The block ends at the brace that closes it, as any block does, wherever
  // that stands: "defaultproperties { Speed=1 }" is one line.
  const char* const begin = token_.end;
  const uint32_t line = token_.line;
  const char* end = lexer_.SkipBlock();
  if (end > begin && end[-1] == '}' && end == lexer_.Position()) --end;
  ReadDefaultProperties(begin, end, line, docs_, record.defaults);
  Advance();
}

void CCompleteParser::ParseStatement(RecordModel& record, const Lead& lead, bool inState,
                                     int depth) {
  const size_t head = CollectHead();
  const size_t end = head_.size();
  // A declaration starts with modifiers: words and their groups, up to the
  // keyword that says what it declares. What stands inside a group is not
  // looked at, so that a statement such as "if (Event != '') Trigger(E);" in
  // a state's code declares nothing.
  for (size_t i = head; i < end && IsModifierToken(head_[i]); ++i) {
    if (head_[i].Is('(')) {
      i = Closing(head_, i, end, '(', ')');
      continue;
    }
    model::FunctionKind kind;
    if (KindOf(head_[i], &kind)) {
      // A declaration's kind keyword is followed by its return type or name
      // (or an operator's precedence), never by "=" or ".".
      const bool declares =
          i + 1 < end && (head_[i + 1].kind == Token::kWord ||
                          (kind >= model::FunctionKind::kOperator && head_[i + 1].Is('(')) ||
                          (kind >= model::FunctionKind::kOperator &&
                           head_[i + 1].kind == Token::kSymbol && !head_[i + 1].Is('.')));
      if (declares && (token_.Is(';') || token_.Is('{'))) {
        ParseFunction(record, lead, head, i, kind);
        return;
      }
      break;
    }
    if (head_[i].IsWord("state") && !inState && token_.Is('{') && depth < kMaxDepth) {
      ParseState(lead, head, i, depth + 1);
      return;
    }
  }
  // Replication, native code and any other block: passed over whole.
  if (token_.Is('{')) {
    SkipBlock();
  } else if (token_.Is(';')) {
    Advance();
  }
}

void CCompleteParser::ParseFunction(RecordModel& record, const Lead& lead, size_t head,
                                    size_t kindAt, model::FunctionKind kind) {
  const size_t end = head_.size();
  size_t i = kindAt + 1;
  model::Function function;
  function.kind = kind;
  function.line = lead.line;
  if (kind >= model::FunctionKind::kOperator && i < end && head_[i].Is('(')) {
    const size_t close = Closing(head_, i, end, '(', ')');
    if (close < end) {
      function.precedence = Slice(i, close + 1);
      i = close + 1;
    }
  }
  // The parameters are the first parenthesised group after the name.
  size_t open = i;
  while (open < end && !head_[open].Is('(')) ++open;
  if (open == end || open == i) {
    // No name and parameters: not a declaration after all.
    if (token_.Is('{')) {
      SkipBlock();
    } else {
      Advance();
    }
    return;
  }
  size_t name_at = open - 1;
  // An operator's name may be symbols written together, "==" or "<<".
  if (head_[name_at].kind == Token::kSymbol) {
    while (name_at > i && head_[name_at - 1].kind == Token::kSymbol && !head_[name_at].spaced) {
      --name_at;
    }
  }
  function.name = Slice(name_at, open);
  if (name_at > i) function.returns = Slice(i, name_at);
  function.modifiers = Modifiers(record, head, kindAt);
  const size_t close = Closing(head_, open, end, '(', ')');
  // Words after the parameters ("const") are kept with the modifiers, which
  // must stand together.
  for (size_t k = close + 1; k < end; ++k) {
    if (head_[k].kind == Token::kWord) {
      record.words.push_back(head_[k].Text());
      ++function.modifiers.count;
    }
  }
  function.firstParameter = static_cast<uint32_t>(record.parameters.size());
  SplitAtCommas(head_, open + 1, close, [&](size_t from, size_t to) {
    if (from >= to) return;
    size_t value_at = to;
    for (size_t k = from; k < to; ++k) {
      if (head_[k].Is('=')) {
        value_at = k;
        break;
      }
    }
    model::Parameter parameter;
    if (value_at < to) parameter.value = Slice(value_at + 1, to);
    size_t first = from;
    while (first + 1 < value_at && IsParameterModifier(head_[first])) ++first;
    parameter.modifiers = Modifiers(record, from, first);
    size_t name = value_at - 1;
    if (head_[name].Is(']')) {
      const size_t bracket = Opening(head_, first, name, '[', ']');
      if (bracket > first) name = bracket - 1;
    }
    if (name > first && head_[name].kind == Token::kWord) {
      parameter.name = head_[name].Text();
      parameter.type = Slice(first, name);
    } else {
      parameter.type = Slice(first, value_at);
    }
    record.parameters.push_back(parameter);
    ++function.parameterCount;
  });
  const char* stop;
  if (token_.Is('{')) {
    function.body = true;
    stop = SkipBlock();
  } else {
    stop = token_.end;
    Advance();
  }
  function.doc = Documentation(lead, stop);
  record.functions.push_back(function);
}

void CCompleteParser::ParseState(const Lead& lead, size_t head, size_t stateAt, int depth) {
  const size_t end = head_.size();
  if (count_ == records_.size()) records_.emplace_back();
  RecordModel& state = records_[count_++];
  state.Clear();
  state.isState = true;
  state.line = lead.line;
  state.doc = Documentation(lead, nullptr);
  state.modifiers = Modifiers(state, head, stateAt);
  size_t i = stateAt + 1;
  if (i < end && head_[i].Is('(')) i = Closing(head_, i, end, '(', ')') + 1;
  if (i < end && head_[i].kind == Token::kWord) state.name = head_[i++].Text();
  if (i + 1 < end && (head_[i].IsWord("extends") || head_[i].IsWord("expands"))) {
    state.extends = head_[i + 1].Text();
  }
  Advance();  // "{"
  head_.resize(head);
  ParseScope(state, true, depth);
}

}  // namespace reader

namespace {

// Reads scripts whole with the complete parser and keeps each record with
// its packed model. The models are packed as the script is read, by the
// thread that reads it, so that keeping them is a copy.
class CCompleteReader : public CScriptReader {
 public:
  bool Read(CSourceBuffer& buffer) override {
    if (!parser_.Read(std::string_view(buffer.Text(), buffer.Length()))) return false;
    packed_.clear();
    ends_.clear();
    for (size_t i = 0; i < parser_.Count(); ++i) {
      model::PackModel(parser_.Record(i), packed_);
      ends_.push_back(packed_.size());
    }
    return true;
  }

  bool Keep(CClassList& list, const ScriptPath& script) override {
    const size_t before = list.Count();
    try {
      CClassRecord* owner = nullptr;
      for (size_t i = 0; i < parser_.Count(); ++i) {
        const model::RecordModel& model = parser_.Record(i);
        CClassRecord* record = list.CreateRecord();
        if (!record) break;
        RecordTexts texts;
        texts.name = model.name;
        if (model.isState) {
          record->isState = 1;
          record->parent = owner;
        } else {
          owner = record;
          texts.superName = model.extends.value_or(std::string_view());
          texts.script = script;
        }
        const size_t start = i == 0 ? 0 : ends_[i - 1];
        texts.model = std::string_view(packed_).substr(start, ends_[i] - start);
        texts.modelCounts = {model.VariableCount(), model.EventCount(), model.FunctionCount()};
        if (!list.SetTexts(*record, texts)) break;
        if (list.Count() - before == parser_.Count()) return true;
      }
    } catch (const std::bad_alloc&) {
    }
    list.RemoveRecordsFrom(before);
    return false;
  }

 private:
  reader::CCompleteParser parser_;
  std::string packed_;        // the models of the last script read, one after another
  std::vector<size_t> ends_;  // where each record's packed model ends
};

}  // namespace

std::unique_ptr<CScriptReader> MakeCompleteReader() {
  return std::unique_ptr<CScriptReader>(new (std::nothrow) CCompleteReader());
}
