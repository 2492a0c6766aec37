// Properties of what the complete reader reads from a script, judged by the
// script's comments as the language reads them (block comments nest): every
// name it declares stands in the script outside comments, and no default
// value holds a "}" that closes nothing (the block is read by its braces).
#pragma once

#include <string_view>

namespace model {
struct RecordModel;
}

/// Checks the record `m` read from `script` (a class or one of its states).
void CheckReadScript(const model::RecordModel& m, std::string_view script);
