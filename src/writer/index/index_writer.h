// The index page: its fixed header and footer. The entries are written by
// CClassList::WriteTree, defined in index_writer.cc.
#pragma once

#include "platform/output_file.h"

/// Writes the index page's header: style, folding script, opening of the list.
void WriteIndexHeader(platform::COutputFile& file);

/// Writes the index page's closing line.
void WriteIndexFooter(platform::COutputFile& file);
