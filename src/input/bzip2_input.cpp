// .osm.bz2: read in windows; the blocks found in them are decoded and filtered on every core
// at once and joined in file order. Only a few blocks per core are in memory at a time.
#include <bzlib.h>

#include <algorithm>
#include <chrono>
#include <new>
#include <string>
#include <vector>

#include "input/bzip2_blocks.h"
#include "input/decoders.h"
#include "input/filter_thread.h"
#include "input/filtered_piece.h"
#include "input/input_error.h"
#include "input/ordered_work.h"
#include "messages/messages.h"
#include "platform/threads.h"

namespace waymint::input {
namespace {

constexpr size_t window = size_t{2} << 20;
constexpr size_t slice = size_t{1} << 20;
// The most of a block's bytes before its first node that a block's thread holds for the join;
// beyond, the block is decoded again in the rare case that a record runs on into them.
constexpr size_t leadingHeld = size_t{1} << 20;
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

// Decodes a stream of one block, handing its text to `take` a slice at a time until it returns
// false. False when the block does not decode (a damaged block, or a magic number that was
// only a chance pattern in the data).
template <typename Take>
bool decodeBlock(const std::string& stream, std::string& out, Take&& take) {
  Decompressor bz;
  bz->next_in = const_cast<char*>(stream.data());
  bz->avail_in = static_cast<unsigned>(stream.size());
  out.resize(slice);
  for (;;) {
    bz->next_out = out.data();
    bz->avail_out = static_cast<unsigned>(slice);
    const int result = BZ2_bzDecompress(bz.get());
    if (result == BZ_MEM_ERROR) throw std::bad_alloc();
    if (result != BZ_OK && result != BZ_STREAM_END) return false;
    if (!take(std::string_view(out.data(), slice - bz->avail_out))) return true;
    if (result == BZ_STREAM_END) return true;
    if (bz->avail_in == 0 && bz->avail_out != 0) return false;
  }
}

struct DecodedBlock {
  bool decoded = false;
  FilteredPiece piece;
  std::uint64_t endByte = 0;  // where the block ends in the file
  std::string stream;         // kept to decode it again when its leading bytes were cut
};

// A block to decode: where it lies, and its stream alone.
struct BlockJob {
  Bzip2Block block;
  std::string stream;
};

DecodedBlock decodeAndFilter(BlockJob& block, std::string& out) {
  DecodedBlock result;
  result.endByte = block.block.end / 8;
  PieceFilter filter(leadingHeld);
  try {
    result.decoded = decodeBlock(block.stream, out, [&](std::string_view text) {
      filter.feed(text);
      return true;
    });
  } catch (const std::bad_alloc&) {
    return result;  // no memory for it here: decoded again, in order, where it can fail aloud
  }
  result.piece = filter.finish();
  if (result.piece.leadingCut) result.stream = std::move(block.stream);
  return result;
}

// The bytes of a decoded block from `offset` to the end of its leading bytes.
LeadingReread rereadOf(const DecodedBlock& block) {
  return [&block](size_t offset, const std::function<bool(std::string_view)>& take) {
    std::string out;
    size_t at = 0;
    const size_t end = block.piece.leadingSize;
    decodeBlock(block.stream, out, [&](std::string_view text) {
      const size_t from = std::clamp(offset, at, at + text.size());
      const size_t to = std::clamp(end, at, at + text.size());
      at += text.size();
      const bool more = from >= to || take(text.substr(from - (at - text.size()), to - from));
      return more && at < end;
    });
  };
}

// Decodes the blocks on every core. False when the file's layout is not plain (a block that
// does not decode as one, a stream CRC that does not match, bytes between streams): then only
// a decoder reading from the start can tell what it holds.
bool decodeInParallel(platform::files::Reader& file, DecodedText& text, ReadProgress& progress) {
  TaggedNodeFilter filter(text);
  Bzip2BlockFinder finder;
  OrderedWork<BlockJob, DecodedBlock> blocks(decodeAndFilter, platform::coreCount(), 4 * platform::coreCount());
  std::string bytes(window, '\0');
  std::uint64_t joined = 0;
  for (bool ended = false;;) {
    BlockJob job;
    while (blocks.hasRoom() && finder.next(job.block, job.stream)) blocks.add(std::move(job));
    if (finder.shape() == Bzip2BlockFinder::Shape::Irregular) return false;
    if (finder.shape() == Bzip2BlockFinder::Shape::Truncated) {
      throw InputError(messages::incompleteCompressed(file.path()));
    }
    if (!ended && blocks.hasRoom() && finder.ready() == 0) {
      // More of the file, a window at a time.
      const size_t got = file.read(bytes.data(), bytes.size());
      if (got == 0) {
        ended = true;
        finder.end();
      } else {
        finder.add(std::string_view(bytes.data(), got));
      }
    } else if (blocks.pending()) {
      if (auto next = blocks.next(patience)) {
        if (!next->decoded) return false;
        joinPiece(filter, text, next->piece, rereadOf(*next));
        joined = next->endByte;
      }
    } else if (ended) {
      break;
    }
    if (!progress.proceed(joined)) throw Cancelled{};
  }
  filter.finish();
  return true;
}

// Decodes stream after stream from the start, as bzip2 itself does: for files whose blocks
// cannot be told apart, and to say what is wrong with a damaged one.
void decodeInOrder(platform::files::Reader& file, DecodedText& text, ReadProgress& progress) {
  TaggedNodeFilter filter(text);
  FilterThread filtering(filter);
  std::string input(window, '\0');
  std::uint64_t offset = 0;  // of the end of what was read
  size_t at = 0, end = 0;     // what is left of it in `input`
  const auto waiting = [&] {
    if (!progress.proceed(offset - (end - at))) throw Cancelled{};
  };
  const auto refill = [&] {
    std::copy(input.begin() + static_cast<std::ptrdiff_t>(at), input.begin() + static_cast<std::ptrdiff_t>(end), input.begin());
    end -= at;
    at = 0;
    const size_t got = file.readAt(input.data() + end, input.size() - end, offset);
    offset += got;
    end += got;
    return got > 0;
  };
  for (bool first = true;; first = false) {
    while (end - at < 4 && refill()) {
    }
    if (const AfterStream next = afterStream(std::string_view(input.data() + at, end - at), 0);
        next != AfterStream::Stream) {
      if (next == AfterStream::CutHeader) throw InputError(messages::incompleteCompressed(file.path()));
      if (first) throw InputError(messages::damagedCompressed(file.path()));
      break;  // bytes after the last stream are ignored
    }
    Decompressor bz;
    bool starved = false;  // the decoder took all it had and wants more
    for (int result = BZ_OK; result != BZ_STREAM_END;) {
      if (at == end && !refill() && starved) {
        throw InputError(messages::incompleteCompressed(file.path()));
      }
      bz->next_in = input.data() + at;
      bz->avail_in = static_cast<unsigned>(end - at);
      bz->next_out = filtering.room(waiting);
      bz->avail_out = static_cast<unsigned>(filtering.pieceSize());
      result = BZ2_bzDecompress(bz.get());
      filtering.hand(filtering.pieceSize() - bz->avail_out);
      at = static_cast<size_t>(bz->next_in - input.data());
      starved = bz->avail_in == 0 && bz->avail_out != 0;
      if (result == BZ_MEM_ERROR) throw std::bad_alloc();
      if (result != BZ_OK && result != BZ_STREAM_END) {
        throw InputError(messages::damagedCompressed(file.path()));
      }
      if (!progress.proceed(offset - (end - at))) throw Cancelled{};
    }
  }
  filtering.finish(waiting);
}

}  // namespace

Bzip2Path decodeBzip2(platform::files::Reader& file, DecodedText& text, ReadProgress& progress) {
  if (decodeInParallel(file, text, progress)) return Bzip2Path::Parallel;
  text.clear();
  decodeInOrder(file, text, progress);
  return Bzip2Path::InOrder;
}

}  // namespace waymint::input
