// A script's text as the lines of its source page: each line opened by its
// number (its anchor and a link to it), comments, strings, name literals,
// keywords and directives set apart as the complete reader tells them apart,
// and every byte written so that it shows as text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

class CSourceLinker;

/// The number of lines `text` is shown as: one more than its line feeds,
/// but for a line feed that ends the text. An empty text is one empty line.
size_t CountSourceLines(std::string_view text);

/// Appends `text` as numbered lines, in one pass. A block comment nests: a
/// "/*" inside it opens another level, and it ends at the "*/" that closes
/// its first, on whatever line. A line feed ends a line (a carriage return
/// right before it is dropped); "<", ">", "&" and "\"" are written as
/// entities, other control bytes as the signs that picture them (U+2400 and
/// on, U+2421 for 0x7F), tabs and bytes from 0x80 up as they are. With
/// `linker`, the names of the code it links are links.
void AppendSourceLines(std::string& page, std::string_view text, CSourceLinker* linker = nullptr);
