// What the command line asks for: help, the version, or a run with its
// options and its destination and source directories.
#pragma once

#include <string>

#include "model/run_options.h"

class CClassList;

struct CommandLine {
  enum class Action { kUsage, kUnknownOption, kHelp, kVersion, kRun };
  Action action = Action::kUsage;
  RunOptions options;         // what the run makes
  std::string unknownOption;  // the argument refused, for kUnknownOption
  std::string destDir;
  std::string sourceDir;
};

/// Reads "KorvanRef [options] [--] Destdir [SourceDir]"; arguments after
/// SourceDir are ignored, and an argument starting with "-" before Destdir
/// must be a known option.
CommandLine ReadCommandLine(int argc, const char* const* argv);

/// Carries out a command line: prints what it asks for or makes the
/// reference, collecting the records in `list`. Returns the exit status: 2
/// for wrong arguments, 1 when a problem was reported, 0 otherwise.
int RunCommandLine(const CommandLine& command, CClassList& list);
