// The "realistic" profile of the benchmark's scripts: sizes, comments, white
// space, directives and states spread as real script trees spread them, and
// the whole language written as such trees write it (both superclass words,
// bodiless and native declarations, operators, constants, enumerations,
// structures, replication and cpptext blocks, default properties with object
// groups, states with labels and code).
#pragma once

#include <string>

#include "synthetic_script.h"

namespace bench {

/// The text of one realistic script declaring class `name` under
/// `super_name` (the root when empty).
GeneratedScript RealisticScript(const std::string& name, const std::string& super_name,
                                Random& random);

}  // namespace bench
