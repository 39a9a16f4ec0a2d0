#include "app/state.h"

#include <algorithm>

namespace waymint::app {

std::string_view ChunkTable::chunk(std::int32_t k) const {
  const auto begin = static_cast<std::int64_t>(k) * chunkSize;
  const auto size = static_cast<std::int64_t>(bytes.size());
  if (k < 0 || begin >= size) return {};
  return bytes.view().substr(static_cast<size_t>(begin),
                                        static_cast<size_t>(std::min(chunkSize, size - begin)));
}

}  // namespace waymint::app
