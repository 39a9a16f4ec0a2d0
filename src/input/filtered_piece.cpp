#include "input/filtered_piece.h"

#include <stdexcept>

namespace waymint::input {

FilteredPiece PieceFilter::finish() {
  FilteredPiece piece;
  piece.tail = m_filter.takeTail();
  piece.leading = m_filter.leading();
  piece.leadingCut = m_filter.leadingCut();
  piece.leadingSize = m_filter.leadingSize();
  piece.sawNode = m_filter.sawNode();
  piece.kept = std::move(m_kept.text);
  return piece;
}

void joinPiece(TaggedNodeFilter& text, KeptOutput& out, const FilteredPiece& piece,
               const LeadingReread& reread) {
  text.feedWithoutNodes(piece.leading);
  if (piece.leadingCut) {
    // Only a record still open, or a head not yet whole, needs the leading bytes not held.
    if (text.wantsBytes()) {
      if (!reread) throw std::logic_error("a piece's leading bytes are needed again");
      reread(piece.leading.size(), [&](std::string_view bytes) {
        text.feedWithoutNodes(bytes);
        return text.wantsBytes();
      });
    }
    if (!text.wantsBytes()) text.skipped();
  }
  if (piece.sawNode) {
    text.nodeStartsHere();
    out.append(piece.kept);
  }
  text.feed(piece.tail);
}

}  // namespace waymint::input
