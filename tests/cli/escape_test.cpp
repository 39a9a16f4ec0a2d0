// What a file holds reaches no terminal as it is: the escaping of the tool's texts, and a run
// on a pseudo-terminal with a file and a category named to take the terminal over.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "cli/escape.h"
#include "support/case_table.h"
#include "support/osm_text.h"
#include "support/run_program.h"
#include "support/temp_folder.h"

namespace waymint::testing {
namespace {

TEST(Escape, WhatATerminalWouldObeyIsWrittenAsAnEscape) {
  for (const auto& c : caseTable("cli/data/escapes.tsv", 2)) {
    EXPECT_EQ(cli::escaped(c[0]), c[1]) << ::testing::PrintToString(c[0]);
  }
  // A message keeps its line breaks, CR LF as LF, and escapes the rest alike.
  EXPECT_EQ(cli::escapedMessage("a\r\nb\n\xe2\x80\xae\r"), "a\nb\n\\u202e\\r");
}

// Runs waymint-cli with both its output streams on one pseudo-terminal, which passes bytes
// through unchanged; gives what the terminal received.
std::string runOnTerminal(const std::vector<std::string>& arguments) {
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) return "<no terminal>";
  const int terminal = ::open(::ptsname(master), O_RDWR | O_NOCTTY | O_CLOEXEC);
  termios raw{};
  ::tcgetattr(terminal, &raw);
  ::cfmakeraw(&raw);
  ::tcsetattr(terminal, TCSANOW, &raw);
  std::vector<char*> argv{const_cast<char*>(WAYMINT_CLI)};
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  const pid_t child = ::fork();
  if (child == 0) {
    const int nothing = ::open("/dev/null", O_RDONLY);
    ::dup2(nothing, 0), ::dup2(terminal, 1), ::dup2(terminal, 2);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  // The terminal stays open here, so that nothing written is lost when the tool ends: it is
  // read until the tool has ended and nothing more is there.
  std::string screen;
  bool ended = false;
  for (int status = 0;;) {
    pollfd ready{master, POLLIN, 0};
    const int events = ::poll(&ready, 1, ended ? 0 : 50);
    char buffer[4096];
    const ssize_t got = events > 0 ? ::read(master, buffer, sizeof buffer) : 0;
    if (got > 0) {
      screen.append(buffer, static_cast<size_t>(got));
    } else if (ended) {
      break;
    } else {
      ended = ::waitpid(child, &status, WNOHANG) == child;
    }
  }
  ::close(terminal);
  ::close(master);
  return screen;
}

// A file named to set the terminal's title and clear its screen, and categories that would
// turn the line around or start a control sequence: the terminal gets none of it as it is,
// neither in the progress line nor in what the tool prints. The escaped category names the
// category to list.
TEST(Escape, AHostileFileAndCategoryReachTheTerminalEscaped) {
  TempFolder folder;
  const std::string title = "\x1b]0;owned\x07\x1b[2J\x9b" "31m\xe2\x80\xae";
  const std::string category = "cafe\xe2\x80\xae\x1b" "c\xc2\x9b";
  const std::string osm = folder.write(
      "t" + title + ".osm",
      osmFile(osmNode("1", "1", "1", {{"amenity", category}, {"name", "Red\xc2\x9b"}})));
  const std::string shownTitle = "\\x1b]0;owned\\x07\\x1b[2J\\x9b31m\\u202e";
  const std::string shownCategory = "cafe\\u202e\\x1bc\\u009b";

  const std::string written =
      runOnTerminal({"write", osm, "--all", "--gpx-folder", folder / "gpx"});
  EXPECT_NE(written.find("\rReading t" + shownTitle + ".osm 0%\x1b[K"), std::string::npos)
      << written;
  EXPECT_NE(written.find("\rWriting " + shownCategory), std::string::npos) << written;
  const std::string shownFolder = "cafe\\u202e_c\\u009b";
  EXPECT_NE(written.find("\r\x1b[K" + shownCategory + "\t1\t" + folder.path() + "/gpx/" +
                         shownFolder + "/" + shownFolder + ".gpx\n"),
            std::string::npos) << written;
  const std::string listed = runOnTerminal({"list", osm, shownCategory});
  EXPECT_NE(listed.find("\r\x1b[KRed__\n"), std::string::npos) << listed;
  // Named as it stands, as it was before its characters were escaped, it is found too.
  EXPECT_EQ(runTool({"list", osm, category}).out, "Red__\n");

  for (std::string screen : {written, listed}) {
    // Only the tool's own sequence is left, that clears the progress line.
    for (size_t at; (at = screen.find("\x1b[K")) != std::string::npos;) screen.erase(at, 3);
    for (const std::string obeyed : {"\x1b", "\x07", "\x9b", "\xe2\x80\xae", "\xc2\x9b"}) {
      EXPECT_EQ(screen.find(obeyed), std::string::npos) << ::testing::PrintToString(obeyed);
    }
  }
}

}  // namespace
}  // namespace waymint::testing
