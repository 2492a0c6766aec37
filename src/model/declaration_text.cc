#include "model/declaration_text.h"

namespace model {

namespace {

// Appends the words of `words`, each followed by a space.
void AppendWords(std::string& out, const RecordModel& record, Words words) {
  for (std::string_view word : record.Span(words)) {
    out.append(word);
    out.push_back(' ');
  }
}

}  // namespace

void AppendDeclaration(std::string& out, const RecordModel& record, const Variable& variable) {
  out.append("var");
  if (variable.category) {
    out.push_back('(');
    out.append(*variable.category);
    out.push_back(')');
  }
  out.push_back(' ');
  AppendWords(out, record, variable.modifiers);
  if (!variable.type.empty()) {
    out.append(variable.type);
    out.push_back(' ');
  }
  out.append(variable.name);
  if (variable.size) {
    out.push_back('[');
    out.append(*variable.size);
    out.push_back(']');
  }
}

void AppendDeclaration(std::string& out, const RecordModel& record, const Function& function) {
  AppendWords(out, record, function.modifiers);
  out.append(KindName(function.kind));
  if (function.precedence) out.append(*function.precedence);
  out.push_back(' ');
  if (function.returns) {
    out.append(*function.returns);
    out.push_back(' ');
  }
  out.append(function.name);
  out.push_back('(');
  for (uint32_t i = 0; i < function.parameterCount; ++i) {
    const Parameter& parameter = record.parameters[function.firstParameter + i];
    if (i > 0) out.append(", ");
    AppendWords(out, record, parameter.modifiers);
    out.append(parameter.type);
    if (!parameter.name.empty()) {
      if (!parameter.type.empty()) out.push_back(' ');
      out.append(parameter.name);
    }
    if (parameter.value) {
      out.append(" = ");
      out.append(*parameter.value);
    }
  }
  out.push_back(')');
}

void AppendDeclaration(std::string& out, const Constant& constant) {
  out.append("const ");
  out.append(constant.name);
  out.append(" = ");
  out.append(constant.value);
}

}  // namespace model
