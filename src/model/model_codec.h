// The packed form of a record's model, kept in the record list's store: its
// numbers and texts one after another, lengths as the store writes them, a
// type or modifier it repeats pointing back to where it stood. A packed
// model is read back as views into the store, with no copy of a text.
#pragma once

#include <string>
#include <string_view>

#include "model/record_model.h"

namespace model {

/// Appends the packed form of `model` to `out`.
void PackModel(const RecordModel& model, std::string& out);

/// Reads the packed model at `packed` into `model` (emptied first), its texts
/// as views into `packed`.
void UnpackModel(std::string_view packed, RecordModel& model);

}  // namespace model
