// What the run driver prints on the console: the usage and help texts and
// the messages of the source scan.
#pragma once

namespace messages {

inline constexpr const char* kUsage = "Usage: KorvanRef Destdir SourceDir\n";
inline constexpr const char* kHelp =
    "Builds an HTML class reference from a tree of class scripts.\n"
    "\n"
    "Reads every file ending in \".kc\" under SourceDir (default: the current\n"
    "directory) and writes into Destdir, which must exist:\n"
    "  index.html    every class under its superclass, its states beneath it;\n"
    "                click an entry to fold its list open and shut\n"
    "  NNNNN.html    one page per class or state with its variables, events\n"
    "                and functions\n"
    "\n"
    "Options come before Destdir; an argument -- ends them:\n"
    "  --navigation  a reference to find your way in: the index gets a search\n"
    "                field, expand and collapse all, keyboard folding and links\n"
    "                to entries (index.html#NNNNN or index.html#Name); each page\n"
    "                links to its superclasses, subclasses, states, the index,\n"
    "                and names its script\n"
    "  --complete    read the whole script language: superclasses named by\n"
    "                \"extends\" too, bodiless declarations, constants,\n"
    "                enumerations, structures, states' ignores, default\n"
    "                properties and documentation comments; the pages list\n"
    "                each declaration rebuilt from its parts. With\n"
    "                --navigation, each record page shows every member with\n"
    "                its documentation, overrides and inherited members, and\n"
    "                each script gets a page of numbered lines\n"
    "                (source-NNNNN.html), styled by reference.css\n"
    "  --json        implies --complete, and also writes Destdir/model.json:\n"
    "                every record with its whole model, for other tools\n"
    "  --compare OLD implies --complete, and also writes Destdir/changes.json\n"
    "                and changes.html: the classes and members added, removed\n"
    "                or changed since OLD, a model.json of an earlier run\n"
    "  -h, --help    this text\n"
    "  --version     the version\n"
    "\n"
    "Exit status: 0 when all went well, 1 when a problem was reported,\n"
    "2 when the arguments were wrong.\n";
inline constexpr const char* kVersion = "KorvanRef %s\n";
inline constexpr const char* kUnknownOption = "Unknown option '%s'.\n";

inline constexpr const char* kParsing = "Parsing %s...";
inline constexpr const char* kParsedOk = "OK.\n";
inline constexpr const char* kCouldNotOpen = "Couldn't Open!\n";
inline constexpr const char* kUnableToParse = "Unable to parse.\n";

inline constexpr const char* kUnableToReadDirectory = "Unable to read directory %s\n";
inline constexpr const char* kUnknownDirectoryError = "Unknown error with %s\n";
inline constexpr const char* kNotADirectory = "%s is not a directory\n";

inline constexpr const char* kGenerating = "Generating output... ";
inline constexpr const char* kComplete = "Complete.\n";

inline constexpr const char* kUnableToCompare = "Unable to compare with '%s': %s.\n";
inline constexpr const char* kChangesSince = "Changes since %s: %s.\n";

}  // namespace messages
