// The fixed texts of the changes page (--compare): its head, the counts, a
// section per package with a table per class, one row per change. Kept as
// data, readable as they are written.
#pragma once

namespace changes_templates {

inline constexpr const char* kOpen =
    "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"><title>Changes</title>\n"
    "<style>\nbody { font-family: sans-serif; margin: 1em 2em; }\n"
    "table { border-collapse: collapse; margin-bottom: 1em; }\n"
    "th, td { border: 1px solid #ccc; padding: 0.2em 0.5em; text-align: left; "
    "vertical-align: top; }\n"
    "tr.added td:first-child { color: #060; }\ntr.removed td:first-child { color: #a00; }\n"
    "tr.changed td:first-child { color: #850; }\n</style></head><body>\n<header>\n"
    "<h1>Changes since ";
inline constexpr const char* kCountsOpen =
    "</h1>\n<p><a href=\"index.html\">Class reference</a></p>\n<p>";
inline constexpr const char* kCountsEnd = "</p>\n</header>\n";
inline constexpr const char* kNone = "<p>Nothing changed.</p>\n";
inline constexpr const char* kPackageOpen = "<h2>";
inline constexpr const char* kNoPackage = "(no package)";
inline constexpr const char* kPackageEnd = "</h2>\n";
inline constexpr const char* kClassOpen = "<h3>";
inline constexpr const char* kClassEnd =
    "</h3>\n<table>\n<tr><th>Change</th><th>Kind</th><th>Path</th><th>Before</th>"
    "<th>After</th></tr>\n";
inline constexpr const char* kRowOpen = "<tr class=\"";
inline constexpr const char* kRowKind = "\"><td>";
inline constexpr const char* kCell = "</td><td>";
inline constexpr const char* kCodeCell = "</td><td><code>";
inline constexpr const char* kCodeCellAfter = "</code></td><td><code>";
inline constexpr const char* kRowEnd = "</code></td></tr>\n";
inline constexpr const char* kTableEnd = "</table>\n";
inline constexpr const char* kLinkOpen = "<a href=\"";
inline constexpr const char* kLinkEnd = "\">";
inline constexpr const char* kLinkClose = "</a>";
inline constexpr const char* kEnd = "</body></html>\n";

// The link the index gets to the page.
inline constexpr const char* kIndexLink = "<p><a href=\"changes.html\">Changes</a></p>\n";
inline constexpr const char* kFileName = "changes.html";
inline constexpr const char* kJsonFileName = "changes.json";

}  // namespace changes_templates
