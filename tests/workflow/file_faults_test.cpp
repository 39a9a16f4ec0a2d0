// What the program keeps safe: a GPX, the state file and an edited file when a step of
// replacing them fails; a GPX another run holds; blank categories; memory and its end.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>

#include "editors/edall.h"
#include "editors/edit.h"
#include "platform/files.h"
#include "support/osm_text.h"
#include "support/program_fixture.h"
#include "workflow/category_workflow.h"

#ifndef __has_feature
#define __has_feature(x) 0
#endif

namespace waymint::testing {
namespace {

using Texts = std::vector<std::string>;
namespace files = platform::files;
using files::Step;

class FileFaultsTest : public ProgramTest {
 protected:
  void SetUp() override {
    start();
    open(osmFile(osmNode("1", "43.70", "7.40", {{"amenity", "cafe"}, {"name", "Blue"}}) +
                 osmNode("2", "43.71", "7.41", {{"amenity", "cafe"}, {"name", "Quay"}})));
  }
  // The program's temporary files anywhere in the test folder.
  Texts temporaries() {
    Texts paths;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.path())) {
      if (entry.path().filename().string().starts_with(".waymint-")) paths.push_back(entry.path());
    }
    return paths;
  }
  // A cafe whose name is `size` bytes long.
  void loadHugeName(size_t size) {
    load(osmFile(
        osmNode("3", "43.7", "7.4", {{"amenity", "cafe"}, {"name", std::string(size, 'N')}})));
  }
};

TEST_F(FileFaultsTest, AStepThatFailsLeavesEveryReplacedFileAsItWas) {
  const std::string gpx = gpxOf("cafe"), oldGpx = "<gpx>\r\n</gpx>\r\n";
  const std::string oldEdited = "<gpx>\r\n<wpt lat=\"1\" lon=\"2\">\r\n"
                                "  <gpxx:Proximity>20</gpxx:Proximity>\r\n</wpt>\r\n</gpx>\r\n";
  const std::string edited = folder.write("edited.gpx", oldEdited);
  folder.write("osm_pois.dat", "the state file before\r\n");
  editors::edall editor(*program);
  editor.Form_Load();
  machine.chooseNext(edited);
  editor.Command2_Click();
  program->state.alert = true;
  editor.Text3(1).setText("35");
  for (const Step failing : {Step::Open, Step::Write, Step::Chmod, Step::Sync, Step::Close,
                             Step::Rename}) {
    SCOPED_TRACE(static_cast<int>(failing));
    folder.write("gpx/cafe/cafe.gpx", oldGpx);
    files::injectFaults([failing](Step step) { return step == failing ? EIO : 0; });
    press("cafe");
    EXPECT_EQ(create(), "");  // no report: the run says what failed
    program->f1.Form_QueryUnload();  // the state file: silently kept
    editor.Command1_Click(0);
    files::injectFaults({});
    EXPECT_EQ(takeMessages(),
              (Texts{gpx + ": Input/output error", oldEdited, "saving",
                     edited + " exists. Overwrite?", edited + " Input/output error"}));
    EXPECT_EQ(slurp(gpx), oldGpx);
    EXPECT_EQ(slurp(stateFile()), "the state file before\r\n");
    EXPECT_EQ(slurp(edited), oldEdited);
    EXPECT_EQ(temporaries(), Texts{});
  }
}

