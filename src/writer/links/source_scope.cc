#include "writer/links/source_scope.h"

#include "model/class_list.h"
#include "writer/links/page_context.h"

using anchors::MemberKind;

namespace {

// The keys of the table: functions, everything else, and the functions of
// a state (the state's name their owner).
constexpr uint8_t kFunctions = 0;
constexpr uint8_t kValues = 1;
constexpr uint8_t kStateFunctions = 2;
constexpr uint8_t kStates = 3;  // the class's states, to their own records

}  // namespace

void CSourceScope::Add(uint8_t key, std::string_view owner, std::string_view name,
                       const SourceTarget& target) {
  bool made = false;
  table_.Insert(key, owner, name, static_cast<uint32_t>(targets_.size()), made);
  if (made) targets_.push_back(target);
}

const SourceTarget* CSourceScope::At(uint8_t key, std::string_view owner, std::string_view name,
                                     uint64_t nameHash) const {
  const CNameTable::Entry* entry = table_.Find(key, owner, name, nameHash);
  return entry ? &targets_[entry->value] : nullptr;
}

void CSourceScope::Fill(const CPageContext& pages, size_t record, bool ancestors, bool states,
                        CModelCache& models) {
  table_.Clear();
  targets_.clear();
  record_ = record;
  const CClassList& list = pages.list();
  // The list links no cycles, but the walk is bounded all the same.
  size_t steps = 0;
  for (const CClassRecord* r = &list.At(record); r && steps < list.Count();
       r = ancestors ? r->parent : nullptr) {
    ++steps;
    const uint32_t at = static_cast<uint32_t>(list.PositionOf(*r));
    if (r->packedModel().empty()) continue;
    const model::RecordModel& m = models.Get(pages, at);
    for (const model::Function& f : m.functions) {
      if (!model::IsOperator(f.kind))
        Add(kFunctions, {}, f.name, {at, MemberKind::kFunction, f.name, KindName(f.kind), {}});
    }
    for (const model::Variable& v : m.variables) {
      if (v.structure == 0)
        Add(kValues, {}, v.name, {at, MemberKind::kVariable, v.name, "variable", v.type});
    }
    for (const model::Constant& c : m.constants)
      Add(kValues, {}, c.name, {at, MemberKind::kConstant, c.name, "constant", {}});
    for (const model::Enumeration& e : m.enums) {
      const SourceTarget target{at, MemberKind::kEnumeration, e.name, "enumeration", {}};
      Add(kValues, {}, e.name, target);
      // A value links to its enumeration.
      for (std::string_view value : m.Span(e.values)) Add(kValues, {}, value, target);
    }
    for (const model::Structure& s : m.structs)
      Add(kValues, {}, s.name, {at, MemberKind::kStructure, s.name, "structure", {}});
    for (size_t k = pages.FirstState(at); k < pages.EndState(at); ++k) {
      const std::string_view name = list.At(pages.State(k)).name();
      Add(kValues, {}, name, {at, MemberKind::kState, name, "state", {}});
    }
  }
  if (!states) return;
  for (size_t k = pages.FirstState(record); k < pages.EndState(record); ++k) {
    const uint32_t s = static_cast<uint32_t>(pages.State(k));
    if (list.At(s).packedModel().empty()) continue;
    const std::string_view state = list.At(s).name();
    Add(kStates, {}, state, {s, MemberKind::kState, state, "state", {}});
    for (const model::Function& f : models.Get(pages, s).functions) {
      if (!model::IsOperator(f.kind))
        Add(kStateFunctions, state, f.name,
            {s, MemberKind::kFunction, f.name, KindName(f.kind), {}});
    }
  }
}

size_t CSourceScope::StateRecord(std::string_view name) const {
  const SourceTarget* state = At(kStates, {}, name, table_.NameHash(name));
  return state ? state->record : SIZE_MAX;
}

const SourceTarget* CSourceScope::Find(std::string_view name, std::string_view state, bool call,
                                       const CSourceScope* above) const {
  // Every table of scopes folds case, so one hash of the name serves all.
  const uint64_t hash = table_.NameHash(name);
  if (!state.empty()) {
    if (const SourceTarget* own = At(kStateFunctions, state, name, hash)) return own;
  }
  for (const uint8_t key : {call ? kFunctions : kValues, call ? kValues : kFunctions}) {
    if (const SourceTarget* found = At(key, {}, name, hash)) return found;
    if (above) {
      if (const SourceTarget* found = above->At(key, {}, name, hash)) return found;
    }
  }
  return nullptr;
}
