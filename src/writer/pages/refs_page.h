// The pages of references of a record ("refs-00012.html", then
// "refs-00012-2.html"... when one page would pass CReferences::kPartBytes):
// who refers to the class and to each of its members, grouped by the class
// and function each reference stands in; and the line on the record page
// that says how many refer to a thing, linked to its list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "writer/links/references.h"

class CClassList;
class CRichPages;

/// Appends the file name of part `part` (from 0) of the pages of references
/// of record `record`: "refs-00012.html", "refs-00012-2.html".
void AppendRefsPageName(std::string& out, size_t record, size_t part);

/// Appends part `part` of the pages of references of record `record`.
void AppendRefsPage(std::string& page, const CClassList& list, const CReferences& refs,
                    size_t record, size_t part);

/// Appends the line that says how many places in how many classes refer to
/// the member `name` of `kind` (a SourceLink kind) of record `record`,
/// linked to their list; nothing when none do.
void AppendReferencedLine(std::string& page, const CReferences& refs, size_t record, uint8_t kind,
                          std::string_view name);
