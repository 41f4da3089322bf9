// Masking of password values in XML text bound for the debug log.
#pragma once

#include <string>
#include <string_view>

// xml with every password masked as four asterisks: the value of every
// attribute whose name contains "password" (any letter case), and the text
// of every element whose name contains it. Values are followed into
// documents carried in attribute values of others, however deeply nested:
// there a character is written as a reference (&quot;, &apos;, &lt;, &gt; or
// a numeric one), its '&' written again as a reference for each further
// level (&amp;quot;, &#38;quot;, ...), or, for a quote of the kind that does
// not delimit the value holding it, as itself. Values open only in tags and
// after a name, not in text, comments, CDATA sections, processing
// instructions or declarations; a '<' that no name, '/', '!' or '?' follows
// is text ("a < b"). A value ends at the next quote of its own kind and
// depth, or with the value that holds it. In those other places, what
// follows "password=" and a quote is masked up to the same quote (kept open
// while a later "password=" and quote is pending), and a document carried
// there (its '<' escaped any number of times, or not at all) has the text of
// its password elements masked up to their end tags (those of their name).
// A base64 text written as x="..." is decoded, masked as a document and
// encoded again. What never ends is masked to the end of the text. One pass:
// linear in the length of the text.
std::string maskPasswordValues(std::string_view xml);
