#include "writer/links/source_links.h"

#include "model/class_list.h"
#include "model/names.h"
#include "writer/common/html_escape.h"
#include "writer/common/page_links.h"
#include "writer/links/overriders.h"
#include "writer/links/page_context.h"
#include "writer/names/type_table.h"

namespace {

// The first byte after the blanks and line ends at the start of `rest`.
char NextChar(std::string_view rest) {
  for (char c : rest) {
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '\f' && c != '\v') return c;
  }
  return '\0';
}

bool Is(std::string_view word, std::string_view lower) {
  return EqualsNoCase(word, lower);
}

bool IsAnyOf(char c, std::string_view set) {
  return c != '\0' && set.find(c) != std::string_view::npos;
}

// The modifiers a parameter's type follows.
bool IsParameterModifier(std::string_view word) {
  return Is(word, "optional") || Is(word, "out") || Is(word, "coerce") || Is(word, "skip") ||
         Is(word, "const");
}

// "class<...>", but for blanks and case: a class itself, not an object.
bool IsMetaType(std::string_view type) {
  while (!type.empty() && (type[0] == ' ' || type[0] == '\t')) type.remove_prefix(1);
  if (type.size() < 5 || !Is(type.substr(0, 5), "class")) return false;
  return NextChar(type.substr(5)) == '<';
}

}  // namespace

void CSourceLinker::Start(const CPageContext& pages, size_t record) {
  pages_ = &pages;
  record_ = record;
  models_ = &CModelCache::OfThread();
  if (run_ != pages.run()) {
    run_ = pages.run();
    parent_.Forget();
    for (CSourceScope& other : others_) other.Forget();
  }
  own_.Fill(pages, record, false, true, *models_);
  const CClassRecord* parent = pages.list().At(record).parent;
  if (!parent) {
    parent_.Forget();
  } else if (parent_.record() != pages.list().PositionOf(*parent)) {
    parent_.Fill(pages, pages.list().PositionOf(*parent), true, false, *models_);
  }
  ForgetLocals();
  depth_ = parens_ = angles_ = 0;
  EndStatement();
  body_depth_ = state_depth_ = enum_depth_ = defaults_depth_ = skip_depth_ = 0;
  state_ = pending_state_ = {};
  state_record_ = record;
  enum_name_pending_ = enum_brace_pending_ = defaults_pending_ = skip_pending_ = false;
  objects_ = 0;
  key_line_ = 0;
  class_angle_ = super_paren_ = operator_ = word_before_ = after_dot_ = false;
  super_class_ = SIZE_MAX;
  last_word_ = call_word_ = {};
  last_ = dotted_ = {};
  function_ = pending_function_ = {};
  line_ = 0;
  super_call_ = false;
}

void CSourceLinker::EndStatement() {
  decl_ = Decl::kNone;
  named_ = after_extends_ = params_ = params_done_ = param_default_ = false;
  parens_ = angles_ = 0;
  type_start_ = nullptr;
  local_type_ = {};
}

bool CSourceLinker::Word(std::string& page, std::string_view word, bool keyword,
                         std::string_view rest, size_t line) {
  const char next = NextChar(rest);
  line_ = line;
  const bool dotted = after_dot_;
  const Qualifier via = dotted_;
  after_dot_ = false;
  last_ = {};
  call_word_ = {};
  last_word_ = word;
  word_before_ = true;
  // The first word of a parameter or local past its modifiers starts its type.
  if (!type_start_ && ((params_ && parens_ == 1 && !param_default_) || decl_ == Decl::kLocal) &&
      !IsParameterModifier(word) && !Is(word, "local")) {
    type_start_ = word.data();
  }
  if (keyword) {
    Keyword(word, next, dotted, via);
    return false;
  }
  operator_ = false;
  if (skip_depth_ > 0) return false;
  if (dotted) return Qualified(page, word, next, via);
  if (Declares(word, next, line)) return false;
  if (defaults_depth_ > 0) return InDefaults(page, word, line);
  if (class_angle_) {
    class_angle_ = false;
    return ClassNamed(page, word, true);
  }
  if (super_paren_) {
    const bool linked = ClassNamed(page, word, true);
    if (linked) super_class_ = last_.record;
    last_ = {};
    return linked;
  }
  if ((decl_ == Decl::kClass || decl_ == Decl::kState) && !after_extends_) return false;
  if (Is(word, "global") && next == '.') {
    last_ = {Via::kGlobal, record_};
    return false;
  }
  return Plain(page, word, next);
}

