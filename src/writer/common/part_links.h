// Pages split in parts (the pages of overriders and of references): each
// part's file name, and the line that says which part a page is and links
// the previous and the next.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

/// Appends the file name of part `part` (from 0) of the pages named
/// `prefix` of record `record`: "over-00012.html", "over-00012-2.html".
void AppendPartPageName(std::string& out, std::string_view prefix, size_t record, size_t part);

/// Appends, for a page in more than one part, the line "Part 2 of 3:" with
/// links to the previous and next parts of the pages named `prefix` of
/// record `record`; nothing for a page of one part.
void AppendPartLine(std::string& page, std::string_view prefix, size_t record, size_t part,
                    size_t parts);
