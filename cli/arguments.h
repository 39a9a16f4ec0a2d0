#pragma once

#include <string>
#include <variant>
#include <vector>

#include "app/choices.h"
#include "gpx/gpx_paths.h"

namespace waymint::cli {

enum class Command { Help, Version, Categories, List, Write, Send };

// What the command line asks for, before anything is done about it.
struct Invocation {
  Command command = Command::Help;
  std::string osmFile;
  // `list`: the one category; `write`: the categories in the order given.
  std::vector<std::string> categories;
  // --areas, --exact, --details: what a POI is and what its waypoint holds.
  app::Choices choices;
  // `write` only:
  bool all = false;
  std::string gpxFolder;
  bool alert = false;
  std::string proximity = "25";
  gpx::SoundFormat sound = gpx::SoundFormat::None;
  bool gpi = false;  // also the GPI beside each GPX written
  // `send`: the GPX folder is gpxFolder, the categories (none: all) are `categories`.
  std::string device;  // the navigator's folder; empty: the one connected
};

// Why the command line cannot be used, in one line.
struct UsageError {
  std::string reason;
};

using ParseResult = std::variant<Invocation, UsageError>;

// Reads the arguments that follow the program's name. Touches no file.
ParseResult parseArguments(const std::vector<std::string>& arguments);

}  // namespace waymint::cli
