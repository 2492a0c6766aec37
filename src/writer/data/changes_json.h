// The changes file: what changed since an earlier model file, as JSON, for
// release checks and other tools. Fields may be added within its format,
// never renamed or removed.
#pragma once

#include <string_view>
#include <vector>

#include "model/model_changes.h"

namespace platform {
class COutputFile;
}

/// Writes the changes file of `changes`, found against the model file
/// `before` (its path as given), to `file`.
void WriteChangesJson(platform::COutputFile& file, std::string_view before,
                      const std::vector<model::Change>& changes);
