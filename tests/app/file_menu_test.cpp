#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <optional>

#include "app/file_menu.h"
#include "app/osm_loader.h"
#include "support/program_fixture.h"

namespace waymint::testing {
namespace {

const char* const smallOsm =
    "<?xml version='1.0' encoding='UTF-8'?>\n<osm version=\"0.6\">\n"
    " <node id=\"1\" lat=\"43.7\" lon=\"7.4\">\n  <tag k=\"amenity\" v=\"restaurant\"/>\n </node>\n"
    " <node id=\"2\" lat=\"43.8\" lon=\"7.5\">\n  <tag k=\"shop\" v=\"bakery\"/>\n </node>\n"
    "</osm>\n";

class FileMenuTest : public ProgramTest {
 protected:
  app::f1& window() { return program->f1; }
  std::vector<std::string> recent() {
    std::vector<std::string> captions;
    for (int index = 9; index <= 16; ++index) captions.push_back(window().mf(index).caption());
    return captions;
  }
  void setRecent(const std::vector<std::string>& captions) {
    for (int index = 9; index <= 16; ++index) window().mf(index).setCaption(captions[index - 9]);
  }
  void open(const std::string& path) {
    machine.chooseNext(path);
    window().mf_Click(2);
  }
  bool buttonsEnabled() {
    return window().Command1.enabled() && window().Command2(0).enabled() &&
           window().Command3.enabled() && window().Command4.enabled() &&
           window().Picture5(0).enabled() && window().Picture5(1).enabled();
  }
};

TEST_F(FileMenuTest, CancelledOpenChangesNothing) {
  start();
  window().Command1.setEnabled(true);
  window().mf_Click(2);
  ASSERT_EQ(machine.dialogs().size(), 1u);
  EXPECT_EQ(machine.dialogs()[0].pattern, "*.osm");
  EXPECT_EQ(machine.dialogs()[0].defaultExtension, ".osm");
  EXPECT_TRUE(machine.messages().empty());
  EXPECT_TRUE(buttonsEnabled());
  EXPECT_EQ(program->state.osmfile, "");
  EXPECT_FALSE(program->state.chunks.loaded);
}

TEST_F(FileMenuTest, OpenLoadsSurveysAndRemembersTheFile) {
  std::string path = folder.write("maps/monaco small.osm", smallOsm);
  start();
  window().List1(0).addItem("old poi");
  window().List2.addItem("old written");
  window().Text4.setText("old");
  open(path);
  EXPECT_EQ(window().caption(), "WAYMINT .27 :" + path);
  EXPECT_EQ(program->state.osmfile, path);
  EXPECT_EQ(program->state.lastosm.value_or(""), path);
  EXPECT_EQ(window().mf(9).caption(), path);
  EXPECT_EQ(window().List1(2).items(), (std::vector<std::string>{"bakery", "restaurant"}));
  EXPECT_EQ(window().List1(0).count(), 0);
  EXPECT_EQ(window().List2.count(), 0);
  EXPECT_EQ(window().Text4.text(), "");
  EXPECT_EQ(program->state.chunks.bytes.view(), smallOsm);
  EXPECT_EQ(program->state.chunks.chunkmax, 1);
  EXPECT_TRUE(buttonsEnabled());
  EXPECT_FALSE(machine.busyPointer());
  EXPECT_TRUE(machine.messages().empty());

  // The next dialog starts in the folder of that file; "Load OSM" is the same command.
  window().Command2_Click(0);
  ASSERT_EQ(machine.dialogs().size(), 2u);
  EXPECT_EQ(machine.dialogs()[1].initialFolder, folder / "maps/");
}

TEST_F(FileMenuTest, RecentEntriesMoveAsFilesAreOpened) {
  std::vector<std::string> files;
  for (int i = 0; i < 9; ++i) {
    files.push_back(folder.write("f" + std::to_string(i) + ".osm", smallOsm));
  }
  start();
  for (int i = 0; i < 9; ++i) open(files[i]);
  // A ninth distinct file pushes the first one out.
  EXPECT_EQ(recent(), (std::vector<std::string>{files[8], files[7], files[6], files[5], files[4],
                                                files[3], files[2], files[1]}));
  // A file in entry 12 goes to the top; entries 13 to 16 stay.
  open(files[5]);
  EXPECT_EQ(recent(), (std::vector<std::string>{files[5], files[8], files[7], files[6], files[4],
                                                files[3], files[2], files[1]}));
  // The file in entry 9 again: nothing moves, and the enabled states are not refreshed.
  std::remove(files[1].c_str());
  open(files[5]);
  EXPECT_EQ(recent()[0], files[5]);
  EXPECT_TRUE(window().mf(16).enabled());
  // Another open refreshes them: the deleted file's entry is disabled.
  open(files[6]);
  EXPECT_FALSE(window().mf(16).enabled());
  EXPECT_TRUE(window().mf(9).enabled());
}

TEST_F(FileMenuTest, NamesThatDifferInCaseAreTwoEntries) {
  std::string lower = folder.write("a.osm", smallOsm);
  std::string upper = folder.write("A.osm", smallOsm);
  start();
  open(lower);
  open(upper);
  EXPECT_EQ(window().mf(9).caption(), upper);
  EXPECT_EQ(window().mf(10).caption(), lower);
  EXPECT_FALSE(window().mf(11).enabled());  // empty entries are disabled after an open
}

TEST_F(FileMenuTest, RecentEntryOpensItsFileButNotThroughTheDialog) {
  std::string path = folder.write("r.osm", smallOsm);
  start();
  setRecent({"", folder / "gone.osm", path, "", "", "", "", ""});
  // At start every entry is enabled; empty or missing ones do nothing.
  EXPECT_TRUE(window().mf(9).enabled());
  window().mf_Click(9);
  window().mf_Click(10);
  EXPECT_EQ(program->state.osmfile, "");
  window().Command1.setEnabled(false);
  window().mf_Click(11);
  EXPECT_EQ(program->state.osmfile, path);
  EXPECT_FALSE(program->state.lastosm.has_value());
  EXPECT_EQ(window().mf(9).caption(), path);
  EXPECT_EQ(window().List1(2).count(), 2);
  EXPECT_FALSE(window().Command1.enabled());  // a recent entry leaves the buttons alone
  EXPECT_TRUE(machine.dialogs().empty());
}

TEST_F(FileMenuTest, EntriesWithoutActionDoNothing) {
  start();
  for (int index : {3, 4, 5, 7}) window().mf_Click(index);
  EXPECT_TRUE(machine.dialogs().empty());
  EXPECT_TRUE(machine.messages().empty());
  EXPECT_TRUE(machine.modalWindowsShown().empty());
  window().mf_Click(6);
  EXPECT_EQ(machine.modalWindowsShown(), std::vector<std::string>{"Info"});
  window().mf_Click(8);
  EXPECT_TRUE(window().closed());
  EXPECT_TRUE(machine.processEnded());
  EXPECT_NE(slurp(stateFile()), "<missing>");
}

TEST_F(FileMenuTest, ChunkBookkeeping) {
  EXPECT_EQ(app::chunkmaxFor(0), 1);
  EXPECT_EQ(app::chunkmaxFor(1000), 1);
  EXPECT_EQ(app::chunkmaxFor(48673404), 1);
  EXPECT_EQ(app::chunkmaxFor(2 * 48673404 - 1), 1);
  EXPECT_EQ(app::chunkmaxFor(100000000), 2);
  app::ChunkTable table;
  table.bytes = std::string(100000000, 'x');
  table.chunkmax = 2;
  EXPECT_EQ(table.chunk(0).size(), 48673404u);
  EXPECT_EQ(table.chunk(1).size(), 48673404u);
  EXPECT_EQ(table.chunk(2).size(), 2653192u);
  EXPECT_EQ(table.chunk(3).size(), 0u);
  // A small file costs its size, not two padded chunks.
  std::string path = folder.write("small.osm", std::string(1000, 'y'));
  start();
  open(path);
  EXPECT_EQ(program->state.chunks.bytes.size(), 1000u);
  EXPECT_EQ(program->state.chunks.chunk(0).size(), 1000u);
  EXPECT_EQ(program->state.chunks.chunk(1).size(), 0u);
}

TEST_F(FileMenuTest, OddFilesLoadWithoutHarm) {
  start();
  std::string garbage(4096, '\0');
  for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>((i * 131) ^ (i >> 3));
  for (const auto& [name, bytes] : std::vector<std::pair<std::string, std::string>>{
           {"empty.osm", ""},
           {"garbage.osm", garbage},
           {"nonodes.osm", "<osm><way id=\"1\"><tag k=\"amenity\" v=\"pub\"/></way></osm>"},
           {"notags.osm", "<osm><node id=\"1\" lat=\"1\" lon=\"2\"/><node id=\"2\"/></osm>"}}) {
    std::string path = folder.write(name, bytes);
    open(path);
    EXPECT_EQ(program->state.osmfile, path);
    EXPECT_EQ(window().List1(2).count(), 0) << name;
    EXPECT_TRUE(buttonsEnabled()) << name;
  }
  EXPECT_TRUE(machine.messages().empty());
}

TEST_F(FileMenuTest, UnusableNamesAreRefusedSilently) {
  start();
  window().Command1.setEnabled(true);
  open(folder.path());           // a folder
  open(folder / "missing.osm");  // gone by the time the dialog returns its name
  folder.write("x*.osm", smallOsm);
  open(folder / "x*.osm");  // a pattern, as a cancelled dialog returns it
  EXPECT_EQ(program->state.osmfile, "");
  EXPECT_TRUE(machine.messages().empty());
  EXPECT_TRUE(buttonsEnabled());
}

TEST_F(FileMenuTest, ProgressShowsWhileLoadingAndGoesAwayAfter) {
  std::string big(9u << 20, ' ');
  for (size_t at = 0; at + 100 < big.size(); at += 4096) big.replace(at, 60, "<node id=\"1\"><tag k=\"amenity\" v=\"bench\"/></node>");
  std::string path = folder.write("big.osm", big);
  start();
  std::vector<std::optional<double>> reported;
  machine.onProgress([&](std::optional<double> fraction) { reported.push_back(fraction); });
  std::vector<std::string> captions;
  machine.duringYield([&] { captions.push_back(window().caption()); });
  open(path);
  ASSERT_GE(reported.size(), 4u);
  EXPECT_EQ(reported.front(), 0.0);
  EXPECT_EQ(reported.back(), std::nullopt);
  // The load reports each piece it reads, up to the whole file, before the survey goes on.
  EXPECT_NE(std::find(reported.begin(), reported.end(), std::optional<double>(1.0)), reported.end());
  EXPECT_GE(std::count_if(reported.begin(), reported.end(),
                          [](auto f) { return f && *f > 0.0 && *f < 1.0; }),
            2);
  // While it loads, the caption names the file being loaded.
  ASSERT_FALSE(captions.empty());
  EXPECT_EQ(captions.front(), "WAYMINT .27 :" + path);

  reported.clear();
  open("/proc/self/mem");
  ASSERT_FALSE(reported.empty());
  EXPECT_EQ(reported.back(), std::nullopt);
  EXPECT_EQ(window().caption(), "WAYMINT .27 :" + path);
}

TEST_F(FileMenuTest, FailedLoadKeepsThePreviousFile) {
  std::string good = folder.write("good.osm", smallOsm);
  start();
  open(good);
  std::string caption = window().caption();
  auto before = recent();
  // A file that exists but cannot be read (even by root).
  open("/proc/self/mem");
  EXPECT_EQ(machine.messageTexts(), std::vector<std::string>{"Input/output error"});
  EXPECT_EQ(program->state.osmfile, good);
  EXPECT_EQ(program->state.lastosm.value_or(""), good);
  EXPECT_EQ(window().caption(), caption);
  EXPECT_EQ(recent(), before);
  EXPECT_EQ(window().List1(2).count(), 2);
  EXPECT_EQ(program->state.chunks.bytes.view(), smallOsm);
  EXPECT_TRUE(buttonsEnabled());
  EXPECT_FALSE(machine.busyPointer());

  if (::geteuid() != 0) {
    std::string locked = folder.write("locked.osm", smallOsm);
    ::chmod(locked.c_str(), 0);
    machine.forgetMessages();
    open(locked);
    EXPECT_EQ(machine.messageTexts(), std::vector<std::string>{"Permission denied"});
    EXPECT_EQ(program->state.osmfile, good);
  }
}

TEST_F(FileMenuTest, NoSecondLoadStartsDuringALoadAndCloseWaitsForIt) {
  std::string first = folder.write("first.osm", smallOsm);
  std::string second = folder.write("second.osm", smallOsm);
  start();
  setRecent({second, "", "", "", "", "", "", ""});
  bool tried = false;
  machine.duringYield([&] {
    if (tried) return;
    tried = true;
    machine.chooseNext(second);
    window().mf_Click(2);
    window().Command2_Click(0);
    window().mf_Click(9);
    window().requestClose();
  });
  open(first);
  EXPECT_TRUE(tried);
  EXPECT_EQ(machine.dialogs().size(), 1u);  // the inner Open showed no dialog
  EXPECT_EQ(program->state.lastosm.value_or(""), first);
  EXPECT_EQ(window().mf(9).caption(), first);
  // The close asked for during the load happened when it had ended, from a whole state.
  EXPECT_TRUE(window().closed());
  EXPECT_TRUE(machine.processEnded());
  EXPECT_NE(slurp(stateFile()).find(first), std::string::npos);
}

}  // namespace
}  // namespace waymint::testing
