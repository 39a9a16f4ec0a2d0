#include <gtest/gtest.h>

#include "dialogs/folders.h"
#include "platform/files.h"
#include "support/osm_text.h"
#include "support/program_fixture.h"
#include "workflow/file_actions.h"
#include "workflow/menus.h"

namespace waymint::testing {
namespace {

using Texts = std::vector<std::string>;
using platform::Answer;
using Call = platform::HeadlessPlatform::ShellCall;

std::string describe(const std::vector<Call>& calls) {
  std::string text;
  for (const Call& c : calls)
    text += c.verb + "|" + c.target + "|" + c.workingFolder + "|" + std::to_string(c.show) + ";";
  return text;
}

class FileActionsTest : public ProgramTest {
 protected:
  app::f1& w() { return program->f1; }
  void SetUp() override { start(); }
};

TEST_F(FileActionsTest, ShowAndDeleteGpx) {
  for (const std::string& path : Texts{"", folder / "gone.gpx"}) {
    program->state.gpxpath = path;
    workflow::Command3_Click(*program);
    workflow::Command4_Click(*program);  // nothing to delete: not a word
  }
  EXPECT_EQ(takeMessages(),
            (Texts{"No category is chosen: choose one in the list of categories, then Show GPX "
                   "shows its GPX.",
                   "Cannot find gpx:\r\n'" + folder / "gone.gpx'"}));
  EXPECT_TRUE(machine.shellCalls().empty());

  const std::string gpx = program->state.gpxpath = folder.write("gpx/cafe/cafe.gpx", "<gpx/>");
  w().List3.addItem(" 1 2 A");
  w().List2.addItem("A");
  w().Frame1.setVisible(false);
  w().Command1.setCaption("Add POIs");
  workflow::Command3_Click(*program);
  EXPECT_EQ(describe(machine.shellCalls()), "Open|" + gpx + "||1;");
  machine.setShellSucceeds(false);  // no program on the desktop for a .gpx
  workflow::Command3_Click(*program);
  EXPECT_EQ(takeMessages(), Texts{"The desktop could not open " + gpx + ". Install a program that "
                                  "shows GPX files (a map or GPS program) and make it the "
                                  "desktop's program for .gpx files."});

  for (const Answer answer : {Answer::Cancel, Answer::Ok}) {
    machine.answerNext(answer);
    workflow::Command4_Click(*program);
    EXPECT_EQ(machine.messages().back().preset, Answer::Cancel);  // Enter does not delete
    EXPECT_EQ(takeMessages(), Texts{"Are you sure you want to delete '" + gpx + "'"});
    const bool kept = answer == Answer::Cancel;
    EXPECT_EQ(slurp(gpx), kept ? "<gpx/>" : "<missing>");
    EXPECT_EQ(w().List3.count() + w().List2.count(), kept ? 2 : 0);
  }
  // The window shows the category without its GPX, as a press would now.
  EXPECT_TRUE(w().Frame1.visible());
  EXPECT_EQ(w().Label6.caption(), "GPX not yet created.");
  EXPECT_EQ(w().Command1.caption(), "Create GPX");
}

TEST_F(FileActionsTest, GpxFolderButton) {
  load(osmFile(osmNode({{"amenity", "cafe"}, {"name", "Blue"}})));
  const std::string before = gpxFolder(), picked = folder.path(), gpx = gpxOf("cafe");
  // Cancel changes nothing and asks nothing.
  const auto shown = [&] {
    return Texts{w().Text1.text(), program->state.gpxfolder, w().Label1(0).caption(),
                 w().Label4(2).caption(), w().Text5.text()};
  };
  // The folder picker closes with `button`: 0 is OK, 1 Cancel.
  const auto pickerCloses = [&](int button) {
    machine.whenShown("folders", [&, button](platform::Window& window) {
      auto& picker = static_cast<dialogs::folders&>(window);
      picker.Text1.setText(picked);
      picker.Command1_Click(button);
    });
  };
  press("cafe");
  w().Text5.setText("ca");
  const Texts atStart = shown();
  pickerCloses(1);
  workflow::command5_Click(*program);
  EXPECT_EQ(takeMessages(), Texts{});
  EXPECT_EQ(shown(), atStart);
  EXPECT_EQ(w().List1(2).count() + w().List1(0).count(), 2);

  pickerCloses(0);
  const Texts question = {"This will clear current list.Do you want to continue?"};
  // With categories listed the user is asked; Yes empties the lists and everything that showed
  // the category of the folder before, No keeps them and the folder the box shows.
  for (auto [listed, answer] : std::vector<std::pair<bool, Answer>>{
           {false, Answer::Yes}, {true, Answer::No}, {true, Answer::Yes}}) {
    SCOPED_TRACE(std::to_string(listed) + (answer == Answer::Yes ? " Yes" : " No"));
    const bool kept = answer == Answer::No;
    w().Text1.setText(before);
    w().Text5.setText("ca");  // the filter over the categories
    press("cafe");
    if (listed) machine.answerNext(answer); else w().List1(2).clear();
    const size_t windows = machine.modalWindowsShown().size();
    workflow::command5_Click(*program);
    EXPECT_EQ(machine.modalWindowsShown().size(), windows + 1);
    EXPECT_EQ(takeMessages(), listed ? question : Texts{});
    EXPECT_EQ(w().Text1.text(), kept ? before : picked);
    EXPECT_EQ(program->state.gpxfolder, kept ? before : picked);
    EXPECT_EQ(w().List1(2).count() + w().List1(0).count(), kept ? 2 : 0);
    EXPECT_EQ(w().Text5.text(), kept ? "ca" : "");
    EXPECT_EQ(w().Label1(0).caption(), kept ? "POIS found: 1" : "POIS found:");
    EXPECT_EQ(w().Label4(2).caption() + "|" + program->state.gpxpath, kept ? gpx + "|" + gpx : "|");
  }
}

TEST_F(FileActionsTest, LaunchersAndMenus) {
  program->state.stylepath = "/opt/pixmold.exe";  // POI Loader is not set
  for (const bool starts : {true, false}) {
    machine.setShellSucceeds(starts);
    workflow::Picture5_Click(*program, 0);
    workflow::Picture5_Click(*program, 1);
    workflow::mhlp_Click(*program, 0);
  }
  const std::string manual = machine.shellCalls().at(2).target;
  EXPECT_EQ(manual.substr(manual.size() - 25), "/osm/docs/waymint_doc.pdf");
  const std::string calls = "Open|/opt/pixmold.exe||0;Open|||0;Open|" + manual + "||0;";
  EXPECT_EQ(describe(machine.shellCalls()), calls + calls);
  // When the desktop cannot start them, the user is told which and why.
  EXPECT_EQ(takeMessages(), (Texts{"The desktop could not start /opt/pixmold.exe.",
                                   "POI Loader is not set: choose it in Tools > Settings.",
                                   "The desktop could not open " + manual +
                                       ". Install a web browser and make it the desktop's "
                                       "browser, or copy the address into one."}));
  machine.setShellSucceeds(true);

  // Without an icon editor, the icon button opens the category's icon with the desktop's
  // image editor; with no icon there is nothing to open, and the user is told what to set.
  program->state.stylepath = "";
  program->state.bmppath = folder / "cafe.bmp";
  machine.setShellSucceeds(false);  // (as the desktop answers a request to start nothing)
  workflow::Picture5_Click(*program, 0);
  EXPECT_EQ(takeMessages(), Texts{"Pixmold is not set: choose it in Tools > Settings."});
  folder.write("cafe.bmp", "BM");
  for (const bool opens : {true, false}) {
    machine.setShellSucceeds(opens);
    workflow::Picture5_Click(*program, 0);
    EXPECT_EQ(describe({machine.shellCalls().back()}), "Open|" + folder / "cafe.bmp" + "||1;");
    EXPECT_EQ(takeMessages(),
              opens ? Texts{}
                    : Texts{"The desktop could not open " + folder / "cafe.bmp" +
                            ". Install an image editor and make it the desktop's program for "
                            ".bmp files, or choose an icon editor in Tools > Settings."});
  }
  machine.setShellSucceeds(true);

  // Load Pixmold checks its path first.
  for (const std::string stylepath : {"", "   ", "/opt/pixmold.exe"}) {
    program->state.stylepath = stylepath;
    workflow::mtl_Click(*program, 0);
    EXPECT_EQ(takeMessages(), Texts{"Please locate Style Editor in Settings."});
  }
  program->state.stylepath = folder.write("pixmold.exe", "");
  workflow::mtl_Click(*program, 0);
  EXPECT_EQ(describe({machine.shellCalls().back()}),
            "|" + folder / "pixmold.exe" + "|" + folder.path() + "|1;");

  EXPECT_EQ(w().medd(0).caption() + "|" + w().medd(2).caption(), "Individual POIs|All POIs");
  workflow::mhlp_Click(*program, 2);
  workflow::medd_Click(*program, 0);
  workflow::medd_Click(*program, 2);
  ASSERT_EQ(slurp(stateFile()), "<missing>");
  workflow::mtl_Click(*program, 2);
  EXPECT_EQ(machine.modalWindowsShown(), (Texts{"updat", "edit", "edall", "settings"}));
  EXPECT_EQ(slurp(stateFile()).substr(0, 6), " .27\r\n");
}

}  // namespace
}  // namespace waymint::testing
