#include "writer/names/type_table.h"

#include <algorithm>
#include <cstddef>
#include <map>

#include "model/class_list.h"
#include "model/model_codec.h"
#include "model/names.h"
#include "model/package_name.h"
#include "platform/path.h"
#include "writer/common/anchors.h"

namespace {

using namespace std::string_view_literals;

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// The type inside "class<...>" or "array<...>", or empty when `type` is
// neither.
std::string_view Argument(std::string_view type) {
  if (type.empty() || type.back() != '>') return {};  // most types: no lookup
  for (std::string_view word : {"class"sv, "array"sv}) {
    if (type.size() <= word.size() || !EqualsNoCase(type.substr(0, word.size()), word)) continue;
    const std::string_view rest = Trim(type.substr(word.size()));
    if (rest.size() >= 2 && rest.front() == '<' && rest.back() == '>') {
      return Trim(rest.substr(1, rest.size() - 2));
    }
  }
  return {};
}

bool BuiltIn(std::string_view name) {
  for (std::string_view word : {"byte"sv, "int"sv, "bool"sv, "float"sv, "string"sv, "name"sv}) {
    if (name.size() == word.size() && EqualsNoCase(name, word)) return true;
  }
  return false;
}

// A name as the scripts write one: letters, digits and "_".
bool PlainName(std::string_view name) {
  if (name.empty()) return false;
  for (char c : name) {
    const bool word =
        (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    if (!word) return false;
  }
  return true;
}

// FNV-1a over the name's bytes, ASCII letters folded to lower case.
uint64_t HashNoCase(std::string_view name) {
  uint64_t hash = 14695981039346656037ull;
  for (char c : name) hash = (hash ^ FoldByte(static_cast<unsigned char>(c))) * 1099511628211ull;
  return hash;
}

// Empty slots for `count` numbers: a power of two, at least twice as many.
template <typename Slot>
void MakeSlots(std::vector<Slot>& slots, size_t count) {
  size_t size = 1;
  while (size < count * 2) size *= 2;
  slots.assign(size, Slot{});
}

// The slot holding the number whose name, by `name_of`, is `name` without
// case, else the empty slot where it goes; `tag` gets what that slot holds
// of the name's hash.
template <typename Slot, typename NameOf>
size_t SlotOf(const std::vector<Slot>& slots, std::string_view name, NameOf name_of,
              uint32_t& tag) {
  const uint64_t hash = HashNoCase(name);
  tag = static_cast<uint32_t>(hash >> 32);
  const size_t mask = slots.size() - 1;
  size_t at = static_cast<size_t>(hash ^ (hash >> 29)) & mask;
  while (slots[at].number != CTypeTable::kNone &&
         (slots[at].hash != tag || !EqualsNoCase(name_of(slots[at].number), name)))
    at = (at + 1) & mask;
  return at;
}

}  // namespace

auto CTypeTable::ClassName() const {
  return [this](uint32_t c) { return list_->At(c).name(); };
}

auto CTypeTable::DeclaredName() const {
  return [this](uint32_t d) { return declared_[d].name; };
}

void CTypeTable::Build(const CClassList& list) {
  list_ = &list;
  declared_.clear();
  classes_.clear();
  packages_.assign(list.Count(), 0);
  package_names_.clear();
  std::map<std::string, uint32_t> package_numbers;  // by name without case
  model::RecordModel model;
  for (size_t i = 0; i < list.Count(); ++i) {
    const CClassRecord& record = list.At(i);
    if (record.isState) continue;
    const auto position = static_cast<uint32_t>(i);
    classes_.push_back(position);
    const std::string path = record.scriptPath();
    const std::string_view package = PackageOf(path, platform::kPathSeparator);
    if (!package.empty()) {
      // Most classes share a few packages: an entry is made only for a new one.
      auto [at, made] = package_numbers.try_emplace(
          FoldCase(package), static_cast<uint32_t>(package_names_.size() + 1));
      if (made) package_names_.emplace_back(package);
      packages_[i] = at->second;
    }
    model::UnpackModel(record.packedModel(), model, model::UnpackPart::kTypes);
    for (const model::Enumeration& e : model.enums) {
      declared_.push_back({e.name, position, packages_[i], kEnumeration});
    }
    for (const model::Structure& s : model.structs) {
      declared_.push_back({s.name, position, packages_[i], kStructure});
    }
  }
  // A state's package is its class's.
  for (size_t i = 0; i < list.Count(); ++i) {
    const CClassRecord& record = list.At(i);
    if (record.isState && record.parent) packages_[i] = packages_[list.PositionOf(*record.parent)];
  }
  std::stable_sort(declared_.begin(), declared_.end(), [](const Declared& a, const Declared& b) {
    const int order = CompareNoCase(a.name, b.name);
    if (order != 0) return order < 0;
    if (a.record != b.record) return a.record < b.record;
    return a.kind < b.kind;
  });
  declared_.shrink_to_fit();
  classes_.shrink_to_fit();
  // Each name's first class in record order, and first entry in declared_.
  MakeSlots(class_slots_, classes_.size());
  uint32_t tag = 0;
  for (uint32_t c : classes_) {
    const size_t at = SlotOf(class_slots_, list.At(c).name(), ClassName(), tag);
    if (class_slots_[at].number == kNone) class_slots_[at] = {c, tag};
  }
  MakeSlots(declared_slots_, declared_.size());
  for (size_t d = 0; d < declared_.size(); ++d) {
    const size_t at = SlotOf(declared_slots_, declared_[d].name, DeclaredName(), tag);
    if (declared_slots_[at].number == kNone) declared_slots_[at] = {static_cast<uint32_t>(d), tag};
  }
}

CTypeTable::Target CTypeTable::Resolve(std::string_view type, size_t position) const {
  if (!list_ || position >= list_->Count()) return {};
  type = Named(type);
  const size_t dot = type.find('.');
  if (dot != std::string_view::npos) {
    const std::string_view outer = type.substr(0, dot);
    const std::string_view name = type.substr(dot + 1);
    if (!PlainName(outer) || !PlainName(name)) return {};
    return Qualified(outer, name);
  }
  if (!PlainName(type) || BuiltIn(type)) return {};
  // Declarations in a state are seen from its class.
  const CClassRecord* context = &list_->At(position);
  if (context->isState && context->parent) context = context->parent;
  if (context->isState) return {};
  return Bare(type, static_cast<uint32_t>(list_->PositionOf(*context)));
}

std::string_view CTypeTable::Named(std::string_view type) {
  type = Trim(type);
  // class<X>, array<X> and their nestings name what X names; each step takes
  // a part of the text, so this ends.
  for (std::string_view inner = Argument(type); !inner.empty(); inner = Argument(type)) {
    type = inner;
  }
  return type;
}

CTypeTable::Target CTypeTable::Bare(std::string_view name, uint32_t context) const {
  // The enumerations and structures of that name, by record: most type
  // names have none, and are looked up once rather than in each ancestor.
  const auto [first, last] = DeclaredNamed(name);
  // The class itself, then each ancestor from the superclass up; the links
  // of the parents never make a cycle, yet the walk stops after as many
  // steps as there are records.
  const CClassRecord* record = first == last ? nullptr : &list_->At(context);
  for (size_t steps = 0; record && steps < list_->Count(); ++steps, record = record->parent) {
    const Target own = DeclaredIn(first, last, static_cast<uint32_t>(list_->PositionOf(*record)));
    if (own.found()) return own;
  }
  const uint32_t named = ClassNamed(name);
  if (named != kNone) return {named, kClass, {}};
  // Any class's: the first in the class's own package, else the first.
  if (first == last) return {};
  const uint32_t package = packages_[context];
  if (package != 0) {
    for (auto at = first; at != last; ++at) {
      if (at->package == package) return Of(*at);
    }
  }
  return Of(*first);
}

CTypeTable::Target CTypeTable::Qualified(std::string_view outer, std::string_view name) const {
  const uint32_t holder = ClassNamed(outer);
  if (holder != kNone) {
    const auto [first, last] = DeclaredNamed(name);
    const Target own = DeclaredIn(first, last, holder);
    if (own.found()) return own;
  }
  // A class of the package `outer`.
  auto first = std::lower_bound(classes_.begin(), classes_.end(), name,
                                [this](uint32_t c, std::string_view key) {
                                  return CompareNoCase(list_->At(c).name(), key) < 0;
                                });
  for (; first != classes_.end() && EqualsNoCase(list_->At(*first).name(), name); ++first) {
    const uint32_t package = packages_[*first];
    if (package != 0 && EqualsNoCase(package_names_[package - 1], outer)) {
      return {*first, kClass, {}};
    }
  }
  return {};
}

std::pair<CTypeTable::DeclaredAt, CTypeTable::DeclaredAt> CTypeTable::DeclaredNamed(
    std::string_view name) const {
  uint32_t tag = 0;
  const uint32_t start = declared_slots_[SlotOf(declared_slots_, name, DeclaredName(), tag)].number;
  if (start == kNone) return {declared_.end(), declared_.end()};
  // The run's end by steps that double, then by halving: a name many
  // classes declare costs a few comparisons, not one per class.
  const auto first = declared_.begin() + static_cast<std::ptrdiff_t>(start);
  const auto same = [name](const Declared& d) { return EqualsNoCase(d.name, name); };
  size_t low = 1;  // first[low - 1] has the name
  size_t step = 1;
  const auto size = static_cast<size_t>(declared_.end() - first);
  while (low - 1 + step < size && same(first[static_cast<std::ptrdiff_t>(low - 1 + step)])) {
    low += step;
    step *= 2;
  }
  const size_t high = std::min(low - 1 + step, size);
  return {first, std::partition_point(first + static_cast<std::ptrdiff_t>(low),
                                      first + static_cast<std::ptrdiff_t>(high), same)};
}

CTypeTable::Target CTypeTable::DeclaredIn(DeclaredAt first, DeclaredAt last,
                                          uint32_t record) const {
  const auto at = std::lower_bound(first, last, record,
                                   [](const Declared& d, uint32_t key) { return d.record < key; });
  if (at == last || at->record != record) return {};
  return Of(*at);
}

uint32_t CTypeTable::ClassNamed(std::string_view name) const {
  uint32_t tag = 0;
  return class_slots_[SlotOf(class_slots_, name, ClassName(), tag)].number;
}

void CTypeTable::AppendAnchor(std::string& out, const Target& target) {
  anchors::AppendMemberAnchor(out,
                              target.kind == kEnumeration ? anchors::MemberKind::kEnumeration
                                                          : anchors::MemberKind::kStructure,
                              target.name);
}
