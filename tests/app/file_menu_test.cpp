#include <gtest/gtest.h>

#include "app/file_menu.h"
#include "support/bad_osm_files.h"
#include "support/compressed_files.h"
#include "support/kept_text.h"
#include "support/osm_text.h"
#include "support/program_fixture.h"

namespace waymint::testing {
namespace {

using Texts = std::vector<std::string>;

const std::string twoCategories =
    osmFile(osmNode({{"amenity", "restaurant"}}) + osmNode({{"shop", "bakery"}}));

class FileMenuTest : public ProgramTest {
 protected:
  app::f1& w() { return program->f1; }
  Texts recent() {
    Texts captions;
    for (int index = 9; index <= 16; ++index) captions.push_back(w().mf(index).caption());
    return captions;
  }
  // The six buttons that are enabled and disabled together, "1" for enabled.
  std::string buttons() {
    std::string states;
    for (bool on : {w().Command1.enabled(), w().Command2(0).enabled(), w().Command3.enabled(),
                    w().Command4.enabled(), w().Picture5(0).enabled(), w().Picture5(1).enabled()})
      states += on ? '1' : '0';
    return states;
  }
  // What an open changes and what the window shows of the chosen category, as one text.
  std::string snapshot() {
    const app::State& s = program->state;
    std::string text = w().caption() + "|" + s.osmfile + "|" + s.lastosm.value_or("<none>") + "|" +
                       buttons() + "|" + w().Label1(0).caption() + "|" + w().Label4(2).caption() +
                       "|" + s.gpxpath + "|" + w().Text4.text() + "|" +
                       std::to_string(w().List1(2).selectedIndex()) + "|" + w().Text5.text();
    for (const Texts& list : {recent(), w().List1(2).items(), w().List1(0).items()}) {
      text += "#";
      for (const auto& item : list) text += "|" + item;
    }
    return text;
  }
};

TEST_F(FileMenuTest, RecentEntriesAsNamesAreOpened) {
  // Entries 9 to 16 as letters: "." an empty entry, a capital a file that exists, "x" or "y"
  // one that does not.
  const auto path = [this](char c) { return c == '.' ? "" : folder / std::string(1, c) + ".osm"; };
  for (char c = 'A'; c <= 'I'; ++c) folder.write(std::string(1, c) + ".osm", "");
  struct Case { std::string before; char name; std::string after, enabled; };
  const std::vector<Case> cases = {
      {"........", 'A', "A.......", "10000000"},
      {"ABCDEFGH", 'D', "DABCEFGH", "11111111"},
      // The name already on top: nothing moves and the enabled states are not refreshed.
      {"Ax......", 'A', "Ax......", "11111111"},
      {"ABCDEFGH", 'I', "IABCDEFG", "11111111"},
      // Entries whose file has gone stay enabled: choosing one offers to remove it.
      {"y.......", 'Y', "Yy......", "11000000"},  // names are told apart by case
      {"AxB.....", 'C', "CAxB....", "11110000"},
  };
  start();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.before + " + " + c.name);
    for (int i = 0; i < 8; ++i) w().mf(9 + i).setCaption(path(c.before[i]));
    for (int index = 9; index <= 16; ++index) w().mf(index).setEnabled(true);
    app::updatmf(*program, path(c.name));
    std::string after, enabled;
    for (const std::string& name : recent()) after += name.empty() ? '.' : name.end()[-5];
    for (int index = 9; index <= 16; ++index) enabled += w().mf(index).enabled() ? '1' : '0';
    EXPECT_EQ(after + " " + enabled, c.after + " " + c.enabled);
  }
}

// The File menu shows the recent entries that name a file, and no blank rows for the others.
TEST_F(FileMenuTest, OnlyRecentEntriesThatNameAFileAreShown) {
  const auto shown = [this] {
    std::string rows;
    for (int index = 9; index <= 16; ++index) rows += w().mf(index).visible() ? '1' : '0';
    return rows;
  };
  start();
  EXPECT_EQ(shown(), "00000000");  // the first start
  open(twoCategories);
  EXPECT_EQ(shown(), "10000000");
  open(twoCategories, "other.osm");
  EXPECT_EQ(shown(), "11000000");
  w().requestClose();
  start();  // read back from the state file
  EXPECT_EQ(recent(), (Texts{folder / "other.osm", folder / "map.osm", "", "", "", "", "", ""}));
  EXPECT_EQ(shown(), "11000000");
}

