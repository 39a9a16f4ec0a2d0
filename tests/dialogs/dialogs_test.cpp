#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "app/web_addresses.h"
#include "dialogs/folder_lists.h"
#include "dialogs/folders.h"
#include "dialogs/info.h"
#include "dialogs/settings.h"
#include "dialogs/updat.h"
#include "platform/files.h"
#include "support/program_fixture.h"

namespace waymint::testing {
namespace {

using Texts = std::vector<std::string>;

class DialogsTest : public ProgramTest {
 protected:
  void SetUp() override { start(); }
};

TEST_F(DialogsTest, SettingsTakeAProgramOnlyThroughItsPick) {
  struct Case {
    int row;
    std::optional<std::string> picked;  // a file made in the test folder; nothing: cancelled
    Texts messages;
    bool taken;
  };
  const std::vector<Case> cases = {
      {0, "Garmin/PoiLoader.EXE", {}, true},
      {0, "loader.exe.bak", {}, true},
      {0, "pixmold.exe", {"poiloader.exe not found"}, false},
      {0, std::nullopt, {}, false},
      {1, "Pixmold/PIXMOLD.Exe", {}, true},
      {1, "pixmold.sh", {".exe not found"}, false},
      {1, std::nullopt, {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.picked.value_or("cancelled"));
    program->state.loaderpath = "/old/loader.exe";
    program->state.stylepath = "/old/pixmold.exe";
    dialogs::settings window(*program);
    window.Form_Load();
    const std::string old = c.row == 0 ? "/old/loader.exe" : "/old/pixmold.exe";
    ASSERT_EQ(window.Text1(c.row).text(), old);
    const std::string path = c.picked ? folder.write(*c.picked, "") : "";
    machine.chooseNext(c.picked ? std::optional(path) : std::nullopt);
    window.Command2_Click(c.row);
    EXPECT_EQ(machine.dialogs().back().pattern, "*.exe");
    EXPECT_EQ(takeMessages(), c.messages);
    EXPECT_EQ(c.row == 0 ? program->state.loaderpath : program->state.stylepath,
              c.taken ? path : old);
    EXPECT_EQ(window.Text1(c.row).text(), c.taken ? path : old);
  }
}

TEST_F(DialogsTest, FolderPicker) {
  platform::files::makeFolder(folder / "gpx/sub");
  platform::files::makeFolder(folder / "gpx/a\\b");
  // Where "/" is the separator, a "\\" in the folder's name is part of it.
  program->state.gpxfolder = gpxFolder() + "/a\\b";
  dialogs::folders picker(*program);
  picker.Form_Load();
  EXPECT_EQ(picker.Text1.text(), gpxFolder() + "/a\\b");
  picker.Form_Activate();
  EXPECT_EQ(program->state.gpxfolder, gpxFolder() + "/a\\b");
  EXPECT_EQ(picker.Dir1.path(), gpxFolder() + "/a\\b");
  EXPECT_EQ(picker.Text1.text(), gpxFolder() + "/a\\b");
  program->state.gpxfolder = gpxFolder();
  picker.Form_Activate();
  EXPECT_EQ(picker.Dir1.path(), gpxFolder());
  EXPECT_EQ(picker.Text1.text(), gpxFolder());
  EXPECT_EQ(picker.Drive1.drives().front(), "/");

  // A double click opens the folder of the selected entry; the box follows.
  const auto& entries = picker.Dir1.entries();
  const auto sub = std::find(entries.begin(), entries.end(), gpxFolder() + "/sub");
  ASSERT_NE(sub, entries.end());
  picker.Dir1.setSelectedIndex(static_cast<int>(sub - entries.begin()));
  picker.Dir1_DblClick();
  EXPECT_EQ(picker.Dir1.path(), gpxFolder() + "/sub");
  EXPECT_EQ(picker.Text1.text(), gpxFolder() + "/sub");

  // A drive that cannot be read says why and leaves the list; the root can be.
  picker.Drive1.setDrive("/no such drive");
  picker.Drive1_Change();
  EXPECT_EQ(takeMessages(), Texts{"No such file or directory"});
  EXPECT_EQ(picker.Dir1.path(), gpxFolder() + "/sub");
  picker.Drive1.setDrive("/");
  picker.Drive1_Change();
  EXPECT_EQ(picker.Dir1.path(), "/");

  for (const std::string& text : Texts{"", folder.path() + "/missing"}) {
    picker.Text1.setText(text);
    picker.Command1_Click(0);
    EXPECT_EQ(takeMessages(), Texts{"Invalid folder."});
    EXPECT_FALSE(picker.closed());
    EXPECT_EQ(program->state.gpxfolder, gpxFolder());
  }
  picker.Text1.setText(gpxFolder() + "/sub");
  picker.Command1_Click(1);  // Cancel
  EXPECT_TRUE(picker.closed());
  EXPECT_EQ(program->state.gpxfolder, gpxFolder());
  picker.Command1_Click(0);
  EXPECT_EQ(program->state.gpxfolder, gpxFolder() + "/sub");
}

TEST(VolumesIn, MountedVolumesAsTheDriveListOffersThem) {
  struct Case {
    std::string table;
    Texts volumes;
  };
  const std::vector<Case> cases = {
      {"", {"/"}},
      {"/dev/sda1 / ext4 rw 0 0\nproc /proc proc rw 0 0\nsysfs /sys sysfs rw 0 0\n"
       "devpts /dev/pts devpts rw 0 0\ntmpfs /run tmpfs rw 0 0\nproc /srv/jail/proc proc rw 0 0\n",
       {"/"}},
      {"/dev/sdb1 /media/My\\040Disk vfat rw 0 0\ntmpfs /tmp tmpfs rw 0 0\n"
       "/dev/sdb1 /media/My\\040Disk vfat rw 0 0\n/dev/sdc1 /mnt/back\\134slash ext4 rw 0 0\n",
       {"/", "/media/My Disk", "/tmp", "/mnt/back\\slash"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.table);
    EXPECT_EQ(dialogs::volumesIn(c.table), c.volumes);
  }
}

TEST_F(DialogsTest, AboutWindow) {
  machine.setMemoryLoad(37);
  Texts shown;
  machine.whenShown("Info", [&](platform::Window& window) {
    auto& info = static_cast<dialogs::Info&>(window);
    shown = {info.Label1.caption(), info.Label4.caption(), info.Label10.caption()};
    info.Command1_Click();
  });
  program->f1.mf_Click(6);
  EXPECT_EQ(shown, (Texts{"Version 0.27", "System:37%", "Beta "}));
}

TEST_F(DialogsTest, UpdatesWindow) {
  for (bool download : {false, true}) {
    dialogs::updat window(*program);
    window.Form_Load();
    EXPECT_EQ(window.Label2.caption(), "Current Version:0.27");
    EXPECT_EQ(window.Label1.caption(), "Click here to check website");
    window.Label1_MouseMove();
    EXPECT_EQ(window.Label1.foreColor(), (platform::Rgb{255, 0, 255}));
    window.Form_MouseMove();
    EXPECT_EQ(window.Label1.foreColor(), (platform::Rgb{0, 0, 255}));
    download ? window.Command1_Click() : window.Label1_MouseDown();
    EXPECT_TRUE(window.closed());
    EXPECT_FALSE(machine.busyPointer());
    const auto& call = machine.shellCalls().back();
    EXPECT_EQ(call.verb + "|" + call.workingFolder + "|" + std::to_string(call.show), "Open||0");
    EXPECT_EQ(call.target, std::string(app::makerSite) + (download ? "/osm/download" : "/osm"));
  }
  EXPECT_EQ(machine.shellCalls().size(), 2u);
  // A desktop without a browser: the user is told, and the window closes all the same.
  machine.setShellSucceeds(false);
  dialogs::updat window(*program);
  window.Form_Load();
  window.Command1_Click();
  EXPECT_EQ(takeMessages(),
            Texts{"The desktop could not open " + std::string(app::makerSite) + "/osm/download."});
  EXPECT_TRUE(window.closed());
}

}  // namespace
}  // namespace waymint::testing
