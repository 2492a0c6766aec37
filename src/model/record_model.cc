#include "model/record_model.h"

namespace model {

std::string_view KindName(FunctionKind kind) {
  switch (kind) {
    case FunctionKind::kFunction:
      return "function";
    case FunctionKind::kEvent:
      return "event";
    case FunctionKind::kDelegate:
      return "delegate";
    case FunctionKind::kOperator:
      return "operator";
    case FunctionKind::kPreOperator:
      return "preoperator";
    case FunctionKind::kPostOperator:
      return "postoperator";
  }
  return "function";
}

void RecordModel::Clear() {
  isState = false;
  name = {};
  extends.reset();
  within.reset();
  modifiers = {};
  line = 0;
  doc.reset();
  ignores = {};
  words.clear();
  constants.clear();
  enums.clear();
  structs.clear();
  variables.clear();
  functions.clear();
  parameters.clear();
  defaults.clear();
}

size_t RecordModel::VariableCount() const {
  size_t count = 0;
  for (const Variable& variable : variables) count += variable.structure == 0;
  return count;
}

size_t RecordModel::EventCount() const {
  size_t count = 0;
  for (const Function& function : functions) count += function.kind == FunctionKind::kEvent;
  return count;
}

size_t RecordModel::FunctionCount() const {
  return functions.size() - EventCount();
}

}  // namespace model
