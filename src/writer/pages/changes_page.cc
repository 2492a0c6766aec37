#include "writer/pages/changes_page.h"

#include <algorithm>
#include <numeric>

#include "model/names.h"
#include "platform/output_file.h"
#include "writer/common/anchors.h"
#include "writer/common/html_escape.h"
#include "writer/common/page_links.h"
#include "writer/pages/changes_templates.h"

namespace ct = changes_templates;

namespace {

using model::Change;
using model::DeclarationKind;

// "1 class", "2 classes".
void AppendCount(std::string& out, size_t n, const char* what, const char* one, const char* many) {
  out.append(std::to_string(n));
  out.append(what);
  out.append(n == 1 ? one : many);
}

// The class a change belongs to: its path up to the first dot.
std::string_view ClassOf(const Change& c) {
  const std::string_view path = c.path;
  return path.substr(0, path.find('.'));
}

// Appends the link target of a change on its new record page; false when it
// has none (removed).
bool AppendTarget(std::string& out, const Change& c) {
  if (c.record == Change::kNoRecord) return false;
  AppendNumber(out, c.record, kRecordNumberWidth);
  out.append(".html");
  if (c.member.empty()) return true;
  anchors::MemberKind kind = anchors::MemberKind::kFunction;
  switch (c.kind) {
    case DeclarationKind::kConstant:
      kind = anchors::MemberKind::kConstant;
      break;
    case DeclarationKind::kEnum:
      kind = anchors::MemberKind::kEnumeration;
      break;
    case DeclarationKind::kStruct:
      kind = anchors::MemberKind::kStructure;
      break;
    case DeclarationKind::kVariable:
      kind = anchors::MemberKind::kVariable;
      break;
    case DeclarationKind::kFunction:
      break;
    default:
      return true;  // the record's page itself
  }
  out.push_back('#');
  anchors::AppendMemberAnchor(out, kind, c.member);
  return true;
}

void AppendRow(std::string& page, const Change& c, bool anchors) {
  page.append(ct::kRowOpen);
  page.append(model::ChangeKindName(c.change));
  page.append(ct::kRowKind);
  page.append(model::ChangeKindName(c.change));
  page.append(ct::kCell);
  page.append(model::DeclarationKindName(c.kind));
  page.append(ct::kCell);
  std::string target;
  const bool linked = anchors && AppendTarget(target, c);
  if (linked) {
    page.append(ct::kLinkOpen);
    AppendEscaped(page, target);
    page.append(ct::kLinkEnd);
  }
  AppendEscaped(page, c.path);
  if (linked) page.append(ct::kLinkClose);
  page.append(ct::kCodeCell);
  AppendEscaped(page, c.before);
  page.append(ct::kCodeCellAfter);
  AppendEscaped(page, c.after);
  page.append(ct::kRowEnd);
}

}  // namespace

void AppendChangeCounts(std::string& out, const model::ChangeCounts& counts) {
  AppendCount(out, counts.classesAdded, " class", "", "es");
  out.append(" added, ");
  out.append(std::to_string(counts.classesRemoved));
  out.append(" removed, ");
  AppendCount(out, counts.membersChanged, " member", "", "s");
  out.append(" changed, ");
  out.append(std::to_string(counts.membersAdded));
  out.append(" added, ");
  out.append(std::to_string(counts.membersRemoved));
  out.append(" removed");
}

void WriteChangesPage(platform::COutputFile& file, std::string_view before,
                      const std::vector<model::Change>& changes, const model::ChangeCounts& counts,
                      bool anchors) {
  std::string page(ct::kOpen);
  AppendEscaped(page, before);
  page.append(ct::kCountsOpen);
  AppendChangeCounts(page, counts);
  page.append(".");
  page.append(ct::kCountsEnd);
  if (changes.empty()) page.append(ct::kNone);
  // By package, the changes without one last, then by class, each class's
  // changes in their order.
  std::vector<std::string> packages(changes.size()), classes(changes.size());
  for (size_t i = 0; i < changes.size(); ++i) {
    packages[i] = FoldCase(changes[i].package);
    classes[i] = FoldCase(ClassOf(changes[i]));
  }
  std::vector<size_t> order(changes.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    if (packages[a] != packages[b]) {
      if (packages[a].empty() || packages[b].empty()) return packages[b].empty();
      return packages[a] < packages[b];
    }
    return classes[a] < classes[b];
  });
  for (size_t k = 0; k < order.size(); ++k) {
    const size_t i = order[k];
    const bool newPackage = k == 0 || packages[i] != packages[order[k - 1]];
    const bool newClass = newPackage || classes[i] != classes[order[k - 1]];
    if (newClass && k > 0) page.append(ct::kTableEnd);
    if (newPackage) {
      page.append(ct::kPackageOpen);
      if (changes[i].package.empty()) {
        page.append(ct::kNoPackage);
      } else {
        AppendEscaped(page, changes[i].package);
      }
      page.append(ct::kPackageEnd);
    }
    if (newClass) {
      page.append(ct::kClassOpen);
      AppendEscaped(page, ClassOf(changes[i]));
      page.append(ct::kClassEnd);
    }
    AppendRow(page, changes[i], anchors);
    if (page.size() >= (size_t{1} << 20)) {
      file.Write(page);
      page.clear();
    }
  }
  if (!order.empty()) page.append(ct::kTableEnd);
  page.append(ct::kEnd);
  file.Write(page);
}
