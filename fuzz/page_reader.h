// Reads what the fuzz checks need from a written page: the names of the
// elements one can link to and the links, outside script and style
// elements, attribute values decoded; and the texts of the string
// constants a page's script holds as data.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct PageLinks {
  std::vector<std::string> targets;  // every id, and the name of every <a>
  std::vector<std::string> links;    // every href
};

/// Reads the markup of `html` into `out`. False, with the reason in `error`,
/// when a "<" starts no tag (markup that was not escaped) or a tag or an
/// attribute is left open.
bool ReadPageLinks(std::string_view html, PageLinks& out, std::string& error);

/// The text of the double-quoted string literal that follows `opening` (a
/// text ending in the opening quote, such as `const kinds = "`) in the
/// script `text`, its escapes decoded. False when there is no such literal
/// or it is not closed.
bool ReadScriptString(std::string_view text, std::string_view opening, std::string& out);
