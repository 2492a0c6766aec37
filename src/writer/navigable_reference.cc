#include "writer/navigable_reference.h"

#include <algorithm>
#include <atomic>
#include <iterator>
#include <new>
#include <string>
#include <vector>

#include "model/class_list.h"
#include "platform/path.h"
#include "platform/worker.h"
#include "writer/assets.h"
#include "writer/html_escape.h"
#include "writer/navigation_templates.h"
#include "writer/record_page.h"
#include "writer/script_text.h"
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
                const std::vector<bool>& reachable, bool members) {
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
  index.Write(members ? nt::kSearchOfMembers : nt::kSearchOfRecords);
  index.Write(nt::kIndexControls);
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

void AppendPage(std::string& page, const CClassList& list, const TreeIndex& tree, size_t i) {
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
  page.append(nt::kPageScript);
  AppendEscaped(page, record.scriptPath());
  page.append(nt::kPageScriptEnd);
  page.append(nt::kPageBack);
  AppendNumber(page, i, kRecordNumberWidth);
  page.append(nt::kPageBackEnd);
  AppendDeclarations(page, record);
}

// The record pages, written by two threads: each claims runs of record
// numbers in turn, and the pages that could not be written are reported once
// all are done, in record order, as one thread writing them would have.
class CNavigablePages {
 public:
  CNavigablePages(const CClassList& list, const TreeIndex& tree, const std::vector<bool>& reachable)
      : list_(list), tree_(tree), reachable_(reachable) {}

  /// Starts writing pages on a second thread, if one can be had.
  void Start() {
    auto task = [](void* self) {
      CNavigablePages* pages = static_cast<CNavigablePages*>(self);
      pages->WriteClaimed(pages->problems_[1]);
    };
    started_ = worker_.Start(task, this);
  }

  /// Writes pages on this thread too until none are left, waits for the
  /// second thread, and reports the pages that could not be written.
  void Finish() {
    WriteClaimed(problems_[0]);
    if (started_) worker_.Join();
    std::vector<Problem> problems;
    std::merge(problems_[0].begin(), problems_[0].end(), problems_[1].begin(), problems_[1].end(),
               std::back_inserter(problems),
               [](const Problem& a, const Problem& b) { return a.record < b.record; });
    for (const Problem& problem : problems) ReportPage(PagePath(problem.record), problem.status);
  }

 private:
  struct Problem {
    size_t record;
    // Read where the problems are reported; the checker misses that use.
    // cppcheck-suppress unusedStructMember
    PageStatus status;
  };

  // Pages are claimed this many at a time.
  static constexpr size_t kRunLength = 64;

  std::string PagePath(size_t i) const {
    std::string path = platform::JoinPath(list_.destDir, "");
    AppendNumber(path, i, kRecordNumberWidth);
    path.append(nt::kPageFileExtension);
    return path;
  }

  void WriteClaimed(std::vector<Problem>& problems) {
    const size_t count = list_.Count();
    std::string page;
    for (;;) {
      const size_t start = next_run_.fetch_add(1, std::memory_order_relaxed) * kRunLength;
      if (start >= count) break;
      for (size_t i = start; i < std::min(start + kRunLength, count); ++i) {
        if (!reachable_[i]) continue;
        PageStatus status = PageStatus::kCannotWrite;
        // Memory for the page running out is a page that could not be
        // written, on whichever thread it happens.
        try {
          page.clear();
          AppendPage(page, list_, tree_, i);
          status = WritePageText(PagePath(i), page);
        } catch (const std::bad_alloc&) {
          page = std::string();
        }
        if (status != PageStatus::kWritten) problems.push_back({i, status});
      }
    }
  }

  const CClassList& list_;
  const TreeIndex& tree_;
  const std::vector<bool>& reachable_;
  std::atomic<size_t> next_run_{0};
  bool started_ = false;
  std::vector<Problem> problems_[2];  // [0] this thread's, [1] the second's
  // Declared last, so that it is destroyed first: leaving early waits for the
  // second thread before what it uses goes.
  platform::CWorker worker_;
};

}  // namespace

void WriteNavigableReference(platform::COutputFile& index, const CClassList& list, bool members) {
  const TreeIndex tree = BuildTreeIndex(list, nullptr);
  const std::vector<bool> reachable = ReachableRecords(tree);
  // The pages are written beside the index.
  CNavigablePages pages(list, tree, reachable);
  pages.Start();
  WriteIndex(index, list, reachable, members);
  pages.Finish();
}
