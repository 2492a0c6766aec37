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

void AppendType(std::string& out, std::string_view type, std::vector<TypeSpan>* types) {
  if (types) {
    types->push_back({static_cast<uint32_t>(out.size()), static_cast<uint32_t>(type.size())});
  }
  out.append(type);
}

void AppendDeclaration(std::string& out, const RecordModel& record, const Variable& variable,
                       std::vector<TypeSpan>* types) {
  out.append("var");
  if (variable.category) {
    out.push_back('(');
    out.append(*variable.category);
    out.push_back(')');
  }
  out.push_back(' ');
  AppendWords(out, record, variable.modifiers);
  if (!variable.type.empty()) {
    AppendType(out, variable.type, types);
    out.push_back(' ');
  }
  out.append(variable.name);
  if (variable.size) {
    out.push_back('[');
    out.append(*variable.size);
    out.push_back(']');
  }
}

void AppendDeclaration(std::string& out, const RecordModel& record, const Function& function,
                       std::vector<TypeSpan>* types) {
  AppendWords(out, record, function.modifiers);
  out.append(KindName(function.kind));
  if (function.precedence) out.append(*function.precedence);
  out.push_back(' ');
  if (function.returns) {
    AppendType(out, *function.returns, types);
    out.push_back(' ');
  }
  out.append(function.name);
  AppendParameters(out, record, function, types);
}

void AppendParameters(std::string& out, const RecordModel& record, const Function& function,
                      std::vector<TypeSpan>* types) {
  out.push_back('(');
  for (uint32_t i = 0; i < function.parameterCount; ++i) {
    const Parameter& parameter = record.parameters[function.firstParameter + i];
    if (i > 0) out.append(", ");
    AppendWords(out, record, parameter.modifiers);
    if (!parameter.type.empty()) AppendType(out, parameter.type, types);
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
