#include "writer/page_writers.h"

#include <algorithm>
#include <iterator>

#include "platform/console.h"
#include "platform/path.h"
#include "writer/record_page.h"
#include "writer/templates.h"
#include "writer/tree_walk.h"
#include "writer/write_line.h"

namespace {
// Pages are claimed this many at a time: few enough claims, and runs short
// enough that both threads finish close together.
constexpr size_t kRunLength = 64;

std::string PagePath(const std::string& destDir, uint32_t record) {
  std::string page_name;
  AppendFormat(page_name, templates::kPageFileName, static_cast<long>(record));
  return platform::JoinPath(destDir, page_name);
}
}  // namespace

void CPageWriters::WriteClaimed(std::vector<Problem>& problems) {
  size_t order = 0;
  size_t run_end = 0;
  size_t run_start = 0;
  WalkTree(
      list_, first_child_, top_, [](uint32_t) {},
      [&](uint32_t i) {
        if (order >= run_end) {
          const size_t run = next_run_.fetch_add(1, std::memory_order_relaxed);
          run_start = run * kRunLength;
          run_end = run_start + kRunLength;
        }
        if (order >= run_start) {
          const PageStatus status = list_.At(i).WritePage(PagePath(destDir_, i));
          if (status != PageStatus::kWritten) problems.push_back({order, i, status});
        }
        ++order;
      });
}

void CPageWriters::Start() {
  auto task = [](void* self) {
    CPageWriters* writers = static_cast<CPageWriters*>(self);
    writers->WriteClaimed(writers->problems_[1]);
  };
  started_ = worker_.Start(task, this);
}

void CPageWriters::Finish() {
  WriteClaimed(problems_[0]);
  if (started_) worker_.Join();
  std::vector<Problem> problems;
  std::merge(problems_[0].begin(), problems_[0].end(), problems_[1].begin(), problems_[1].end(),
             std::back_inserter(problems),
             [](const Problem& a, const Problem& b) { return a.order < b.order; });
  for (const Problem& problem : problems) {
    ReportPage(PagePath(destDir_, problem.record), problem.status);
  }
}
