#include "writer/navigable_reference.h"

#include <algorithm>
#include <atomic>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/class_list.h"
#include "platform/console.h"
#include "platform/directory.h"
#include "platform/path.h"
#include "writer/common/anchors.h"
#include "writer/common/assets.h"
#include "writer/common/beside_pages.h"
#include "writer/common/file_path_text.h"
#include "writer/common/html_escape.h"
#include "writer/common/navigation_templates.h"
#include "writer/common/page_builder.h"
#include "writer/common/page_links.h"
#include "writer/common/page_writer.h"
#include "writer/common/pages_written_ahead.h"
#include "writer/common/record_page.h"
#include "writer/common/script_text.h"
#include "writer/common/templates.h"
#include "writer/common/tree_index.h"
#include "writer/links/overriders.h"
#include "writer/links/overriders_beside.h"
#include "writer/links/script_again.h"
#include "writer/links/source_pages_ahead.h"
#include "writer/pages/changes_templates.h"
#include "writer/pages/over_page.h"
#include "writer/pages/refs_page.h"
#include "writer/pages/rich_page.h"
#include "writer/pages/use_page.h"
#include "writer/source/source_page.h"

namespace nt = navigation_templates;

namespace {

// The index's script; without the member data, less its parts that search
// packages, each a run of whole lines from a "// <packages>" line to a
// "// </packages>" line, so that the index is as it was before packages.
void WriteIndexScript(platform::COutputFile& index, bool members) {
  if (members) {
    index.Write(assets::kIndexScript);
    return;
  }
  constexpr std::string_view kOpen = "// <packages>\n";
  constexpr std::string_view kClose = "// </packages>\n";
  std::string_view rest = assets::kIndexScript;
  std::string kept;
  for (size_t at = rest.find(kOpen); at != std::string_view::npos; at = rest.find(kOpen)) {
    const size_t end = rest.find(kClose, at);
    if (end == std::string_view::npos) break;
    // The line's indentation goes with it.
    kept.append(rest.substr(0, rest.rfind('\n', at) + 1));
    rest.remove_prefix(end + kClose.size());
  }
  kept.append(rest);
  index.Write(kept);
}

// The records' data as the index's script reads it, less its end.
void AppendRecordData(std::string& data, const CClassList& list,
                      const std::vector<bool>& reachable) {
  const size_t count = list.Count();
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
}

// The index page: fixed head and style, the records' data, fixed script. The
// data is put together in one text and written at once.
void WriteIndex(platform::COutputFile& index, const CClassList& list,
                const std::vector<bool>& reachable, bool members, bool changes) {
  std::string data;
  AppendRecordData(data, list, reachable);
  data.append(nt::kDataEnd);

  index.Write(nt::kIndexOpen);
  index.Write(assets::kIndexStyle);
  index.Write(nt::kIndexBody);
  index.Write(members ? nt::kSearchOfMembers : nt::kSearchOfRecords);
  index.Write(nt::kIndexControls);
  // The colour scheme and its switch, set before the page is shown.
  index.Write(nt::kScriptOpen);
  index.Write(assets::kFindScript);
  index.Write(nt::kScriptClose);
  if (members) index.Write(nt::kPackagesLink);
  if (changes) index.Write(changes_templates::kIndexLink);
  index.Write(nt::kIndexTree);
  index.Write(data);
  index.Write(nt::kScriptOpen);
  WriteIndexScript(index, members);
  index.Write(nt::kIndexEnd);
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

  AppendNeighbours(page, list, tree, i);
  if (sourcePage) {
    page.append(nt::kPageScriptLink);
    anchors::AppendSourcePageName(page, i);
    page.append(nt::kPageScriptLinkMiddle);
    AppendPathText(page, record.scriptPath());
    page.append(nt::kPageScriptLinkEnd);
  } else {
    page.append(nt::kPageScript);
    AppendPathText(page, record.scriptPath());
    page.append(nt::kPageScriptEnd);
  }
  AppendIndexLink(page, i);
  AppendDeclarations(page, record);
}

// The use pages written ahead of the others, while the references are put
// in order: both threads claim runs of them, and how each went is kept by
// record until the page writer reports it in its turn.
struct UsePagesAhead {
  static constexpr size_t kRun = 16;
  std::vector<uint32_t> records;  // the classes with use pages, in record order
  CPagesWrittenAhead written;     // how each went, by record
  std::atomic<size_t> next{0};    // the next run to claim
};

// The linked record pages, as the page writer builds them: a page for each
// record reachable from the roots, in record order. With source pages, each
// class's source page follows its record page, its script read again from
// `sourceDir` (null when that cannot be opened), and with rich pages each
// class's use page follows: record i has slot 3i, its source page 3i + 1,
// its use page 3i + 2. The parts of the pages of overriders come after the
// records' slots, then the parts of the pages of references. The source
// pages written ahead (with `ahead`) are only reported in their turn, and
// so are the use pages written ahead (with `useAhead`).
class CNavigablePages final : public CPageBuilder {
 public:
  /// With `rich`, the records read with their models get rich pages.
  CNavigablePages(const CClassList& list, const TreeIndex& tree, const std::vector<bool>& reachable,
                  const CRichPages* rich, bool sourcePages, const platform::CDirectory* sourceDir,
                  const COverriders* overriders, const CSourcePagesAhead* ahead,
                  UsePagesAhead* useAhead)
      : list_(list),
        tree_(tree),
        reachable_(reachable),
        rich_(rich),
        source_pages_(sourcePages),
        source_dir_(sourceDir),
        overriders_(overriders),
        ahead_(ahead),
        use_ahead_(useAhead) {
    if (!use_ahead_) return;
    use_ahead_->written = CPagesWrittenAhead(list_.Count());
    for (size_t i = 0; i < list_.Count(); ++i) {
      if (reachable_[i] && HasUsePage(i)) use_ahead_->records.push_back(static_cast<uint32_t>(i));
    }
  }

