#include "writer/name_table.h"

#include "model/names.h"

namespace {

constexpr size_t kFirstSize = 64;

bool SameText(std::string_view a, std::string_view b, bool foldCase) {
  return foldCase ? EqualsNoCase(a, b) : a == b;
}

}  // namespace

void CNameTable::Clear() {
  used_ = 0;
  if (stamp_ < UINT32_MAX) {
    ++stamp_;
    return;
  }
  // The stamp would go round: every entry is emptied for real, once.
  for (Entry& entry : entries_) entry.stamp = 0;
  stamp_ = 1;
}

size_t CNameTable::Hash(uint8_t kind, std::string_view owner, std::string_view name) const {
  // FNV-1a over the kind, the owner, a separator and the name.
  uint64_t hash = 14695981039346656037ull ^ kind;
  const auto add = [&](std::string_view text) {
    for (char c : text) {
      const unsigned char u = static_cast<unsigned char>(c);
      hash = (hash ^ (fold_case_ ? FoldByte(u) : u)) * 1099511628211ull;
    }
  };
  add(owner);
  hash = (hash ^ 0x100) * 1099511628211ull;
  add(name);
  return static_cast<size_t>(hash ^ (hash >> 29));
}

bool CNameTable::Matches(const Entry& entry, uint8_t kind, std::string_view owner,
                         std::string_view name) const {
  return entry.kind == kind && SameText(entry.name, name, fold_case_) &&
         SameText(entry.owner, owner, fold_case_);
}

void CNameTable::Grow() {
  std::vector<Entry> old;
  old.swap(entries_);
  entries_.assign(old.empty() ? kFirstSize : old.size() * 2, Entry{});
  const size_t mask = entries_.size() - 1;
  for (const Entry& entry : old) {
    if (entry.stamp != stamp_) continue;
    size_t at = Hash(entry.kind, entry.owner, entry.name) & mask;
    while (entries_[at].stamp == stamp_) at = (at + 1) & mask;
    entries_[at] = entry;
  }
}

CNameTable::Entry& CNameTable::Insert(uint8_t kind, std::string_view owner, std::string_view name,
                                      uint32_t value, bool& made) {
  if ((used_ + 1) * 2 > entries_.size()) Grow();
  const size_t mask = entries_.size() - 1;
  size_t at = Hash(kind, owner, name) & mask;
  while (entries_[at].stamp == stamp_) {
    if (Matches(entries_[at], kind, owner, name)) {
      made = false;
      return entries_[at];
    }
    at = (at + 1) & mask;
  }
  ++used_;
  made = true;
  entries_[at] = Entry{owner, name, value, stamp_, kind};
  return entries_[at];
}

const CNameTable::Entry* CNameTable::Find(uint8_t kind, std::string_view owner,
                                          std::string_view name) const {
  if (entries_.empty()) return nullptr;
  const size_t mask = entries_.size() - 1;
  for (size_t at = Hash(kind, owner, name) & mask; entries_[at].stamp == stamp_;
       at = (at + 1) & mask) {
    if (Matches(entries_[at], kind, owner, name)) return &entries_[at];
  }
  return nullptr;
}
