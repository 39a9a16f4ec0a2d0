// A small hand-made OSM file in, the exact GPX bytes out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "extraction_fixture.h"

namespace waymint::testing {
namespace {

std::string fixture(const std::string& name) {
  std::string here = __FILE__;
  return here.substr(0, here.find_last_of('/')) + "/fixtures/" + name;
}

using GoldenTest = ExtractionTest;

TEST_F(GoldenTest, CafesGiveTheExpectedGpxByteForByte) {
  const std::string input = slurp(fixture("cafes-n8.osm"));
  const std::string expected = slurp(fixture("cafes-n8~cafe.gpx"));
  ASSERT_NE(input, "<missing>");
  ASSERT_NE(expected, "<missing>");
  load(input);
  choose("cafe");
  p.f1.Check2.setValue(1);
  p.f1.Text3(1).setText("25");
  write();
  EXPECT_TRUE(machine.messages().empty());
  EXPECT_EQ(added(), (std::vector<std::string>{"Caf&#233; de Paris", "Cr__me &amp; Co",
                                               "cafe:43.7330,7.4220", "Quoted", "Corner"}));
  const std::string written = slurp(gpxOf("cafe"));
  EXPECT_EQ(written.size(), expected.size());
  EXPECT_EQ(written, expected);
}

}  // namespace
}  // namespace waymint::testing
