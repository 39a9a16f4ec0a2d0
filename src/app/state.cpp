#include "app/state.h"

#include <algorithm>

namespace waymint::app {

size_t ChunkTable::chunkEnd(std::int32_t k) const {
  if (k >= chunkmax) return bytes.size();
  const auto next = static_cast<std::uint64_t>(k + 1) * static_cast<std::uint64_t>(chunkSize);
  return static_cast<size_t>(std::min<std::uint64_t>(bytes.size(), next));
}

}  // namespace waymint::app
