// .osm: the file read into memory of its own in large pieces, on every core at once. Memory
// taken in large pages and filled by several readers costs less than the file's own pages
// mapped one by one, and the text stays as it was read whatever happens to the file later.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "input/decoders.h"
#include "input/input_error.h"
#include "messages/messages.h"

namespace waymint::input {
namespace {

constexpr size_t piece = size_t{4} << 20;
// Below this much per core, fewer readers are as fast.
constexpr std::uint64_t perReader = std::uint64_t{64} << 20;
constexpr auto patience = std::chrono::milliseconds(20);

// Pieces are handed out in file order to whichever reader is free.
class PieceReaders {
 public:
  PieceReaders(platform::files::Reader& file, platform::ByteBuffer& text, std::uint64_t length)
      : m_file(file), m_text(text), m_length(length) {
    const std::uint64_t cores = std::max(1U, std::thread::hardware_concurrency());
    const auto count = static_cast<size_t>(std::clamp<std::uint64_t>(length / perReader, 1, cores));
    m_running = count;
    for (size_t i = 0; i < count; ++i) m_readers.emplace_back([this] { read(); });
  }
  ~PieceReaders() { stop(); }
  PieceReaders(const PieceReaders&) = delete;
  PieceReaders& operator=(const PieceReaders&) = delete;

  // Waits a moment for the readers; true once all have ended.
  bool waitAMoment() {
    std::unique_lock lock(m_mutex);
    return m_ended.wait_for(lock, patience, [&] { return m_running == 0; });
  }
  void stop() {
    m_stop = true;
    for (std::thread& reader : m_readers) {
      if (reader.joinable()) reader.join();
    }
  }
  std::uint64_t done() const { return m_done; }
  bool shrank() const { return m_shrank; }
  // The system's description of a read that failed, empty when none did.
  std::string failure() {
    std::lock_guard lock(m_mutex);
    return m_failure;
  }

 private:
  void read() {
    for (std::uint64_t at; !m_stop && (at = m_next.fetch_add(piece)) < m_length;) {
      const auto size = static_cast<size_t>(std::min<std::uint64_t>(piece, m_length - at));
      m_text.prepare(static_cast<size_t>(at), size);
      try {
        for (size_t got = 0; got < size;) {
          const size_t more = m_file.readAt(m_text.data() + at + got, size - got, at + got);
          if (more == 0) {  // the file is shorter than when it was measured
            m_shrank = true;
            m_stop = true;
            break;
          }
          got += more;
        }
      } catch (const platform::files::IoError& error) {
        std::lock_guard lock(m_mutex);
        m_failure = error.what();
        m_stop = true;
      }
      m_done += size;
    }
    std::lock_guard lock(m_mutex);
    if (--m_running == 0) m_ended.notify_all();
  }

  platform::files::Reader& m_file;
  platform::ByteBuffer& m_text;
  const std::uint64_t m_length;
  std::atomic<std::uint64_t> m_next{0};
  std::atomic<std::uint64_t> m_done{0};
  std::atomic<bool> m_stop{false};
  std::atomic<bool> m_shrank{false};
  std::string m_failure;
  std::mutex m_mutex;
  std::condition_variable m_ended;
  size_t m_running = 0;
  std::vector<std::thread> m_readers;
};

}  // namespace

platform::ByteBuffer readXml(platform::files::Reader& file, ReadProgress& progress,
                             std::uint64_t memoryLimit) {
  const std::uint64_t length = file.length();
  platform::ByteBuffer text = platform::ByteBuffer::growable(memoryLimit);
  if (length > memoryLimit) throw std::bad_alloc();
  text.extend(static_cast<size_t>(length), false);
  PieceReaders readers(file, text, length);
  for (bool ended = false; !ended;) {
    ended = readers.waitAMoment();
    if (!progress.proceed(readers.done())) {
      readers.stop();
      throw Cancelled{};
    }
  }
  readers.stop();
  if (const std::string failure = readers.failure(); !failure.empty()) {
    throw platform::files::IoError(file.path(), failure);
  }
  // A file that shrank or grew while it was read is no longer the file whose length was taken.
  if (readers.shrank() || file.currentLength() != length) {
    throw InputError(messages::changedWhileRead(file.path()));
  }
  return text;
}

}  // namespace waymint::input
