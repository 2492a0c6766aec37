// A class's script read again below SourceDir, for its source page and the
// links the pass of references finds in it: the scan keeps no script's
// bytes, only their fingerprint, which what is read again must match.
#pragma once

class CClassRecord;
class CSourceBuffer;

namespace platform {
class CDirectory;
}

/// Whether `record` gets a source page: a class record with a script.
bool HasSourcePage(const CClassRecord& record);

/// Reads the script of `record` again from `sourceDir` (null when SourceDir
/// could not be opened again) into `script`: false when it cannot be read,
/// or holds other bytes than the scan read.
bool ReadScriptAgain(const CClassRecord& record, const platform::CDirectory* sourceDir,
                     CSourceBuffer& script);
