// How one script becomes records in two steps, so that scripts can be read on
// one thread while the scan keeps their records on another: `Read` takes the
// loaded text and finds the script's classes, states and declarations in the
// reader's own room; `Keep` then adds them to the record list. A reader keeps
// its room from script to script.
#pragma once

#include <memory>

#include "model/class_list.h"
#include "reader/source_buffer.h"

/// Which reader a run uses.
enum class ReaderKind {
  kDeclarations,  // the declaration parser: condensed text, declarations as they stand
  kComplete,      // the whole language, comments and line numbers included
};

class CScriptReader {
 public:
  virtual ~CScriptReader() = default;

  /// Reads the script whose text, as loaded from its file, `buffer` holds; the
  /// reader may change the buffer (condense it). What is found may refer into
  /// the buffer, which must stay as it is until `Keep`. False when the script
  /// cannot be read for want of memory.
  virtual bool Read(CSourceBuffer& buffer) = 0;

  /// Adds the records of the last `Read` to `list` as those of `script`: the
  /// class first, then its states in the order they were declared. False,
  /// with the list as it was, when room for them cannot be had.
  virtual bool Keep(CClassList& list, const ScriptPath& script) = 0;
};

/// A new reader of the given kind; null when it cannot be had.
std::unique_ptr<CScriptReader> MakeScriptReader(ReaderKind kind);
