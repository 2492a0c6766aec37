#include "model/class_list.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <new>
#include <numeric>
#include <utility>

#include "model/names.h"

CClassList::~CClassList() = default;

CClassRecord* CClassList::CreateRecord() {
  const size_t made = order_.size();
  // Positions are 31 bits wide.
  if (made >= (size_t{1} << 31) - 1) return nullptr;
  if (made == blocks_.size() * kBlockSize) {
    std::unique_ptr<CClassRecord[]> block(new (std::nothrow) CClassRecord[kBlockSize]);
    if (!block) return nullptr;
    blocks_.push_back(std::move(block));
  }
  order_.push_back(static_cast<uint32_t>(made));
  CClassRecord& record = Made(static_cast<uint32_t>(made));
  record.position_ = static_cast<uint32_t>(made);
  return &record;
}

void CClassList::RemoveRecordsFrom(size_t position) {
  // Before the list is sorted, its order is the order records were made in,
  // so the newest are last; their places are made anew by CreateRecord.
  while (order_.size() > position) {
    Made(order_.back()) = CClassRecord();
    order_.pop_back();
  }
}

namespace {

size_t PackedSize(std::string_view text) {
  return packed::LengthSize(text.size()) + text.size();
}

size_t PackedSize(std::span<const std::string_view> texts) {
  size_t size = 0;
  for (std::string_view text : texts) size += PackedSize(text);
  return size;
}

char* Put(char* out, std::string_view text) {
  out = packed::PutLength(out, text.size());
  if (!text.empty()) std::memcpy(out, text.data(), text.size());
  return out + text.size();
}

char* Put(char* out, std::span<const std::string_view> texts) {
  for (std::string_view text : texts) out = Put(out, text);
  return out;
}

}  // namespace

// A record's script is kept as a tag: 0 for none; 1 when the file name is the
// record's name and ".kc", as it is by convention; else 2 plus the length of
// the file name. A tag but 0 is followed by the address of the directory path,
// kept once for the scripts it holds, a tag above 1 by the file name, and a
// tag but 0 then by the script's fingerprint: its size as a length and its
// hash's eight bytes. The tag is stored doubled, plus one when the record's
// packed model follows the script.
bool CClassList::SetTexts(CClassRecord& record, const RecordTexts& texts) {
  const ScriptPath& script = texts.script;
  const bool has_script = !script.dir.empty() || !script.file.empty();
  const bool conventional = script.file.size() == texts.name.size() + 3 &&
                            script.file.starts_with(texts.name) && script.file.ends_with(".kc");
  const size_t script_tag = !has_script ? 0 : conventional ? 1 : 2 + script.file.size();
  if (has_script) {
    std::string_view last_dir;
    if (last_dir_) packed::GetText(last_dir_, &last_dir);
    if (!last_dir_ || last_dir != script.dir) {
      char* dir = texts_.Allocate(PackedSize(script.dir));
      if (!dir) return false;
      Put(dir, script.dir);
      last_dir_ = dir;
    }
  }
  const bool has_model = !texts.model.empty();
  const size_t vars = has_model ? texts.modelCounts[0] : texts.vars.size();
  const size_t events = has_model ? texts.modelCounts[1] : texts.events.size();
  const size_t functions = has_model ? texts.modelCounts[2] : texts.functions.size();
  const size_t stored_tag = script_tag * 2 + (has_model ? 1 : 0);
  const size_t size =
      packed::LengthSize(vars) + packed::LengthSize(events) + packed::LengthSize(functions) +
      PackedSize(texts.name) + PackedSize(texts.superName) + packed::LengthSize(stored_tag) +
      (script_tag ? sizeof last_dir_ + packed::LengthSize(script.fingerprint.size) +
                        sizeof script.fingerprint.hash
                  : 0) +
      (script_tag > 1 ? script.file.size() : 0) + (has_model ? PackedSize(texts.model) : 0) +
      PackedSize(texts.vars) + PackedSize(texts.events) + PackedSize(texts.functions);
  char* block = texts_.Allocate(size);
  if (!block) return false;
  char* out = packed::PutLength(block, vars);
  out = packed::PutLength(out, events);
  out = packed::PutLength(out, functions);
  out = Put(out, texts.name);
  out = Put(out, texts.superName);
  out = packed::PutLength(out, stored_tag);
  if (script_tag) {
    std::memcpy(out, &last_dir_, sizeof last_dir_);
    out += sizeof last_dir_;
  }
  if (script_tag > 1) {
    std::memcpy(out, script.file.data(), script.file.size());
    out += script.file.size();
  }
  if (script_tag) {
    out = packed::PutLength(out, script.fingerprint.size);
    std::memcpy(out, &script.fingerprint.hash, sizeof script.fingerprint.hash);
    out += sizeof script.fingerprint.hash;
  }
  if (has_model) out = Put(out, texts.model);
  out = Put(out, texts.vars);
  out = Put(out, texts.events);
  Put(out, texts.functions);
  record.texts_ = block;
  return true;
}

