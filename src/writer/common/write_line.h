// printf-style formatting straight into an output file or a string, with no
// limit on the length of what is formatted. The conversions are those the
// page templates use: "%s", "%d", "%ld" and "%zu" with an optional "0" or
// "-" flag and a width, and "%%"; any other is written out as it stands.
#pragma once

#include <string>

#include "platform/output_file.h"

/// Formats one piece and writes it to `file` as it is formatted, so it costs
/// only what it writes.
void WriteLine(platform::COutputFile& file, const char* format, ...)
    __attribute__((format(printf, 2, 3)));

/// Formats one piece and appends it whole to `out`.
void AppendFormat(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));
