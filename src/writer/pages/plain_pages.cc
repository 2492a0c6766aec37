#include "writer/pages/plain_pages.h"

#include "platform/path.h"
#include "writer/common/html_escape.h"
#include "writer/common/record_page.h"
#include "writer/common/templates.h"
#include "writer/common/tree_walk.h"
#include "writer/common/write_line.h"

namespace {
// Room for a page's file name.
constexpr size_t kPageNameRoom = 32;
}  // namespace

void CPlainPages::VisitPages(CVisitor& visitor) const {
  WalkTree(
      list_, first_child_, top_, [](uint32_t) {}, [&](uint32_t i) { visitor.Visit(i); });
}

bool CPlainPages::AppendPage(size_t slot, std::string& page) const {
  const CClassRecord& record = list_.At(slot);
  page.append(templates::kPageTitleOpen);
  AppendEscaped(page, record.name());
  page.append(templates::kPageTitleClose);
  AppendDeclarations(page, record);
  return true;
}

void CPlainPages::AppendPath(size_t slot, std::string& path) const {
  path.append(destDir_);
  path.push_back(platform::kPathSeparator);
  AppendFormat(path, templates::kPageFileName, static_cast<long>(slot));
}

size_t CPlainPages::PathRoom() const {
  return destDir_.size() + 1 + kPageNameRoom;
}
