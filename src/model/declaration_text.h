// A member's declaration rebuilt from the parts of the model, one way for
// every page that shows it: modifiers, type or return type, name, and the
// parameters with their modifiers, types and defaults.
#pragma once

#include <string>

#include "model/record_model.h"

namespace model {

/// "var(Movement) float Speed" or "var transient Creature Leader[4]".
void AppendDeclaration(std::string& out, const RecordModel& record, const Variable& variable);

/// "native(310) final function bool Walk(vector To, optional float Rate)".
void AppendDeclaration(std::string& out, const RecordModel& record, const Function& function);

/// "const MaxLegs = 8".
void AppendDeclaration(std::string& out, const Constant& constant);

}  // namespace model
