#include "input/filter_thread.h"

#include <chrono>
#include <string_view>

#include "input/ordered_work.h"

namespace waymint::input {
namespace {

constexpr size_t inFlight = 3;
constexpr auto patience = std::chrono::milliseconds(20);

}  // namespace

FilterThread::FilterThread(TaggedNodeFilter& filter, size_t pieceSize)
    : m_filter(filter), m_pieceSize(pieceSize) {
  if (m_thread.start([this] { serve(); })) {
    for (size_t i = 0; i < inFlight; ++i) m_free.push_back(i);
    m_buffers.resize(inFlight);
  } else {
    m_buffers.resize(1);
  }
}

FilterThread::~FilterThread() {
  {
    std::lock_guard lock(m_mutex);
    m_stop = true;
  }
  m_changed.notify_all();
  m_thread.join();
}

char* FilterThread::room(const std::function<void()>& waiting) {
  if (m_thread.size() > 0) {
    std::unique_lock lock(m_mutex);
    while (!m_changed.wait_for(lock, patience, [&] { return !m_free.empty() || m_failure; })) {
      lock.unlock();
      waiting();
      lock.lock();
    }
    if (m_failure) std::rethrow_exception(m_failure);
    m_current = m_free.front();
    m_free.pop_front();
  }
  m_buffers[m_current].resize(m_pieceSize);
  return m_buffers[m_current].data();
}

void FilterThread::hand(size_t size) {
  if (m_thread.size() == 0) {
    m_filter.feed(std::string_view(m_buffers[m_current].data(), size));
    return;
  }
  {
    std::lock_guard lock(m_mutex);
    if (m_failure) std::rethrow_exception(m_failure);
    m_handed.emplace_back(m_current, size);
  }
  m_changed.notify_all();
}

void FilterThread::finish(const std::function<void()>& waiting) {
  if (m_thread.size() > 0) {
    std::unique_lock lock(m_mutex);
    while (!m_changed.wait_for(lock, patience, [&] { return (m_handed.empty() && m_free.size() == inFlight) || m_failure; })) {
      lock.unlock();
      waiting();
      lock.lock();
    }
    if (m_failure) std::rethrow_exception(m_failure);
  }
  m_filter.finish();
}

void FilterThread::serve() {
  for (;;) {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return m_stop || !m_handed.empty(); });
    if (m_stop) return;
    const auto [buffer, size] = m_handed.front();
    m_handed.pop_front();
    lock.unlock();
    beforeJob();
    std::exception_ptr failure;
    try {
      m_filter.feed(std::string_view(m_buffers[buffer].data(), size));
    } catch (...) {
      failure = std::current_exception();
    }
    lock.lock();
    m_free.push_back(buffer);
    if (failure) m_failure = failure;
    lock.unlock();
    m_changed.notify_all();
    if (failure) return;
  }
}

}  // namespace waymint::input
