// The source tree scan: walks a directory tree depth first in name order and
// runs every class script (a file ending in ".kc") through load, condense and
// parse, reading a few scripts ahead on a second thread, and reports each file
// and each unusable directory on the console in scan order.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/class_list.h"
#include "platform/directory.h"
#include "reader/script_reader.h"

/// Scans `dir` (relative to the current directory, or absolute) and adds the
/// records of its scripts, read by a reader of `kind`, to `list`. False when
/// `dir` itself cannot be opened or listed (the reason is printed); problems
/// below it are reported and passed over.
bool ScanDirectory(CClassList& list, const std::string& dir,
                   ReaderKind kind = ReaderKind::kDeclarations);

/// True when `name` ends in ".kc", in any case.
bool IsScriptName(std::string_view name);

/// Puts directory entries in scan order: by name compared case-insensitively,
/// ties broken by plain byte order.
void SortEntries(std::vector<platform::DirEntry>& entries);
