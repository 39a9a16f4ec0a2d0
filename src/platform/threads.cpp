#include "platform/threads.h"

#include <atomic>
#include <limits>
#include <system_error>

namespace waymint::platform {
namespace {

constexpr size_t unlimited = std::numeric_limits<size_t>::max();
std::atomic<size_t> g_startsLeft{unlimited};

// Whether the test limit lets one more thread start; counts it when it does.
bool takeStart() {
  size_t left = g_startsLeft.load();
  while (left != unlimited) {
    if (left == 0) return false;
    if (g_startsLeft.compare_exchange_weak(left, left - 1)) return true;
  }
  return true;
}

}  // namespace

bool ThreadGroup::start(std::function<void()> work) {
  if (!takeStart()) return false;
  try {
    m_threads.emplace_back(std::move(work));
  } catch (const std::system_error&) {
    return false;  // EAGAIN: too many threads for the user, or no memory for a stack
  }
  return true;
}

size_t ThreadGroup::startUpTo(size_t count, const std::function<void()>& work) {
  size_t started = 0;
  while (started < count && start(work)) ++started;
  return started;
}

void ThreadGroup::join() {
  for (std::thread& thread : m_threads) {
    if (thread.joinable()) thread.join();
  }
  m_threads.clear();
}

size_t coreCount() { return std::max(1U, std::thread::hardware_concurrency()); }

void refuseThreadsAfter(std::optional<size_t> count) { g_startsLeft = count.value_or(unlimited); }

}  // namespace waymint::platform
