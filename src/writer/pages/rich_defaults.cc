// The effective default properties of a class page: every default the class
// starts with, in one table. A property is the class's own or the one of
// the nearest ancestor that sets it; the rows follow the order in which the
// root sets its properties, then each descendant's new ones.
#include <algorithm>

#include "model/class_list.h"
#include "model/default_key.h"
#include "writer/common/html_escape.h"
#include "writer/common/page_links.h"
#include "writer/pages/rich_page_builder.h"
#include "writer/pages/rich_templates.h"

namespace rt = rich_templates;
using anchors::MemberKind;

namespace rich_page {

// The entry of what `property` sets in folded_, made (with the next row's
// number) when new; null for an object group without a name, which no
// other property sets again.
CNameTable::Entry* CPageBuilder::DefaultSlot(const model::DefaultProperty& property, bool& made) {
  const model::DefaultKey key = model::ReadDefaultKey(property);
  if (key.group && key.name.empty()) {
    made = true;
    return nullptr;
  }
  return &folded_.Insert(key.group ? kDefaultGroup : kDefaultEntry, key.index, key.name,
                         static_cast<uint32_t>(defaults_.size()), made);
}

// Each of the class's own properties is a row: one it sets twice keeps both
// rows, as its script shows them.
void CPageBuilder::NoteOwnDefaults(size_t i) {
  defaults_.clear();
  for (uint32_t k = 0; k < own_.defaults.size(); ++k) {
    bool made = false;
    DefaultSlot(own_.defaults[k], made);
    DefaultRow row;
    row.property = own_.defaults[k];
    row.setter = i;
    row.position = k;
    defaults_.push_back(row);
  }
}

// One ancestor's properties, the ancestors met nearest first. Read from the
// last up, so that of a key an ancestor sets twice the later value counts
// and the earlier place.
void CPageBuilder::NoteInheritedDefaults(uint32_t depth, size_t a,
                                         const model::RecordModel& ancestor) {
  for (size_t k = ancestor.defaults.size(); k-- > 0;) {
    const model::DefaultProperty& property = ancestor.defaults[k];
    bool made = false;
    const CNameTable::Entry* slot = DefaultSlot(property, made);
    if (made) {
      DefaultRow row;
      row.property = property;
      row.setter = a;
      row.inherited = true;
      row.depth = depth;
      row.position = static_cast<uint32_t>(k);
      defaults_.push_back(row);
      continue;
    }
    DefaultRow& row = defaults_[slot->value];
    if (!row.inherited && row.replaced == kNone) {
      row.replaced = a;
      row.replacedValue = property.value;
    }
    row.depth = depth;
    row.position = static_cast<uint32_t>(k);
  }
}

// A property's key, linked to the variable it sets when the class or an
// ancestor declares one of that name: to its first declaration.
void CPageBuilder::AppendDefaultKey(std::string& page, const model::DefaultProperty& property) {
  const model::DefaultKey key = model::ReadDefaultKey(property);
  const CNameTable::Entry* variable =
      key.group ? nullptr : folded_.Find(Key(MemberKind::kVariable), {}, key.name);
  if (!variable) {
    AppendEscaped(page, property.key);
    return;
  }
  const MemberKind kind = MemberKind::kVariable;
  AppendMemberLink(page, variable->value, &kind, variable->name, property.key);
  page.append(rt::kLinkEnd);
}

void CPageBuilder::AppendDefaults(std::string& page) {
  if (defaults_.empty()) return;
  std::sort(defaults_.begin(), defaults_.end(), [](const DefaultRow& x, const DefaultRow& y) {
    return x.depth != y.depth ? x.depth > y.depth : x.position < y.position;
  });
  OpenSection(page, rt::kDefaults);
  page.append(rt::kTableOpen);
  for (const DefaultRow& row : defaults_) {
    page.append(rt::kRowOpen);
    AppendDefaultKey(page, row.property);
    page.append(rt::kRowMiddle);
    AppendEscaped(page, row.property.value);
    page.append(rt::kRowValueEnd);
    if (!row.inherited)
      AppendChangeMark(page, model::DeclarationKind::kDefault, {}, row.property.key);
    if (row.inherited) {
      page.append(rt::kSetIn);
      AppendMemberLink(page, row.setter, nullptr, {}, Record(row.setter).name());
      page.append(rt::kLinkEnd);
      page.append(rt::kNoteEnd);
    } else if (row.replaced != kNone) {
      page.append(rt::kWas);
      AppendEscaped(page, row.replacedValue);
      page.append(rt::kWasIn);
      AppendMemberLink(page, row.replaced, nullptr, {}, Record(row.replaced).name());
      page.append(rt::kLinkEnd);
      page.append(rt::kNoteEnd);
    }
    page.append(rt::kRowLine);
    AppendSourceLink(page, row.inherited ? row.setter : source_, row.property.line);
    page.append(rt::kMemberLineMiddle);
    AppendNumber(page, row.property.line);
    page.append(rt::kRowEnd);
  }
  page.append(rt::kTableEnd);
  page.append(rt::kSectionEnd);
}

}  // namespace rich_page
