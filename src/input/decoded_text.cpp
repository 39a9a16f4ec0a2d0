#include "input/decoded_text.h"

#include <cstring>
#include <utility>

#include "input/format.h"
#include "input/input_error.h"
#include "messages/messages.h"

namespace waymint::input {

DecodedText::DecodedText(std::string path, std::uint64_t memoryLimit)
    : m_path(std::move(path)), m_bytes(platform::ByteBuffer::growable(memoryLimit)) {}

void DecodedText::append(std::string_view bytes) {
  if (bytes.empty()) return;
  std::memcpy(m_bytes.extend(bytes.size()), bytes.data(), bytes.size());
}

void DecodedText::headEnds(std::string_view head) {
  if (!beginsLikeOsm(head)) throw InputError(messages::notOsmFile(m_path));
}

}  // namespace waymint::input
