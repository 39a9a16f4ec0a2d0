#include <gtest/gtest.h>

#include "dialogs/folders.h"
#include "platform/files.h"
#include "support/program_fixture.h"

namespace waymint::testing {
namespace {

using platform::Answer;
using FileActionsTest = ProgramTest;

TEST_F(FileActionsTest, ShowGpxOpensAnExistingFileOrSaysItIsMissing) {
  app::Program& p = start();
  p.state.gpxpath = folder / "cafe/cafe.gpx";
  p.f1.Command3_Click();
  EXPECT_EQ(machine.messageTexts(),
            std::vector<std::string>{"Cannot find gpx:\r\n'" + p.state.gpxpath + "'"});
  EXPECT_TRUE(machine.shellCalls().empty());
  folder.write("cafe/cafe.gpx", "<gpx/>");
  p.f1.Command3_Click();
  ASSERT_EQ(machine.shellCalls().size(), 1u);
  EXPECT_EQ(machine.shellCalls()[0].verb, "Open");
  EXPECT_EQ(machine.shellCalls()[0].target, p.state.gpxpath);
  EXPECT_EQ(machine.shellCalls()[0].show, 1);
}

TEST_F(FileActionsTest, DeleteGpxAsksFirstAndClearsTheWaypointList) {
  app::Program& p = start();
  std::string gpx = folder.write("cafe/cafe.gpx", "<gpx/>");
  p.state.gpxpath = gpx;
  p.f1.List3.addItem(" 1 2 Somewhere");
  p.f1.Command1.setCaption("Add POIs");
  machine.answerNext(Answer::Cancel);
  p.f1.Command4_Click();
  EXPECT_EQ(machine.messageTexts(),
            std::vector<std::string>{"Are you sure you want to delete '" + gpx + "'"});
  EXPECT_EQ(machine.messages()[0].buttons, platform::Buttons::OkCancel);
  EXPECT_TRUE(platform::files::isOrdinaryFile(gpx));
  EXPECT_EQ(p.f1.List3.count(), 1);

  machine.answerNext(Answer::Ok);
  p.f1.Command4_Click();
  EXPECT_FALSE(platform::files::exists(gpx));
  EXPECT_EQ(p.f1.List3.count(), 0);
  EXPECT_EQ(p.f1.Command1.caption(), "Add POIs");
  EXPECT_TRUE(platform::files::isFolder(folder / "cafe"));

  machine.forgetMessages();
  p.f1.Command4_Click();  // nothing left to delete: silence
  EXPECT_TRUE(machine.messages().empty());
}

TEST_F(FileActionsTest, GpxFolderButtonTakesThePickedFolder) {
  app::Program& p = start();
  std::string chosen = folder / "gpx";
  platform::files::makeFolder(chosen);
  auto pick = [&](platform::Window& window) {
    auto& picker = static_cast<dialogs::folders&>(window);
    picker.Text1.setText(chosen);
    picker.Command1_Click(0);
  };
  machine.whenShown("folders", pick);
  // No categories listed: no question.
  p.f1.List1(0).addItem("poi");
  p.f1.command5_Click();
  EXPECT_TRUE(machine.messages().empty());
  EXPECT_EQ(p.f1.Text1.text(), chosen);
  EXPECT_EQ(p.state.gpxfolder, chosen);
  EXPECT_EQ(p.f1.List1(0).count(), 0);

  // With categories listed, Yes clears both lists.
  p.f1.List1(2).addItem("cafe");
  p.f1.List1(0).addItem("poi");
  chosen = folder.path();
  machine.answerNext(Answer::Yes);
  p.f1.command5_Click();
  EXPECT_EQ(machine.messageTexts(),
            std::vector<std::string>{"This will clear current list.Do you want to continue?"});
  EXPECT_EQ(p.f1.Text1.text(), folder.path());
  EXPECT_EQ(p.f1.List1(2).count(), 0);
  EXPECT_EQ(p.f1.List1(0).count(), 0);

  // No keeps the lists, and the folder the box shows stays the one in use.
  p.f1.List1(2).addItem("cafe");
  chosen = folder / "gpx";
  machine.answerNext(Answer::No);
  p.f1.command5_Click();
  EXPECT_EQ(p.f1.Text1.text(), folder.path());
  EXPECT_EQ(p.state.gpxfolder, folder.path());
  EXPECT_EQ(p.f1.List1(2).count(), 1);
}

TEST_F(FileActionsTest, LaunchersHandTheStoredPathsToTheShell) {
  app::Program& p = start();
  p.state.stylepath = "/opt/pixmold/Pixmold.exe";
  p.state.loaderpath = "";
  p.f1.Picture5_Click(0);
  p.f1.Picture5_Click(1);
  ASSERT_EQ(machine.shellCalls().size(), 2u);
  EXPECT_EQ(machine.shellCalls()[0].target, "/opt/pixmold/Pixmold.exe");
  EXPECT_EQ(machine.shellCalls()[0].verb, "Open");
  EXPECT_EQ(machine.shellCalls()[0].show, 0);
  EXPECT_EQ(machine.shellCalls()[1].target, "");
  EXPECT_TRUE(machine.messages().empty());
}

}  // namespace
}  // namespace waymint::testing
