// The default properties block of a class, read line by line as it is
// written: "Key=Value" (no ";" needed), "Key(0)=" and "Key[0]=" for an
// array's entries, and "Begin Object ... End Object" groups kept whole.
#pragma once

#include <cstdint>
#include <vector>

#include "model/record_model.h"
#include "reader/doc_comment.h"

namespace reader {

/// Where a default properties block ended: after its "}" (or at the end of
/// the text), and the line there.
struct DefaultsEnd {
  const char* at;
  uint32_t line;
};

/// Reads the entries from `begin`, just after the block's "{" on line `line`,
/// up to the "}" that starts a line of its own or to `end`; keys written with
/// blanks in them are kept without them in `arena`.
DefaultsEnd ReadDefaultProperties(const char* begin, const char* end, uint32_t line,
                                  CDocArena& arena, std::vector<model::DefaultProperty>& out);

}  // namespace reader
