#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace waymint::platform {

// Bytes held once in memory: a whole file as it was read, or a text handed over whole. A big
// buffer lives in memory of its own whose pages the system makes ready in one go, which
// halves the time a big file takes to read from the page cache. Moves, never copies.
class ByteBuffer {
 public:
  ByteBuffer() = default;
  ByteBuffer(std::string text) : m_text(std::move(text)) {}  // NOLINT: a text is bytes
  ByteBuffer(ByteBuffer&& other) noexcept;
  ByteBuffer& operator=(ByteBuffer&& other) noexcept;
  ByteBuffer(const ByteBuffer&) = delete;
  ByteBuffer& operator=(const ByteBuffer&) = delete;
  ~ByteBuffer();

  // `size` bytes of room, their content unset. Throws std::bad_alloc when there is no room.
  static ByteBuffer withRoomFor(size_t size);
  // Makes the pages of [offset, offset + size) ready in one call before they are written, as
  // a whole buffer's would be at once: piece by piece, the program stays responsive.
  void prepare(size_t offset, size_t size);

  const char* data() const { return m_map ? m_map : m_text.data(); }
  char* data() { return m_map ? m_map : m_text.data(); }
  size_t size() const { return m_map ? m_size : m_text.size(); }
  bool empty() const { return size() == 0; }
  std::string_view view() const { return {data(), size()}; }
  operator std::string_view() const { return view(); }  // NOLINT: views are how it is read

  // The bytes as a string, taking them over when they are held as one.
  std::string takeString() &&;

  // Keeps only the first `size` bytes.
  void truncate(size_t size);
  // Adds bytes at the end (rare: a file that grew while it was read).
  void append(std::string_view bytes);

 private:
  void release();

  std::string m_text;
  char* m_map = nullptr;
  size_t m_mapSize = 0;
  size_t m_size = 0;
};

}  // namespace waymint::platform
