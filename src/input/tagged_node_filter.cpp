#include "input/tagged_node_filter.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "input/format.h"
#include "osm/text_finder.h"
#include "osm/text_search.h"

namespace waymint::input {
namespace {

using osm::npos;

constexpr std::string_view nodeStart = "<node ";
constexpr std::string_view nodeEnd = "</node>";
constexpr std::string_view tagStart = "<tag ";

// What a "<" begins, of the texts that cut records.
enum class Token { None, Node, NodeEnd, Tag, NeedMore };

// The token the "<" at `at` inside a record begins: "<node ", "<tag ", or "</node>" in the
// record's body. NeedMore when the view ends inside what may still become one of them.
Token tokenAt(std::string_view view, size_t at, bool final, bool inBody) {
  const std::string_view rest = view.substr(at, nodeEnd.size());
  bool partial = false;
  const auto is = [&](std::string_view token) {
    if (rest.size() >= token.size()) return rest.substr(0, token.size()) == token;
    partial = partial || token.substr(0, rest.size()) == rest;
    return false;
  };
  if (is(nodeStart)) return Token::Node;
  if (is(tagStart)) return Token::Tag;
  if (inBody && is(nodeEnd)) return Token::NodeEnd;
  return partial && !final ? Token::NeedMore : Token::None;
}

// The first '<' or '>' at or after `from`, or npos.
size_t findAngle(std::string_view view, size_t from) {
  const char* base = view.data();
  size_t i = from;
#if defined(__SSE2__)
  const __m128i lt = _mm_set1_epi8('<');
  const __m128i gt = _mm_set1_epi8('>');
  for (; i + 16 <= view.size(); i += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + i));
    const auto mask = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, lt), _mm_cmpeq_epi8(block, gt))));
    if (mask != 0) return i + static_cast<size_t>(__builtin_ctz(mask));
  }
#endif
  for (; i < view.size(); ++i) {
    if (base[i] == '<' || base[i] == '>') return i;
  }
  return npos;
}

size_t findChar(std::string_view view, size_t from, char c) {
  if (from >= view.size()) return npos;
  const void* hit = std::memchr(view.data() + from, c, view.size() - from);
  return hit ? static_cast<size_t>(static_cast<const char*>(hit) - view.data()) : npos;
}

// The first "<node " at or after `from`; else, with `partial` set, the start of one that the
// end of the view cuts; else npos. Between node elements the next "<" is mostly the next node.
size_t findNodeStart(std::string_view view, size_t from, bool& partial) {
  static const osm::TextFinder finder(nodeStart, osm::TextFinder::Case::Exact);
  partial = false;
  const size_t lt = findChar(view, from, '<');
  if (lt == npos) return npos;
  if (view.compare(lt, nodeStart.size(), nodeStart) == 0) return lt;
  if (const size_t found = finder.findIn(view, lt + 1); found != npos) return found;
  for (size_t at = std::max(lt, view.size() - std::min(view.size(), nodeStart.size() - 1));
       at < view.size(); ++at) {
    if (view[at] == '<' && nodeStart.starts_with(view.substr(at))) {
      partial = true;
      return at;
    }
  }
  return npos;
}

}  // namespace

TaggedNodeFilter::TaggedNodeFilter(KeptOutput& out, Leading leading, size_t leadingCap)
    : m_out(out),
      m_leadingKind(leading),
      // A piece holds at least the bytes that tell whether a node begun before it goes on.
      m_leadingCap(leading == Leading::Head ? headSize : std::max(leadingCap, nodeStart.size())) {}

void TaggedNodeFilter::feed(std::string_view bytes, bool final, bool withoutNodes) {
  if (withoutNodes && skipWithoutNodes(bytes)) return;
  if (m_carry.empty()) {
    scan(bytes, final, withoutNodes ? 0 : npos);
    return;
  }
  // A token cut by the end of the previous piece: read on from its start.
  const size_t carried = m_carry.size();
  m_scratch.assign(m_carry);
  m_scratch.append(bytes);
  m_carry.clear();
  scan(m_scratch, final, withoutNodes ? carried : npos);
}

// Between records (or past a full head), bytes without a "<node " hold nothing to keep; only a
// "<node " begun in the carry would start a record among them.
bool TaggedNodeFilter::skipWithoutNodes(std::string_view bytes) {
  const bool dropping = m_mode == Mode::Gap ||
                        (m_mode == Mode::Leading && m_leadingKind == Leading::Head && m_headEnded);
  if (!dropping) return false;
  if (!m_carry.empty()) {
    // Too few bytes to tell, or a node that did begin: read them.
    const std::string joined = m_carry + std::string(bytes.substr(0, nodeStart.size()));
    if (joined.size() < m_carry.size() + nodeStart.size() - 1) return false;
    for (size_t at = 0; at < m_carry.size(); ++at) {
      if (joined.compare(at, nodeStart.size(), nodeStart) == 0) return false;
    }
  }
  m_carry.clear();
  if (!bytes.empty()) m_lastByte = bytes.back();
  return true;
}

void TaggedNodeFilter::scan(std::string_view view, bool final, size_t nodesEndAt) {
  m_recordStart = npos;
  for (size_t at = 0; at != npos;) {
    at = recordOpen() ? scanRecord(view, at, final) : scanLeading(view, at, final, nodesEndAt);
  }
  if (m_carry.empty() && !view.empty()) m_lastByte = view.back();
}

