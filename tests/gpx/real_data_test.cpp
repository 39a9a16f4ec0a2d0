// Category runs on real extracts, and their GPX files checked by the tools that read them:
// the schema validator and a GPX reader.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/files.h"
#include "support/program_fixture.h"
#include "support/run_program.h"

namespace waymint::testing {
namespace {

// The rows of a CSV text; quoted fields may hold commas, doubled quotes and line ends.
std::vector<std::vector<std::string>> csvRows(const std::string& text) {
  std::vector<std::vector<std::string>> rows(1, std::vector<std::string>(1));
  bool quoted = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '"') {
      quoted = !quoted;
      if (quoted && i > 0 && text[i - 1] == '"') rows.back().back() += '"';  // doubled
    } else if (!quoted && c == ',') {
      rows.back().emplace_back();
    } else if (!quoted && c == '\n') {
      rows.emplace_back(1);
    } else if (quoted || c != '\r') {
      rows.back().back() += c;
    }
  }
  rows.pop_back();  // what follows the last line end
  return rows;
}

// A name as a reader gives it back: the five entities of XML decoded.
std::string decoded(std::string text) {
  const std::pair<std::string, std::string> entities[] = {
      {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
  for (const auto& [entity, plain] : entities) {
    for (size_t at = 0; (at = text.find(entity, at)) != std::string::npos; at += plain.size()) {
      text.replace(at, entity.size(), plain);
    }
  }
  return text;
}

// The lat and lon texts of the wpt start tags of a GPX text, in order.
std::vector<std::pair<std::string, std::string>> wptPositions(const std::string& gpx) {
  std::vector<std::pair<std::string, std::string>> found;
  const std::string open = "<wpt lat=\"", between = "\" lon=\"";
  for (size_t at = gpx.find(open); at != std::string::npos; at = gpx.find(open, at + 1)) {
    const size_t lat = at + open.size(), latEnd = gpx.find(between, lat);
    const size_t lon = latEnd + between.size();
    found.emplace_back(gpx.substr(lat, latEnd - lat), gpx.substr(lon, gpx.find('"', lon) - lon));
  }
  return found;
}

class RealDataTest : public ProgramTest {
 protected:
  void SetUp() override { start(); }
  void loadShared(const char* file) { load(platform::files::readWhole(sharedPath(file))); }
  int listed(const std::string& category) {
    press(category);
    return program->f1.List1(0).count();
  }
};

TEST_F(RealDataTest, ListingRunsCountTheNamesOfACategory) {
  loadShared("data/monaco.osm");
  const std::pair<std::string, int> monaco[] = {
      {"hotel", 31}, {"art", 30}, {"car", 30}, {"tree", 274}};
  for (const auto& [category, count] : monaco) EXPECT_EQ(listed(category), count) << category;
  loadShared("data/liechtenstein-2013-08-03.osm");
  EXPECT_EQ(listed("tree"), 58);
}

TEST_F(RealDataTest, WrittenFilesAreValidAndReadBackWithTheirWaypoints) {
  ASSERT_TRUE(onPath("xmllint") && onPath("gpsbabel")) << "the checks need xmllint and gpsbabel";
  loadShared("data/monaco.osm");
  program->f1.Check2.setValue(1);
  for (const std::string category : {"cafe", "fuel", "pharmacy", "restaurant"}) {
    SCOPED_TRACE(category);
    choose(category);
    create();
    const std::string file = gpxOf(category);
    const Finished valid = runProgram(
        {"xmllint", "--noout", "--schema", sharedPath("xsd/gpx-with-garmin.xsd"), file});
    EXPECT_EQ(valid.status, 0) << valid.err;

    const Finished read =
        runProgram({"gpsbabel", "-i", "gpx", "-f", file, "-o", "unicsv", "-F", "-"});
    ASSERT_EQ(read.status, 0) << read.err;
    const auto rows = csvRows(read.out);
    const auto positions = wptPositions(slurp(file));
    const std::vector<std::string>& names = program->f1.List2.items();
    ASSERT_FALSE(names.empty());
    ASSERT_EQ(positions.size(), names.size());
    ASSERT_EQ(rows.size(), names.size() + 1);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"No", "Latitude", "Longitude", "Name",
                                                 "Description", "Proximity", "Address"}));
    for (size_t i = 0; i < names.size(); ++i) {
      const auto& row = rows[i + 1];
      ASSERT_EQ(row.size(), 7u) << names[i];
      EXPECT_NEAR(std::stod(row[1]), std::stod(positions[i].first), 1e-6) << names[i];
      EXPECT_NEAR(std::stod(row[2]), std::stod(positions[i].second), 1e-6) << names[i];
      EXPECT_EQ(row[3], decoded(names[i]));
      EXPECT_EQ(row[4], "This is " + decoded(names[i]));
      EXPECT_EQ(row[5], "25");  // the alert's distance is read as a live element
    }
  }
}

}  // namespace
}  // namespace waymint::testing
