#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "input/tagged_node_filter.h"
#include "platform/threads.h"

namespace waymint::input {

// Filters the pieces a decoder makes on a thread of its own, while the decoder makes the next
// ones; with no thread to be had, the decoder's thread filters each piece as it is handed over.
// A few pieces are in flight at most.
class FilterThread {
 public:
  explicit FilterThread(TaggedNodeFilter& filter, size_t pieceSize = size_t{4} << 20);
  ~FilterThread();
  FilterThread(const FilterThread&) = delete;
  FilterThread& operator=(const FilterThread&) = delete;

  // Room for the next piece, pieceSize() bytes. While the filter is behind, `waiting` is
  // called now and then (to tell the progress, which may end the reading).
  char* room(const std::function<void()>& waiting);
  size_t pieceSize() const { return m_pieceSize; }
  // The first `size` bytes of the room go to the filter. Throws what the filter threw.
  void hand(size_t size);
  // Waits until every piece handed over is filtered, then ends the text. Throws what the filter
  // threw.
  void finish(const std::function<void()>& waiting);

 private:
  void serve();

  TaggedNodeFilter& m_filter;
  const size_t m_pieceSize;
  std::vector<std::string> m_buffers;
  std::deque<std::pair<size_t, size_t>> m_handed;  // buffer, size
  std::deque<size_t> m_free;
  size_t m_current = 0;
  std::exception_ptr m_failure;
  bool m_stop = false;
  std::mutex m_mutex;
  std::condition_variable m_changed;
  platform::ThreadGroup m_thread;  // last: ends first
};

}  // namespace waymint::input