void CSourceLinker::Keyword(std::string_view word, char next, bool dotted, Qualifier via) {
  operator_ = false;
  if (skip_depth_ > 0) return;
  if (Is(word, "super")) {
    if (next == '(') {
      super_paren_ = true;
    } else {
      last_ = {Via::kSuper, state_depth_ > 0 ? state_record_ : record_};
    }
  } else if (Is(word, "self")) {
    last_ = {Via::kOwn, record_};
  } else if (Is(word, "default") || Is(word, "static")) {
    // X.default.V and X.static.F look V and F up in X's class.
    if (dotted && (via.via == Via::kClass || via.via == Via::kMeta)) {
      last_ = {Via::kClass, via.record};
    } else if (!dotted) {
      last_ = {Via::kOwn, record_};
    }
  } else if (Is(word, "class")) {
    if (next == '<') {
      class_angle_ = true;
    } else if (next != '\'' && depth_ == 0 && decl_ == Decl::kNone) {
      decl_ = Decl::kClass;
    }
  } else if (Is(word, "function") || Is(word, "event") || Is(word, "delegate") ||
             Is(word, "operator") || Is(word, "preoperator") || Is(word, "postoperator")) {
    if (body_depth_ == 0 && (decl_ == Decl::kNone || decl_ == Decl::kFunction)) {
      EndStatement();
      decl_ = Decl::kFunction;
      pending_function_ = {};
      ForgetLocals();
      operator_ = Is(word, "operator");  // its precedence may follow in parentheses
    }
  } else if (Is(word, "state")) {
    if (body_depth_ == 0 && depth_ == 0 && decl_ == Decl::kNone) decl_ = Decl::kState;
  } else if (Is(word, "extends") || Is(word, "expands") || Is(word, "within")) {
    after_extends_ = true;
  } else if (Is(word, "var")) {
    if (decl_ == Decl::kNone) decl_ = Decl::kVar;
  } else if (Is(word, "local")) {
    EndStatement();
    decl_ = Decl::kLocal;
  } else if (Is(word, "const")) {
    if (decl_ == Decl::kNone) decl_ = Decl::kConst;
  } else if (Is(word, "enum")) {
    enum_name_pending_ = enum_brace_pending_ = true;
  } else if (Is(word, "struct")) {
    if (decl_ == Decl::kNone) decl_ = Decl::kStruct;
  } else if (Is(word, "defaultproperties")) {
    defaults_pending_ = true;
  } else if (Is(word, "cpptext")) {
    skip_pending_ = true;
  }
}

// A declaration's own name, which stays text; a parameter or local is kept
// for the names after it.
bool CSourceLinker::Declares(std::string_view word, char next, size_t line) {
  if (enum_depth_ > 0 && depth_ == enum_depth_) return true;
  if (enum_name_pending_) {
    enum_name_pending_ = false;
    return true;
  }
  switch (decl_) {
    case Decl::kClass:
    case Decl::kConst:
    case Decl::kState:
      if (named_) return false;
      named_ = true;
      if (decl_ == Decl::kState) pending_state_ = word;
      return true;
    case Decl::kStruct:
      return !after_extends_;
    case Decl::kFunction:
      if (!params_ && !params_done_ && next == '(') {
        pending_function_ = word;
        return true;
      }
      if (params_ && parens_ == 1 && !param_default_ && IsAnyOf(next, ",)=[")) {
        const std::string_view type =
            type_start_
                ? std::string_view(type_start_, static_cast<size_t>(word.data() - type_start_))
                : std::string_view();
        AddLocal({word, line, type, true});
        type_start_ = nullptr;
        return true;
      }
      return false;
    case Decl::kVar:
      return parens_ > 0 || (angles_ == 0 && IsAnyOf(next, ",;[="));
    case Decl::kLocal:
      if (parens_ > 0 || angles_ > 0 || !IsAnyOf(next, ",;[")) return false;
      if (local_type_.empty() && type_start_ && type_start_ < word.data())
        local_type_ = std::string_view(type_start_, static_cast<size_t>(word.data() - type_start_));
      AddLocal({word, line, local_type_, false});
      return true;
    case Decl::kNone:
      return false;
  }
  return false;
}

