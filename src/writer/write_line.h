// printf-style formatting straight into an output file or a string, with no
// limit on the length of what is formatted.
#pragma once

#include <string>

#include "platform/output_file.h"

/// Formats one piece and writes it whole to `file`.
void WriteLine(platform::COutputFile& file, const char* format, ...)
    __attribute__((format(printf, 2, 3)));

/// Formats one piece and appends it whole to `out`.
void AppendFormat(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));
