#pragma once

#include <string_view>

namespace waymint::osm {

// Cuts OSM text into node records. A record starts just after a "<node " and ends with its
// node element: after "<node ", let t be the first ">"; when the character before t is
// "/", the record ends just after t, otherwise just after the first "</node>" after t. When
// that end would lie beyond the next "<node " (or there is no such end), the record runs to
// the next "<node " or the end of the text. What lies between node elements (blanks, ways,
// relations, the end of the document) belongs to no record.
//
// Records are views into the text: nothing is copied.
class NodeRecordCutter {
 public:
  // Cuts the records whose "<node " starts in [begin, limit) of `text`; a record may run on
  // beyond `limit`, so the records of one chunk are whole.
  NodeRecordCutter(std::string_view text, size_t begin, size_t limit);
  explicit NodeRecordCutter(std::string_view text)
      : NodeRecordCutter(text, 0, text.size()) {}

  // The next record, or false when there is none.
  bool next(std::string_view& record);
  // Where the search for the next record goes on: progress through the text.
  size_t position() const { return m_next; }

 private:
  std::string_view m_text;
  size_t m_limit;
  size_t m_next;  // position of the next "<node ", or npos
};

}  // namespace waymint::osm
