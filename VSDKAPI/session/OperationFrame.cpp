#include "OperationFrame.h"

#include "VSDKAPI/messages/MediaManager.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "VSDKErrors/MessageLogging.h"

VSDKAPIGlobalData* threadState() { return g_dataMap.current(); }

std::atomic<int> g_failListingAllocations{0};
std::atomic<int> g_listingAllocationsBeforeFailure{0};

void logFailure(VSDKAPIGlobalData& state, const char* function, const char* phrase,
                unsigned long code, const char* text) {
    const std::string line = std::string(phrase ? phrase : "") +
                             " failed with Error code [0x%lx] Error string [%s]";
    // The text may be the server's: quoted so that it stays inside this line.
    state.getEvDebug().debugLvl(function, 0, line.c_str(), code, logText(text ? text : "").c_str());
}

unsigned long invalidReply(VSDKAPIGlobalData& state, const OperationSpec& spec) {
    const char* text = GetErrorString(vsdkerr::kInvalidResponse);
    state.setErrorString(text);
    logFailure(state, spec.function, spec.failurePhrase, vsdkerr::kInvalidResponse, text);
    return vsdkerr::kInvalidResponse;
}

unsigned long takeCreatedId(VSDKAPIGlobalData& state, const OperationSpec& spec,
                            const CNMessageBase& reply, FieldId field, int& id) {
    if (!msgf::hasInt(reply, field)) return invalidReply(state, spec);
    id = static_cast<int>(msgf::getInt(reply, field));
    return 0;
}

unsigned long pairedReplyTag(const CNMessageBase& request) {
    const vsdkmsg::MessageType* type = vsdkmsg::findByTag(request.getTagID());
    return type ? type->replyTag : 0;
}

unsigned long invalidArgument(VSDKAPIGlobalData& state, const char* function) {
    const char* text = GetErrorString(vsdkerr::kInvalidArgument);
    state.setErrorString(text);
    state.getEvDebug().debugLvl(function, 0, "Invalid argument with Error code [0x%lx] Error string [%s]",
                                vsdkerr::kInvalidArgument, text);
    return vsdkerr::kInvalidArgument;
}

bool readReplyError(VSDKAPIGlobalData& state, const CNMessageBase& reply, FieldId field,
                    unsigned long& code, std::string& text) {
    code = 0;
    text.clear();
    if (reply.fields().count(field.number) == 0) return true;
    const CNMessageBase* error =
        msgf::findChild(reply, field, (reply.getTagID() & 0xFF000000UL) | 2UL);
    if (!error || !msgf::intOrAbsent(*error, msgf::kErrorCode)) {
        state.getEvDebug().debugLvl(
            0, "Response [%s] from VSDK Server failed with Error code [0x%lx] Error string [%s]",
            reply.getTagName(), vsdkerr::kInvalidResponse, GetErrorString(vsdkerr::kInvalidResponse));
        return false;
    }
    code = static_cast<unsigned long>(msgf::getInt(*error, msgf::kErrorCode));
    text = msgf::getText(*error, msgf::kErrorText);
    return true;
}

namespace {

int sessionClassOf(int module) {
    switch (module) {
        case OrvaneOperations::kModuleId:
            return OrvaneOperations::QSessionInfoMsg::kClass;
        case OrvaneUtilities::kModuleId:
            return OrvaneUtilities::QSessionInfoMsg::kClass;
        case MediaManager::kModuleId:
            return MediaManager::QSessionInfoMsg::kClass;
        default:
            return 0;
    }
}

void fillSessionFields(VSDKAPIGlobalData& state, CNMessageBase& session, bool withToken) {
    if (withToken && state.ismultifenmarktoken()) {
        msgf::putInt(session, msgf::kSessionMultiDomainFlag, 1);
        msgf::putText(session, msgf::kSessionMultiDomainToken, state.getmultifenmarktoken());
    }
    msgf::putText(session, msgf::kSessionId, state.getSessionID());
    msgf::putInt(session, msgf::kSessionOne, 1);
    msgf::putText(session, msgf::kSessionMardock, state.getMardockName());
    msgf::putText(session, msgf::kSessionGuid, state.getGuid());
}

}  // namespace

void fillSession(VSDKAPIGlobalData& state, CNMessageBase& request, MultiDomain md) {
    const int module = request.getModuleId();
    CNMessageBase& session =
        msgf::child(request, msgf::kRequestSession, module, sessionClassOf(module));
    fillSessionFields(state, session, md == MultiDomain::WhenHeld);
}

void setSessionInfo(CNMessageBase& session, VSDKAPIGlobalData state) {
    if (session.getTagID() != OrvaneUtilities::QSessionInfoMsg::kTag) {
        fillSessionFields(state, session, true);
        return;
    }
    // The utilities form copies all six fields from an operations session,
    // the token fields included (0 and empty without a token).
    OrvaneOperations::QSessionInfoMsg temp;
    fillSessionFields(state, temp, true);
    msgf::putInt(session, msgf::kSessionMultiDomainFlag,
                 msgf::getInt(temp, msgf::kSessionMultiDomainFlag) != 0 ? 1 : 0);
    msgf::putText(session, msgf::kSessionMultiDomainToken,
                  msgf::getText(temp, msgf::kSessionMultiDomainToken));
    msgf::putText(session, msgf::kSessionId, msgf::getText(temp, msgf::kSessionId));
    msgf::putInt(session, msgf::kSessionOne, msgf::getInt(temp, msgf::kSessionOne));
    msgf::putText(session, msgf::kSessionMardock, msgf::getText(temp, msgf::kSessionMardock));
    msgf::putText(session, msgf::kSessionGuid, msgf::getText(temp, msgf::kSessionGuid));
}
