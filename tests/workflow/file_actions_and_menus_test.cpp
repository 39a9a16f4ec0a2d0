#include <gtest/gtest.h>

#include "dialogs/folders.h"
#include "platform/files.h"
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
  for (const Call& c : calls) {
    text += c.verb + "|" + c.target + "|" + c.workingFolder + "|" + std::to_string(c.show) + ";";
  }
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
            (Texts{"Cannot find gpx:\r\n''", "Cannot find gpx:\r\n'" + folder / "gone.gpx'"}));
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
  EXPECT_EQ(takeMessages(), Texts{"The desktop could not open " + gpx + "."});

  const std::string question = "Are you sure you want to delete '" + gpx + "'";
  machine.answerNext(Answer::Cancel);
  workflow::Command4_Click(*program);
  EXPECT_EQ(machine.messages().back().preset, Answer::Cancel);  // Enter does not delete
  EXPECT_EQ(takeMessages(), Texts{question});
  EXPECT_EQ(slurp(gpx), "<gpx/>");
  EXPECT_EQ(w().List3.count(), 1);
  machine.answerNext(Answer::Ok);
  workflow::Command4_Click(*program);
  EXPECT_EQ(takeMessages(), Texts{question});
  EXPECT_FALSE(platform::files::exists(gpx));
  // The window shows the category without its GPX, as a press would now.
  EXPECT_EQ(w().List3.count() + w().List2.count(), 0);
  EXPECT_TRUE(w().Frame1.visible());
  EXPECT_EQ(w().Label6.caption(), "GPX not yet created.");
  EXPECT_EQ(w().Command1.caption(), "Create GPX");
}

TEST_F(FileActionsTest, GpxFolderButton) {
  const std::string picked = folder.path();
  machine.whenShown("folders", [&](platform::Window& window) {
    auto& picker = static_cast<dialogs::folders&>(window);
    picker.Text1.setText(picked);
    picker.Command1_Click(0);
  });
  const std::string question = "This will clear current list.Do you want to continue?";
  struct Case {
    bool listed;
    Answer answer;
    Texts messages;
    std::string folderAfter;
    int categoriesAfter;
  };
  const std::string before = gpxFolder();
  for (const Case& c : std::vector<Case>{{false, Answer::Yes, {}, picked, 0},
                                         {true, Answer::No, {question}, before, 2},
                                         {true, Answer::Yes, {question}, picked, 0}}) {
    SCOPED_TRACE(c.folderAfter + (c.listed ? " listed" : ""));
    w().Text1.setText(before);
    w().List1(0).setItems({"poi"});
    w().Label1(0).setCaption("POIS found: 1");
    w().Label4(2).setCaption(before + "/cafe/cafe.gpx");
    program->state.gpxpath = before + "/cafe/cafe.gpx";
    w().List1(2).setItems(c.listed ? Texts{"bakery", "cafe"} : Texts{});
    if (c.listed) machine.answerNext(c.answer);
    const size_t shown = machine.modalWindowsShown().size();
    workflow::command5_Click(*program);
    EXPECT_EQ(machine.modalWindowsShown().size(), shown + 1);
    EXPECT_EQ(takeMessages(), c.messages);
    EXPECT_EQ(w().Text1.text(), c.folderAfter);
    EXPECT_EQ(program->state.gpxfolder, c.folderAfter);
    EXPECT_EQ(w().List1(2).count(), c.categoriesAfter);
    EXPECT_EQ(w().List1(0).count(), c.categoriesAfter == 0 ? 0 : 1);
    // With the lists emptied, nothing shows the category of the folder before.
    const bool cleared = c.categoriesAfter == 0;
    EXPECT_EQ(w().Label1(0).caption(), cleared ? "POIS found:" : "POIS found: 1");
    EXPECT_EQ(w().Label4(2).caption(), cleared ? "" : before + "/cafe/cafe.gpx");
    EXPECT_EQ(program->state.gpxpath, cleared ? "" : before + "/cafe/cafe.gpx");
  }
}

TEST_F(FileActionsTest, LaunchersAndMenus) {
  program->state.stylepath = "/opt/pixmold.exe";
  program->state.loaderpath = "";
  workflow::Picture5_Click(*program, 0);
  workflow::Picture5_Click(*program, 1);
  workflow::mhlp_Click(*program, 0);
  ASSERT_EQ(machine.shellCalls().size(), 3u);
  const std::string manual = machine.shellCalls()[2].target;
  EXPECT_EQ(manual.substr(manual.size() - 25), "/osm/docs/waymint_doc.pdf");
  EXPECT_EQ(describe(machine.shellCalls()),
            "Open|/opt/pixmold.exe||0;Open|||0;Open|" + manual + "||0;");

  // The desktop cannot start them: the user is told which and why.
  machine.setShellSucceeds(false);
  workflow::Picture5_Click(*program, 0);
  workflow::Picture5_Click(*program, 1);
  workflow::mhlp_Click(*program, 0);
  EXPECT_EQ(takeMessages(), (Texts{"The desktop could not start /opt/pixmold.exe.",
                                   "POI Loader is not set: choose it in Tools > Settings.",
                                   "The desktop could not open " + manual + "."}));
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

  workflow::Command2_Click(*program, 0);  // "Load OSM" is File > Open
  EXPECT_EQ(machine.dialogs().at(0).pattern, "*.osm");
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
