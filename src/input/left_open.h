#pragma once

#include <sys/stat.h>

#include <string>
#include <vector>

namespace waymint::input {

// libosmium's PBF parser closes the file it reads only when it has read it to the end: a file
// cut short or damaged, or a read cancelled, leaves it open. What was opened on the file while
// this lived, and is open still, is closed when it goes (after the reader has gone).
class ClosesWhatIsLeftOpen {
 public:
  explicit ClosesWhatIsLeftOpen(const std::string& path);
  ~ClosesWhatIsLeftOpen();
  ClosesWhatIsLeftOpen(const ClosesWhatIsLeftOpen&) = delete;
  ClosesWhatIsLeftOpen& operator=(const ClosesWhatIsLeftOpen&) = delete;

 private:
  std::vector<int> m_before;
  struct stat m_file {};
  bool m_known = false;
};

}  // namespace waymint::input
