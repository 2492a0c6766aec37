// The fixed texts of the use pages (--navigation with --complete): who uses
// a class and each of its enumerations and structures, grouped by the class
// that declares the use, each use linked to its declaration. The look is
// the shared stylesheet's.
#pragma once

#include "writer/common/search_bar.h"

namespace use_templates {

inline constexpr const char* kOpen =
    "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"windows-1252\"><title>users of "
    "class ";
inline constexpr const char* kHead =
    "</title>\n<link rel=\"stylesheet\" href=\"reference.css\"></head><body>\n" KORVANREF_SEARCH_BAR
    "<header>\n<h1>Users of class ";
inline constexpr const char* kHeadingEnd = "</h1>\n<p>Class: <a href=\"";
inline constexpr const char* kClassLinkEnd = "</a></p>\n</header>\n";

// A section for the class, then one for each enumeration and structure,
// anchored as on the class page.
inline constexpr const char* kSectionOpen = "<section><h2>class ";
inline constexpr const char* kMemberSectionOpen = "<section id=\"";
inline constexpr const char* kMemberSectionHeading = "\"><h2>";
inline constexpr const char* kEnumWord = "enum ";
inline constexpr const char* kStructWord = "struct ";
inline constexpr const char* kSectionHeadingEnd = "</h2>\n";
inline constexpr const char* kSectionEnd = "</section>\n";

// The counts, on the use page and on the class page ("Used by 3
// declarations in 2 classes").
inline constexpr const char* kUsedBy = "Used by ";
inline constexpr const char* kNothing = "nothing";
inline constexpr const char* kDeclaration = " declaration";
inline constexpr const char* kIn = " in ";
inline constexpr const char* kClass = " class";
inline constexpr const char* kPluralOfDeclaration = "s";
inline constexpr const char* kPluralOfClass = "es";
inline constexpr const char* kCountsOpen = "<p>";
inline constexpr const char* kCountsEnd = "</p>\n";
inline constexpr const char* kClassPageOpen = "<p><a href=\"";
inline constexpr const char* kClassPageMiddle = "\">";
inline constexpr const char* kClassPageEnd = "</a></p>\n";
inline constexpr const char* kMemberLinkOpen = " <a class=\"t\" href=\"";
inline constexpr const char* kMemberLinkEnd = "</a>";

// The users: each class a term, each declaration of it or of its states a
// line.
inline constexpr const char* kListOpen = "<dl>\n";
inline constexpr const char* kGroupOpen = "<dt><a href=\"";
inline constexpr const char* kGroupEnd = "</a></dt>\n";
inline constexpr const char* kUseOpen = "<dd>";
inline constexpr const char* kInState = "state ";
inline constexpr const char* kInStateEnd = ": ";
inline constexpr const char* kUseEnd = "</dd>\n";
inline constexpr const char* kListEnd = "</dl>\n";
inline constexpr const char* kLinkOpen = "<a href=\"";
inline constexpr const char* kLinkMiddle = "\">";
inline constexpr const char* kLinkEnd = "</a>";
inline constexpr const char* kExtends = "extends";
inline constexpr const char* kWithin = "within";
inline constexpr const char* kVariable = "variable ";
inline constexpr const char* kMember = "member ";
inline constexpr const char* kParameter = "parameter ";
inline constexpr const char* kParameterOf = " of ";
inline constexpr const char* kReturnOf = "return of ";
// What a page too large leaves out, counted.
inline constexpr const char* kOmittedOpen = "<p>Not listed, for the page's size: ";
inline constexpr const char* kOmittedEnd = ".</p>\n";

inline constexpr const char* kEnd = "</body></html>\n";

}  // namespace use_templates
