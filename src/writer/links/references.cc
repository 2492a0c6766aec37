#include "writer/links/references.h"

#include <algorithm>
#include <atomic>
#include <functional>

#include "model/class_list.h"
#include "platform/path.h"
#include "platform/worker.h"
#include "reader/source_buffer.h"
#include "writer/common/anchors.h"
#include "writer/common/html_escape.h"
#include "writer/common/page_writer.h"
#include "writer/links/chunks.h"
#include "writer/links/page_context.h"
#include "writer/links/script_again.h"
#include "writer/links/source_links.h"
#include "writer/links/source_pages_ahead.h"

using Line = CReferences::Line;
using Reference = CReferences::Reference;
static_assert(sizeof(Reference) == 16, "a large tree makes millions of references");

// The links of the scripts one thread reads, with the lines they stand on.
class CReferenceCollector final : public CLinkListener {
 public:
  // Links the script of `record` as its source page is built, and writes
  // the page, keeping how that went in `ahead`.
  void Read(const CPageContext& pages, uint32_t record, const platform::CDirectory* sourceDir,
            CSourcePagesAhead& ahead) {
    const CClassList& list = pages.list();
    const bool read = ReadScriptAgain(list.At(record), sourceDir, script_);
    if (read) {
      text_ = std::string_view(script_.Text(), script_.Length());
      source_ = record;
      at_ = 0;
      at_line_ = 1;
      function_ = state_ = {};
      place_kept_ = false;
      linker_.Start(pages, record);
    }
    // Memory running out while the script is linked and its page built
    // fails the pass, as anywhere else in it: its links would be cut short.
    linker_.Listen(this);
    page_.clear();
    const bool whole =
        ahead.Build(page_, list, record, read ? &script_ : nullptr, read ? &linker_ : nullptr);
    linker_.Listen(nullptr);
    const PageStatus status = WriteBuiltPage(page_, whole, path_, [&] {
      path_.append(list.destDir);
      path_.push_back(platform::kPathSeparator);
      anchors::AppendSourcePageName(path_, record);
    });
    ahead.Set(record, status);
  }

  void Linked(const SourceLink& link) override {
    if (lines.empty() || lines.back().source != source_ || lines.back().line != link.line) {
      AddLine(link);
    } else if (places[lines.back().place].functionSize == 0 && !link.function.empty()) {
      // A function's return type is linked before its name is met.
      lines.back().place = PlaceOf(link);
    }
    Reference ref;
    ref.record = link.record;
    ref.line = static_cast<uint32_t>(lines.size() - 1);
    ref.kind = link.kind;
    ref.super = link.super;
    // A member's name stands in its record's packed model, which the run
    // keeps: where it stands is enough. Any other is kept apart.
    const std::string_view packed = (*models)[link.record];
    const std::less_equal<const char*> at_most;  // of pointers into any objects
    if (link.name.empty()) {
      ref.nameAt = 0;
    } else if (!packed.empty() && at_most(packed.data(), link.name.data()) &&
               at_most(link.name.data() + link.name.size(), packed.data() + packed.size()) &&
               link.name.size() <= UINT16_MAX) {
      ref.nameAt = static_cast<uint32_t>(link.name.data() - packed.data());
      ref.nameSize = static_cast<uint16_t>(link.name.size());
    } else {
      ref.nameAt = CReferences::kOtherName | static_cast<uint32_t>(other_names.size());
      other_names.push_back(link.name);
    }
    refs.push_back(ref);
  }

  const std::vector<std::string_view>* models = nullptr;  // each record's packed model
  CChunks<Reference> refs;
  CChunks<Line> lines;
  std::vector<CReferences::Place> places;
  CChunks<char> store;
  std::vector<std::string_view> other_names;

 private:
  // Keeps `name` in the store, once for a run of lines that name it.
  uint32_t Keep(std::string_view name, std::string_view& last, uint32_t& at) {
    if (name.data() != last.data() || name.size() != last.size()) {
      last = name;
      at = static_cast<uint32_t>(store.size());
      store.append(name.data(), name.size());
    }
    return at;
  }

  // The place of the link's function and state: the last one's while
  // they stay the same.
  uint32_t PlaceOf(const SourceLink& link) {
    const bool same = place_kept_ && link.function.data() == function_.data() &&
                      link.function.size() == function_.size() &&
                      link.state.data() == state_.data() && link.state.size() == state_.size();
    if (!same) {
      CReferences::Place place;
      place.function = Keep(link.function, function_, function_at_);
      place.functionSize = Size(link.function);
      place.state = Keep(link.state, state_, state_at_);
      place.stateSize = Size(link.state);
      places.push_back(place);
      place_kept_ = true;
    }
    return static_cast<uint32_t>(places.size() - 1);
  }

