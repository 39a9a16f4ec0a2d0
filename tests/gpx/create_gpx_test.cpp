#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "gpx/create_gpx.h"
#include "gpx/gpx_document.h"
#include "gpx/gpx_paths.h"
#include "gpx/parse.h"
#include "platform/files.h"
#include "support/case_table.h"
#include "support/osm_text.h"
#include "support/program_fixture.h"
#include "support/run_program.h"
#include "support/test_data.h"
#include "workflow/category_workflow.h"

namespace waymint::testing {
namespace {

using End = gpx::RunResult::End;
using Texts = std::vector<std::string>;

// Each case names the function it calls, its one or two arguments and what it gives.
TEST(Parse, FileNamesWaypointNamesAndAttributeValues) {
  using Call = std::function<std::string(const std::string&, const std::string&)>;
  const std::map<std::string, Call> calls = {
      {"fileName", [](const std::string& text, const std::string&) { return gpx::fileName(text); }},
      {"collapseSeparators",
       [](const std::string& path, const std::string&) { return gpx::collapseSeparators(path); }},
      {"fnstrip", [](const std::string& text, const std::string&) { return gpx::fnstrip(text); }},
      {"replaceControls",
       [](std::string text, const std::string&) {
         gpx::replaceControls(text);
         return text;
       }},
      {"rawName",
       [](const std::string& record, const std::string&) { return std::string(gpx::rawName(record)); }},
      {"attributeValue",
       [](const std::string& record, const std::string& key) {
         const std::optional<std::string_view> value = gpx::attributeValue(record, key);
         return value ? std::string(*value) : "<none>";
       }},
      {"wptLine", [](const std::string& lat, const std::string& lon) { return gpx::wptLine(lat, lon); }},
  };
  for (const auto& c : caseTable("gpx/data/names_and_values.tsv", 4)) {
    SCOPED_TRACE(::testing::PrintToString(c));
    EXPECT_EQ(calls.at(c[0])(c[1], c[2]), c[3]);
  }
}

TEST(GpxPaths, CategoryPathsAndSoundLinks) {
  // Only the GPX path loses its doubled separators.
  gpx::CategoryPaths paths = gpx::categoryPaths("/g/", "a:b");
  EXPECT_EQ(paths.folder, "/g//a_b");
  EXPECT_EQ(paths.gpx, "/g/a_b/a_b.gpx");
  EXPECT_EQ(paths.icon, "/g//a_b/a_b.bmp");

  // The folder is the category's file name, the sound file named apart.
  using gpx::SoundFormat;
  EXPECT_EQ(gpx::soundLink("/g", "a*b", "tone", SoundFormat::Wav), "file:///g/a_b/tone.wav");
  EXPECT_EQ(gpx::soundLink("/g", "pub", "pub", SoundFormat::None), "file:///g/pub/pub");
}

size_t waypointsIn(const std::string& gpx) {
  size_t count = 0;
  for (size_t at = 0; (at = gpx.find("<wpt ", at)) != std::string::npos; ++at) ++count;
  return count;
}

class CreateGpxTest : public ProgramTest {
 protected:
  void SetUp() override {
    start();
    load(osmFile(osmNode("1", "43.1", "7.1", {{"amenity", "cafe"}, {"name", "Blue"}}) +
                 osmNode("2", "43.2", "7.2", {{"amenity", "cafe"}, {"name", "Red"}}) +
                 osmNode("3", "43.3", "7.3", {{"amenity", "pub"}, {"name", "Bar"}})));
  }

