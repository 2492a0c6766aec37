#include "reader/parser.h"

#include "platform/thread_scratch.h"
#include "reader/declaration_reader.h"

// One reader per thread, kept from call to call so that its room is reused.

bool ParseBody(CClassList& list, CClassRecord& record, const char* text, const ScriptPath& script) {
  CDeclarationReader& reader = platform::ThreadScratch<CDeclarationReader>();
  return reader.Parse(text) && reader.KeepInto(list, record, script);
}

bool ParseSource(CClassList& list, const CSourceBuffer& buffer, const ScriptPath& script) {
  CDeclarationReader& reader = platform::ThreadScratch<CDeclarationReader>();
  return reader.Parse(buffer.Text()) && reader.Keep(list, script);
}
