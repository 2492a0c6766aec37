// The names by which other pages, the search and people link to a member on
// its record page ("00012.html#fn-Touched") and to a line of a source page
// ("source-00012.html#L42"), and the names of the files that hold them.
// They are part of what the reference promises: they stay as they are.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

/// Record numbers are written at least this many digits long.
inline constexpr size_t kRecordNumberWidth = 5;

/// Appends `n` in decimal, at least `width` digits long (zero-padded): a
/// record number is written as "%05ld" would, without a call to format it.
void AppendNumber(std::string& out, size_t n, size_t width = 1);

namespace anchors {

enum class MemberKind { kConstant, kEnumeration, kStructure, kVariable, kFunction, kState };

/// Appends the anchor of a member: its kind's prefix ("const-", "enum-",
/// "struct-", "var-", "fn-" for every function-like kind, "state-") and its
/// name. A name that is empty or has bytes other than ASCII letters, digits,
/// "_" and "." (an operator's "==") is written as "-" and the hexadecimal
/// codes of its bytes ("fn--3d3d"): a plain name never starts with "-", so
/// no two members' anchors meet. The `occurrence`-th member (counting from
/// 0) of one kind and exactly one name gets "-2", "-3", ... after it. A
/// structure's member is named "Structure.Member".
void AppendMemberAnchor(std::string& out, MemberKind kind, std::string_view name,
                        size_t occurrence = 0);

/// Appends the anchor of a package's entry on the packages page: "pkg-" and
/// the name with ASCII letters in lower case, written as a member's name is
/// ("pkg-core"); packages whose names differ only in case are one. A script
/// without a package has "pkg--".
void AppendPackageAnchor(std::string& out, std::string_view name);

/// Appends the anchor of line `line` of a source page: "L42".
void AppendLineAnchor(std::string& out, size_t line);

/// Appends the file name of the source page of the script of the class
/// record `number`: "source-00012.html".
void AppendSourcePageName(std::string& out, size_t number);

/// Appends the file name of the page of the users of the class record
/// `number` and of its enumerations and structures: "use-00012.html".
void AppendUsePageName(std::string& out, size_t number);

/// The stylesheet every rich page links, and the data of the member search.
inline constexpr const char* kStyleSheetName = "reference.css";
inline constexpr const char* kMemberDataName = "members.js";
/// What the search field of every other page loads: the index's records'
/// data and script, and the field's own script.
inline constexpr const char* kRecordDataName = "records.js";
inline constexpr const char* kIndexScriptName = "index.js";
inline constexpr const char* kFindScriptName = "find.js";
/// The pieces of the members' summaries: "summaries-0.js", ...
inline constexpr const char* kSummaryPiecePrefix = "summaries-";
inline constexpr const char* kSummaryPieceEnd = ".js";
/// The page that lists the packages and their classes.
inline constexpr const char* kPackagesPageName = "packages.html";

}  // namespace anchors
