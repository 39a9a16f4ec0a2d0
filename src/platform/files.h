#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>


namespace waymint::platform::files {

// The platform's own path separator. Every operation here accepts both "/" and "\".
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

 private:
  std::string m_path;
};

// The path with every "/" and "\" turned into the platform's separator.
std::string native(std::string_view path);

// Directory lookups: an ordinary file only; a file or a folder; a folder only.
bool isOrdinaryFile(std::string_view path);
bool exists(std::string_view path);
bool isFolder(std::string_view path);

// The following throw IoError.
std::uint64_t length(std::string_view path);
void makeFolder(std::string_view path);  // one level; the parent must exist
void removeFile(std::string_view path);
std::string readWhole(std::string_view path);
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
// new file beside it, flushed, and renamed over the old one. On any failure the old file
// stays byte for byte as it was and no stray file is left. An existing file that is marked
// read-only is not replaced.
void replaceWhole(std::string_view path, std::string_view bytes);

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