TEST_F(FileMenuTest, OpenAndRecentEntries) {
  start();
  const std::string kept = folder.write("recent.osm", twoCategories), gone = folder / "gone.osm";
  w().mf(9).setCaption(gone);
  w().mf(10).setCaption(kept);
  w().Command1.setEnabled(false);
  const std::string atStart = snapshot();
  // Open cancelled, a dropped file or a recent entry that is not there (the user is asked
  // whether to remove it, and says No), an empty entry and entries without action change
  // nothing.
  w().mf_Click(2);
  w().Form_OLEDragDrop(folder / "missing.osm");
  machine.answerNext(platform::Answer::No);
  for (int index : {9, 11, 3, 4, 5, 7}) w().mf_Click(index);
  EXPECT_EQ(takeMessages(), Texts{gone + " is no longer there (moved, renamed or deleted).\r\n\r\n"
                                         "Remove it from the list of recent files?"});
  EXPECT_EQ(machine.dialogs().size(), 1u);
  EXPECT_EQ(machine.dialogs()[0].pattern + machine.dialogs()[0].defaultExtension, "*.osm.osm");
  EXPECT_TRUE(machine.modalWindowsShown().empty());
  EXPECT_EQ(snapshot(), atStart);

  w().mf_Click(10);
  EXPECT_EQ(program->state.osmfile, kept);
  EXPECT_EQ(w().List1(2).count(), 2);
  EXPECT_EQ(recent()[0], kept);
  EXPECT_FALSE(program->state.lastosm.has_value());  // only the dialog sets it
  EXPECT_EQ(buttons(), "011111");  // a recent entry leaves the buttons alone

  open(twoCategories);
  const std::string path = folder / "map.osm";
  EXPECT_EQ(w().caption(), "WAYMINT .27 :" + path);
  EXPECT_EQ(program->state.osmfile, path);
  EXPECT_EQ(program->state.lastosm.value_or(""), path);
  EXPECT_EQ(recent(), (Texts{path, kept, gone, "", "", "", "", ""}));
  EXPECT_EQ(w().List1(2).items(), (Texts{"bakery", "restaurant"}));
  EXPECT_EQ(buttons(), "111111");
  w().mf_Click(2);  // the next dialog starts in that file's folder
  EXPECT_EQ(machine.dialogs().back().initialFolder, folder.path() + "/");

  // Yes removes the entry of a file no longer there; the entries below it move up.
  w().mf(12).setCaption(kept);
  machine.answerNext(platform::Answer::Yes);
  w().mf_Click(11);
  EXPECT_EQ(takeMessages().size(), 1u);
  EXPECT_EQ(recent(), (Texts{path, kept, kept, "", "", "", "", ""}));
  EXPECT_TRUE(w().mf(11).visible() && w().mf(11).enabled() && !w().mf(12).visible());
  EXPECT_EQ(program->state.osmfile, path);
}

// A File menu entry chosen while a file loads is not lost without a word.
TEST_F(FileMenuTest, AFileMenuEntryChosenDuringALoadSaysWhyItWaits) {
  start();
  const std::string other = folder.write("other.osm", twoCategories);
  w().mf(9).setCaption(other);
  int chosen = 0;
  machine.duringYield([&] {
    if (chosen++ == 0) {
      w().mf_Click(9);
      w().mf_Click(2);
    }
  });
  open(twoCategories);
  EXPECT_EQ(takeMessages(), Texts(2, "A file is being loaded or a GPX written: choose again when "
                                     "it has ended (Escape cancels a load)."));
  EXPECT_EQ(program->state.osmfile, folder / "map.osm");
  EXPECT_EQ(machine.dialogs().size(), 1u);  // the load's own
}

// The desktop hands the program a file on its command line: it opens as the same file picked
// in File > Open does, a "*" in its name included; one that is not there is reported.
TEST_F(FileMenuTest, AFileNamedOnTheCommandLineOpensAsOnePickedInOpen) {
  start();
  const std::string missing = folder / "missing.osm";
  w().openCommandLineFile(missing);
  EXPECT_EQ(takeMessages(), Texts{missing + ": No such file or directory"});
  EXPECT_EQ(w().caption() + program->state.osmfile + recent()[0], "WAYMINT .27 :");

  const std::string path = folder.write("map.osm", twoCategories);
  w().openCommandLineFile(path);
  const std::string fromCommandLine = snapshot();
  EXPECT_EQ(w().List1(2).items(), (Texts{"bakery", "restaurant"}));
  start();
  machine.chooseNext(path);
  w().mf_Click(2);
  EXPECT_EQ(snapshot(), fromCommandLine);

  const std::string starred = folder.write("all*.osm", osmFile(osmNode({{"shop", "kiosk"}})));
  w().openCommandLineFile(starred);
  EXPECT_EQ(w().List1(2).items(), Texts{"kiosk"});
  EXPECT_EQ(recent()[0], starred);
}

