#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <variant>
#include <vector>

#include "cli/arguments.h"
#include "cli/tool.h"
#include "platform/files.h"
#include "support/bad_osm_files.h"
#include "support/case_table.h"
#include "support/compressed_files.h"
#include "support/locks.h"
#include "support/osm_text.h"
#include "support/run_program.h"
#include "support/temp_folder.h"

namespace waymint::testing {
namespace {

using cli::Command;

// Every field of an invocation on one line, so that a table row can spell it out.
std::string fields(const cli::Invocation& invocation) {
  const char* commands[] = {"help", "version", "categories", "list", "write", "send"};
  const char* sounds[] = {"", " wav", " mp3"};
  std::string text = commands[static_cast<int>(invocation.command)];
  if (invocation.command == Command::Help || invocation.command == Command::Version) return text;
  if (invocation.command == Command::Send) {
    text += " [";
    for (const std::string& category : invocation.categories) text += "<" + category + ">";
    return text + "] folder=" + invocation.gpxFolder + " device=" + invocation.device;
  }
  text += " " + invocation.osmFile + " [";
  for (const std::string& category : invocation.categories) text += "<" + category + ">";
  text += "]";
  std::string choices;
  if (invocation.choices.areas) choices += " areas";
  if (invocation.choices.exact) choices += " exact";
  if (invocation.choices.details) choices += " details";
  if (invocation.command != Command::Write) return text + choices;
  text += invocation.all ? " all" : "";
  text += " folder=" + invocation.gpxFolder + (invocation.alert ? " alert" : "");
  return text + " proximity=" + invocation.proximity + sounds[static_cast<int>(invocation.sound)] +
         (invocation.gpi ? " gpi" : "") + choices;
}

// The cases: the arguments "|" apart, and the invocation's fields or "refused: " and the reason.
TEST(Arguments, CommandLinesAreTakenOrRefusedWithTheirReason) {
  for (const auto& c : caseTable("cli/data/arguments.tsv", 2)) {
    std::string list = c[0];
    std::replace(list.begin(), list.end(), '|', '\n');
    const std::vector<std::string> arguments = linesOf(list);
    SCOPED_TRACE(::testing::PrintToString(arguments));
    const cli::ParseResult result = cli::parseArguments(arguments);
    if (const auto* error = std::get_if<cli::UsageError>(&result)) {
      EXPECT_EQ("refused: " + error->reason, c[1]);
    } else {
      EXPECT_EQ(fields(std::get<cli::Invocation>(result)), c[1]);
    }
  }
}

struct Case {
  std::vector<std::string> arguments;
  int status;
  std::string out, err;
};

void expectRuns(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.arguments));
    const Finished run = runTool(c.arguments);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.out, c.out);
    EXPECT_EQ(run.err, c.err);
  }
}

class Tool : public ::testing::Test {
 protected:
  TempFolder folder;
  const std::string osm = folder.write(
      "map.osm", osmFile(osmNode("1", "43.7", "7.4", {{"amenity", "cafe"}, {"name", "Blue"}})));
};

