// The project's own sample in, the exact GPX out.
#include <gtest/gtest.h>

#include <string>

#include "support/temp_folder.h"
#include "tool_runner.h"

namespace waymint::testing {
namespace {

std::string fixture(const std::string& name) {
  std::string here = __FILE__;
  return here.substr(0, here.find_last_of('/')) + "/fixtures/" + name;
}

TEST(Golden, HarbourCafesWithAlertsByteForByte) {
  const std::string sample = std::string(WAYMINT_SOURCE_DIR) + "/samples/waymint-harbour.osm";
  const std::string expected = slurp(fixture("waymint-harbour~cafe.gpx"));
  ASSERT_NE(slurp(sample), "<missing>");
  ASSERT_NE(expected, "<missing>");
  TempFolder folder;
  Finished run = runTool({"write", sample, "cafe", "--gpx-folder", folder.path(), "--alert"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  const std::string gpx = folder / "cafe/cafe.gpx";
  EXPECT_EQ(run.out, "cafe\t4\t" + gpx + "\n");
  const std::string written = slurp(gpx);
  EXPECT_EQ(written.size(), expected.size());
  EXPECT_EQ(written, expected);
}

}  // namespace
}  // namespace waymint::testing
