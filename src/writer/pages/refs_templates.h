// The fixed texts of the pages of references ("refs-00012.html", more parts
// "refs-00012-2.html", ...) and of the line on a record page that links
// them. Links are the rich pages' own (rich_templates.h); the look is the
// shared stylesheet's.
#pragma once

#include "writer/common/search_bar.h"

namespace refs_templates {

// The line on a record page: under a member, or in the class's header.
inline constexpr const char* kLineOpen = "<p class=\"rf\"><a href=\"";
inline constexpr const char* kLineMiddle = "\">";
inline constexpr const char* kLineEnd = "</a></p>\n";

// The counts: "Referenced from 3 places in 2 classes".
inline constexpr const char* kReferencedFrom = "Referenced from ";
inline constexpr const char* kPlace = " place";
inline constexpr const char* kPluralOfPlace = "s";
inline constexpr const char* kIn = " in ";
inline constexpr const char* kClass = " class";
inline constexpr const char* kPluralOfClass = "es";

inline constexpr const char* kPageName = "refs-";
inline constexpr const char* kOpen =
    "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"windows-1252\"><title>"
    "References to ";
inline constexpr const char* kHead =
    "</title>\n<link rel=\"stylesheet\" href=\"reference.css\"></head><body>\n" KORVANREF_SEARCH_BAR
    "<header>\n<h1>References to ";
inline constexpr const char* kClassWord = "class ";
inline constexpr const char* kStateWord = "state ";
inline constexpr const char* kHeadingEnd = "</h1>\n<p>";
inline constexpr const char* kClassLink = "Class: <a href=\"";
inline constexpr const char* kStateLink = "State: <a href=\"";
inline constexpr const char* kRecordLinkEnd = "</a></p>\n";
inline constexpr const char* kHeaderEnd = "</header>\n";

// A section for the record itself, then one for each member referred to,
// anchored as on the record page; a section a part goes on with has no
// anchor.
inline constexpr const char* kSectionOpen = "<section>";
inline constexpr const char* kSectionOpenAt = "<section id=\"";
inline constexpr const char* kSectionAnchorEnd = "\">";
inline constexpr const char* kSectionHeading = "<h2><a href=\"";
inline constexpr const char* kSectionHeadingEnd = "</a>";
inline constexpr const char* kContinued = " (continued)";
inline constexpr const char* kCountsOpen = "</h2>\n<p>";
inline constexpr const char* kCountsEnd = "</p>\n";
inline constexpr const char* kSectionEnd = "</section>\n";

// The references: a term for each class, state and function they stand
// in, each line a definition; Super calls apart after the others.
inline constexpr const char* kSuperHeading = "<h3>Called by overrides</h3>\n";
inline constexpr const char* kListOpen = "<dl>\n";
inline constexpr const char* kListEnd = "</dl>\n";
inline constexpr const char* kGroupOpen = "<dt><a href=\"";
inline constexpr const char* kGroupState = ": state ";
inline constexpr const char* kGroupFunction = ": function ";
inline constexpr const char* kGroupStateFunction = ", function ";
inline constexpr const char* kGroupEnd = "</dt>\n";
inline constexpr const char* kEntryOpen = "<dd><a href=\"";
inline constexpr const char* kEntryNumberEnd = "</a> <code>";
inline constexpr const char* kEntryEnd = "</code></dd>\n";

inline constexpr const char* kEnd = "</body></html>\n";

}  // namespace refs_templates