// In default properties, the first word of a line is a key: a variable of
// the class or an ancestor. An object group's keys are its object's.
bool CSourceLinker::InDefaults(std::string& page, std::string_view word, size_t line) {
  if (line == key_line_) return false;
  key_line_ = line;
  if (Is(word, "begin")) {
    ++objects_;
    return false;
  }
  if (Is(word, "end")) {
    if (objects_ > 0) --objects_;
    return false;
  }
  if (objects_ > 0) return false;
  const SourceTarget* target = FindOwn(word, {}, false);
  if (!target || target->kind != anchors::MemberKind::kVariable) return false;
  OpenMember(page, *target);
  return true;
}

const CSourceLinker::Local* CSourceLinker::FindLocal(std::string_view word) const {
  if (locals_.empty()) return nullptr;
  const CNameTable::Entry* entry = local_names_.Find(0, {}, word);
  return entry ? &locals_[entry->value] : nullptr;
}

// The first of a name is the one its uses link to.
void CSourceLinker::AddLocal(const Local& local) {
  bool made = false;
  local_names_.Insert(0, {}, local.name, static_cast<uint32_t>(locals_.size()), made);
  if (made) locals_.push_back(local);
}

void CSourceLinker::ForgetLocals() {
  if (locals_.empty()) return;
  locals_.clear();
  local_names_.Clear();
}

bool CSourceLinker::Plain(std::string& page, std::string_view word, char next) {
  if (body_depth_ > 0) {
    if (const Local* local = FindLocal(word)) {
      OpenLocal(page, *local);
      last_ = TypeQualifier(local->type, state_depth_ > 0 ? state_record_ : record_);
      return true;
    }
  }
  if (const SourceTarget* target = FindOwn(word, state_, next == '(')) {
    OpenMember(page, *target);
    last_ = TypeQualifier(target->type, target->record);
    return true;
  }
  if (ClassNamed(page, word, false)) return true;
  // Perhaps a package's name, before the name of one of its classes.
  if (next == '.') {
    last_ = {Via::kPackage, record_};
    package_ = word;
  }
  return false;
}

bool CSourceLinker::Qualified(std::string& page, std::string_view word, char next, Qualifier via) {
  const SourceTarget* target = nullptr;
  switch (via.via) {
    case Via::kNothing:
    case Via::kMeta:
      return false;
    case Via::kPackage: {
      // "Package.Class", written without blanks, as a type names it.
      const char* first = package_.data();
      const size_t size = static_cast<size_t>(word.data() + word.size() - first);
      return size == package_.size() + 1 + word.size() &&
             ClassNamed(page, std::string_view(first, size), true);
    }
    case Via::kSuper:
      return Super(page, word, via.record, false);
    case Via::kSuperOf:
      return Super(page, word, via.record, true);
    case Via::kOwn:
      target = FindOwn(word, state_, next == '(');
      break;
    case Via::kGlobal:
      target = FindOwn(word, {}, next == '(');
      break;
    case Via::kClass:
      target = FindIn(via.record, word, next == '(');
      break;
  }
  if (!target) return false;
  OpenMember(page, *target);
  last_ = TypeQualifier(target->type, target->record);
  return true;
}

// Super.F: the nearest declaration of F above `base`; Super(C).F: C's own,
// else the nearest above C.
bool CSourceLinker::Super(std::string& page, std::string_view word, size_t base, bool inclusive) {
  const CClassList& list = pages_->list();
  size_t record = SIZE_MAX;
  const model::Function* function = nullptr;
  const auto declared = [&](size_t r) {
    if (r >= list.Count() || list.At(r).packedModel().empty()) return false;
    for (const model::Function& f : models_->Get(*pages_, r).functions) {
      if (!model::IsOperator(f.kind) && EqualsNoCase(f.name, word)) {
        record = r;
        function = &f;
        return true;
      }
    }
    return false;
  };
  if (inclusive && declared(base)) {
  } else if (const COverriders* overriders = pages_->overriders()) {
    const uint32_t above = overriders->Overridden(base, word);
    if (above == COverriders::kNone || !declared(above)) return false;
  } else {
    return false;
  }
  super_call_ = true;
  OpenMember(page, {static_cast<uint32_t>(record),
                    anchors::MemberKind::kFunction,
                    function->name,
                    KindName(function->kind),
                    {}});
  super_call_ = false;
  return true;
}

