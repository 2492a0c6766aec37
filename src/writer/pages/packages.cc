#include "writer/pages/packages.h"

#include <algorithm>
#include <map>

#include "model/class_list.h"
#include "model/names.h"
#include "model/package_name.h"
#include "platform/output_file.h"
#include "platform/path.h"
#include "writer/common/anchors.h"
#include "writer/common/file_path_text.h"
#include "writer/common/html_escape.h"
#include "writer/common/page_links.h"
#include "writer/common/tree_index.h"
#include "writer/pages/packages_templates.h"
#include "writer/pages/rich_templates.h"

namespace pt = packages_templates;
namespace rt = rich_templates;

namespace {

void AppendCount(std::string& out, size_t n, const char* one, const char* many) {
  out.append(std::to_string(n));
  out.append(n == 1 ? one : many);
}

}  // namespace

PackageList CollectPackages(const CClassList& list, const std::vector<bool>& reachable) {
  PackageList result;
  // Packages by folded name; the scripts without one under the empty name,
  // which is put last below.
  std::map<std::string, PackageList::Package> byName;
  std::vector<const std::string*> keys(list.Count(), nullptr);
  for (size_t i = 0; i < list.Count(); ++i) {
    if (!reachable[i]) continue;
    const CClassRecord& record = list.At(i);
    const std::string path = record.scriptPath();
    const std::string_view name = PackageOf(path, platform::kPathSeparator);
    auto [at, made] = byName.try_emplace(FoldCase(name));
    if (made) at->second.name = std::string(name);
    if (record.isState != 0) {
      ++at->second.states;
    } else {
      at->second.classes.push_back(static_cast<uint32_t>(i));
    }
    keys[i] = &at->first;
  }
  std::map<const std::string*, uint32_t> positions;
  for (auto& [key, package] : byName) {
    if (key.empty()) continue;
    positions[&key] = static_cast<uint32_t>(result.packages.size());
    result.packages.push_back(std::move(package));
  }
  if (auto none = byName.find(std::string()); none != byName.end()) {
    positions[&none->first] = static_cast<uint32_t>(result.packages.size());
    result.packages.push_back(std::move(none->second));
  }
  result.ofRecord.reserve(list.Count());
  for (const std::string* key : keys)
    result.ofRecord.push_back(key ? positions[key] : PackageList::kOutside);
  return result;
}

void AppendPackageLink(std::string& out, std::string_view name) {
  out.append(rt::kLinkOpen);
  out.append(anchors::kPackagesPageName);
  out.push_back('#');
  anchors::AppendPackageAnchor(out, name);
  out.append(rt::kLinkMiddle);
  AppendPathText(out, name);
  out.append(rt::kLinkEnd);
}

void AppendPackageOfRecord(std::string& page, std::string_view name) {
  if (name.empty()) return;
  page.append(pt::kPackageOfRecord);
  AppendPackageLink(page, name);
  page.append(pt::kPackageOfRecordEnd);
}

void WritePackagesPage(platform::COutputFile& out, const CClassList& list) {
  const PackageList packages =
      CollectPackages(list, ReachableRecords(BuildTreeIndex(list, nullptr)));
  out.Write(pt::kOpen);
  std::string section;
  for (const PackageList::Package& package : packages.packages) {
    section.assign(pt::kSectionOpen);
    anchors::AppendPackageAnchor(section, package.name);
    section.append(pt::kHeadingOpen);
    if (package.name.empty()) {
      section.append(pt::kNoPackage);
    } else {
      AppendPathText(section, package.name);
    }
    section.append(pt::kHeadingEnd);
    AppendCount(section, package.classes.size(), pt::kClass, pt::kClasses);
    section.append(pt::kCountSeparator);
    AppendCount(section, package.states, pt::kState, pt::kStates);
    section.append(pt::kCountsEnd);
    bool first = true;
    for (uint32_t c : package.classes) {
      if (!first) section.append(rt::kSeparator);
      first = false;
      section.append(rt::kLinkOpen);
      AppendNumber(section, c, kRecordNumberWidth);
      section.append(rt::kPageExtension);
      section.append(rt::kLinkMiddle);
      AppendEscaped(section, list.At(c).name());
      section.append(rt::kLinkEnd);
    }
    section.append(pt::kSectionEnd);
    out.Write(section);
  }
  out.Write(pt::kEnd);
}
