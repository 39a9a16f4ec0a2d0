#include "support/run_program.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

extern char** environ;

namespace waymint::testing {
namespace {

// A file for what the child writes, already unlinked, closed on the child's exec.
int scratchFile() {
  char name[] = "/tmp/waymint-run-XXXXXX";
  const int fd = ::mkostemp(name, O_CLOEXEC);
  if (fd >= 0) ::unlink(name);
  return fd;
}

// Everything written into `fd`; closes it.
std::string readBack(int fd) {
  std::string text;
  char buffer[65536];
  for (ssize_t got; (got = ::pread(fd, buffer, sizeof buffer, static_cast<off_t>(text.size()))) > 0;) {
    text.append(buffer, static_cast<size_t>(got));
  }
  ::close(fd);
  return text;
}

}  // namespace

Finished runProgram(const std::vector<std::string>& arguments, const RunOptions& options) {
  Finished finished;
  const bool captureOut = options.standardOutput.empty();
  const int out = captureOut ? scratchFile() : -1;
  const int err = scratchFile();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, options.standardInput.c_str(), O_RDONLY, 0);
  if (captureOut) {
    posix_spawn_file_actions_adddup2(&actions, out, 1);
  } else {
    posix_spawn_file_actions_addopen(&actions, 1, options.standardOutput.c_str(), O_WRONLY, 0);
  }
  posix_spawn_file_actions_adddup2(&actions, err, 2);
  if (!options.workingFolder.empty()) {
    posix_spawn_file_actions_addchdir_np(&actions, options.workingFolder.c_str());
  }
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t child = 0;
  const bool started = (!captureOut || out >= 0) && err >= 0 &&
                       posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  rusage usage{};
  if (started && ::wait4(child, &status, 0, &usage) == child && WIFEXITED(status)) {
    finished.status = WEXITSTATUS(status);
  }
  finished.peakKilobytes = usage.ru_maxrss;
  if (out >= 0) finished.out = readBack(out);
  if (err >= 0) finished.err = readBack(err);
  return finished;
}

Finished runTool(const std::vector<std::string>& arguments, const RunOptions& options) {
  std::vector<std::string> all{WAYMINT_CLI};
  all.insert(all.end(), arguments.begin(), arguments.end());
  return runProgram(all, options);
}

bool onPath(const std::string& name) {
  return runProgram({"sh", "-c", "command -v \"$0\" >/dev/null", name}).status == 0;
}

}  // namespace waymint::testing