bool CSourceLinker::ClassNamed(std::string& page, std::string_view word, bool classOnly) {
  const CTypeTable::Target target = pages_->types().Resolve(word, record_);
  if (!target.found() || (classOnly && target.kind != CTypeTable::kClass)) return false;
  page.append("<a href=\"");
  AppendPageName(page, target.record);
  if (target.kind == CTypeTable::kClass) {
    Tell(target.record, SourceLink::kClassItself, {});
    OpenTitle(page, "class", target.record, {});
    last_ = {Via::kClass, target.record};
    return true;
  }
  page.push_back('#');
  CTypeTable::AppendAnchor(page, target);
  Tell(target.record,
       static_cast<uint8_t>(target.kind == CTypeTable::kEnumeration
                                ? anchors::MemberKind::kEnumeration
                                : anchors::MemberKind::kStructure),
       target.name);
  OpenTitle(page, target.kind == CTypeTable::kEnumeration ? "enumeration" : "structure",
            target.record, target.name);
  return true;
}

bool CSourceLinker::Literal(std::string& page, std::string_view text, size_t line) {
  const std::string_view call = call_word_;
  line_ = line;
  last_ = {};
  call_word_ = last_word_ = {};
  after_dot_ = word_before_ = false;
  if (skip_depth_ > 0 || text.empty()) return false;
  if (Is(call, "gotostate")) {
    const SourceTarget* target = FindOwn(text, {}, false);
    if (!target || target->kind != anchors::MemberKind::kState) return false;
    OpenMember(page, *target);
    return true;
  }
  return ClassNamed(page, text, true);
}

void CSourceLinker::Mark(char c) {
  const Qualifier before = last_;
  const std::string_view word = last_word_;
  const bool precedence = operator_;
  last_ = {};
  last_word_ = call_word_ = {};
  after_dot_ = word_before_ = operator_ = false;
  switch (c) {
    case '.':
      dotted_ = before;
      after_dot_ = true;
      break;
    case '(':
      ++parens_;
      call_word_ = word;
      if (decl_ == Decl::kFunction && !params_ && !params_done_ && !precedence) {
        params_ = true;
        param_default_ = false;
        type_start_ = nullptr;
      }
      break;
    case ')':
      if (parens_ > 0) --parens_;
      if (params_ && parens_ == 0) {
        params_ = false;
        params_done_ = true;
      }
      if (super_paren_) {
        super_paren_ = false;
        if (super_class_ != SIZE_MAX) last_ = {Via::kSuperOf, super_class_};
        super_class_ = SIZE_MAX;
      }
      break;
    case ',':
      if (params_ && parens_ == 1) {
        type_start_ = nullptr;
        param_default_ = false;
      }
      break;
    case '=':
      if (params_) param_default_ = true;
      break;
    case '<':
      if (decl_ == Decl::kVar || decl_ == Decl::kLocal || params_) ++angles_;
      break;
    case '>':
      if (angles_ > 0) --angles_;
      break;
    case ';':
      // A function declared without a body has no parameters after it.
      if (decl_ == Decl::kFunction) ForgetLocals();
      EndStatement();
      break;
    case '{':
      ++depth_;
      if (decl_ == Decl::kFunction && params_done_) {
        body_depth_ = depth_;
        function_ = pending_function_;
      }
      if (decl_ == Decl::kState) {
        state_depth_ = depth_;
        state_ = pending_state_;
        const size_t state = own_.StateRecord(state_);
        state_record_ = state == SIZE_MAX ? record_ : state;
      }
      if (enum_brace_pending_) enum_depth_ = depth_;
      if (defaults_pending_) defaults_depth_ = depth_;
      if (skip_pending_) skip_depth_ = depth_;
      enum_brace_pending_ = defaults_pending_ = skip_pending_ = enum_name_pending_ = false;
      if (decl_ != Decl::kVar) EndStatement();
      break;
    case '}':
      Close();
      if (decl_ != Decl::kVar) EndStatement();
      break;
    default:
      break;
  }
}

