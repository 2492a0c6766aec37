// The default properties block of a class, read line by line as it is
// written: "Key=Value" (no ";" needed, several on one line split at ";"),
// "Key(0)=" and "Key[0]=" for an array's entries, and "Begin Object ... End
// Object" groups kept whole. Comments are no entries.
#pragma once

#include <cstdint>
#include <vector>

#include "model/record_model.h"
#include "reader/doc_comment.h"

namespace reader {

/// Reads the entries of a block's text [begin, end), between its braces; the
/// text starts on line `line`. Keys written with blanks in them are kept
/// without them in `arena`.
void ReadDefaultProperties(const char* begin, const char* end, uint32_t line, CDocArena& arena,
                           std::vector<model::DefaultProperty>& out);

}  // namespace reader
