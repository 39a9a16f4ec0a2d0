#pragma once

#include <string>
#include <string_view>

namespace waymint::cli {

// A text as the tool writes it on a terminal: control characters written as escapes ("\n",
// "\t", "\r", "\x1b"), so that what a file holds cannot move the cursor, set the title, clear
// the screen, break a line or a TAB-separated field. So are the C1 controls, as a UTF-8
// character ("\u009b") or as a byte of no UTF-8 character ("\x9b"), and the bidirectional
// embeddings, overrides and isolates ("\u202e", "\u2066"), which turn the text after them
// around. Everything else stays as it is (a path is printed as it is written; a byte of
// another code page too). The same form names a category on the command line.
std::string escaped(std::string_view text);

// A message of the program's: its CR LF line ends as LF, everything else escaped.
std::string escapedMessage(std::string_view text);

}  // namespace waymint::cli
