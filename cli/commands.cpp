#include "cli/commands.h"

#include <array>
#include <stdexcept>
#include <string>

#include "osm/text_search.h"

namespace waymint::cli {
namespace {

constexpr std::string_view programName = "waymint-cli";

const std::array<CommandEntry, 4> commands{{
    {Command::Categories, "categories", "categories OSM_FILE [CHOICES]",
     "prints the POI categories of OSM_FILE, one a line, as the category list shows them",
     runCategories},
    {Command::List, "list", "list OSM_FILE CATEGORY [CHOICES]",
     "prints the names of the POIs of CATEGORY, one a line, as a press on it lists them", runList},
    {Command::Write, "write",
     "write OSM_FILE (CATEGORY... | --all) --gpx-folder DIR [--alert] [--proximity N] "
     "[--sound wav|mp3] [--gpi] [CHOICES]",
     "creates or extends DIR/<category>/<category>.gpx for each CATEGORY (or every category)\n"
     "and prints a line per category: the category, TAB, the POIs added, TAB, the GPX path;\n"
     "--gpi also makes DIR/<category>/<category>.gpi, a navigator's POI file, from all the\n"
     "GPX's waypoints and prints it as a line: the category, TAB, its POIs, TAB, its path",
     runWrite},
    {Command::Send, "send", "send GPX_FOLDER [CATEGORY...] [--device DIR]",
     "makes the GPI of each CATEGORY of GPX_FOLDER (or of every one) beside its GPX and writes\n"
     "it into DIR/Garmin/POI (without --device, the navigator connected: a mounted folder\n"
     "holding Garmin/GarminDevice.xml); prints a line per file sent: the category, TAB, its\n"
     "POIs, TAB, its path; says on standard error the navigator's model and the room left\n"
     "(exit status 2 when GPX_FOLDER is not a folder)",
     runSend},
}};

void appendIndented(std::string& text, std::string_view lines) {
  for (size_t start = 0; start <= lines.size();) {
    size_t end = lines.find('\n', start);
    if (end == osm::npos) end = lines.size();
    text.append("  ").append(lines.substr(start, end - start)).append("\n");
    start = end + 1;
  }
}

}  // namespace

const CommandEntry* findCommand(std::string_view name) {
  for (const CommandEntry& entry : commands) {
    if (entry.name == name) return &entry;
  }
  return nullptr;
}

const CommandEntry& commandFor(Command command) {
  for (const CommandEntry& entry : commands) {
    if (entry.command == command) return entry;
  }
  throw std::logic_error("no such command");
}

std::string versionLine() {
  return std::string(programName) + " " + WAYMINT_VERSION + "\n";
}

std::string usage() {
  std::string text;
  for (const CommandEntry& entry : commands) {
    text.append(programName).append(" ").append(entry.synopsis).append("\n");
  }
  text.append(programName).append(" --help | --version\n\n");
  for (const CommandEntry& entry : commands) {
    text.append(entry.name).append(":\n");
    appendIndented(text, entry.summary);
  }
  text.append(
      "\nCHOICES, any of them, as the window's check boxes make them:\n"
      "  --areas    closed ways and multipolygons that are areas are POIs too, at a point\n"
      "             inside them\n"
      "  --exact    a POI is of CATEGORY when amenity, shop, tourism... has that value, not\n"
      "             when the text merely holds it; disused:, was:... keys make no POI\n"
      "  --details  waypoints carry the address, phone, opening hours and website of the\n"
      "             POI, and names in UTF-8\n");
  text.append(
      "\nExit status: 0 when all went well, 1 when a run reported a failure, 2 for a usage\n"
      "error or an OSM file that cannot be read.\n");
  return text;
}

}  // namespace waymint::cli
