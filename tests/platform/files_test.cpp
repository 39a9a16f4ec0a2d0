#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/files.h"
#include "platform/memory_status.h"
#include "support/temp_folder.h"

namespace waymint::testing {
namespace {

namespace files = platform::files;

size_t entriesIn(const std::string& folder) {
  size_t count = 0;
  for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator(folder)) ++count;
  return count;
}

TEST(Files, LookupsTellFilesFromFolders) {
  TempFolder folder;
  std::string file = folder.write("sub/x.gpx", "abc");
  EXPECT_TRUE(files::isOrdinaryFile(file));
  EXPECT_TRUE(files::isOrdinaryFile(folder.path() + "\\sub\\x.gpx"));
  EXPECT_FALSE(files::isOrdinaryFile(folder / "sub"));
  EXPECT_TRUE(files::exists(folder / "sub"));
  EXPECT_TRUE(files::isFolder(folder / "sub"));
  EXPECT_FALSE(files::exists(folder / "none"));
  EXPECT_FALSE(files::exists(""));
  EXPECT_EQ(files::length(file), 3u);
  EXPECT_THROW(files::length(folder / "none"), files::IoError);
}

TEST(Files, ReplaceWholeWritesInOneStepAndKeepsTheOldFileOnFailure) {
  TempFolder folder;
  std::string path = folder / "a.gpx";
  files::replaceWhole(path, "first");
  EXPECT_EQ(slurp(path), "first");
  ::chmod(path.c_str(), 0640);
  files::replaceWhole(path, std::string("second\0", 7));
  EXPECT_EQ(slurp(path), std::string("second\0", 7));
  struct stat info {};
  ::stat(path.c_str(), &info);
  EXPECT_EQ(info.st_mode & 0777, 0640u);

  ::chmod(path.c_str(), 0444);
  try {
    files::replaceWhole(path, "third");
    ADD_FAILURE() << "a read-only file was replaced";
  } catch (const files::IoError& error) {
    EXPECT_STREQ(error.what(), "Permission denied");
  }
  EXPECT_EQ(slurp(path), std::string("second\0", 7));
  EXPECT_THROW(files::replaceWhole(folder / "missing/a.gpx", "x"), files::IoError);
  EXPECT_THROW(files::replaceWhole(folder.path(), "x"), files::IoError);
  EXPECT_EQ(entriesIn(folder.path()), 1u);  // no temporary file left beside it
}

TEST(Files, ReplaceWholeKeepsASymbolicLinkAndWritesTheFileBehindIt) {
  TempFolder folder;
  std::string real = folder.write("data/real.gpx", "old");
  std::string link = folder / "link.gpx";
  ASSERT_EQ(::symlink(real.c_str(), link.c_str()), 0);
  files::replaceWhole(link, "new");
  EXPECT_EQ(slurp(real), "new");
  struct stat info {};
  ASSERT_EQ(::lstat(link.c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
}

TEST(Files, ReadWholeGivesExactBytesOrThePlatformsText) {
  TempFolder folder;
  std::string bytes(70000, '\0');
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
  std::string path = folder.write("big.osm", bytes);
  EXPECT_EQ(files::readWhole(path), bytes);
  EXPECT_EQ(files::readWhole(folder.write("empty", "")), "");
  try {
    files::readWhole(folder / "missing.osm");
    ADD_FAILURE();
  } catch (const files::IoError& error) {
    EXPECT_STREQ(error.what(), "No such file or directory");
    EXPECT_EQ(error.path(), folder / "missing.osm");
  }
  EXPECT_THROW(files::readWhole(folder.path()), files::IoError);
}

TEST(Files, LineReaderSplitsAtLfAndDropsTheCrBeforeIt) {
  files::LineReader lines("a\r\nb\n\r\n c \rd\r\nlast");
  std::vector<std::string> got;
  for (std::string_view line; lines.next(line);) got.emplace_back(line);
  EXPECT_EQ(got, (std::vector<std::string>{"a", "b", "", " c \rd", "last"}));
  files::LineReader ending("x\r\n");
  std::string_view line;
  EXPECT_TRUE(ending.next(line));
  EXPECT_FALSE(ending.next(line));
}

TEST(MemoryStatus, LoadFromMeminfo) {
  EXPECT_EQ(platform::memoryLoadFromMeminfo("MemTotal: 1000 kB\nMemFree: 10 kB\nMemAvailable: 950 kB\n"), 5);
  EXPECT_EQ(platform::memoryLoadFromMeminfo("MemTotal: 1000 kB\nMemAvailable: 630 kB\n"), 37);
  EXPECT_FALSE(platform::memoryLoadFromMeminfo("MemTotal: 1000 kB\n").has_value());
  auto live = platform::physicalMemoryLoadPercent();
  ASSERT_TRUE(live.has_value());
  EXPECT_GE(*live, 0);
  EXPECT_LE(*live, 100);
}

}  // namespace
}  // namespace waymint::testing
