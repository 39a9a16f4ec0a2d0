#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace waymint::platform::files {

// The platform's own path separator. Where it is "\", the operations here take "/" for one
// too; where it is "/", a "\" is part of a name, as the system has it.
#ifdef _WIN32
inline constexpr char separator = '\\';
#else
inline constexpr char separator = '/';
#endif

// A failed file operation: what() is the platform's description of the failure
// (for example "No such file or directory"), path() the file it concerned.
class IoError : public std::runtime_error {
 public:
  IoError(std::string path, const std::string& description)
      : std::runtime_error(description), m_path(std::move(path)) {}
  const std::string& path() const { return m_path; }
  // What failed and why, as one line: path + ": " + description.
  std::string message() const { return m_path + ": " + what(); }

 private:
  std::string m_path;
};

// Replacing a file failed after the new file had taken the old one's place: only the flush of
// its folder failed, so the new file is there but may not outlive a power loss.
class FolderNotFlushed : public IoError {
 public:
  using IoError::IoError;
};

// The path with its separators written as the platform's: where that is "\", every "/" turns
// into "\"; elsewhere the path stays as it is.
std::string native(std::string_view path);

// Directory lookups: an ordinary file only; a file or a folder; a folder only.
bool isOrdinaryFile(std::string_view path);
bool exists(std::string_view path);
// An ordinary file the user may start as a program (where files carry an execute permission,
// one the user has).
bool isExecutableFile(std::string_view path);
bool isFolder(std::string_view path);
// Why no file can be made in the folder `path`, in the system's words ("Permission denied",
// "Read-only file system", "No such file or directory"); nothing when one can.
std::optional<std::string> whyNotWritable(std::string_view path);

// The bytes the user may still write on the file system that holds `path`; nothing when the
// system cannot tell (the path is gone).
std::optional<std::uint64_t> freeBytes(std::string_view path);
// The names of the folders in the folder `path` (not "." or "..", hidden ones included), in
// the order the system lists them; none when it cannot be read.
std::vector<std::string> subfolderNames(std::string_view path);

// The following throw IoError.
std::uint64_t length(std::string_view path);
// One level; the parent must exist. The new folder is flushed in its parent, as a replaced
// file is in its folder, so that a power loss does not take away the folder with the file.
void makeFolder(std::string_view path);
// Makes `path` and every missing folder above it, each for the user alone (mode 0700), as a
// folder for the user's settings is made.
void makePrivateFolders(std::string_view path);
void removeFile(std::string_view path);
// Removes the folder `path` when it is empty; false, and nothing done, when it is not, or
// cannot be removed.
bool removeEmptyFolder(std::string_view path) noexcept;
// `room` more bytes are kept free after the text, for what the caller will append. Throws
// std::bad_alloc when the text does not fit in memory.
std::string readWhole(std::string_view path, size_t room = 0);
// For tests that make a whole-file read fail: before each, the injector gives an error number
// to fail the read of `path` with, or 0; ENOMEM fails it as running out of memory does.
void injectReadFaults(std::function<int(const std::string& path)> injector);
// A file opened for reading in pieces.
class Reader {
 public:
  explicit Reader(std::string_view path);
  Reader(const Reader&) = delete;
  Reader& operator=(const Reader&) = delete;
  ~Reader();

  // Its length when it was opened, and now.
  std::uint64_t length() const { return m_length; }
  std::uint64_t currentLength() const;
  // Reads up to `size` bytes into `into`; 0 at the end of the file.
  size_t read(char* into, size_t size);
  // The same from `offset` on, leaving the position of read() alone: several threads may read
  // different pieces at once.
  size_t readAt(char* into, size_t size, std::uint64_t offset);
  const std::string& path() const { return m_path; }

 private:
  std::string m_path;
  int m_fd = -1;
  std::uint64_t m_length = 0;
};

// Replaces the file at `path` by `bytes` in one step: the bytes are written completely to a
// temporary file beside it (".waymint-" and six characters), flushed, and renamed over the old
// one, and the folder is flushed too, so that a power loss keeps one whole file or the other.
// The new file keeps the old one's permissions and, where the process may set them, its owner.
// A path through symbolic links replaces the regular file at their end and keeps the links;
// anything else that is not a regular file (a folder, a device, a FIFO, a link to nothing) is
// refused and left alone, as is a file marked read-only. On any failure but the folder's flush
// (FolderNotFlushed) the old file stays byte for byte as it was; no temporary file is left,
// also when the process is interrupted (SIGINT, SIGTERM, SIGHUP, SIGQUIT) or goes beyond its
// file-size limit (SIGXFSZ) while writing; temporary files of the program's pattern older than
// a day, left by a process that was killed, are removed from the folder.
void replaceWhole(std::string_view path, std::string_view bytes);

// The steps of replaceWhole and makeFolder, for tests that make one of them fail: before each, the injector
// gives an error number to fail it with, or 0.
// SyncParent is the flush of a folder made by makeFolder in its parent.
enum class Step { Open, Write, Chmod, Sync, Close, Rename, SyncFolder, SyncParent };
void injectFaults(std::function<int(Step)> injector);

// An advisory lock on a folder, held for its lifetime: runs that change the files of one
// folder take it in turn. Other programs are not kept out.
class FolderLock {
 public:
  // Waits until the lock is free.
  static FolderLock take(std::string_view folder);
  // Nothing when another holds it.
  static std::optional<FolderLock> tryTake(std::string_view folder);
  // The lock that every writer of `file` takes: that of the folder that really holds it, the
  // folder of the regular file at the end of its links when `file` is a link (a link to
  // a folder anywhere on the way is followed by the lock itself), so that writers through
  // different links to one file take turns too. A link turned to another file while this one
  // waited is followed again; a folder that went meanwhile fails as a missing folder does.
  static FolderLock takeFor(std::string_view file);
  static std::optional<FolderLock> tryTakeFor(std::string_view file);
  FolderLock(FolderLock&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
  FolderLock& operator=(FolderLock&&) = delete;
  FolderLock(const FolderLock&) = delete;
  ~FolderLock();

 private:
  explicit FolderLock(int fd) : m_fd(fd) {}
  // Whether the folder locked is (still) the one that holds `file`.
  bool guards(const std::string& file) const;
  int m_fd;
};

// Sequential reading of text lines from bytes in memory; a line ends at LF, and a CR
// directly before the LF is not part of it.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : m_rest(text) {}
  // The next line, or false at the end of the text.
  bool next(std::string_view& line);

 private:
  std::string_view m_rest;
  bool m_done = false;
};

}  // namespace waymint::platform::files
