// Escaping of script texts written into the pages, so that a name or a
// declaration reads in the browser exactly as it stands in the script.
#pragma once

#include <string>
#include <string_view>

/// Appends `text` to `out` with "&", "<", ">" and "\"" written as entities.
void AppendEscaped(std::string& out, std::string_view text);

/// The size of `text` appended by AppendEscaped.
size_t EscapedSize(std::string_view text);

/// Returns `text` with "&", "<", ">" and "\"" written as entities.
std::string HtmlEscaped(std::string_view text);
