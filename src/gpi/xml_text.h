#pragma once

#include <string_view>

#include "gpi/code_page.h"

namespace waymint::gpi {

// Turns the raw content of an element, [begin, end) of a buffer the caller owns, into its text,
// in place (the text is never longer than its markup): the references &amp; &lt; &gt; &quot;
// &apos; and &#N; &#xN; become their characters in `page` ("?" where the page has none), CDATA
// sections their content, CR LF and lone CRs a LF; comments, processing instructions and the
// tags of child elements are dropped. A "&" that begins no known reference stays as it is.
// The content must be well-formed as far as its markup goes (every "<" closed).
std::string_view decodeXmlText(char* begin, char* end, CodePage page);

}  // namespace waymint::gpi
