// The pages' own script and style. Each is a file of its own under
// src/writer/common/assets, built into the tool byte for byte (line ends as
// in the file) by cmake/assets.cmake; "\n" in them is written as the
// platform's line end, as in every other text the pages hold.
#pragma once

#include <string_view>

namespace assets {

// index.css: the navigable index's style.
extern const std::string_view kIndexStyle;
// index.js: the navigable index's script, run after the records' data.
extern const std::string_view kIndexScript;
// find.js: the search field of every page but the index, which loads the
// records' data and index.js on first use.
extern const std::string_view kFindScript;
// reference.css: the style of the rich record pages and the source pages,
// written beside them.
extern const std::string_view kReferenceStyle;

}  // namespace assets
