// The forced re-login: the server answered a request with code 9 (its
// connection to the Mardock is gone); log in again as the thread's user and
// send the request once more, at most three times per thread state record.
#include "Exchange.h"

#include "VSDKAPI/messages/CommonFields.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/MediaManager.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "VSDKAPI/messages/VSDKLogin.h"
#include "VSDKAPI/session/Login.h"
#include "VSDKErrors/VSDKErrors.h"

#include <climits>

namespace {

constexpr int kMaxForcedRelogins = 3;

bool isSessionObject(const CNMessageBase& m) {
    const unsigned long tag = m.getTagID();
    return tag == VSDKLogin::QSessionInfoMsg::kTag ||
           tag == OrvaneOperations::QSessionInfoMsg::kTag ||
           tag == OrvaneUtilities::QSessionInfoMsg::kTag ||
           tag == MediaManager::QSessionInfoMsg::kTag;
}

// The resend must carry the new login: every session object of the request
// (at its top, or inside the inner request it carries) that holds a GUID gets
// the thread's new GUID (a byte string in the login family, a text
// elsewhere). Session objects without a GUID stay as they are.
void refreshSessionGuid(CNMessageBase& message, const std::string& guid) {
    if (isSessionObject(message)) {
        if (!msgf::has(message, msgf::kSessionGuid)) return;
        if (message.getModuleId() == VSDKLogin::kModuleId) {
            msgf::putBytes(message, VSDKLogin::kSessionGuid, guid);
        } else {
            msgf::putText(message, msgf::kSessionGuid, guid);
        }
        return;
    }
    for (auto& entry : message.mutableFields()) {
        vsdkmsg::Field& field = entry.second;
        if (field.kind == vsdkmsg::FieldKind::Object && field.obj) {
            refreshSessionGuid(*field.obj, guid);
        } else if (field.kind == vsdkmsg::FieldKind::ObjectList && field.objList) {
            for (CNMessageBase& element : *field.objList) refreshSessionGuid(element, guid);
        }
    }
}

}  // namespace

unsigned long forcedRelogin(VSDKAPIGlobalData& state, CRkNetwork* connection,
                            CNMessageBase& request, unsigned long expectedTag,
                            CNMessageBase*& reply, const ExchangeOptions& options,
                            bool& relogged) {
    int& count = state.getLoginRetryCount();
    const int before = count;
    if (count < INT_MAX) ++count;  // every code-9 reply counts, without overflowing
    relogged = before < kMaxForcedRelogins;
    if (!relogged) return 0;  // the reply stays handed out

    delete reply;
    reply = nullptr;

    QEvDebug& log = state.getEvDebug();
    log.debugLvl(0, "Response from VSDK Server failed with Error code [0x%lx] Error string [%s]",
                 vsdkerr::kRelogin, GetErrorString(vsdkerr::kRelogin));
    log.debugLvl(1, "Retrying Connection to VSDK Server");
    log.debugLvl(6, "Retrying Connection with Retrial Count:[%d]", count);

    _QLoginParameters params;
    msgf::copyBounded(params.user, state.getUser());
    params.forceLogin = true;
    _QLoginResp result;
    log.debugLvl(6, "Attempting Force Login to VSDK Server");
    const unsigned long rc = loginThread(state, params, result);
    // A login the server refused leaves nothing to resend with. One that went
    // through (its token is in the result) but whose token string could not be
    // built still gave the thread its new login, and the token string is not
    // used here.
    if (rc != 0 && result.token.empty()) return rc;

    refreshSessionGuid(request, state.getGuid());
    ExchangeOptions resend = options;
    resend.receiveOnly = false;
    return exchange(state, connection, request, expectedTag, reply, resend);
}