// The window lists as added (List2) what the run put into the GPX: after a run that fails at
// any step, nothing, and already while it says what failed; after a run whose GPX took the
// old one's place and only the folder's flush failed, the POIs it wrote.
TEST_F(FileFaultsTest, AfterAFailedRunTheWindowListsAsAddedWhatTheGpxHolds) {
  const std::string gpx = gpxOf("cafe"), oldGpx = "<gpx>\r\n</gpx>\r\n";
  const Texts none, both = {"Blue", "Quay"};
  std::optional<files::FolderLock> held;
  const auto failing = [](Step failing) {
    return [failing] { files::injectFaults([failing](Step step) { return step == failing ? EIO : 0; }); };
  };
  struct Failure { const char* step; std::function<void()> arrange; const Texts& added; };
  const std::vector<Failure> failures = {
      {"the category folder", [&] { program->f1.Text1.setText(folder.write("plain", "") + "/gpx"); }, none},
      {"the lock", [&] { held.emplace(files::FolderLock::take(gpxFolder() + "/cafe")); }, none},
      {"the merge", [&] { folder.write("gpx/cafe/cafe.gpx", "<gpx>\r\n"); }, none},
      {"opening", failing(Step::Open), none}, {"writing", failing(Step::Write), none},
      {"the mode", failing(Step::Chmod), none}, {"flushing", failing(Step::Sync), none},
      {"closing", failing(Step::Close), none}, {"the rename", failing(Step::Rename), none},
      {"the folder's flush", failing(Step::SyncFolder), both}};
  Texts addedWhenSaid;
  machine.onMessage([&](const std::string&) {
    for (const std::string& name : program->f1.List2.items()) addedWhenSaid.push_back(name);
  });
  for (const Failure& failure : failures) {
    SCOPED_TRACE(failure.step);
    folder.write("gpx/cafe/cafe.gpx", oldGpx);
    press("cafe");
    failure.arrange();
    EXPECT_EQ(create(), "");
    files::injectFaults({});
    held.reset();
    EXPECT_FALSE(takeMessages().empty());
    EXPECT_EQ(addedWhenSaid, failure.added);
    EXPECT_EQ(program->f1.List2.items(), failure.added);
    const std::string written = slurp(gpx);
    EXPECT_EQ(written.find("<name>Blue</name>") != std::string::npos, !failure.added.empty());
    EXPECT_EQ(program->f1.List3.count(), static_cast<int>(failure.added.size()));
    addedWhenSaid.clear();
    program->f1.Text1.setText(gpxFolder());
  }
}

// A category of blanks would search for nothing (so find every node) and name a GPX of no name
// at the top of the GPX folder. Two runs extending one GPX at once would lose one run's POIs:
// the second says the file is in use (the window must not freeze waiting), and writes nothing.
TEST_F(FileFaultsTest, ABlankCategoryAndAGpxAnotherRunHoldsAreRefused) {
  const Texts blank = {
      "The category \"  \" is blank: no POI and no GPX file can be named after it."};
  press("cafe");
  press("  ");
  EXPECT_EQ(takeMessages(), blank);
  EXPECT_EQ(program->f1.List1(0).count(), 2);  // the press before stays shown
  EXPECT_EQ(create(), "");
  EXPECT_EQ(takeMessages(), blank);
  EXPECT_TRUE(std::filesystem::is_empty(gpxFolder()));

  folder.write("gpx/cafe/cafe.gpx", "<gpx>\r\n</gpx>\r\n");
  press("cafe");
  {
    const auto held = files::FolderLock::take(gpxFolder() + "/cafe");
    EXPECT_EQ(create(), "");
    EXPECT_EQ(takeMessages(),
              Texts{gpxOf("cafe") + " is in use by another run; try again when it has ended."});
    EXPECT_EQ(slurp(gpxOf("cafe")), "<gpx>\r\n</gpx>\r\n");
  }
  EXPECT_NE(create(), "");
  EXPECT_EQ(program->f1.List2.items(), (Texts{"Blue", "Quay"}));
  EXPECT_THROW(files::FolderLock::tryTake(gpxFolder() + "/none"), files::IoError);
}