  // Writes the use pages not yet claimed, claiming runs of them in turn
  // with the other thread; they need no references.
  void WriteUsePagesAhead() const {
    std::string page;
    std::string path;
    UsePagesAhead& ahead = *use_ahead_;
    const size_t count = ahead.records.size();
    for (size_t run = ahead.next.fetch_add(1); run * UsePagesAhead::kRun < count;
         run = ahead.next.fetch_add(1)) {
      const size_t end = std::min(count, (run + 1) * UsePagesAhead::kRun);
      for (size_t k = run * UsePagesAhead::kRun; k < end; ++k) {
        const size_t i = ahead.records[k];
        const PageStatus status = BuildAndWritePage(*this, kSlots * i + kUseSlot, page, path);
        ahead.written.Set(i, status);
      }
    }
  }

  // The parts of the pages of overriders follow, all of them.
  size_t SlotCount() const override { return RefsBase() + RefsParts(); }

  void VisitPages(CVisitor& visitor) const override {
    for (size_t i = 0; i < list_.Count(); ++i) {
      if (!reachable_[i]) continue;
      visitor.Visit(kSlots * i);
      if (HasSource(i)) visitor.Visit(kSlots * i + kSourceSlot);
      if (HasUsePage(i)) visitor.Visit(kSlots * i + kUseSlot);
      if (overriders_) {
        for (size_t p = overriders_->FirstPart(i); p < overriders_->FirstPart(i + 1); ++p)
          visitor.Visit(OverBase() + p);
      }
      if (!rich_) continue;
      const CReferences& refs = rich_->references();
      for (size_t p = refs.FirstPart(i); p < refs.FirstPart(i + 1); ++p)
        visitor.Visit(RefsBase() + p);
    }
  }

  bool AppendPage(size_t slot, std::string& page) const override {
    if (slot >= RefsBase()) {
      const size_t i = RefsRecord(slot);
      AppendRefsPage(page, list_, rich_->references(), i,
                     slot - RefsBase() - rich_->references().FirstPart(i));
      return true;
    }
    if (slot >= OverBase()) {
      const size_t i = OverRecord(slot);
      AppendOverPage(page, *overriders_, i, slot - OverBase() - overriders_->FirstPart(i));
      return true;
    }
    const size_t i = slot / kSlots;
    if (slot % kSlots == kSourceSlot) return AppendSourcePage(page, list_, i, source_dir_, rich_);
    if (slot % kSlots == kUseSlot) {
      AppendUsePage(page, *rich_, rich_->users(), i);
      return true;
    }
    if (HasRichPage(i)) {
      rich_->AppendPage(page, i);
    } else {
      AppendLinkedPage(page, list_, tree_, i, HasSource(i));
    }
    return true;
  }

  void AppendPath(size_t slot, std::string& path) const override {
    path.append(list_.destDir);
    path.push_back(platform::kPathSeparator);
    if (slot >= RefsBase()) {
      const size_t i = RefsRecord(slot);
      AppendRefsPageName(path, i, slot - RefsBase() - rich_->references().FirstPart(i));
      return;
    }
    if (slot >= OverBase()) {
      const size_t i = OverRecord(slot);
      AppendOverPageName(path, i, slot - OverBase() - overriders_->FirstPart(i));
      return;
    }
    if (slot % kSlots == kSourceSlot) {
      anchors::AppendSourcePageName(path, slot / kSlots);
      return;
    }
    if (slot % kSlots == kUseSlot) {
      anchors::AppendUsePageName(path, slot / kSlots);
      return;
    }
    AppendNumber(path, slot / kSlots, kRecordNumberWidth);
    path.append(nt::kPageFileExtension);
  }

  size_t PathRoom() const override { return list_.destDir.size() + 1 + kPageNameRoom; }

  bool WrittenAhead(size_t slot, PageStatus& status) const override {
    if (slot >= OverBase()) return false;
    if (slot % kSlots == kUseSlot)
      return use_ahead_ && use_ahead_->written.Written(slot / kSlots, status);
    return ahead_ && slot % kSlots == kSourceSlot && ahead_->Written(slot / kSlots, status);
  }

