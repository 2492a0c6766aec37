// The page of the users of a class and of its enumerations and structures
// ("use-00012.html"), and the links to it from the class page.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "writer/common/anchors.h"

class CPageContext;
class CUsers;

/// Appends the use page of the class at record `i`, which has a rich page,
/// its users as `users` found them.
void AppendUsePage(std::string& page, const CPageContext& pages, const CUsers& users, size_t i);

/// Appends the class page's line that links the use page of the class at
/// record `i`, with how many declarations in how many classes use it.
void AppendUsedByLine(std::string& page, const CUsers& users, size_t i);

/// Appends the link from the enumeration or structure `name` (a view into
/// the store) of the class at record `i` to its section of the use page,
/// with how many declarations use it.
void AppendMemberUsersLink(std::string& page, const CUsers& users, size_t i,
                           anchors::MemberKind kind, std::string_view name, size_t occurrence);
