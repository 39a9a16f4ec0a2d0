#include <gtest/gtest.h>

#include "dialogs/info.h"
#include "dialogs/updat.h"
#include "support/program_fixture.h"

namespace waymint::testing {
namespace {

using InfoWindowsTest = ProgramTest;

TEST_F(InfoWindowsTest, AboutShowsVersionBetaMarkAndMemoryLoad) {
  app::Program& p = start();
  machine.setMemoryLoad(5);
  dialogs::Info about(p);
  EXPECT_EQ(about.caption(), "Information");
  EXPECT_EQ(about.Label9.caption(), "waymint");
  about.Form_Activate();
  EXPECT_EQ(about.Label1.caption(), "Version 0.27");
  EXPECT_EQ(about.Label10.caption(), "Beta ");
  EXPECT_EQ(about.Label4.caption(), "System:5%");
  // A memory status that cannot be had leaves the line as it was.
  machine.setMemoryLoad(std::nullopt);
  about.Form_Activate();
  EXPECT_EQ(about.Label4.caption(), "System:5%");
  about.Command1_Click();
  EXPECT_TRUE(about.closed());
  EXPECT_TRUE(machine.messages().empty());
}

TEST_F(InfoWindowsTest, UpdatesWindowHoverAndItsTwoWaysToTheWebSite) {
  app::Program& p = start();
  dialogs::updat window(p);
  window.Form_Load();
  EXPECT_EQ(window.caption(), "Updates");
  EXPECT_EQ(window.Label2.caption(), "Current Version:0.27");
  EXPECT_EQ(window.Label1.caption(), "Click here to check website");
  EXPECT_FALSE(machine.busyPointer());
  const platform::Rgb blue{0, 0, 255}, magenta{255, 0, 255};
  EXPECT_EQ(*window.Label1.foreColor(), blue);
  window.Label1_MouseMove();
  EXPECT_EQ(*window.Label1.foreColor(), magenta);
  window.Label1_MouseMove();
  EXPECT_EQ(*window.Label1.foreColor(), magenta);
  window.Form_MouseMove();
  EXPECT_EQ(*window.Label1.foreColor(), blue);

  int yields = machine.yields();
  window.Label1_MouseDown();
  ASSERT_EQ(machine.shellCalls().size(), 1u);
  EXPECT_EQ(machine.shellCalls()[0].verb, "Open");
  EXPECT_EQ(machine.shellCalls()[0].target, "https://veltrana.example/osm");
  EXPECT_EQ(machine.shellCalls()[0].show, 0);
  EXPECT_EQ(machine.yields() - yields, 3);
  EXPECT_TRUE(window.closed());
  EXPECT_FALSE(machine.busyPointer());

  dialogs::updat again(p);
  again.Form_Load();
  again.Command1_Click();
  EXPECT_EQ(machine.shellCalls().back().target, "https://veltrana.example/osm/download");
  EXPECT_TRUE(again.closed());

  dialogs::updat cancelled(p);
  cancelled.Command2_Click();
  EXPECT_TRUE(cancelled.closed());
  EXPECT_EQ(machine.shellCalls().size(), 2u);
}

TEST_F(InfoWindowsTest, VersionUsesTheUsersDecimalSeparator) {
  class CommaPlatform : public platform::HeadlessPlatform {
   public:
    std::string decimalSeparator() override { return ","; }
  } comma;
  app::Program p(comma);
  p.f1.Form_Load();
  dialogs::Info about(p);
  about.Form_Activate();
  EXPECT_EQ(about.Label1.caption(), "Version 0,27");
}

}  // namespace
}  // namespace waymint::testing
