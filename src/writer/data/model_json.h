// The model file: every record of the run with its whole model, as JSON, for
// editors, linters and other tools. Texts are the scripts' bytes read as
// windows-1252 and written as UTF-8; the scripts' paths are read as UTF-8
// where they are valid UTF-8.
#pragma once

#include <string>
#include <string_view>

class CClassList;
class COverriders;
class CReferences;
class CTypeTable;
namespace platform {
class COutputFile;
}

/// The version of the model file's format: fields may be added within it,
/// never renamed or removed.
inline constexpr int kModelFormat = 1;

/// Writes the model file of `list`, linked and sorted, to `file`, each type
/// with what it names by `types`, and each function with what it overrides
/// by `overriders`, both built from `list`. With `references` (a run that
/// links its source pages), each class and member says how many places
/// refer to it ("references"); a later declaration of a name, which no
/// link leads to, says 0.
void WriteModelJson(platform::COutputFile& file, const CClassList& list, const CTypeTable& types,
                    const COverriders& overriders, const CReferences* references = nullptr);

/// Appends the start of the model file and of the files of its format:
/// "{"format": 1, "generator": "KorvanRef <version>"".
void AppendJsonFileHead(std::string& out);

/// Appends `text`, bytes in windows-1252, in UTF-8 as the model file writes
/// it, with no quotes or escapes.
void AppendUtf8Text(std::string& out, std::string_view text);

/// Appends `text`, bytes in windows-1252, as a JSON string in UTF-8, quotes
/// included.
void AppendJsonString(std::string& out, std::string_view text);

/// Appends a file's `path` as a JSON string in UTF-8, quotes included: as it
/// is when it is valid UTF-8, else its bytes read as windows-1252.
void AppendJsonPath(std::string& out, std::string_view path);