// A run that fails (a name too long for the system, a full disk) takes away the category
// folder it made, empty; a folder that was there before stays, as does a GPX folder it made.
TEST_F(FileFaultsTest, AFailedRunRemovesTheEmptyCategoryFolderItMade) {
  const std::string tooLong(252, 'a');  // a folder name the system takes, not the GPX's
  struct Case { const char* what; std::string category; std::string gpxFolder; bool folderBefore;
                int failure; std::string why; };
  const std::vector<Case> cases = {
      {"name too long", tooLong, gpxFolder(), false, 0, "File name too long"},
      {"disk full", "cafe", gpxFolder(), false, ENOSPC, "No space left on device"},
      {"disk full, folder there before", "cafe", gpxFolder(), true, ENOSPC, "No space left on device"},
      {"disk full, GPX folder made", "cafe", folder / "new/gpx", false, ENOSPC, "No space left on device"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove_all(gpxFolder() + "/cafe");
    if (c.folderBefore) std::filesystem::create_directories(gpxFolder() + "/cafe");
    program->f1.Text1.setText(c.gpxFolder);
    const std::string categoryFolder = c.gpxFolder + "/" + c.category;
    const std::string gpx = categoryFolder + "/" + c.category + ".gpx";
    choose(c.category);
    files::injectFaults([&c](Step step) { return step == Step::Write ? c.failure : 0; });
    EXPECT_EQ(create(), "");
    files::injectFaults({});
    EXPECT_EQ(takeMessages(), Texts{gpx + ": " + c.why});
    EXPECT_EQ(std::filesystem::exists(categoryFolder), c.folderBefore);
    EXPECT_TRUE(std::filesystem::is_directory(c.gpxFolder));
  }
  // A run that works on in the folder keeps it.
  program->f1.Text1.setText(gpxFolder());
  choose("cafe");
  EXPECT_NE(create(), "");
  EXPECT_TRUE(std::filesystem::is_regular_file(gpxOf("cafe")));
}

// A GPX that cannot be read is named by every reader that says so: the waypoint list, the
// viewer, the bulk proximity editor and the run that extends it.
TEST_F(FileFaultsTest, AnUnreadableGpxIsNamed) {
  const std::string gpx = gpxOf("cafe"), unreadable = gpx + ": Input/output error";
  folder.write("gpx/cafe/cafe.gpx", "<gpx>\r\n</gpx>\r\n");
  files::injectReadFaults([&](const std::string& path) { return path == gpx ? EIO : 0; });
  press("cafe");
  EXPECT_EQ(takeMessages(), Texts{unreadable});
  editors::edit viewer(*program);
  viewer.parsegpx(gpx);
  EXPECT_EQ(takeMessages(), (Texts{unreadable, "0"}));
  editors::edall editor(*program);
  editor.Form_Load();
  machine.chooseNext(gpx);
  editor.Command2_Click();
  editor.Command1_Click(0);
  EXPECT_EQ(takeMessages(), (Texts{unreadable, "Can't parse this file"}));
  EXPECT_EQ(create(), "");
  EXPECT_EQ(takeMessages(), (Texts{unreadable, unreadable}));  // the run, then the list
  files::injectReadFaults({});
  EXPECT_EQ(slurp(gpx), "<gpx>\r\n</gpx>\r\n");
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
  loadHugeName(50 << 20);
  press("cafe");
  // The peak is counted from here (the kernel's high-water mark starts again).
  if (!(std::ofstream("/proc/self/clear_refs") << "5")) GTEST_SKIP() << "no /proc/self/clear_refs";
  const long before = kilobytesOf("VmRSS:");
  program->state.addmode = true;
  ASSERT_TRUE(gpx::create_gpx(*program, true).complete());
  const long output = static_cast<long>(std::filesystem::file_size(gpxOf("cafe")) / 1024);
  EXPECT_GT(output, 100 << 10);
  EXPECT_LT(kilobytesOf("VmHWM:") - before, 2 * output + (8 << 10));
}

// The run's message says what was being done when memory ran out; the window lists no POI as
// added, already while it says so.
TEST_F(FileFaultsTest, OutOfMemorySaysWhatWasBeingDone) {
#if defined(__SANITIZE_ADDRESS__) || __has_feature(address_sanitizer)
  GTEST_SKIP() << "AddressSanitizer needs more address space than the limit leaves";
#endif
  loadHugeName(64 << 20);
  choose("cafe");
  const pid_t child = ::fork();
  if (child == 0) {
    // Room for little more than what the process holds now.
    const rlimit limit{static_cast<rlim_t>(kilobytesOf("VmSize:") + (96 << 10)) * 1024,
                       RLIM_INFINITY};
    ::setrlimit(RLIMIT_AS, &limit);
    program->state.addmode = true;
    int addedWhenSaid = -1;
    machine.onMessage([&](const std::string&) { addedWhenSaid = program->f1.List2.count(); });
    gpx::create_gpx(*program, true);
    const Texts said = machine.messageTexts();
    std::ofstream(folder / "said") << (said.empty() ? "" : said.back()) << " | " << addedWhenSaid
                                   << " | " << program->f1.List2.count();
    ::_exit(0);
  }
  ::waitpid(child, nullptr, 0);
  EXPECT_EQ(slurp(folder / "said"), "Out of memory writing " + gpxOf("cafe") + " | 0 | 0");
  EXPECT_FALSE(std::filesystem::exists(gpxOf("cafe")));
}

}  // namespace
}  // namespace waymint::testing
