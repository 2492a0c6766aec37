#include "writer/pages/over_page.h"

#include <algorithm>

#include "model/class_list.h"
#include "model/names.h"
#include "writer/common/anchors.h"
#include "writer/common/html_escape.h"
#include "writer/common/page_links.h"
#include "writer/common/part_links.h"
#include "writer/pages/over_templates.h"
#include "writer/pages/rich_templates.h"

namespace ot = over_templates;
namespace rt = rich_templates;

namespace {

using anchors::MemberKind;

// The link's target and text of function `name` of `record` as a section
// of the page, and its count.
void AppendSectionHead(std::string& page, size_t record, std::string_view className,
                       const COverriders::Section& section, bool continued) {
  page.append(ot::kSectionOpen);
  anchors::AppendMemberAnchor(page, MemberKind::kFunction, section.name, section.occurrence);
  page.append(ot::kSectionLink);
  AppendPageName(page, record);
  page.push_back('#');
  anchors::AppendMemberAnchor(page, MemberKind::kFunction, section.name, section.occurrence);
  page.append(rt::kLinkMiddle);
  AppendEscaped(page, className);
  page.append(rt::kMemberOfRecord);
  AppendEscaped(page, section.name);
  page.append(ot::kSectionCount);
  AppendNumber(page, section.count);
  page.append(ot::kSectionCountEnd);
  if (continued) page.append(ot::kContinued);
  page.append(ot::kSectionListOpen);
}

}  // namespace

void AppendOverPageName(std::string& out, size_t record, size_t part) {
  AppendPartPageName(out, ot::kPageName, record, part);
}

void AppendOverriddenIn(std::string& page, const COverriders& overriders, size_t record,
                        std::string_view name, std::span<const COverriders::Section> sections,
                        std::vector<COverriders::Declaration>& scratch) {
  const size_t count = overriders.Count(record, name);
  if (count == 0) return;
  overriders.Collect(record, name, scratch);
  page.append(ot::kLineOpen);
  const size_t shown = count > COverriders::kShown ? COverriders::kShown : count;
  // The static analysis takes kShown for 0 here and both conditions below
  // for settled; they are not.
  // cppcheck-suppress knownConditionTrueFalse
  for (size_t k = 0; k < shown && k < scratch.size(); ++k) {
    if (k > 0) page.append(rt::kSeparator);
    AppendOverrider(page, overriders.list(), scratch[k]);
  }
  // cppcheck-suppress knownConditionTrueFalse
  if (shown < count) {
    // The whole list is a section of the page of overriders, found by the
    // position of the function's first declaration.
    const uint32_t function = overriders.FirstFunction(record, name);
    const auto section =
        std::lower_bound(sections.begin(), sections.end(), function,
                         [](const COverriders::Section& s, uint32_t f) { return s.function < f; });
    if (section != sections.end() && section->function == function) {
      page.append(rt::kSeparator);
      page.append(rt::kLinkOpen);
      AppendOverPageName(page, record, section->part);
      page.push_back('#');
      anchors::AppendMemberAnchor(page, MemberKind::kFunction, section->name, section->occurrence);
      page.append(ot::kMoreMiddle);
      AppendNumber(page, count - shown);
      page.append(ot::kMoreEnd);
    }
  }
  page.append(ot::kLineEnd);
}

void AppendOverPage(std::string& page, const COverriders& overriders, size_t record, size_t part) {
  const CClassList& list = overriders.list();
  const std::string_view name = list.At(record).name();
  const size_t parts = overriders.FirstPart(record + 1) - overriders.FirstPart(record);
  AppendClassPageHead(page, ot::kOpen, ot::kHead, ot::kHeadingEnd, ot::kClassLinkEnd, name, record);
  AppendPartLine(page, ot::kPageName, record, part, parts);
  page.append(ot::kHeaderEnd);

  std::vector<COverriders::Section> sections;
  overriders.Sections(record, sections);
  std::vector<COverriders::Declaration> list_of;
  for (const COverriders::Section& section : sections) {
    // The entries of this section that stand in this part.
    size_t first = 0;
    size_t end = section.count;
    if (section.chunk == 0) {
      if (section.part != part) continue;
    } else {
      const size_t pieces = (section.count + section.chunk - 1) / section.chunk;
      if (part < section.part || part >= section.part + pieces) continue;
      first = (part - section.part) * section.chunk;
      end = first + section.chunk < section.count ? first + section.chunk : section.count;
    }
    overriders.Collect(record, section.name, list_of);
    AppendSectionHead(page, record, name, section, first > 0);
    for (size_t k = first; k < end && k < list_of.size(); ++k) {
      if (k > first) page.append(rt::kSeparator);
      AppendOverrider(page, list, list_of[k]);
    }
    page.append(ot::kSectionEnd);
  }
  page.append(ot::kEnd);
}
