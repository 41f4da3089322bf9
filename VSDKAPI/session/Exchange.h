// The request/response exchange: one request out, one typed reply back.
#pragma once

#include "VSDKAPIGlobalData/VSDKAPIGlobalData.h"
#include "platform/CNMessageBase.h"

#include <atomic>
#include <string>

class CRkNetwork;

struct ExchangeOptions {
    bool receiveOnly = false;       // send nothing; wait for the next reply of an earlier request
    bool longWait = false;          // wait up to 86,400 seconds
    unsigned long minTimeout = 0;   // seconds; raises the default wait when larger
};

// Sends request on the thread's connection (or one borrowed from its
// Mardock's pool) and waits for a reply of expectedTag. On 0, reply holds the
// reply (the caller owns it); on any other result reply is null. A reply whose
// error object holds code 9 triggers the forced re-login and a resend.
unsigned long exchange(VSDKAPIGlobalData& state, CRkNetwork* connection, CNMessageBase& request,
                       unsigned long expectedTag, CNMessageBase*& reply,
                       const ExchangeOptions& options = ExchangeOptions());

// Test seam (fuzzing; not exported): while set, the exchange neither sends
// nor receives on a connection. It asks this for the reply to request: true
// with the reply's XML text, which is rebuilt as a received message is (a
// text that is no message is a failed receive); false: nothing came back (a
// failed receive). Everything else the exchange does stays as it is.
using ExchangeReplySource = bool (*)(const CNMessageBase& request, std::string& replyXml);
extern std::atomic<ExchangeReplySource> g_exchangeReplySource;

// Forced re-login (reply code 9). The exchange calls it with the received
// reply already handed out in reply, after it has given back any connection
// it borrowed from a pool. When the thread's re-login counter allows it, the
// re-login releases the reply (reply becomes null), logs in again, resends
// request through exchange() with the same options and returns that result
// with relogged set. Otherwise it leaves reply as it is, sets relogged false
// and returns 0. Implemented in ForcedRelogin.cpp.
unsigned long forcedRelogin(VSDKAPIGlobalData& state, CRkNetwork* connection,
                            CNMessageBase& request, unsigned long expectedTag,
                            CNMessageBase*& reply, const ExchangeOptions& options, bool& relogged);

// The same, looking the calling thread's state up itself (0x280 without).
template <class Req>
unsigned long SendAndReceive(CRkNetwork* connection, Req& request, unsigned long expectedTag,
                             CNMessageBase*& reply, bool receiveOnly = false,
                             bool longWait = false, unsigned long minTimeout = 0) {
    reply = nullptr;
    VSDKAPIGlobalData* state = g_dataMap.current();
    if (!state) return 0x280;
    ExchangeOptions options;
    options.receiveOnly = receiveOnly;
    options.longWait = longWait;
    options.minTimeout = minTimeout;
    return exchange(*state, connection, request, expectedTag, reply, options);
}
