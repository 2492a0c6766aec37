// The reader of the whole script language, comments and line numbers
// included.
#pragma once

#include <memory>

#include "reader/script_reader.h"

/// A new complete reader; null when it cannot be had.
std::unique_ptr<CScriptReader> MakeCompleteReader();