TEST_F(FileMenuTest, ExitDuringALoadClosesWhenTheLoadHasEnded) {
  start();
  bool asked = false;
  machine.duringYield([&] {
    if (asked) return;
    asked = true;
    w().mf_Click(2);  // not while loading: no dialog, the user is told why
    w().mf_Click(8);
    EXPECT_TRUE(w().closePending() && !w().closed());
    EXPECT_EQ(slurp(stateFile()), "<missing>");
  });
  open(twoCategories);
  EXPECT_TRUE(asked);
  EXPECT_EQ(takeMessages(), Texts{"A file is being loaded or a GPX written: choose again when "
                                  "it has ended (Escape cancels a load)."});
  EXPECT_EQ(machine.dialogs().size(), 1u);
  EXPECT_TRUE(w().closed() && machine.processEnded());
  const std::string saved = slurp(stateFile());
  EXPECT_EQ(saved.substr(0, saved.find("\r\n\r\n")), " .27\r\n" + folder / "map.osm");
}

TEST_F(FileMenuTest, AFileThatCannotBeLoadedOrIsCancelledLeavesThePreviousOneLoaded) {
  start();
  open(twoCategories);
  press("restaurant");
  create();
  press("restaurant");  // reads the GPX, the last file read whole: not what the caption names
  ASSERT_EQ(program->state.osmfile, gpxOf("restaurant"));
  ASSERT_EQ(w().caption(), "WAYMINT .27 :" + folder / "map.osm");
  w().Text5.setText("rest");  // the filter over the categories
  const std::string loaded = snapshot();
  const auto expectPreviousFile = [&](const std::string& name) {
    SCOPED_TRACE(name);
    EXPECT_EQ(snapshot(), loaded);
    EXPECT_TRUE(program->state.chunks.bytes.view() == keptReference(twoCategories));
    EXPECT_FALSE(machine.busyPointer());
  };
  // Blanks cost no memory; tagged nodes do.
  const std::string big = folder.write("other.osm.gz", gzipOf(manyNodes(100000)));
  std::vector<BadFile> bad = badOsmFiles(folder);
  // A file that exists but that no one, root included, can read: the system says why.
  bad.push_back({"/proc/self/mem", "/proc/self/mem: Input/output error"});
  bad.push_back({big, "Out of memory"});  // 14 MB of tagged nodes with room for 10
  machine.setMemoryForLoading(size_t{10} << 20);
  for (const BadFile& file : bad) {
    EXPECT_EQ(w().openChosen(file.path), app::Loaded::Failed);
    EXPECT_EQ(takeMessages(), Texts{file.message});
    expectPreviousFile(file.path);
  }
  machine.setMemoryForLoading(size_t{1} << 30);
  // A folder is passed over without a word.
  EXPECT_EQ(w().openChosen(folder.path()), std::nullopt);
  expectPreviousFile(folder.path());

  // Cancel while the file is read, and while it is surveyed: no message.
  for (const std::string activity : {"Reading other.osm.gz", "Surveying"}) {
    machine.duringYield([&, activity] {
      if (!machine.activities().empty() && machine.activities().back() == activity) {
        machine.requestCancel();
      }
    });
    EXPECT_EQ(w().openChosen(big), app::Loaded::Cancelled);
    expectPreviousFile(activity);
    EXPECT_FALSE(machine.cancelRequested());
  }
  machine.duringYield({});
  EXPECT_EQ(w().openChosen(big), app::Loaded::Yes);
  EXPECT_EQ(w().List1(2).items(), (Texts{"bench", "cafe", "fuel", "post_box", "pharmacy", "restaurant"}));
  EXPECT_EQ(w().Text5.text(), "");  // a new file empties the filter
  EXPECT_EQ(recent()[0], big);
}

}  // namespace
}  // namespace waymint::testing
