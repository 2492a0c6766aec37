// Properties of a whole reference written with --navigation --complete
// --json, whatever the scripts: every link inside it leads to a file that
// was written and to an element of that file, no page names two elements
// alike, every member of the search data has its anchor on the page it
// names, and the model file is valid JSON in UTF-8 that agrees with the
// index. A broken property prints the file and what broke, and aborts.
#pragma once

#include <string>

class CClassList;

/// Checks the reference in `destDir`, which holds nothing but what one run
/// wrote there from the records of `list` (linked and sorted by that run).
void CheckReference(const std::string& destDir, const CClassList& list);
