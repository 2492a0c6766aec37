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

/// How much of a packed model to read: the whole; the record and its
/// members alone, without functions' parameters and default properties
/// (left empty), for readers of names that need no more; or the record and
/// the types it declares alone (its constants, enumerations and
/// structures), without variables and functions either.
enum class UnpackPart { kAll, kMembers, kTypes };

/// Reads the packed model at `packed` into `model` (emptied first), its texts
/// as views into `packed`.
void UnpackModel(std::string_view packed, RecordModel& model, UnpackPart part = UnpackPart::kAll);

}  // namespace model
