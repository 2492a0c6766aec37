// The fixed texts of a source page: a script shown as numbered lines with
// its comments, strings, name literals, keywords and directives set apart
// (the classes are styled by the rules for body.source in the one stylesheet
// of the rich pages). Kept as data, readable as they are written.
#pragma once

#include <string_view>

#include "writer/common/search_bar.h"

namespace source_templates {

// The page around the lines: the script's path in the title and heading, a
// link to its class's record page, then the lines in a <pre> that says how
// many digits the line numbers have.
inline constexpr std::string_view kPageOpen =
    "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"windows-1252\"><title>Script ";
inline constexpr std::string_view kPageHead =
    "</title>\n<link rel=\"stylesheet\" href=\"reference.css\"></head><body "
    "class=\"source\">\n" KORVANREF_SEARCH_BAR "<h1>Script <code>";
inline constexpr std::string_view kPageClass = "</code></h1>\n<p>Class <a href=\"";
inline constexpr std::string_view kPageClassMiddle = "\">";
inline constexpr std::string_view kPageClassUnnamed = "(no name)";
inline constexpr std::string_view kPageLinesOpen = "</a></p>\n<pre style=\"--digits:";
inline constexpr std::string_view kPageLinesDigitsEnd = "\">";
inline constexpr std::string_view kPageEnd = "</pre>\n</body></html>\n";
inline constexpr std::string_view kPageUnreadable =
    "</a></p>\n<p>The script could not be read when this page was written.</p>\n"
    "</body></html>\n";

// Each line starts with its number, which is the line's anchor and a link to
// it: <a id="L42" href="#L42">42</a>.
inline constexpr std::string_view kLineOpen = "<a id=\"";
inline constexpr std::string_view kLineLink = "\" href=\"#";
inline constexpr std::string_view kLineNumber = "\">";
inline constexpr std::string_view kLineClose = "</a>";

// What sets a piece of the script apart; a piece that goes on past its line
// is closed at the line end and opened again after the next line's number.
inline constexpr std::string_view kComment = "<span class=\"c\">";
inline constexpr std::string_view kKeyword = "<span class=\"k\">";
inline constexpr std::string_view kString = "<span class=\"s\">";
inline constexpr std::string_view kNameLiteral = "<span class=\"n\">";
inline constexpr std::string_view kDirective = "<span class=\"d\">";
inline constexpr std::string_view kSpanEnd = "</span>";

}  // namespace source_templates
