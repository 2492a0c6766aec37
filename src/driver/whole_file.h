// Writing a file beside the index, whole or not at all.
#pragma once

#include <new>

#include "model/class_list.h"
#include "platform/console.h"
#include "platform/path.h"
#include "platform/replacing_file.h"
#include "writer/common/templates.h"

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
