#include "platform/byte_buffer.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <new>
#include <utility>

namespace waymint::platform {
namespace {

// Memory is made ready for writing this much at a time: one call to the system per piece.
constexpr size_t commitPiece = size_t{32} << 20;
constexpr size_t smallestReserve = size_t{64} << 20;

}  // namespace

ByteBuffer::ByteBuffer(ByteBuffer&& other) noexcept { *this = std::move(other); }

ByteBuffer& ByteBuffer::operator=(ByteBuffer&& other) noexcept {
  if (this != &other) {
    release();
    m_text = std::move(other.m_text);
    other.m_text.clear();
    m_memory = std::exchange(other.m_memory, nullptr);
    m_reserved = std::exchange(other.m_reserved, 0);
    m_size = std::exchange(other.m_size, 0);
    m_committed = std::exchange(other.m_committed, 0);
  }
  return *this;
}

ByteBuffer::~ByteBuffer() { release(); }

void ByteBuffer::release() {
  if (m_memory) ::munmap(m_memory, m_reserved);
  m_memory = nullptr;
  m_reserved = m_size = m_committed = 0;
  m_text.clear();
}

ByteBuffer ByteBuffer::growable(size_t limit) {
  // The address space may be smaller than the memory (a process limit): take what there is.
  for (size_t reserve = std::max(limit, size_t{1}); reserve > 0; reserve /= 2) {
    void* memory = ::mmap(nullptr, reserve, PROT_READ | PROT_WRITE,
                          MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (memory != MAP_FAILED) {
#ifdef MADV_HUGEPAGE
      ::madvise(memory, reserve, MADV_HUGEPAGE);
#endif
      ByteBuffer buffer;
      buffer.m_memory = static_cast<char*>(memory);
      buffer.m_reserved = reserve;
      return buffer;
    }
    if (reserve <= smallestReserve) break;
  }
  throw std::bad_alloc();
}

char* ByteBuffer::extend(size_t size, bool ready) {
  if (!m_memory || size > m_reserved - m_size) throw std::bad_alloc();
  char* room = m_memory + m_size;
  m_size += size;
  if (!ready) {
    m_committed = std::max(m_committed, m_size);
  } else if (m_size > m_committed) {
    const size_t end = std::min(m_reserved, std::max(m_size, m_committed + commitPiece));
#ifdef MADV_POPULATE_WRITE
    // Pages made ready in one call cost a fraction of those met one by one while writing; a
    // system that cannot do it makes them ready as they are written.
    if (::madvise(m_memory + m_committed, end - m_committed, MADV_POPULATE_WRITE) != 0 &&
        errno == ENOMEM) {
      m_size -= size;
      throw std::bad_alloc();
    }
#endif
    m_committed = end;
  }
  return room;
}

void ByteBuffer::truncate(size_t size) {
  if (m_memory) {
    m_size = std::min(m_size, size);
  } else if (size < m_text.size()) {
    m_text.resize(size);
  }
}

void ByteBuffer::prepare(size_t offset, size_t size) {
#ifdef MADV_POPULATE_WRITE
  if (!m_memory || offset >= m_reserved) return;
  // Whole pages only; a system that cannot do it makes the pages ready as they are written.
  const auto page = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
  const size_t begin = offset & ~(page - 1);
  const size_t end = std::min(m_reserved, offset + size);
  ::madvise(m_memory + begin, end - begin, MADV_POPULATE_WRITE);
#else
  (void)offset;
  (void)size;
#endif
}

}  // namespace waymint::platform
