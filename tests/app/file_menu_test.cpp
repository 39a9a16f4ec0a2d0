#include <gtest/gtest.h>

#include "app/file_menu.h"
#include "support/bad_osm_files.h"
#include "support/compressed_files.h"
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
    app::f1& f = w();
    std::string states;
    for (bool on : {f.Command1.enabled(), f.Command2(0).enabled(), f.Command3.enabled(),
                    f.Command4.enabled(), f.Picture5(0).enabled(), f.Picture5(1).enabled()}) {
      states += on ? '1' : '0';
    }
    return states;
  }
  // What an open changes, as one text.
  std::string snapshot() {
    std::string text = w().caption() + "|" + program->state.osmfile + "|" +
                       program->state.lastosm.value_or("<none>") + "|" + buttons();
    for (const auto& caption : recent()) text += "|" + caption;
    for (const auto& category : w().List1(2).items()) text += "|" + category;
    return text;
  }
};

TEST_F(FileMenuTest, RecentEntriesAsNamesAreOpened) {
  // Entries as letters: a capital letter names a file that exists, "x" one that does not.
  auto path = [this](const std::string& letter) {
    return letter.size() == 1 ? folder / (letter + ".osm") : letter;
  };
  for (const char* letter : {"A", "B", "C", "D", "E", "F", "G", "H", "I"}) {
    folder.write(std::string(letter) + ".osm", "");
  }
  struct Case {
    std::string before, name, after;
    std::string enabled;  // entries 9 to 16 afterwards
  };
  const std::vector<Case> cases = {
      {",,,,,,,", "A", "A,,,,,,,", "10000000"},
      {"A,B,C,D,E,F,G,H", "D", "D,A,B,C,E,F,G,H", "11111111"},
      // The name already on top: nothing moves and the enabled states are not refreshed.
      {"A,x,,,,,,", "A", "A,x,,,,,,", "11111111"},
      {"A,B,C,D,E,F,G,H", "I", "I,A,B,C,D,E,F,G", "11111111"},
      {"C:\\a.osm,,,,,,,", "C:\\A.osm", "C:\\A.osm,C:\\a.osm,,,,,,", "00000000"},
      {"A,x,B,,,,,", "C", "C,A,x,B,,,,", "11010000"},
  };
  start();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.before + " + " + c.name);
    std::string before = c.before + ",", after, enabled;
    for (int index = 9; index <= 16; ++index) {
      w().mf(index).setCaption(path(before.substr(0, before.find(','))));
      w().mf(index).setEnabled(true);
      before.erase(0, before.find(',') + 1);
    }
    app::updatmf(*program, path(c.name));
    for (int index = 9; index <= 16; ++index) {
      const std::string& caption = w().mf(index).caption();
      after += (caption.starts_with(folder.path()) ? caption.substr(caption.size() - 5, 1)
                                                   : caption) + (index < 16 ? "," : "");
      enabled += w().mf(index).enabled() ? '1' : '0';
    }
    EXPECT_EQ(after, c.after);
    EXPECT_EQ(enabled, c.enabled);
  }
}

TEST_F(FileMenuTest, OpenCancelledOpenedAndUnreadable) {
  start();
  const std::string atStart = snapshot();
  w().mf_Click(2);  // cancelled
  EXPECT_EQ(machine.dialogs()[0].pattern, "*.osm");
  EXPECT_EQ(machine.dialogs()[0].defaultExtension, ".osm");
  EXPECT_EQ(snapshot(), atStart);

  w().List1(0).addItem("old poi");
  w().List2.addItem("old written");
  w().Text4.setText("old");
  open(twoCategories);
  const std::string path = folder / "map.osm";
  EXPECT_EQ(w().caption(), "WAYMINT .27 :" + path);
  EXPECT_EQ(program->state.osmfile, path);
  EXPECT_EQ(program->state.lastosm.value_or(""), path);
  EXPECT_EQ(recent(), (Texts{path, "", "", "", "", "", "", ""}));
  EXPECT_EQ(w().List1(2).items(), (Texts{"bakery", "restaurant"}));
  EXPECT_EQ(w().List1(0).count() + w().List2.count(), 0);
  EXPECT_EQ(w().Text4.text(), "");
  EXPECT_EQ(buttons(), "111111");
  w().mf_Click(2);  // the next dialog starts in that file's folder
  EXPECT_EQ(machine.dialogs().back().initialFolder, folder.path() + "/");

  // A file that exists but that no one, root included, can read.
  const std::string opened = snapshot();
  machine.chooseNext("/proc/self/mem");
  w().mf_Click(2);
  EXPECT_EQ(takeMessages(), Texts{"/proc/self/mem: Input/output error"});
  EXPECT_EQ(snapshot(), opened);
  EXPECT_EQ(program->state.chunks.bytes.view(), twoCategories);
  EXPECT_FALSE(machine.busyPointer());
}

