#include "writer/links/references.h"

#include <algorithm>
#include <atomic>
#include <tuple>

#include "model/class_list.h"
#include "platform/path.h"
#include "platform/worker.h"
#include "reader/source_buffer.h"
#include "writer/common/anchors.h"
#include "writer/common/html_escape.h"
#include "writer/common/page_writer.h"
#include "writer/links/page_context.h"
#include "writer/links/script_again.h"
#include "writer/links/source_links.h"
#include "writer/links/source_pages_ahead.h"

namespace {

using Line = CReferences::Line;
using Reference = CReferences::Reference;

// The links of the scripts one thread reads, with the lines they stand on.
class CCollector final : public CLinkListener {
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
    } else if (lines.back().functionSize == 0 && !link.function.empty()) {
      // A function's return type is linked before its name is met.
      lines.back().function = Keep(link.function, function_, function_at_);
      lines.back().functionSize = Size(link.function);
    }
    refs.push_back(
        {link.name, link.record, static_cast<uint32_t>(lines.size() - 1), link.kind, link.super});
  }

  std::vector<Reference> refs;
  std::vector<Line> lines;
  std::string store;

 private:
  // Keeps `name` in the store, once for a run of lines that name it.
  uint32_t Keep(std::string_view name, std::string_view& last, uint32_t& at) {
    if (name.data() != last.data() || name.size() != last.size()) {
      last = name;
      at = static_cast<uint32_t>(store.size());
      store.append(name);
    }
    return at;
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
    for (char c : text) {
      const auto u = static_cast<unsigned char>(c);
      store.push_back(u < 0x20 || u == 0x7f ? ' ' : c);
    }
    line.textSize = static_cast<uint16_t>(text.size());
    line.escapedSize = static_cast<uint16_t>(EscapedSize(text));
    line.function = Keep(link.function, function_, function_at_);
    line.functionSize = Size(link.function);
    line.state = Keep(link.state, state_, state_at_);
    line.stateSize = Size(link.state);
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
};

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
  CCollector collectors[2];

  size_t Runs() const { return (records.size() + kRun - 1) / kRun; }

  void ReadRun(size_t run, CCollector& collector) {
    const size_t end = std::min(records.size(), (run + 1) * kRun);
    for (size_t k = run * kRun; k < end; ++k) collector.Read(pages, records[k], sourceDir, ahead);
    done[run] = 1;
  }

  void Work(CCollector& collector) {
    for (size_t run = next.fetch_add(1); run < Runs(); run = next.fetch_add(1))
      ReadRun(run, collector);
  }
};

// What references sort by: the thing, Super calls last, class and line.
auto Key(const Reference& ref, const Line& line) {
  const uint8_t kind = ref.kind == SourceLink::kClassItself ? 0 : ref.kind + 1;
  return std::make_tuple(ref.record, kind, ref.name, ref.super, line.source, line.line);
}

bool SameThing(const Reference& a, const Reference& b) {
  return a.record == b.record && a.kind == b.kind && a.name == b.name;
}

}  // namespace

void CReferences::Build(const CPageContext& pages, const std::vector<bool>& reachable,
                        const platform::CDirectory* sourceDir, CSourcePagesAhead& ahead) {
  const CClassList& list = pages.list();
  std::vector<uint32_t> records;
  for (size_t i = 0; i < list.Count(); ++i) {
    const CClassRecord& record = list.At(i);
    if (reachable[i] && HasSourcePage(record) && !record.packedModel().empty())
      records.push_back(static_cast<uint32_t>(i));
  }
  Pass pass(pages, records, sourceDir, ahead);
  {
    platform::CWorker worker;
    worker.Start([](void* p) { static_cast<Pass*>(p)->Work(static_cast<Pass*>(p)->collectors[1]); },
                 &pass);
    pass.Work(pass.collectors[0]);
    worker.Join();
  }
  // Runs the second thread left undone (memory ran out there) are read
  // here; what it kept of them again is dropped with the duplicates below.
  for (size_t run = 0; run < pass.Runs(); ++run) {
    if (!pass.done[run]) pass.ReadRun(run, pass.collectors[0]);
  }

  // The threads' findings, one after the other, in tables of their exact
  // size, each thread's freed once copied: on a large tree they are the
  // largest tables of the run, and growing one into the other would hold
  // them twice over.
  CCollector& first = pass.collectors[0];
  CCollector& second = pass.collectors[1];
  const auto lines = static_cast<uint32_t>(first.lines.size());
  const auto stored = static_cast<uint32_t>(first.store.size());
  refs_.reserve(first.refs.size() + second.refs.size());
  refs_.assign(first.refs.begin(), first.refs.end());
  std::vector<Reference>().swap(first.refs);
  for (Reference ref : second.refs) {
    ref.line += lines;
    refs_.push_back(ref);
  }
  std::vector<Reference>().swap(second.refs);
  lines_.reserve(first.lines.size() + second.lines.size());
  lines_.assign(first.lines.begin(), first.lines.end());
  std::vector<Line>().swap(first.lines);
  for (Line line : second.lines) {
    line.text += stored;
    line.function += stored;
    line.state += stored;
    lines_.push_back(line);
  }
  std::vector<Line>().swap(second.lines);
  store_.reserve(first.store.size() + second.store.size());
  store_.assign(first.store);
  std::string().swap(first.store);
  store_.append(second.store);
  std::string().swap(second.store);
  Sort();
  Lay(pages);
}

void CReferences::Sort() {
  const auto less = [this](const Reference& a, const Reference& b) {
    return Key(a, lines_[a.line]) < Key(b, lines_[b.line]);
  };
  std::sort(refs_.begin(), refs_.end(), less);
  // A line refers to a thing once (and once by a Super call).
  const auto same = [this](const Reference& a, const Reference& b) {
    return Key(a, lines_[a.line]) == Key(b, lines_[b.line]);
  };
  refs_.erase(std::unique(refs_.begin(), refs_.end(), same), refs_.end());
}

bool CReferences::SameGroup(const Reference& a, const Reference& b) const {
  const Line& x = lines_[a.line];
  const Line& y = lines_[b.line];
  return a.super == b.super && x.source == y.source &&
         Text(x.function, x.functionSize) == Text(y.function, y.functionSize) &&
         Text(x.state, x.stateSize) == Text(y.state, y.stateSize);
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
           EscapedSize(Text(line.function, line.functionSize)) +
           EscapedSize(Text(line.state, line.stateSize));
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
      const size_t head = kRefsSectionBytes + 2 * name + 10 * refs_[section.first].name.size();
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
  const uint8_t order = kind == SourceLink::kClassItself ? 0 : kind + 1;
  const auto at = std::lower_bound(
      begin, end, std::make_pair(order, name), [this](const Section& s, const auto& key) {
        const Reference& ref = refs_[s.first];
        const uint8_t k =
            ref.kind == SourceLink::kClassItself ? 0 : static_cast<uint8_t>(ref.kind + 1);
        return std::make_pair(k, ref.name) < key;
      });
  if (at == end) return nullptr;
  const Reference& ref = refs_[at->first];
  return ref.kind == kind && ref.name == name ? &*at : nullptr;
}
