#include "model/model_changes.h"

#include <algorithm>
#include <numeric>

namespace model {

namespace {

constexpr uint32_t kNone = Change::kNoRecord;

char Fold(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool FoldedLess(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(Fold(x)) < static_cast<unsigned char>(Fold(y));
  });
}

bool FoldedEqual(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return Fold(x) == Fold(y); });
}

// Matches each of `now`, in order, to the first of `before` with the same
// key but for case that no earlier one took: the n-th of one key to the n-th.
void Match(const std::vector<std::string_view>& before, const std::vector<std::string_view>& now,
           std::vector<uint32_t>& beforeMatch, std::vector<uint32_t>& nowMatch) {
  // Most often the keys stand as they stood: each matches its own place.
  if (before.size() == now.size() &&
      std::equal(before.begin(), before.end(), now.begin(), FoldedEqual)) {
    beforeMatch.resize(before.size());
    std::iota(beforeMatch.begin(), beforeMatch.end(), 0u);
    nowMatch = beforeMatch;
    return;
  }
  std::vector<uint32_t> order(before.size());
  std::iota(order.begin(), order.end(), 0u);
  std::stable_sort(order.begin(), order.end(),
                   [&](uint32_t a, uint32_t b) { return FoldedLess(before[a], before[b]); });
  // How many of the group starting at each place in `order` were taken.
  std::vector<uint32_t> taken(order.size(), 0);
  beforeMatch.assign(before.size(), kNone);
  nowMatch.assign(now.size(), kNone);
  for (size_t j = 0; j < now.size(); ++j) {
    const auto group = std::lower_bound(
        order.begin(), order.end(), now[j],
        [&](uint32_t i, std::string_view key) { return FoldedLess(before[i], key); });
    const size_t start = static_cast<size_t>(group - order.begin());
    // A key after all of `before` (or none of them) has no group to take from.
    if (start == order.size()) continue;
    const size_t at = start + taken[start];
    if (at < order.size() && FoldedEqual(before[order[at]], now[j])) {
      ++taken[start];
      beforeMatch[order[at]] = static_cast<uint32_t>(j);
      nowMatch[j] = order[at];
    }
  }
}

}  // namespace

std::string_view ChangeKindName(ChangeKind change) {
  static constexpr std::string_view kNames[] = {"added", "removed", "changed"};
  return kNames[static_cast<size_t>(change)];
}

bool LooselyEqual(std::string_view a, std::string_view b) {
  if (a == b) return true;
  size_t i = 0, j = 0;
  for (;;) {
    const bool blankA = i < a.size() && IsBlank(a[i]);
    const bool blankB = j < b.size() && IsBlank(b[j]);
    if (blankA != blankB) return false;
    if (blankA) {
      while (i < a.size() && IsBlank(a[i])) ++i;
      while (j < b.size() && IsBlank(b[j])) ++j;
      continue;
    }
    if (i == a.size() || j == b.size()) return i == a.size() && j == b.size();
    if (Fold(a[i++]) != Fold(b[j++])) return false;
  }
}

CModelChanges::CModelChanges(const CModelFileIndex& old, std::vector<std::string> newPaths,
                             std::vector<uint32_t> newParents)
    : old_(old), newPaths_(std::move(newPaths)), newParents_(std::move(newParents)) {
  std::vector<std::string> oldPaths(old_.Count());
  for (size_t i = 0; i < oldPaths.size(); ++i) old_.AppendPath(oldPaths[i], i);
  Match(std::vector<std::string_view>(oldPaths.begin(), oldPaths.end()),
        std::vector<std::string_view>(newPaths_.begin(), newPaths_.end()), oldMatch_, newMatch_);
  RemoveUnmatchedFrom(0);
}

void CModelChanges::Add(ChangeKind change, DeclarationKind kind, std::string_view path,
                        std::string_view before, std::string_view after, std::string_view package,
                        std::string_view member, uint32_t record) {
  Change& c = changes_.emplace_back();
  c.change = change;
  c.kind = kind;
  c.path = path;
  c.before = before;
  c.after = after;
  c.package = package;
  c.member = member;
  c.record = record;
}

bool CModelChanges::ReadOld(size_t old) {
  if (was_.ReadRecord(old_.Object(old)) && was_.Size() > 0) return true;
  if (unread_ == kNone) unread_ = static_cast<uint32_t>(old);
  return false;
}

void CModelChanges::RemoveRecord(size_t old) {
  const IndexedRecord& record = old_.Record(old);
  // A state goes with its class, when the class went.
  if (record.isState && record.parent < oldMatch_.size() && oldMatch_[record.parent] == kNone) {
    return;
  }
  if (!ReadOld(old)) return;
  std::string path;
  old_.AppendPath(path, old);
  const Declaration& own = was_.All()[0];
  Add(ChangeKind::kRemoved, own.kind, path, was_.Text(own), {}, record.package, {}, kNone);
}

