// The pieces every record page shares, plain or with links: the lists of
// declarations and the writing of a finished page to its file.
#pragma once

#include <string>
#include <string_view>

#include "model/class_record.h"

/// Appends the variables, events and functions of `record` as three lists,
/// through the end of the page.
void AppendDeclarations(std::string& page, const CClassRecord& record);

/// Writes the finished `page` to `path`; says how that went, reporting
/// nothing.
PageStatus WritePageText(const std::string& path, std::string_view page);

/// Reports on the console a page at `path` that could not be written; does
/// nothing for one that was.
void ReportPage(const std::string& path, PageStatus status);
