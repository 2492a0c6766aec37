// The member data of the navigable index's search: every constant,
// enumeration, structure, variable and function-like member of every record
// in the tree, with its kind and the anchor of its place on its record's
// page, which functions override another and how often each is overridden,
// as a script the index loads the first time something is searched.
#pragma once

class CClassList;
class COverriders;

namespace platform {
class COutputFile;
}

/// Writes the member data of the linked and sorted `list`, read with its
/// models, into `out`; what overrides what from `overriders` (none when
/// null).
void WriteMemberData(platform::COutputFile& out, const CClassList& list,
                     const COverriders* overriders);
