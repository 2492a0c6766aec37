// The fixed texts of the reference one can find one's way in: the index page's
// markup around its style, the records' data and its script (the style and
// the script are files of their own, see assets.h), and the pieces of a
// record page that links to its neighbours. Kept as data, readable as they
// are written, beside the plain reference's texts in templates.h.
#pragma once

namespace navigation_templates {

// Names are bytes in an 8-bit character set; the pages say which one, so
// that every byte reads as one character in the markup and in the script.
#define KORVANREF_CHARSET "windows-1252"

// The index page around its style (assets/index.css) and the records' data:
// the opening up to the style, then the search field (a combobox, whose
// results are a list box) with its results, the expand and collapse
// controls, and the (still empty) tree. With the member data the field says
// so, and names the file to load it from.
inline constexpr const char* kIndexOpen = R"html(<!DOCTYPE html>
<html lang="en"><head>
<meta charset=")html" KORVANREF_CHARSET R"html(">
<title>Class Reference</title>
<style>
)html";
inline constexpr const char* kIndexBody = R"html(</style>
</head>
<body>
<div id="idFind"><input type="search" id="idSearch" autofocus autocomplete="off"
 spellcheck="false" role="combobox" aria-autocomplete="list" aria-expanded="false"
 aria-controls="idResults" )html";
inline constexpr const char* kSearchOfRecords =
    R"html(placeholder="Find a class or state" aria-label="Find a class or state">)html";
inline constexpr const char* kSearchOfMembers =
    R"html(placeholder="Find a class, state or member" aria-label="Find a class, state or member"
 data-members="members.js">)html";
inline constexpr const char* kIndexControls = R"html(
 <button type="button" id="idExpandAll">Expand all</button>
 <button type="button" id="idCollapseAll">Collapse all</button>
<ol id="idResults" role="listbox" aria-label="Matches"></ol></div>
)html";
// With the member data, the index links the packages page.
inline constexpr const char* kPackagesLink = R"html(<p><a href="packages.html">Packages</a></p>
)html";
inline constexpr const char* kIndexTree = R"html(<p>Class Reference:</p>
<ul id="idTree" role="tree" aria-label="Classes and states"></ul>
<script>
)html";

// The records' data, in record-number order: one kind letter each ("c" a
// class, "s" a state, "-" a record outside the tree); each one's parent (none
// for a root); its numbers of variables, events and functions; its name. The
// numbers are decimals each followed by a comma, the names each followed by a
// line feed: strings read far faster than long array literals.
inline constexpr const char* kKindsOpen = "const kinds = \"";
inline constexpr const char* kParentsOpen = "\";\nconst parentText = \"";
inline constexpr const char* kCountsOpen = "\";\nconst countText = \"";
inline constexpr const char* kNamesOpen = "\";\nconst names = \"";
inline constexpr const char* kNumberEnd = ",";
inline constexpr const char* kNameEnd = "\\n";
inline constexpr const char* kDataEnd = "\";\n</script>\n";
inline constexpr char kKindClass = 'c';
inline constexpr char kKindState = 's';
inline constexpr char kKindOutside = '-';

// The index page's script (assets/index.js) stands in an element of its own
// after the data: it builds a list's entries the first time the list opens,
// searches the names as one text, and follows index.html#NNNNN and
// index.html#Name.
inline constexpr const char* kScriptOpen = "<script>\n";
inline constexpr const char* kScriptClose = "</script>\n";
inline constexpr const char* kIndexEnd = "</script>\n</body></html>\n";

// A record page: the plain page's title, then a heading with kind and name,
// the way up to the root, the subclasses and states, the script, and a link
// back to the record's entry in the index; the declarations follow.
inline constexpr const char* kPageOpen =
    "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"" KORVANREF_CHARSET
    "\"><title>\nClass ";
inline constexpr const char* kPageHead = "</title></head><body>\n";
inline constexpr const char* kPageHeadingOfClass = "<h1>class ";
inline constexpr const char* kPageHeadingOfState = "<h1>state ";
inline constexpr const char* kPageHeadingEnd = "</h1>\n";
inline constexpr const char* kPageChainOfClass = "<p>Superclasses: ";
inline constexpr const char* kPageChainOfState = "<p>State of: ";
inline constexpr const char* kPageSubclasses = "<p>Subclasses: ";
inline constexpr const char* kPageStates = "<p>States: ";
inline constexpr const char* kPageScript = "<p>Script: <code>";
inline constexpr const char* kPageScriptEnd = "</code></p>\n";
// With source pages, the script links to its own.
inline constexpr const char* kPageScriptLink = "<p>Script: <a href=\"";
inline constexpr const char* kPageScriptLinkMiddle = "\"><code>";
inline constexpr const char* kPageScriptLinkEnd = "</code></a></p>\n";
inline constexpr const char* kPageBack = "<p><a href=\"index.html#";
inline constexpr const char* kPageBackEnd = "\">Find it in the index</a></p>\n";
inline constexpr const char* kPageLink = "<a href=\"";
inline constexpr const char* kPageLinkMiddle = ".html\">";
inline constexpr const char* kPageLinkEnd = "</a>";
inline constexpr const char* kPageChainStep = " &gt; ";
inline constexpr const char* kPageListSeparator = ", ";
inline constexpr const char* kPageNone = "none";
inline constexpr const char* kPageLineEnd = "</p>\n";
inline constexpr const char* kPageFileExtension = ".html";

// The member data (anchors::kMemberDataName), written with --complete: the
// words for the kinds of members and the anchors' prefixes of those kinds,
// one a line, in the order of the kind letters "a", "b", ...; one kind letter
// per member; each record's number of members, in record order; the members'
// names, each record's in the order declared; the anchors that are not
// prefix and name, as "member,anchor" lines; and the functions that others
// override, as pairs of decimals: the distance from the member of the pair
// before (from 0 for the first), and how many declarations override it. A
// function that overrides another has its kind letter in capitals.
inline constexpr const char* kMemberKindNamesOpen = "const memberKindNames = \"";
inline constexpr const char* kMemberPrefixesOpen = "\";\nconst memberPrefixes = \"";
inline constexpr const char* kMemberKindsOpen = "\";\nconst memberKinds = \"";
inline constexpr const char* kMemberCountsOpen = "\";\nconst memberCounts = \"";
inline constexpr const char* kMemberNamesOpen = "\";\nconst memberNames = \"";
inline constexpr const char* kMemberAnchorsOpen = "\";\nconst memberAnchors = \"";
inline constexpr const char* kMemberAnchorSeparator = ",";
inline constexpr const char* kMemberOverriddenOpen = "\";\nconst memberOverridden = \"";
inline constexpr const char* kMemberDataEnd = "\";\n";
// Then the packages: their names and their anchors on the packages page, one
// a line, in the packages page's order (the scripts without a package left
// out), and each record's package as a decimal followed by a comma, in record
// order: 1 the first package, 0 none.
inline constexpr const char* kPackageNamesOpen = "const packageNames = \"";
inline constexpr const char* kPackageAnchorsOpen = "\";\nconst packageAnchors = \"";
inline constexpr const char* kRecordPackagesOpen = "\";\nconst recordPackages = \"";
inline constexpr const char* kPackagesEnd = "\";\n";

#undef KORVANREF_CHARSET

}  // namespace navigation_templates