namespace {

// Disjoint sets over list positions: two records are in one set when one is
// reachable from the other through parent links.
class DisjointSets {
 public:
  explicit DisjointSets(size_t count) : up_(count) { std::iota(up_.begin(), up_.end(), 0); }
  uint32_t Find(uint32_t x) {
    while (up_[x] != x) {
      up_[x] = up_[up_[x]];
      x = up_[x];
    }
    return x;
  }
  void Join(uint32_t a, uint32_t b) { up_[Find(a)] = Find(b); }

 private:
  std::vector<uint32_t> up_;
};

// The prefixes of the names of a list's positions, in one array, when there
// is room for it: on a large tree most comparisons of names end there,
// without reading the records. Without the room the names themselves are
// compared, and a run short of memory sorts as it would with it.
class CPrefixes {
 public:
  explicit CPrefixes(size_t count) : at_(new (std::nothrow) NamePrefix[count]) {}
  void Set(size_t position, std::string_view name) {
    if (at_) at_[position] = PrefixNoCase(name);
  }
  void Swap(size_t a, size_t b) {
    if (at_) std::swap(at_[a], at_[b]);
  }
  // How the names at positions `a` and `b` order, by their prefixes and else
  // by `names(a, b)`.
  template <class Names>
  int Compare(size_t a, size_t b, Names names) const {
    const int order = at_ ? ComparePrefixes(at_[a], at_[b]) : 0;
    return order != 0 ? order : names(a, b);
  }
  // The same, of position `a` and a name of prefix `b`.
  template <class Names>
  int Compare(size_t a, const NamePrefix& b, Names names) const {
    const int order = at_ ? ComparePrefixes(at_[a], b) : 0;
    return order != 0 ? order : names(a);
  }

 private:
  std::unique_ptr<NamePrefix[]> at_;
};

}  // namespace

void CClassList::ResolveParents() {
  const size_t count = order_.size();
  // The class records ordered by name but for case, and in list order among
  // equal names: the first of equal names is the one a superclass name finds.
  std::vector<uint32_t> classes;
  for (size_t i = 0; i < count; ++i) {
    if (At(i).isState == 0) classes.push_back(static_cast<uint32_t>(i));
  }
  auto name_of = [this](size_t position) { return At(position).name(); };
  CPrefixes prefixes(count);
  for (uint32_t k : classes) prefixes.Set(k, name_of(k));
  const auto names = [&name_of](size_t a, size_t b) {
    return CompareNoCase(name_of(a), name_of(b));
  };
  std::stable_sort(classes.begin(), classes.end(),
                   [&](uint32_t a, uint32_t b) { return prefixes.Compare(a, b, names) < 0; });

  // Before any link is made the parent links form a forest, and each link
  // joins a root to some record. It closes a cycle exactly when that record
  // already lies in the root's own tree.
  DisjointSets trees(count);
  for (size_t i = 0; i < count; ++i) {
    CClassRecord& record = At(i);
    if (record.parent) continue;
    const std::string_view super_name = record.superName();
    if (super_name.empty()) continue;
    const NamePrefix super_prefix = PrefixNoCase(super_name);
    auto found = std::lower_bound(
        classes.begin(), classes.end(), super_name, [&](uint32_t k, std::string_view name) {
          return prefixes.Compare(k, super_prefix,
                                  [&](size_t a) { return CompareNoCase(name_of(a), name); }) < 0;
        });
    if (found == classes.end() || !EqualsNoCase(name_of(*found), super_name)) continue;
    const uint32_t p = *found;
    const uint32_t self = static_cast<uint32_t>(i);
    if (trees.Find(p) == trees.Find(self)) continue;
    record.parent = &At(p);
    trees.Join(self, p);
  }
}

