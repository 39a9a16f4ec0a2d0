// Finding connected navigators in a fake mount table and media folder, reading the model from
// GarminDevice.xml, and writing onto a navigator that fills up, goes or cannot be written.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "navigator/navigator.h"
#include "navigator/send.h"
#include "platform/files.h"
#include "platform/headless/headless_platform.h"
#include "support/case_table.h"
#include "support/temp_folder.h"

namespace waymint::testing {
namespace {

namespace files = platform::files;

std::string makeNavigator(const TempFolder& folder, const std::string& name) {
  const std::string data = std::string(WAYMINT_SOURCE_DIR) + "/tests/navigator/data/";
  folder.write(name + "/Garmin/GarminDevice.xml", slurp(data + "GarminDevice.xml"));
  return folder / name;
}

TEST(NavigatorFolders, FoundInTheMountTableAndTwoLevelsBelowMediaFoldersEachOnce) {
  TempFolder folder;
  const std::string first = makeNavigator(folder, "mnt/GARMIN");
  const std::string spaced = makeNavigator(folder, "mnt/MY NUVI");
  folder.write("mnt/STICK/Garmin/readme.txt", "not a navigator");
  const std::string media = makeNavigator(folder, "media/anna/NUVI");
  makeNavigator(folder, "media/anna/deeper/still/NUVI");  // three levels down: not looked at
  folder.write("media/bob", "a file, not a folder");
  const std::string table =
      "sysfs /sys sysfs rw 0 0\n"
      "/dev/sdb1 " + first + " vfat rw 0 0\n"
      "/dev/sdc1 " + folder.path() + "/mnt/MY\\040NUVI vfat rw 0 0\n"
      "/dev/sdd1 " + folder.path() + "/mnt/STICK vfat rw 0 0\n"
      "/dev/sde1 " + media + "/ vfat rw 0 0\n";  // also below the media folder: once
  platform::MountPlaces places{folder.write("mounts", table), {folder / "media", folder / "none"}};
  EXPECT_EQ(navigator::navigatorFolders(places),
            (std::vector<std::string>{first, spaced, media}));

  places.mountTable = folder / "no such table";
  EXPECT_EQ(navigator::navigatorFolders(places), (std::vector<std::string>{media}));
  places.mediaFolders.clear();
  EXPECT_TRUE(navigator::navigatorFolders(places).empty());
}

TEST(NavigatorModel, TheModelsDescriptionOrWhyItIsNotKnown) {
  for (const auto& c : caseTable("navigator/data/models.tsv", 2)) {
    SCOPED_TRACE(c[0]);
    const navigator::Model model = navigator::modelIn(c[0], "f");
    EXPECT_EQ(model.note.empty() ? model.name : "?" + model.note, c[1]);
  }
}

TEST(NavigatorModel, ReadFromTheNavigatorsFolderAndShownWithIt) {
  TempFolder folder;
  const std::string named = makeNavigator(folder, "N");
  EXPECT_EQ(navigator::describeNavigator(named, navigator::modelOf(named)),
            "the navigator n\xC3\xBCvi 2595 (" + named + ")");
  const navigator::Model none = navigator::modelOf(folder.path());
  EXPECT_EQ(none.name + none.note, "");
  EXPECT_EQ(navigator::describeNavigator("/m/X", none), "the navigator at /m/X");
}

TEST(RoomText, BytesAsAUserReadsThem) {
  for (const auto& c : caseTable("navigator/data/room.tsv", 2)) {
    EXPECT_EQ(navigator::roomText(std::stoull(c[0])), c[1]) << c[0];
  }
}

class WritingOntoNavigator : public ::testing::Test {
 protected:
  TempFolder folder;
  platform::HeadlessPlatform machine;
  std::string device = makeNavigator(folder, "N");
  std::string poi = device + "/Garmin/POI";

