// The type names in the declarations of the rich pages, each a link to what
// it names when the run's type table resolves it: a class to its page, an
// enumeration or structure to its anchor on the page of the class declaring
// it. The rest of a type ("array< class<", "> >") and the names that resolve
// to nothing stay text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "model/declaration_text.h"

class CTypeTable;

namespace rich_page {

/// Appends `type`, escaped, its name linked when `types` resolves it as
/// written in a declaration of the record at `position`.
void AppendType(std::string& out, const CTypeTable& types, size_t position, std::string_view type);

/// Appends `text`, escaped, each type at `spans` (in order, apart) appended
/// as AppendType does.
void AppendTypedText(std::string& out, const CTypeTable& types, size_t position,
                     std::string_view text, const std::vector<model::TypeSpan>& spans);

}  // namespace rich_page
