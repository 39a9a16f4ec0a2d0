#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace waymint::platform {

// Bytes held once in memory, read through views: a text handed over whole, or memory of its
// own that grows as a file is read or decoded into it. Moves, never copies.
class ByteBuffer {
 public:
  ByteBuffer() = default;
  ByteBuffer(std::string text) : m_text(std::move(text)) {}  // NOLINT: a text is bytes
  ByteBuffer(ByteBuffer&& other) noexcept;
  ByteBuffer& operator=(ByteBuffer&& other) noexcept;
  ByteBuffer(const ByteBuffer&) = delete;
  ByteBuffer& operator=(const ByteBuffer&) = delete;
  ~ByteBuffer();

  // Empty memory that may grow to `limit` bytes, taken from the system as it is written (in
  // large pages where the system has them). With less address space than that, as much as
  // there is. Throws std::bad_alloc when there is none.
  static ByteBuffer growable(size_t limit);
  // Room for `size` more bytes at the end; size() counts them at once. Throws std::bad_alloc
  // beyond the limit. Growable buffers only. The room is made ready for writing in one call
  // to the system unless `ready` is false: then whoever writes it makes each piece ready with
  // prepare(), on as many threads as write it.
  char* extend(size_t size, bool ready = true);
  // Makes [offset, offset + size) ready for writing: its pages are taken from the system in one
  // call, which costs a fraction of taking them one by one while writing.
  void prepare(size_t offset, size_t size);
  // Keeps only the first `size` bytes.
  void truncate(size_t size);

  // Whether extend() may add to it.
  bool growable() const { return m_memory != nullptr; }
  const char* data() const { return m_memory ? m_memory : m_text.data(); }
  char* data() { return m_memory ? m_memory : m_text.data(); }
  size_t size() const { return m_memory ? m_size : m_text.size(); }
  bool empty() const { return size() == 0; }
  std::string_view view() const { return {data(), size()}; }
  operator std::string_view() const { return view(); }  // NOLINT: views are how it is read

 private:
  void release();

  std::string m_text;
  char* m_memory = nullptr;
  size_t m_reserved = 0;   // the memory's whole extent
  size_t m_size = 0;       // bytes in use
  size_t m_committed = 0;  // bytes made ready for writing by extend()
};

}  // namespace waymint::platform
