// Writing a file beside the index, whole or not at all.
#pragma once

#include <new>
#include <string>
#include <utility>
#include <vector>

#include "model/class_list.h"
#include "platform/console.h"
#include "platform/path.h"
#include "platform/replacing_file.h"
#include "writer/common/templates.h"

/// The problems met writing files on a second thread, told in their turn
/// on the main thread so that the console says the same in every run.
struct LaterProblems {
  std::vector<std::pair<const char*, std::string>> problems;  // format and path

  void Tell() const {
    for (const auto& [format, path] : problems) console::Problem(format, path.c_str());
  }
};

// Writes the file `name` beside the index as the index is written, whole or
// not at all, its text made by `write`; a problem is reported, or kept in
// `later` when given.
template <typename Write>
void WriteWholeFile(const CClassList& list, const char* name, Write write,
                    LaterProblems* later = nullptr) {
  const std::string path = platform::JoinPath(list.destDir, name);
  const auto problem = [&](const char* format) {
    if (later) {
      later->problems.emplace_back(format, path);
    } else {
      console::Problem(format, path.c_str());
    }
  };
  platform::CReplacingFile file;
  if (!file.Open(path)) {
    problem(templates::kUnableToOpen);
    return;
  }
  bool written = false;
  try {
    write(file.Text());
    written = file.Commit();
  } catch (const std::bad_alloc&) {
    written = false;
  }
  if (!written) problem(templates::kUnableToWrite);
}