  // A source page whose script could not be read again says so; the script
  // is reported as one that could not be read.
  void ReportIncomplete(size_t slot) const override {
    const std::string script =
        platform::JoinPath(list_.sourceDir, list_.At(slot / kSlots).scriptPath());
    console::Problem(templates::kUnableToRead, script.c_str());
  }

 private:
  // Room for a page's file name.
  static constexpr size_t kPageNameRoom = 32;
  static constexpr size_t kSlots = 3;
  static constexpr size_t kSourceSlot = 1;
  static constexpr size_t kUseSlot = 2;

  bool HasSource(size_t i) const { return source_pages_ && HasSourcePage(list_.At(i)); }
  bool HasRichPage(size_t i) const { return rich_ && !list_.At(i).packedModel().empty(); }
  // Every class with a rich page has a use page, so links to it never dangle.
  bool HasUsePage(size_t i) const { return HasRichPage(i) && list_.At(i).isState == 0; }

  size_t OverParts() const { return overriders_ ? overriders_->PartCount() : 0; }
  // The slot of the first part of the pages of overriders.
  size_t OverBase() const { return list_.Count() * kSlots; }
  // The class whose page of overriders has the part in `slot`.
  size_t OverRecord(size_t slot) const {
    return RecordOfPart(slot - OverBase(), [this](size_t r) { return overriders_->FirstPart(r); });
  }
  size_t RefsParts() const { return rich_ ? rich_->references().PartCount() : 0; }
  // The slot of the first part of the pages of references.
  size_t RefsBase() const { return OverBase() + OverParts(); }
  size_t RefsRecord(size_t slot) const {
    return RecordOfPart(slot - RefsBase(),
                        [this](size_t r) { return rich_->references().FirstPart(r); });
  }
  // The last record whose first part, by `first`, is at most `part`.
  template <typename First>
  size_t RecordOfPart(size_t part, First first) const {
    size_t low = 0;
    size_t high = list_.Count();
    while (high - low > 1) {
      const size_t middle = low + (high - low) / 2;
      if (first(middle) <= part) {
        low = middle;
      } else {
        high = middle;
      }
    }
    return low;
  }

  const CClassList& list_;
  const TreeIndex& tree_;
  const std::vector<bool>& reachable_;
  const CRichPages* const rich_;
  const bool source_pages_;
  const platform::CDirectory* const source_dir_;
  const COverriders* const overriders_;
  const CSourcePagesAhead* const ahead_;
  UsePagesAhead* const use_ahead_;
};

}  // namespace

void WriteRecordData(platform::COutputFile& out, const CClassList& list) {
  std::string data;
  AppendRecordData(data, list, ReachableRecords(BuildTreeIndex(list, nullptr)));
  data.append(nt::kMemberDataEnd);
  out.Write(data);
}

void WriteNavigableReference(platform::COutputFile& index, const CClassList& list,
                             const CTypeTable* types, COverriders* overriders,
                             const CChangeMarks* changes, CBesidePages* beside,
                             CReferences* references) {
  const bool complete = types != nullptr;
  const TreeIndex tree = BuildTreeIndex(list, nullptr);
  const std::vector<bool> reachable = ReachableRecords(tree);
  std::optional<CRichPages> rich_pages;
  // Who refers to what, kept here when the caller does not keep it.
  std::optional<CReferences> own_references;
  // The source pages the pass of references writes as it links them.
  std::optional<CSourcePagesAhead> ahead;
  const bool beside_references = references != nullptr;
  if (!complete) overriders = nullptr;
  // The source pages read their scripts below SourceDir, opened once for
  // the pass of references and both writing threads.
  platform::CDirectory source_dir;
  const bool source_dir_open =
      complete && source_dir.Open(nullptr, list.sourceDir) == platform::OpenStatus::kOk;
  if (complete) {
    rich_pages.emplace(list, tree, *types, overriders, changes);
    // The users' pass and the overriders' each read every record's model.
    if (overriders) {
      BuildOverridersBeside(*overriders, list, [&] { rich_pages->FindUsers(reachable); });
    } else {
      rich_pages->FindUsers(reachable);
    }
    ahead.emplace(list.Count(), &AppendSourcePageOf);
  }
  UsePagesAhead use_ahead;
  // The pages are written beside the index.
  const CNavigablePages pages(list, tree, reachable, rich_pages ? &*rich_pages : nullptr, complete,
                              source_dir_open ? &source_dir : nullptr, overriders,
                              ahead ? &*ahead : nullptr, complete ? &use_ahead : nullptr);
  if (complete) {
    // Super calls are linked by what the overriders tell; the use pages
    // need no references, and are written as they are put in order.
    if (!references) references = &own_references.emplace();
    rich_pages->FindReferences(*references, reachable, source_dir_open ? &source_dir : nullptr,
                               *ahead, [&pages] { pages.WriteUsePagesAhead(); });
  }
  CPageWriter writer(pages);
  if (beside) beside->Start(complete && beside_references ? references : nullptr);
  writer.Start();
  WriteIndex(index, list, reachable, complete, changes != nullptr);
  writer.Finish();
}
