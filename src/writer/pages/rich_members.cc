#include <vector>

#include "model/class_list.h"
#include "model/declaration_text.h"
#include "model/names.h"
#include "writer/common/html_escape.h"
#include "writer/common/page_links.h"
#include "writer/data/change_marks.h"
#include "writer/pages/over_page.h"
#include "writer/pages/refs_page.h"
#include "writer/pages/rich_page_builder.h"
#include "writer/pages/rich_templates.h"
#include "writer/pages/rich_type_links.h"
#include "writer/pages/use_page.h"

namespace rt = rich_templates;
using anchors::MemberKind;

namespace rich_page {

namespace {

// True when one of `modifiers` is "native" or "native(N)".
bool IsNative(const model::RecordModel& model, model::Words modifiers) {
  constexpr std::string_view kNative = "native";
  for (std::string_view word : model.Span(modifiers)) {
    if (word.size() >= kNative.size() && EqualsNoCase(word.substr(0, kNative.size()), kNative))
      return true;
  }
  return false;
}

// Sorts the variables' indices into order_ by `group` of each (counting
// sort, stable), starts_ marking where each group begins.
template <typename Group>
void GroupVariables(const model::RecordModel& model, size_t groups, Group group,
                    std::vector<uint32_t>& order, std::vector<uint32_t>& starts) {
  starts.assign(groups + 1, 0);
  for (const model::Variable& v : model.variables) ++starts[group(v) + 1];
  for (size_t g = 0; g < groups; ++g) starts[g + 1] += starts[g];
  order.resize(model.variables.size());
  std::vector<uint32_t>& fill = starts;  // advanced while filling, then moved back
  for (uint32_t k = 0; k < model.variables.size(); ++k)
    order[fill[group(model.variables[k])]++] = k;
  for (size_t g = groups; g > 0; --g) starts[g] = starts[g - 1];
  starts[0] = 0;
}

}  // namespace

// Ends a member's block after its declaration: its doc comment, if any,
// and who refers to it.
void CPageBuilder::EndMember(std::string& page, const model::OptionalText& doc, MemberKind kind,
                             std::string_view name, size_t occurrence) {
  page.append(rt::kMemberHeadEnd);
  AppendDoc(page, doc);
  AppendReferenced(page, kind, name, occurrence);
  page.append(rt::kMemberEnd);
}

// The line that says who refers to the member: links lead to the first
// declaration of a kind and name only.
void CPageBuilder::AppendReferenced(std::string& page, MemberKind kind, std::string_view name,
                                    size_t occurrence) {
  if (occurrence == 0)
    AppendReferencedLine(page, pages_->references(), record_, static_cast<uint8_t>(kind), name);
}

// Opens a member's block up to its declaration: anchor, link to its line.
void CPageBuilder::OpenMember(std::string& page, MemberKind kind, std::string_view name,
                              size_t occurrence, uint32_t line) {
  page.append(rt::kMemberOpen);
  anchors::AppendMemberAnchor(page, kind, name, occurrence);
  page.append(rt::kMemberLine);
  AppendSourceLink(page, source_, line);
  page.append(rt::kMemberLineMiddle);
  AppendNumber(page, line);
  page.append(rt::kMemberDeclaration);
}

// Appends declaration_, its type names noted in type_spans_ linked; both are
// then done with.
void CPageBuilder::AppendDeclarationText(std::string& page) {
  AppendTypedText(page, pages_->types(), record_, declaration_, type_spans_);
  type_spans_.clear();
  page.append(rt::kMemberDeclarationEnd);
}

// With --compare, marks the member (or record) as new or changed.
void CPageBuilder::AppendChangeMark(std::string& page, model::DeclarationKind kind,
                                    std::string_view owner, std::string_view name) {
  if (!pages_->marks()) return;
  switch (pages_->marks()->Of(record_, kind, owner, name, utf8_)) {
    case ChangeMark::kNew:
      page.append(rt::kNewMark);
      break;
    case ChangeMark::kChanged:
      page.append(rt::kChangedMark);
      break;
    case ChangeMark::kNone:
      break;
  }
}

// An operator is told apart from its namesakes by its parameters' types.
void CPageBuilder::AppendOperatorChangeMark(std::string& page, const model::Function& f) {
  if (!pages_->marks()) return;
  std::string key(f.name);
  key.push_back('(');
  for (uint32_t k = 0; k < f.parameterCount; ++k) {
    if (k > 0) key.push_back(',');
    key.append(own_.parameters[f.firstParameter + k].type);
  }
  key.push_back(')');
  AppendChangeMark(page, model::DeclarationKind::kFunction, {}, key);
}

void CPageBuilder::AppendConstants(std::string& page) {
  if (own_.constants.empty()) return;
  OpenSection(page, rt::kConstants);
  for (const model::Constant& c : own_.constants) {
    const uint32_t occurrence = Occurrence(MemberKind::kConstant, {}, c.name);
    OpenMember(page, MemberKind::kConstant, c.name, occurrence, c.line);
    declaration_.clear();
    model::AppendDeclaration(declaration_, c);
    AppendDeclarationText(page);
    AppendChangeMark(page, model::DeclarationKind::kConstant, {}, c.name);
    EndMember(page, c.doc, MemberKind::kConstant, c.name, occurrence);
  }
  page.append(rt::kSectionEnd);
}

void CPageBuilder::AppendEnumerations(std::string& page) {
  if (own_.enums.empty()) return;
  OpenSection(page, rt::kEnumerations);
  for (const model::Enumeration& e : own_.enums) {
    const uint32_t occurrence = Occurrence(MemberKind::kEnumeration, {}, e.name);
    OpenMember(page, MemberKind::kEnumeration, e.name, occurrence, e.line);
    declaration_.assign("enum ");
    declaration_.append(e.name);
    declaration_.append(rt::kEnumOpen);
    bool first = true;
    for (std::string_view value : own_.Span(e.values)) {
      if (!first) declaration_.append(rt::kSeparator);
      first = false;
      declaration_.append(value);
    }
    declaration_.append(rt::kEnumEnd);
    AppendDeclarationText(page);
    AppendChangeMark(page, model::DeclarationKind::kEnum, {}, e.name);
    if (Record(record_).isState == 0)
      AppendMemberUsersLink(page, pages_->users(), source_, MemberKind::kEnumeration, e.name,
                            occurrence);
    EndMember(page, e.doc, MemberKind::kEnumeration, e.name, occurrence);
  }
  page.append(rt::kSectionEnd);
}

// One variable: the record's own, or a structure's member, whose anchor is
// named "Structure.Member".
void CPageBuilder::AppendVariable(std::string& page, const model::Variable& variable,
                                  size_t index) {
  if (variable.structure == 0) {
    OpenMember(page, MemberKind::kVariable, variable.name, variable_occurrence_[index],
               variable.line);
  } else {
    declaration_.assign(own_.structs[variable.structure - 1].name);
    declaration_.push_back('.');
    declaration_.append(variable.name);
    OpenMember(page, MemberKind::kVariable, declaration_, variable_occurrence_[index],
               variable.line);
  }
  declaration_.clear();
  model::AppendDeclaration(declaration_, own_, variable, &type_spans_);
  AppendDeclarationText(page);
  AppendChangeMark(
      page, model::DeclarationKind::kVariable,
      variable.structure == 0 ? std::string_view() : own_.structs[variable.structure - 1].name,
      variable.name);
  // A structure's member is linked to by no name of the code.
  EndMember(page, variable.doc, MemberKind::kVariable,
            variable.structure == 0 ? variable.name : std::string_view(),
            variable.structure == 0 ? variable_occurrence_[index] : 1);
}

void CPageBuilder::AppendStructures(std::string& page) {
  if (own_.structs.empty()) return;
  const size_t groups = own_.structs.size() + 1;
  GroupVariables(
      own_, groups, [](const model::Variable& v) { return v.structure; }, order_, starts_);
  OpenSection(page, rt::kStructures);
  for (size_t s = 0; s < own_.structs.size(); ++s) {
    const model::Structure& structure = own_.structs[s];
    const uint32_t occurrence = Occurrence(MemberKind::kStructure, {}, structure.name);
    OpenMember(page, MemberKind::kStructure, structure.name, occurrence, structure.line);
    declaration_.assign(rt::kStructWord);
    for (std::string_view word : own_.Span(structure.modifiers)) {
      declaration_.append(word);
      declaration_.push_back(' ');
    }
    declaration_.append(structure.name);
    if (structure.extends) {
      declaration_.append(rt::kExtendsWord);
      model::AppendType(declaration_, *structure.extends, &type_spans_);
    }
    AppendDeclarationText(page);
    AppendChangeMark(page, model::DeclarationKind::kStruct, {}, structure.name);
    if (Record(record_).isState == 0)
      AppendMemberUsersLink(page, pages_->users(), source_, MemberKind::kStructure, structure.name,
                            occurrence);
    page.append(rt::kMemberHeadEnd);
    AppendDoc(page, structure.doc);
    for (uint32_t k = starts_[s + 1]; k < starts_[s + 2]; ++k)
      AppendVariable(page, own_.variables[order_[k]], order_[k]);
    AppendReferenced(page, MemberKind::kStructure, structure.name, occurrence);
    page.append(rt::kMemberEnd);
  }
  page.append(rt::kSectionEnd);
}

// The record's own variables, by category in the order each category first
// appears; those without one come last.
void CPageBuilder::AppendVariables(std::string& page) {
  categories_.clear();
  bool any = false;
  for (const model::Variable& v : own_.variables) {
    if (v.structure != 0) continue;
    any = true;
    if (!v.category) continue;
    bool made = false;
    folded_.Insert(kCategory, {}, *v.category, static_cast<uint32_t>(categories_.size()), made);
    if (made) categories_.push_back(*v.category);
  }
  if (!any) return;
  // Groups: each category, then none, then the structures' members.
  const size_t none = categories_.size();
  const auto group = [&](const model::Variable& v) -> size_t {
    if (v.structure != 0) return none + 1;
    if (!v.category) return none;
    return folded_.Find(kCategory, {}, *v.category)->value;
  };
  GroupVariables(own_, none + 2, group, order_, starts_);
  OpenSection(page, rt::kVariables);
  for (size_t g = 0; g <= none; ++g) {
    if (starts_[g] == starts_[g + 1]) continue;
    if (none > 0) {
      page.append(rt::kGroupOpen);
      if (g < none) AppendEscaped(page, categories_[g]);
      if (g == none) page.append(rt::kNoCategory);
      page.append(rt::kGroupEnd);
    }
    for (uint32_t k = starts_[g]; k < starts_[g + 1]; ++k)
      AppendVariable(page, own_.variables[order_[k]], order_[k]);
  }
  page.append(rt::kSectionEnd);
}

void CPageBuilder::AppendFunctions(std::string& page, bool events) {
  bool opened = false;
  for (size_t index = 0; index < own_.functions.size(); ++index) {
    const model::Function& f = own_.functions[index];
    if ((f.kind == model::FunctionKind::kEvent) != events) continue;
    if (!opened) OpenSection(page, events ? rt::kEvents : rt::kFunctions);
    opened = true;
    OpenMember(page, MemberKind::kFunction, f.name, function_occurrence_[index], f.line);
    declaration_.clear();
    model::AppendDeclaration(declaration_, own_, f, &type_spans_);
    AppendDeclarationText(page);
    if (model::IsOperator(f.kind)) {
      AppendOperatorChangeMark(page, f);
    } else {
      AppendChangeMark(page, model::DeclarationKind::kFunction, {}, f.name);
    }
    if (!f.body) page.append(IsNative(own_, f.modifiers) ? rt::kNative : rt::kDeclaredOnly);
    page.append(rt::kMemberHeadEnd);
    // An operator is told apart from its namesakes by its parameters: it
    // overrides nothing by name alone.
    const Target* target = model::IsOperator(f.kind) ? nullptr : Resolved(f.name);
    if (target) {
      page.append(rt::kOverrides);
      AppendPageName(page, target->record);
      page.push_back('#');
      anchors::AppendMemberAnchor(page, MemberKind::kFunction, target->name);
      page.append(rt::kLinkMiddle);
      AppendEscaped(page, Record(target->record).name());
      page.append(rt::kMemberOfRecord);
      AppendEscaped(page, target->name);
      page.append(rt::kOverridesEnd);
    }
    // A state's functions are declared again by nothing.
    if (pages_->overriders() && !model::IsOperator(f.kind) && Record(record_).isState == 0)
      AppendOverriddenIn(page, *pages_->overriders(), record_, f.name, sections_, overriders_);
    AppendDoc(page, f.doc);
    AppendReferenced(page, MemberKind::kFunction, f.name, function_occurrence_[index]);
    page.append(rt::kMemberEnd);
  }
  if (opened) page.append(rt::kSectionEnd);
}

// The class's states, each linked to its page.
void CPageBuilder::AppendStates(std::string& page, size_t i) {
  if (pages_->FirstState(i) == pages_->EndState(i)) return;
  OpenSection(page, rt::kStates);
  for (size_t k = pages_->FirstState(i); k < pages_->EndState(i); ++k) {
    const size_t s = pages_->State(k);
    const std::string_view name = Record(s).name();
    const model::RecordModel& other = models_.Get(*pages_, s);
    const uint32_t occurrence = Occurrence(MemberKind::kState, {}, name);
    OpenMember(page, MemberKind::kState, name, occurrence, other.line);
    AppendWords(page, other, other.modifiers);
    page.append(rt::kStateWord);
    AppendMemberLink(page, s, nullptr, {}, name);
    page.append(rt::kLinkEnd);
    if (other.extends) {
      page.append(rt::kExtendsWord);
      AppendEscaped(page, *other.extends);
    }
    page.append(rt::kMemberDeclarationEnd);
    EndMember(page, other.doc, MemberKind::kState, name, occurrence);
  }
  page.append(rt::kSectionEnd);
}

}  // namespace rich_page