TEST_F(Tool, ExitStatusAndWhatEachStreamSays) {
  // Without a command the usage follows the complaint: the one --help prints.
  const std::string usage = runTool({"--help"}).out;
  ASSERT_TRUE(usage.starts_with("waymint-cli categories OSM_FILE [CHOICES]\n")) << usage;
  // A GPX that was never finished cannot be extended.
  const std::string unfinished = "<?xml version=\"1.0\"?>\r\n<gpx>\r\n<wpt lat=\"1\" lon=\"2\">";
  const std::string gpx = folder.write("gpx/cafe/cafe.gpx", unfinished);
  const std::string missing = folder / "missing.osm";
  std::vector<Case> cases = {
      {{}, 2, "", "waymint-cli: no command given\n\n" + usage},
      {{"frob\x1b]0;t\x07"}, 2, "", "waymint-cli: unknown command frob\\x1b]0;t\\x07\n\n" + usage},
      {{"write", osm, "cafe", "--help"}, 0, usage, ""},
      {{"categories", missing}, 2, "",
       "waymint-cli: cannot read " + missing + ": No such file or directory\n"},
      {{"categories", folder.path()}, 2, "",
       "waymint-cli: cannot read " + folder.path() + ": Is a directory\n"},
      {{"list", osm, "pub"}, 1, "", "waymint-cli: pub: Please select\n"},
      {{"write", osm, "pub", "--gpx-folder", folder / "gpx"}, 1, "",
       "waymint-cli: pub: Please select\n"},
      {{"write", osm, "cafe", "--gpx-folder", folder / "gpx"}, 1, "",
       "waymint-cli: cafe: Error merging file " + gpx + "\n"},
  };
  for (const BadFile& bad : badOsmFiles(folder)) {
    cases.push_back({{"write", bad.path, "--all", "--gpx-folder", folder.path()}, 2, "",
                     "waymint-cli: " + bad.message + "\n"});
  }
  expectRuns(cases);
  EXPECT_EQ(slurp(gpx), unfinished);

  // A standard output that cannot be written fails the run.
  RunOptions full;
  full.standardOutput = "/dev/full";
  const Finished lost = runTool({"categories", osm}, full);
  EXPECT_EQ(lost.status, 1);
  EXPECT_EQ(lost.err, "waymint-cli: cannot write standard output: No space left on device\n");
}

