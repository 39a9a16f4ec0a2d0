// What the program keeps safe: a GPX, the state file and an edited file when a step of
// replacing them fails; a GPX another run holds; blank categories; memory and its end.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/state_file.h"
#include "editors/edall.h"
#include "platform/files.h"
#include "support/osm_text.h"
#include "support/program_fixture.h"
#include "workflow/category_workflow.h"

#if defined(__SANITIZE_ADDRESS__)
#define WAYMINT_ADDRESS_SANITIZER
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define WAYMINT_ADDRESS_SANITIZER
#endif
#endif

namespace waymint::testing {
namespace {

using Texts = std::vector<std::string>;
namespace files = platform::files;
using files::Step;

const std::string cafes = osmFile(osmNode("1", "43.70", "7.40", {{"amenity", "cafe"}, {"name", "Blue"}}) +
                                  osmNode("2", "43.71", "7.41", {{"amenity", "cafe"}, {"name", "Quay"}}));

class FileFaultsTest : public ProgramTest {
 protected:
  void SetUp() override {
    start();
    open(cafes);
  }
  void TearDown() override {
    files::injectFaults({});
    ProgramTest::TearDown();
  }
  // Every name in a folder that the program's temporary files would have.
  static Texts temporariesIn(const std::string& folder) {
    Texts names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      const std::string name = entry.path().filename().string();
      if (name.starts_with(".waymint-")) names.push_back(name);
    }
    return names;
  }
};

TEST_F(FileFaultsTest, AStepThatFailsLeavesEveryReplacedFileAsItWas) {
  const std::string gpx = gpxOf("cafe");
  const std::string oldGpx = "<gpx>\r\n</gpx>\r\n";
  const std::string edited = folder.write("edited.gpx", "<gpx>\r\n<wpt lat=\"1\" lon=\"2\">\r\n"
                                          "  <gpxx:Proximity>20</gpxx:Proximity>\r\n</wpt>\r\n</gpx>\r\n");
  const std::string oldEdited = slurp(edited);
  folder.write("osm_pois.dat", "the state file before\r\n");
  editors::edall editor(*program);
  int points = 0;
  for (const Step failing : {Step::Open, Step::Write, Step::Chmod, Step::Sync, Step::Close,
                             Step::Rename}) {
    folder.write("gpx/cafe/cafe.gpx", oldGpx);
    files::injectFaults([failing](Step step) { return step == failing ? EIO : 0; });
    press("cafe");
    EXPECT_EQ(create(), "");  // no report: the run says what failed
    program->f1.Form_QueryUnload();  // the state file: silently kept
    editor.Form_Load();
    machine.chooseNext(edited);
    editor.Command2_Click();
    program->state.alert = true;
    editor.Text3(1).setText("35");
    editor.Command1_Click(0);
    files::injectFaults({});
    const Texts messages = takeMessages();
    ASSERT_EQ(messages.size(), 5u);
    EXPECT_EQ(messages[0], gpx + ": Input/output error");
    EXPECT_EQ(messages[4], edited + " Input/output error");
    EXPECT_EQ(slurp(gpx), oldGpx);
    EXPECT_EQ(slurp(stateFile()), "the state file before\r\n");
    EXPECT_EQ(slurp(edited), oldEdited);
    EXPECT_EQ(temporariesIn(gpxFolder() + "/cafe"), Texts{});
    EXPECT_EQ(temporariesIn(folder.path()), Texts{});
    points += 3;
  }
  EXPECT_EQ(points, 18);
}

// Two runs extending one GPX at once would lose one run's POIs: the second says the file is
// in use (the window must not freeze waiting), and writes nothing.
TEST_F(FileFaultsTest, AGpxAnotherRunHoldsIsNotTouched) {
  folder.write("gpx/cafe/cafe.gpx", "<gpx>\r\n</gpx>\r\n");
  press("cafe");
  {
    const auto held = files::FolderLock::take(gpxFolder() + "/cafe");
    EXPECT_EQ(create(), "");
    EXPECT_EQ(takeMessages(), Texts{gpxOf("cafe") + " is in use by another run; try again when it has ended."});
    EXPECT_EQ(slurp(gpxOf("cafe")), "<gpx>\r\n</gpx>\r\n");
  }
  EXPECT_NE(create(), "");
  EXPECT_EQ(program->f1.List2.items(), (Texts{"Blue", "Quay"}));
}

// A category of blanks would search for nothing (so find every node) and name a GPX of no
// name at the top of the GPX folder.
TEST_F(FileFaultsTest, ABlankCategoryIsRefused) {
  const std::string blank = "The category \"  \" is blank: no POI and no GPX file can be named after it.";
  press("cafe");
  press("  ");
  EXPECT_EQ(takeMessages(), Texts{blank});
  EXPECT_EQ(program->f1.List1(0).count(), 2);  // the press before stays shown
  EXPECT_EQ(create(), "");
  EXPECT_EQ(takeMessages(), Texts{blank});
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(gpxFolder()), {}), 0);
}

