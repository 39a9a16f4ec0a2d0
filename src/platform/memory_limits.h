#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace waymint::platform {

// What memory the process itself may take beside what the machine has free: the room its own
// limits (ulimit -v, ulimit -d) and its control groups (a container's or a service's memory
// limit) leave. Each is read from the texts the system gives, so that the reading can be
// tested with texts of other machines. `root` is the folder the system's files are read
// under: empty for this machine's own, a folder of made-up ones in the tests.

// The room a limit leaves: `limit` less `used`, 0 when more is used; nothing without a limit.
std::optional<std::uint64_t> roomUnder(std::optional<std::uint64_t> limit, std::uint64_t used);
// The smallest of the rooms known; nothing when none is.
std::optional<std::uint64_t> smallest(std::initializer_list<std::optional<std::uint64_t>> rooms);

// A value of /proc/self/status given in kB ("VmSize:    3896 kB"), in bytes.
std::optional<std::uint64_t> statusBytes(std::string_view status, std::string_view key);
// The room the process's limits leave: that of its address space (`addressLimit`, ulimit -v)
// over what it has mapped (VmSize of `status`), and that of its data (`dataLimit`, ulimit -d)
// over its data (VmData). A limit whose use cannot be told is room enough by itself.
std::optional<std::uint64_t> processLimitRoom(std::string_view status,
                                              std::optional<std::uint64_t> addressLimit,
                                              std::optional<std::uint64_t> dataLimit);
// The same with the process's own limits (RLIMIT_AS, RLIMIT_DATA) and its status
// (/proc/self/status).
std::optional<std::uint64_t> processLimitRoom(const std::string& root = {});

// A control group whose memory limit binds the process: its folder, and whether it belongs to
// the unified hierarchy (cgroup v2) or to that of the memory controller (cgroup v1).
struct MemoryGroup {
  std::string folder;
  bool unified = false;
  bool operator==(const MemoryGroup&) const = default;
};
// The process's groups and the groups above them, each one's own first, from the texts of
// /proc/self/cgroup and /proc/self/mountinfo (where the hierarchies are mounted).
std::vector<MemoryGroup> memoryGroups(std::string_view cgroups, std::string_view mountinfo);
// The room a group leaves: its limit less what its members hold, less the file cache the
// system would give back first (inactive_file), from the texts of its files: in v2
// memory.max ("max" for none), memory.current and memory.stat; in v1
// memory.limit_in_bytes, memory.usage_in_bytes and memory.stat (total_inactive_file).
std::optional<std::uint64_t> groupRoom(std::string_view limit, std::string_view usage,
                                       std::string_view stat, bool unified);
// The smallest room of the process's groups (read from /proc/self/cgroup, /proc/self/mountinfo
// and the groups' folders).
std::optional<std::uint64_t> controlGroupRoom(const std::string& root = {});

}  // namespace waymint::platform
