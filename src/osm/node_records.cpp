#include "osm/node_records.h"

#include <algorithm>
#include <cstring>

#include "osm/text_search.h"

namespace waymint::osm {
namespace {

constexpr std::string_view nodeStart = "<node ";
constexpr std::string_view nodeEnd = "</node>";

}  // namespace

NodeRecordCutter::NodeRecordCutter(std::string_view text, size_t begin, size_t limit)
    : m_text(text), m_limit(std::min(limit, text.size())), m_next(findText(text, nodeStart, begin)) {}

bool NodeRecordCutter::next(std::string_view& record) {
  if (m_next == npos || m_next >= m_limit) return false;
  const size_t start = m_next + nodeStart.size();
  const size_t following = findText(m_text, nodeStart, start);
  const size_t bound = following == npos ? m_text.size() : following;

  size_t end = bound;
  const void* gt = std::memchr(m_text.data() + start, '>', bound - start);
  if (gt) {
    const size_t t = static_cast<size_t>(static_cast<const char*>(gt) - m_text.data());
    if (m_text[t - 1] == '/') {
      end = t + 1;
    } else {
      size_t close = findText(m_text.substr(0, bound), nodeEnd, t + 1);
      if (close != npos) end = close + nodeEnd.size();
    }
  }
  record = m_text.substr(start, end - start);
  m_next = following;
  return true;
}

}  // namespace waymint::osm
