// `write` run as a script runs it: the GPX files it leaves, its report lines, its failures.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <map>
#include <string>
#include <vector>

#include "support/temp_folder.h"
#include "tool_runner.h"

namespace waymint::testing {
namespace {

const std::string monaco = sharedPath("data/monaco.osm");
const std::string liechtenstein = sharedPath("data/liechtenstein-2013-08-03.osm");
const std::string schema = sharedPath("xsd/gpx-with-garmin.xsd");

std::string gpxOf(const TempFolder& folder, const std::string& category) {
  return folder / (category + "/" + category + ".gpx");
}

bool wellFormed(const std::vector<std::string>& files) {
  std::vector<std::string> command{"xmllint", "--noout"};
  command.insert(command.end(), files.begin(), files.end());
  return runProgram(command).status == 0;
}

bool valid(const std::vector<std::string>& files) {
  std::vector<std::string> command{"xmllint", "--noout", "--schema", schema};
  command.insert(command.end(), files.begin(), files.end());
  return runProgram(command).status == 0;
}

// The window's user: the same boxes set by hand, a press on the category, the create button.
struct WrittenInProcess {
  int added = -1;
  std::string gpx;
};
WrittenInProcess writeInProcess(const std::string& osmFile, const std::string& category,
                                const std::string& gpxFolder, const std::string& proximity) {
  InProcess user;
  user.open(osmFile);
  app::f1& window = user.window();
  window.Text1.setText(gpxFolder);
  window.Check2.setValue(1);
  window.Check2_MouseUp();
  window.Text3(1).setText(proximity);
  user.press(category);
  WrittenInProcess written;
  window.createAndReport([&](const std::string&) { written.added = window.List2.count(); });
  written.gpx = slurp(user.program().state.gpxpath);
  return written;
}

TEST(Write, AgreesWithTheCreateButton) {
  TempFolder byTool;
  TempFolder byHand;
  Finished run = runTool({"write", monaco, "restaurant", "cafe", "--gpx-folder", byTool.path(),
                          "--alert", "--proximity", "40"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const auto lines = linesOf(run.out);
  ASSERT_EQ(lines.size(), 2u);
  const std::vector<std::string> categories{"restaurant", "cafe"};
  for (size_t i = 0; i < categories.size(); ++i) {
    const auto expected = writeInProcess(monaco, categories[i], byHand.path(), "40");
    ASSERT_GT(expected.added, 5);
    EXPECT_EQ(fieldsOf(lines[i]),
              (std::vector<std::string>{categories[i], std::to_string(expected.added),
                                        gpxOf(byTool, categories[i])}));
    EXPECT_EQ(slurp(gpxOf(byTool, categories[i])), expected.gpx) << categories[i];
  }
}

TEST(Write, AllCategoriesOfACountryThenAgainAddsNothing) {
  TempFolder folder;
  InProcess expected;
  expected.open(liechtenstein);
  const auto categories = expected.window().List1(2).items();
  ASSERT_GT(categories.size(), 50u);

  Finished first =
      runTool({"write", liechtenstein, "--all", "--gpx-folder", folder.path(), "--alert"});
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_EQ(first.err, "");
  const auto lines = linesOf(first.out);
  ASSERT_EQ(lines.size(), categories.size());
  std::vector<std::string> written;
  for (size_t i = 0; i < lines.size(); ++i) {
    const auto fields = fieldsOf(lines[i]);
    ASSERT_EQ(fields.size(), 3u) << lines[i];
    EXPECT_EQ(fields[0], categories[i]);
    EXPECT_GT(std::stoi(fields[1]), 0) << lines[i];
    written.push_back(fields[2]);
  }
  const auto files = filesBelow(folder.path());
  ASSERT_EQ(files.size(), categories.size());  // one GPX per category, nothing else
  for (const std::string& path : written) EXPECT_EQ(files.count(path), 1u) << path;
  EXPECT_TRUE(wellFormed(written));
  EXPECT_TRUE(valid(written));  // every one of them, in one call

  Finished second =
      runTool({"write", liechtenstein, "--all", "--gpx-folder", folder.path(), "--alert"});
  ASSERT_EQ(second.status, 0) << second.err;
  EXPECT_EQ(second.err, "");
  const auto again = linesOf(second.out);
  ASSERT_EQ(again.size(), categories.size());
  for (size_t i = 0; i < again.size(); ++i) {
    EXPECT_EQ(fieldsOf(again[i]), (std::vector<std::string>{categories[i], "0", written[i]}));
  }
  // Every file as it was, but for the one CR that each extension leaves before the closing
  // line (the old body is kept up to the character before "</gpx>").
  const auto after = filesBelow(folder.path());
  ASSERT_EQ(after.size(), files.size());
  for (const auto& [path, bytes] : files) {
    const std::string closing = "\r\n</gpx>\r\n";
    ASSERT_TRUE(bytes.ends_with(closing)) << path;
    const std::string extended = bytes.substr(0, bytes.size() - closing.size()) + "\r" + closing;
    EXPECT_TRUE(after.at(path) == extended) << path;
  }
}

TEST(Write, SoundWavLinksEveryBlockToTheCategorysWav) {
  TempFolder folder;
  Finished run =
      runTool({"write", monaco, "pharmacy", "--gpx-folder", folder.path(), "--sound", "wav"});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string gpx = slurp(gpxOf(folder, "pharmacy"));
  const std::string link =
      "   <link href=\"file://" + folder.path() + "/pharmacy/pharmacy.wav\" />\r\n";
  size_t blocks = 0;
  for (size_t at = gpx.find("<wpt "); at != std::string::npos; at = gpx.find("<wpt ", at + 1)) {
    ++blocks;
    const size_t end = gpx.find("</wpt>", at);
    EXPECT_NE(gpx.substr(at, end - at).find(link), std::string::npos);
  }
  EXPECT_EQ(std::to_string(blocks), fieldsOf(linesOf(run.out).at(0)).at(1));
  EXPECT_EQ(gpx.find(".mp3"), std::string::npos);
}

TEST(Write, WithoutSoundNoLink) {
  TempFolder folder;
  ASSERT_EQ(runTool({"write", monaco, "pharmacy", "--gpx-folder", folder.path()}).status, 0);
  const std::string gpx = slurp(gpxOf(folder, "pharmacy"));
  EXPECT_NE(gpx.find("<wpt "), std::string::npos);
  EXPECT_EQ(gpx.find("pharmacy.wav"), std::string::npos);
  EXPECT_EQ(gpx.find("pharmacy.mp3"), std::string::npos);
  // The alert is off: the proximity stays in the file as a comment.
  EXPECT_NE(gpx.find("<!--<gpxx:Proximity>25</gpxx:Proximity>-->"), std::string::npos);
}

TEST(Write, SoundMp3LinksTheMp3) {
  TempFolder folder;
  ASSERT_EQ(runTool({"write", monaco, "pharmacy", "--gpx-folder", folder.path(), "--sound", "mp3"})
                .status,
            0);
  const std::string gpx = slurp(gpxOf(folder, "pharmacy"));
  EXPECT_NE(gpx.find("/pharmacy/pharmacy.mp3\" />"), std::string::npos);
  EXPECT_EQ(gpx.find(".wav"), std::string::npos);
}

TEST(Write, ProximityWithAlert) {
  TempFolder folder;
  Finished run = runTool(
      {"write", monaco, "pharmacy", "--gpx-folder", folder.path(), "--alert", "--proximity", "50"});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string gpx = slurp(gpxOf(folder, "pharmacy"));
  EXPECT_NE(gpx.find("  <gpxx:Proximity>50</gpxx:Proximity>\r\n"), std::string::npos);
  EXPECT_EQ(gpx.find("<gpxx:Proximity>25<"), std::string::npos);
  EXPECT_EQ(gpx.find("<!--"), std::string::npos);
  EXPECT_TRUE(valid({gpxOf(folder, "pharmacy")}));
}

TEST(Write, AProximityOutOfRangeIsTheWindowsOverflow) {
  TempFolder folder;
  Finished run = runTool({"write", monaco, "pharmacy", "--gpx-folder", folder.path(), "--alert",
                          "--proximity", "40000"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "waymint-cli: Overflow\n");
}

TEST(Write, AnUnknownCategorySaysPleaseSelectAndTheOthersGoOn) {
  TempFolder folder;
  Finished run =
      runTool({"write", monaco, "no_such_thing", "pharmacy", "--gpx-folder", folder.path()});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "waymint-cli: Please select\n");
  const auto lines = linesOf(run.out);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(fieldsOf(lines[0]).at(0), "pharmacy");
  EXPECT_FALSE(filesBelow(folder.path()).count(gpxOf(folder, "no_such_thing")));
}

TEST(Write, AGpxWithoutItsClosingLineIsLeftAlone) {
  TempFolder folder;
  const std::string broken = "<?xml version=\"1.0\"?>\r\n<gpx>\r\n<wpt lat=\"1\" lon=\"2\">\r\n";
  const std::string gpx = folder.write("pharmacy/pharmacy.gpx", broken);
  Finished run = runTool({"write", monaco, "pharmacy", "--gpx-folder", folder.path()});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "waymint-cli: Error merging file\n");
  EXPECT_EQ(slurp(gpx), broken);
}

TEST(Write, AGpxThatCannotBeReplacedIsLeftAlone) {
  TempFolder folder;
  ASSERT_EQ(runTool({"write", monaco, "pharmacy", "--gpx-folder", folder.path()}).status, 0);
  const std::string gpx = gpxOf(folder, "pharmacy");
  const std::string before = slurp(gpx);
  // Take one waypoint out, so that a second run has something to add.
  const size_t first = before.find("<wpt ");
  const std::string shorter =
      before.substr(0, first) + before.substr(before.find("</wpt>", first) + 8);
  folder.write("pharmacy/pharmacy.gpx", shorter);
  ASSERT_EQ(::chmod(gpx.c_str(), 0444), 0);
  Finished run = runTool({"write", monaco, "pharmacy", "--gpx-folder", folder.path()});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "waymint-cli: Permission denied\n");
  EXPECT_EQ(slurp(gpx), shorter);
}

TEST(Write, AFolderThatCannotBeMadeEndsThatCategory) {
  TempFolder folder;
  const std::string file = folder.write("plain.txt", "not a folder");
  Finished run = runTool({"write", monaco, "pharmacy", "--gpx-folder", file});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err,
            "waymint-cli: Not a directory\nwaymint-cli: Invalid filename:" + file + "/pharmacy\n");
}

TEST(Write, ARelativeFolderIsTakenFromTheWorkingFolder) {
  TempFolder folder;
  Finished run = runTool({"write", monaco, "pharmacy", "--gpx-folder", "gpx/new"}, folder.path());
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string gpx = folder / "gpx/new/pharmacy/pharmacy.gpx";
  EXPECT_EQ(fieldsOf(linesOf(run.out).at(0)).at(2), gpx);
  EXPECT_NE(slurp(gpx).find("</gpx>"), std::string::npos);
}

TEST(Write, AllOnAnEmptyFileWritesNothing) {
  TempFolder folder;
  Finished run =
      runTool({"write", folder.write("empty.osm", ""), "--all", "--gpx-folder", folder / "gpx"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "");
}

TEST(Write, AMissingOsmFileWritesNothing) {
  TempFolder folder;
  Finished run = runTool({"write", folder / "gone.osm", "cafe", "--gpx-folder", folder / "gpx"});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err,
            "waymint-cli: cannot read " + (folder / "gone.osm") + ": No such file or directory\n");
  EXPECT_EQ(filesBelow(folder.path()).size(), 0u);
}

}  // namespace
}  // namespace waymint::testing