TEST_F(FileMenuTest, RecentEntriesAndEntriesWithoutAction) {
  start();
  const std::string kept = folder.write("recent.osm", twoCategories);
  w().mf(9).setCaption(folder / "gone.osm");
  w().mf(10).setCaption(kept);
  w().Command1.setEnabled(false);
  for (int index : {9, 11, 3, 4, 5, 7}) w().mf_Click(index);  // gone, empty, no action
  EXPECT_EQ(program->state.osmfile, "");
  EXPECT_EQ(w().List1(2).count(), 0);
  EXPECT_TRUE(machine.dialogs().empty());
  EXPECT_TRUE(machine.modalWindowsShown().empty());

  w().mf_Click(10);
  EXPECT_EQ(program->state.osmfile, kept);
  EXPECT_EQ(w().List1(2).count(), 2);
  EXPECT_EQ(recent()[0], kept);
  EXPECT_FALSE(program->state.lastosm.has_value());  // only the dialog sets it
  EXPECT_EQ(buttons(), "011111");  // a recent entry leaves the buttons alone
}

TEST_F(FileMenuTest, ExitDuringALoadClosesWhenTheLoadHasEnded) {
  start();
  bool asked = false;
  machine.duringYield([&] {
    if (asked) return;
    asked = true;
    w().mf_Click(2);  // ignored while loading: no dialog
    w().mf_Click(8);
    EXPECT_TRUE(w().closePending());
    EXPECT_FALSE(w().closed());
    EXPECT_EQ(slurp(stateFile()), "<missing>");
  });
  open(twoCategories);
  EXPECT_TRUE(asked);
  EXPECT_EQ(machine.dialogs().size(), 1u);
  EXPECT_TRUE(w().closed());
  EXPECT_TRUE(machine.processEnded());
  const std::string saved = slurp(stateFile());
  EXPECT_EQ(saved.substr(0, saved.find("\r\n\r\n")), " .27\r\n" + folder / "map.osm");
}

TEST_F(FileMenuTest, AFileThatCannotBeLoadedOrIsCancelledLeavesThePreviousOneLoaded) {
  start();
  open(twoCategories);
  w().List1(2).setSelectedIndex(1);
  w().List1(0).addItem("a poi");
  w().Text4.setText("restaurant");
  const std::string loaded = snapshot();
  const auto expectPreviousFile = [&](const std::string& name) {
    SCOPED_TRACE(name);
    EXPECT_EQ(snapshot(), loaded);
    EXPECT_EQ(w().List1(2).selectedIndex(), 1);
    EXPECT_EQ(w().List1(0).items(), Texts{"a poi"});
    EXPECT_EQ(w().Text4.text(), "restaurant");
    EXPECT_TRUE(program->state.chunks.bytes.view() == twoCategories);
    EXPECT_FALSE(machine.busyPointer());
  };
  for (const BadFile& bad : badOsmFiles(folder)) {
    machine.chooseNext(bad.path);
    w().mf_Click(2);
    EXPECT_EQ(takeMessages(), Texts{bad.message});
    expectPreviousFile(bad.path);
  }
  const std::string big = osmFile(std::string(size_t{20} << 20, ' ') + osmNode({{"shop", "kiosk"}}));
  const std::string path = folder / "other.osm.gz";
  machine.setMemoryForLoading(size_t{10} << 20);
  open(gzipOf(big), "other.osm.gz");
  EXPECT_EQ(takeMessages(), Texts{"Out of memory"});
  expectPreviousFile("Out of memory");
  machine.setMemoryForLoading(size_t{1} << 30);

  // Cancel while the file is read, and while it is surveyed: no message.
  for (const std::string activity : {"Reading other.osm.gz", "Surveying"}) {
    machine.duringYield([&, activity] {
      if (!machine.activities().empty() && machine.activities().back() == activity) {
        machine.requestCancel();
      }
    });
    open(gzipOf(big), "other.osm.gz");
    expectPreviousFile(activity);
    EXPECT_FALSE(machine.cancelRequested());
  }
  machine.duringYield({});
  open(gzipOf(big), "other.osm.gz");
  EXPECT_EQ(w().List1(2).items(), Texts{"kiosk"});
  EXPECT_EQ(recent()[0], path);
}

TEST_F(FileMenuTest, AFileDroppedOnTheWindowOpensAsOpenOpensIt) {
  start();
  const std::string path = folder.write("dropped.osm.bz2", bzip2Of(twoCategories));
  w().Form_OLEDragDrop(folder / "missing.osm");
  w().Form_OLEDragDrop(path);
  EXPECT_EQ(program->state.lastosm.value_or(""), path);
  EXPECT_EQ(recent()[0], path);
  EXPECT_EQ(w().List1(2).items(), (Texts{"bakery", "restaurant"}));
  EXPECT_EQ(machine.activities(), (Texts{"Reading dropped.osm.bz2", "Surveying"}));
  EXPECT_EQ(buttons(), "111111");
}

}  // namespace
}  // namespace waymint::testing
