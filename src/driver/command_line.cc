#include "driver/command_line.h"

#include <string_view>

#include "driver/messages.h"
#include "driver/scanner.h"
#include "model/class_list.h"
#include "platform/console.h"

CommandLine ReadCommandLine(int argc, const char* const* argv) {
  CommandLine command;
  if (argc < 2) return command;
  std::string_view first = argv[1];
  if (first == "-h" || first == "--help") {
    command.action = CommandLine::Action::kHelp;
  } else if (first == "--version") {
    command.action = CommandLine::Action::kVersion;
  } else if (!first.empty()) {
    // An empty destination would put the pages at the file system's root.
    command.action = CommandLine::Action::kRun;
    command.destDir = first;
    command.sourceDir = argc >= 3 ? argv[2] : ".";
  }
  return command;
}

int RunCommandLine(const CommandLine& command, CClassList& list) {
  switch (command.action) {
    case CommandLine::Action::kUsage:
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
  if (!ScanDirectory(list, command.sourceDir)) return 1;
  list.WriteReference(command.destDir);
  return console::ProblemReported() ? 1 : 0;
}
