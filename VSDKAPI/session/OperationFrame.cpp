#include "OperationFrame.h"

#include "VSDKAPI/messages/MediaManager.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"

VSDKAPIGlobalData* threadState() { return g_dataMap.current(); }

unsigned long invalidArgument(VSDKAPIGlobalData& state, const char* function) {
    const char* text = GetErrorString(vsdkerr::kInvalidArgument);
    setErrorString(text);
    state.getEvDebug().debugLvl(function, 0, "Invalid argument with Error code [0x%lx] Error string [%s]",
                                vsdkerr::kInvalidArgument, text);
    return vsdkerr::kInvalidArgument;
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
