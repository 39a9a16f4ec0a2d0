// `categories` and `list` run as a script runs them, against the program driven in-process.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/commands.h"
#include "support/temp_folder.h"
#include "tool_runner.h"

namespace waymint::testing {
namespace {

const std::string monaco = sharedPath("data/monaco.osm");
const std::string liechtenstein = sharedPath("data/liechtenstein-2013-08-03.osm");

std::vector<std::string> categoriesInProcess(const std::string& osmFile) {
  InProcess expected;
  expected.open(osmFile);
  return expected.window().List1(2).items();
}

TEST(Help, PrintsTheUsageOnStandardOutput) {
  Finished help = runTool({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out, cli::usage());
  EXPECT_EQ(help.err, "");
}

TEST(Help, AUsageErrorPrintsTheReasonAndTheUsageOnStandardError) {
  Finished wrong = runTool({"write", "a.osm", "--all", "cafe", "--gpx-folder", "/g"});
  EXPECT_EQ(wrong.status, 2);
  EXPECT_EQ(wrong.out, "");
  EXPECT_EQ(wrong.err,
            "waymint-cli: write takes either CATEGORY... or --all, not both\n\n" + cli::usage());
  EXPECT_EQ(runTool({}).status, 2);
}

TEST(Categories, AgreeWithTheCategoryList) {
  for (const std::string& osmFile : {monaco, liechtenstein}) {
    const auto expected = categoriesInProcess(osmFile);
    ASSERT_GT(expected.size(), 50u) << osmFile;
    Finished run = runTool({"categories", osmFile});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(linesOf(run.out), expected) << osmFile;
  }
}

TEST(Categories, AnEmptyFileHasNone) {
  TempFolder folder;
  Finished run = runTool({"categories", folder.write("empty.osm", "")});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "");
}

TEST(Categories, AMissingFileIsNamed) {
  TempFolder folder;
  const std::string missing = folder / "gone.osm";
  Finished run = runTool({"categories", missing});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "waymint-cli: cannot read " + missing + ": No such file or directory\n");
}

TEST(Categories, AFolderIsNamed) {
  TempFolder folder;
  Finished run = runTool({"list", folder.path(), "cafe"});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "waymint-cli: cannot read " + folder.path() + ": Is a directory\n");
}

TEST(Categories, AFileWhoseReadFailsIsNamedWithTheLoadersText) {
  // An ordinary file that opens but cannot be read from its start (even as root).
  const std::string unreadable = "/proc/self/mem";
  Finished run = runTool({"categories", unreadable});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "waymint-cli: cannot read " + unreadable + ": Input/output error\n");
}

TEST(List, AgreesWithAPressOnTheCategory) {
  for (const std::string category : {"restaurant", "cafe", "pharmacy"}) {
    InProcess expected;
    expected.open(monaco);
    expected.press(category);
    ASSERT_GT(expected.window().List1(0).count(), 2) << category;
    ASSERT_TRUE(expected.machine().messages().empty());
    Finished run = runTool({"list", monaco, category});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(linesOf(run.out), expected.window().List1(0).items()) << category;
  }
}

TEST(List, ACategoryWithABlankIsTakenAsTheListHoldsIt) {
  TempFolder folder;
  const std::string osm = folder.write(
      "blank.osm",
      "<osm>\n <node id=\"1\" lat=\"1\" lon=\"2\">\n  <tag k=\"amenity\" v=\"Ice Cream\"/>\n"
      "  <tag k=\"name\" v=\"Gelato\"/>\n </node>\n"
      " <node id=\"2\" lat=\"1\" lon=\"2\">\n  <tag k=\"amenity\" v=\"icecream\"/>\n"
      "  <tag k=\"name\" v=\"Scoop\"/>\n </node>\n</osm>\n");
  ASSERT_EQ(categoriesInProcess(osm), (std::vector<std::string>{"ice cream", "icecream"}));
  Finished run = runTool({"list", osm, "ice cream"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "Scoop\n");  // the blank goes before the search, as in the window
}

TEST(List, AnUnknownCategoryIsNotSelected) {
  Finished run = runTool({"list", monaco, "Restaurant"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "waymint-cli: Please select\n");
}

}  // namespace
}  // namespace waymint::testing
