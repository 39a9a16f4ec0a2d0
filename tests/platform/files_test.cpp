#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <optional>
#include <thread>

#include "platform/files.h"
#include "platform/memory_status.h"
#include "support/case_table.h"
#include "support/locks.h"
#include "support/open_descriptors.h"
#include "support/temp_folder.h"

namespace waymint::testing {
namespace {

namespace files = platform::files;

TEST(ReadingFiles, WholeAndInPiecesGiveTheExactBytes) {
  TempFolder folder;
  std::string big((size_t{9} << 20) + 12345, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>((i * 7919) >> 3);
  for (const std::string& bytes : {big, std::string("a\0\r\n\xFF", 5), std::string()}) {
    SCOPED_TRACE(bytes.size());
    const std::string path = folder.write("f.osm", bytes);
    EXPECT_TRUE(files::readWhole(path) == bytes);
    files::Reader reader(path);
    EXPECT_EQ(reader.length(), bytes.size());
    const size_t from = bytes.size() > 7 ? bytes.size() - 7 : 0;
    std::string tail(7, '?');
    tail.resize(reader.readAt(tail.data(), tail.size(), from));
    EXPECT_EQ(tail, bytes.substr(from));
  }
  EXPECT_THROW(files::readWhole(folder / "missing.osm"), files::IoError);
  EXPECT_THROW(files::Reader(folder.path()), files::IoError);
}

// The lock for a file is that of the folder that really holds it: a lock held there keeps out
// writers through a link to the file from another folder, and through a folder that is a link.
TEST(FolderLock, ForAFileIsTheLockOfTheFolderThatHoldsIt) {
  TempFolder folder;
  const long descriptors = openDescriptors();
  folder.write("real/cafe.gpx", "<gpx/>");
  std::filesystem::create_directories(folder / "elsewhere");
  std::filesystem::create_symlink(folder / "real/cafe.gpx", folder / "elsewhere/cafe.gpx");
  std::filesystem::create_symlink("real", folder / "linked");
  std::filesystem::create_symlink("gone.gpx", folder / "elsewhere/dangling.gpx");
  const std::pair<std::string, std::string> held[] = {
      {"real/cafe.gpx", "real"},         {"elsewhere/cafe.gpx", "real"},
      {"linked/cafe.gpx", "real"},       {"linked/new.gpx", "real"},
      {"elsewhere/new.gpx", "elsewhere"}, {"elsewhere/dangling.gpx", "elsewhere"},
  };
  for (const auto& [file, holder] : held) {
    SCOPED_TRACE(file);
    {
      const files::FolderLock lock = files::FolderLock::take(folder / holder);
      EXPECT_FALSE(files::FolderLock::tryTakeFor(folder / file));
    }
    EXPECT_TRUE(files::FolderLock::tryTakeFor(folder / file));
  }
  EXPECT_THROW(files::FolderLock::tryTakeFor(folder / "none/cafe.gpx"), files::IoError);
  EXPECT_EQ(openDescriptors(), descriptors);
}

// A link turned to a file in another folder while a writer waits: the writer follows it and
// holds the lock of the new folder, not of the one it waited for.
TEST(FolderLock, ForAFileFollowsALinkTurnedWhileItWaits) {
  TempFolder folder;
  folder.write("one/cafe.gpx", "<gpx/>");
  folder.write("two/cafe.gpx", "<gpx/>");
  const std::string link = folder / "cafe.gpx";
  std::filesystem::create_symlink(folder / "one/cafe.gpx", link);
  std::optional<files::FolderLock> first = files::FolderLock::take(folder / "one");
  std::atomic<bool> taken = false;
  std::optional<files::FolderLock> waited;
  std::thread writer([&] { waited.emplace(files::FolderLock::takeFor(link)), taken = true; });
  pollUntil([&] { return waitingForLock(folder / "one") == 1; }, [&] { return taken.load(); });
  ASSERT_FALSE(taken);
  std::filesystem::create_symlink(folder / "two/cafe.gpx", folder / "turned");
  std::filesystem::rename(folder / "turned", link);
  first.reset();
  writer.join();
  EXPECT_TRUE(files::FolderLock::tryTake(folder / "one"));
  EXPECT_FALSE(files::FolderLock::tryTake(folder / "two"));
}

TEST(LineReader, SplitsAtLfAndDropsTheCrBeforeIt) {
  for (const auto& c : caseTable("platform/data/line_reader.tsv", 2)) {
    files::LineReader reader(c[0]);
    std::string lines;
    for (std::string_view line; reader.next(line);) lines += "<" + std::string(line) + ">";
    EXPECT_EQ(lines, c[1]) << c[0];
  }
}

TEST(MemoryStatus, LoadFromMeminfo) {
  for (const auto& c : caseTable("platform/data/meminfo_loads.tsv", 2)) {
    const std::optional<int> load = platform::memoryLoadFromMeminfo(c[0]);
    EXPECT_EQ(load ? std::to_string(*load) : "<none>", c[1]) << c[0];
  }
}

TEST(MemoryStatus, TheProgramsResidentMemoryFromStatm) {
  EXPECT_EQ(platform::residentFromStatm("12345 678 90 1 0 2000 0\n", 4096), std::uint64_t{678} * 4096);
  EXPECT_EQ(platform::residentFromStatm("12345\n", 4096), std::nullopt);
  EXPECT_EQ(platform::residentFromStatm("", 4096), std::nullopt);
  EXPECT_GT(platform::residentMemory().value_or(0), std::uint64_t{1} << 20);  // this test, running
}

}  // namespace
}  // namespace waymint::testing
