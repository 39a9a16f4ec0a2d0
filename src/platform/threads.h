#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace waymint::platform {

// Threads started through one place. A system may refuse a thread (too many processes for the
// user, no address space left for its stack): then start() says so and the caller does with
// fewer threads, down to its own. Every thread started is joined when the group ends.
class ThreadGroup {
 public:
  ThreadGroup() = default;
  ThreadGroup(const ThreadGroup&) = delete;
  ThreadGroup& operator=(const ThreadGroup&) = delete;
  ~ThreadGroup() { join(); }

  // Runs `work` on a thread of its own; false, and nothing runs, when none can be started.
  bool start(std::function<void()> work);
  // Starts up to `count` threads each running `work`; how many started.
  size_t startUpTo(size_t count, const std::function<void()>& work);
  size_t size() const { return m_threads.size(); }
  // Waits for every thread started.
  void join();

 private:
  std::vector<std::thread> m_threads;
};

// The threads the program's work may use: one per core, at least one.
size_t coreCount();

// For tests: the next `count` threads start and every one after them is refused, as a system
// refuses with "Resource temporarily unavailable"; nothing (std::nullopt) lifts the limit.
void refuseThreadsAfter(std::optional<size_t> count);

}  // namespace waymint::platform
