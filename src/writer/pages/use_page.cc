#include "writer/pages/use_page.h"

#include <span>

#include "model/class_list.h"
#include "model/record_model.h"
#include "platform/thread_scratch.h"
#include "writer/common/html_escape.h"
#include "writer/common/page_links.h"
#include "writer/links/model_cache.h"
#include "writer/links/page_context.h"
#include "writer/links/users.h"
#include "writer/names/name_table.h"
#include "writer/pages/use_templates.h"

namespace ut = use_templates;
using anchors::MemberKind;

namespace {

// A page stops listing uses past this many bytes, and counts the rest: a
// root class can be used by tens of thousands of declarations.
constexpr size_t kListedBytes = size_t{400} * 1000;

// "3 declarations in 2 classes", or "nothing".
void AppendCounts(std::string& out, const CUsers& users, std::span<const CUsers::Use> uses) {
  if (uses.empty()) {
    out.append(ut::kNothing);
    return;
  }
  size_t classes = 0;
  for (size_t k = 0; k < uses.size(); ++k) {
    if (k == 0 || users.GroupOf(uses[k]) != users.GroupOf(uses[k - 1])) ++classes;
  }
  AppendNumber(out, uses.size());
  out.append(ut::kDeclaration);
  if (uses.size() != 1) out.append(ut::kPluralOfDeclaration);
  out.append(ut::kIn);
  AppendNumber(out, classes);
  out.append(ut::kClass);
  if (classes != 1) out.append(ut::kPluralOfClass);
}

// Opens a link to record `record`'s page, to the member of `kind`, `name`
// and `occurrence` on it unless `kind` is null.
void OpenLink(std::string& out, size_t record, const MemberKind* kind, std::string_view name,
              size_t occurrence) {
  out.append(ut::kLinkOpen);
  AppendPageName(out, record);
  if (kind) {
    out.push_back('#');
    anchors::AppendMemberAnchor(out, *kind, name, occurrence);
  }
  out.append(ut::kLinkMiddle);
}

// One declaration, linked to it on its record's page.
void AppendUse(std::string& page, const CClassList& list, const CUsers::Use& use,
               std::string& scratch) {
  const CClassRecord& user = list.At(use.user);
  if (user.isState != 0) {
    page.append(ut::kInState);
    OpenLink(page, use.user, nullptr, {}, 0);
    AppendEscaped(page, user.name());
    page.append(ut::kLinkEnd);
    page.append(ut::kInStateEnd);
  }
  const MemberKind variable = MemberKind::kVariable;
  const MemberKind function = MemberKind::kFunction;
  switch (use.what) {
    case CUsers::What::kExtends:
    case CUsers::What::kWithin:
      OpenLink(page, use.user, nullptr, {}, 0);
      page.append(use.what == CUsers::What::kExtends ? ut::kExtends : ut::kWithin);
      break;
    case CUsers::What::kVariable:
      page.append(ut::kVariable);
      OpenLink(page, use.user, &variable, use.name, use.occurrence);
      AppendEscaped(page, use.name);
      break;
    case CUsers::What::kMember:
      scratch.assign(use.owner);
      scratch.push_back('.');
      scratch.append(use.name);
      page.append(ut::kMember);
      OpenLink(page, use.user, &variable, scratch, use.occurrence);
      AppendEscaped(page, scratch);
      break;
    case CUsers::What::kParameter:
      page.append(ut::kParameter);
      AppendEscaped(page, use.name);
      page.append(ut::kParameterOf);
      OpenLink(page, use.user, &function, use.owner, use.occurrence);
      AppendEscaped(page, use.owner);
      break;
    case CUsers::What::kReturn:
      page.append(ut::kReturnOf);
      OpenLink(page, use.user, &function, use.name, use.occurrence);
      AppendEscaped(page, use.name);
      break;
  }
  page.append(ut::kLinkEnd);
}

// One section's counts and users, grouped by class; uses past the page's
// room for them are counted instead.
void AppendUsers(std::string& page, size_t start, const CClassList& list, const CUsers& users,
                 std::span<const CUsers::Use> uses, std::string& scratch) {
  page.append(ut::kCountsOpen);
  page.append(ut::kUsedBy);
  AppendCounts(page, users, uses);
  page.append(ut::kCountsEnd);
  if (uses.empty()) return;
  page.append(ut::kListOpen);
  size_t k = 0;
  for (; k < uses.size() && page.size() - start < kListedBytes; ++k) {
    const uint32_t group = users.GroupOf(uses[k]);
    if (k == 0 || group != users.GroupOf(uses[k - 1])) {
      page.append(ut::kGroupOpen);
      AppendPageName(page, group);
      page.append(ut::kLinkMiddle);
      AppendEscaped(page, list.At(group).name());
      page.append(ut::kGroupEnd);
    }
    page.append(ut::kUseOpen);
    AppendUse(page, list, uses[k], scratch);
    page.append(ut::kUseEnd);
  }
  page.append(ut::kListEnd);
  if (k == uses.size()) return;
  page.append(ut::kOmittedOpen);
  AppendCounts(page, users, uses.subspan(k));
  page.append(ut::kOmittedEnd);
}

}  // namespace

