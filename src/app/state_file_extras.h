#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace waymint::app {

// The lines of the state file after its 22 values: one "key=value" a line, which a program
// that knows only the 22 lines never reads. What a later program wrote and this one does not
// know is kept, in its order, and written back.
class StateFileExtras {
 public:
  // Takes one line read after the 22 values; an empty one is dropped.
  void read(std::string_view line);
  // The value of `key`, if a line holds it.
  std::optional<std::string_view> value(std::string_view key) const;
  // Sets `key` to `value`: in its line where there is one, else in a new last line.
  void set(std::string_view key, std::string_view value);
  void erase(std::string_view key);
  // The lines, each ended by CR LF; nothing when there are none.
  std::string text() const;

 private:
  std::vector<std::string> m_lines;
};

}  // namespace waymint::app
