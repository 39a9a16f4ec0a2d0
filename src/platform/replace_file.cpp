// Replacing a file in one step, making a folder that lasts, and the folder lock that runs
// take while they do it.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>
#include <optional>
#include <string>

#include "platform/files.h"

namespace waymint::platform::files {
namespace {

constexpr std::string_view temporaryPrefix = ".waymint-";
constexpr size_t temporaryLength = temporaryPrefix.size() + 6;  // mkstemp's six characters
constexpr std::time_t staleAfter = 24 * 60 * 60;

[[noreturn]] void fail(const std::string& path, int error) {
  throw IoError(path, std::strerror(error));
}

// --- the steps, each of which a test may make fail ---

std::mutex injectorMutex;
std::function<int(Step)> injector;

int injected(Step step) {
  std::lock_guard lock(injectorMutex);
  return injector ? injector(step) : 0;
}

// Runs one step of a replacement; a test may make it fail before it happens.
template <typename Call>
void perform(Step step, const std::string& path, Call call) {
  if (const int error = injected(step)) fail(path, error);
  if (!call()) fail(path, errno);
}

// --- temporary files removed when the process is interrupted ---

// The temporary files being written, kept where a signal handler may read them: a slot is
// claimed by its flag, then its path is written; the handler reads only claimed slots.
struct TemporarySlot {
  std::atomic<bool> used{false};
  std::atomic<bool> ready{false};
  char path[PATH_MAX];
};
TemporarySlot temporaries[8];
// What ends a process while it writes: the user (SIGINT, SIGQUIT), the system or another
// program (SIGTERM, SIGHUP), and a file-size limit the write went beyond (SIGXFSZ).
constexpr int interruptions[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGXFSZ};
constexpr int interruptionCount = sizeof interruptions / sizeof interruptions[0];
struct sigaction previous[interruptionCount];

void onInterruption(int signal) {
  for (TemporarySlot& slot : temporaries) {
    if (slot.ready) ::unlink(slot.path);
  }
  for (int i = 0; i < interruptionCount; ++i) {
    if (interruptions[i] == signal) ::sigaction(signal, &previous[i], nullptr);
  }
  ::raise(signal);
}

void watchInterruptions() {
  static std::once_flag installed;
  std::call_once(installed, [] {
    for (int i = 0; i < interruptionCount; ++i) {
      struct sigaction action {};
      action.sa_handler = onInterruption;
      sigemptyset(&action.sa_mask);
      ::sigaction(interruptions[i], &action, &previous[i]);
      // A signal the program was told to ignore stays ignored.
      if (previous[i].sa_handler == SIG_IGN) ::sigaction(interruptions[i], &previous[i], nullptr);
    }
  });
}

// A temporary file for as long as it lives: removed by an interruption meanwhile, and by
// the destructor unless it was renamed into place.
class Temporary {
 public:
  explicit Temporary(const std::string& folder) : m_path(folder + separator) {
    m_path += temporaryPrefix;
    m_path += "XXXXXX";
    watchInterruptions();
    for (TemporarySlot& slot : temporaries) {
      bool free = false;
      if (m_path.size() < PATH_MAX && slot.used.compare_exchange_strong(free, true)) {
        m_slot = &slot;
        break;
      }
    }
    // The file is made with the signals held, so that it is known before it exists.
    sigset_t all, before;
    sigfillset(&all);
    ::pthread_sigmask(SIG_BLOCK, &all, &before);
    m_fd = ::mkstemp(m_path.data());
    const int error = errno;
    if (m_fd >= 0 && m_slot) {
      std::memcpy(m_slot->path, m_path.c_str(), m_path.size() + 1);
      m_slot->ready = true;
    }
    ::pthread_sigmask(SIG_SETMASK, &before, nullptr);
    errno = error;
  }
  ~Temporary() {
    if (m_fd >= 0) ::close(m_fd);
    if (!m_renamed) ::unlink(m_path.c_str());
    if (m_slot) {
      m_slot->ready = false;
      m_slot->used = false;
    }
  }
  Temporary(const Temporary&) = delete;
  Temporary& operator=(const Temporary&) = delete;

  int fd() const { return m_fd; }
  const std::string& path() const { return m_path; }
  int close() { return ::close(std::exchange(m_fd, -1)); }
  void renamed() {
    m_renamed = true;
    if (m_slot) m_slot->ready = false;
  }

 private:
  std::string m_path;
  int m_fd = -1;
  TemporarySlot* m_slot = nullptr;
  bool m_renamed = false;
};

// Removes the temporary files of the program's pattern that a killed process left in
// `folder` more than a day ago.
void removeStaleTemporaries(const std::string& folder) {
  DIR* entries = ::opendir(folder.c_str());
  if (!entries) return;
  const std::time_t now = std::time(nullptr);
  while (const dirent* entry = ::readdir(entries)) {
    const std::string_view name = entry->d_name;
    if (name.size() != temporaryLength || name.substr(0, temporaryPrefix.size()) != temporaryPrefix) {
      continue;
    }
    const std::string path = folder + separator + std::string(name);
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
        now - info.st_mtime > staleAfter) {
      ::unlink(path.c_str());
    }
  }
  ::closedir(entries);
}

// --- what is replaced ---

std::string folderOf(const std::string& path) {
  auto cut = path.find_last_of(separator);
  if (cut == std::string::npos) return ".";
  if (cut == 0) return std::string(1, separator);
  return path.substr(0, cut);
}

// The file to replace: the path itself, or the regular file at the end of its links.
std::string replaced(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) {
    if (errno == ENOENT) return path;  // a new file
    fail(path, errno);
  }
  if (S_ISREG(info.st_mode)) return path;
  if (S_ISLNK(info.st_mode)) {
    if (char* real = ::realpath(path.c_str(), nullptr)) {
      std::string target(real);
      std::free(real);
      if (::stat(target.c_str(), &info) == 0 && S_ISREG(info.st_mode)) return target;
    }
  }
  throw IoError(path, "not a regular file; it is left as it is");
}

