// XML text of messages for the debug log, with password values masked.
#pragma once

#include "VSDK/Session.h"

#include <string>

class CNMessageBase;

// The XML text of a message for the log, every password attribute value
// masked; an empty text for no message.
std::string logXMLMessage(CNMessageBase* message);
// The same for a message given as XML text: the text is read back into a
// message and written again, so only what a message can hold reaches the log.
// "Error. XML is not properly formatted so cannot unserialize it." when it
// cannot be read.
std::string logXMLMessage(const std::string& xml);

// Every value of an attribute whose name contains "password" (any letter
// case) replaced by four asterisks; a value without its closing quote is
// masked to the end of the text.
std::string filterPasswordAttrBased(const std::string& xml);

// filterPassword (older rule, exported): see VSDK/Session.h.

extern const char* const kXmlNotFormattedText;
