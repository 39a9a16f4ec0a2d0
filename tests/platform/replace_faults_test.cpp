// Replacing a file: in one step, through links, refused, when one of its steps fails and when
// the process is interrupted; what it refuses or fails to do leaves the old file byte for byte
// and no temporary file.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>
#include <set>

#include "platform/files.h"
#include "support/open_descriptors.h"
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
// owner.
TEST(ReplaceWhole, KeepsModeOwnerAndLinks) {
  TempFolder folder;
  const std::string path = folder / "a.gpx";
  files::replaceWhole(path, "first");
  EXPECT_EQ(slurp(path), "first");
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  const bool root = ::geteuid() == 0;
  ASSERT_TRUE(!root || ::chown(path.c_str(), 65534, 65534) == 0);
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
  EXPECT_EQ(namesIn(folder.path()), (Names{"a.gpx", "links"}));
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(info.st_uid, root ? 65534u : ::geteuid());
}

// A run writing into a folder removes what a killed run left there: regular files of the
// program's pattern (".waymint-" and six characters) older than a day. A temporary file being
// written by another run (younger), and anything of another name or kind, stays, however old.
TEST(ReplaceWhole, SweepsOnlyTheProgramsTemporariesOlderThanADay) {
  enum Kind { File, Folder, Link };
  struct Entry { std::string name; Kind kind; int hoursOld; bool swept; };
  const std::vector<Entry> entries = {
      {".waymint-abcdef", File, 48, true}, {".waymint-A1_z9Q", File, 25, true},
      {".waymint-123456", File, 23, false}, {".waymint-fresh1", File, 0, false},
      {".waymint-12345", File, 48, false}, {".waymint-1234567", File, 48, false},
      {"x.waymint-abcdef", File, 48, false}, {".waymintabcdefg", File, 48, false},
      {"waymint-abcdefg", File, 48, false}, {".Waymint-abcdef", File, 48, false},
      {".waymint-abcdef.gpx", File, 48, false}, {".waymint-folder", Folder, 48, false},
      {".waymint-linked", Link, 48, false}};
  TempFolder folder;
  const std::string target = folder.write("target", "an old file behind a link");
  for (const Entry& entry : entries) {
    const std::string path = folder / entry.name;
    if (entry.kind == File) folder.write(entry.name, "left by a run");
    if (entry.kind == Folder) std::filesystem::create_directory(path);
    if (entry.kind == Link) std::filesystem::create_symlink(target, path);
    const timespec then = {std::time(nullptr) - entry.hoursOld * 3600, 0};
    const timespec times[2] = {then, then};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << entry.name;
  }
  const timespec then = {std::time(nullptr) - 48 * 3600, 0};
  const timespec times[2] = {then, then};
  ASSERT_EQ(::utimensat(AT_FDCWD, target.c_str(), times, 0), 0);
  files::replaceWhole(folder / "a.gpx", "new");
  Names kept = {"a.gpx", "target"};
  for (const Entry& entry : entries) {
    if (!entry.swept) kept.insert(entry.name);
  }
  EXPECT_EQ(namesIn(folder.path()), kept);
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
  EXPECT_THROW(files::replaceWhole(path, "new"), files::FolderNotFlushed);
  files::injectFaults({});
  EXPECT_EQ(slurp(path), "new");
  EXPECT_EQ(namesIn(folder.path()), Names{"a.gpx"});
}

// A new folder is flushed in its parent: when that fails, the making fails and says so.
TEST(ReplaceFaults, ANewFolderIsFlushedInItsParent) {
  TempFolder folder;
  files::makeFolder(folder / "made");
  EXPECT_TRUE(std::filesystem::is_directory(folder / "made"));
  files::injectFaults([](Step step) { return step == Step::SyncParent ? EIO : 0; });
  try {
    files::makeFolder(folder / "unflushed");
    ADD_FAILURE() << "not flushed, and not said";
  } catch (const files::IoError& error) {
    EXPECT_EQ(error.message(), folder / "unflushed: Input/output error");
  }
  files::injectFaults({});
  EXPECT_THROW(files::makeFolder(folder / "made"), files::IoError);
}

// Nothing is left open: not by a replacement, whichever of its steps fails, nor by a refusal;
// nor by a folder lock, taken, found held, refused, or moved.
TEST(ReplaceFaults, NoFileDescriptorIsLeftOpen) {
  TempFolder folder;
  const std::string path = folder.write("a.gpx", "old");
  const long descriptors = openDescriptors();
  for (int failing = -1; failing <= static_cast<int>(Step::SyncFolder); ++failing) {
    SCOPED_TRACE(failing);
    files::injectFaults([failing](Step step) { return static_cast<int>(step) == failing ? EIO : 0; });
    try {
      files::replaceWhole(path, "new");
    } catch (const files::IoError&) {
    }
    files::injectFaults({});
    EXPECT_EQ(openDescriptors(), descriptors);
  }
  EXPECT_THROW(files::replaceWhole(folder / "none/a.gpx", "new"), files::IoError);
  EXPECT_THROW(files::replaceWhole(folder.path(), "new"), files::IoError);
  {
    std::optional<files::FolderLock> held = files::FolderLock::take(folder.path());
    EXPECT_FALSE(files::FolderLock::tryTake(folder.path()));
    const files::FolderLock moved(std::move(*held));
    held.reset();
    EXPECT_FALSE(files::FolderLock::tryTake(folder.path()));  // the moved lock holds it
  }
  EXPECT_TRUE(files::FolderLock::tryTake(folder.path()));
  for (const std::string& none : {folder / "none", path}) {
    EXPECT_THROW(files::FolderLock::take(none), files::IoError);
    EXPECT_THROW(files::FolderLock::tryTake(none), files::IoError);
  }
  EXPECT_EQ(openDescriptors(), descriptors);
}

// A process interrupted while it writes removes its temporary file before it ends; so does one
// that goes beyond its file-size limit (the system sends it SIGXFSZ itself: "limit").
TEST(ReplaceFaults, AnInterruptedProcessLeavesNoTemporaryFile) {
  constexpr int limit = 0;
  for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGXFSZ, limit}) {
    SCOPED_TRACE(signal);
    TempFolder folder;
    const std::string path = folder.write("a.gpx", "old\r\n");
    const pid_t child = ::fork();
    if (child == 0) {
      ::prctl(PR_SET_DUMPABLE, 0);  // SIGQUIT and SIGXFSZ would leave a core dump
      if (signal == limit) {
        const rlimit small{64 << 10, RLIM_INFINITY};
        ::setrlimit(RLIMIT_FSIZE, &small);
      } else {
        files::injectFaults([signal](Step step) { return step == Step::Sync ? ::raise(signal) : 0; });
      }
      files::replaceWhole(path, std::string(1 << 20, 'x'));
      ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == (signal == limit ? SIGXFSZ : signal))
        << status;
    EXPECT_EQ(slurp(path), "old\r\n");
    EXPECT_EQ(namesIn(folder.path()), Names{"a.gpx"});
  }
}

}  // namespace
}  // namespace waymint::testing
