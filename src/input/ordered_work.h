#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

#include "platform/threads.h"

namespace waymint::input {

// For tests: runs on a worker thread before each job it does (to make a job slow).
void setBeforeJob(std::function<void()> hook);
void beforeJob();

// Jobs done on worker threads, their results taken in the order the jobs were added. At most
// `ahead` jobs are added and not yet taken, so that memory holds only those. With fewer
// threads than asked for (a system that refuses more), the work goes on with those; with
// none, each job is done by the thread that adds it. A job's exception is thrown where its
// result is taken.
template <typename Job, typename Result>
class OrderedWork {
 public:
  // `work` does a job with a scratch text of its thread's own.
  using Work = std::function<Result(Job&, std::string& scratch)>;

  OrderedWork(Work work, size_t threads, size_t ahead)
      : m_work(std::move(work)), m_ahead(std::max<size_t>(ahead, 1)) {
    m_threads.startUpTo(threads, [this] { serve(); });
  }
  ~OrderedWork() { stop(); }
  OrderedWork(const OrderedWork&) = delete;
  OrderedWork& operator=(const OrderedWork&) = delete;

  size_t threads() const { return m_threads.size(); }
  bool hasRoom() const { return m_added - m_taken < m_ahead; }
  bool pending() const { return m_taken < m_added; }

  void add(Job job) {
    const size_t index = m_added++;
    if (m_threads.size() == 0) {
      m_done.emplace(index, run(job, m_scratch));
      return;
    }
    {
      std::lock_guard lock(m_mutex);
      m_jobs.emplace_back(index, std::move(job));
    }
    m_changed.notify_all();
  }

  // The result of the oldest job not taken, once done; waits at most `patience`.
  std::optional<Result> next(std::chrono::milliseconds patience) {
    std::unique_lock lock(m_mutex);
    if (!m_changed.wait_for(lock, patience, [&] { return m_done.count(m_taken) > 0; })) return std::nullopt;
    auto done = m_done.extract(m_taken++);
    lock.unlock();
    m_changed.notify_all();
    if (done.mapped().failure) std::rethrow_exception(done.mapped().failure);
    return std::move(done.mapped().result);
  }

  // Ends the work: jobs not started are dropped, the threads are joined.
  void stop() {
    {
      std::lock_guard lock(m_mutex);
      m_stop = true;
    }
    m_changed.notify_all();
    m_threads.join();
  }

 private:
  struct Done {
    std::optional<Result> result;
    std::exception_ptr failure;
  };

  Done run(Job& job, std::string& scratch) {
    Done done;
    try {
      done.result.emplace(m_work(job, scratch));
    } catch (...) {
      done.failure = std::current_exception();
    }
    return done;
  }

  void serve() {
    std::string scratch;
    for (;;) {
      std::unique_lock lock(m_mutex);
      m_changed.wait(lock, [&] { return m_stop || !m_jobs.empty(); });
      if (m_stop) return;
      auto [index, job] = std::move(m_jobs.front());
      m_jobs.pop_front();
      lock.unlock();
      beforeJob();
      Done done = run(job, scratch);
      lock.lock();
      m_done.emplace(index, std::move(done));
      lock.unlock();
      m_changed.notify_all();
    }
  }

  Work m_work;
  const size_t m_ahead;
  size_t m_added = 0;
  size_t m_taken = 0;
  std::string m_scratch;  // the adding thread's, when there is no worker
  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::deque<std::pair<size_t, Job>> m_jobs;
  std::map<size_t, Done> m_done;
  bool m_stop = false;
  platform::ThreadGroup m_threads;  // last: its threads end before the rest goes
};

}  // namespace waymint::input
