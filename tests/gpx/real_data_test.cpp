// GPX files written from a real OSM extract, checked by the tools that read them: the schema
// validator and a GPX reader.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sys/wait.h>

#include <set>
#include <string>
#include <vector>

#include "app/text_search.h"
#include "extraction_fixture.h"

namespace waymint::testing {
namespace {

struct CommandResult {
  int status = -1;
  std::string output;
};

// Runs a shell command and gives its exit status and standard output.
CommandResult runCommand(const std::string& command) {
  CommandResult result;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return result;
  char buffer[4096];
  for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
    result.output.append(buffer, got);
  }
  const int status = ::pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

// The rows of a CSV text; fields in double quotes may hold commas, doubled quotes and line ends.
std::vector<std::vector<std::string>> csvRows(const std::string& text) {
  std::vector<std::vector<std::string>> rows(1, std::vector<std::string>(1));
  bool quoted = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        rows.back().back() += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        rows.back().back() += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      rows.back().emplace_back();
    } else if (c == '\n') {
      rows.emplace_back(1);
    } else if (c != '\r') {
      rows.back().back() += c;
    }
  }
  if (rows.back().size() == 1 && rows.back()[0].empty()) rows.pop_back();
  return rows;
}

// The text a reader makes of a name written as it stands in the OSM file.
std::string decodeEntities(std::string text) {
  const std::pair<const char*, const char*> entities[] = {
      {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
  for (const auto& [entity, plain] : entities) {
    for (size_t at; (at = text.find(entity)) != std::string::npos;) {
      text.replace(at, std::string(entity).size(), plain);
    }
  }
  return text;
}

struct Waypoint {
  std::string lat;
  std::string lon;
};

// The positions of the wpt start tags of a GPX text, in order.
std::vector<Waypoint> wptPositions(const std::string& gpx) {
  std::vector<Waypoint> found;
  for (size_t at = gpx.find("<wpt lat=\""); at != std::string::npos;
       at = gpx.find("<wpt lat=\"", at + 1)) {
    const size_t latStart = at + 10;
    const size_t latEnd = gpx.find('"', latStart);
    const size_t lonStart = latEnd + 7;
    found.push_back({gpx.substr(latStart, latEnd - latStart),
                     gpx.substr(lonStart, gpx.find('"', lonStart) - lonStart)});
  }
  return found;
}

class RealDataTest : public ExtractionTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(runCommand("command -v xmllint gpsbabel >/dev/null").status, 0)
        << "the checks need xmllint and gpsbabel";
    load(platform::files::readWhole(sharedPath("data/monaco.osm")));
    p.f1.Check2.setValue(1);
  }

  void expectValid(const std::string& file) {
    CommandResult check = runCommand("xmllint --noout --schema '" +
                                     sharedPath("xsd/gpx-with-garmin.xsd") + "' '" + file +
                                     "' 2>&1");
    EXPECT_EQ(check.status, 0) << check.output;
  }

  // Reads the file back with the GPX reader and compares its waypoints with List2 and with
  // the nodes of the OSM text.
  void expectReadBack(const std::string& file) {
    CommandResult read = runCommand("gpsbabel -i gpx -f '" + file + "' -o unicsv -F - 2>&1");
    ASSERT_EQ(read.status, 0) << read.output;
    auto rows = csvRows(read.output);
    ASSERT_FALSE(rows.empty());
    ASSERT_EQ(rows[0][0], "No");
    ASSERT_EQ(rows[0][1], "Latitude");
    ASSERT_EQ(rows[0][2], "Longitude");
    ASSERT_EQ(rows[0][3], "Name");
    const std::string gpx = slurp(file);
    const std::vector<Waypoint> positions = wptPositions(gpx);
    ASSERT_EQ(rows.size() - 1, added().size());
    ASSERT_EQ(positions.size(), added().size());
    const std::string_view osmText = p.state.chunks.bytes;
    for (size_t i = 0; i < added().size(); ++i) {
      const auto& row = rows[i + 1];
      EXPECT_EQ(row[3], decodeEntities(added()[i]));
      EXPECT_NEAR(std::stod(row[1]), std::stod(positions[i].lat), 1e-6) << added()[i];
      EXPECT_NEAR(std::stod(row[2]), std::stod(positions[i].lon), 1e-6) << added()[i];
      const std::string inOsm = "lat=\"" + positions[i].lat + "\" lon=\"" + positions[i].lon + "\"";
      EXPECT_TRUE(app::containsText(osmText, inOsm)) << inOsm;
    }
  }

  void expectAscii(const std::string& file) {
    for (unsigned char c : slurp(file)) ASSERT_LT(c, 128);
  }
};

TEST_F(RealDataTest, GpxFilesOfSeveralCategoriesAreValidAndReadBack) {
  const std::vector<std::string> categories = {"cafe", "fuel", "pharmacy", "restaurant"};
  for (const auto& category : categories) {
    SCOPED_TRACE(category);
    choose(category, categories);
    write();
    EXPECT_TRUE(machine.messages().empty());
    EXPECT_FALSE(added().empty());
    EXPECT_EQ(added(), found());
    const std::string file = gpxOf(category);
    expectValid(file);
    expectReadBack(file);
    expectAscii(file);
  }
}

TEST_F(RealDataTest, NamesAreUniqueAndTheSecondRunAddsNothing) {
  choose("restaurant");
  write();
  const std::set<std::string> unique(added().begin(), added().end());
  EXPECT_EQ(unique.size(), added().size());
  const size_t firstCount = added().size();
  write();
  EXPECT_TRUE(added().empty());
  EXPECT_EQ(found().size(), firstCount);
  EXPECT_EQ(wptPositions(slurp(gpxOf("restaurant"))).size(), firstCount);
  expectValid(gpxOf("restaurant"));
}

TEST_F(RealDataTest, WithSoundAndWithoutAlertTheFileStaysValid) {
  p.f1.Check1.setValue(1);
  p.f1.Check2.setValue(0);
  choose("pharmacy");
  write();
  const std::string gpx = slurp(gpxOf("pharmacy"));
  EXPECT_NE(gpx.find("<link href=\"file://" + gpxFolder + "/pharmacy/pharmacy.mp3\" />"),
            std::string::npos);
  EXPECT_NE(gpx.find("<!--<gpxx:Proximity>25</gpxx:Proximity>-->"), std::string::npos);
  expectValid(gpxOf("pharmacy"));
  expectReadBack(gpxOf("pharmacy"));
}

}  // namespace
}  // namespace waymint::testing
