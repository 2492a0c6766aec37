#include "reader/parser.h"

#include "reader/declaration_reader.h"

namespace {

// One reader per thread, kept from call to call so that its room is reused.
thread_local CDeclarationReader reader;

}  // namespace

bool ParseBody(CClassList& list, CClassRecord& record, const char* text, const ScriptPath& script) {
  return reader.Parse(text) && reader.KeepInto(list, record, script);
}

bool ParseSource(CClassList& list, const CSourceBuffer& buffer, const ScriptPath& script) {
  return reader.Parse(buffer.Text()) && reader.Keep(list, script);
}
