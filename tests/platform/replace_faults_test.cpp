// Replacing a file: in one step, through links, refused, when one of its steps fails and when
// the process is interrupted; what it refuses or fails to do leaves the old file byte for byte
// and no temporary file.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <filesystem>
#include <functional>
#include <set>

#include "platform/files.h"
#include "support/temp_folder.h"

namespace waymint::testing {
namespace {

namespace files = platform::files;
using Names = std::set<std::string>;
using files::Step;

Names namesIn(const std::string& folder) {
  Names names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

// The new file keeps the old one's mode and, where the process may set it (as root), its
// owner; temporary files of the program's pattern older than a day, left by a killed run, go.
TEST(ReplaceWhole, KeepsModeOwnerAndLinksAndSweepsStaleTemporaries) {
  TempFolder folder;
  const std::string path = folder / "a.gpx";
  files::replaceWhole(path, "first");
  EXPECT_EQ(slurp(path), "first");
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  const bool root = ::geteuid() == 0;
  ASSERT_TRUE(!root || ::chown(path.c_str(), 65534, 65534) == 0);
  const std::string stale = folder.write(".waymint-aaaaaa", "left by a killed run");
  folder.write(".waymint-bbbbbb", "being written by another run");
  folder.write(".waymint-mine.gpx", "not of the program's pattern");
  const timespec twoDaysAgo = {std::time(nullptr) - 2 * 86400, 0};
  const timespec times[2] = {twoDaysAgo, twoDaysAgo};
  ASSERT_EQ(::utimensat(AT_FDCWD, stale.c_str(), times, 0), 0);
  const std::string bytes("two\0\r\n\xFF", 7);
  files::replaceWhole(path, bytes);
  EXPECT_EQ(slurp(path), bytes);
  // Through a symbolic link the file behind it is replaced and the link kept.
  const std::string link = folder / "links/x.gpx";
  std::filesystem::create_directory(folder / "links");
  ASSERT_EQ(::symlink(path.c_str(), link.c_str()), 0);
  files::replaceWhole(link, "new");
  EXPECT_EQ(slurp(path), "new");
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(namesIn(folder / "links"), Names{"x.gpx"});
  EXPECT_EQ(namesIn(folder.path()),
            (Names{".waymint-bbbbbb", ".waymint-mine.gpx", "a.gpx", "links"}));
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(info.st_uid, root ? 65534u : ::geteuid());
}

TEST(ReplaceWhole, ARefusedWriteLeavesTheOldFileAndNoTemporaryFile) {
  using Path = const std::string&;
  const std::string notRegular = "not a regular file; it is left as it is";
  // `make` makes what is to be replaced in the folder `in` beside `old`, and gives its path.
  struct Case { std::string name; std::function<std::string(Path in, Path old)> make;
                std::string error; bool refusedForRoot = true; };
  const auto fifo = [](Path in) { return ::mkfifo((in + "/f").c_str(), 0644), in + "/f"; };
  const auto link = [](Path in, const char* to) {
    return ::symlink(to, (in + "/link").c_str()), in + "/link";
  };
  const std::vector<Case> cases = {
      // A file without a write bit and a folder: CreateGpxTest.RunsThatEndEarlyLeaveTheOldFile.
      {"a FIFO", [&](Path in, Path) { return fifo(in); }, notRegular},
      {"a link to a FIFO", [&](Path in, Path) { return fifo(in), link(in, "f"); }, notRegular},
      {"a link to a device", [&](Path in, Path) { return link(in, "/dev/null"); }, notRegular},
      {"a link to nothing", [&](Path in, Path) { return link(in, "gone"); }, notRegular},
      {"a missing folder", [](Path in, Path) { return in + "/none/old.gpx"; },
       "No such file or directory"},
      {"a read-only folder", [](Path in, Path old) { return ::chmod(in.c_str(), 0555), old; },
       "Permission denied", false},
  };
  for (const Case& c : cases) {
    if (!c.refusedForRoot && ::geteuid() == 0) continue;
    SCOPED_TRACE(c.name);
    TempFolder temporary;
    const std::string folder = temporary / "in";
    const std::string path = c.make(folder, temporary.write("in/old.gpx", "old\r\n"));
    const Names before = namesIn(folder);
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

// After the rename the new file is in place: only the folder's flush failed, and says so. (The
// other steps: FileFaultsTest.AStepThatFailsLeavesEveryReplacedFileAsItWas.)
TEST(ReplaceFaults, AFolderFlushThatFailsLeavesTheNewFileAndNoTemporaryFile) {
  TempFolder folder;
  const std::string path = folder.write("a.gpx", "old\r\n");
  files::injectFaults([](Step step) { return step == Step::SyncFolder ? EIO : 0; });
  EXPECT_THROW(files::replaceWhole(path, "new"), files::IoError);
  files::injectFaults({});
  EXPECT_EQ(slurp(path), "new");
  EXPECT_EQ(namesIn(folder.path()), Names{"a.gpx"});
}

// A process interrupted while it writes removes its temporary file before it ends.
TEST(ReplaceFaults, AnInterruptedProcessLeavesNoTemporaryFile) {
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(signal);
    TempFolder folder;
    const std::string path = folder.write("a.gpx", "old\r\n");
    const pid_t child = ::fork();
    if (child == 0) {
      files::injectFaults([signal](Step step) { return step == Step::Sync ? ::raise(signal) : 0; });
      files::replaceWhole(path, std::string(1 << 20, 'x'));
      ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
    EXPECT_EQ(slurp(path), "old\r\n");
    EXPECT_EQ(namesIn(folder.path()), Names{"a.gpx"});
  }
}

}  // namespace
}  // namespace waymint::testing
