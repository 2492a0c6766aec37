#include "writer/common/page_writer.h"

#include <cstdint>

namespace {
// Pages are claimed this many at a time: few enough claims, and runs short
// enough that both threads finish close together.
constexpr size_t kRunLength = 64;
}  // namespace

// The pages one thread writes: runs of them claimed in turn.
class CPageWriter::CClaims final : public CPageBuilder::CVisitor {
 public:
  explicit CClaims(CPageWriter& writer) : writer_(writer) {}

  void Visit(size_t slot) override {
    if (order_ >= run_end_) {
      const size_t run = writer_.next_run_.fetch_add(1, std::memory_order_relaxed);
      const bool stopped = writer_.stopped_.load(std::memory_order_relaxed);
      run_start_ = stopped ? SIZE_MAX : run * kRunLength;
      run_end_ = stopped ? SIZE_MAX : run_start_ + kRunLength;
    }
    if (order_ >= run_start_) writer_.status_[slot] = writer_.Write(slot, page_, path_);
    ++order_;
  }

 private:
  CPageWriter& writer_;
  size_t order_ = 0;  // the place of the page visited in the order of writing
  size_t run_start_ = 0;
  size_t run_end_ = 0;
  // The thread's buffers, reused from page to page.
  std::string page_;
  std::string path_;
};

// The pages that could not be written, reported with room had beforehand.
class CPageWriter::CReports final : public CPageBuilder::CVisitor {
 public:
  explicit CReports(CPageWriter& writer) : writer_(writer) {}

  void Visit(size_t slot) override {
    const PageStatus status = writer_.status_[slot];
    if (status == PageStatus::kWritten) return;
    if (status == PageStatus::kIncomplete) {
      writer_.builder_.ReportIncomplete(slot);
      return;
    }
    writer_.report_path_.clear();
    writer_.builder_.AppendPath(slot, writer_.report_path_);
    ReportPage(writer_.report_path_, status);
  }

 private:
  CPageWriter& writer_;
};

CPageWriter::~CPageWriter() {
  stopped_.store(true, std::memory_order_relaxed);
  worker_.Join();
}

PageStatus BuildAndWritePage(const CPageBuilder& builder, size_t slot, std::string& page,
                             std::string& path) {
  bool whole = false;
  try {
    page.clear();
    whole = builder.AppendPage(slot, page);
  } catch (const std::bad_alloc&) {
    page = std::string();
    return PageStatus::kCannotWrite;
  }
  return WriteBuiltPage(page, whole, path, [&] { builder.AppendPath(slot, path); });
}

PageStatus CPageWriter::Write(size_t slot, std::string& page, std::string& path) const {
  PageStatus status = PageStatus::kWritten;
  if (builder_.WrittenAhead(slot, status)) return status;
  return BuildAndWritePage(builder_, slot, page, path);
}

void CPageWriter::WriteClaimed() {
  CClaims claims(*this);
  builder_.VisitPages(claims);
}

void CPageWriter::Start() {
  status_.assign(builder_.SlotCount(), PageStatus::kCannotWrite);
  report_path_.reserve(builder_.PathRoom());
  auto task = [](void* self) { static_cast<CPageWriter*>(self)->WriteClaimed(); };
  started_ = worker_.Start(task, this);
}

void CPageWriter::Finish() {
  WriteClaimed();
  if (started_) worker_.Join();
  CReports reports(*this);
  builder_.VisitPages(reports);
}
