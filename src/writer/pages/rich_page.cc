#include "writer/pages/rich_page.h"

#include <string_view>

#include "model/class_list.h"
#include "model/declaration_text.h"
#include "model/names.h"
#include "model/package_name.h"
#include "platform/path.h"
#include "platform/thread_scratch.h"
#include "writer/common/file_path_text.h"
#include "writer/common/html_escape.h"
#include "writer/common/page_links.h"
#include "writer/common/tree_index.h"
#include "writer/links/source_links.h"
#include "writer/pages/packages.h"
#include "writer/pages/refs_page.h"
#include "writer/pages/rich_page_builder.h"
#include "writer/pages/rich_templates.h"
#include "writer/pages/rich_type_links.h"
#include "writer/pages/use_page.h"

namespace rt = rich_templates;
using anchors::MemberKind;

namespace rich_page {

void AppendMemberLink(std::string& out, size_t record, const MemberKind* kind,
                      std::string_view name, std::string_view text) {
  out.append(rt::kLinkOpen);
  AppendPageName(out, record);
  if (kind) {
    out.push_back('#');
    anchors::AppendMemberAnchor(out, *kind, name);
  }
  out.append(rt::kLinkMiddle);
  AppendEscaped(out, text);
}

void AppendDoc(std::string& page, const model::OptionalText& doc) {
  if (!doc || doc->empty()) return;
  page.append(rt::kDocOpen);
  std::string_view rest = *doc;
  for (size_t end = rest.find('\n'); end != std::string_view::npos; end = rest.find('\n')) {
    AppendEscaped(page, rest.substr(0, end));
    page.append(rt::kDocLineEnd);
    rest.remove_prefix(end + 1);
  }
  AppendEscaped(page, rest);
  page.append(rt::kDocEnd);
}

void AppendWords(std::string& out, const model::RecordModel& model, model::Words words) {
  for (std::string_view word : model.Span(words)) {
    AppendEscaped(out, word);
    out.push_back(' ');
  }
}

void OpenSection(std::string& page, const char* heading) {
  page.append(rt::kSectionOpen);
  page.append(heading);
  page.append(rt::kSectionHeadingEnd);
}

void CPageBuilder::CollectAncestors(const CClassRecord& record) {
  // A state's first ancestor is its class. The list links no cycles, but
  // the walk is bounded all the same.
  ancestors_.clear();
  const size_t count = pages_->list().Count();
  for (const CClassRecord* p = record.parent; p && ancestors_.size() < count; p = p->parent)
    ancestors_.push_back(pages_->list().PositionOf(*p));
}

uint32_t CPageBuilder::Occurrence(MemberKind kind, std::string_view owner, std::string_view name) {
  bool made = false;
  CNameTable::Entry& entry = exact_.Insert(Key(kind), owner, name, 0, made);
  if (!made) entry.value += 1;
  return entry.value;
}

// What the class declares itself hides the same names of its ancestors.
void CPageBuilder::NoteOwnNames(size_t i) {
  bool made = false;
  for (const model::Constant& c : own_.constants)
    folded_.Insert(Key(MemberKind::kConstant), {}, c.name, 0, made);
  for (const model::Enumeration& e : own_.enums)
    folded_.Insert(Key(MemberKind::kEnumeration), {}, e.name, 0, made);
  for (const model::Structure& s : own_.structs)
    folded_.Insert(Key(MemberKind::kStructure), {}, s.name, 0, made);
  for (const model::Variable& v : own_.variables) {
    // A variable's value: the record that declares it.
    if (v.structure == 0)
      folded_.Insert(Key(MemberKind::kVariable), {}, v.name, static_cast<uint32_t>(i), made);
  }
  for (const model::Function& f : own_.functions)
    folded_.Insert(Key(MemberKind::kFunction), {}, f.name, kUnresolved, made);
  for (size_t k = pages_->FirstState(i); k < pages_->EndState(i); ++k)
    folded_.Insert(Key(MemberKind::kState), {}, Record(pages_->State(k)).name(), 0, made);
}

// What a state's page looks up among the functions of its class and the
// ancestors: its own functions' names and the ignored ones.
void CPageBuilder::NoteWantedNames() {
  bool made = false;
  const auto want = [&](std::string_view name) {
    folded_.Insert(Key(MemberKind::kFunction), {}, name, kUnresolved, made);
    wanted_lengths_ |= uint64_t{1} << (name.size() % 64);
  };
  for (const model::Function& f : own_.functions) want(f.name);
  for (std::string_view name : own_.Span(own_.ignores)) want(name);
}

void CPageBuilder::Resolve(CNameTable::Entry& entry, size_t a, std::string_view name) {
  if (entry.value != kUnresolved) return;
  entry.value = static_cast<uint32_t>(targets_.size());
  targets_.push_back({a, name});
}

const CPageBuilder::Target* CPageBuilder::Resolved(std::string_view name) const {
  const CNameTable::Entry* entry = folded_.Find(Key(MemberKind::kFunction), {}, name);
  return entry && entry->value < targets_.size() ? &targets_[entry->value] : nullptr;
}

// Reads each ancestor's model once, nearest first: for a class's page the
// members not yet hidden, into inherited_, meeting on the way the functions
// its own override; for a state's page the functions it names.
void CPageBuilder::ReadAncestors(bool listInherited) {
  if (!listInherited && wanted_lengths_ == 0) return;
  uint32_t depth = 0;
  for (size_t a : ancestors_) {
    ++depth;
    if (Record(a).packedModel().empty()) continue;
    const model::RecordModel& ancestor = models_.Get(*pages_, a);
    if (listInherited) {
      ListInherited(a, ancestor);
      NoteInheritedDefaults(depth, a, ancestor);
      continue;
    }
    for (const model::Function& f : ancestor.functions) {
      // Most names differ in length from the few wanted: no lookup for them.
      if (((wanted_lengths_ >> (f.name.size() % 64)) & 1) == 0) continue;
      CNameTable::Entry* entry = folded_.Find(Key(MemberKind::kFunction), {}, f.name);
      if (entry) Resolve(*entry, a, f.name);
    }
  }
}

// One ancestor's entry of the inherited members: each name it declares that
// neither the class nor a nearer ancestor declares, by kind. A name is
// listed once, linked to its first declaration, whose anchor has no number.
void CPageBuilder::ListInherited(size_t a, const model::RecordModel& ancestor) {
  const size_t mark = inherited_.size();
  inherited_.append(rt::kAncestorOpen);
  AppendMemberLink(inherited_, a, nullptr, {}, Record(a).name());
  inherited_.append(rt::kLinkEnd);
  inherited_.append(rt::kAncestorEnd);
  int open_kind = -1;
  const auto entry = [&](MemberKind kind, std::string_view name, size_t record, bool member) {
    bool made = false;
    const uint32_t value = kind == MemberKind::kVariable ? static_cast<uint32_t>(a) : kInherited;
    CNameTable::Entry& seen = folded_.Insert(Key(kind), {}, name, value, made);
    if (!made) {
      if (kind == MemberKind::kFunction) Resolve(seen, a, name);
      return;
    }
    if (open_kind != static_cast<int>(kind)) {
      if (open_kind >= 0) inherited_.append(rt::kKindListEnd);
      inherited_.append(rt::kKindOpen);
      inherited_.append(rt::kKindNames[Key(kind)]);
      inherited_.append(rt::kKindEnd);
      open_kind = static_cast<int>(kind);
    } else {
      inherited_.append(rt::kSeparator);
    }
    AppendMemberLink(inherited_, record, member ? &kind : nullptr, name, name);
    inherited_.append(rt::kLinkEnd);
  };
  for (const model::Constant& c : ancestor.constants) entry(MemberKind::kConstant, c.name, a, true);
  for (const model::Enumeration& e : ancestor.enums)
    entry(MemberKind::kEnumeration, e.name, a, true);
  for (const model::Structure& s : ancestor.structs) entry(MemberKind::kStructure, s.name, a, true);
  for (const model::Variable& v : ancestor.variables) {
    if (v.structure == 0) entry(MemberKind::kVariable, v.name, a, true);
  }
  for (const model::Function& f : ancestor.functions) entry(MemberKind::kFunction, f.name, a, true);
  // A state is linked to its own page.
  for (size_t k = pages_->FirstState(a); k < pages_->EndState(a); ++k) {
    const size_t s = pages_->State(k);
    entry(MemberKind::kState, Record(s).name(), s, false);
  }
  if (open_kind < 0) {
    inherited_.resize(mark);
  } else {
    inherited_.append(rt::kKindListEnd);
  }
}

// The state named `name` among the states of the state `i`'s class, then of
// each ancestor of it, other than `i` itself: the first in list order. A
// class's states are in name order, so each class is searched by halving.
size_t CPageBuilder::FindExtendedState(size_t i, std::string_view name) const {
  for (size_t a : ancestors_) {
    size_t low = pages_->FirstState(a);
    size_t high = pages_->EndState(a);
    while (low < high) {
      const size_t middle = low + (high - low) / 2;
      if (CompareNoCase(Record(pages_->State(middle)).name(), name) < 0) {
        low = middle + 1;
      } else {
        high = middle;
      }
    }
    for (size_t k = low; k < pages_->EndState(a); ++k) {
      const size_t s = pages_->State(k);
      if (!EqualsNoCase(Record(s).name(), name)) break;
      if (s != i) return s;
    }
  }
  return kNone;
}

void CPageBuilder::AppendHead(std::string& page, size_t i) {
  const CClassRecord& record = Record(i);
  const bool state = record.isState != 0;
  page.append(rt::kOpen);
  page.append(state ? rt::kTitleOfState : rt::kTitleOfClass);
  if (state && record.parent) {
    AppendEscaped(page, record.parent->name());
    page.append(rt::kMemberOfRecord);
  }
  AppendEscaped(page, record.name());
  page.append(rt::kHead);
  page.append(state ? rt::kHeadingOfState : rt::kHeadingOfClass);
  AppendEscaped(page, record.name());
  AppendChangeMark(page, state ? model::DeclarationKind::kState : model::DeclarationKind::kClass,
                   {}, {});
  page.append(rt::kHeadingEnd);

  // The declaration as the language writes it: a class's modifiers after
  // its names, a state's before.
  if (state) AppendWords(page, own_, own_.modifiers);
  page.append(state ? rt::kStateWord : rt::kClassWord);
  AppendEscaped(page, record.name());
  if (own_.extends) {
    page.append(rt::kExtendsWord);
    size_t target = kNone;
    if (state) {
      target = FindExtendedState(i, *own_.extends);
    } else if (record.parent) {
      target = pages_->list().PositionOf(*record.parent);
    }
    if (target == kNone) {
      AppendEscaped(page, *own_.extends);
    } else {
      AppendMemberLink(page, target, nullptr, {}, *own_.extends);
      page.append(rt::kLinkEnd);
    }
  }
  if (own_.within) {
    page.append(rt::kWithinWord);
    AppendType(page, pages_->types(), i, *own_.within);
  }
  if (!state) {
    for (std::string_view word : own_.Span(own_.modifiers)) {
      page.push_back(' ');
      AppendEscaped(page, word);
    }
  }
  page.append(rt::kSignatureEnd);
  AppendDoc(page, own_.doc);

  AppendNeighbours(page, pages_->list(), pages_->tree(), i);
  if (state) AppendIgnores(page);
  page.append(rt::kScript);
  AppendSourceLink(page, source_, own_.line);
  page.append(rt::kScriptMiddle);
  const std::string script = record.scriptPath();
  AppendPathText(page, script);
  page.append(rt::kScriptEnd);
  AppendPackageOfRecord(page, PackageOf(script, platform::kPathSeparator));
  if (!state) AppendUsedByLine(page, pages_->users(), i);
  AppendReferencedLine(page, pages_->references(), i, SourceLink::kClassItself, {});
  AppendIndexLink(page, i);
  page.append(rt::kHeaderEnd);
}

// A state's ignored functions, each linked to its declaration in the class
// or the nearest ancestor that has it.
void CPageBuilder::AppendIgnores(std::string& page) {
  if (own_.ignores.count == 0) return;
  page.append(rt::kIgnores);
  bool first = true;
  for (std::string_view name : own_.Span(own_.ignores)) {
    if (!first) page.append(rt::kSeparator);
    first = false;
    const Target* target = Resolved(name);
    if (!target) {
      AppendEscaped(page, name);
      continue;
    }
    const MemberKind kind = MemberKind::kFunction;
    AppendMemberLink(page, target->record, &kind, target->name, name);
    page.append(rt::kLinkEnd);
  }
  page.append(rt::kLineEnd);
}

void CPageBuilder::Build(std::string& page, const CRichPages& pages, size_t i) {
  pages_ = &pages;
  const CClassRecord& record = Record(i);
  const bool state = record.isState != 0;
  // The record's model is kept once the page is done, for its source and
  // use pages, which come next.
  models_.Lend(pages, i, own_);
  record_ = i;
  source_ = state && record.parent ? pages.list().PositionOf(*record.parent) : i;
  exact_.Clear();
  folded_.Clear();
  inherited_.clear();
  targets_.clear();
  wanted_lengths_ = 0;
  CollectAncestors(record);
  if (state) {
    NoteWantedNames();
  } else {
    NoteOwnNames(i);
  }
  NoteOwnDefaults(i);
  ReadAncestors(!state);
  // The sections of the page of overriders, laid out once for all the
  // page's "Overridden in" lines.
  sections_.clear();
  if (pages.overriders() && !state) pages.overriders()->Sections(i, sections_);

  // Anchors are numbered in the order the script declares their members.
  variable_occurrence_.resize(own_.variables.size());
  for (size_t k = 0; k < own_.variables.size(); ++k) {
    const model::Variable& v = own_.variables[k];
    const std::string_view owner =
        v.structure == 0 ? std::string_view() : own_.structs[v.structure - 1].name;
    variable_occurrence_[k] = Occurrence(MemberKind::kVariable, owner, v.name);
  }
  function_occurrence_.resize(own_.functions.size());
  for (size_t k = 0; k < own_.functions.size(); ++k)
    function_occurrence_[k] = Occurrence(MemberKind::kFunction, {}, own_.functions[k].name);

  AppendHead(page, i);
  AppendConstants(page);
  AppendEnumerations(page);
  AppendStructures(page);
  AppendVariables(page);
  AppendFunctions(page, true);
  AppendFunctions(page, false);
  if (!state) AppendStates(page, i);
  AppendDefaults(page);
  if (!inherited_.empty()) {
    OpenSection(page, rt::kInherited);
    page.append(rt::kListOpen);
    page.append(inherited_);
    page.append(rt::kListEnd);
    page.append(rt::kSectionEnd);
  }
  page.append(rt::kEnd);
  models_.Return(pages, i, own_);
}

}  // namespace rich_page

CRichPages::CRichPages(const CClassList& list, const TreeIndex& tree, const CTypeTable& types,
                       const COverriders* overriders, const CChangeMarks* marks)
    : CPageContext(list, tree, types, overriders), marks_(marks) {
  static const CReferences kNone;
  references_ = &kNone;
}

void CRichPages::AppendPage(std::string& page, size_t i) const {
  platform::ThreadScratch<rich_page::CPageBuilder>().Build(page, *this, i);
}
