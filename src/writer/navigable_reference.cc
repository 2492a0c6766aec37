#include "writer/navigable_reference.h"

#include <algorithm>
#include <string>
#include <vector>

#include "model/class_list.h"
#include "platform/console.h"
#include "platform/directory.h"
#include "platform/path.h"
#include "writer/anchors.h"
#include "writer/assets.h"
#include "writer/html_escape.h"
#include "writer/navigation_templates.h"
#include "writer/page_builder.h"
#include "writer/page_writer.h"
#include "writer/record_page.h"
#include "writer/script_text.h"
#include "writer/source_page.h"
#include "writer/source_templates.h"
#include "writer/templates.h"
#include "writer/tree_index.h"

namespace nt = navigation_templates;

namespace {

// Appends `n` in decimal, at least `width` digits long (zero-padded): a
// record number is written as "%05ld" would, without a call to format it.
void AppendNumber(std::string& out, size_t n, size_t width = 1) {
  char digits[24];
  size_t length = 0;
  do {
    digits[length++] = static_cast<char>('0' + n % 10);
    n /= 10;
  } while (n != 0);
  while (length < width) digits[length++] = '0';
  while (length > 0) out.push_back(digits[--length]);
}

constexpr size_t kRecordNumberWidth = 5;

// The index page: fixed head and style, the records' data, fixed script. The
// data is put together in one text and written at once.
void WriteIndex(platform::COutputFile& index, const CClassList& list,
                const std::vector<bool>& reachable) {
  const size_t count = list.Count();
  std::string data;
  data.reserve(count * 32);
  data.append(nt::kKindsOpen);
  for (size_t i = 0; i < count; ++i) {
    char kind = list.At(i).isState == 0 ? nt::kKindClass : nt::kKindState;
    data.push_back(reachable[i] ? kind : nt::kKindOutside);
  }
  data.append(nt::kParentsOpen);
  for (size_t i = 0; i < count; ++i) {
    const CClassRecord* parent = list.At(i).parent;
    if (reachable[i] && parent) AppendNumber(data, list.PositionOf(*parent));
    data.append(nt::kNumberEnd);
  }
  data.append(nt::kCountsOpen);
  for (size_t i = 0; i < count; ++i) {
    const CClassRecord& record = list.At(i);
    for (size_t n : record.counts()) {
      AppendNumber(data, n);
      data.append(nt::kNumberEnd);
    }
  }
  data.append(nt::kNamesOpen);
  for (size_t i = 0; i < count; ++i) {
    // Records outside the tree are shown nowhere, so their names stay out.
    if (reachable[i]) AppendScriptString(data, list.At(i).name());
    data.append(nt::kNameEnd);
  }
  data.append(nt::kDataEnd);

  index.Write(nt::kIndexOpen);
  index.Write(assets::kIndexStyle);
  index.Write(nt::kIndexBody);
  index.Write(data);
  index.Write(nt::kScriptOpen);
  index.Write(assets::kIndexScript);
  index.Write(nt::kIndexEnd);
}

void AppendLink(std::string& page, const CClassList& list, size_t i) {
  page.append(nt::kPageLink);
  AppendNumber(page, i, kRecordNumberWidth);
  page.append(nt::kPageLinkMiddle);
  AppendEscaped(page, list.At(i).name());
  page.append(nt::kPageLinkEnd);
}

// One line of links to the records `numbers`, or "none".
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

void AppendLinkedPage(std::string& page, const CClassList& list, const TreeIndex& tree, size_t i,
                      bool sourcePage) {
  const CClassRecord& record = list.At(i);
  const bool state = record.isState != 0;
  page.append(nt::kPageOpen);
  AppendEscaped(page, record.name());
  page.append(nt::kPageHead);
  page.append(state ? nt::kPageHeadingOfState : nt::kPageHeadingOfClass);
  AppendEscaped(page, record.name());
  page.append(nt::kPageHeadingEnd);

  // From the root down to the parent: for a state, its class is the last.
  // The lists are kept from page to page, so their room is reused; each
  // writing thread has its own.
  thread_local std::vector<size_t> way;
  way.clear();
  for (const CClassRecord* p = record.parent; p; p = p->parent) way.push_back(list.PositionOf(*p));
  std::reverse(way.begin(), way.end());
  AppendLinks(page, state ? nt::kPageChainOfState : nt::kPageChainOfClass, list, way,
              nt::kPageChainStep);
  if (!state) {
    thread_local std::vector<size_t> subclasses;
    thread_local std::vector<size_t> states;
    subclasses.clear();
    states.clear();
    for (size_t k = tree.first_child[i]; k < tree.first_child[i + 1]; ++k) {
      size_t c = tree.child[k];
      (list.At(c).isState == 0 ? subclasses : states).push_back(c);
    }
    AppendLinks(page, nt::kPageSubclasses, list, subclasses, nt::kPageListSeparator);
    AppendLinks(page, nt::kPageStates, list, states, nt::kPageListSeparator);
  }
  if (sourcePage) {
    page.append(nt::kPageScriptLink);
    anchors::AppendSourcePageName(page, i);
    page.append(nt::kPageScriptLinkMiddle);
    AppendEscaped(page, record.scriptPath());
    page.append(nt::kPageScriptLinkEnd);
  } else {
    page.append(nt::kPageScript);
    AppendEscaped(page, record.scriptPath());
    page.append(nt::kPageScriptEnd);
  }
  page.append(nt::kPageBack);
  AppendNumber(page, i, kRecordNumberWidth);
  page.append(nt::kPageBackEnd);
  AppendDeclarations(page, record);
}

// The linked record pages, as the page writer builds them: a page for each
// record reachable from the roots, in record order. With source pages, each
// class's source page follows its record page, its script read again from
// `sourceDir` (null when that cannot be opened): record i has slot 2i, its
// source page 2i + 1.
class CNavigablePages final : public CPageBuilder {
 public:
  CNavigablePages(const CClassList& list, const TreeIndex& tree, const std::vector<bool>& reachable,
                  bool sourcePages, const platform::CDirectory* sourceDir)
      : list_(list),
        tree_(tree),
        reachable_(reachable),
        source_pages_(sourcePages),
        source_dir_(sourceDir) {}

