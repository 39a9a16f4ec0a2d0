// .osm.bz2: its blocks decoded on every core at once, in order into the text.
#include <bzlib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <new>
#include <optional>
#include <thread>
#include <vector>

#include "input/bzip2_blocks.h"
#include "input/decoders.h"
#include "input/input_error.h"
#include "messages/messages.h"

namespace waymint::input {
namespace {

constexpr size_t outputPiece = size_t{4} << 20;
constexpr auto patience = std::chrono::milliseconds(20);

class Decompressor {
 public:
  Decompressor() {
    if (BZ2_bzDecompressInit(&m_stream, 0, 0) != BZ_OK) throw std::bad_alloc();
  }
  ~Decompressor() { BZ2_bzDecompressEnd(&m_stream); }
  Decompressor(const Decompressor&) = delete;
  Decompressor& operator=(const Decompressor&) = delete;
  bz_stream* operator->() { return &m_stream; }
  bz_stream* get() { return &m_stream; }

 private:
  bz_stream m_stream{};
};

// One block, wrapped as a stream of its own; nothing when it does not decode.
std::optional<std::string> decodeBlock(std::string_view file, const Bzip2Block& block) {
  std::string stream = standaloneStream(file, block);
  Decompressor bz;
  bz->next_in = stream.data();
  bz->avail_in = static_cast<unsigned>(stream.size());
  std::string text;
  for (;;) {
    const size_t had = text.size();
    text.resize(had + std::max<size_t>(had, size_t{1} << 20));
    bz->next_out = text.data() + had;
    bz->avail_out = static_cast<unsigned>(text.size() - had);
    const int result = BZ2_bzDecompress(bz.get());
    text.resize(text.size() - bz->avail_out);
    if (result == BZ_STREAM_END) return text;
    if (result == BZ_MEM_ERROR) throw std::bad_alloc();
    if (result != BZ_OK || (bz->avail_in == 0 && bz->avail_out != 0)) return std::nullopt;
  }
}

// The blocks decoded by worker threads, handed over in file order. The workers stay a few
// blocks ahead of the one handed over, so memory holds only those.
class BlockPipeline {
 public:
  BlockPipeline(std::string_view file, const std::vector<Bzip2Block>& blocks)
      : m_file(file), m_blocks(blocks), m_done(blocks.size()) {
    const unsigned cores = std::max(1U, std::thread::hardware_concurrency());
    m_ahead = 4 * cores;
    for (unsigned i = 0; i < std::min<size_t>(cores, blocks.size()); ++i) {
      m_workers.emplace_back([this] { work(); });
    }
  }
  ~BlockPipeline() {
    {
      std::lock_guard lock(m_mutex);
      m_stop = true;
    }
    m_changed.notify_all();
    for (std::thread& worker : m_workers) worker.join();
  }
  BlockPipeline(const BlockPipeline&) = delete;
  BlockPipeline& operator=(const BlockPipeline&) = delete;

  // Block `index` once decoded: its text, or nothing when it did not decode; waits at most a
  // moment, giving back false when it is not ready yet.
  bool take(size_t index, std::optional<std::string>& text) {
    std::unique_lock lock(m_mutex);
    if (!m_changed.wait_for(lock, patience, [&] { return m_done[index].has_value(); })) return false;
    text = std::move(*m_done[index]);
    m_done[index].reset();
    m_taken = index + 1;
    m_changed.notify_all();
    return true;
  }

 private:
  void work() {
    for (;;) {
      size_t index;
      {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_stop || (m_next < m_blocks.size() && m_next < m_taken + m_ahead); });
        if (m_stop) return;
        index = m_next++;
      }
      std::optional<std::string> text;
      try {
        text = decodeBlock(m_file, m_blocks[index]);
      } catch (const std::exception&) {
        text.reset();  // no memory for it: decoded again, in order, where it can fail aloud
      }
      {
        std::lock_guard lock(m_mutex);
        m_done[index].emplace(std::move(text));
      }
      m_changed.notify_all();
    }
  }