  static uint16_t Size(std::string_view name) {
    return static_cast<uint16_t>(std::min<size_t>(name.size(), UINT16_MAX));
  }

  void AddLine(const SourceLink& link) {
    // Links come in line order: the text goes on from the last line met.
    while (at_line_ < link.line && at_ < text_.size()) {
      const size_t end = text_.find('\n', at_);
      at_ = end == std::string_view::npos ? text_.size() : end + 1;
      ++at_line_;
    }
    size_t end = text_.find('\n', at_);
    if (end == std::string_view::npos) end = text_.size();
    size_t start = at_;
    while (start < end && (text_[start] == ' ' || text_[start] == '\t')) ++start;
    if (end > start && text_[end - 1] == '\r') --end;
    const std::string_view text =
        text_.substr(start, std::min(end - start, CReferences::kLineTextBytes));
    Line line;
    line.source = source_;
    line.line = static_cast<uint32_t>(link.line);
    line.text = static_cast<uint32_t>(store.size());
    // Control bytes show as blanks: the entry is one line of text.
    char shown[CReferences::kLineTextBytes];
    for (size_t k = 0; k < text.size(); ++k) {
      const auto u = static_cast<unsigned char>(text[k]);
      shown[k] = u < 0x20 || u == 0x7f ? ' ' : text[k];
    }
    store.append(shown, text.size());
    line.textSize = static_cast<uint16_t>(text.size());
    line.escapedSize = static_cast<uint16_t>(EscapedSize(text));
    line.place = PlaceOf(link);
    lines.push_back(line);
  }

  CSourceLinker linker_;
  CSourceBuffer script_;
  std::string page_;
  std::string path_;
  std::string_view text_;
  std::string_view function_;  // the last kept, and where
  std::string_view state_;
  size_t at_ = 0;  // where line at_line_ starts
  size_t at_line_ = 1;
  uint32_t function_at_ = 0;
  uint32_t state_at_ = 0;
  uint32_t source_ = 0;
  bool place_kept_ = false;  // whether the last place is of this script
};

namespace {

// The pass: runs of scripts claimed in turn by two threads.
struct Pass {
  Pass(const CPageContext& p, const std::vector<uint32_t>& r, const platform::CDirectory* d,
       CSourcePagesAhead& a)
      : pages(p), records(r), sourceDir(d), ahead(a), done(Runs(), 0) {}

  static constexpr size_t kRun = 16;
  const CPageContext& pages;
  const std::vector<uint32_t>& records;
  const platform::CDirectory* sourceDir;
  CSourcePagesAhead& ahead;
  std::atomic<size_t> next{0};
  std::vector<uint8_t> done;  // of each run; each written by the thread that read it
  CReferenceCollector collectors[2];

  size_t Runs() const { return (records.size() + kRun - 1) / kRun; }

  void ReadRun(size_t run, CReferenceCollector& collector) {
    const size_t end = std::min(records.size(), (run + 1) * kRun);
    for (size_t k = run * kRun; k < end; ++k) collector.Read(pages, records[k], sourceDir, ahead);
    done[run] = 1;
  }

  void Work(CReferenceCollector& collector) {
    for (size_t run = next.fetch_add(1); run < Runs(); run = next.fetch_add(1))
      ReadRun(run, collector);
  }
};

// Where a kind's references sort: the class's own first, then by kind.
uint8_t KindOrder(uint8_t kind) {
  return kind == SourceLink::kClassItself ? 0 : static_cast<uint8_t>(kind + 1);
}

// Lines sort by class and number.
bool LineBefore(const Line& a, const Line& b) {
  return a.source != b.source ? a.source < b.source : a.line < b.line;
}

}  // namespace

void CReferences::Build(const CPageContext& pages, const std::vector<bool>& reachable,
                        const platform::CDirectory* sourceDir, CSourcePagesAhead& ahead,
                        const std::function<void()>& alongside) {
  const CClassList& list = pages.list();
  std::vector<uint32_t> records;
  models_.assign(list.Count(), {});
  for (size_t i = 0; i < list.Count(); ++i) {
    const CClassRecord& record = list.At(i);
    models_[i] = record.packedModel();
    if (reachable[i] && HasSourcePage(record) && !record.packedModel().empty())
      records.push_back(static_cast<uint32_t>(i));
  }
  Pass pass(pages, records, sourceDir, ahead);
  for (CReferenceCollector& collector : pass.collectors) collector.models = &models_;
  platform::RunBeside([&pass] { pass.Work(pass.collectors[1]); },
                      [&pass] { pass.Work(pass.collectors[0]); });
  // Runs the second thread left undone (memory ran out there) are read
  // here; what it kept of them again is dropped with the duplicates below.
  for (size_t run = 0; run < pass.Runs(); ++run) {
    if (!pass.done[run]) pass.ReadRun(run, pass.collectors[0]);
  }
  // Putting the links in order is one thread's work; the other does what
  // needs none of them meanwhile, and this one joins it after.
  platform::RunBeside(alongside, [&] {
    Gather(pass.collectors[0], pass.collectors[1]);
    Sort();
    Lay(pages);
    alongside();
  });
}

