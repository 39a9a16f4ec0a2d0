#include "app/node_records.h"

#include <algorithm>
#include <cstring>

#include "app/state.h"
#include "app/text_search.h"

namespace waymint::app {
namespace {

constexpr std::string_view nodeStart = "<node ";
constexpr std::string_view nodeEnd = "</node>";
constexpr size_t npos = std::string_view::npos;

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

NodeRecordCutter chunkRecords(const ChunkTable& chunks, std::int32_t k) {
  const auto begin = static_cast<std::int64_t>(k) * chunkSize;
  const auto size = static_cast<std::int64_t>(chunks.bytes.size());
  if (k < 0 || begin >= size) return NodeRecordCutter(std::string_view(), 0, 0);
  // The last chunk takes every record up to the end of the file.
  const std::int64_t limit = k >= chunks.chunkmax ? size : std::min(size, begin + chunkSize);
  return NodeRecordCutter(chunks.bytes, static_cast<size_t>(begin), static_cast<size_t>(limit));
}

}  // namespace waymint::app
