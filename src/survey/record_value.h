#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace waymint::survey {

// What the program says when a tag cannot be read: a fragment that holds the key word but no
// "v=", or a value that ends before it begins ("/>" right after "v=").
inline constexpr std::string_view invalidCallMessage = "Invalid procedure call or argument";

// The value one node record gives the category list, as written in the file (double quotes
// removed, case kept), and the number of unreadable tags met on the way.
struct RecordValue {
  std::string value;  // empty: the record gives nothing
  int failures = 0;
};

// Examines one node record (the text after its "<node ") and fills `out`. `out.value` keeps
// its buffer from call to call, so a scan over many records does not allocate per record.
void recordValue(std::string_view record, RecordValue& out);

// The same for a single record: the value, or nothing; the failures are added to `failures`.
std::optional<std::string> recordValue(std::string_view record, int& failures);

}  // namespace waymint::survey
