#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/tool.h"
#include "support/bad_osm_files.h"
#include "support/compressed_files.h"
#include "support/osm_text.h"
#include "support/run_program.h"
#include "support/temp_folder.h"

namespace waymint::testing {
namespace {

// An expected text may end with "<usage>": the usage follows, known by its first line.
const std::string usage = "<usage>";

void expectText(const std::string& actual, std::string expected) {
  if (expected.ends_with(usage)) {
    expected.resize(expected.size() - usage.size());
    expected += "waymint-cli categories OSM_FILE\n";
    EXPECT_EQ(actual.substr(0, expected.size()), expected);
  } else {
    EXPECT_EQ(actual, expected);
  }
}

class Tool : public ::testing::Test {
 protected:
  TempFolder folder;
  const std::string osm = folder.write(
      "map.osm", osmFile(osmNode("1", "43.7", "7.4", {{"amenity", "cafe"}, {"name", "Blue"}})));
};

TEST_F(Tool, ExitStatusAndWhatEachStreamSays) {
  // A GPX that was never finished cannot be extended.
  const std::string unfinished = "<?xml version=\"1.0\"?>\r\n<gpx>\r\n<wpt lat=\"1\" lon=\"2\">";
  const std::string gpx = folder.write("gpx/cafe/cafe.gpx", unfinished);
  const std::string missing = folder / "missing.osm";
  struct Case {
    std::vector<std::string> arguments;
    int status;
    std::string out;
    std::string err;
  };
  std::vector<Case> cases = {
      {{}, 2, "", "waymint-cli: no command given\n\n" + usage},
      {{"write", osm, "cafe", "--help"}, 0, usage, ""},
      {{"categories", missing}, 2, "",
       "waymint-cli: cannot read " + missing + ": No such file or directory\n"},

      {{"categories", folder.path()}, 2, "",
       "waymint-cli: cannot read " + folder.path() + ": Is a directory\n"},
      {{"list", osm, "pub"}, 1, "", "waymint-cli: Please select\n"},
      {{"write", osm, "pub", "--gpx-folder", folder / "gpx"}, 1, "",
       "waymint-cli: Please select\n"},
      {{"write", osm, "cafe", "--gpx-folder", folder / "gpx"}, 1, "",
       "waymint-cli: Error merging file\n"},
  };
  for (const BadFile& bad : badOsmFiles(folder)) {
    cases.push_back({{"write", bad.path, "--all", "--gpx-folder", folder.path()}, 2, "",
                     "waymint-cli: " + bad.message + "\n"});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.arguments));
    const Finished run = runTool(c.arguments);
    EXPECT_EQ(run.status, c.status);
    expectText(run.out, c.out);
    expectText(run.err, c.err);
  }
  EXPECT_EQ(slurp(gpx), unfinished);

  // A standard output that cannot be written fails the run.
  RunOptions full;
  full.standardOutput = "/dev/full";
  const Finished lost = runTool({"categories", osm}, full);
  EXPECT_EQ(lost.status, 1);
  EXPECT_EQ(lost.err, "waymint-cli: cannot write standard output: No space left on device\n");
}

// A gzip file is read a MiB at a time: stored uncompressed and one byte short of three MiB,
// it is a third, two thirds and all of it read.
TEST_F(Tool, TheProgressLineRoundsDownAndIsClearedBeforeTheOutput) {
  const std::string head = osmFile(osmNode("1", "43.7", "7.4", {{"amenity", "cafe"}}));
  const size_t size = 3 * 1024 * 1024 - 1;
  std::string text = head + std::string(size, ' ');
  std::string gzip;
  for (;;) {
    gzip = gzipOf(text, 0);
    if (gzip.size() == size) break;
    text.resize(text.size() - (gzip.size() - size));
  }
  const std::string path = folder.write("large.osm.gz", gzip);

  // Both streams go to one terminal.
  std::ostringstream screen;
  EXPECT_EQ(cli::run({"categories", path}, screen, screen, true), 0);
  const std::string shown = screen.str();
  EXPECT_NE(shown.find("\rReading large.osm.gz 33%\033[K"), std::string::npos) << shown;
  EXPECT_NE(shown.find("\rReading large.osm.gz 66%\033[K"), std::string::npos) << shown;
  EXPECT_EQ(shown.find("67%"), std::string::npos) << shown;
  EXPECT_TRUE(shown.ends_with("\r\033[Kcafe\n")) << shown;
}

}  // namespace
}  // namespace waymint::testing
