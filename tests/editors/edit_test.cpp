#include <gtest/gtest.h>

#include "editors/edit.h"
#include "support/program_fixture.h"

namespace waymint::testing {
namespace {

using Texts = std::vector<std::string>;
using EditTest = ProgramTest;

TEST_F(EditTest, ViewerListsTheWaypointNamesInFileOrder) {
  editors::edit viewer(start());
  viewer.Form_Load();
  // "<wpt" and a tab is no waypoint; a waypoint without a name gives an error and no entry.
  const std::string path = folder.write(
      "cafe.gpx",
      "<gpx>\r\n<wpt\tlat=\"0\"><name>Tab</name></wpt>\r\n"
      "<wpt lat=\"1\"><name>Le Bar</name></wpt>\r\n<wpt lat=\"2\"><sym>x</sym></wpt>\r\n"
      "<wpt lat=\"3\"><name>Caf&#233; &amp; Co</name></wpt>\r\n"
      "<wpt lat=\"4\"><name>Le Bar</name></wpt>\r\n</gpx>\r\n");
  program->state.osmfile = "/maps/map.osm";
  machine.chooseNext(path);
  viewer.mff_Click(0);
  EXPECT_EQ(takeMessages(), (Texts{"4", "Invalid procedure call or argument"}));
  EXPECT_EQ(viewer.List1.items(), (Texts{"Le Bar", "Caf&#233; &amp; Co", "Le Bar"}));
  EXPECT_EQ(program->state.osmfile, "/maps/map.osm");
  EXPECT_FALSE(machine.busyPointer());

  // A cancelled pick says so and leaves the list; a file without waypoints shows 0.
  viewer.mff_Click(0);
  EXPECT_EQ(takeMessages(), Texts{"Cancel was selected."});
  EXPECT_EQ(viewer.List1.count(), 3);
  machine.chooseNext(folder.write("empty.gpx", "<gpx></gpx>"));
  viewer.mff_Click(0);
  EXPECT_EQ(takeMessages(), Texts{"0"});
  EXPECT_EQ(viewer.List1.count(), 0);
}

}  // namespace
}  // namespace waymint::testing
