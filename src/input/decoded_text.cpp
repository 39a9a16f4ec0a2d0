#include "input/decoded_text.h"

#include <cstring>
#include <utility>

#include "input/format.h"
#include "input/input_error.h"
#include "messages/messages.h"

namespace waymint::input {

DecodedText::DecodedText(std::string path, std::uint64_t memoryLimit)
    : m_path(std::move(path)), m_bytes(platform::ByteBuffer::growable(memoryLimit)) {}

char* DecodedText::room(size_t size) {
  m_asked = size;
  return m_bytes.extend(size);
}

void DecodedText::keep(size_t written) {
  m_bytes.truncate(m_bytes.size() - (m_asked - written));
  m_asked = 0;
  checkHead(false);
}

void DecodedText::append(std::string_view bytes) {
  std::memcpy(room(bytes.size()), bytes.data(), bytes.size());
  keep(bytes.size());
}

void DecodedText::clear() {
  m_bytes.truncate(0);
  m_headChecked = false;
}

platform::ByteBuffer DecodedText::finish() {
  checkHead(true);
  return std::move(m_bytes);
}

void DecodedText::checkHead(bool atEnd) {
  if (m_headChecked || (!atEnd && m_bytes.size() < headSize)) return;
  if (!beginsLikeOsm(m_bytes.view())) throw InputError(messages::notOsmFile(m_path));
  m_headChecked = true;
}

}  // namespace waymint::input
