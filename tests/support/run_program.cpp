#include "support/run_program.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace waymint::testing {
namespace {

// Reads both pipes until both are closed, so that neither child stream can fill up and stall.
void drain(int outFd, int errFd, std::string& out, std::string& err) {
  pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
  std::string* into[2] = {&out, &err};
  int open = 0;
  for (auto& fd : fds) open += fd.fd >= 0 ? 1 : 0;
  char buffer[65536];
  while (open > 0) {
    if (::poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      const ssize_t got = ::read(fds[i].fd, buffer, sizeof buffer);
      if (got > 0) {
        into[i]->append(buffer, static_cast<size_t>(got));
      } else if (got == 0 || errno != EINTR) {
        ::close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
  }
}

}  // namespace

Finished runProgram(const std::vector<std::string>& arguments, const RunOptions& options) {
  Finished finished;
  int outPipe[2] = {-1, -1};
  int errPipe[2];
  if (::pipe2(errPipe, O_CLOEXEC) != 0) return finished;
  const bool captureOut = options.standardOutput.empty();
  if (captureOut && ::pipe2(outPipe, O_CLOEXEC) != 0) return finished;

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, options.standardInput.c_str(), O_RDONLY, 0);
  if (captureOut) {
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
  } else {
    posix_spawn_file_actions_addopen(&actions, 1, options.standardOutput.c_str(), O_WRONLY, 0);
  }
  posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
  if (!options.workingFolder.empty()) {
    posix_spawn_file_actions_addchdir_np(&actions, options.workingFolder.c_str());
  }
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t child = 0;
  const int failed = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (captureOut) ::close(outPipe[1]);
  ::close(errPipe[1]);
  if (failed != 0) {
    if (captureOut) ::close(outPipe[0]);
    ::close(errPipe[0]);
    return finished;
  }
  drain(captureOut ? outPipe[0] : -1, errPipe[0], finished.out, finished.err);
  int status = 0;
  rusage usage{};
  if (::wait4(child, &status, 0, &usage) == child && WIFEXITED(status)) {
    finished.status = WEXITSTATUS(status);
  }
  finished.peakKilobytes = usage.ru_maxrss;
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
