#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "gpx/create_gpx.h"
#include "support/osm_text.h"
#include "support/program_fixture.h"
#include "workflow/category_workflow.h"

namespace waymint::testing {
namespace {

using End = gpx::RunResult::End;
using Texts = std::vector<std::string>;

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
};

TEST_F(CreateGpxTest, ASecondRunAddsNothingAndKeepsTheWaypoints) {
  choose("cafe");
  expectRun(End::Complete, 2);
  EXPECT_EQ(program->f1.List2.items(), (Texts{"Blue", "Red"}));
  const std::string first = slurp(gpxOf("cafe"));
  EXPECT_EQ(waypointsIn(first), 2u);

  expectRun(End::Complete, 0);
  EXPECT_EQ(program->f1.List1(0).items(), (Texts{"Blue", "Red"}));
  const std::string second = slurp(gpxOf("cafe"));
  EXPECT_EQ(waypointsIn(second), 2u);
  // The old body up to its closing line stays as it was.
  const size_t body = first.rfind("</gpx>") - 1;
  EXPECT_EQ(second.substr(0, body), first.substr(0, body));
}

TEST_F(CreateGpxTest, RunsThatEndEarlyLeaveTheOldFile) {
  struct Case {
    std::string name, old;  // the old GPX; "" makes its path a folder
    mode_t mode;
    End end;
    std::string message;
    bool select = true;
  };
  const std::string valid = "<gpx>\r\n</gpx>\r\n";
  const std::vector<Case> cases = {
      {"nothing selected", valid, 0644, End::NothingSelected, "Please select", false},
      {"no </gpx>", "<gpx>\r\n<wpt lat=\"43.1\" lon=\"7.1\">\r\n", 0644, End::NotMerged,
       "Error merging file " + gpxOf("cafe")},
      {"no write bit, refused even for root", valid, 0444, End::Failed,
       gpxOf("cafe") + ": Permission denied"},
      {"a folder", "", 0755, End::Failed, gpxOf("cafe") + ": not a regular file; it is left as it is"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(gpxFolder() + "/cafe");
    if (c.old.empty()) std::filesystem::create_directories(gpxOf("cafe"));
    if (!c.old.empty()) folder.write("gpx/cafe/cafe.gpx", c.old);
    ::chmod(gpxOf("cafe").c_str(), c.mode);
    choose("cafe");
    if (!c.select) program->f1.List1(2).setSelectedIndex(-1);
    expectRun(c.end, 0);
    EXPECT_EQ(takeMessages(), Texts{c.message});
    if (!c.old.empty()) {
      EXPECT_EQ(slurp(gpxOf("cafe")), c.old);
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

}  // namespace
}  // namespace waymint::testing
