// The fixed texts of a source page: a script shown as numbered lines with
// its comments, strings, name literals, keywords and directives set apart
// (the classes are styled by assets/source.css, written beside the pages
// under kSourceStyleName). Kept as data, readable as they are written.
#pragma once

namespace source_templates {

// The page around the lines: the script's path in the title and heading, a
// link to its class's record page, then the lines in a <pre> that says how
// many digits the line numbers have.
inline constexpr const char* kSourceStyleName = "source.css";
inline constexpr const char* kPageOpen =
    "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"windows-1252\"><title>Script ";
inline constexpr const char* kPageHead =
    "</title>\n<link rel=\"stylesheet\" href=\"source.css\"></head><body>\n<h1>Script <code>";
inline constexpr const char* kPageClass = "</code></h1>\n<p>Class <a href=\"";
inline constexpr const char* kPageClassMiddle = "\">";
inline constexpr const char* kPageClassUnnamed = "(no name)";
inline constexpr const char* kPageLinesOpen = "</a></p>\n<pre style=\"--digits:";
inline constexpr const char* kPageLinesDigitsEnd = "\">";
inline constexpr const char* kPageEnd = "</pre>\n</body></html>\n";
inline constexpr const char* kPageUnreadable =
    "</a></p>\n<p>The script could not be read when this page was written.</p>\n"
    "</body></html>\n";

// Each line starts with its number, which is the line's anchor and a link to
// it: <a id="L42" href="#L42">42</a>.
inline constexpr const char* kLineOpen = "<a id=\"";
inline constexpr const char* kLineLink = "\" href=\"#";
inline constexpr const char* kLineNumber = "\">";
inline constexpr const char* kLineClose = "</a>";

// What sets a piece of the script apart; a piece that goes on past its line
// is closed at the line end and opened again after the next line's number.
inline constexpr const char* kComment = "<span class=\"c\">";
inline constexpr const char* kKeyword = "<span class=\"k\">";
inline constexpr const char* kString = "<span class=\"s\">";
inline constexpr const char* kNameLiteral = "<span class=\"n\">";
inline constexpr const char* kDirective = "<span class=\"d\">";
inline constexpr const char* kSpanEnd = "</span>";

}  // namespace source_templates
