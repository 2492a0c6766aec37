#include "writer/data/change_marks.h"

#include <algorithm>

#include "model/names.h"
#include "writer/data/model_json.h"

using model::Change;
using model::ChangeKind;
using model::DeclarationKind;

namespace {

bool IsRecordKind(DeclarationKind kind) {
  return kind == DeclarationKind::kClass || kind == DeclarationKind::kState;
}

}  // namespace

CChangeMarks::CChangeMarks(const std::vector<Change>& changes) {
  for (const Change& c : changes) {
    if (c.change == ChangeKind::kRemoved || c.record == Change::kNoRecord) continue;
    // A record is marked only when it is new; a default property is known by
    // its key, the path after the class's name; an operator by its path's end.
    if (IsRecordKind(c.kind) && c.change != ChangeKind::kAdded) continue;
    std::string_view name = c.member;
    const std::string_view path = c.path;
    if (c.kind == DeclarationKind::kDefault) {
      const size_t dot = path.find('.');
      if (dot == std::string::npos) continue;
      name = path.substr(dot + 1);
    } else if (c.kind == DeclarationKind::kFunction && !path.empty() && path.back() == ')') {
      // An operator, known by its name and parameter types: "==(Bat,name)".
      const size_t at = path.rfind(c.member + '(');
      if (at == std::string::npos) continue;
      name = path.substr(at);
    }
    entries_.push_back({c.record, c.kind,
                        c.change == ChangeKind::kAdded ? ChangeMark::kNew : ChangeMark::kChanged,
                        std::string(name)});
  }
  std::sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
    if (a.record != b.record) return a.record < b.record;
    if (a.kind != b.kind) return a.kind < b.kind;
    const int names = CompareNoCase(a.name, b.name);
    if (names != 0) return names < 0;
    return a.mark < b.mark;
  });
}

ChangeMark CChangeMarks::Of(size_t record, DeclarationKind kind, std::string_view owner,
                            std::string_view name, std::string& utf8) const {
  const auto before = [](const Entry& e, size_t r) { return e.record < r; };
  auto at = std::lower_bound(entries_.begin(), entries_.end(), record, before);
  // Most records have no changes: the name is converted only for those
  // that do.
  if (at == entries_.end() || at->record != record) return ChangeMark::kNone;
  utf8.clear();
  if (!owner.empty()) {
    AppendUtf8Text(utf8, owner);
    utf8.push_back('.');
  }
  AppendUtf8Text(utf8, name);
  at = std::lower_bound(at, entries_.end(), utf8, [&](const Entry& e, const std::string& n) {
    if (e.record != record) return e.record < record;
    if (e.kind != kind) return e.kind < kind;
    return CompareNoCase(e.name, n) < 0;
  });
  if (at == entries_.end() || at->record != record || at->kind != kind ||
      !EqualsNoCase(at->name, utf8))
    return ChangeMark::kNone;
  return at->mark;
}
