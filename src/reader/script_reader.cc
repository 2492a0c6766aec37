#include "reader/script_reader.h"

#include <new>

#include "reader/complete_reader.h"
#include "reader/declaration_reader.h"

std::unique_ptr<CScriptReader> MakeScriptReader(ReaderKind kind) {
  switch (kind) {
    case ReaderKind::kDeclarations:
      return std::unique_ptr<CScriptReader>(new (std::nothrow) CDeclarationReader());
    case ReaderKind::kComplete:
      return MakeCompleteReader();
  }
  return nullptr;
}
