#include "writer/names/name_table.h"

#include <cstring>

#include "model/names.h"

namespace {

constexpr size_t kFirstSize = 64;

bool SameText(std::string_view a, std::string_view b, bool foldCase) {
  return foldCase ? EqualsNoCase(a, b) : a == b;
}

// Folds the ASCII capital letters among the eight bytes of `word` to lower
// case, all at once: a byte gets 0x20 where it is from 'A' to 'Z'.
uint64_t FoldWord(uint64_t word) {
  constexpr uint64_t kOnes = 0x0101010101010101ull;
  const uint64_t low = word & (0x7f * kOnes);
  const uint64_t from_a = low + (0x80 - 'A') * kOnes;      // high bit: at least 'A'
  const uint64_t past_z = low + (0x80 - 'Z' - 1) * kOnes;  // high bit: past 'Z'
  const uint64_t capital = from_a & ~past_z & ~word & (0x80 * kOnes);
  return word | (capital >> 2);
}

// One step of the hash: `word` mixed in.
uint64_t Mix(uint64_t hash, uint64_t word) {
  hash = (hash ^ word) * 0x9e3779b97f4a7c15ull;
  return hash ^ (hash >> 32);
}

// The last one to eight bytes of a text, `left` of them at `at`, as one
// word; loads that overlap when fewer than eight, and no byte past them.
uint64_t Tail(const char* at, size_t left) {
  if (left >= 4) {
    uint32_t first = 0;
    uint32_t last = 0;
    std::memcpy(&first, at, 4);
    std::memcpy(&last, at + left - 4, 4);
    return first | (uint64_t{last} << 32);
  }
  if (left == 0) return 0;
  const auto byte = [at](size_t k) { return uint64_t{static_cast<unsigned char>(at[k])}; };
  return byte(0) | (byte(left / 2) << 8) | (byte(left - 1) << 16);
}

// Mixes in the bytes of `text` eight at a time, with its length, ASCII
// letters folded to lower case with `Fold`.
template <bool Fold>
uint64_t AddText(uint64_t hash, std::string_view text) {
  const char* at = text.data();
  size_t left = text.size();
  for (; left > 8; left -= 8, at += 8) {
    uint64_t word = 0;
    std::memcpy(&word, at, 8);
    hash = Mix(hash, Fold ? FoldWord(word) : word);
  }
  const uint64_t word = Tail(at, left);
  return Mix(hash + text.size(), Fold ? FoldWord(word) : word);
}

// The slot a hash starts its probe at; the high bits are the entry's tag.
size_t Start(uint64_t hash, size_t mask) {
  return static_cast<size_t>(hash ^ (hash >> 29)) & mask;
}

uint32_t Tag(uint64_t hash) {
  return static_cast<uint32_t>(hash >> 32);
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

uint64_t CNameTable::NameHash(std::string_view name) const {
  constexpr uint64_t kSeed = 0x243f6a8885a308d3ull;
  return fold_case_ ? AddText<true>(kSeed, name) : AddText<false>(kSeed, name);
}

uint64_t CNameTable::Hash(uint8_t kind, std::string_view owner, uint64_t nameHash) const {
  // The kind, the owner (most keys have none) and the name's part.
  uint64_t hash = 14695981039346656037ull ^ kind;
  if (!owner.empty()) hash = fold_case_ ? AddText<true>(hash, owner) : AddText<false>(hash, owner);
  return Mix(hash, nameHash);
}

bool CNameTable::Matches(const Entry& entry, uint64_t hash, uint8_t kind, std::string_view owner,
                         std::string_view name) const {
  return entry.hash == Tag(hash) && entry.kind == kind && SameText(entry.name, name, fold_case_) &&
         SameText(entry.owner, owner, fold_case_);
}

void CNameTable::Grow() {
  std::vector<Entry> old;
  old.swap(entries_);
  entries_.assign(old.empty() ? kFirstSize : old.size() * 2, Entry{});
  const size_t mask = entries_.size() - 1;
  for (const Entry& entry : old) {
    if (entry.stamp != stamp_) continue;
    size_t at = Start(Hash(entry.kind, entry.owner, NameHash(entry.name)), mask);
    while (entries_[at].stamp == stamp_) at = (at + 1) & mask;
    entries_[at] = entry;
  }
}

CNameTable::Entry& CNameTable::Insert(uint8_t kind, std::string_view owner, std::string_view name,
                                      uint32_t value, bool& made) {
  if ((used_ + 1) * 2 > entries_.size()) Grow();
  const size_t mask = entries_.size() - 1;
  const uint64_t hash = Hash(kind, owner, NameHash(name));
  size_t at = Start(hash, mask);
  while (entries_[at].stamp == stamp_) {
    if (Matches(entries_[at], hash, kind, owner, name)) {
      made = false;
      return entries_[at];
    }
    at = (at + 1) & mask;
  }
  ++used_;
  made = true;
  entries_[at] = Entry{owner, name, value, stamp_, Tag(hash), kind};
  return entries_[at];
}

const CNameTable::Entry* CNameTable::Find(uint8_t kind, std::string_view owner,
                                          std::string_view name, uint64_t nameHash) const {
  if (entries_.empty()) return nullptr;
  const size_t mask = entries_.size() - 1;
  const uint64_t hash = Hash(kind, owner, nameHash);
  for (size_t at = Start(hash, mask); entries_[at].stamp == stamp_; at = (at + 1) & mask) {
    if (Matches(entries_[at], hash, kind, owner, name)) return &entries_[at];
  }
  return nullptr;
}
