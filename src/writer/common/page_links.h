// The pieces of a navigable record page that name and link other records:
// record numbers as the pages' file names have them, a link to a record's
// page, and a line of such links.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class CClassList;
struct TreeIndex;

/// Record numbers are written at least this many digits long.
inline constexpr size_t kRecordNumberWidth = 5;

/// Appends `n` in decimal, at least `width` digits long (zero-padded): a
/// record number is written as "%05ld" would, without a call to format it.
void AppendNumber(std::string& out, size_t n, size_t width = 1);

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
