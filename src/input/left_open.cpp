#include "input/left_open.h"

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

namespace waymint::input {
namespace {

// The file descriptors the process holds, as /proc/self/fd lists them (none where there is no
// such list), but the one that reads the list.
std::vector<int> openDescriptors() {
  std::vector<int> open;
  DIR* entries = ::opendir("/proc/self/fd");
  if (!entries) return open;
  while (const dirent* entry = ::readdir(entries)) {
    const int fd = std::atoi(entry->d_name);
    if (entry->d_name[0] != '.' && fd != ::dirfd(entries)) open.push_back(fd);
  }
  ::closedir(entries);
  std::sort(open.begin(), open.end());
  return open;
}

}  // namespace

ClosesWhatIsLeftOpen::ClosesWhatIsLeftOpen(const std::string& path) : m_before(openDescriptors()) {
  m_known = ::stat(path.c_str(), &m_file) == 0;
}

ClosesWhatIsLeftOpen::~ClosesWhatIsLeftOpen() {
  if (!m_known) return;
  for (const int fd : openDescriptors()) {
    struct stat info {};
    if (!std::binary_search(m_before.begin(), m_before.end(), fd) && ::fstat(fd, &info) == 0 &&
        info.st_dev == m_file.st_dev && info.st_ino == m_file.st_ino) {
      ::close(fd);
    }
  }
}

}  // namespace waymint::input
