#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <new>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/byte_buffer.h"
#include "platform/files.h"
#include "platform/memory_status.h"
#include "support/temp_folder.h"

namespace waymint::testing {
namespace {

namespace files = platform::files;

std::set<std::string> namesIn(const std::string& folder) {
  std::set<std::string> names;
  for (auto& entry : std::filesystem::directory_iterator(folder)) {
    names.insert(entry.path().filename());
  }
  return names;
}

TEST(ReplaceWhole, WritesNewAndOldFilesInOneStepKeepingTheMode) {
  TempFolder folder;
  const std::string path = folder / "a.gpx";
  files::replaceWhole(path, "first");
  EXPECT_EQ(slurp(path), "first");
  ::chmod(path.c_str(), 0640);
  const std::string bytes("two\0\r\n\xFF", 7);
  files::replaceWhole(path, bytes);
  EXPECT_EQ(slurp(path), bytes);
  EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms(0640));
  EXPECT_EQ(namesIn(folder.path()), std::set<std::string>{"a.gpx"});
}

TEST(ReplaceWhole, ARefusedWriteLeavesTheOldFileAndNoTemporaryFile) {
  using Path = const std::string&;
  struct Case {
    std::string name;
    std::function<std::string(Path folder, Path old)> pathToReplace;
    std::string error;
    bool refusedForRoot = true;
  };
  const std::vector<Case> cases = {
      {"a file without a write bit",
       [](Path, Path old) { return ::chmod(old.c_str(), 0444), old; }, "Permission denied"},
      {"a folder", [](Path folder, Path) { return folder; }, "not a regular file; it is left as it is"},
      {"a FIFO", [](Path folder, Path) { return ::mkfifo((folder + "/f").c_str(), 0644), folder + "/f"; },
       "not a regular file; it is left as it is"},
      {"a link to a FIFO", [](Path folder, Path) {
         ::mkfifo((folder + "/g").c_str(), 0644);
         return ::symlink("g", (folder + "/link").c_str()), folder + "/link"; },
       "not a regular file; it is left as it is"},
      {"a link to a device", [](Path folder, Path) {
         return ::symlink("/dev/null", (folder + "/null").c_str()), folder + "/null"; },
       "not a regular file; it is left as it is"},
      {"a link to nothing", [](Path folder, Path) {
         return ::symlink("gone", (folder + "/dangling").c_str()), folder + "/dangling"; },
       "not a regular file; it is left as it is"},
      {"a missing folder", [](Path folder, Path) { return folder + "/none/old.gpx"; },
       "No such file or directory"},
      {"a folder without write permission",
       [](Path folder, Path old) { return ::chmod(folder.c_str(), 0555), old; },
       "Permission denied", false},
  };
  for (const Case& c : cases) {
    if (!c.refusedForRoot && ::geteuid() == 0) continue;
    SCOPED_TRACE(c.name);
    TempFolder temporary;
    const std::string folder = temporary / "in";
    const std::string path = c.pathToReplace(folder, temporary.write("in/old.gpx", "old\r\n"));
    const std::set<std::string> before = namesIn(folder);
    try {
      files::replaceWhole(path, "new");
      ADD_FAILURE() << "replaced";
    } catch (const files::IoError& error) {
      EXPECT_EQ(error.what(), c.error);
    }
    EXPECT_EQ(slurp(folder + "/old.gpx"), "old\r\n");
    EXPECT_EQ(namesIn(folder), before);
  }
}

TEST(ReplaceWhole, ThroughASymbolicLinkReplacesTheTargetAndKeepsTheLink) {
  TempFolder folder;
  const std::string target = folder.write("data/real.gpx", "old");
  const std::string link = folder / "links/x.gpx";
  std::filesystem::create_directory(folder / "links");
  ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
  files::replaceWhole(link, "new");
  EXPECT_EQ(slurp(target), "new");
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(namesIn(folder / "data"), std::set<std::string>{"real.gpx"});
  EXPECT_EQ(namesIn(folder / "links"), std::set<std::string>{"x.gpx"});
}

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
    std::string tail(7, '?');
    tail.resize(reader.readAt(tail.data(), tail.size(), bytes.size() > 7 ? bytes.size() - 7 : 0));
    EXPECT_TRUE(bytes.ends_with(tail));
  }
  EXPECT_THROW(files::readWhole(folder / "missing.osm"), files::IoError);
  EXPECT_THROW(files::Reader(folder.path()), files::IoError);
}

TEST(GrowableBuffer, GrowsUpToItsLimitAndKeepsWhatWasWritten) {
  platform::ByteBuffer buffer = platform::ByteBuffer::growable(size_t{64} << 20);
  std::memcpy(buffer.extend(5), "<osm>", 5);
  char* more = buffer.extend(size_t{40} << 20, false);
  buffer.prepare(5, 1);
  more[0] = '!';
  buffer.truncate(6);
  EXPECT_EQ(buffer.view(), "<osm>!");
  EXPECT_THROW(buffer.extend(size_t{64} << 20), std::bad_alloc);
  EXPECT_EQ(buffer.view(), "<osm>!");
}

TEST(LineReader, SplitsAtLfAndDropsTheCrBeforeIt) {
  using Lines = std::vector<std::string>;
  const std::pair<std::string_view, Lines> cases[] = {
      {"a\nb\n", {"a", "b"}},        {"a\r\nb\r\n", {"a", "b"}},
      {"a\nlast", {"a", "last"}},    {"", {}},
      {"\n\r\n", {"", ""}},          {" c \rd\r\n", {" c \rd"}},
  };
  for (const auto& [text, expected] : cases) {
    files::LineReader reader(text);
    Lines got;
    for (std::string_view line; reader.next(line);) got.emplace_back(line);
    EXPECT_EQ(got, expected) << text;
  }
}

TEST(MemoryStatus, LoadFromMeminfo) {
  const std::pair<std::string_view, std::optional<int>> cases[] = {
      {"MemTotal: 1000 kB\nMemFree: 10 kB\nMemAvailable: 630 kB\n", 37},
      {"MemAvailable:  250 kB\r\nMemTotal:   1000 kB\r\n", 75},
      {"MemTotal: 1000 kB\nMemAvailable: 0 kB", 100},
      {"MemTotal: 1000 kB\n", std::nullopt},
      {"MemTotal: 0 kB\nMemAvailable: 0 kB\n", std::nullopt},
      {"MemTotal: 1000 kB\nMemAvailable: 1001 kB\n", std::nullopt},
      {"MemTotal: lots\nMemAvailable: 5 kB\n", std::nullopt},
      {"MemTotalX: 1000 kB\nMemAvailable: 5 kB\n", std::nullopt},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(platform::memoryLoadFromMeminfo(text), expected) << text;
  }
}

}  // namespace
}  // namespace waymint::testing