// The tool keeps no settings: no state file beside it, none in the configuration folder.
TEST_F(Tool, WritesNoStateFile) {
  const std::string besideTool = std::filesystem::path(WAYMINT_CLI).parent_path() / "osm_pois.dat";
  const Finished run = runProgram({"env", "HOME=" + folder.path(),
                                   "XDG_CONFIG_HOME=" + folder / "config", WAYMINT_CLI, "write",
                                   osm, "--all", "--gpx-folder", folder / "gpx"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_FALSE(std::filesystem::exists(folder / "config"));
  EXPECT_FALSE(std::filesystem::exists(folder / ".config"));
  EXPECT_FALSE(std::filesystem::exists(besideTool));
}

// A gzip file is read a MiB at a time: stored uncompressed and one byte short of three MiB,
// it is a third, two thirds and all of it read.
TEST_F(Tool, TheProgressLineRoundsDownAndIsClearedBeforeTheOutput) {
  const size_t size = 3 * 1024 * 1024 - 1;
  std::string text = osmFile(osmNode({{"amenity", "cafe"}})) + std::string(size, ' '), gzip;
  while ((gzip = gzipOf(text, 0)).size() != size) text.resize(text.size() - (gzip.size() - size));
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

// Out of memory while the waypoint list is read again after a run: said, naming the GPX, and
// the next category is written all the same.
TEST_F(Tool, OutOfMemoryReadingAGpxIsSaidAndTheRunsGoOn) {
  const std::string two = folder.write(
      "two.osm", osmFile(osmNode("1", "43.7", "7.4", {{"amenity", "cafe"}, {"name", "Blue"}}) +
                         osmNode("2", "44.1", "8.1", {{"amenity", "pub"}, {"name", "Bar"}})));
  const std::string gpx = folder / "gpx", cafe = gpx + "/cafe/cafe.gpx";
  platform::files::injectReadFaults([&](const std::string& path) { return path == cafe ? ENOMEM : 0; });
  std::ostringstream out, err;
  const int status = cli::run({"write", two, "cafe", "pub", "--gpx-folder", gpx}, out, err, false);
  platform::files::injectReadFaults({});
  EXPECT_EQ(status, 0);
  EXPECT_EQ(out.str(), "cafe\t1\t" + cafe + "\npub\t1\t" + gpx + "/pub/pub.gpx\n");
  EXPECT_EQ(err.str(), "waymint-cli: cafe: Out of memory reading " + cafe + "\n");
}

// Values from a file can hold blanks only, control characters, line breaks; a folder given can
// hold a backslash; a GPX can be a link to something that is no file.
TEST_F(Tool, HostileNamesAndPlacesAreHandledAsTheyAre) {
  const std::string odd = folder.write(
      "odd.osm", osmFile(osmNode("1", "1", "1", {{"amenity", " "}}) +
                         osmNode("2", "2", "2", {{"amenity", "esc\x1b[31m"}, {"name", "Red\x1b[0m"}}) +
                         osmNode("3", "3", "3", {{"amenity", "two\nlines"}, {"name", "A\tB"}}) +
                         osmNode("4", "4", "4", {{"amenity", "cafe"}, {"name", "Blue"}})));
  const std::string gpx = folder / "gpx";
  const std::vector<Case> cases = {
      {{"categories", odd}, 0, " \ncafe\nesc\\x1b[31m\ntwo\\nlines\n", ""},
      {{"list", odd, "two\\nlines"}, 0, "A\\tB\n", ""},
      {{"write", odd, " ", "--gpx-folder", gpx}, 1, "",
       "waymint-cli:  : The category \" \" is blank: no POI and no GPX file can be named after it.\n"},
      {{"write", odd, "--all", "--gpx-folder", folder / "all"}, 0,
       "cafe\t1\t" + folder / "all/cafe/cafe.gpx\nesc\\x1b[31m\t1\t" + folder / "all/esc_[31m/esc_[31m.gpx\n" +
           "two\\nlines\t1\t" + folder / "all/two_lines/two_lines.gpx\n",
       "waymint-cli: passing over the blank category \" \"\n"},
      // A folder typed with a backslash is written into as it is named.
      {{"write", osm, "cafe", "--gpx-folder", folder / "a\\b"}, 0,
       "cafe\t1\t" + folder / "a\\b/cafe/cafe.gpx\n", ""},
      {{"write", osm, "cafe", "--gpx-folder", folder / "fifo"}, 1, "",
       "waymint-cli: cafe: " + folder / "fifo/cafe/cafe.gpx: not a regular file; it is left as it is\n"},
  };
  std::filesystem::create_directories(folder / "fifo/cafe");
  ASSERT_EQ(::mkfifo((folder / "fifo/pipe").c_str(), 0644), 0);
  ASSERT_EQ(::symlink("../pipe", (folder / "fifo/cafe/cafe.gpx").c_str()), 0);
  expectRuns(cases);
  EXPECT_FALSE(std::filesystem::exists(folder / "all/.gpx"));
  EXPECT_FALSE(std::filesystem::exists(folder / "a"));
  EXPECT_TRUE(std::filesystem::is_fifo(folder / "fifo/pipe"));
}

// Two runs extending one GPX at once: the second waits for the first, so both are written.
TEST_F(Tool, RunsOnOneGpxTakeTurns) {
  const std::string other = folder.write(
      "other.osm", osmFile(osmNode("9", "44.1", "8.1", {{"amenity", "cafe"}, {"name", "Green"}})));
  const std::string gpx = folder / "gpx";
  std::filesystem::create_directories(gpx + "/cafe");
  std::optional<platform::files::FolderLock> held = platform::files::FolderLock::take(gpx + "/cafe");
  Finished first, second;
  std::atomic<int> ended = 0;
  std::thread one([&] { first = runTool({"write", osm, "cafe", "--gpx-folder", gpx}), ++ended; });
  std::thread two([&] { second = runTool({"write", other, "cafe", "--gpx-folder", gpx}), ++ended; });
  // Both wait (a run that does not wait ends the polling).
  pollUntil([&] { return waitingForLock(gpx + "/cafe") == 2; }, [&] { return ended > 0; });
  EXPECT_EQ(waitingForLock(gpx + "/cafe"), 2);
  EXPECT_FALSE(std::filesystem::exists(gpx + "/cafe/cafe.gpx"));
  held.reset();
  one.join();
  two.join();
  EXPECT_EQ(first.out, "cafe\t1\t" + gpx + "/cafe/cafe.gpx\n");
  EXPECT_EQ(second.out, "cafe\t1\t" + gpx + "/cafe/cafe.gpx\n");
  const std::string written = slurp(gpx + "/cafe/cafe.gpx");
  EXPECT_NE(written.find("<name>Blue</name>"), std::string::npos);
  EXPECT_NE(written.find("<name>Green</name>"), std::string::npos);
}

// A run that waited for another which failed and took away the folder it had made: the
// waiting run makes the folder again and writes its GPX.
TEST_F(Tool, ARunWhoseFolderWentWhileItWaitedMakesItAgain) {
  const std::string gpx = folder / "gpx";
  std::filesystem::create_directories(gpx + "/cafe");
  std::optional<platform::files::FolderLock> held = platform::files::FolderLock::take(gpx + "/cafe");
  Finished run;
  std::atomic<bool> ended = false;
  std::thread waiting([&] { run = runTool({"write", osm, "cafe", "--gpx-folder", gpx}), ended = true; });
  pollUntil([&] { return waitingForLock(gpx + "/cafe") == 1; }, [&] { return ended.load(); });
  EXPECT_EQ(waitingForLock(gpx + "/cafe"), 1);
  std::filesystem::remove(gpx + "/cafe");
  held.reset();
  waiting.join();
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "cafe\t1\t" + gpx + "/cafe/cafe.gpx\n");
  EXPECT_NE(slurp(gpx + "/cafe/cafe.gpx").find("<name>Blue</name>"), std::string::npos);
}

// Two runs through two links to one GPX, each in a folder of its own: both wait for the lock
// of the folder that holds the file, so both POIs are kept.
TEST_F(Tool, RunsThroughLinksToOneGpxTakeTurns) {
  const std::string other = folder.write(
      "other.osm", osmFile(osmNode("9", "44.1", "8.1", {{"amenity", "cafe"}, {"name", "Green"}})));
  const std::string shared = folder / "shared";
  ASSERT_EQ(runTool({"write", osm, "cafe", "--gpx-folder", shared}).status, 0);
  const std::string gpx = shared + "/cafe/cafe.gpx";
  const std::string before = slurp(gpx);
  for (const char* link : {"a/cafe", "b/cafe"}) {
    std::filesystem::create_directories(folder / link);
    std::filesystem::create_symlink(gpx, folder / (std::string(link) + "/cafe.gpx"));
  }
  std::optional<platform::files::FolderLock> held = platform::files::FolderLock::take(shared + "/cafe");
  Finished first, second;
  std::atomic<int> ended = 0;
  std::thread one([&] { first = runTool({"write", other, "cafe", "--gpx-folder", folder / "a"}), ++ended; });
  std::thread two([&] {
    const std::string third = folder.write(
        "third.osm", osmFile(osmNode("7", "45.1", "9.1", {{"amenity", "cafe"}, {"name", "Gold"}})));
    second = runTool({"write", third, "cafe", "--gpx-folder", folder / "b"}), ++ended;
  });
  // Both wait (a run that does not wait ends the polling).
  pollUntil([&] { return waitingForLock(shared + "/cafe") == 2; }, [&] { return ended > 0; });
  EXPECT_EQ(waitingForLock(shared + "/cafe"), 2);
  EXPECT_EQ(slurp(gpx), before);
  held.reset();
  one.join();
  two.join();
  EXPECT_EQ(first.out, "cafe\t1\t" + folder / "a/cafe/cafe.gpx\n") << first.err;
  EXPECT_EQ(second.out, "cafe\t1\t" + folder / "b/cafe/cafe.gpx\n") << second.err;
  const std::string written = slurp(gpx);
  for (const char* name : {"Blue", "Green", "Gold"}) {
    EXPECT_NE(written.find("<name>" + std::string(name) + "</name>"), std::string::npos) << name;
  }
  EXPECT_TRUE(std::filesystem::is_symlink(folder / "a/cafe/cafe.gpx"));
}

}  // namespace
}  // namespace waymint::testing