void CModelChanges::RemoveUnmatchedFrom(size_t old) {
  for (; old < oldMatch_.size() && oldMatch_[old] == kNone; ++old) RemoveRecord(old);
}

void CModelChanges::Compare(uint32_t number, const CModelDeclarations& now,
                            std::string_view package) {
  if (now.Size() == 0 || number >= newMatch_.size()) return;
  const Declaration& own = now.All()[0];
  const uint32_t old = newMatch_[number];
  if (old == kNone) {
    const uint32_t parent = newParents_[number];
    if (own.kind == DeclarationKind::kState && parent < newMatch_.size() &&
        newMatch_[parent] == kNone) {
      return;
    }
    Add(ChangeKind::kAdded, own.kind, newPaths_[number], {}, now.Text(own), package, {}, number);
    return;
  }
  if (ReadOld(old)) CompareMembers(number, now, package);
  RemoveUnmatchedFrom(old + 1);
}

void CModelChanges::CompareMembers(uint32_t number, const CModelDeclarations& now,
                                   std::string_view package) {
  const CModelDeclarations& old = was_;
  const std::span<const Declaration> was = old.All();
  const std::span<const Declaration> is = now.All();
  const std::string& prefix = newPaths_[number];
  std::string path;
  auto add = [&](ChangeKind change, const Declaration& d, const CModelDeclarations& model,
                 std::string_view before, std::string_view afterText) {
    path.assign(prefix);
    if (d.kind != DeclarationKind::kClass && d.kind != DeclarationKind::kState) {
      path.push_back('.');
      path.append(model.Key(d));
    }
    Add(change, d.kind, path, before, afterText, package, model.Name(d),
        change == ChangeKind::kRemoved ? kNone : number);
  };
  // The record's own statement, then each kind of member.
  if (!LooselyEqual(old.Text(was[0]), now.Text(is[0]))) {
    add(ChangeKind::kChanged, is[0], now, old.Text(was[0]), now.Text(is[0]));
  }
  std::vector<const Declaration*> before, current;
  std::vector<std::string_view> beforeKeys, currentKeys;
  std::vector<uint32_t> beforeMatch, currentMatch;
  // Both lists hold their members by kind: each kind's run is compared.
  size_t b = 1, c = 1;
  while (b < was.size() || c < is.size()) {
    const DeclarationKind kind = b == was.size()  ? is[c].kind
                                 : c == is.size() ? was[b].kind
                                                  : std::min(was[b].kind, is[c].kind);
    before.clear();
    current.clear();
    beforeKeys.clear();
    currentKeys.clear();
    for (; b < was.size() && was[b].kind == kind; ++b) {
      before.push_back(&was[b]);
      beforeKeys.push_back(old.Key(was[b]));
    }
    for (; c < is.size() && is[c].kind == kind; ++c) {
      current.push_back(&is[c]);
      currentKeys.push_back(now.Key(is[c]));
    }
    Match(beforeKeys, currentKeys, beforeMatch, currentMatch);
    // Removed members stand after the member that stood before them.
    auto removeFrom = [&](size_t i) {
      for (; i < before.size() && beforeMatch[i] == kNone; ++i) {
        add(ChangeKind::kRemoved, *before[i], old, old.Text(*before[i]), {});
      }
    };
    removeFrom(0);
    for (size_t j = 0; j < current.size(); ++j) {
      const Declaration& d = *current[j];
      const uint32_t m = currentMatch[j];
      if (m == kNone) {
        add(ChangeKind::kAdded, d, now, {}, now.Text(d));
        continue;
      }
      if (!LooselyEqual(old.Text(*before[m]), now.Text(d))) {
        add(ChangeKind::kChanged, d, now, old.Text(*before[m]), now.Text(d));
      }
      removeFrom(m + 1);
    }
  }
}

ChangeCounts CModelChanges::Counts() const {
  ChangeCounts counts;
  for (const Change& c : changes_) {
    const bool isClass = c.kind == DeclarationKind::kClass;
    switch (c.change) {
      case ChangeKind::kAdded:
        ++(isClass ? counts.classesAdded : counts.membersAdded);
        break;
      case ChangeKind::kRemoved:
        ++(isClass ? counts.classesRemoved : counts.membersRemoved);
        break;
      case ChangeKind::kChanged:
        ++counts.membersChanged;
        break;
    }
  }
  return counts;
}

}  // namespace model
