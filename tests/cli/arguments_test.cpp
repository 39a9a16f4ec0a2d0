#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "cli/arguments.h"

namespace waymint::testing {
namespace {

using cli::Command;

// Every field of an invocation on one line, so that a table row can spell it out.
std::string fields(const cli::Invocation& invocation) {
  const char* commands[] = {"help", "categories", "list", "write"};
  const char* sounds[] = {"", " wav", " mp3"};
  std::string text = commands[static_cast<int>(invocation.command)];
  if (invocation.command == Command::Help) return text;
  text += " " + invocation.osmFile + " [";
  for (const std::string& category : invocation.categories) text += "<" + category + ">";
  text += "]";
  if (invocation.command != Command::Write) return text;
  text += invocation.all ? " all" : "";
  text += " folder=" + invocation.gpxFolder + (invocation.alert ? " alert" : "");
  return text + " proximity=" + invocation.proximity + sounds[static_cast<int>(invocation.sound)];
}

TEST(Arguments, CommandLinesAreTakenOrRefusedWithTheirReason) {
  struct Case {
    std::vector<std::string> arguments;
    std::string expected;  // the invocation's fields, or "refused: " and the reason
  };
  const std::vector<Case> cases = {
      {{"categories", "m.osm"}, "categories m.osm []"},
      {{"list", "m.osm", "fast food"}, "list m.osm [<fast food>]"},
      {{"write", "m.osm", "cafe", "bar", "--gpx-folder", "g"},
       "write m.osm [<cafe><bar>] folder=g proximity=25"},
      {{"write", "--all", "m.osm", "--sound", "wav", "--gpx-folder", "g", "--alert"},
       "write m.osm [] all folder=g alert proximity=25 wav"},
      {{"write", "m.osm", "cafe", "--gpx-folder", "g", "--proximity", "25m", "--sound", "mp3"},
       "write m.osm [<cafe>] folder=g proximity=25m mp3"},
      {{"write", "m.osm", "cafe", "--gpx-folder", "g", "--proximity", "-5"},
       "write m.osm [<cafe>] folder=g proximity=-5"},
      // "--" ends the options: what follows is a category or the file, "--help" included.
      {{"write", "m.osm", "--gpx-folder", "g", "--", "-x", "--all"},
       "write m.osm [<-x><--all>] folder=g proximity=25"},
      {{"list", "--", "-m.osm", "--help"}, "list -m.osm [<--help>]"},
      {{"--help"}, "help"},
      {{"write", "m.osm", "-h"}, "help"},
      {{"frobnicate", "--help"}, "help"},
      {{}, "refused: no command given"},
      {{"frobnicate", "m.osm"}, "refused: unknown command frobnicate"},
      {{"write", "m.osm", "cafe"}, "refused: write needs --gpx-folder DIR"},
      {{"write", "m.osm", "cafe", "--all", "--gpx-folder", "g"},
       "refused: write takes either CATEGORY... or --all, not both"},
      {{"write", "m.osm", "--gpx-folder", "g"}, "refused: write needs CATEGORY... or --all"},
      {{"write", "--gpx-folder", "g"}, "refused: write needs OSM_FILE"},
      {{"write", "m.osm", "--all", "--gpx-folder", "g", "--sound", "ogg"},
       "refused: --sound takes wav or mp3, not ogg"},
      {{"write", "m.osm", "--all", "--gpx-folder", "g", "--gpx-folder", "h"},
       "refused: --gpx-folder is given twice"},
      {{"write", "m.osm", "--all", "--gpx-folder", "g", "--proximity"},
       "refused: --proximity needs a value"},
      {{"write", "m.osm", "--gpx-folder", "--all"}, "refused: --gpx-folder needs a value"},
      {{"write", "m.osm", "--all", "--gpx-folder", "g", "--proximity", "99999"},
       "refused: --proximity takes a distance from -32768 to 32767, not 99999"},
      {{"write", "m.osm", "--all", "--gpx-folder", "g", "--verbose"},
       "refused: unknown option --verbose"},
      {{"categories", "m.osm", "--all"}, "refused: categories takes no option --all"},
      {{"list", "m.osm", "cafe", "--alert"}, "refused: list takes no option --alert"},
      {{"categories", "m.osm", "extra"}, "refused: too many arguments for categories"},
      {{"list", "m.osm"}, "refused: list needs OSM_FILE CATEGORY"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.arguments));
    const cli::ParseResult result = cli::parseArguments(c.arguments);
    if (const auto* error = std::get_if<cli::UsageError>(&result)) {
      EXPECT_EQ("refused: " + error->reason, c.expected);
    } else {
      EXPECT_EQ(fields(std::get<cli::Invocation>(result)), c.expected);
    }
  }
}

}  // namespace
}  // namespace waymint::testing
