// A script's path as the pages and the model file show it. A file system
// gives a path as bytes: one that is valid UTF-8 is read as UTF-8, as today's
// systems name files, and any other as windows-1252, as the scripts' texts
// are read.
#pragma once

#include <string>
#include <string_view>

/// True when `text` is valid UTF-8: no stray or missing continuation byte, no
/// overlong form, no surrogate, nothing above U+10FFFF.
bool IsUtf8(std::string_view text);

/// Appends `path` as page text: "&", "<", ">" and "\"" as entities and, when
/// the path is valid UTF-8, each character from U+0080 up as a character
/// reference, which reads the same in a page of any character set. Any other
/// path's bytes are kept, to be read in the page's windows-1252.
void AppendPathText(std::string& out, std::string_view path);

/// Appends `path` for the inside of a double-quoted script string, as
/// AppendScriptString does, but for a path that is valid UTF-8 each
/// character from U+0080 up as a \u escape (two for one beyond U+FFFF),
/// which reads the same whatever character set the page declares.
void AppendPathScriptString(std::string& out, std::string_view path);
