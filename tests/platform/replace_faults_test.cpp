// Replacing a file when one of its steps fails, when the process is interrupted, and what it
// keeps of the old file: the old file stays byte for byte and no temporary file is left.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <filesystem>
#include <set>
#include <string>
#include <utility>

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

const std::pair<Step, const char*> steps[] = {
    {Step::Open, "open"}, {Step::Write, "write"}, {Step::Chmod, "chmod"}, {Step::Sync, "sync"},
    {Step::Close, "close"}, {Step::Rename, "rename"}, {Step::SyncFolder, "sync folder"}};

TEST(ReplaceFaults, EveryStepThatFailsLeavesTheOldFileAndNoTemporaryFile) {
  for (const auto& [failing, name] : steps) {
    SCOPED_TRACE(name);
    TempFolder folder;
    const std::string path = folder.write("a.gpx", "old\r\n");
    files::injectFaults([failing = failing](Step step) { return step == failing ? EIO : 0; });
    try {
      files::replaceWhole(path, "new");
      ADD_FAILURE() << "replaced";
    } catch (const files::IoError& error) {
      EXPECT_EQ(error.message(), path + ": Input/output error");
    }
    files::injectFaults({});
    // After the rename the new file is in place; only the folder's flush failed, and said so.
    EXPECT_EQ(slurp(path), failing == Step::SyncFolder ? "new" : "old\r\n");
    EXPECT_EQ(namesIn(folder.path()), Names{"a.gpx"});
  }
}

// A process interrupted while it writes removes its temporary file before it ends.
TEST(ReplaceFaults, AnInterruptedProcessLeavesNoTemporaryFile) {
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(signal);
    TempFolder folder;
    const std::string path = folder.write("a.gpx", "old\r\n");
    const pid_t child = ::fork();
    if (child == 0) {
      files::injectFaults([signal](Step step) {
        if (step == Step::Sync) ::raise(signal);
        return 0;
      });
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

TEST(ReplaceFaults, TemporaryFilesOlderThanADayGoAndTheOwnerStays) {
  TempFolder folder;
  const std::string stale = folder.write(".waymint-aaaaaa", "left by a killed run");
  folder.write(".waymint-bbbbbb", "being written by another run");
  folder.write(".waymint-mine.gpx", "not of the program's pattern");
  const timespec twoDaysAgo[2] = {{std::time(nullptr) - 2 * 86400, 0}, {std::time(nullptr) - 2 * 86400, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, stale.c_str(), twoDaysAgo, 0), 0);
  const std::string path = folder.write("a.gpx", "old");
  // Where the process may set the owner (as root), the new file keeps the old one's.
  const bool root = ::geteuid() == 0;
  if (root) {
    ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
  }
  files::replaceWhole(path, "new");
  EXPECT_EQ(namesIn(folder.path()), (Names{".waymint-bbbbbb", ".waymint-mine.gpx", "a.gpx"}));
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_uid, root ? 65534u : ::geteuid());
}

TEST(FolderLock, OneHolderAtATime) {
  TempFolder folder;
  std::optional<files::FolderLock> first = files::FolderLock::tryTake(folder.path());
  ASSERT_TRUE(first.has_value());
  EXPECT_FALSE(files::FolderLock::tryTake(folder.path()).has_value());
  first.reset();
  EXPECT_TRUE(files::FolderLock::tryTake(folder.path()).has_value());
  EXPECT_THROW(files::FolderLock::tryTake(folder / "missing"), files::IoError);
}

}  // namespace
}  // namespace waymint::testing
