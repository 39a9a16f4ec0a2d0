#pragma once

#include <string>
#include <string_view>

#include "cli/arguments.h"

namespace waymint::cli {

class Session;

// One command of the tool: its name, its synopsis (after the program's name), what it
// prints, and the work it does on a loaded session. The list drives both the parsing of
// the command name and --help.
struct CommandEntry {
  Command command;
  std::string_view name;
  std::string_view synopsis;
  std::string_view summary;
  int (*run)(const Invocation& invocation, Session& session);
};

// The command of that name, or nullptr.
const CommandEntry* findCommand(std::string_view name);
const CommandEntry& commandFor(Command command);

// What --version prints: the program's name and the version it was built as.
std::string versionLine();

// The text that --help prints and that follows a usage error.
std::string usage();

int runCategories(const Invocation& invocation, Session& session);
int runList(const Invocation& invocation, Session& session);
int runWrite(const Invocation& invocation, Session& session);
int runSend(const Invocation& invocation, Session& session);

}  // namespace waymint::cli
