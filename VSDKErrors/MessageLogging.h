// XML text of messages for the debug log, with password values masked.
#pragma once

#include "VSDK/Session.h"

#include <cstddef>
#include <string>
#include <string_view>

class CNMessageBase;

// The most of a text or document that a line written at every level (a
// failure line) quotes from the network.
constexpr std::size_t kLogQuoteBytes = 4096;

// A text that came from the network, as a log line quotes it: its first
// kLogQuoteBytes bytes, then "... [N more bytes]" when N bytes were left out,
// its passwords masked as a document's (a server's text may echo the request
// it refused). The log writer escapes its control bytes: every log call is
// one line.
std::string logText(std::string_view text);
// The same for an XML document (see filterPasswordAttrBased).
std::string logDocument(std::string_view xml);
// A whole XML document, for the detailed levels that show exactly what was
// sent or received: masked as logDocument does, nothing left out (the
// largest frame bounds it).
std::string logWholeDocument(std::string_view xml);

// The XML text of a message for the log, whole (logWholeDocument): every
// secret field is written under a password attribute and masked; an empty
// text for no message.
std::string logXMLMessage(CNMessageBase* message);
// The same for a message given as XML text: the text is read back into a
// message and written again, so only what a message can hold reaches the log.
// "Error. XML is not properly formatted so cannot unserialize it." when it
// cannot be read.
std::string logXMLMessage(const std::string& xml);

// Every password attribute value masked: maskPasswordValues (PasswordMask.h).
std::string filterPasswordAttrBased(const std::string& xml);

// filterPassword (older rule, exported): see VSDK/Session.h.

extern const char* const kXmlNotFormattedText;
