// The changes page: what changed since an earlier model file, for people,
// grouped by package and class, with counts at the top; each change's path
// links the member on its new record page when the pages have anchors.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/model_changes.h"

namespace platform {
class COutputFile;
}

/// Appends the counts of changes: "2 classes added, 1 removed, 14 members
/// changed, 3 added, 5 removed".
void AppendChangeCounts(std::string& out, const model::ChangeCounts& counts);

/// Writes the changes page of `changes`, found against `before` (the model
/// file's path as given), to `file`; with `anchors`, each change that has a
/// place on a new record page links it.
void WriteChangesPage(platform::COutputFile& file, std::string_view before,
                      const std::vector<model::Change>& changes, const model::ChangeCounts& counts,
                      bool anchors);
