#include "app/state_file_extras.h"

#include <algorithm>

namespace waymint::app {
namespace {

// The key of a line: the text before its first "=", or the whole line when it has none.
std::string_view keyOf(std::string_view line) { return line.substr(0, line.find('=')); }

}  // namespace

void StateFileExtras::read(std::string_view line) {
  // A CR LF file read on a system that leaves the CR, or blanks after a value, must not
  // change what the next program reads.
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
  if (!line.empty()) m_lines.emplace_back(line);
}

std::optional<std::string_view> StateFileExtras::value(std::string_view key) const {
  for (const std::string& line : m_lines) {
    if (line.size() > key.size() && keyOf(line) == key) {
      return std::string_view(line).substr(key.size() + 1);
    }
  }
  return std::nullopt;
}

void StateFileExtras::set(std::string_view key, std::string_view value) {
  std::string line = std::string(key) + "=" + std::string(value);
  for (std::string& existing : m_lines) {
    if (keyOf(existing) == key) {
      existing = std::move(line);
      return;
    }
  }
  m_lines.push_back(std::move(line));
}

void StateFileExtras::erase(std::string_view key) {
  std::erase_if(m_lines, [&](const std::string& line) { return keyOf(line) == key; });
}

std::string StateFileExtras::text() const {
  std::string text;
  for (const std::string& line : m_lines) text += line + "\r\n";
  return text;
}

}  // namespace waymint::app