void writeAll(int fd, std::string_view bytes, const std::string& path) {
  while (!bytes.empty()) {
    ssize_t written = -1;
    perform(Step::Write, path, [&] {
      while ((written = ::write(fd, bytes.data(), bytes.size())) < 0 && errno == EINTR) {
      }
      return written >= 0;
    });
    bytes.remove_prefix(static_cast<size_t>(written));
  }
}

// Puts the folder's entries on disk; false, with errno set, when that fails.
bool flushFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  const bool synced = fd >= 0 && ::fsync(fd) == 0;
  const int error = errno;
  if (fd >= 0) ::close(fd);
  errno = error;
  return synced;
}

mode_t currentUmask() {
  mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

}  // namespace

void injectFaults(std::function<int(Step)> faults) {
  std::lock_guard lock(injectorMutex);
  injector = std::move(faults);
}

void makeFolder(std::string_view path) {
  const std::string name = native(path);
  if (::mkdir(name.c_str(), 0777) != 0) fail(name, errno);
  perform(Step::SyncParent, name, [&] { return flushFolder(folderOf(name)); });
}

void replaceWhole(std::string_view path, std::string_view bytes) {
  const std::string name = replaced(native(path));
  struct stat old {};
  const bool hadOld = ::stat(name.c_str(), &old) == 0;
  // A file marked read-only is kept, for every user alike.
  if (hadOld && (old.st_mode & 0222) == 0) fail(name, EACCES);
  const std::string folder = folderOf(name);
  removeStaleTemporaries(folder);

  std::optional<Temporary> temporary;
  perform(Step::Open, name, [&] { return temporary.emplace(folder).fd() >= 0; });
  writeAll(temporary->fd(), bytes, name);
  const mode_t mode = hadOld ? (old.st_mode & 07777) : static_cast<mode_t>(0666 & ~currentUmask());
  perform(Step::Chmod, name, [&] { return ::fchmod(temporary->fd(), mode) == 0; });
  // The owner follows where the process may set it; where it may not, the file is the user's.
  if (hadOld && ::fchown(temporary->fd(), old.st_uid, old.st_gid) != 0 && errno != EPERM) {
    fail(name, errno);
  }
  perform(Step::Sync, name, [&] { return ::fsync(temporary->fd()) == 0; });
  perform(Step::Close, name, [&] { return temporary->close() == 0; });
  perform(Step::Rename, name, [&] { return ::rename(temporary->path().c_str(), name.c_str()) == 0; });
  temporary->renamed();
  // The rename is on disk only once the folder is; a failure now leaves the new file in place.
  try {
    perform(Step::SyncFolder, name, [&] { return flushFolder(folder); });
  } catch (const IoError& error) {
    throw FolderNotFlushed(error.path(), error.what());
  }
}

FolderLock FolderLock::take(std::string_view folder) {
  const std::string name = native(folder);
  const int fd = ::open(name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) fail(name, errno);
  while (::flock(fd, LOCK_EX) != 0) {
    if (errno == EINTR) continue;
    const int error = errno;
    ::close(fd);
    fail(name, error);
  }
  return FolderLock(fd);
}

std::optional<FolderLock> FolderLock::tryTake(std::string_view folder) {
  const std::string name = native(folder);
  const int fd = ::open(name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) fail(name, errno);
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return FolderLock(fd);
  const int error = errno;
  ::close(fd);
  if (error == EWOULDBLOCK) return std::nullopt;
  fail(name, error);
}

namespace {

// The folder whose lock guards `file`: that of the file at the end of its links. A link that
// leads nowhere guards its own folder (nothing replaces such a file).
std::string guardingFolder(const std::string& file) {
  struct stat info {};
  if (::lstat(file.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
    if (char* real = ::realpath(file.c_str(), nullptr)) {
      std::string target(real);
      std::free(real);
      return folderOf(target);
    }
  }
  return folderOf(file);
}

}  // namespace

bool FolderLock::guards(const std::string& file) const {
  struct stat locked {}, now {};
  if (::fstat(m_fd, &locked) != 0 || ::stat(guardingFolder(file).c_str(), &now) != 0) return false;
  return locked.st_dev == now.st_dev && locked.st_ino == now.st_ino;
}

FolderLock FolderLock::takeFor(std::string_view file) {
  const std::string name = native(file);
  for (;;) {
    FolderLock lock = take(guardingFolder(name));
    if (lock.guards(name)) return lock;
  }
}

std::optional<FolderLock> FolderLock::tryTakeFor(std::string_view file) {
  const std::string name = native(file);
  for (;;) {
    std::optional<FolderLock> lock = tryTake(guardingFolder(name));
    if (!lock || lock->guards(name)) return lock;
  }
}

FolderLock::~FolderLock() {
  if (m_fd >= 0) ::close(m_fd);  // closing the last descriptor releases the lock
}

}  // namespace waymint::platform::files
