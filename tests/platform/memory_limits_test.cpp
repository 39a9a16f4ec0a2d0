// The memory a load may take is the least of what the machine has free and what the process's
// own limits and its control groups leave: each read from texts of the system's files.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "platform/memory_limits.h"
#include "platform/memory_status.h"
#include "support/case_table.h"
#include "support/temp_folder.h"

namespace waymint::testing {
namespace {

using platform::MemoryGroup;
constexpr std::optional<std::uint64_t> none;

TEST(MemoryLimits, RoomsAndTheSmallest) {
  EXPECT_EQ(platform::roomUnder(1000, 400), 600u);
  EXPECT_EQ(platform::roomUnder(1000, 4000), 0u);
  EXPECT_EQ(platform::roomUnder(none, 4000), none);
  EXPECT_EQ(platform::smallest({none, 70, 5, none, 9}), 5u);
  EXPECT_EQ(platform::smallest({none, none}), none);

  const std::string status = "Name:\twaymint\nVmPeak:\t  9000 kB\nVmSize:\t    3896 kB\n"
                             "VmData:\t     428 kB\nVmSizeX:\t1 kB\n";
  EXPECT_EQ(platform::statusBytes(status, "VmSize"), 3896u * 1024);
  EXPECT_EQ(platform::statusBytes(status, "VmData"), 428u * 1024);
  EXPECT_EQ(platform::statusBytes(status, "VmRSS"), none);
  EXPECT_EQ(platform::statusBytes("VmSize:\tlots kB\n", "VmSize"), none);
}

// A number of KiB in a table, as bytes, or "<none>".
std::optional<std::uint64_t> bytesOf(const std::string& kibibytes) {
  if (kibibytes == "<none>") return none;
  return std::stoull(kibibytes) * 1024;
}

TEST(MemoryLimits, TheRoomTheProcesssLimitsLeave) {
  for (const auto& c : caseTable("platform/data/process_limit_rooms.tsv", 5)) {
    SCOPED_TRACE(c[0]);
    EXPECT_EQ(platform::processLimitRoom(c[1], bytesOf(c[2]), bytesOf(c[3])), bytesOf(c[4]));
  }
}

TEST(MemoryLimits, TheGroupsOfTheProcessAndThoseAboveIt) {
  for (const auto& c : caseTable("platform/data/memory_groups.tsv", 4)) {
    SCOPED_TRACE(c[0]);
    std::string groups;
    for (const MemoryGroup& group : platform::memoryGroups(c[1], c[2])) {
      groups += (groups.empty() ? "" : "|") + group.folder + (group.unified ? " v2" : " v1");
    }
    EXPECT_EQ(groups, c[3]);
  }
}

TEST(MemoryLimits, TheRoomAGroupLeaves) {
  for (const auto& c : caseTable("platform/data/group_rooms.tsv", 6)) {
    SCOPED_TRACE(c[0]);
    const std::optional<std::uint64_t> room = platform::groupRoom(c[1], c[2], c[3], c[4] == "v2");
    EXPECT_EQ(room ? std::to_string(*room) : "<none>", c[5]);
  }
}

// A made-up machine with 8 GB free whose process sits in a group allowed 100 MB of which it
// holds 40 MB: the group's room, not the machine's, is what a load may take.
class MadeUpMachine : public ::testing::Test {
 protected:
  static constexpr std::uint64_t MB = std::uint64_t{1} << 20;
  void SetUp() override {
    system.write("proc/meminfo", "MemTotal:       16000000 kB\nMemFree:         1000 kB\n"
                                 "MemAvailable:    8388608 kB\n");
    system.write("proc/self/status", "Name:\ttest\nVmSize:\t       4 kB\nVmData:\t       4 kB\n");
  }
  void unified(std::string_view limit, std::string_view current) {
    system.write("proc/self/cgroup", "0::/jobs/job1\n");
    system.write("proc/self/mountinfo",
                 "24 1 0:21 / /sys/fs/cgroup rw,nosuid - cgroup2 cgroup2 rw,nsdelegate\n");
    system.write("sys/fs/cgroup/jobs/job1/memory.max", limit);
    system.write("sys/fs/cgroup/jobs/job1/memory.current", current);
    system.write("sys/fs/cgroup/jobs/job1/memory.stat", "anon 1\ninactive_file 0\n");
    system.write("sys/fs/cgroup/jobs/memory.max", "max\n");
    system.write("sys/fs/cgroup/jobs/memory.current", "1\n");
  }
  std::optional<std::uint64_t> available() const { return platform::availableMemory(system.path()); }
  TempFolder system;
};

// Step by step: no group, a group without a limit, one with a limit, a group above with less
// room, and the machine with less room than all of them.
TEST_F(MadeUpMachine, TheSmallestOfTheMachinesAndTheGroupsRoomsHolds) {
  EXPECT_EQ(available(), 8192 * MB);
  unified("max\n", std::to_string(40 * MB));
  EXPECT_EQ(available(), 8192 * MB);
  unified(std::to_string(100 * MB), std::to_string(40 * MB));
  EXPECT_EQ(available(), 60 * MB);
  EXPECT_EQ(platform::controlGroupRoom(system.path()), 60 * MB);
  system.write("sys/fs/cgroup/jobs/memory.max", std::to_string(50 * MB));
  system.write("sys/fs/cgroup/jobs/memory.current", std::to_string(30 * MB));
  EXPECT_EQ(available(), 20 * MB);
  system.write("proc/meminfo", "MemTotal:  16000000 kB\nMemAvailable:   10240 kB\n");
  EXPECT_EQ(available(), 10 * MB);
}

TEST_F(MadeUpMachine, AMemoryControllersLimit) {
  system.write("proc/self/cgroup", "5:cpu:/\n4:memory:/process_api/b5\n0::/\n");
  system.write("proc/self/mountinfo",
               "30 22 0:27 / /sys/fs/cgroup rw,relatime - tmpfs tmpfs rw,mode=755\n"
               "34 30 0:31 / /sys/fs/cgroup/memory rw,relatime - cgroup cgroup rw,memory\n");
  const std::string group = "sys/fs/cgroup/memory/process_api/b5/memory.";
  system.write(group + "limit_in_bytes", std::to_string(300 * MB));
  system.write(group + "usage_in_bytes", std::to_string(200 * MB));
  system.write(group + "stat", "cache 1\ntotal_inactive_file " + std::to_string(50 * MB) + "\n");
  system.write("sys/fs/cgroup/memory/memory.limit_in_bytes", "9223372036854771712\n");
  system.write("sys/fs/cgroup/memory/memory.usage_in_bytes", "3322433536\n");
  EXPECT_EQ(available(), 150 * MB);
}

TEST_F(MadeUpMachine, NothingToTell) {
  EXPECT_EQ(platform::availableMemory(system / "nothing"), none);
}

// A process whose data is limited (ulimit -d) may take no more than the limit leaves, however
// much the machine has free.
TEST(MemoryLimits, TheProcesssOwnLimitBoundsTheMemoryForLoading) {
  const pid_t child = ::fork();
  if (child == 0) {
    std::ifstream file("/proc/self/status");
    const std::string status{std::istreambuf_iterator<char>(file), {}};
    const auto data = platform::statusBytes(status, "VmData");
    constexpr std::uint64_t room = std::uint64_t{64} << 20;
    const rlimit limit{*data + room, RLIM_INFINITY};
    const bool limited = data && ::setrlimit(RLIMIT_DATA, &limit) == 0;
    const auto available = platform::availableMemory();
    ::_exit(limited && available && *available <= room ? 0 : 1);
  }
  int status = -1;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

}  // namespace
}  // namespace waymint::testing
