#include "cli/descriptor_output.h"

#include <unistd.h>

#include <cerrno>

namespace waymint::cli {

namespace {
constexpr size_t bufferSize = 64 * 1024;
}

DescriptorOutput::DescriptorOutput(int descriptor)
    : m_descriptor(descriptor), m_buffer(bufferSize) {
  setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
}

DescriptorOutput::int_type DescriptorOutput::overflow(int_type c) {
  if (!drain()) return traits_type::eof();
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  *pptr() = traits_type::to_char_type(c);
  pbump(1);
  return c;
}

int DescriptorOutput::sync() { return drain() ? 0 : -1; }

bool DescriptorOutput::drain() {
  const char* next = pbase();
  const char* end = pptr();
  while (m_error == 0 && next < end) {
    const ssize_t written = ::write(m_descriptor, next, static_cast<size_t>(end - next));
    if (written > 0) {
      next += written;
    } else if (written == 0) {
      m_error = EIO;  // nothing taken, nothing said: retrying would never end
    } else if (errno != EINTR) {
      m_error = errno;
    }
  }
  // After a failure the buffer is emptied all the same: what it held is lost either way.
  setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
  return m_error == 0;
}

}  // namespace waymint::cli
