#include "model/class_record.h"

namespace {

// The fixed part of a record's texts, read from their start.
struct Head {
  size_t vars, events, functions;
  std::string_view name, superName, scriptPath;
  const char* declarations;
};

Head ReadHead(const char* at) {
  Head head;
  at = packed::GetLength(at, &head.vars);
  at = packed::GetLength(at, &head.events);
  at = packed::GetLength(at, &head.functions);
  at = packed::GetText(at, &head.name);
  at = packed::GetText(at, &head.superName);
  head.declarations = packed::GetText(at, &head.scriptPath);
  return head;
}

}  // namespace

std::string_view CClassRecord::superName() const {
  return ReadHead(texts_).superName;
}

std::string_view CClassRecord::scriptPath() const {
  if (isState != 0 && parent) return parent->scriptPath();
  return ReadHead(texts_).scriptPath;
}

CTextList CClassRecord::vars() const {
  const Head head = ReadHead(texts_);
  return CTextList(head.declarations, 0, head.vars);
}

CTextList CClassRecord::events() const {
  const Head head = ReadHead(texts_);
  return CTextList(head.declarations, head.vars, head.events);
}

CTextList CClassRecord::functions() const {
  const Head head = ReadHead(texts_);
  return CTextList(head.declarations, head.vars + head.events, head.functions);
}
