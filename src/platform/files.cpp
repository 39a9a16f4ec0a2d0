#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <string>

namespace waymint::platform::files {
namespace {

std::string describe(int error) { return std::strerror(error); }

[[noreturn]] void fail(const std::string& path, int error) { throw IoError(path, describe(error)); }

bool statOf(const std::string& path, struct stat& info) {
  return !path.empty() && ::stat(path.c_str(), &info) == 0;
}

int openForReading(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) fail(path, errno);
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    int error = errno;
    ::close(fd);
    fail(path, error);
  }
  if (S_ISDIR(info.st_mode)) {
    ::close(fd);
    fail(path, EISDIR);
  }
  return fd;
}

std::mutex readInjectorMutex;
std::function<int(const std::string&)> readInjector;

int injectedReadFault(const std::string& path) {
  std::lock_guard lock(readInjectorMutex);
  return readInjector ? readInjector(path) : 0;
}

}  // namespace

void injectReadFaults(std::function<int(const std::string& path)> injector) {
  std::lock_guard lock(readInjectorMutex);
  readInjector = std::move(injector);
}

std::string native(std::string_view path) {
  std::string result(path);
  // Where "\" is the separator, "/" is one too; where "/" is, "\" is a character of a name.
  if (separator == '\\') std::replace(result.begin(), result.end(), '/', separator);
  return result;
}

bool isOrdinaryFile(std::string_view path) {
  struct stat info {};
  return statOf(native(path), info) && S_ISREG(info.st_mode);
}

bool isExecutableFile(std::string_view path) {
  const std::string name = native(path);
  struct stat info {};
  if (!statOf(name, info) || !S_ISREG(info.st_mode)) return false;
#ifdef _WIN32
  return true;
#else
  return ::access(name.c_str(), X_OK) == 0;
#endif
}

bool exists(std::string_view path) {
  struct stat info {};
  return statOf(native(path), info) && (S_ISREG(info.st_mode) || S_ISDIR(info.st_mode));
}

bool isFolder(std::string_view path) {
  struct stat info {};
  return statOf(native(path), info) && S_ISDIR(info.st_mode);
}

std::optional<std::string> whyNotWritable(std::string_view path) {
  const std::string name = native(path);
  struct stat info {};
  if (::stat(name.c_str(), &info) != 0) return describe(errno);
  if (!S_ISDIR(info.st_mode)) return describe(ENOTDIR);
  // As the effective user: whether a file can be made and found in it.
  if (::faccessat(AT_FDCWD, name.c_str(), W_OK | X_OK, AT_EACCESS) != 0) return describe(errno);
  return std::nullopt;
}

std::optional<std::uint64_t> freeBytes(std::string_view path) {
  const std::string name = native(path);
  struct statvfs info {};
  if (::statvfs(name.c_str(), &info) != 0) return std::nullopt;
  return static_cast<std::uint64_t>(info.f_bavail) * info.f_frsize;
}

std::vector<std::string> subfolderNames(std::string_view path) {
  const std::string name = native(path);
  std::vector<std::string> names;
  DIR* folder = ::opendir(name.c_str());
  if (!folder) return names;
  while (const dirent* entry = ::readdir(folder)) {
    const std::string_view entryName = entry->d_name;
    if (entryName == "." || entryName == "..") continue;
    if (isFolder(name + separator + std::string(entryName))) names.emplace_back(entryName);
  }
  ::closedir(folder);
  return names;
}

std::uint64_t length(std::string_view path) {
  auto name = native(path);
  struct stat info {};
  if (::stat(name.c_str(), &info) != 0) fail(name, errno);
  return static_cast<std::uint64_t>(info.st_size);
}

void makePrivateFolders(std::string_view path) {
  const std::string name = native(path);
  for (size_t cut = name.find(separator, 1);; cut = name.find(separator, cut + 1)) {
    const std::string level = name.substr(0, cut);
    struct stat info {};
    if (statOf(level, info)) {
      if (!S_ISDIR(info.st_mode)) fail(level, ENOTDIR);
    } else if (::mkdir(level.c_str(), 0700) != 0) {
      fail(level, errno);
    }
    if (cut == std::string::npos) return;
  }
}

void removeFile(std::string_view path) {
  auto name = native(path);
  if (::unlink(name.c_str()) != 0) fail(name, errno);
}

bool removeEmptyFolder(std::string_view path) noexcept {
  try {
    return ::rmdir(native(path).c_str()) == 0;
  } catch (...) {
    return false;  // no room for the path's copy
  }
}

std::string readWhole(std::string_view path, size_t room) {
  if (const int error = injectedReadFault(native(path))) {
    if (error == ENOMEM) throw std::bad_alloc();
    fail(native(path), error);
  }
  Reader file(path);
  std::string text;
  text.reserve(static_cast<size_t>(file.length()) + room);
  text.resize(static_cast<size_t>(file.length()));
  size_t done = 0;
  for (size_t got; done < text.size() && (got = file.read(text.data() + done, text.size() - done)) > 0;) {
    done += got;
  }
  text.resize(done);  // the file shrank since it was measured
  // It may have grown meanwhile: read on to its true end. (Files of the kernel's own, such as
  // those under /proc, report a length of 0.)
  char more[65536];
  for (size_t got; (got = file.read(more, sizeof more)) > 0;) text.append(more, got);
  return text;
}

Reader::Reader(std::string_view path) : m_path(native(path)) {
  m_fd = openForReading(m_path);
  struct stat info {};
  if (::fstat(m_fd, &info) != 0) {
    const int error = errno;
    ::close(m_fd);
    fail(m_path, error);
  }
  m_length = static_cast<std::uint64_t>(info.st_size);
}

Reader::~Reader() { ::close(m_fd); }

std::uint64_t Reader::currentLength() const {
  struct stat info {};
  if (::fstat(m_fd, &info) != 0) fail(m_path, errno);
  return static_cast<std::uint64_t>(info.st_size);
}

size_t Reader::readAt(char* into, size_t size, std::uint64_t offset) {
  for (;;) {
    const ssize_t got = ::pread(m_fd, into, size, static_cast<off_t>(offset));
    if (got >= 0) return static_cast<size_t>(got);
    if (errno != EINTR) fail(m_path, errno);
  }
}

size_t Reader::read(char* into, size_t size) {
  for (;;) {
    const ssize_t got = ::read(m_fd, into, size);
    if (got >= 0) return static_cast<size_t>(got);
    if (errno != EINTR) fail(m_path, errno);
  }
}

bool LineReader::next(std::string_view& line) {
  if (m_done) return false;
  auto end = m_rest.find('\n');
  if (end == std::string_view::npos) {
    m_done = true;
    if (m_rest.empty()) return false;
    line = m_rest;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return true;
  }
  line = m_rest.substr(0, end);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  m_rest.remove_prefix(end + 1);
  return true;
}

}  // namespace waymint::platform::files
