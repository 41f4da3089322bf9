// An inner document (a message of the App, RKGui, EVGui or MediaManager
// family) carried by the generic request: written to XML text, sent, and its
// reply rebuilt from the returned text.
#pragma once

#include "VSDKAPIGlobalData/VSDKAPIGlobalData.h"
#include "platform/CNMessageBase.h"

// Sends request through the generic request and rebuilds reply (already of
// the expected type) from the answer. A document that cannot be written:
// "Serialization Failed." and 0x201; an answer that is no whole document of
// reply's type: "Unserialize Failed.Input XML[...]" and 0x207; a failure of
// the generic request: its code. 0: reply holds the answer.
unsigned long exchangeInnerDocument(VSDKAPIGlobalData& state, const char* function,
                                    const CNMessageBase& request, CNMessageBase& reply);
