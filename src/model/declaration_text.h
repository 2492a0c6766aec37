// A member's declaration rebuilt from the parts of the model, one way for
// every page that shows it: modifiers, type or return type, name, and the
// parameters with their modifiers, types and defaults. A page that links
// the type names learns where each one sits in the text built.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/record_model.h"

namespace model {

/// Where a type name sits in a text: its first byte and its length.
struct TypeSpan {
  uint32_t begin = 0;
  uint32_t length = 0;
};

/// Appends `type`, adding where it sits in `out` to `types` when given.
void AppendType(std::string& out, std::string_view type, std::vector<TypeSpan>* types);

/// "var(Movement) float Speed" or "var transient Creature Leader[4]"; adds
/// where its type sits to `types` when given.
void AppendDeclaration(std::string& out, const RecordModel& record, const Variable& variable,
                       std::vector<TypeSpan>* types = nullptr);

/// "native(310) final function bool Walk(vector To, optional float Rate)";
/// adds where its return and parameter types sit to `types` when given.
void AppendDeclaration(std::string& out, const RecordModel& record, const Function& function,
                       std::vector<TypeSpan>* types = nullptr);

/// "(vector To, optional float Rate)": a function's parameters as declared;
/// adds where their types sit to `types` when given.
void AppendParameters(std::string& out, const RecordModel& record, const Function& function,
                      std::vector<TypeSpan>* types = nullptr);

/// "const MaxLegs = 8".
void AppendDeclaration(std::string& out, const Constant& constant);

}  // namespace model
