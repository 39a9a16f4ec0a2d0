#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "dialogs/folder_lists.h"
#include "platform/files.h"
#include "support/temp_folder.h"

namespace waymint::testing {
namespace {

using Texts = std::vector<std::string>;

TEST(FolderListsTest, VolumesLeaveOutPseudoFileSystems) {
  const char* table =
      "overlay / overlay rw,relatime 0 0\n"
      "proc /proc proc rw,nosuid 0 0\n"
      "sysfs /sys sysfs ro 0 0\n"
      "cgroup2 /sys/fs/cgroup cgroup2 ro 0 0\n"
      "devpts /dev/pts devpts rw 0 0\n"
      "shm /dev/shm tmpfs rw 0 0\n"
      "tmpfs /run tmpfs rw 0 0\n"
      "tmpfs /run/user/1000 tmpfs rw 0 0\n"
      "tmpfs /tmp tmpfs rw 0 0\n"
      "/dev/sda1 /home ext4 rw 0 0\n"
      "/dev/sdb1 /media/usb\\040stick vfat rw 0 0\n"
      "/dev/sda1 /home ext4 rw 0 0\n"
      "binfmt_misc /proc/sys/fs/binfmt_misc binfmt_misc rw 0 0\n";
  EXPECT_EQ(dialogs::volumesIn(table), (Texts{"/", "/tmp", "/home", "/media/usb stick"}));
}

TEST(FolderListsTest, TheRootIsAlwaysThere) {
  EXPECT_EQ(dialogs::volumesIn(""), Texts{"/"});
  EXPECT_EQ(dialogs::volumesIn("proc /proc proc rw 0 0\n"), Texts{"/"});
  auto mounted = dialogs::mountedVolumes();
  ASSERT_FALSE(mounted.empty());
  EXPECT_EQ(mounted.front(), "/");
}

TEST(FolderListsTest, APathBelongsToTheLongestVolumeHoldingIt) {
  Texts volumes{"/", "/media/usb", "/media/usb/inner"};
  EXPECT_EQ(dialogs::volumeOf("/media/usb/gpx", volumes), "/media/usb");
  EXPECT_EQ(dialogs::volumeOf("/media/usb/inner", volumes), "/media/usb/inner");
  EXPECT_EQ(dialogs::volumeOf("/media/usbstick/gpx", volumes), "/");
  EXPECT_EQ(dialogs::volumeOf("/home", volumes), "/");
}

TEST(FolderListsTest, FolderPathsAreFullAndPlain) {
  TempFolder folder;
  std::filesystem::create_directories(folder / "a/b");
  EXPECT_EQ(dialogs::folderPath(folder.path() + "\\a/./b/../b/"), folder / "a/b");
  EXPECT_EQ(dialogs::folderPath("/"), "/");
  EXPECT_EQ(dialogs::folderPath("."), std::filesystem::current_path().string());
  EXPECT_THROW(dialogs::folderPath(folder / "missing"), platform::files::IoError);
  EXPECT_THROW(dialogs::folderPath(folder.write("file", "x")), platform::files::IoError);
  EXPECT_THROW(dialogs::folderPath(""), platform::files::IoError);
}

TEST(FolderListsTest, EntriesRunFromTheRootToTheFolderThenItsSubfolders) {
  TempFolder folder;
  std::filesystem::create_directories(folder / "x/Zed");
  std::filesystem::create_directories(folder / "x/alpha");
  std::filesystem::create_directories(folder / "x/.cache");
  folder.write("x/file.gpx", "");
  auto list = dialogs::folderEntries(folder / "x");
  Texts expected{"/"};
  std::filesystem::path built = "/";
  for (const auto& step : std::filesystem::path(folder / "x").relative_path()) {
    built /= step;
    expected.push_back(built.string());
  }
  const int current = static_cast<int>(expected.size()) - 1;
  expected.push_back(folder / "x/alpha");
  expected.push_back(folder / "x/Zed");
  EXPECT_EQ(list.entries, expected);
  EXPECT_EQ(list.current, current);

  auto root = dialogs::folderEntries("/");
  EXPECT_EQ(root.current, 0);
  EXPECT_EQ(root.entries.front(), "/");
}

}  // namespace
}  // namespace waymint::testing