// The threads' findings in tables of their exact size, each block of a
// thread's freed once copied: on a large tree they are the largest tables
// of the run. The lines go in class and line order, a line met twice kept
// once, so that references sort by a line's place alone.
void CReferences::Gather(CReferenceCollector& first, CReferenceCollector& second) {
  const size_t stored = first.store.size();
  store_.clear();
  store_.reserve(stored + second.store.size());
  const auto append = [this](const char* bytes, size_t n) { store_.append(bytes, n); };
  first.store.Drain(append);
  second.store.Drain(append);

  const size_t count = first.lines.size();
  const size_t total = count + second.lines.size();
  const auto line = [&](size_t k) -> const Line& {
    return k < count ? first.lines[k] : second.lines[k - count];
  };
  const auto before = [&](size_t a, size_t b) { return LineBefore(line(a), line(b)); };
  std::vector<uint32_t> place(total);  // of each line met, in lines_
  lines_.clear();
  lines_.reserve(total);
  const auto keep = [&](size_t k) {
    Line kept = line(k);
    if (k >= count) {
      kept.text += static_cast<uint32_t>(stored);
      kept.place += static_cast<uint32_t>(first.places.size());
    }
    if (lines_.empty() || LineBefore(lines_.back(), kept)) lines_.push_back(kept);
    place[k] = static_cast<uint32_t>(lines_.size() - 1);
  };
  // Each thread meets its scripts in order, and each script's lines in
  // order: two sorted runs, merged as they are read, each block of them
  // given back once passed. Sorted whole if not.
  const auto sorted = [&](size_t from, size_t to) {
    for (size_t k = from + 1; k < to; ++k) {
      if (before(k, k - 1)) return false;
    }
    return true;
  };
  if (sorted(0, count) && sorted(count, total)) {
    for (size_t a = 0, b = count; a < count || b < total;) {
      if (b == total || (a < count && !before(b, a))) {
        keep(a++);
        first.lines.FreeBefore(a);
      } else {
        keep(b++);
        second.lines.FreeBefore(b - count);
      }
    }
  } else {
    std::vector<uint32_t> order(total);
    for (uint32_t k = 0; k < total; ++k) order[k] = k;
    std::stable_sort(order.begin(), order.end(), before);
    for (uint32_t k : order) keep(k);
  }
  lines_.shrink_to_fit();
  first.lines.Clear();
  second.lines.Clear();
  places_ = std::move(first.places);
  for (CReferences::Place kept : second.places) {
    kept.function += static_cast<uint32_t>(stored);
    kept.state += static_cast<uint32_t>(stored);
    places_.push_back(kept);
  }
  std::vector<CReferences::Place>().swap(second.places);

  const auto others = static_cast<uint32_t>(first.other_names.size());
  other_names_ = std::move(first.other_names);
  other_names_.insert(other_names_.end(), second.other_names.begin(), second.other_names.end());
  std::vector<std::string_view>().swap(second.other_names);
  refs_.clear();
  refs_.reserve(first.refs.size() + second.refs.size());
  first.refs.Drain([&](const Reference* refs, size_t n) {
    for (size_t k = 0; k < n; ++k) {
      refs_.push_back(refs[k]);
      refs_.back().line = place[refs[k].line];
    }
  });
  second.refs.Drain([&](const Reference* refs, size_t n) {
    for (size_t k = 0; k < n; ++k) {
      Reference ref = refs[k];
      ref.line = place[ref.line + count];
      if (ref.nameAt & kOtherName) ref.nameAt += others;
      refs_.push_back(ref);
    }
  });
}

bool CReferences::SameThing(const Reference& a, const Reference& b) const {
  return a.record == b.record && a.kind == b.kind &&
         ((a.nameAt == b.nameAt && a.nameSize == b.nameSize) || NameOf(a) == NameOf(b));
}

// By the thing (its record, kind and name), Super calls last, then by line:
// the lines stand in class and line order, so a line's place is enough.
bool CReferences::Before(const Reference& a, const Reference& b) const {
  if (a.record != b.record) return a.record < b.record;
  if (a.kind != b.kind) return KindOrder(a.kind) < KindOrder(b.kind);
  if (a.nameAt != b.nameAt || a.nameSize != b.nameSize) {
    const int names = NameOf(a).compare(NameOf(b));
    if (names != 0) return names < 0;
  }
  if (a.super != b.super) return b.super;
  return a.line < b.line;
}

