// What the rich pages show of the functions declared again below a class:
// the "Overridden in" line under each of its functions, and the page of a
// class's long lists, whole, in parts of at most COverriders::kPartBytes.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "writer/links/overriders.h"

class CClassList;

/// Appends the file name of part `part` (from 0) of the page of overriders
/// of class `record`: "over-00012.html", "over-00012-2.html".
void AppendOverPageName(std::string& out, size_t record, size_t part);

/// Appends the "Overridden in" line of the function `name` of class
/// `record`, or nothing when none declares it again. `sections` are the
/// class's, as COverriders::Sections lays them, once for the whole page;
/// `scratch` is room.
void AppendOverriddenIn(std::string& page, const COverriders& overriders, size_t record,
                        std::string_view name, std::span<const COverriders::Section> sections,
                        std::vector<COverriders::Declaration>& scratch);

/// Appends part `part` (from 0) of the page of overriders of `record`.
void AppendOverPage(std::string& page, const COverriders& overriders, size_t record, size_t part);
