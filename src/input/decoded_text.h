#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "input/tagged_node_filter.h"
#include "platform/byte_buffer.h"

namespace waymint::input {

// The text a reader keeps of a file, in one buffer that grows up to the memory allowed
// (beyond it std::bad_alloc). Its head must begin like an OSM file, so that a compressed
// picture, or compressed blanks without end, is refused as soon as its head is read.
class DecodedText : public KeptOutput {
 public:
  DecodedText(std::string path, std::uint64_t memoryLimit);

  void append(std::string_view bytes) override;
  void truncate(size_t size) override { m_bytes.truncate(size); }
  size_t size() const override { return m_bytes.size(); }
  std::string_view view() const override { return m_bytes.view(); }
  void headEnds(std::string_view head) override;
  // Everything written so far goes (to read again from the start).
  void clear() { m_bytes.truncate(0); }

  // The whole text.
  platform::ByteBuffer finish() { return std::move(m_bytes); }

 private:
  std::string m_path;
  platform::ByteBuffer m_bytes;
};

}  // namespace waymint::input
