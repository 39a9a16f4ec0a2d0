#include "platform/byte_buffer.h"

#include <sys/mman.h>

#include <algorithm>
#include <new>
#include <utility>

namespace waymint::platform {
namespace {

// Below this size an ordinary string is as quick.
constexpr size_t ownMemoryFrom = size_t{4} << 20;

}  // namespace

ByteBuffer::ByteBuffer(ByteBuffer&& other) noexcept
    : m_text(std::move(other.m_text)),
      m_map(std::exchange(other.m_map, nullptr)),
      m_mapSize(std::exchange(other.m_mapSize, 0)),
      m_size(std::exchange(other.m_size, 0)) {
  other.m_text.clear();
}

ByteBuffer& ByteBuffer::operator=(ByteBuffer&& other) noexcept {
  if (this != &other) {
    release();
    m_text = std::move(other.m_text);
    other.m_text.clear();
    m_map = std::exchange(other.m_map, nullptr);
    m_mapSize = std::exchange(other.m_mapSize, 0);
    m_size = std::exchange(other.m_size, 0);
  }
  return *this;
}

ByteBuffer::~ByteBuffer() { release(); }

void ByteBuffer::release() {
  if (m_map) ::munmap(m_map, m_mapSize);
  m_map = nullptr;
  m_mapSize = 0;
  m_size = 0;
  m_text.clear();
}

ByteBuffer ByteBuffer::withRoomFor(size_t size) {
  ByteBuffer buffer;
  if (size < ownMemoryFrom) {
    buffer.m_text.resize(size);
    return buffer;
  }
  void* memory =
      ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (memory == MAP_FAILED) throw std::bad_alloc();
  buffer.m_map = static_cast<char*>(memory);
  buffer.m_mapSize = size;
  buffer.m_size = size;
  return buffer;
}

void ByteBuffer::prepare(size_t offset, size_t size) {
#ifdef MADV_POPULATE_WRITE
  if (!m_map || offset >= m_size) return;
  // Whole pages only; a system without this advice faults the pages in as they are written.
  const size_t page = 4096;
  const size_t begin = offset & ~(page - 1);
  const size_t end = std::min(m_mapSize, offset + size);
  ::madvise(m_map + begin, end - begin, MADV_POPULATE_WRITE);
#else
  (void)offset;
  (void)size;
#endif
}

std::string ByteBuffer::takeString() && {
  if (!m_map) return std::move(m_text);
  std::string whole(view());
  release();
  return whole;
}

void ByteBuffer::truncate(size_t size) {
  if (m_map) {
    m_size = std::min(m_size, size);
  } else if (size < m_text.size()) {
    m_text.resize(size);
  }
}

void ByteBuffer::append(std::string_view bytes) {
  if (bytes.empty()) return;
  if (m_map) {
    std::string whole(view());
    release();
    m_text = std::move(whole);
  }
  m_text.append(bytes);
}

}  // namespace waymint::platform
