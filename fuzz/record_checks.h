// Properties every parse must have, whatever the text: the records a script
// yields and how they hang together, and declarations that are pieces of the
// text they were parsed from.
#pragma once

#include <cstddef>
#include <string_view>

#include "model/class_list.h"

/// Checks the records `list` holds from position `first` on, which were all
/// parsed from one script whose parsed text is `text`: one class record
/// followed by its states, every name and declaration a piece of `text`.
void CheckParsedRecords(const CClassList& list, size_t first, std::string_view text);

/// Checks that two records hold the same names and declarations.
void CheckSameRecord(const CClassRecord& a, const CClassRecord& b);
