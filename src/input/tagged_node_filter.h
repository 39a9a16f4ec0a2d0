#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace waymint::input {

// Where the kept text goes. The bytes of a record whose end is not known yet are written ahead
// and taken back (truncate) when it turns out to hold no tag.
class KeptOutput {
 public:
  virtual ~KeptOutput() = default;
  virtual void append(std::string_view bytes) = 0;
  virtual void truncate(size_t size) = 0;
  virtual size_t size() const = 0;
  virtual std::string_view view() const = 0;
  // The head is complete: the bytes before the text's first "<node " (at most headSize of
  // them), followed by "<node " when a node ends it. Called once, in Head mode only.
  virtual void headEnds(std::string_view head) { (void)head; }
};

// A kept text in a string of its own: what one piece of a file read in parallel keeps.
class StringOutput : public KeptOutput {
 public:
  void append(std::string_view bytes) override { text.append(bytes); }
  void truncate(size_t size) override { text.resize(std::min(size, text.size())); }
  size_t size() const override { return text.size(); }
  std::string_view view() const override { return text; }
  std::string text;
};

// The most of one record that is kept: a record whose end is still not in sight after this
// many bytes (a node element that never closes runs to the next "<node ", possibly through the
// rest of the file) is cut here, and what follows it up to the next "<node " is dropped.
inline constexpr size_t longestRecord = size_t{128} << 20;

// Keeps, of an OSM text streaming through it in pieces of any size, what can be a POI: its
// head (the text before its first "<node ", at most its first headSize bytes) and each node
// record that holds a tag ("<tag "), whole, as "<node " and the record. Records are cut as
// osm::NodeRecordCutter cuts them: from after "<node " to the first ">" when "/" precedes
// it, else to the first "</node>" after that ">", unless another "<node " comes first, which
// then ends the record. Ways, relations, untagged nodes and the blanks between are dropped.
// So the kept text, cut again, gives the very records that hold a tag, in order: the survey
// and the runs find in it what they find in the whole text.
//
// The text is looked at once, 16 bytes at a time where the platform allows: a record within
// a piece is kept by one copy, and only a record still open at the end of a piece is written
// ahead into the output.
class TaggedNodeFilter {
 public:
  enum class Leading {
    Head,   // the start of a text: what precedes its first "<node " is its head, kept
    Piece,  // a piece of a text read in parallel: what precedes its first "<node " is held
            // apart (leading()) for whoever joins the pieces, at most `leadingCap` bytes
  };
  explicit TaggedNodeFilter(KeptOutput& out, Leading leading = Leading::Head,
                            size_t leadingCap = 0);

  void feed(std::string_view bytes) { feed(bytes, false, false); }
  // Bytes among which no "<node " begins (one that began before them may end among them):
  // where no record is open they are skipped unread.
  void feedWithoutNodes(std::string_view bytes) { feed(bytes, false, true); }
  // What follows begins with "<node ": a record still open ends here.
  void nodeStartsHere();
  // The text ends: a record still open ends with it.
  void finish();
  // Bytes were left out here: no "<node " began among them and no record was open across them,
  // so a token begun before them is forgotten.
  void skipped() { m_carry.clear(); }

  // Whether a record is open: its end is not known yet.
  bool recordOpen() const { return m_mode == Mode::StartTag || m_mode == Mode::Body; }
  // Whether the next bytes may be kept, though no "<node " begins among them: they may belong
  // to an open record or to the head.
  bool wantsBytes() const {
    return recordOpen() || (m_mode == Mode::Leading && m_leadingKind == Leading::Head && !m_headEnded);
  }
  // Piece mode: whether a "<node " was met; the bytes before it (all bytes when none was) as
  // held, and whether there were more of them than held.
  bool sawNode() const { return m_sawNode; }
  const std::string& leading() const { return m_leading; }
  size_t leadingSize() const { return m_leadingSeen; }
  bool leadingCut() const { return m_leadingCut; }
  // Piece mode, after the last bytes: what the piece leaves unfinished (a record still open,
  // from its "<node ", or the start of one that may go on in the next piece), which then leaves
  // the output.
  std::string takeTail();

 private:
  enum class Mode { Leading, Gap, StartTag, Body };

  void feed(std::string_view bytes, bool final, bool withoutNodes);
  bool skipWithoutNodes(std::string_view bytes);
  void scan(std::string_view view, bool final, size_t nodesEndAt);
  size_t scanLeading(std::string_view view, size_t at, bool final, size_t nodesEndAt);
  size_t scanRecord(std::string_view view, size_t at, bool final);
  void startRecord(size_t at);
  void endRecord(std::string_view view, size_t end);
  void holdOpenRecord(std::string_view view, size_t upTo);
  void keepLeading(std::string_view bytes);
  void endLeading(bool byNode);
  size_t capInView() const;

  KeptOutput& m_out;
  const Leading m_leadingKind;
  const size_t m_leadingCap;
  Mode m_mode = Mode::Leading;

  std::string m_carry;    // the last bytes of the previous piece: the start of a token
  std::string m_scratch;  // the carry and the next piece, when there is a carry
  char m_lastByte = '\0';  // the byte before the piece

  std::string m_leading;   // Piece mode: the bytes before the first "<node "
  size_t m_leadingSeen = 0;
  bool m_leadingCut = false;
  bool m_headEnded = false;
  bool m_sawNode = false;

  // The open record: where its "<node " is in the piece scanned (npos when it began in an
  // earlier piece), where its bytes begin in the output when they are written ahead, how many
  // bytes of it earlier pieces held, and whether a tag was met in it.
  size_t m_recordStart = 0;
  size_t m_recordOut = 0;
  size_t m_recordBefore = 0;
  bool m_tagged = false;
};

}  // namespace waymint::input
