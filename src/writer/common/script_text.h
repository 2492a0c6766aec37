// Script texts written as data into a page's <script>: inside a string
// literal they must neither end the literal nor the script element, whatever
// bytes a name holds.
#pragma once

#include <string>
#include <string_view>

/// Appends `text` for the inside of a double-quoted script string: "\\" and
/// "\"" escaped, "<", ">" and "&" as \x escapes so that no "</script>" or
/// "<!--" can form, and control bytes as \x escapes, but for a line feed:
/// it separates texts in the data, so it is shown as the sign for a newline
/// (U+2424).
/// Bytes from 0x80 up are kept: the page declares the 8-bit character set
/// they are read in.
void AppendScriptString(std::string& out, std::string_view text);
