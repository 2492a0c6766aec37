// The source page of a class's script: the script read again from SourceDir
// when its page is written (the scan keeps no script's bytes, only their
// fingerprint, which what is read again must match), shown as numbered lines
// under a heading that names it and links to the class's record page. A page
// builder: given a record number, it appends the page.
#pragma once

#include <cstddef>
#include <string>

class CClassList;
class CPageContext;
class CSourceBuffer;
class CSourceLinker;

namespace platform {
class CDirectory;
}

/// Appends the source page of the script of class record `classNumber` of
/// `list`, read from `sourceDir` (null when SourceDir could not be opened
/// again). False when the script could not be read, or holds other bytes
/// than the scan read: the page then says so. With `rich`, the names of the
/// code link to what they name on the rich pages (see source_links.h).
/// Safe to call from several threads at once.
bool AppendSourcePage(std::string& page, const CClassList& list, size_t classNumber,
                      const platform::CDirectory* sourceDir, const CPageContext* rich = nullptr);

/// Appends the source page of class record `classNumber` of `list` whose
/// script, read again, is `script` (null when it could not be: the page then
/// says so, and false is returned), its names linked by `linker`, started on
/// the class (null: nothing is linked).
bool AppendSourcePageOf(std::string& page, const CClassList& list, size_t classNumber,
                        const CSourceBuffer* script, CSourceLinker* linker);