void CReferences::Sort() {
  std::sort(refs_.begin(), refs_.end(),
            [this](const Reference& a, const Reference& b) { return Before(a, b); });
  // A line refers to a thing once (and once by a Super call).
  const auto same = [this](const Reference& a, const Reference& b) {
    return SameThing(a, b) && a.super == b.super && a.line == b.line;
  };
  refs_.erase(std::unique(refs_.begin(), refs_.end(), same), refs_.end());
}

bool CReferences::SameGroup(const Reference& a, const Reference& b) const {
  const Line& x = lines_[a.line];
  const Line& y = lines_[b.line];
  return a.super == b.super && x.source == y.source &&
         (x.place == y.place || (FunctionOf(x) == FunctionOf(y) && StateOf(x) == StateOf(y)));
}

// The sections, each thing's classes counted, and the parts of each
// record's pages, laid out on bounds of what each piece writes.
void CReferences::Lay(const CPageContext& pages) {
  const CClassList& list = pages.list();
  const size_t count = list.Count();
  sections_.clear();
  first_section_.assign(count + 1, 0);
  first_part_.assign(count + 1, 0);
  part_start_.clear();
  std::vector<uint32_t> sources;
  for (size_t k = 0; k < refs_.size();) {
    Section section;
    section.first = static_cast<uint32_t>(k);
    sources.clear();
    for (; k < refs_.size() && SameThing(refs_[k], refs_[section.first]); ++k)
      sources.push_back(lines_[refs_[k].line].source);
    section.end = static_cast<uint32_t>(k);
    std::sort(sources.begin(), sources.end());
    section.classes =
        static_cast<uint32_t>(std::unique(sources.begin(), sources.end()) - sources.begin());
    ++first_section_[refs_[section.first].record + 1];
    sections_.push_back(section);
  }
  for (size_t r = 0; r < count; ++r) first_section_[r + 1] += first_section_[r];

  const auto group_bytes = [&](const Reference& ref) {
    const Line& line = lines_[ref.line];
    return kRefsGroupBytes + EscapedSize(list.At(line.source).name()) +
           EscapedSize(FunctionOf(line)) + EscapedSize(StateOf(line));
  };
  for (size_t r = 0; r < count; ++r) {
    size_t parts = 0;
    size_t name = EscapedSize(list.At(r).name());
    if (list.At(r).parent) name += EscapedSize(list.At(r).parent->name()) + 1;
    const size_t page = kRefsPageBytes + 4 * name;
    size_t bytes = 0;
    for (size_t s = first_section_[r]; s < first_section_[r + 1]; ++s) {
      Section& section = sections_[s];
      // Its anchor twice, the record's name twice and the member's once.
      const size_t head = kRefsSectionBytes + 2 * name + 10 * NameOf(refs_[section.first]).size();
      for (size_t k = section.first; k < section.end; ++k) {
        const Reference& ref = refs_[k];
        const bool first = k == section.first;
        const bool grouped = !first && SameGroup(refs_[k - 1], ref);
        const bool super = ref.super && (first || !refs_[k - 1].super);
        const size_t entry = kRefsEntryBytes + lines_[ref.line].escapedSize;
        const size_t need = entry + (first ? head : 0) + (grouped ? 0 : group_bytes(ref)) +
                            (super ? kRefsSuperBytes : 0);
        if (parts == 0 || bytes + need > kPartBytes) {
          // A part goes on with the heads of the section, the group and
          // the Super calls again.
          part_start_.push_back(static_cast<uint32_t>(k));
          ++parts;
          bytes = page + head + group_bytes(ref) + (ref.super ? kRefsSuperBytes : 0) + entry;
        } else {
          bytes += need;
        }
        if (first) section.part = static_cast<uint32_t>(parts - 1);
      }
    }
    first_part_[r + 1] = static_cast<uint32_t>(first_part_[r] + parts);
  }
  part_start_.push_back(static_cast<uint32_t>(refs_.size()));
}

const CReferences::Section* CReferences::Find(size_t record, uint8_t kind,
                                              std::string_view name) const {
  if (first_section_.empty()) return nullptr;
  const auto begin = sections_.begin() + first_section_[record];
  const auto end = sections_.begin() + first_section_[record + 1];
  const auto at = std::lower_bound(begin, end, std::make_pair(KindOrder(kind), name),
                                   [this](const Section& s, const auto& key) {
                                     const Reference& ref = refs_[s.first];
                                     return std::make_pair(KindOrder(ref.kind), NameOf(ref)) < key;
                                   });
  if (at == end) return nullptr;
  const Reference& ref = refs_[at->first];
  return ref.kind == kind && NameOf(ref) == name ? &*at : nullptr;
}
