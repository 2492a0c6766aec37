#include "model/class_record.h"

#include <cstring>

namespace {

// The fixed part of a record's texts, read from their start; the script as
// CClassList::SetTexts keeps it.
struct Head {
  size_t vars, events, functions;
  std::string_view name, superName;
  size_t script_tag;
  const char* script_dir;
  std::string_view script_file;
  ScriptFingerprint fingerprint;
  std::string_view model;
  const char* declarations;
};

Head ReadHead(const char* at) {
  Head head;
  at = packed::GetLength(at, &head.vars);
  at = packed::GetLength(at, &head.events);
  at = packed::GetLength(at, &head.functions);
  at = packed::GetText(at, &head.name);
  at = packed::GetText(at, &head.superName);
  size_t stored_tag;
  at = packed::GetLength(at, &stored_tag);
  head.script_tag = stored_tag / 2;
  head.script_dir = nullptr;
  if (head.script_tag) {
    std::memcpy(&head.script_dir, at, sizeof head.script_dir);
    at += sizeof head.script_dir;
  }
  if (head.script_tag > 1) {
    head.script_file = std::string_view(at, head.script_tag - 2);
    at += head.script_tag - 2;
  }
  head.fingerprint = ScriptFingerprint();
  if (head.script_tag) {
    at = packed::GetLength(at, &head.fingerprint.size);
    std::memcpy(&head.fingerprint.hash, at, sizeof head.fingerprint.hash);
    at += sizeof head.fingerprint.hash;
  }
  if (stored_tag & 1) at = packed::GetText(at, &head.model);
  head.declarations = at;
  return head;
}

}  // namespace

std::string_view CClassRecord::superName() const {
  return ReadHead(texts_).superName;
}

std::string CClassRecord::scriptPath() const {
  if (isState != 0 && parent) return parent->scriptPath();
  const Head head = ReadHead(texts_);
  std::string path;
  if (head.script_tag == 0) return path;
  std::string_view dir;
  packed::GetText(head.script_dir, &dir);
  path = dir;
  if (head.script_tag == 1) {
    path += head.name;
    path += ".kc";
  } else {
    path += head.script_file;
  }
  return path;
}

ScriptFingerprint CClassRecord::scriptFingerprint() const {
  if (isState != 0 && parent) return parent->scriptFingerprint();
  return ReadHead(texts_).fingerprint;
}

// A record with a model keeps its declarations only in the model.
CTextList CClassRecord::vars() const {
  const Head head = ReadHead(texts_);
  if (!head.model.empty()) return CTextList();
  return CTextList(head.declarations, 0, head.vars);
}

CTextList CClassRecord::events() const {
  const Head head = ReadHead(texts_);
  if (!head.model.empty()) return CTextList();
  return CTextList(head.declarations, head.vars, head.events);
}

CTextList CClassRecord::functions() const {
  const Head head = ReadHead(texts_);
  if (!head.model.empty()) return CTextList();
  return CTextList(head.declarations, head.vars + head.events, head.functions);
}

std::string_view CClassRecord::packedModel() const {
  return ReadHead(texts_).model;
}

std::array<size_t, 3> CClassRecord::counts() const {
  const Head head = ReadHead(texts_);
  return {head.vars, head.events, head.functions};
}
