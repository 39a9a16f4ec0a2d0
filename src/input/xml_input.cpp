// .osm: read in pieces on every core, each piece filtered by the thread that read it, the
// pieces joined in file order. The file is never held whole: only what can be a POI is kept.
#include <algorithm>
#include <chrono>
#include <string>

#include "input/decoders.h"
#include "input/filtered_piece.h"
#include "input/input_error.h"
#include "input/ordered_work.h"
#include "messages/messages.h"
#include "platform/threads.h"

namespace waymint::input {
namespace {

constexpr size_t piece = size_t{4} << 20;
constexpr auto patience = std::chrono::milliseconds(20);

// The piece at `offset`, read and filtered. A file shorter than when it was measured is no
// longer the file whose length was taken.
FilteredPiece readPiece(platform::files::Reader& file, std::uint64_t length, std::uint64_t offset,
                        std::string& buffer) {
  const auto size = static_cast<size_t>(std::min<std::uint64_t>(piece, length - offset));
  buffer.resize(piece);
  for (size_t got = 0; got < size;) {
    const size_t more = file.readAt(buffer.data() + got, size - got, offset + got);
    if (more == 0) throw InputError(messages::changedWhileRead(file.path()));
    got += more;
  }
  PieceFilter filter(piece);
  filter.feed(std::string_view(buffer.data(), size));
  return filter.finish();
}

}  // namespace

void readXml(platform::files::Reader& file, DecodedText& text, ReadProgress& progress) {
  const std::uint64_t length = file.length();
  TaggedNodeFilter filter(text);
  OrderedWork<std::uint64_t, FilteredPiece> pieces(
      [&](std::uint64_t& offset, std::string& buffer) { return readPiece(file, length, offset, buffer); },
      platform::coreCount(), 2 * platform::coreCount());
  std::uint64_t added = 0, joined = 0;
  for (;;) {
    for (; pieces.hasRoom() && added < length; added += piece) pieces.add(added);
    if (!pieces.pending()) break;
    if (auto next = pieces.next(patience)) {
      joinPiece(filter, text, *next);
      joined = std::min(length, joined + piece);
    }
    if (!progress.proceed(joined)) throw Cancelled{};
  }
  filter.finish();
  if (file.currentLength() != length) throw InputError(messages::changedWhileRead(file.path()));
}

}  // namespace waymint::input
