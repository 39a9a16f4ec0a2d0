#include <gtest/gtest.h>

#include <optional>
#include <tuple>

#include "app/web_addresses.h"
#include "dialogs/folder_lists.h"
#include "dialogs/folders.h"
#include "dialogs/info.h"
#include "dialogs/settings.h"
#include "dialogs/updat.h"
#include "platform/files.h"
#include "support/case_table.h"
#include "support/program_fixture.h"

namespace waymint::testing {
namespace {

using Texts = std::vector<std::string>;

class DialogsTest : public ProgramTest {
 protected:
  void SetUp() override { start(); }
};

TEST_F(DialogsTest, SettingsTakeAProgramPickedOrTyped) {
  namespace files = platform::files;
  const std::string loader = folder.writeProgram("Garmin/poiloader-wine");
  const std::string pixmold = folder.writeProgram("pixmold");
  const std::string plain = folder.write("notes.txt", ""), missing = folder / "missing";
  const auto refused = [](const std::string& path) {
    return path + " is not a program that can be started: choose an executable file "
                  "(the program, or a script that starts it).";
  };
  // Row 0 is POI Loader, row 1 Pixmold. Any executable file is a program, whatever its name;
  // the dialog offers every file and appends nothing.
  const std::vector<std::tuple<int, std::optional<std::string>, std::string>> cases = {
      {0, loader, ""}, {1, pixmold, ""}, {0, plain, refused(plain)},
      {1, folder.path(), refused(folder.path())}, {0, std::nullopt, ""},  // cancelled
  };
  for (const auto& [row, picked, message] : cases) {
    SCOPED_TRACE(picked.value_or("cancelled"));
    program->state.loaderpath = "/old/loader";
    program->state.stylepath = "/old/pixmold";
    dialogs::settings window(*program);
    window.Form_Load();
    const std::string old = row == 0 ? "/old/loader" : "/old/pixmold";
    ASSERT_EQ(window.Text1(row).text(), old);
    machine.chooseNext(picked);
    window.Command2_Click(row);
    EXPECT_EQ(machine.dialogs().back().defaultExtension, "");
    EXPECT_EQ(machine.dialogs().back().filters, Texts{"All files (*)"});
    EXPECT_EQ(takeMessages(), message.empty() ? Texts{} : Texts{message});
    const std::string taken = picked && message.empty() ? *picked : old;
    EXPECT_EQ(row == 0 ? program->state.loaderpath : program->state.stylepath, taken);
    EXPECT_EQ(window.Text1(row).text(), taken);
  }

  // OK takes the paths typed into the boxes; one that is not a program is refused, names
  // itself, and the window stays open until it is mended. An emptied box unsets the program.
  program->state.loaderpath = "/old/loader";
  program->state.stylepath = "/old/pixmold";
  dialogs::settings window(*program);
  window.Form_Load();
  for (const std::string& typed : {plain, missing, std::string("/bin/")}) {
    window.Text1(0).setText(typed);
    window.Command3_Click();
    EXPECT_EQ(takeMessages(), Texts{refused(typed)});
    EXPECT_FALSE(window.closed());
    EXPECT_EQ(program->state.loaderpath, "/old/loader");
  }
  window.Text1(0).setText(loader);
  window.Text1(1).setText("");
  window.Command3_Click();
  EXPECT_TRUE(window.closed());
  EXPECT_EQ(program->state.loaderpath + "|" + program->state.stylepath, loader + "|");
  EXPECT_TRUE(files::isExecutableFile(loader) && !files::isExecutableFile(plain));
}

// (Opening at the GPX folder, a double click and OK through the window: the Qt view tests.)
TEST_F(DialogsTest, FolderPicker) {
  // Where "/" is the separator, a "\\" in the folder's name is part of it.
  const std::string backslash = gpxFolder() + "/a\\b";
  platform::files::makeFolder(backslash);
  program->state.gpxfolder = backslash;
  dialogs::folders picker(*program);
  picker.Form_Load();
  EXPECT_EQ(picker.Text1.text(), backslash);
  picker.Form_Activate();
  EXPECT_EQ(program->state.gpxfolder, backslash);
  EXPECT_EQ(picker.Dir1.path(), backslash);

  // A drive that cannot be read says why and leaves the list; the root can be read, and the
  // box follows the list.
  picker.Drive1.setDrive("/no such drive");
  picker.Drive1_Change();
  EXPECT_EQ(takeMessages(), Texts{"No such file or directory"});
  EXPECT_EQ(picker.Dir1.path(), backslash);
  picker.Drive1.setDrive("/");
  picker.Drive1_Change();
  EXPECT_EQ(picker.Dir1.path() + "|" + picker.Text1.text(), "/|/");

  for (const std::string& text : Texts{"", folder.path() + "/missing"}) {
    picker.Text1.setText(text);
    picker.Command1_Click(0);
    EXPECT_EQ(takeMessages(), Texts{"Invalid folder."});
  }
  EXPECT_FALSE(picker.closed());
  picker.Text1.setText(gpxFolder());
  picker.Command1_Click(1);  // Cancel
  EXPECT_TRUE(picker.closed());
  EXPECT_EQ(program->state.gpxfolder, backslash);
  picker.Command1_Click(0);
  EXPECT_EQ(program->state.gpxfolder, gpxFolder());
}

TEST(VolumesIn, MountedVolumesAsTheDriveListOffersThem) {
  for (const auto& c : caseTable("dialogs/data/volumes.tsv", 2)) {
    EXPECT_EQ(dialogs::volumesIn(c[0]), linesOf(c[1])) << c[0];
  }
}

TEST_F(DialogsTest, AboutAndUpdatesWindows) {
  // The memory the program holds, and of it the OSM text loaded.
  machine.setResidentMemory(std::uint64_t{152} << 20);
  dialogs::Info info(*program);  // (File > About opens it: the Qt main window tests)
  info.Form_Activate();
  EXPECT_EQ((Texts{info.Label9.caption(), info.Label1.caption(), info.Label4.caption(),
                   info.Label10.caption()}),
            (Texts{"WAYMINT", "Version 0.27", "Program:152 MB", "Beta "}));
  load(std::string(size_t{23} << 20, ' ') + std::string(500000, ' '));
  info.Form_Activate();
  EXPECT_EQ(info.Label4.caption(), "Program:152 MB, OSM text 23 MB");
  load(std::string(size_t{5} << 19, ' '));
  info.Form_Activate();
  EXPECT_EQ(info.Label4.caption(), "Program:152 MB, OSM text 2.5 MB");
  machine.setResidentMemory(std::nullopt);  // it cannot be told: the line stays
  info.Form_Activate();
  EXPECT_EQ(info.Label4.caption(), "Program:152 MB, OSM text 2.5 MB");
  EXPECT_EQ(dialogs::megabytesText(*program, 0), "0.0 MB");
  EXPECT_EQ(dialogs::megabytesText(*program, std::uint64_t{10} << 20), "10 MB");
  EXPECT_EQ(dialogs::megabytesText(*program, (std::uint64_t{199} << 20) / 2), "100 MB");

  // In Updates the link and Download open the maker's pages, and the window closes, also when
  // the desktop has no browser (the user is told).
  const std::string site(app::makerSite);
  for (auto [download, opens] :
       std::vector<std::pair<bool, bool>>{{false, true}, {true, true}, {true, false}}) {
    machine.setShellSucceeds(opens);
    dialogs::updat window(*program);
    window.Form_Load();
    EXPECT_EQ(window.Label2.caption(), "Current Version:0.27");
    // The link is magenta while the pointer is over it, blue again when it leaves it (to the
    // window's surface, or straight out of the window).
    const auto colour = [&window] { return window.Label1.foreColor().value_or(platform::Rgb{}); };
    for (bool outOfTheWindow : {false, true}) {
      window.Label1_MouseMove();
      EXPECT_EQ(colour(), (platform::Rgb{255, 0, 255}));
      outOfTheWindow ? window.Label1_MouseLeave() : window.Form_MouseMove();
      EXPECT_EQ(colour(), (platform::Rgb{0, 0, 255}));
    }
    download ? window.Command1_Click() : window.Label1_MouseDown();
    EXPECT_TRUE(window.closed() && !machine.busyPointer());
    const auto& call = machine.shellCalls().back();
    const std::string page = site + (download ? "/osm/download" : "/osm");
    EXPECT_EQ(call.verb + "|" + call.target + "|" + call.workingFolder + "|" +
                  std::to_string(call.show), "Open|" + page + "||0");
    EXPECT_EQ(takeMessages(), opens ? Texts{} : Texts{"The desktop could not open " + page + ". Install a web browser and make it "
                                            "the desktop's browser, or copy the address into one."});
  }
  EXPECT_EQ(machine.shellCalls().size(), 3u);
}

}  // namespace
}  // namespace waymint::testing
