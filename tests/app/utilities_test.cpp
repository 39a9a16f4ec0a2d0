#include <gtest/gtest.h>
#include <sys/stat.h>

#include <limits>

#include "app/number_text.h"
#include "app/utilities.h"
#include "platform/files.h"
#include "support/program_fixture.h"

namespace waymint::testing {
namespace {

namespace files = platform::files;
using UtilitiesTest = ProgramTest;

TEST_F(UtilitiesTest, LoadtextOfMissingFileIsEmptyAndChangesNothing) {
  app::Program& p = start();
  p.state.osmfile = "/before.osm";
  int busyChanges = machine.busyChanges();
  EXPECT_EQ(app::loadtext(p, folder / "nothing.gpx"), "");
  EXPECT_EQ(app::loadtext(p, folder.path()), "");  // a folder is no ordinary file
  EXPECT_EQ(p.state.osmfile, "/before.osm");
  EXPECT_EQ(machine.busyChanges(), busyChanges);
  EXPECT_TRUE(machine.messages().empty());
}

TEST_F(UtilitiesTest, LoadtextReadsExactBytesAndLeavesBusyPointerOn) {
  app::Program& p = start();
  std::string bytes("line 1\r\nline\t2\n\0\xff\xfe end", 24);
  std::string path = folder.write("a b.gpx", bytes);
  machine.setClock([] { return 4242.5; });
  EXPECT_EQ(app::loadtext(p, path), bytes);
  EXPECT_EQ(p.state.osmfile, path);
  EXPECT_DOUBLE_EQ(p.state.starttime, 4242.5);
  EXPECT_TRUE(machine.busyPointer());
  EXPECT_GE(machine.yields(), 1);
}

TEST_F(UtilitiesTest, LoadtextOfUnreadableFileReportsAndGivesEmptyText) {
  app::Program& p = start();
  // An ordinary file that no one, root included, can read.
  EXPECT_EQ(app::loadtext(p, "/proc/self/mem"), "");
  EXPECT_EQ(machine.messageTexts(), std::vector<std::string>{"Input/output error"});
  EXPECT_EQ(p.state.osmfile, "/proc/self/mem");
}

TEST_F(UtilitiesTest, FixpathTurnsEverySeparatorIntoThePlatformsOwn) {
  std::string p = "C:\\maps/gpx\\sub";
  EXPECT_EQ(app::fixpath(p), "C:/maps/gpx/sub");
  EXPECT_EQ(p, "C:/maps/gpx/sub");
  std::string dot = ".";
  EXPECT_EQ(app::fixpath(dot), ".");
}

TEST_F(UtilitiesTest, MakdirMakesEveryMissingFolder) {
  app::Program& p = start();
  std::string existing = folder / "a";
  files::makeFolder(existing);
  EXPECT_TRUE(app::makdir(p, existing));
  EXPECT_TRUE(machine.messages().empty());

  // The other separator, and a trailing one, name the same folders.
  std::string deep = folder.path() + "\\b\\c/d\\";
  EXPECT_TRUE(app::makdir(p, deep));
  EXPECT_TRUE(files::isFolder(folder / "b/c/d"));
  EXPECT_TRUE(machine.messages().empty());
}

TEST_F(UtilitiesTest, MakdirRefusesRootsBareNamesAndUnmakeableFolders) {
  app::Program& p = start();
  EXPECT_FALSE(app::makdir(p, "/"));
  EXPECT_FALSE(app::makdir(p, "\\"));
  EXPECT_FALSE(app::makdir(p, "gpx"));
  EXPECT_EQ(machine.messageTexts(),
            (std::vector<std::string>{"Invalid filename:/", "Invalid filename:\\",
                                      "Invalid filename:gpx"}));
  machine.forgetMessages();

  // A file stands where a parent folder should be: the platform's text, then ours.
  folder.write("plain", "x");
  std::string blocked = folder / "plain/sub/deeper";
  EXPECT_FALSE(app::makdir(p, blocked));
  EXPECT_EQ(machine.messageTexts(),
            (std::vector<std::string>{"Not a directory", "Invalid filename:" + blocked}));
}

TEST_F(UtilitiesTest, EnabledSetsTheSixButtonsTogether) {
  app::Program& p = start();
  app::f1& w = p.f1;
  std::vector<platform::Control*> group{&w.Command1, &w.Command2(0), &w.Command3,
                                        &w.Command4, &w.Picture5(0), &w.Picture5(1)};
  app::enabled_(p, false);
  for (auto* control : group) EXPECT_FALSE(control->enabled()) << control->name();
  EXPECT_TRUE(w.command5.enabled());
  app::enabled_(p, true);
  for (auto* control : group) EXPECT_TRUE(control->enabled()) << control->name();
  app::busy_on(p);
  EXPECT_TRUE(machine.busyPointer());
  app::busy_on(p);
  app::busy_off(p);
  EXPECT_FALSE(machine.busyPointer());  // no nesting: the last call decides
}

TEST(NumberText, WritesLikeTheCaption) {
  EXPECT_EQ(app::numberText(0.27f), " .27");
  EXPECT_EQ(app::numberText(-0.5f), "-.5");
  EXPECT_EQ(app::numberText(12.0f), " 12");
  EXPECT_EQ(app::numberText(0.0f), " 0");
}

TEST(NumberText, ReadsTheLeadingNumber) {
  EXPECT_EQ(app::leadingNumber("  25m"), 25.0);
  EXPECT_EQ(app::leadingNumber("-2.5e2x"), -250.0);
  EXPECT_EQ(app::leadingNumber("+.5"), 0.5);
  EXPECT_EQ(app::leadingNumber("1e"), 1.0);
  // Numbers beyond a double stay beyond any range a box checks.
  EXPECT_EQ(app::leadingNumber("1e999"), std::numeric_limits<double>::infinity());
  EXPECT_EQ(app::leadingNumber("-1e999m"), -std::numeric_limits<double>::infinity());
  EXPECT_EQ(app::leadingNumber("1e-999"), 0.0);
  EXPECT_EQ(app::leadingNumber(std::string(400, '9')), std::numeric_limits<double>::infinity());
  EXPECT_FALSE(app::leadingNumber("m25").has_value());
  EXPECT_FALSE(app::leadingNumber("").has_value());
  EXPECT_FALSE(app::leadingNumber("-.").has_value());
}

}  // namespace
}  // namespace waymint::testing
