// Masking of password values in XML text bound for the debug log.
#pragma once

#include <string>
#include <string_view>

// xml with the value of every attribute whose name contains "password" (any
// letter case) replaced by four asterisks. Values are followed into documents
// carried in attribute values of others, however deeply nested: there a
// character is written as a reference (&quot;, &apos;, &lt;, &gt; or a
// numeric one), its '&' written again as a reference for each further level
// (&amp;quot;, &#38;quot;, ...), or, for a quote of the kind that does not
// delimit the value holding it, as itself. Values open only in tags, not in
// text, comments, CDATA sections, processing instructions or declarations. A
// value ends at the next quote of its own kind and depth, or with the value
// that holds it; in text, what follows "password=" and a quote is masked up
// to the same quote. What never ends is masked to the end of the text. One
// pass: linear in the length of the text.
std::string maskPasswordValues(std::string_view xml);