  std::string_view m_file;
  const std::vector<Bzip2Block>& m_blocks;
  std::vector<std::optional<std::optional<std::string>>> m_done;
  std::mutex m_mutex;
  std::condition_variable m_changed;
  size_t m_next = 0;
  size_t m_taken = 0;
  size_t m_ahead = 8;
  bool m_stop = false;
  std::vector<std::thread> m_workers;
};

// Decodes the blocks on every core. False when a block does not decode as one (a damaged
// block, or a magic number that was only a chance pattern in the data).
bool decodeInParallel(std::string_view file, const Bzip2Layout& layout, DecodedText& text,
                      ReadProgress& progress) {
  BlockPipeline pipeline(file, layout.blocks);
  for (size_t index = 0; index < layout.blocks.size();) {
    std::optional<std::string> block;
    if (pipeline.take(index, block)) {
      if (!block) return false;
      text.append(*block);
      ++index;
    }
    const std::uint64_t consumed = index < layout.blocks.size() ? layout.blocks[index].begin / 8 : file.size();
    if (!progress.proceed(consumed)) throw Cancelled{};
  }
  return true;
}

// Decodes stream after stream from the start, as bzip2 itself does: for files whose blocks
// cannot be told apart, and to say what is wrong with a damaged one.
void decodeInOrder(const std::string& path, std::string_view file, DecodedText& text,
                   ReadProgress& progress) {
  size_t at = 0;
  while (at < file.size()) {
    if (const AfterStream next = afterStream(file, at); next != AfterStream::Stream) {
      if (next == AfterStream::CutHeader) {
        throw InputError(messages::incompleteCompressed(path));
      }
      if (at == 0) throw InputError(messages::damagedCompressed(path));
      return;  // bytes after the last stream are ignored
    }
    Decompressor bz;
    bz->next_in = const_cast<char*>(file.data() + at);
    for (int result = BZ_OK; result != BZ_STREAM_END;) {
      // The library counts its input in 32 bits: the file is handed over a gigabyte at a time.
      if (bz->avail_in == 0) {
        const auto from = static_cast<size_t>(bz->next_in - file.data());
        bz->avail_in = static_cast<unsigned>(std::min<size_t>(file.size() - from, size_t{1} << 30));
      }
      char* out = text.room(outputPiece);
      bz->next_out = out;
      bz->avail_out = static_cast<unsigned>(outputPiece);
      result = BZ2_bzDecompress(bz.get());
      text.keep(outputPiece - bz->avail_out);
      if (result == BZ_MEM_ERROR) throw std::bad_alloc();
      if (result == BZ_OK && bz->avail_in == 0 && bz->avail_out != 0) {
        throw InputError(messages::incompleteCompressed(path));
      }
      if (result != BZ_OK && result != BZ_STREAM_END) {
        throw InputError(messages::damagedCompressed(path));
      }
      if (!progress.proceed(static_cast<std::uint64_t>(bz->next_in - file.data()))) {
        throw Cancelled{};
      }
    }
    at = static_cast<size_t>(bz->next_in - file.data());
  }
}

}  // namespace

Bzip2Path decodeBzip2(platform::files::Reader& file, DecodedText& text, ReadProgress& progress) {
  const auto keepGoing = [&progress] {
    if (!progress.proceed(0)) throw Cancelled{};
  };
  std::string compressed(static_cast<size_t>(file.length()), '\0');
  size_t got = 0;
  for (size_t piece; got < compressed.size() &&
                     (piece = file.read(compressed.data() + got, std::min<size_t>(compressed.size() - got, 8U << 20))) > 0;) {
    got += piece;
    keepGoing();
  }
  compressed.resize(got);
  const Bzip2Layout layout = bzip2Layout(compressed, keepGoing);
  if (layout.shape == Bzip2Layout::Shape::Truncated) {
    throw InputError(messages::incompleteCompressed(file.path()));
  }
  if (layout.shape == Bzip2Layout::Shape::Regular &&
      decodeInParallel(compressed, layout, text, progress)) {
    return Bzip2Path::Parallel;
  }
  text.clear();
  decodeInOrder(file.path(), compressed, text, progress);
  return Bzip2Path::InOrder;
}

}  // namespace waymint::input
