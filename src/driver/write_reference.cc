#include <new>

#include "driver/messages.h"
#include "model/class_list.h"
#include "platform/console.h"
#include "platform/path.h"
#include "platform/replacing_file.h"
#include "writer/anchors.h"
#include "writer/assets.h"
#include "writer/index_writer.h"
#include "writer/member_data.h"
#include "writer/model_json.h"
#include "writer/navigable_reference.h"
#include "writer/overriders.h"
#include "writer/packages.h"
#include "writer/templates.h"
#include "writer/type_table.h"

namespace {

// Writes the file `name` beside the index as the index is written, whole or
// not at all, its text made by `write`; a problem is reported.
template <typename Write>
void WriteWholeFile(const CClassList& list, const char* name, Write write) {
  const std::string path = platform::JoinPath(list.destDir, name);
  platform::CReplacingFile file;
  if (!file.Open(path)) {
    console::Problem(templates::kUnableToOpen, path.c_str());
    return;
  }
  bool written = false;
  try {
    write(file.Text());
    written = file.Commit();
  } catch (const std::bad_alloc&) {
    written = false;
  }
  if (!written) console::Problem(templates::kUnableToWrite, path.c_str());
}

}  // namespace

void CClassList::WriteReference(const std::string& destDirArgument, bool navigation, bool json,
                                bool complete) {
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
  bool written = false;
  // What the type names of declarations name, for the writers that link
  // them: the model file and the rich pages.
  CTypeTable types;
  // Who declares each function again, and what each function overrides.
  COverriders overriders;
  try {
    ResolveParents();
    SortByName(complete);
    if (json || (navigation && complete)) {
      types.Build(*this);
      overriders.Build(*this);
    }
    console::Print("%s", messages::kGenerating);
    if (navigation) {
      WriteNavigableReference(index.Text(), *this, complete ? &types : nullptr, &overriders);
    } else {
      WriteIndexHeader(index.Text());
      WriteTree(index.Text(), nullptr);
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
  if (json) {
    WriteWholeFile(*this, templates::kModelFileName,
                   [this, &types, &overriders](platform::COutputFile& file) {
                     WriteModelJson(file, *this, types, overriders);
                   });
  }
  if (navigation && complete) {
    WriteWholeFile(*this, anchors::kMemberDataName,
                   [this](platform::COutputFile& file) { WriteMemberData(file, *this); });
    WriteWholeFile(*this, anchors::kPackagesPageName,
                   [this](platform::COutputFile& file) { WritePackagesPage(file, *this); });
  }
  console::Print("%s", messages::kComplete);
}
