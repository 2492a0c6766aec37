#include "writer/page_writers.h"

#include <new>

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
// Room for a page's file name.
constexpr size_t kPageNameRoom = 32;
}  // namespace

CPageWriters::~CPageWriters() {
  stopped_.store(true, std::memory_order_relaxed);
  worker_.Join();
}

void CPageWriters::PagePath(std::string& path, uint32_t record) const {
  path.assign(destDir_);
  path.push_back(platform::kPathSeparator);
  AppendFormat(path, templates::kPageFileName, static_cast<long>(record));
}

PageStatus CPageWriters::WritePage(uint32_t record) const {
  // Memory for the path running out is a page that could not be written.
  try {
    std::string path;
    PagePath(path, record);
    return list_.At(record).WritePage(path);
  } catch (const std::bad_alloc&) {
    return PageStatus::kCannotWrite;
  }
}

void CPageWriters::WriteClaimed() {
  size_t order = 0;
  size_t run_end = 0;
  size_t run_start = 0;
  WalkTree(
      list_, first_child_, top_, [](uint32_t) {},
      [&](uint32_t i) {
        if (order >= run_end) {
          const size_t run = next_run_.fetch_add(1, std::memory_order_relaxed);
          run_start = stopped_.load(std::memory_order_relaxed) ? SIZE_MAX : run * kRunLength;
          run_end = run_start == SIZE_MAX ? SIZE_MAX : run_start + kRunLength;
        }
        if (order >= run_start) status_[i] = WritePage(i);
        ++order;
      });
}

void CPageWriters::Start() {
  status_.assign(list_.Count(), PageStatus::kCannotWrite);
  report_path_.reserve(destDir_.size() + 1 + kPageNameRoom);
  auto task = [](void* self) { static_cast<CPageWriters*>(self)->WriteClaimed(); };
  started_ = worker_.Start(task, this);
}

void CPageWriters::Finish() {
  WriteClaimed();
  if (started_) worker_.Join();
  // In the order of writing, with room that was had beforehand.
  WalkTree(
      list_, first_child_, top_, [](uint32_t) {},
      [&](uint32_t i) {
        if (status_[i] == PageStatus::kWritten) return;
        PagePath(report_path_, i);
        ReportPage(report_path_, status_[i]);
      });
}
