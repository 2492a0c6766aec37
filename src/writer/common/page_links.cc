#include "writer/common/page_links.h"

#include <algorithm>
#include <vector>

#include "model/class_list.h"
#include "platform/thread_scratch.h"
#include "writer/common/anchors.h"
#include "writer/common/html_escape.h"
#include "writer/common/link_templates.h"
#include "writer/common/navigation_templates.h"
#include "writer/common/tree_index.h"

namespace nt = navigation_templates;

void AppendPageName(std::string& out, size_t record) {
  AppendNumber(out, record, kRecordNumberWidth);
  out.append(link_templates::kPageExtension);
}

void AppendSourceLink(std::string& out, size_t classRecord, uint32_t line) {
  anchors::AppendSourcePageName(out, classRecord);
  if (line == 0) return;
  out.push_back('#');
  anchors::AppendLineAnchor(out, line);
}

void AppendClassPageHead(std::string& page, const char* open, const char* head,
                         const char* headingEnd, const char* linkEnd, std::string_view name,
                         size_t record) {
  page.append(open);
  AppendEscaped(page, name);
  page.append(head);
  AppendEscaped(page, name);
  page.append(headingEnd);
  AppendPageName(page, record);
  page.append(link_templates::kLinkMiddle);
  AppendEscaped(page, name);
  page.append(linkEnd);
}

void AppendLink(std::string& page, const CClassList& list, size_t i) {
  page.append(nt::kPageLink);
  AppendNumber(page, i, kRecordNumberWidth);
  page.append(nt::kPageLinkMiddle);
  AppendEscaped(page, list.At(i).name());
  page.append(nt::kPageLinkEnd);
}

void AppendLinks(std::string& page, const char* opening, const CClassList& list,
                 const std::vector<size_t>& numbers, const char* separator) {
  page.append(opening);
  if (numbers.empty()) page.append(nt::kPageNone);
  for (size_t k = 0; k < numbers.size(); ++k) {
    if (k > 0) page.append(separator);
    AppendLink(page, list, numbers[k]);
  }
  page.append(nt::kPageLineEnd);
}

void AppendNeighbours(std::string& page, const CClassList& list, const TreeIndex& tree, size_t i) {
  const CClassRecord& record = list.At(i);
  const bool state = record.isState != 0;
  // From the root down to the parent: for a state, its class is the last.
  // The lists are kept from page to page, so their room is reused; each
  // writing thread has its own.
  struct Lists {
    std::vector<size_t> way, subclasses, states;
  };
  Lists& lists = platform::ThreadScratch<Lists>();
  std::vector<size_t>& way = lists.way;
  way.clear();
  for (const CClassRecord* p = record.parent; p; p = p->parent) way.push_back(list.PositionOf(*p));
  std::reverse(way.begin(), way.end());
  AppendLinks(page, state ? nt::kPageChainOfState : nt::kPageChainOfClass, list, way,
              nt::kPageChainStep);
  if (state) return;
  std::vector<size_t>& subclasses = lists.subclasses;
  std::vector<size_t>& states = lists.states;
  subclasses.clear();
  states.clear();
  for (size_t k = tree.first_child[i]; k < tree.first_child[i + 1]; ++k) {
    size_t c = tree.child[k];
    (list.At(c).isState == 0 ? subclasses : states).push_back(c);
  }
  AppendLinks(page, nt::kPageSubclasses, list, subclasses, nt::kPageListSeparator);
  AppendLinks(page, nt::kPageStates, list, states, nt::kPageListSeparator);
}

void AppendIndexLink(std::string& page, size_t i) {
  page.append(nt::kPageBack);
  AppendNumber(page, i, kRecordNumberWidth);
  page.append(nt::kPageBackEnd);
}