  // Runs the create button's work and checks how the run ended, what it added and the report
  // (one only after a complete run).
  void expectRun(End end, int added, const std::string& category = "cafe") {
    std::string report;
    const gpx::RunResult result =
        workflow::createAndReport(*program, [&report](const std::string& text) { report = text; });
    EXPECT_EQ(result.end, end);
    EXPECT_EQ(result.added, added);
    const std::string complete =
        "GPX created\r\n\r\nNew POIs added: " + std::to_string(added) + "\r\n\r\n" + category +
        ".bmp not found in same folder as \r\n\r\n" + gpxOf(category) +
        "\r\n\r\nPOI will remain invisible. Use Pixmold to create bitmap.";
    EXPECT_EQ(report, end == End::Complete ? complete : "");
  }
  void loadExtract(const char* name) { load(platform::files::readWhole(unpackedExtract(name))); }
  int listed(const std::string& category) {
    press(category);
    return program->f1.List1(0).count();
  }
};

// A POI the GPX holds already is not added again, but its name is still listed.
TEST_F(CreateGpxTest, ASecondRunAddsNothingAndKeepsTheWaypoints) {
  choose("cafe");
  expectRun(End::Complete, 2);
  EXPECT_EQ(program->f1.List2.items(), (Texts{"Blue", "Red"}));
  expectRun(End::Complete, 0);
  EXPECT_EQ(program->f1.List1(0).items(), (Texts{"Blue", "Red"}));
  EXPECT_EQ(waypointsIn(slurp(gpxOf("cafe"))), 2u);
}

// A GPX without a write bit (refused even for root) or that is a folder stays as it was, and
// no temporary file is left beside it.
TEST_F(CreateGpxTest, RunsThatEndEarlyLeaveTheOldFile) {
  const std::string old = "<gpx>\r\n</gpx>\r\n";
  for (const bool isFolder : {false, true}) {
    SCOPED_TRACE(isFolder);
    std::filesystem::remove_all(gpxFolder() + "/cafe");
    std::filesystem::create_directories(isFolder ? gpxOf("cafe") : gpxFolder() + "/cafe");
    if (!isFolder) ::chmod(folder.write("gpx/cafe/cafe.gpx", old).c_str(), 0444);
    choose("cafe");
    expectRun(End::Failed, 0);
    const std::string why =
        isFolder ? "not a regular file; it is left as it is" : "Permission denied";
    EXPECT_EQ(takeMessages(), Texts{gpxOf("cafe") + ": " + why});
    if (!isFolder) {
      EXPECT_EQ(slurp(gpxOf("cafe")), old);
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(gpxFolder() + "/cafe"), {}), 1);
  }
}

TEST_F(CreateGpxTest, AProximityOutOfRangeIsReportedAndTheRunGoesOn) {
  program->f1.Check2.setValue(1);
  program->f1.Text3(1).setText("30");
  choose("pub");
  expectRun(End::Complete, 1, "pub");
  program->f1.Text3(1).setText("40000");
  choose("cafe");
  expectRun(End::Complete, 2);
  EXPECT_EQ(takeMessages(), Texts{"Overflow"});
  // The previous distance stays.
  const std::string gpx = slurp(gpxOf("cafe"));
  EXPECT_NE(gpx.find("\r\n  <gpxx:Proximity>30</gpxx:Proximity>\r\n"), std::string::npos);
  EXPECT_EQ(gpx.find("40000"), std::string::npos);
}

TEST_F(CreateGpxTest, BlanksLeaveTheCategoryAndUntaggedNodesAreNoPois) {
  load(osmFile(osmNode("1", "43.1", "7.1", {}, " user=\"cafe\"") +
               osmNode("2", "43.2", "7.2", {{"amenity", "cafe"}, {"name", "Red"}}) +
               osmNode("3", "43.3", "7.3", {}, " user=\"cafe\"")));
  choose(" ca fe ");
  expectRun(End::Complete, 1);
  EXPECT_EQ(program->state.category, "cafe");
  EXPECT_EQ(program->f1.Text4.text(), "cafe");
  EXPECT_EQ(program->f1.List2.items(), Texts{"Red"});
  const std::string gpx = slurp(gpxOf("cafe"));
  EXPECT_EQ(waypointsIn(gpx), 1u);
  EXPECT_NE(gpx.find("<wpt lat=\"43.2\" lon=\"7.2\">"), std::string::npos);
}

// Control characters a broken file holds in a name or a position never reach the GPX, which
// stays well-formed; names that differ only there are one name, listed and written once.
TEST_F(CreateGpxTest, ControlCharactersInAFileReachNoGpx) {
  load(osmFile(osmNode("1", std::string("43.1\0", 5), "7.1\x02",
                       {{"amenity", "cafe"}, {"name", std::string("Blue\0\x1b]0;t\x07", 11)}}) +
               osmNode("2", "43.2", "7.2", {{"amenity", "cafe"}, {"name", "Blue\x01\x1b]0;t\x07"}}) +
               osmNode("3", "43.3", "7.3", {{"amenity", "caf\x01" "e"}})));
  choose("cafe");
  expectRun(End::Complete, 1);
  EXPECT_EQ(program->f1.List1(0).items(), Texts{"Blue__]0;t_"});
  EXPECT_EQ(program->f1.List2.items(), Texts{"Blue__]0;t_"});
  const std::string gpx = slurp(gpxOf("cafe"));
  EXPECT_NE(gpx.find("<wpt lat=\"43.1_\" lon=\"7.1_\">\r\n<name>Blue__]0;t_</name>\r\n"
                     "<cmt>This is Blue__]0;t_</cmt>"), std::string::npos) << gpx;
  EXPECT_EQ(gpx.find_first_of(std::string("\0\x01\x02\x07\x1b", 5)), std::string::npos);
  // A node named after its category, control character and all, is told by its position.
  choose("caf\x01" "e");
  expectRun(End::Complete, 1, "caf_e");
  EXPECT_EQ(program->f1.List2.items(), Texts{"caf_e:43.3,7.3"});
}

// Runs on real extracts, and their GPX files checked by the tools that read them: the schema
// validator and a GPX reader, which gives a name back with the five entities of XML decoded.
std::string decoded(std::string text) {
  const char* entities[][2] = {
      {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
  for (const auto& [entity, plain] : entities) {
    text = std::regex_replace(text, std::regex(entity), plain);
  }
  return text;
}

std::string unquoted(const std::string& field) {
  return std::regex_replace(field, std::regex("\"\""), "\"");
}

TEST_F(CreateGpxTest, ListingRunsOnRealExtractsCountTheNamesOfACategory) {
  loadExtract("monaco.osm");
  const std::pair<std::string, int> monaco[] = {
      {"hotel", 31}, {"art", 30}, {"car", 30}, {"tree", 274}};
  for (const auto& [category, count] : monaco) EXPECT_EQ(listed(category), count) << category;
  loadExtract("liechtenstein-2013-08-03.osm");
  EXPECT_EQ(listed("tree"), 58);
}

TEST_F(CreateGpxTest, RealWrittenFilesAreValidAndReadBackWithTheirWaypoints) {
  ASSERT_TRUE(onPath("xmllint") && onPath("gpsbabel")) << "the checks need xmllint and gpsbabel";
  loadExtract("monaco.osm");
  program->f1.Check2.setValue(1);
  // A waypoint as the file holds it, and its row as the reader gives it back (quotes doubled).
  const std::regex wpt("<wpt lat=\"([^\"]*)\" lon=\"([^\"]*)\">\r\n<name>([^<]*)</name>");
  const std::regex row("\\d+,([-.0-9]+),([-.0-9]+),\"((?:[^\"]|\"\")*)\",\"((?:[^\"]|\"\")*)\","
                       "(\\d+),\";\"");
  for (const std::string category : {"cafe", "fuel", "pharmacy", "restaurant"}) {
    SCOPED_TRACE(category);
    choose(category);
    create();
    const std::string file = gpxOf(category), gpx = slurp(file);
    const Finished valid = runProgram(
        {"xmllint", "--noout", "--schema", testDataPath("xsd/gpx-with-garmin.xsd"), file});
    EXPECT_EQ(valid.status, 0) << valid.err;

    Finished read = runProgram({"gpsbabel", "-i", "gpx", "-f", file, "-o", "unicsv", "-F", "-"});
    ASSERT_EQ(read.status, 0) << read.err;
    std::erase(read.out, '\r');
    std::istringstream rows(read.out);
    std::string line;
    std::getline(rows, line);
    EXPECT_EQ(line, "No,Latitude,Longitude,Name,Description,Proximity,Address");
    size_t i = 0;
    for (std::sregex_iterator at(gpx.begin(), gpx.end(), wpt), end; at != end; ++at, ++i) {
      const std::string name = decoded((*at)[3]);
      std::smatch got;
      ASSERT_TRUE(std::getline(rows, line) && std::regex_match(line, got, row)) << line;
      EXPECT_NEAR(std::stod(got[1]), std::stod((*at)[1]), 1e-6) << name;
      EXPECT_NEAR(std::stod(got[2]), std::stod((*at)[2]), 1e-6) << name;
      EXPECT_EQ(unquoted(got[3]), name);
      EXPECT_EQ(unquoted(got[4]), "This is " + name);
      EXPECT_EQ(got[5], "25");  // the alert's distance is read as a live element
    }
    EXPECT_GT(i, 0u);
    EXPECT_EQ(i, program->f1.List2.items().size());
    EXPECT_FALSE(std::getline(rows, line)) << line;
  }
}

}  // namespace
}  // namespace waymint::testing
