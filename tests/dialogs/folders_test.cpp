#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "dialogs/folders.h"
#include "platform/headless/headless_platform.h"
#include "support/program_fixture.h"

namespace waymint::testing {
namespace {

using Texts = std::vector<std::string>;

class FoldersTest : public ProgramTest {
 protected:
  app::Program& p = start();

  FoldersTest() {
    for (const char* name : {"gpx/cafe", "gpx/Bar", "gpx/.hidden", "gpx/atm", "other"}) {
      std::filesystem::create_directories(folder / name);
    }
    folder.write("gpx/notes.txt", "not a folder");
  }

  // Opens the picker as the main window does; `action` is what the user does in it.
  void open(std::function<void(dialogs::folders&)> action) {
    machine.whenShown("folders", [action](platform::Window& window) {
      action(static_cast<dialogs::folders&>(window));
    });
    dialogs::folders window(p);
    window.Form_Load();
    p.platform.showModal(window);
  }
};

// --- opening ---

TEST_F(FoldersTest, OpensOnTheGpxFolder) {
  p.state.gpxfolder = folder / "gpx";
  open([&](dialogs::folders& w) {
    EXPECT_EQ(w.caption(), "Select Folder");
    EXPECT_EQ(w.Label1.caption(), "Double Click to select folder");
    EXPECT_EQ(w.Command1(0).caption(), "OK");
    EXPECT_EQ(w.Command1(1).caption(), "Cancel");
    EXPECT_EQ(w.Text1.text(), folder / "gpx");
    EXPECT_EQ(w.Dir1.path(), folder / "gpx");
    const auto& entries = w.Dir1.entries();
    ASSERT_GE(entries.size(), 4u);
    EXPECT_EQ(entries.front(), "/");
    EXPECT_EQ(entries[static_cast<size_t>(w.Dir1.currentIndex())], folder / "gpx");
    // The subfolders by name, hidden ones and files left out.
    Texts children(entries.begin() + w.Dir1.currentIndex() + 1, entries.end());
    EXPECT_EQ(children, (Texts{folder / "gpx/atm", folder / "gpx/Bar", folder / "gpx/cafe"}));
    EXPECT_FALSE(w.Drive1.drives().empty());
    EXPECT_EQ(w.Drive1.drives().front(), "/");
    EXPECT_NE(w.Drive1.drive(), "");
    w.Command1_Click(1);
  });
  EXPECT_TRUE(machine.messages().empty());
}

TEST_F(FoldersTest, LoadShowsTheGpxFolderAsItIs) {
  p.state.gpxfolder = "/no/such\\gpx";
  dialogs::folders window(p);
  window.Form_Load();
  EXPECT_EQ(window.Text1.text(), "/no/such\\gpx");
}

TEST_F(FoldersTest, ActivationNormalisesTheGpxFolderEvenOnCancel) {
  p.state.gpxfolder = folder.path() + "\\gpx\\cafe";
  open([](dialogs::folders& w) { w.Command1_Click(1); });
  EXPECT_EQ(p.state.gpxfolder, folder / "gpx/cafe");
  EXPECT_TRUE(machine.messages().empty());
}

TEST_F(FoldersTest, AMissingGpxFolderLeavesTheListsWhereTheyWere) {
  p.state.gpxfolder = folder.path() + "\\nowhere";
  open([&](dialogs::folders& w) {
    EXPECT_EQ(w.Dir1.path(), std::filesystem::current_path().string());
    EXPECT_EQ(w.Text1.text(), folder.path() + "\\nowhere");  // normalised in the shared state only
    w.Command1_Click(1);
  });
  EXPECT_EQ(p.state.gpxfolder, folder / "nowhere");
  EXPECT_TRUE(machine.messages().empty());
}

// --- "OK" ---

TEST_F(FoldersTest, OkRefusesAnEmptyOrMissingName) {
  p.state.gpxfolder = folder / "gpx";
  dialogs::folders window(p);
  window.Form_Load();
  window.Form_Activate();
  window.Text1.setText("");
  window.Command1_Click(0);
  window.Text1.setText(folder / "gpx/nothing");
  window.Command1_Click(0);
  EXPECT_EQ(machine.messageTexts(), (Texts{"Invalid folder.", "Invalid folder."}));
  EXPECT_FALSE(window.closed());
  EXPECT_EQ(p.state.gpxfolder, folder / "gpx");
}

TEST_F(FoldersTest, OkTakesTheTypedFolderNormalised) {
  p.state.gpxfolder = folder / "gpx";
  open([&](dialogs::folders& w) {
    w.Text1.setText(folder.path() + "\\other");
    w.Command1_Click(0);
    EXPECT_TRUE(w.closed());
  });
  EXPECT_EQ(p.state.gpxfolder, folder / "other");
}

TEST_F(FoldersTest, OkTakesAFileNameToo) {
  p.state.gpxfolder = folder / "gpx";
  open([&](dialogs::folders& w) {
    w.Text1.setText(folder / "gpx/notes.txt");
    w.Command1_Click(0);
  });
  EXPECT_EQ(p.state.gpxfolder, folder / "gpx/notes.txt");
}

// --- browsing ---

TEST_F(FoldersTest, DoubleClickOpensAFolderAndTextFollows) {
  p.state.gpxfolder = folder / "gpx";
  open([&](dialogs::folders& w) {
    w.Dir1.setSelectedIndex(w.Dir1.currentIndex() + 3);  // atm, Bar, cafe
    w.Dir1_DblClick();
    EXPECT_EQ(w.Dir1.path(), folder / "gpx/cafe");
    EXPECT_EQ(w.Text1.text(), folder / "gpx/cafe");

    w.Dir1.setSelectedIndex(w.Dir1.currentIndex() - 2);  // up to the temporary folder
    w.Dir1_DblClick();
    EXPECT_EQ(w.Text1.text(), folder.path());

    w.Command1_Click(0);
  });
  EXPECT_EQ(p.state.gpxfolder, folder.path());
}

TEST_F(FoldersTest, ADoubleClickWithoutSelectionDoesNothing) {
  p.state.gpxfolder = folder / "gpx";
  open([&](dialogs::folders& w) {
    w.Dir1_DblClick();
    EXPECT_EQ(w.Dir1.path(), folder / "gpx");
    w.Command1_Click(1);
  });
}

TEST_F(FoldersTest, ADoubleClickOnAVanishedFolderIsIgnoredSilently) {
  p.state.gpxfolder = folder / "gpx";
  open([&](dialogs::folders& w) {
    const auto entries = w.Dir1.entries();
    w.Text1.setText("typed");
    std::filesystem::remove(folder / "gpx/atm");
    w.Dir1.setSelectedIndex(w.Dir1.currentIndex() + 1);
    w.Dir1_DblClick();
    EXPECT_EQ(w.Dir1.path(), folder / "gpx");
    EXPECT_EQ(w.Dir1.entries(), entries);
    EXPECT_EQ(w.Text1.text(), "typed");
    w.Command1_Click(1);
  });
  EXPECT_TRUE(machine.messages().empty());
}

TEST_F(FoldersTest, ChoosingADriveMovesTheFolderList) {
  p.state.gpxfolder = folder / "gpx";
  open([&](dialogs::folders& w) {
    w.Drive1.setDrive("/");
    w.Drive1_Change();
    EXPECT_EQ(w.Dir1.path(), "/");
    EXPECT_EQ(w.Text1.text(), "/");
    w.Command1_Click(1);
  });
}

TEST_F(FoldersTest, ADriveThatCannotBeReadIsReportedAndTheListStays) {
  p.state.gpxfolder = folder / "gpx";
  open([&](dialogs::folders& w) {
    w.Drive1.setDrives({"/", folder / "unplugged"});
    w.Drive1.setDrive(folder / "unplugged");
    w.Drive1_Change();
    EXPECT_EQ(w.Dir1.path(), folder / "gpx");
    EXPECT_EQ(w.Text1.text(), folder / "gpx");
    w.Command1_Click(1);
  });
  EXPECT_EQ(machine.messageTexts(), Texts{"No such file or directory"});
}

}  // namespace
}  // namespace waymint::testing
