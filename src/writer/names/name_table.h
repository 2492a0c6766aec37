// A table of names for the lookups of one page: which members a class and
// its ancestors declare, how many members of one name came before. Keys are
// a small kind number, an owner (a structure's name, or empty) and a name,
// all views into texts that outlive the page. Open addressing in one array,
// kept from page to page so that building a page allocates nothing once the
// table has grown to the largest page's size.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

class CNameTable {
 public:
  /// A table whose names compare exactly, or, with `foldCase`, but for the
  /// case of ASCII letters, as names in the scripts do.
  explicit CNameTable(bool foldCase) : fold_case_(foldCase) {}

  struct Entry {
    std::string_view owner;
    std::string_view name;  // as first inserted
    uint32_t value = 0;
    uint32_t stamp = 0;  // the table's stamp when the entry was made; older ones are empty
    uint32_t hash = 0;   // the key's, its high bits: most other keys differ in it
    uint8_t kind = 0;
  };

  /// Empties the table, keeping its room.
  void Clear();

  /// The entry of the key, made with `value` if the table lacks it; `made`
  /// says which. The entry stays in place until the next Insert or Clear.
  Entry& Insert(uint8_t kind, std::string_view owner, std::string_view name, uint32_t value,
                bool& made);

  /// How many times the key was counted before: 0 the first time, then 1,
  /// 2, ... (the entry's value counts them).
  uint32_t Count(uint8_t kind, std::string_view owner, std::string_view name) {
    bool made = false;
    Entry& entry = Insert(kind, owner, name, 0, made);
    if (!made) entry.value += 1;
    return entry.value;
  }

  /// The entry of the key, or null.
  const Entry* Find(uint8_t kind, std::string_view owner, std::string_view name) const {
    return Find(kind, owner, name, NameHash(name));
  }
  /// The same, with `nameHash` the NameHash of `name`: one name looked up
  /// under several kinds and owners is hashed once.
  const Entry* Find(uint8_t kind, std::string_view owner, std::string_view name,
                    uint64_t nameHash) const;
  /// The part of a key's hash that its name gives.
  uint64_t NameHash(std::string_view name) const;
  Entry* Find(uint8_t kind, std::string_view owner, std::string_view name) {
    return const_cast<Entry*>(static_cast<const CNameTable*>(this)->Find(kind, owner, name));
  }

 private:
  uint64_t Hash(uint8_t kind, std::string_view owner, uint64_t nameHash) const;
  bool Matches(const Entry& entry, uint64_t hash, uint8_t kind, std::string_view owner,
               std::string_view name) const;
  void Grow();

  bool fold_case_;
  std::vector<Entry> entries_;  // a power of two long, at most half of it in use
  size_t used_ = 0;
  uint32_t stamp_ = 1;
};
