#include "osm/records_holding.h"

#include <algorithm>
#include <utility>

#include "osm/node_records.h"
#include "osm/text_search.h"

namespace waymint::osm {
namespace {

constexpr std::string_view nodeStart = "<node ";

}  // namespace

RecordsHolding::RecordsHolding(std::string_view text, TextFinder wanted, size_t from)
    : m_text(text),
      m_wanted(std::move(wanted)),
      m_from(std::min(from, text.size())),
      m_nextNode(findText(text, nodeStart, m_from)) {}

bool RecordsHolding::next(std::string_view& record, size_t upTo) {
  upTo = std::min(upTo, m_text.size());
  while (m_nextNode != npos) {
    // An occurrence before the text of the next record lies in no record left to look at.
    const size_t from = std::max(m_from, m_nextNode + nodeStart.size());
    if (from >= upTo) break;
    const size_t searchEnd = std::min(m_text.size(), upTo + m_wanted.size() - 1);
    const size_t hit = m_wanted.findIn(m_text.substr(0, searchEnd), from);
    if (hit == npos) break;

    const size_t start = findLastText(m_text, nodeStart, m_nextNode, hit);
    NodeRecordCutter cutter(m_text, start, start + 1);
    std::string_view candidate;
    cutter.next(candidate);
    const size_t end = start + nodeStart.size() + candidate.size();
    m_nextNode = cutter.position();
    if (hit + m_wanted.size() > end) {
      // The occurrence runs past the record's end, and so does every later one in it.
      m_from = std::max(end, hit + 1);
      continue;
    }
    m_from = end;
    record = candidate;
    return true;
  }
  m_from = std::max(m_from, upTo);
  return false;
}

}  // namespace waymint::osm