long kilobytesOf(const char* field) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with(field)) return std::stol(line.substr(std::string(field).size()));
  }
  return -1;
}

// A name of 50 MB is written with the loaded file, the GPX it makes twice over, and little
// more in memory at once.
TEST_F(FileFaultsTest, AHugeNameIsNotCopiedOverAndOver) {
  load(osmFile(osmNode("3", "43.7", "7.4", {{"amenity", "cafe"}, {"name", std::string(50 << 20, 'N')}})));
  press("cafe");
  program->f1.List2.clear();
  // The peak is counted from here (the kernel's high-water mark starts again).
  if (!(std::ofstream("/proc/self/clear_refs") << "5")) GTEST_SKIP() << "no /proc/self/clear_refs";
  const long before = kilobytesOf("VmRSS:");
  program->state.addmode = true;
  ASSERT_TRUE(gpx::create_gpx(*program, true).complete());
  const long output = static_cast<long>(std::filesystem::file_size(gpxOf("cafe")) / 1024);
  EXPECT_GT(output, 100 << 10);
  EXPECT_LT(kilobytesOf("VmHWM:") - before, 2 * output + (8 << 10));
}

// The run's message says what was being done when memory ran out.
TEST_F(FileFaultsTest, OutOfMemorySaysWhatWasBeingDone) {
#ifdef WAYMINT_ADDRESS_SANITIZER
  GTEST_SKIP() << "AddressSanitizer needs more address space than the limit leaves";
#endif
  load(osmFile(osmNode("3", "43.7", "7.4", {{"amenity", "cafe"}, {"name", std::string(64 << 20, 'N')}})));
  choose("cafe");
  int pipe[2];
  ASSERT_EQ(::pipe(pipe), 0);
  const pid_t child = ::fork();
  if (child == 0) {
    // Room for little more than what the process holds now.
    const rlimit limit{static_cast<rlim_t>(kilobytesOf("VmSize:") + (96 << 10)) * 1024, RLIM_INFINITY};
    ::setrlimit(RLIMIT_AS, &limit);
    program->state.addmode = true;
    gpx::create_gpx(*program, true);
    const std::string text = machine.messageTexts().empty() ? "" : machine.messageTexts().back();
    (void)!::write(pipe[1], text.data(), text.size());
    ::_exit(0);
  }
  ::close(pipe[1]);
  std::string said;
  char buffer[512];
  for (ssize_t got; (got = ::read(pipe[0], buffer, sizeof buffer)) > 0;) said.append(buffer, got);
  ::close(pipe[0]);
  ::waitpid(child, nullptr, 0);
  EXPECT_EQ(said, "Out of memory writing " + gpxOf("cafe"));
  EXPECT_FALSE(std::filesystem::exists(gpxOf("cafe")));
}

}  // namespace
}  // namespace waymint::testing