  size_t SlotCount() const override { return list_.Count() * 2; }

  void VisitPages(CVisitor& visitor) const override {
    for (size_t i = 0; i < list_.Count(); ++i) {
      if (!reachable_[i]) continue;
      visitor.Visit(2 * i);
      if (HasSource(i)) visitor.Visit(2 * i + 1);
    }
  }

  bool AppendPage(size_t slot, std::string& page) const override {
    const size_t i = slot / 2;
    if (slot % 2 == 1) return AppendSourcePage(page, list_, i, source_dir_);
    AppendLinkedPage(page, list_, tree_, i, HasSource(i));
    return true;
  }

  void AppendPath(size_t slot, std::string& path) const override {
    path.append(list_.destDir);
    path.push_back(platform::kPathSeparator);
    if (slot % 2 == 1) {
      anchors::AppendSourcePageName(path, slot / 2);
      return;
    }
    AppendNumber(path, slot / 2, kRecordNumberWidth);
    path.append(nt::kPageFileExtension);
  }

  size_t PathRoom() const override { return list_.destDir.size() + 1 + kPageNameRoom; }

  // A source page whose script could not be read again says so; the script
  // is reported as one that could not be read.
  void ReportIncomplete(size_t slot) const override {
    const std::string script = platform::JoinPath(list_.sourceDir, list_.At(slot / 2).scriptPath());
    console::Problem(templates::kUnableToRead, script.c_str());
  }

 private:
  // Room for a page's file name.
  static constexpr size_t kPageNameRoom = 32;

  bool HasSource(size_t i) const { return source_pages_ && HasSourcePage(list_.At(i)); }

  const CClassList& list_;
  const TreeIndex& tree_;
  const std::vector<bool>& reachable_;
  const bool source_pages_;
  const platform::CDirectory* const source_dir_;
};

}  // namespace

void WriteNavigableReference(platform::COutputFile& index, const CClassList& list,
                             bool sourcePages) {
  const TreeIndex tree = BuildTreeIndex(list, nullptr);
  const std::vector<bool> reachable = ReachableRecords(tree);
  // The source pages read their scripts below SourceDir, opened once for
  // both threads, and share one style, written first.
  platform::CDirectory source_dir;
  bool source_dir_open = false;
  if (sourcePages) {
    source_dir_open = source_dir.Open(nullptr, list.sourceDir) == platform::OpenStatus::kOk;
    const std::string style_path =
        platform::JoinPath(list.destDir, source_templates::kSourceStyleName);
    ReportPage(style_path, WritePageText(style_path, assets::kSourceStyle));
  }
  // The pages are written beside the index.
  const CNavigablePages pages(list, tree, reachable, sourcePages,
                              source_dir_open ? &source_dir : nullptr);
  CPageWriter writer(pages);
  writer.Start();
  WriteIndex(index, list, reachable);
  writer.Finish();
}