void AppendUsePage(std::string& page, const CPageContext& pages, const CUsers& users, size_t i) {
  // Each writing thread keeps the rooms of its text and table.
  struct Rooms {
    std::string scratch;
    CNameTable names{false};
  };
  Rooms& rooms = platform::ThreadScratch<Rooms>();
  std::string& scratch = rooms.scratch;
  CNameTable& names = rooms.names;
  const size_t start = page.size();
  const CClassList& list = pages.list();
  const std::string_view name = list.At(i).name();
  AppendClassPageHead(page, ut::kOpen, ut::kHead, ut::kHeadingEnd, ut::kClassLinkEnd, name, i);

  page.append(ut::kSectionOpen);
  AppendEscaped(page, name);
  page.append(ut::kSectionHeadingEnd);
  AppendUsers(page, start, list, users, users.OfClass(i), scratch);
  page.append(ut::kSectionEnd);

  // The enumerations and structures, anchored as on the class page.
  const model::RecordModel& model = CModelCache::OfThread().Get(pages, i);
  const auto section = [&](MemberKind kind, std::string_view member, size_t occurrence) {
    page.append(ut::kMemberSectionOpen);
    anchors::AppendMemberAnchor(page, kind, member, occurrence);
    page.append(ut::kMemberSectionHeading);
    page.append(kind == MemberKind::kEnumeration ? ut::kEnumWord : ut::kStructWord);
    AppendEscaped(page, member);
    page.append(ut::kSectionHeadingEnd);
    AppendUsers(page, start, list, users, users.OfMember(member), scratch);
    page.append(ut::kSectionEnd);
  };
  // Anchors are numbered by kind and exact name, as on the class page.
  names.Clear();
  const auto occurrence = [&](MemberKind kind, std::string_view member) {
    return names.Count(static_cast<uint8_t>(kind), {}, member);
  };
  for (const model::Enumeration& e : model.enums)
    section(MemberKind::kEnumeration, e.name, occurrence(MemberKind::kEnumeration, e.name));
  for (const model::Structure& st : model.structs)
    section(MemberKind::kStructure, st.name, occurrence(MemberKind::kStructure, st.name));
  page.append(ut::kEnd);
}

void AppendUsedByLine(std::string& page, const CUsers& users, size_t i) {
  page.append(ut::kClassPageOpen);
  anchors::AppendUsePageName(page, i);
  page.append(ut::kClassPageMiddle);
  page.append(ut::kUsedBy);
  AppendCounts(page, users, users.OfClass(i));
  page.append(ut::kClassPageEnd);
}

void AppendMemberUsersLink(std::string& page, const CUsers& users, size_t i, MemberKind kind,
                           std::string_view name, size_t occurrence) {
  page.append(ut::kMemberLinkOpen);
  anchors::AppendUsePageName(page, i);
  page.push_back('#');
  anchors::AppendMemberAnchor(page, kind, name, occurrence);
  page.append(ut::kClassPageMiddle);
  page.append(ut::kUsedBy);
  AppendCounts(page, users, users.OfMember(name));
  page.append(ut::kMemberLinkEnd);
}
