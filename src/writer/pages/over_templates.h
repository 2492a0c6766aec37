// The fixed texts of the "Overridden in" lists: the line under a function
// on a class page, and the pages that hold the whole of long lists
// ("over-00012.html", more parts "over-00012-2.html", ...). Links and
// separators are the rich pages' own (rich_templates.h).
#pragma once

#include "writer/common/search_bar.h"

namespace over_templates {

// The line under a function: its first entries, and a link to the rest.
inline constexpr const char* kLineOpen = "<p class=\"ovi\">Overridden in ";
inline constexpr const char* kMoreMiddle = "\">and ";
inline constexpr const char* kMoreEnd = " more</a>";
inline constexpr const char* kLineEnd = "</p>\n";

// The page of a class's long lists.
inline constexpr const char* kPageName = "over-";
inline constexpr const char* kOpen =
    "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"windows-1252\"><title>"
    "Overridden functions of class ";
inline constexpr const char* kHead =
    "</title>\n<link rel=\"stylesheet\" href=\"reference.css\"></head><body>\n" KORVANREF_SEARCH_BAR
    "<header>\n"
    "<h1>Overridden functions of class ";
inline constexpr const char* kHeadingEnd = "</h1>\n<p>Class: <a href=\"";
inline constexpr const char* kClassLinkEnd = "</a></p>\n";
inline constexpr const char* kHeaderEnd = "</header>\n";
inline constexpr const char* kSectionOpen = "<section id=\"";
inline constexpr const char* kSectionLink = "\"><h2><a href=\"";
inline constexpr const char* kSectionCount = "</a> is overridden in ";
inline constexpr const char* kSectionCountEnd = " declarations";
inline constexpr const char* kContinued = " (continued)";
inline constexpr const char* kSectionListOpen = "</h2>\n<p>";
inline constexpr const char* kSectionEnd = "</p>\n</section>\n";
inline constexpr const char* kEnd = "</body></html>\n";

}  // namespace over_templates
