// The fixed texts of the packages page (--navigation with --complete): the
// head with the rich pages' stylesheet, one section per package with its
// counts and its classes, and the line that names a record's package on its
// rich page. Kept as data, readable as they are written; links are written
// with the rich pages' texts (rich_templates.h).
#pragma once

#include "writer/common/search_bar.h"

namespace packages_templates {

inline constexpr const char* kOpen =
    "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"windows-1252\"><title>Packages"
    "</title>\n<link rel=\"stylesheet\" href=\"reference.css\"></head><body>\n" KORVANREF_SEARCH_BAR
    "<header>\n<h1>Packages</h1>\n<p><a href=\"index.html\">Class reference</a></p>\n</header>\n";
inline constexpr const char* kSectionOpen = "<section id=\"";
inline constexpr const char* kHeadingOpen = "\"><h2>";
inline constexpr const char* kNoPackage = "(no package)";
inline constexpr const char* kHeadingEnd = "</h2>\n<p>";
inline constexpr const char* kClass = " class";
inline constexpr const char* kClasses = " classes";
inline constexpr const char* kState = " state";
inline constexpr const char* kStates = " states";
inline constexpr const char* kCountSeparator = ", ";
inline constexpr const char* kCountsEnd = "</p>\n<p>";
inline constexpr const char* kSectionEnd = "</p>\n</section>\n";
inline constexpr const char* kEnd = "</body></html>\n";

// On a rich record page, beside its script.
inline constexpr const char* kPackageOfRecord = "<p>Package: ";
inline constexpr const char* kPackageOfRecordEnd = "</p>\n";

}  // namespace packages_templates
