#include "platform/memory_limits.h"

#include <sys/resource.h>

#include <algorithm>
#include <charconv>

#include "platform/files.h"

namespace waymint::platform {
namespace {

std::optional<std::uint64_t> number(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  std::uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end == text.data()) return std::nullopt;
  return value;
}

// The text after "key" and the character that ends the key (":" or " ") on the line that
// starts with them.
std::optional<std::string_view> fieldAfter(std::string_view text, std::string_view key, char end) {
  files::LineReader lines(text);
  for (std::string_view line; lines.next(line);) {
    if (line.size() > key.size() && line.starts_with(key) && line[key.size()] == end) {
      return line.substr(key.size() + 1);
    }
  }
  return std::nullopt;
}

std::vector<std::string_view> splitAt(std::string_view text, char separator) {
  std::vector<std::string_view> pieces;
  for (size_t cut; (cut = text.find(separator)) != std::string_view::npos;) {
    pieces.push_back(text.substr(0, cut));
    text.remove_prefix(cut + 1);
  }
  pieces.push_back(text);
  return pieces;
}

bool lists(std::string_view commaList, std::string_view name) {
  const auto names = splitAt(commaList, ',');
  return std::find(names.begin(), names.end(), name) != names.end();
}

// mountinfo writes a blank, a TAB, a line break and a backslash in a path as "\040" and the like.
std::string unescaped(std::string_view path) {
  std::string plain;
  for (size_t i = 0; i < path.size(); ++i) {
    const auto octal = [&](size_t at) { return path[at] >= '0' && path[at] <= '7'; };
    if (path[i] == '\\' && i + 3 < path.size() && octal(i + 1) && octal(i + 2) && octal(i + 3)) {
      plain += static_cast<char>((path[i + 1] - '0') * 64 + (path[i + 2] - '0') * 8 +
                                 (path[i + 3] - '0'));
      i += 3;
    } else {
      plain += path[i];
    }
  }
  return plain;
}

// Where a hierarchy is mounted: the group it shows at its top (its root) and the folder.
struct Mount {
  std::string root, point;
};

std::optional<Mount> hierarchyMount(std::string_view mountinfo, bool unified) {
  files::LineReader lines(mountinfo);
  for (std::string_view line; lines.next(line);) {
    const auto fields = splitAt(line, ' ');
    const auto dash = std::find(fields.begin(), fields.end(), "-");
    if (fields.size() < 5 || fields.end() - dash < 4) continue;
    const std::string_view type = dash[1], options = dash[3];
    if (unified ? type == "cgroup2" : type == "cgroup" && lists(options, "memory")) {
      return Mount{unescaped(fields[3]), unescaped(fields[4])};
    }
  }
  return std::nullopt;
}

// The folders of the group `path` and of those above it up to the mount's top.
void addGroups(std::string_view path, const Mount& mount, bool unified,
               std::vector<MemoryGroup>& groups) {
  std::string_view below;
  if (mount.root == "/") {
    below = path;
  } else if (path == mount.root || path.starts_with(mount.root + "/")) {
    below = path.substr(mount.root.size());
  } else {
    return;  // a group the mount does not show
  }
  while (!below.empty() && below.back() == '/') below.remove_suffix(1);
  for (;;) {
    groups.push_back({mount.point + std::string(below), unified});
    if (below.empty()) return;
    below = below.substr(0, below.rfind('/'));
  }
}

std::string readOrEmpty(const std::string& path) {
  try {
    return files::readWhole(path);
  } catch (const files::IoError&) {
    return "";
  }
}

}  // namespace

std::optional<std::uint64_t> roomUnder(std::optional<std::uint64_t> limit, std::uint64_t used) {
  if (!limit) return std::nullopt;
  return *limit > used ? *limit - used : 0;
}

std::optional<std::uint64_t> smallest(std::initializer_list<std::optional<std::uint64_t>> rooms) {
  std::optional<std::uint64_t> least;
  for (const auto& room : rooms) {
    if (room && (!least || *room < *least)) least = room;
  }
  return least;
}

std::optional<std::uint64_t> statusBytes(std::string_view status, std::string_view key) {
  const auto field = fieldAfter(status, key, ':');
  const auto kilobytes = field ? number(*field) : std::nullopt;
  if (!kilobytes || *kilobytes > UINT64_MAX / 1024) return std::nullopt;
  return *kilobytes * 1024;
}

std::optional<std::uint64_t> processLimitRoom(std::string_view status,
                                              std::optional<std::uint64_t> addressLimit,
                                              std::optional<std::uint64_t> dataLimit) {
  const auto room = [&](std::optional<std::uint64_t> limit, std::string_view key) {
    return roomUnder(limit, statusBytes(status, key).value_or(0));
  };
  return smallest({room(addressLimit, "VmSize"), room(dataLimit, "VmData")});
}

std::optional<std::uint64_t> processLimitRoom(const std::string& root) {
  const auto limit = [](int resource) -> std::optional<std::uint64_t> {
    rlimit value{};
    if (::getrlimit(resource, &value) != 0 || value.rlim_cur == RLIM_INFINITY) return std::nullopt;
    return value.rlim_cur;
  };
  return processLimitRoom(readOrEmpty(root + "/proc/self/status"), limit(RLIMIT_AS),
                          limit(RLIMIT_DATA));
}

std::vector<MemoryGroup> memoryGroups(std::string_view cgroups, std::string_view mountinfo) {
  std::vector<MemoryGroup> groups;
  files::LineReader lines(cgroups);
  for (std::string_view line; lines.next(line);) {
    const size_t first = line.find(':');
    const size_t second = first == std::string_view::npos ? first : line.find(':', first + 1);
    if (second == std::string_view::npos) continue;
    const std::string_view controllers = line.substr(first + 1, second - first - 1);
    const bool unified = line.substr(0, first) == "0" && controllers.empty();
    if (!unified && !lists(controllers, "memory")) continue;
    if (const auto mount = hierarchyMount(mountinfo, unified)) {
      addGroups(line.substr(second + 1), *mount, unified, groups);
    }
  }
  return groups;
}

std::optional<std::uint64_t> groupRoom(std::string_view limit, std::string_view usage,
                                       std::string_view stat, bool unified) {
  const auto limited = number(limit);
  const auto used = number(usage);
  if (!limited || !used) return std::nullopt;  // "max": no limit
  const auto cacheField = fieldAfter(stat, unified ? "inactive_file" : "total_inactive_file", ' ');
  const std::uint64_t cache = cacheField ? number(*cacheField).value_or(0) : 0;
  return roomUnder(limited, *used - std::min(cache, *used));
}

std::optional<std::uint64_t> controlGroupRoom(const std::string& root) {
  std::optional<std::uint64_t> least;
  for (const MemoryGroup& group : memoryGroups(readOrEmpty(root + "/proc/self/cgroup"),
                                               readOrEmpty(root + "/proc/self/mountinfo"))) {
    const std::string in = root + group.folder + "/memory.";
    const auto room = groupRoom(readOrEmpty(in + (group.unified ? "max" : "limit_in_bytes")),
                                readOrEmpty(in + (group.unified ? "current" : "usage_in_bytes")),
                                readOrEmpty(in + "stat"), group.unified);
    least = smallest({least, room});
  }
  return least;
}

}  // namespace waymint::platform
