#include "driver/command_line.h"

#include <string_view>

#include "driver/messages.h"
#include "driver/scanner.h"
#include "model/class_list.h"
#include "platform/console.h"

CommandLine ReadCommandLine(int argc, const char* const* argv) {
  CommandLine command;
  int at = 1;
  // Options come first; "--" ends them, and so does the first argument that
  // does not start with "-".
  for (; at < argc; ++at) {
    std::string_view option = argv[at];
    if (option == "--") {
      ++at;
      break;
    }
    if (option.empty() || option[0] != '-') break;
    if (option == "-h" || option == "--help") {
      command.action = CommandLine::Action::kHelp;
      return command;
    }
    if (option == "--version") {
      command.action = CommandLine::Action::kVersion;
      return command;
    }
    if (option == "--navigation") {
      command.options.navigation = true;
      continue;
    }
    if (option == "--complete") {
      command.options.complete = true;
      continue;
    }
    if (option == "--json") {
      command.options.json = command.options.complete = true;
      continue;
    }
    // "--compare" takes the next argument, whatever it is, as the model file
    // to compare with; without one the command line is incomplete.
    if (option == "--compare") {
      if (++at >= argc) return command;
      command.options.compareWith = argv[at];
      command.options.complete = true;
      continue;
    }
    command.action = CommandLine::Action::kUnknownOption;
    command.unknownOption = option;
    return command;
  }
  // An empty destination would put the pages at the file system's root.
  if (at >= argc || argv[at][0] == '\0') return command;
  command.action = CommandLine::Action::kRun;
  command.destDir = argv[at];
  command.sourceDir = at + 1 < argc ? argv[at + 1] : ".";
  return command;
}

int RunCommandLine(const CommandLine& command, CClassList& list) {
  switch (command.action) {
    case CommandLine::Action::kUsage:
      console::Print("%s", messages::kUsage);
      return 2;
    case CommandLine::Action::kUnknownOption:
      console::Print(messages::kUnknownOption, command.unknownOption.c_str());
      console::Print("%s", messages::kUsage);
      return 2;
    case CommandLine::Action::kHelp:
      console::Print("%s%s", messages::kUsage, messages::kHelp);
      return 0;
    case CommandLine::Action::kVersion:
      console::Print(messages::kVersion, KORVANREF_VERSION);
      return 0;
    case CommandLine::Action::kRun:
      break;
  }
  // A SourceDir that cannot be read at all is most likely mistyped: the
  // reference already in Destdir is left as it is.
  const ReaderKind kind =
      command.options.complete ? ReaderKind::kComplete : ReaderKind::kDeclarations;
  if (!ScanDirectory(list, command.sourceDir, kind)) return 1;
  list.sourceDir = command.sourceDir;
  list.WriteReference(command.destDir, command.options);
  return console::ProblemReported() ? 1 : 0;
}
