// The pieces of a navigable record page that name and link other records:
// record numbers as the pages' file names have them, the file name of a
// record's page and the link to a line of a source page (which every page
// kind writes), a link to a record's page, and a line of such links.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "writer/common/anchors.h"

class CClassList;
struct TreeIndex;

/// Appends the file name of record `record`'s page: "00012.html".
void AppendPageName(std::string& out, size_t record);

/// Appends "source-00012.html#L42", or the page alone for line 0 (unknown).
void AppendSourceLink(std::string& out, size_t classRecord, uint32_t line);

/// Appends the head of a page about the class `name` at `record`: `open`,
/// the name, `head`, the name again, `headingEnd` (which opens a link), the
/// class's page as the link's target and its name as its text, `linkEnd`.
void AppendClassPageHead(std::string& page, const char* open, const char* head,
                         const char* headingEnd, const char* linkEnd, std::string_view name,
                         size_t record);

/// Appends a link to the page of record `i`, its name as the link's text.
void AppendLink(std::string& page, const CClassList& list, size_t i);

/// Appends one line of links to the records `numbers` after `opening`, or
/// "none", `separator` between them.
void AppendLinks(std::string& page, const char* opening, const CClassList& list,
                 const std::vector<size_t>& numbers, const char* separator);

/// Appends the lines of links around record `i`: the way up to the root,
/// and for a class its subclasses and its states.
void AppendNeighbours(std::string& page, const CClassList& list, const TreeIndex& tree, size_t i);

/// Appends the link back to record `i`'s entry in the index.
void AppendIndexLink(std::string& page, size_t i);
