#include <gtest/gtest.h>

#include "dialogs/settings.h"
#include "support/program_fixture.h"

namespace waymint::testing {
namespace {

using MenusTest = ProgramTest;

TEST_F(MenusTest, HelpOpensTheManualAndTheUpdatesWindow) {
  app::f1& w = start().f1;
  w.mhlp_Click(0);
  ASSERT_EQ(machine.shellCalls().size(), 1u);
  EXPECT_EQ(machine.shellCalls()[0].verb, "Open");
  EXPECT_EQ(machine.shellCalls()[0].target, "https://veltrana.example/osm/docs/waymint_doc.pdf");
  EXPECT_EQ(machine.shellCalls()[0].show, 0);
  machine.whenShown("updat", [](platform::Window& window) {
    EXPECT_EQ(window.caption(), "Updates");
    window.close();
  });
  w.mhlp_Click(2);
  w.mhlp_Click(1);
  EXPECT_EQ(machine.modalWindowsShown(), std::vector<std::string>{"updat"});
  EXPECT_EQ(machine.shellCalls().size(), 1u);
}

TEST_F(MenusTest, LoadPixmoldNeedsAStyleEditorThatExists) {
  app::Program& p = start();
  for (std::string path : {std::string(""), std::string("   "), folder / "none.exe"}) {
    p.state.stylepath = path;
    p.f1.mtl_Click(0);
  }
  EXPECT_EQ(machine.messageTexts(),
            std::vector<std::string>(3, "Please locate Style Editor in Settings."));
  EXPECT_TRUE(machine.shellCalls().empty());
  p.state.stylepath = folder.write("pixmold.exe", "MZ");
  p.f1.mtl_Click(0);
  ASSERT_EQ(machine.shellCalls().size(), 1u);
  EXPECT_EQ(machine.shellCalls()[0].verb, "");
  EXPECT_EQ(machine.shellCalls()[0].target, p.state.stylepath);
  EXPECT_EQ(machine.shellCalls()[0].workingFolder, p.state.apppath);
  EXPECT_EQ(machine.shellCalls()[0].show, 1);
}

TEST_F(MenusTest, SettingsWritesTheStateFileEvenWithoutChanges) {
  app::Program& p = start();
  std::string loader = folder.write("Garmin/PoiLoader.EXE", "MZ");
  machine.whenShown("settings", [&](platform::Window& window) {
    EXPECT_EQ(slurp(stateFile()), "<missing>");
    auto& settings = static_cast<dialogs::settings&>(window);
    machine.chooseNext(loader);
    settings.Command2_Click(0);
    settings.Command3_Click();
  });
  p.f1.mtl_Click(2);
  EXPECT_EQ(p.state.loaderpath, loader);
  EXPECT_NE(slurp(stateFile()).find(loader), std::string::npos);

  std::remove(stateFile().c_str());
  machine.whenShown("settings", [](platform::Window& window) { window.close(); });
  p.f1.mtl_Click(2);
  EXPECT_NE(slurp(stateFile()), "<missing>");
  p.f1.mtl_Click(1);
  EXPECT_EQ(machine.modalWindowsShown().size(), 2u);
}

TEST_F(MenusTest, EditMenuOpensBothEditorsThoughItsEntriesStayDisabled) {
  app::f1& w = start().f1;
  w.medd_Click(0);
  w.medd_Click(1);
  w.medd_Click(2);
  EXPECT_EQ(machine.modalWindowsShown(), (std::vector<std::string>{"edit", "edall"}));
  EXPECT_FALSE(w.medd(0).enabled());
  EXPECT_FALSE(w.medd(2).enabled());
  EXPECT_FALSE(w.mtl(0).visible());
}

}  // namespace
}  // namespace waymint::testing
