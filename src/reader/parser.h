// The declaration parser: turns the condensed text of one class script into
// a class record, and a state record for each state it declares, with their
// names and declaration texts. Bodies are skipped, not read.
#pragma once

#include <string_view>

#include "model/class_list.h"
#include "reader/source_buffer.h"

/// Creates the script's class record in `list` and fills it from the
/// condensed `buffer`, noting `scriptPath` as its script; false only if that
/// record cannot be created.
bool ParseSource(CClassList& list, const CSourceBuffer& buffer, std::string_view scriptPath = {});

/// Fills `record` from the condensed `text`, creating a state record for each
/// state of a class; false when a record or its texts cannot be had.
bool ParseBody(CClassList& list, CClassRecord& record, const char* text,
               std::string_view scriptPath = {});