// A closing brace: what its block opened ends.
void CSourceLinker::Close() {
  if (depth_ == 0) return;
  if (depth_ == enum_depth_) enum_depth_ = 0;
  if (depth_ == body_depth_) {
    body_depth_ = 0;
    function_ = {};
    ForgetLocals();
  }
  if (depth_ == state_depth_) {
    state_depth_ = 0;
    state_ = {};
    state_record_ = record_;
  }
  if (depth_ == defaults_depth_) {
    defaults_depth_ = 0;
    objects_ = 0;
  }
  if (depth_ == skip_depth_) skip_depth_ = 0;
  --depth_;
}

const SourceTarget* CSourceLinker::FindOwn(std::string_view name, std::string_view state,
                                           bool call) const {
  return own_.Find(name, state, call, parent_.record() == SIZE_MAX ? nullptr : &parent_);
}

// `name` among the members of the class at `record` and its ancestors.
const SourceTarget* CSourceLinker::FindIn(size_t record, std::string_view name, bool call) {
  if (record == record_) return FindOwn(name, {}, call);
  CSourceScope& scope = others_[record % kOtherScopes];
  if (scope.record() != record) scope.Fill(*pages_, record, true, false, *models_);
  return scope.Find(name, {}, call);
}

CSourceLinker::Qualifier CSourceLinker::TypeQualifier(std::string_view type,
                                                      size_t position) const {
  if (type.empty()) return {};
  const bool meta = IsMetaType(type);
  // An array's elements are reached through "[...]", which ends the chain.
  if (!meta && CTypeTable::Named(type).size() != type.size()) {
    std::string_view trimmed = type;
    while (!trimmed.empty() && (trimmed.back() == ' ' || trimmed.back() == '\t'))
      trimmed.remove_suffix(1);
    while (!trimmed.empty() && (trimmed[0] == ' ' || trimmed[0] == '\t')) trimmed.remove_prefix(1);
    if (CTypeTable::Named(type) != trimmed) return {};
  }
  const CTypeTable::Target target = pages_->types().Resolve(type, position);
  if (!target.found() || target.kind != CTypeTable::kClass) return {};
  return {meta ? Via::kMeta : Via::kClass, target.record};
}

void CSourceLinker::OpenMember(std::string& page, const SourceTarget& target) {
  Tell(target.record, static_cast<uint8_t>(target.kind), target.name);
  page.append("<a href=\"");
  AppendPageName(page, target.record);
  page.push_back('#');
  anchors::AppendMemberAnchor(page, target.kind, target.name);
  OpenTitle(page, target.what, target.record, target.name);
}

void CSourceLinker::OpenLocal(std::string& page, const Local& local) {
  page.append("<a href=\"#");
  anchors::AppendLineAnchor(page, local.line);
  page.append("\" title=\"");
  page.append(local.parameter ? "parameter " : "local ");
  AppendEscaped(page, local.name);
  page.append("\">");
}

// Ends the link's address and gives its title: what it is, and the name of
// the record that declares it (a state's after its class's) and its own.
void CSourceLinker::OpenTitle(std::string& page, std::string_view what, size_t record,
                              std::string_view name) {
  page.append("\" title=\"");
  page.append(what);
  page.push_back(' ');
  const CClassRecord& r = pages_->list().At(record);
  if (r.isState && r.parent) {
    AppendEscaped(page, r.parent->name());
    page.push_back('.');
  }
  AppendEscaped(page, r.name());
  if (!name.empty()) {
    page.push_back('.');
    AppendEscaped(page, name);
  }
  page.append("\">");
}

// Tells the listener of the link just made, with the function and state it
// stands in; a function's parameters stand in it.
void CSourceLinker::Tell(uint32_t record, uint8_t kind, std::string_view name) {
  if (!listener_) return;
  SourceLink link;
  link.name = name;
  link.function = body_depth_ > 0            ? function_
                  : decl_ == Decl::kFunction ? pending_function_
                                             : std::string_view();
  link.state = state_depth_ > 0 ? state_ : std::string_view();
  link.line = line_;
  link.record = record;
  link.kind = kind;
  link.super = super_call_;
  listener_->Linked(link);
}