void CClassList::SortByName(bool keepStateOrder) {
  const size_t count = order_.size();
  if (count >= 2) {
    // Names are read from the records themselves, which move with their
    // positions: no copy of a name is made.
    // A tournament tree over positions whose root names the first position
    // of the smallest name among the positions not yet placed. Each pass of
    // the selection sort reads the root, exchanges, and updates two leaves.
    // Leaves are nodes count .. 2 * count - 1 and are not stored: the leaf of
    // a position names it until the position is placed. Picking the smaller
    // name, and the smaller position among equal names, is the same in any
    // grouping.
    constexpr uint32_t kNone = UINT32_MAX;
    std::vector<uint32_t> inner(count, kNone);
    // Moved with their records.
    CPrefixes prefixes(count);
    for (size_t p = 0; p < count; ++p) prefixes.Set(p, At(p).name());
    const auto names = [this](size_t a, size_t b) {
      return CompareNoCase(At(a).name(), At(b).name());
    };
    size_t placed = 0;
    auto node_value = [&](size_t node) {
      if (node < count) return inner[node];
      const size_t position = node - count;
      return position < placed ? kNone : static_cast<uint32_t>(position);
    };
    auto better = [&](uint32_t a, uint32_t b) {
      if (a == kNone) return b;
      if (b == kNone) return a;
      const int order = prefixes.Compare(a, b, names);
      if (order != 0) return order < 0 ? a : b;
      return a < b ? a : b;
    };
    auto refresh = [&](size_t node) {
      inner[node] = better(node_value(2 * node), node_value(2 * node + 1));
    };
    auto update = [&](size_t position) {
      for (size_t node = (count + position) / 2; node >= 1; node /= 2) refresh(node);
    };
    for (size_t node = count - 1; node >= 1; --node) refresh(node);

    for (size_t i = 0; i + 1 < count; ++i) {
      const uint32_t m = inner[1];
      std::swap(order_[i], order_[m]);
      prefixes.Swap(i, m);
      placed = i + 1;
      update(i);
      if (m != i) update(m);
    }
  }
  if (keepStateOrder) KeepStateOrder();
  for (size_t i = 0; i < count; ++i) At(i).position_ = static_cast<uint32_t>(i);
}

// The exchanges of the sort can carry a state past its namesakes. Equal
// names stand together in the sorted list; in each such run the states of
// one class are given back their order of making, which is their order in
// the script, in the places they hold.
void CClassList::KeepStateOrder() {
  const size_t count = order_.size();
  std::vector<uint32_t> states;  // positions in a run of one name
  std::vector<uint32_t> made;
  for (size_t start = 0; start < count;) {
    size_t end = start + 1;
    while (end < count && EqualsNoCase(At(start).name(), At(end).name())) ++end;
    states.clear();
    for (size_t p = start; p < end; ++p) {
      if (At(p).isState != 0) states.push_back(static_cast<uint32_t>(p));
    }
    start = end;
    if (states.size() < 2) continue;
    // By class, each class's places in list order.
    std::stable_sort(states.begin(), states.end(), [this](uint32_t a, uint32_t b) {
      return std::less<const CClassRecord*>()(At(a).parent, At(b).parent);
    });
    for (size_t first = 0; first < states.size();) {
      size_t last = first + 1;
      while (last < states.size() && At(states[last]).parent == At(states[first]).parent) ++last;
      made.clear();
      for (size_t k = first; k < last; ++k) made.push_back(order_[states[k]]);
      std::sort(made.begin(), made.end());
      for (size_t k = first; k < last; ++k) order_[states[k]] = made[k - first];
      first = last;
    }
  }
}

std::vector<uint32_t> CClassList::LinkChildren() const {
  const size_t count = order_.size();
  std::vector<uint32_t> first_child(count + 1, kNoRecord);
  // From the end, so each record is put in front of its later siblings.
  for (size_t i = count; i-- > 0;) {
    CClassRecord& record = At(i);
    const size_t p = record.parent ? record.parent->position_ : count;
    record.next_sibling_ = first_child[p];
    first_child[p] = static_cast<uint32_t>(i);
  }
  return first_child;
}