  void TearDown() override { files::injectFaults(nullptr); }
};

TEST_F(WritingOntoNavigator, MakesThePoiFolderAndReplacesAFileInOneStep) {
  ASSERT_EQ(navigator::preparePoiFolder(machine, device).outcome, navigator::Outcome::Written);
  folder.write("N/Garmin/POI/cafe.gpi", "old");
  const navigator::Written written = navigator::writeGpi(machine, device, "cafe", "new bytes");
  EXPECT_EQ(written.outcome, navigator::Outcome::Written) << written.message;
  EXPECT_EQ(written.path, poi + "/cafe.gpi");
  EXPECT_EQ(slurp(poi + "/cafe.gpi"), "new bytes");
  EXPECT_EQ(entries(poi), (std::vector<std::string>{"cafe.gpi"}));
  // A navigator without its Garmin folder (a memory card) gets both folders.
  const std::string card = folder / "CARD";
  files::makeFolder(card);
  EXPECT_EQ(navigator::preparePoiFolder(machine, card).outcome, navigator::Outcome::Written);
  EXPECT_TRUE(files::isFolder(card + "/Garmin/POI"));
}

TEST_F(WritingOntoNavigator, AFullNavigatorKeepsTheOldFileAndNoPartOfTheNewOne) {
  ASSERT_EQ(navigator::preparePoiFolder(machine, device).outcome, navigator::Outcome::Written);
  folder.write("N/Garmin/POI/cafe.gpi", "old");
  files::injectFaults([](files::Step step) { return step == files::Step::Write ? ENOSPC : 0; });
  const navigator::Written full = navigator::writeGpi(machine, device, "cafe", "new");
  const navigator::Written fresh = navigator::writeGpi(machine, device, "bar", "new");
  EXPECT_EQ(full.outcome, navigator::Outcome::Full);
  EXPECT_EQ(full.message, "The navigator is full: " + poi +
                              "/cafe.gpi does not fit, and nothing of it was left on it. Make "
                              "room (delete files on the navigator) and send once more.");
  EXPECT_EQ(fresh.outcome, navigator::Outcome::Full);
  EXPECT_EQ(slurp(poi + "/cafe.gpi"), "old");
  EXPECT_EQ(entries(poi), (std::vector<std::string>{"cafe.gpi"}));
}

TEST_F(WritingOntoNavigator, AReadOnlyNavigatorIsSaidToBeSo) {
  files::makeFolder(device + "/Garmin/POI");
  machine.setUnwritable(poi, "Read-only file system");
  const navigator::Written prepared = navigator::preparePoiFolder(machine, device);
  EXPECT_EQ(prepared.outcome, navigator::Outcome::ReadOnly);
  EXPECT_EQ(prepared.message, "The navigator " + device +
                                  " cannot be written (Read-only file system): unlock it or "
                                  "mount it for writing, then send once more.");
  // Without its POI folder, the Garmin folder is the one asked.
  const std::string other = makeNavigator(folder, "O");
  machine.setUnwritable(other + "/Garmin", "Permission denied");
  EXPECT_EQ(navigator::preparePoiFolder(machine, other).outcome, navigator::Outcome::ReadOnly);
  EXPECT_FALSE(files::exists(other + "/Garmin/POI"));
  // A write the system refuses as read-only.
  files::injectFaults([](files::Step step) { return step == files::Step::Open ? EROFS : 0; });
  EXPECT_EQ(navigator::writeGpi(machine, device, "cafe", "x").outcome,
            navigator::Outcome::ReadOnly);
  EXPECT_EQ(entries(poi), std::vector<std::string>{});
}

TEST_F(WritingOntoNavigator, ANavigatorThatWentIsSaidToHaveGone) {
  ASSERT_EQ(navigator::preparePoiFolder(machine, device).outcome, navigator::Outcome::Written);
  std::filesystem::remove_all(device);
  const navigator::Written gone = navigator::writeGpi(machine, device, "cafe", "x");
  EXPECT_EQ(gone.outcome, navigator::Outcome::Gone);
  EXPECT_EQ(gone.message, "The navigator " + device +
                              " was removed while sending: connect it again and send once more.");
  EXPECT_FALSE(files::exists(device));
  // Gone in the middle of the write itself.
  const std::string other = makeNavigator(folder, "O");
  ASSERT_EQ(navigator::preparePoiFolder(machine, other).outcome, navigator::Outcome::Written);
  files::injectFaults([&](files::Step step) {
    if (step != files::Step::Write) return 0;
    std::filesystem::remove_all(other);
    return EIO;
  });
  EXPECT_EQ(navigator::writeGpi(machine, other, "cafe", "x").outcome, navigator::Outcome::Gone);
}

}  // namespace
}  // namespace waymint::testing
