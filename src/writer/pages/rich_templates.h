// The fixed texts of the rich record pages (--navigation with --complete):
// the page's head with the shared stylesheet, the heading and summary, the
// sections of members and the inherited members. Kept as data, readable as
// they are written; the look is the stylesheet's (assets/reference.css).
// Class names are short, for the pages stay small: "m" a member, "ln" a link
// to a source line, "t" a marker, "ov" an override ("ovi" who overrides
// it), "doc" a doc comment.
#pragma once

#include "writer/common/link_templates.h"
#include "writer/common/search_bar.h"

namespace rich_templates {

// The page's head: the title names the record ("class Creature", "state
// Creature.Idle"), then the stylesheet.
inline constexpr const char* kOpen =
    "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"windows-1252\"><title>";
inline constexpr const char* kTitleOfClass = "class ";
inline constexpr const char* kTitleOfState = "state ";
inline constexpr const char* kHead =
    "</title>\n<link rel=\"stylesheet\" href=\"reference.css\"></head><body>\n" KORVANREF_SEARCH_BAR
    "<header>\n";

// The heading, the declaration of the record rebuilt from its parts, its
// doc comment; the links around it come from the navigable pages.
inline constexpr const char* kHeadingOfClass = "<h1>class ";
inline constexpr const char* kHeadingOfState = "<h1>state ";
inline constexpr const char* kHeadingEnd = "</h1>\n<pre class=\"sig\">";
inline constexpr const char* kSignatureEnd = "</pre>\n";
inline constexpr const char* kClassWord = "class ";
inline constexpr const char* kStateWord = "state ";
inline constexpr const char* kExtendsWord = " extends ";
inline constexpr const char* kWithinWord = " within ";
inline constexpr const char* kDocOpen = "<div class=\"doc\">";
inline constexpr const char* kDocLineEnd = "<br>\n";
inline constexpr const char* kDocEnd = "</div>\n";
inline constexpr const char* kIgnores = "<p>Ignores: ";
inline constexpr const char* kScript = "<p>Script: <a href=\"";
inline constexpr const char* kScriptMiddle = "\"><code>";
inline constexpr const char* kScriptEnd = "</code></a></p>\n";
inline constexpr const char* kHeaderEnd = "</header>\n";

// A section of members: its heading, and a group heading for variables of
// one category (those without one come last).
inline constexpr const char* kSectionOpen = "<section><h2>";
inline constexpr const char* kSectionHeadingEnd = "</h2>\n";
inline constexpr const char* kSectionEnd = "</section>\n";
inline constexpr const char* kConstants = "Constants";
inline constexpr const char* kEnumerations = "Enumerations";
inline constexpr const char* kStructures = "Structures";
inline constexpr const char* kVariables = "Variables";
inline constexpr const char* kEvents = "Events";
inline constexpr const char* kFunctions = "Functions";
inline constexpr const char* kStates = "States";
inline constexpr const char* kDefaults = "Default properties";
inline constexpr const char* kInherited = "Inherited members";
inline constexpr const char* kGroupOpen = "<h3>";
inline constexpr const char* kGroupEnd = "</h3>\n";
inline constexpr const char* kNoCategory = "No category";

// One member: its anchor, the link to its line, its declaration, a marker
// if it has no body, what it overrides, its doc comment. A structure's
// members stand inside its block.
inline constexpr const char* kMemberOpen = "<div class=\"m\" id=\"";
inline constexpr const char* kMemberLine = "\"><a class=\"ln\" href=\"";
inline constexpr const char* kMemberLineMiddle = "\">line ";
inline constexpr const char* kMemberDeclaration = "</a><code>";
inline constexpr const char* kMemberDeclarationEnd = "</code>";
inline constexpr const char* kNative = " <span class=\"t\">native</span>";
inline constexpr const char* kDeclaredOnly = " <span class=\"t\">declared only</span>";
// With --compare, after a record's heading or a member's declaration: what
// is new or changed since the model file compared with.
inline constexpr const char* kNewMark = " <span class=\"t\">new</span>";
inline constexpr const char* kChangedMark = " <span class=\"t\">changed</span>";
inline constexpr const char* kMemberHeadEnd = "\n";
inline constexpr const char* kOverrides = "<p class=\"ov\">Overrides <a href=\"";
inline constexpr const char* kOverridesEnd = "</a></p>\n";
inline constexpr const char* kMemberEnd = "</div>\n";
inline constexpr const char* kEnumOpen = " { ";
inline constexpr const char* kEnumEnd = " }";
inline constexpr const char* kStructWord = "struct ";

// The default properties, one row each; after an inherited value the
// ancestor that sets it, after a replaced one what it was and where.
inline constexpr const char* kTableOpen =
    "<table><tr><th>Property</th><th>Value</th><th></th></tr>\n";
inline constexpr const char* kRowOpen = "<tr><td><code>";
inline constexpr const char* kRowMiddle = "</code></td><td><code>";
inline constexpr const char* kRowValueEnd = "</code>";
inline constexpr const char* kSetIn = " <span class=\"t\">from ";
inline constexpr const char* kWas = " <span class=\"t\">was <code>";
inline constexpr const char* kWasIn = "</code> in ";
inline constexpr const char* kNoteEnd = "</span>";
inline constexpr const char* kRowLine = "</td><td><a class=\"ln\" href=\"";
inline constexpr const char* kRowEnd = "</a></td></tr>\n";
inline constexpr const char* kTableEnd = "</table>\n";

// Inherited members: one entry per ancestor, from the superclass up, its
// members by kind.
inline constexpr const char* kListOpen = "<dl>\n";
inline constexpr const char* kAncestorOpen = "<dt>Inherited from ";
inline constexpr const char* kAncestorEnd = "</dt>\n";
inline constexpr const char* kKindOpen = "<dd><i>";
inline constexpr const char* kKindEnd = ":</i> ";
inline constexpr const char* kKindListEnd = "</dd>\n";
inline constexpr const char* kListEnd = "</dl>\n";
inline constexpr const char* kKindNames[] = {"constants", "enumerations", "structures",
                                             "variables", "functions",    "states"};

// Links: to a record's page or a member on it (as every page kind writes
// them), and between names.
using link_templates::kLinkEnd;
using link_templates::kLinkMiddle;
using link_templates::kLinkOpen;
using link_templates::kMemberOfRecord;
using link_templates::kPageExtension;
inline constexpr const char* kSeparator = ", ";
inline constexpr const char* kLineEnd = "</p>\n";

inline constexpr const char* kEnd = "</body></html>\n";

}  // namespace rich_templates
