// The declaration parser in one step, for callers that read a script and keep
// its records at once: turns the condensed text of one class script into a
// class record, and a state record for each state it declares, with their
// names and declaration texts.
#pragma once

#include "model/class_list.h"
#include "reader/source_buffer.h"

/// Creates the script's class record in `list` and fills it from the
/// condensed `buffer`, noting `script` as its script; false, with the list as
/// it was, when a record or its texts cannot be had.
bool ParseSource(CClassList& list, const CSourceBuffer& buffer, const ScriptPath& script = {});

/// Fills `record` from the condensed `text`, creating a state record for each
/// state of a class; false when a record or its texts cannot be had.
bool ParseBody(CClassList& list, CClassRecord& record, const char* text,
               const ScriptPath& script = {});
