// The pieces every record page shares, plain or with links: the lists of
// declarations and the writing of a finished page to its file.
#pragma once

#include <string>
#include <string_view>

class CClassRecord;

/// Appends the variables, events and functions of `record` as three lists,
/// through the end of the page.
void AppendDeclarations(std::string& page, const CClassRecord& record);

/// Writes the finished `page` to `path`; reports a page that cannot be
/// written and returns false.
bool WritePageFile(const std::string& path, std::string_view page);
