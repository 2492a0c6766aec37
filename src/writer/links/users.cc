#include "writer/links/users.h"

#include <algorithm>
#include <utility>

#include "model/class_list.h"
#include "model/model_codec.h"
#include "model/record_model.h"
#include "writer/common/anchors.h"
#include "writer/links/page_context.h"
#include "writer/names/name_table.h"
#include "writer/names/type_table.h"

namespace {

// The pass: the uses found, each with its section, or the stored name of
// the enumeration or structure it names until sections are given to those.
class CPass {
 public:
  CPass(const CPageContext& pages, const std::vector<bool>& reachable)
      : pages_(pages), list_(pages.list()), reachable_(reachable) {}

  bool HasPage(size_t i) const { return reachable_[i] && !list_.At(i).packedModel().empty(); }

  // A class and its states see type names alike: what a type names is
  // looked up once for them all.
  void ForgetTypes() {
    types_.Clear();
    targets_.clear();
  }

  // Reads the declarations of record `r`.
  void Read(uint32_t r) {
    const CClassRecord& record = list_.At(r);
    model::UnpackModel(record.packedModel(), model_);
    names_.Clear();
    if (record.isState == 0) {
      for (const model::Enumeration& e : model_.enums) members.push_back(e.name.data());
      for (const model::Structure& s : model_.structs) members.push_back(s.name.data());
      if (record.parent) {
        const uint32_t parent = static_cast<uint32_t>(list_.PositionOf(*record.parent));
        Add({r, 0, CUsers::What::kExtends, record.name(), {}}, parent, nullptr);
      }
    }
    if (model_.within) Found({r, 0, CUsers::What::kWithin, record.name(), {}}, *model_.within);
    for (const model::Variable& v : model_.variables) {
      const std::string_view owner =
          v.structure == 0 ? std::string_view() : model_.structs[v.structure - 1].name;
      const CUsers::What what = v.structure == 0 ? CUsers::What::kVariable : CUsers::What::kMember;
      Found({r, Occurrence(anchors::MemberKind::kVariable, owner, v.name), what, v.name, owner},
            v.type);
    }
    for (const model::Function& f : model_.functions) {
      const uint32_t occurrence = Occurrence(anchors::MemberKind::kFunction, {}, f.name);
      if (f.returns) Found({r, occurrence, CUsers::What::kReturn, f.name, {}}, *f.returns);
      for (uint32_t p = f.firstParameter; p < f.firstParameter + f.parameterCount; ++p) {
        const model::Parameter& parameter = model_.parameters[p];
        Found({r, occurrence, CUsers::What::kParameter, parameter.name, f.name}, parameter.type);
      }
    }
  }

  std::vector<CUsers::Use> uses;
  std::vector<uint32_t> sections;    // of each use; kNoSection: named by stored name
  std::vector<const char*> names;    // of each use's enumeration or structure
  std::vector<const char*> members;  // the enumerations and structures, in pass order

 private:
  // The anchors of a record's members are numbered by kind, owner and exact
  // name, in the order the script declares them, as on its page.
  uint32_t Occurrence(anchors::MemberKind kind, std::string_view owner, std::string_view name) {
    return names_.Count(static_cast<uint8_t>(kind), owner, name);
  }

  void Found(const CUsers::Use& use, std::string_view type) {
    bool made = false;
    CNameTable::Entry& known = types_.Insert(0, {}, type, 0, made);
    if (made) {
      known.value = static_cast<uint32_t>(targets_.size());
      targets_.push_back(pages_.types().Resolve(type, use.user));
    }
    const CTypeTable::Target& target = targets_[known.value];
    if (!target.found()) return;
    if (target.kind == CTypeTable::kClass) {
      Add(use, target.record, nullptr);
    } else {
      Add(use, CUsers::kNoSection, target.name.data());
    }
  }

  void Add(const CUsers::Use& use, uint32_t section, const char* name) {
    uses.push_back(use);
    sections.push_back(section);
    names.push_back(name);
  }

  const CPageContext& pages_;
  const CClassList& list_;
  const std::vector<bool>& reachable_;
  model::RecordModel model_;
  CNameTable names_{false};
  CNameTable types_{false};  // what each type named in the class group resolves to
  std::vector<CTypeTable::Target> targets_;
};

}  // namespace

void CUsers::Build(const CPageContext& pages, const std::vector<bool>& reachable) {
  const CClassList& list = pages.list();
  const size_t count = list.Count();
  group_.resize(count);
  for (size_t i = 0; i < count; ++i) {
    const CClassRecord& record = list.At(i);
    group_[i] = static_cast<uint32_t>(
        record.isState != 0 && record.parent ? list.PositionOf(*record.parent) : i);
  }
  CPass pass(pages, reachable);
  for (uint32_t i = 0; i < count; ++i) {
    if (list.At(i).isState != 0 || !pass.HasPage(i)) continue;
    pass.ForgetTypes();
    pass.Read(i);
    for (size_t k = pages.FirstState(i); k < pages.EndState(i); ++k) {
      const uint32_t s = static_cast<uint32_t>(pages.State(k));
      if (pass.HasPage(s)) pass.Read(s);
    }
  }

  // Each enumeration and structure has the section after the records' in
  // pass order; the uses that name one by its stored name get its section.
  members_.clear();
  members_.reserve(pass.members.size());
  for (size_t k = 0; k < pass.members.size(); ++k)
    members_.emplace_back(reinterpret_cast<uintptr_t>(pass.members[k]),
                          static_cast<uint32_t>(count + k));
  std::sort(members_.begin(), members_.end());
  const size_t sections = count + members_.size();
  first_.assign(sections + 1, 0);
  for (size_t u = 0; u < pass.uses.size(); ++u) {
    if (pass.sections[u] == kNoSection) {
      const uint32_t section = MemberSection(pass.names[u]);
      // A name the type table holds is one the pass met, unless its class
      // has no page: then its uses are shown nowhere.
      if (section == kNoSection) continue;
      pass.sections[u] = section;
    }
    ++first_[pass.sections[u] + 1];
  }
  for (size_t s = 0; s < sections; ++s) first_[s + 1] += first_[s];
  // Counting sort, stable: each section keeps the pass order.
  uses_.resize(first_[sections]);
  std::vector<uint32_t> fill(first_.begin(), first_.end() - 1);
  for (size_t u = 0; u < pass.uses.size(); ++u) {
    if (pass.sections[u] != kNoSection) uses_[fill[pass.sections[u]]++] = pass.uses[u];
  }
}

uint32_t CUsers::MemberSection(const char* name) const {
  const uintptr_t key = reinterpret_cast<uintptr_t>(name);
  auto at = std::lower_bound(members_.begin(), members_.end(), std::make_pair(key, uint32_t{0}));
  return at == members_.end() || at->first != key ? kNoSection : at->second;
}

std::span<const CUsers::Use> CUsers::OfMember(std::string_view name) const {
  const uint32_t section = MemberSection(name.data());
  if (section == kNoSection) return {};
  return Section(section);
}
