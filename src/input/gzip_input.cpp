// .osm.gz: inflated as it is read, member after member (parallel compressors write several),
// while another thread keeps what can be a POI.
#include <zlib.h>

#include <cstring>
#include <new>
#include <vector>

#include "input/decoders.h"
#include "input/filter_thread.h"
#include "input/input_error.h"
#include "messages/messages.h"

namespace waymint::input {
namespace {

constexpr size_t inputPiece = size_t{1} << 20;

class Inflater {
 public:
  Inflater() {
    if (inflateInit2(&m_stream, 16 + MAX_WBITS) != Z_OK) throw std::bad_alloc();
  }
  ~Inflater() { inflateEnd(&m_stream); }
  Inflater(const Inflater&) = delete;
  Inflater& operator=(const Inflater&) = delete;
  z_stream* operator->() { return &m_stream; }
  z_stream* get() { return &m_stream; }

 private:
  z_stream m_stream{};
};

}  // namespace

void inflateGzip(platform::files::Reader& file, DecodedText& text, ReadProgress& progress) {
  TaggedNodeFilter filter(text);
  FilterThread filtering(filter);
  Inflater z;
  std::vector<unsigned char> input(inputPiece);
  std::uint64_t told = 0;  // what the progress was last told
  const auto waiting = [&] {
    if (!progress.proceed(told)) throw Cancelled{};
  };
  std::uint64_t consumed = 0;
  bool betweenMembers = false;  // the last member ended; another may follow
  for (;;) {
    // Between members, the two bytes of a member's magic number are looked at together.
    const uInt wanted = betweenMembers ? 2 : 1;
    if (z->avail_in < wanted) {
      if (z->avail_in > 0) std::memmove(input.data(), z->next_in, z->avail_in);
      z->next_in = input.data();
      for (size_t got = 1; z->avail_in < wanted && got > 0;) {
        char* room = reinterpret_cast<char*>(input.data()) + z->avail_in;
        got = file.read(room, input.size() - z->avail_in);
        consumed += got;
        z->avail_in += static_cast<uInt>(got);
      }
      if (z->avail_in < wanted) break;
    }
    if (betweenMembers) {
      // What follows a member is another member or, as gzip and zlib allow, ignored trailing
      // bytes (such as the padding of a tape archive).
      if (z->next_in[0] != 0x1F || z->next_in[1] != 0x8B) break;
      if (inflateReset(z.get()) != Z_OK) {
        throw InputError(messages::damagedCompressed(file.path()));
      }
      betweenMembers = false;
    }
    z->next_out = reinterpret_cast<Bytef*>(filtering.room(waiting));
    z->avail_out = static_cast<uInt>(filtering.pieceSize());
    const int result = inflate(z.get(), Z_NO_FLUSH);
    filtering.hand(filtering.pieceSize() - z->avail_out);
    if (result == Z_STREAM_END) {
      betweenMembers = true;
    } else if (result == Z_MEM_ERROR) {
      throw std::bad_alloc();
    } else if (result != Z_OK && result != Z_BUF_ERROR) {
      throw InputError(messages::damagedCompressed(file.path()));
    }
    told = consumed - z->avail_in;
    if (!progress.proceed(told)) throw Cancelled{};
  }
  if (!betweenMembers) throw InputError(messages::incompleteCompressed(file.path()));
  filtering.finish(waiting);
}

}  // namespace waymint::input
