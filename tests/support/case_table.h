#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "support/temp_folder.h"

namespace waymint::testing {

// The lines of a text, without their LF.
inline std::vector<std::string> linesOf(std::string_view text) {
  std::vector<std::string> lines;
  for (size_t at = 0, next; at < text.size(); at = next + 1) {
    next = std::min(text.find('\n', at), text.size());
    lines.emplace_back(text.substr(at, next - at));
  }
  return lines;
}

// A field of a hand-written table with its escapes made bytes: \n \r \t \0 \\ and \xHH.
inline std::string unescaped(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = i + 1 < text.size() && text[i] == '\\' ? text[++i] : '\0';
    if (c == 'x') {
      out += static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16));
      i += 2;
    } else {
      out += c == 0 ? text[i] : c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c == '0' ? '\0' : c;
    }
  }
  return out;
}

// The cases of tests/<relative>, written by hand: a case a line, `fields` fields apart by tabs,
// unescaped; blank lines and lines starting with "#" are comments. A table that is missing,
// empty or has a line of another width fails the test.
inline std::vector<std::vector<std::string>> caseTable(std::string_view relative, size_t fields) {
  const std::string path = std::string(WAYMINT_SOURCE_DIR) + "/tests/" + std::string(relative);
  std::vector<std::vector<std::string>> rows;
  for (const std::string& line : linesOf(slurp(path))) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string>& row = rows.emplace_back();
    std::string split = line + '\n';
    std::replace(split.begin(), split.end(), '\t', '\n');
    for (const std::string& field : linesOf(split)) row.push_back(unescaped(field));
    if (row.size() != fields) ADD_FAILURE() << path << ": " << row.size() << " fields in " << line;
    row.resize(fields);
  }
  if (rows.empty()) ADD_FAILURE() << path << " holds no cases";
  return rows;
}

}  // namespace waymint::testing
