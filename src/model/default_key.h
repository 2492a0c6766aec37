// What one default property sets, read from its key: a variable, one entry
// of an array ("Key(0)", "Key[0]": the name and the index written inside
// the brackets, whichever brackets), or the object a "Begin Object" group
// makes, named by the group's "Name=". Two properties of a class and its
// ancestors set the same thing when these parts are equal but for case.
#pragma once

#include <string_view>

#include "model/record_model.h"

namespace model {

struct DefaultKey {
  bool group = false;      // a "Begin Object" group
  std::string_view name;   // the variable, or the group's object (empty: none)
  std::string_view index;  // an array entry's index; empty for a whole variable
};

/// The parts of `property`'s key, as views into its key or value.
DefaultKey ReadDefaultKey(const DefaultProperty& property);

}  // namespace model
