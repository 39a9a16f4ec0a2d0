#include "dialogs/folder_lists.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <iterator>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>

#include "osm/text_search.h"
#include "platform/files.h"

namespace waymint::dialogs {

namespace files = platform::files;

namespace {

constexpr std::string_view pseudoFileSystems[] = {
    "proc",       "sysfs",    "cgroup",     "cgroup2",  "devpts",      "devtmpfs",
    "mqueue",     "securityfs", "debugfs",  "tracefs",  "pstore",      "bpf",
    "hugetlbfs",  "configfs", "fusectl",    "binfmt_misc", "autofs",   "efivarfs",
    "rpc_pipefs", "nsfs",     "selinuxfs",  "fuse.gvfsd-fuse", "fuse.portal", "ramfs"};

bool isPseudo(std::string_view type) {
  return std::find(std::begin(pseudoFileSystems), std::end(pseudoFileSystems), type) !=
         std::end(pseudoFileSystems);
}

bool isBelow(std::string_view path, std::string_view folder) {
  if (folder == "/") return !path.empty() && path[0] == '/';
  return path.substr(0, folder.size()) == folder &&
         (path.size() == folder.size() || path[folder.size()] == '/');
}

bool isSystemPlace(std::string_view mountPoint, std::string_view type) {
  for (std::string_view place : {"/proc", "/sys", "/dev"}) {
    if (isBelow(mountPoint, place)) return true;
  }
  return type == "tmpfs" && isBelow(mountPoint, "/run");
}

// The mount table writes blanks, tabs, line breaks and back-slashes in names as "\" and
// three octal digits.
std::string unescapeMountField(std::string_view field) {
  auto octal = [](char c) { return c >= '0' && c <= '7'; };
  std::string text;
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size() && octal(field[i + 1]) && octal(field[i + 2]) &&
        octal(field[i + 3])) {
      text += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                (field[i + 3] - '0'));
      i += 3;
    } else {
      text += field[i];
    }
  }
  return text;
}

std::vector<std::string_view> fieldsOf(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  while (start < line.size()) {
    size_t blank = line.find_first_of(" \t", start);
    if (blank != start) fields.push_back(line.substr(start, blank - start));
    if (blank == osm::npos) break;
    start = blank + 1;
  }
  return fields;
}

[[noreturn]] void fail(std::string_view path, int error) {
  throw files::IoError(std::string(path), std::strerror(error));
}

bool byName(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return osm::lowerAscii(x) < osm::lowerAscii(y);
  });
}

std::vector<std::string> subfolders(const std::string& path) {
  std::unique_ptr<DIR, int (*)(DIR*)> folder(::opendir(path.c_str()), ::closedir);
  if (!folder) fail(path, errno);
  std::vector<std::string> names;
  const std::string prefix = path == "/" ? path : path + "/";
  while (const dirent* entry = ::readdir(folder.get())) {
    if (entry->d_name[0] == '.') continue;  // ".", ".." and hidden folders
    std::string full = prefix + entry->d_name;
    if (files::isFolder(full)) names.push_back(std::move(full));
  }
  std::sort(names.begin(), names.end(), byName);
  return names;
}

}  // namespace

std::vector<std::string> volumesIn(std::string_view mountTable) {
  std::vector<std::string> volumes{"/"};
  files::LineReader lines(mountTable);
  for (std::string_view line; lines.next(line);) {
    auto fields = fieldsOf(line);
    if (fields.size() < 3 || isPseudo(fields[2])) continue;
    std::string mountPoint = unescapeMountField(fields[1]);
    if (mountPoint.empty() || mountPoint[0] != '/') continue;
    if (isSystemPlace(mountPoint, fields[2])) continue;
    if (std::find(volumes.begin(), volumes.end(), mountPoint) == volumes.end()) {
      volumes.push_back(std::move(mountPoint));
    }
  }
  return volumes;
}

std::vector<std::string> mountedVolumes() {
  std::string table;
  try {
    table = files::readWhole("/proc/mounts");
  } catch (const files::IoError&) {
    // Without the table the root still holds every folder.
  }
  return volumesIn(table);
}

std::string volumeOf(std::string_view path, const std::vector<std::string>& volumes) {
  std::string best = "/";
  for (const std::string& volume : volumes) {
    if (volume.size() > best.size() && isBelow(path, volume)) best = volume;
  }
  return best;
}

std::string folderPath(std::string_view path) {
  std::string name = files::native(path);
  if (name.empty()) fail(path, ENOENT);
  std::error_code error;
  std::filesystem::path full = std::filesystem::absolute(name, error);
  if (error) fail(path, error.value());
  std::string result = full.lexically_normal().string();
  while (result.size() > 1 && result.back() == '/') result.pop_back();
  struct stat info {};
  if (::stat(result.c_str(), &info) != 0) fail(path, errno);
  if (!S_ISDIR(info.st_mode)) fail(path, ENOTDIR);
  return result;
}

FolderEntries folderEntries(const std::string& path) {
  FolderEntries list;
  list.entries.push_back("/");
  for (size_t cut = path.find('/', 1); path != "/"; cut = path.find('/', cut + 1)) {
    list.entries.push_back(path.substr(0, cut));
    if (cut == std::string::npos) break;
  }
  list.current = static_cast<int>(list.entries.size()) - 1;
  auto children = subfolders(path);
  list.entries.insert(list.entries.end(), std::make_move_iterator(children.begin()),
                      std::make_move_iterator(children.end()));
  return list;
}

}  // namespace waymint::dialogs
