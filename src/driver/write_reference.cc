#include "driver/messages.h"
#include "model/class_list.h"
#include "platform/console.h"
#include "platform/output_file.h"
#include "platform/path.h"
#include "writer/index_writer.h"
#include "writer/navigable_reference.h"
#include "writer/templates.h"

void CClassList::WriteReference(const std::string& destDirArgument, bool navigation) {
  destDir = platform::StripOneTrailingSeparator(destDirArgument);
  const std::string index_path = platform::JoinPath(destDir, templates::kIndexFileName);
  // The destination directory is never created: it must already exist.
  platform::COutputFile index;
  if (!index.Open(index_path)) {
    console::Problem(templates::kUnableToOpen, index_path.c_str());
    return;
  }
  ResolveParents();
  SortByName();
  console::Print("%s", messages::kGenerating);
  if (navigation) {
    WriteNavigableReference(index, *this);
  } else {
    WriteIndexHeader(index);
    WriteTree(index, nullptr);
    WriteIndexFooter(index);
  }
  if (!index.Close()) {
    console::Problem(templates::kUnableToWrite, index_path.c_str());
    return;
  }
  console::Print("%s", messages::kComplete);
}
