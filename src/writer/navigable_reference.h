// The reference one can find one's way in: an index page that carries its
// records as compact data with a script that shows, folds and searches them,
// and record pages that link to their superclasses, subclasses, states and
// their entry in the index.
#pragma once

#include "platform/output_file.h"

class CClassList;
class CBesidePages;
class CReferences;
class CChangeMarks;
class COverriders;
class CTypeTable;

/// Writes the index page into the open `index` and every reachable record's
/// page beside it, for the linked and sorted `list`; given `types` (the
/// run's read with --complete), the pages of records read with their models
/// are rich pages (see rich_page.h) that link the types they name,
/// each reachable class's script gets a source page, and the index's search
/// loads the member data too; given `overriders` as well, each class's
/// functions say who declares them again, a class's long lists on pages of
/// their own: they are built here, beside the pass that finds the users of
/// each type, and stay built for the caller. With `changes`, the index links
/// the changes page and the rich pages mark what is new or changed.
/// `beside` is started once what the pages read is built, and runs while
/// they are written; with `references`, which then stay built for the
/// caller, it reads who refers to what.
void WriteNavigableReference(platform::COutputFile& index, const CClassList& list,
                             const CTypeTable* types = nullptr, COverriders* overriders = nullptr,
                             const CChangeMarks* changes = nullptr, CBesidePages* beside = nullptr,
                             CReferences* references = nullptr);

/// Writes the index's records' data of `list` into `out` as a script of
/// its own, for the search field of every other page.
void WriteRecordData(platform::COutputFile& out, const CClassList& list);
