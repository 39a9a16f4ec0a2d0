#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/byte_buffer.h"

namespace waymint::input {

// The text a decoder makes of a compressed or binary file, written into one growing buffer.
// Once its first 64 KiB are there (or at the end) it must begin like an OSM file, so that a
// compressed picture, or compressed blanks without end, is refused early.
class DecodedText {
 public:
  DecodedText(std::string path, std::uint64_t memoryLimit);

  // Room for up to `size` bytes at the end; keep() then says how many were written.
  char* room(size_t size);
  void keep(size_t written);
  void append(std::string_view bytes);
  size_t size() const { return m_bytes.size(); }
  // Everything written so far goes (to decode again from the start).
  void clear();

  // The whole text, checked.
  platform::ByteBuffer finish();

 private:
  void checkHead(bool atEnd);

  std::string m_path;
  platform::ByteBuffer m_bytes;
  size_t m_asked = 0;
  bool m_headChecked = false;
};

}  // namespace waymint::input
