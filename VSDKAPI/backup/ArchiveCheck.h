// The answer of the archive-data check, read from the generic request's reply
// document.
#pragma once

#include <string>

// Sets bit 1 of flags for the first indicator, bit 2 for the second; false
// (flags untouched) when the document is not a whole answer of its type.
bool readArchiveCheckReply(const std::string& document, int& flags);
