// The fixed texts of a link to a record's page or to a member on it, which
// every page kind that links records writes alike, and the passes that
// measure such links before the pages are written.
#pragma once

namespace link_templates {

inline constexpr const char* kLinkOpen = "<a href=\"";
inline constexpr const char* kLinkMiddle = "\">";
inline constexpr const char* kLinkEnd = "</a>";
inline constexpr const char* kPageExtension = ".html";
// Between a state's class and the state, or a record and its member.
inline constexpr const char* kMemberOfRecord = ".";

}  // namespace link_templates
