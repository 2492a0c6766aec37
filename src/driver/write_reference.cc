#include <new>
#include <optional>
#include <string>

#include "driver/compare_run.h"
#include "driver/messages.h"
#include "driver/model_file_beside.h"
#include "driver/whole_file.h"
#include "model/class_list.h"
#include "platform/console.h"
#include "platform/path.h"
#include "platform/replacing_file.h"
#include "platform/worker.h"
#include "writer/common/anchors.h"
#include "writer/common/assets.h"
#include "writer/common/templates.h"
#include "writer/data/change_marks.h"
#include "writer/index/index_writer.h"
#include "writer/index/member_data.h"
#include "writer/index/member_summaries.h"
#include "writer/links/overriders.h"
#include "writer/links/overriders_beside.h"
#include "writer/links/references.h"
#include "writer/names/type_table.h"
#include "writer/navigable_reference.h"
#include "writer/pages/changes_templates.h"
#include "writer/pages/packages.h"

namespace {

// The files that follow the pages of a navigable reference: members' data,
// packages, records' data, scripts and members' summaries. The members'
// data, the largest, is written on a second thread beside the others; the
// problems of each are told once both are done, in the order of the files.
void WriteSearchData(const CClassList& list, const COverriders& overriders) {
  LaterProblems members;
  const auto write_members = [&list, &overriders, &members] {
    WriteWholeFile(
        list, anchors::kMemberDataName,
        [&](platform::COutputFile& file) { WriteMemberData(file, list, &overriders); }, &members);
  };
  LaterProblems problems;
  const auto write_rest = [&list, &problems] {
    WriteWholeFile(
        list, anchors::kPackagesPageName,
        [&list](platform::COutputFile& file) { WritePackagesPage(file, list); }, &problems);
    // What the search field of every page but the index loads.
    WriteWholeFile(
        list, anchors::kRecordDataName,
        [&list](platform::COutputFile& file) { WriteRecordData(file, list); }, &problems);
    WriteWholeFile(
        list, anchors::kIndexScriptName,
        [](platform::COutputFile& file) { file.Write(assets::kIndexScript); }, &problems);
    WriteWholeFile(
        list, anchors::kFindScriptName,
        [](platform::COutputFile& file) { file.Write(assets::kFindScript); }, &problems);
    // The members' summaries, in pieces that the search loads as it shows
    // their members; a piece that cannot be written does not stop the rest.
    CMemberSummaries summaries(list);
    std::string piece;
    bool more = true;
    for (size_t k = 0; more; ++k) {
      const std::string name =
          anchors::kSummaryPiecePrefix + std::to_string(k) + anchors::kSummaryPieceEnd;
      more = false;
      bool made = false;
      WriteWholeFile(
          list, name.c_str(),
          [&](platform::COutputFile& file) {
            made = true;
            more = summaries.Next(piece);
            file.Write(piece);
          },
          &problems);
      // A piece whose file could not be opened (reported) is read past all
      // the same, so that the pieces after it are where the search looks.
      if (!made) {
        try {
          more = summaries.Next(piece);
        } catch (const std::bad_alloc&) {
          more = false;
        }
      }
    }
  };
  // Memory ran out on the second thread before the file was done.
  if (!platform::RunBeside(write_members, write_rest)) {
    members.problems.emplace_back(templates::kUnableToWrite,
                                  platform::JoinPath(list.destDir, anchors::kMemberDataName));
  }
  members.Tell();
  problems.Tell();
}

}  // namespace

void CClassList::WriteReference(const std::string& destDirArgument, const RunOptions& options) {
  const bool navigation = options.navigation;
  const bool complete = options.complete;
  const bool json = options.json;
  const std::optional<std::string>& compareWith = options.compareWith;
  destDir = platform::StripOneTrailingSeparator(destDirArgument);
  const std::string index_path = platform::JoinPath(destDir, templates::kIndexFileName);
  // The destination directory is never created: it must already exist. The
  // index (with its temporary file) is held from here until it is in place,
  // so two runs cannot write one destination at once, and it is replaced
  // only once it is whole.
  platform::CReplacingFile index;
  if (!index.Open(index_path)) {
    console::Problem(templates::kUnableToOpen, index_path.c_str());
    return;
  }
  // Memory running out while the tree is linked, sorted and written is
  // reported like any failed write; the containers that need it throw, and
  // this is the one place that turns that into a plain failure. The previous
  // index then stays as it was.
  // The earlier model file is read first, and compared with once the tree
  // is linked and sorted: the index links the changes only when the
  // comparison succeeded, and the rich pages mark what is new or changed.
  CEarlierModel earlier;
  bool compare = compareWith && earlier.Read(*compareWith);
  std::optional<CChangeMarks> marks;
  bool written = false;
  // What the type names of declarations name, for the writers that link
  // them: the model file and the rich pages.
  CTypeTable types;
  // Who declares each function again, and what each function overrides.
  COverriders overriders;
  // Who refers to what, when the pages link their sources: the model file
  // counts them.
  CReferences references;
  // The model file is written beside the pages, and put in place after them.
  std::optional<CModelFileBeside> model;
  if (json) model.emplace(*this, types, overriders);
  try {
    ResolveParents();
    SortByName(complete);
    if (navigation && complete) {
      // The rich pages' writer builds the overriders, beside a pass of its own.
      types.Build(*this);
    } else if (json) {
      BuildOverridersBeside(overriders, *this, [&] { types.Build(*this); });
    }
    if (compare) compare = earlier.Compare(*this);
    if (compare && navigation) marks.emplace(earlier.changes());
    console::Print("%s", messages::kGenerating);
    if (navigation) {
      WriteNavigableReference(index.Text(), *this, complete ? &types : nullptr, &overriders,
                              marks ? &*marks : nullptr, model ? &*model : nullptr, &references);
    } else {
      if (model) model->Start(nullptr);
      WriteIndexHeader(index.Text());
      WriteTree(index.Text(), nullptr);
      if (compare) index.Text().Write(changes_templates::kIndexLink);
      WriteIndexFooter(index.Text());
    }
    written = index.Commit();
  } catch (const std::bad_alloc&) {
    written = false;
  }
  if (!written) {
    console::Problem(templates::kUnableToWrite, index_path.c_str());
    return;
  }
  // The rich pages share one stylesheet.
  if (navigation && complete) {
    WriteWholeFile(*this, anchors::kStyleSheetName,
                   [](platform::COutputFile& file) { file.Write(assets::kReferenceStyle); });
  }
  if (model) model->Finish();
  if (navigation && complete) WriteSearchData(*this, overriders);
  console::Print("%s", messages::kComplete);
  if (compare) {
    earlier.WriteChanges(*this, navigation);
  } else if (compareWith) {
    earlier.ReportProblem();
  }
}