// Before the first record or between records: up to the next "<node ".
size_t TaggedNodeFilter::scanLeading(std::string_view view, size_t at, bool final, size_t nodesEndAt) {
  // Past `nodesEndAt` no "<node " begins: only the bytes before it and the next five are searched.
  std::string_view searched = view;
  if (nodesEndAt != npos && nodesEndAt + nodeStart.size() - 1 < view.size()) {
    searched = view.substr(0, nodesEndAt + nodeStart.size() - 1);
  }
  bool partial = false;
  const size_t node = at < searched.size() ? findNodeStart(searched, at, partial) : npos;
  if (node == npos || partial) {
    const size_t done = partial && !final && searched.size() == view.size() ? node : view.size();
    if (m_mode == Mode::Leading) keepLeading(view.substr(at, done - at));
    m_carry.assign(view.substr(done));
    return npos;
  }
  if (m_mode == Mode::Leading) {
    keepLeading(view.substr(at, node - at));
    endLeading(true);
  }
  startRecord(node);
  return node + nodeStart.size();
}

// Inside a record: up to its end, or to the end of the view with the record held open.
size_t TaggedNodeFilter::scanRecord(std::string_view view, size_t at, bool final) {
  const size_t cap = capInView();
  for (;;) {
    const size_t q = m_mode == Mode::StartTag ? findAngle(view, at) : findChar(view, at, '<');
    if (q == npos || q >= cap) {
      if (cap <= view.size() || final) {
        endRecord(view, std::min(cap, view.size()));
        return cap < view.size() ? cap : npos;
      }
      holdOpenRecord(view, view.size());
      return npos;
    }
    if (view[q] == '>') {
      if ((q > 0 ? view[q - 1] : m_lastByte) == '/') {
        endRecord(view, q + 1);
        return q + 1;
      }
      m_mode = Mode::Body;
      at = q + 1;
      continue;
    }
    switch (tokenAt(view, q, final, m_mode == Mode::Body)) {
      case Token::Node:
        endRecord(view, q);
        startRecord(q);
        return q + nodeStart.size();
      case Token::NodeEnd:
        endRecord(view, q + nodeEnd.size());
        return q + nodeEnd.size();
      case Token::Tag:
        m_tagged = m_tagged || q + tagStart.size() <= cap;
        at = q + tagStart.size();
        break;
      case Token::NeedMore:
        holdOpenRecord(view, q);
        m_carry.assign(view.substr(q));
        return npos;
      case Token::None:
        at = q + 1;
        break;
    }
  }
}

void TaggedNodeFilter::startRecord(size_t at) {
  m_mode = Mode::StartTag;
  m_recordStart = at;
  m_recordBefore = 0;
  m_tagged = false;
  m_sawNode = true;
}

// The record ends at `end` of the view: kept when it holds a tag.
void TaggedNodeFilter::endRecord(std::string_view view, size_t end) {
  if (m_recordStart != npos) {
    if (m_tagged) m_out.append(view.substr(m_recordStart, end - m_recordStart));
  } else if (m_tagged) {
    m_out.append(view.substr(0, end));
  } else {
    m_out.truncate(m_recordOut);
  }
  m_recordStart = npos;
  m_mode = Mode::Gap;
}

// The view ends inside the record: its bytes so far are written ahead.
void TaggedNodeFilter::holdOpenRecord(std::string_view view, size_t upTo) {
  if (m_recordStart != npos) {
    m_recordOut = m_out.size();
    m_out.append(view.substr(m_recordStart, upTo - m_recordStart));
    m_recordBefore = upTo - m_recordStart - nodeStart.size();
    m_recordStart = npos;
  } else {
    m_out.append(view.substr(0, upTo));
    m_recordBefore += upTo;
  }
}

// Where, in the view scanned, the open record reaches longestRecord bytes.
size_t TaggedNodeFilter::capInView() const {
  if (m_recordStart != npos) return m_recordStart + nodeStart.size() + longestRecord;
  return longestRecord - m_recordBefore;
}

void TaggedNodeFilter::keepLeading(std::string_view bytes) {
  const size_t room = m_leadingCap - std::min(m_leadingCap, m_leadingSeen);
  const std::string_view kept = bytes.substr(0, room);
  m_leadingSeen += bytes.size();
  if (m_leadingKind == Leading::Head) {
    m_out.append(kept);
    if (m_leadingSeen >= m_leadingCap) endLeading(false);
  } else {
    m_leading.append(kept);
    m_leadingCut = m_leadingCut || kept.size() < bytes.size();
  }
}

void TaggedNodeFilter::endLeading(bool byNode) {
  if (m_leadingKind != Leading::Head || m_headEnded) return;
  m_headEnded = true;
  std::string head(m_out.view().substr(0, headSize));
  if (byNode) head += nodeStart;
  m_out.headEnds(head);
}

void TaggedNodeFilter::nodeStartsHere() {
  switch (m_mode) {
    case Mode::Leading:
      keepLeading(m_carry);
      endLeading(true);
      break;
    case Mode::Gap:
      break;
    case Mode::StartTag:
    case Mode::Body:
      if (m_tagged) {
        m_out.append(m_carry);
      } else {
        m_out.truncate(m_recordOut);
      }
      break;
  }
  m_carry.clear();
  m_sawNode = true;
  m_mode = Mode::Gap;
}

void TaggedNodeFilter::finish() {
  const std::string rest = std::move(m_carry);
  m_carry.clear();
  scan(rest, true, npos);
  if (m_mode == Mode::Leading) endLeading(false);
}

std::string TaggedNodeFilter::takeTail() {
  std::string tail;
  if (recordOpen()) {
    tail = m_out.view().substr(m_recordOut);
    m_out.truncate(m_recordOut);
  }
  tail += m_carry;
  m_carry.clear();
  return tail;
}

}  // namespace waymint::input
