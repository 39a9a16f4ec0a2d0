#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "input/tagged_node_filter.h"

namespace waymint::input {

// What a piece of a text filtered on a thread of its own leaves for the one that joins the
// pieces in order: the records that begin and end in the piece, kept; and what it cannot settle
// alone, since it does not know how the text before it ended: the bytes before its first
// "<node " (a record of an earlier piece may run on into them) and a record still open at its
// end (it may run on into the next piece).
struct FilteredPiece {
  std::string leading;      // the bytes before its first "<node " (all when none), as held
  bool leadingCut = false;  // there were more of them than held
  size_t leadingSize = 0;   // how many there were
  bool sawNode = false;
  std::string kept;         // the kept records that begin and end in it
  std::string tail;         // its unfinished end
};

// Filters a piece given in one or more parts, on the thread that made them.
class PieceFilter {
 public:
  explicit PieceFilter(size_t leadingCap) : m_filter(m_kept, TaggedNodeFilter::Leading::Piece, leadingCap) {}
  void feed(std::string_view bytes) { m_filter.feed(bytes); }
  FilteredPiece finish();

 private:
  StringOutput m_kept;
  TaggedNodeFilter m_filter;
};

// The bytes of a piece from `offset` to the end of its leading bytes, handed to `take` in
// parts until it returns false: for a piece whose leading bytes were cut when a record of an
// earlier piece runs on into them.
using LeadingReread = std::function<void(size_t offset, const std::function<bool(std::string_view)>& take)>;

// Joins the next piece to the text filtered so far (`text` writing into `out`).
void joinPiece(TaggedNodeFilter& text, KeptOutput& out, const FilteredPiece& piece,
               const LeadingReread& reread = {});

}  // namespace waymint::input
