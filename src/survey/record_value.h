#pragma once

#include <string>
#include <string_view>

namespace waymint::survey {

// The value one node record gives the category list, as written in the file (double quotes
// removed, case kept), and the number of unreadable tags met on the way: a fragment that
// holds the key word but no "v=", or a value that ends before it begins ("/>" right after
// "v=").
struct RecordValue {
  std::string value;  // empty: the record gives nothing
  int failures = 0;
};

// Examines one node record (the text after its "<node ") and fills `out`. `out.value` keeps
// its buffer from call to call, so a scan over many records does not allocate per record.
void recordValue(std::string_view record, RecordValue& out);

}  // namespace waymint::survey
