#include "writer/pages/refs_page.h"

#include "model/class_list.h"
#include "writer/common/anchors.h"
#include "writer/common/html_escape.h"
#include "writer/common/page_links.h"
#include "writer/common/part_links.h"
#include "writer/links/source_links.h"
#include "writer/pages/refs_templates.h"
#include "writer/pages/rich_templates.h"

namespace ft = refs_templates;
namespace rt = rich_templates;

namespace {

using Reference = CReferences::Reference;

// The record's name as its pages give it: "Creature", "Creature.Idle".
void AppendRecordName(std::string& out, const CClassRecord& record) {
  if (record.isState && record.parent) {
    AppendEscaped(out, record.parent->name());
    out.append(rt::kMemberOfRecord);
  }
  AppendEscaped(out, record.name());
}

// The anchor of the thing a section lists the references to; none for the
// record itself.
bool AppendAnchor(std::string& out, const CReferences& refs, const Reference& ref) {
  if (ref.kind == SourceLink::kClassItself) return false;
  anchors::AppendMemberAnchor(out, static_cast<anchors::MemberKind>(ref.kind), refs.NameOf(ref));
  return true;
}

// "3 places in 2 classes".
void AppendCounts(std::string& out, const CReferences::Section& section) {
  const size_t places = section.end - section.first;
  out.append(ft::kReferencedFrom);
  AppendNumber(out, places);
  out.append(ft::kPlace);
  if (places != 1) out.append(ft::kPluralOfPlace);
  out.append(ft::kIn);
  AppendNumber(out, section.classes);
  out.append(ft::kClass);
  if (section.classes != 1) out.append(ft::kPluralOfClass);
}

void AppendSectionHead(std::string& page, const CClassList& list, const CReferences& refs,
                       size_t record, const Reference& ref, const CReferences::Section& section,
                       bool continued) {
  // The record's own section is the page's first: its top is its anchor.
  if (continued || ref.kind == SourceLink::kClassItself) {
    page.append(ft::kSectionOpen);
  } else {
    page.append(ft::kSectionOpenAt);
    AppendAnchor(page, refs, ref);
    page.append(ft::kSectionAnchorEnd);
  }
  page.append(ft::kSectionHeading);
  AppendPageName(page, record);
  std::string anchor;
  if (AppendAnchor(anchor, refs, ref)) {
    page.push_back('#');
    page.append(anchor);
  }
  page.append(rt::kLinkMiddle);
  AppendRecordName(page, list.At(record));
  if (const std::string_view name = refs.NameOf(ref); !name.empty()) {
    page.append(rt::kMemberOfRecord);
    AppendEscaped(page, name);
  }
  page.append(ft::kSectionHeadingEnd);
  if (continued) page.append(ft::kContinued);
  page.append(ft::kCountsOpen);
  AppendCounts(page, section);
  page.append(ft::kCountsEnd);
}

// The class, state and function a group of references stands in.
void AppendGroup(std::string& page, const CClassList& list, const CReferences& refs,
                 const Reference& ref) {
  const CReferences::Line& line = refs.LineOf(ref);
  page.append(ft::kGroupOpen);
  AppendPageName(page, line.source);
  page.append(rt::kLinkMiddle);
  AppendEscaped(page, list.At(line.source).name());
  page.append(rt::kLinkEnd);
  const std::string_view state = refs.StateOf(line);
  const std::string_view function = refs.FunctionOf(line);
  if (!state.empty()) {
    page.append(ft::kGroupState);
    AppendEscaped(page, state);
  }
  if (!function.empty()) {
    page.append(state.empty() ? ft::kGroupFunction : ft::kGroupStateFunction);
    AppendEscaped(page, function);
  }
  page.append(ft::kGroupEnd);
}

void AppendEntry(std::string& page, const CReferences& refs, const Reference& ref) {
  const CReferences::Line& line = refs.LineOf(ref);
  page.append(ft::kEntryOpen);
  AppendSourceLink(page, line.source, line.line);
  page.append(rt::kLinkMiddle);
  AppendNumber(page, line.line);
  page.append(ft::kEntryNumberEnd);
  AppendEscaped(page, refs.Text(line.text, line.textSize));
  page.append(ft::kEntryEnd);
}

}  // namespace

void AppendRefsPageName(std::string& out, size_t record, size_t part) {
  AppendPartPageName(out, ft::kPageName, record, part);
}

void AppendRefsPage(std::string& page, const CClassList& list, const CReferences& refs,
                    size_t record, size_t part) {
  const CClassRecord& r = list.At(record);
  const size_t parts = refs.FirstPart(record + 1) - refs.FirstPart(record);
  const size_t global = refs.FirstPart(record) + part;
  page.append(ft::kOpen);
  page.append(r.isState ? ft::kStateWord : ft::kClassWord);
  AppendRecordName(page, r);
  page.append(ft::kHead);
  page.append(r.isState ? ft::kStateWord : ft::kClassWord);
  AppendRecordName(page, r);
  page.append(ft::kHeadingEnd);
  page.append(r.isState ? ft::kStateLink : ft::kClassLink);
  AppendPageName(page, record);
  page.append(rt::kLinkMiddle);
  AppendRecordName(page, r);
  page.append(ft::kRecordLinkEnd);
  AppendPartLine(page, ft::kPageName, record, part, parts);
  page.append(ft::kHeaderEnd);

  const size_t end = refs.PartStart(global + 1);
  size_t section = refs.FirstSection(record);
  for (size_t k = refs.PartStart(global); k < end; ++k) {
    while (refs.SectionAt(section).end <= k) ++section;
    const CReferences::Section& s = refs.SectionAt(section);
    const Reference& ref = refs.refs()[k];
    const bool part_start = k == refs.PartStart(global);
    const bool first = k == s.first;
    if (first || part_start) {
      if (!part_start) {
        page.append(ft::kListEnd);
        page.append(ft::kSectionEnd);
      }
      AppendSectionHead(page, list, refs, record, ref, s, !first);
    }
    const bool new_list = first || part_start || (ref.super && !refs.refs()[k - 1].super);
    if (new_list) {
      if (!first && !part_start) page.append(ft::kListEnd);
      if (ref.super) page.append(ft::kSuperHeading);
      page.append(ft::kListOpen);
    }
    if (new_list || !refs.SameGroup(refs.refs()[k - 1], ref)) AppendGroup(page, list, refs, ref);
    AppendEntry(page, refs, ref);
  }
  if (end > refs.PartStart(global)) {
    page.append(ft::kListEnd);
    page.append(ft::kSectionEnd);
  }
  page.append(ft::kEnd);
}

void AppendReferencedLine(std::string& page, const CReferences& refs, size_t record, uint8_t kind,
                          std::string_view name) {
  const CReferences::Section* section = refs.Find(record, kind, name);
  if (!section) return;
  page.append(ft::kLineOpen);
  AppendRefsPageName(page, record, section->part);
  if (kind != SourceLink::kClassItself) {
    page.push_back('#');
    anchors::AppendMemberAnchor(page, static_cast<anchors::MemberKind>(kind), name);
  }
  page.append(ft::kLineMiddle);
  AppendCounts(page, *section);
  page.append(ft::kLineEnd);
}
