// An inner document (a message of the App, RKGui, EVGui or MediaManager
// family) carried by the generic request: written to XML text, sent, and its
// reply rebuilt from the returned text.
#pragma once

#include "VSDKAPIGlobalData/VSDKAPIGlobalData.h"
#include "platform/CNMessageBase.h"

#include <functional>

// Sends request through the generic request and rebuilds reply (already of
// the expected type) from the answer; "Sending XML[%s]." at level 6 with the
// whole document, secrets masked, unless logSending is false. A document
// that cannot be written: "Serialization Failed." and 0x201; an answer that
// is no whole document of reply's type, or that wellFormed (when given)
// refuses: "Unserialize Failed.Input XML[...]" quoting the answer as
// logDocument does, 0x207 with its fixed
// text as the thread's last error; a failure of the generic request: its
// code. 0: reply holds the answer.
unsigned long exchangeInnerDocument(
    VSDKAPIGlobalData& state, const char* function, const CNMessageBase& request,
    CNMessageBase& reply, bool logSending = true,
    const std::function<bool(const CNMessageBase&)>& wellFormed = nullptr);
