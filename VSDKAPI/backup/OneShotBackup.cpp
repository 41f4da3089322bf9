// The one-shot backup: start-up, login, backup, logout and tear-down in one
// call, for a caller that holds no session.
#include "VSDK/OneShot.h"

#include "VSDK/Backup.h"
#include "VSDK/Errors.h"
#include "VSDK/Login.h"
#include "VSDK/Startup.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "VSDKAPIGlobalData/QEvDebug.h"
#include "platform/RKPlatformInfo.h"
#include "VSDKErrors/ExportGuard.h"
#include "VSDKErrors/MessageLogging.h"

#include <cstring>
#include <string>

namespace {

const char* const kFunction = "VSDAKBackupEx()";
const char* const kLogName = "vcommand";

// The steps' results: the first failure decides what the call returns, while
// the steps that undo what was started still run after it.
class Steps {
public:
    explicit Steps(QEvDebug& log) : m_log(log) {}

    // Records one step's result; true when it succeeded.
    bool ok(unsigned long rc, const char* failure) {
        if (rc == 0) return true;
        m_log.Error("%s", failure);
        if (m_code == 0) {
            m_code = rc;
            // Taken now: the tear-down that follows takes the thread's error
            // text with it.
            m_text = VSDKGetErrorString(&rc);
        }
        return false;
    }

    unsigned long code() const { return m_code; }
    const std::string& text() const { return m_text; }

private:
    QEvDebug& m_log;
    unsigned long m_code = 0;
    std::string m_text;
};

}  // namespace

static unsigned long VSDAKBackupExUnguarded(const _QBackupParameters* params, _QJobStartInfo* info,
                                            const std::string& mardockName) {
    _QInitializeParameters init;
    _QLoginParameters login;
    _QLoginResp loginResult;
    _QLogoutParameters logout;
    char vmName[1024];
    std::memset(vmName, 0, sizeof vmName);

    // The thread has no state record (and so no log object) before its
    // start-up; the one-shot writes through a log object of its own.
    QEvDebug log;
    if (!params || !info) {
        log.debugLvl(kFunction, 0, "Invalid argument with Error code [0x%lx] Error string [%s]",
                     vsdkerr::kInvalidArgument, GetErrorString(vsdkerr::kInvalidArgument));
        return vsdkerr::kInvalidArgument;
    }

    const unsigned long vmRc = VSDKGetVMName(vmName);
    if (vmRc != 0) return vmRc;
    RKPI_Focus::setFocus(vmName);
    log.initialize(kLogName, 0);

    log.debugLvl(kFunction, 6, "csname = <%s>", mardockName.c_str());
    init.useSessionFile = false;
    if (!mardockName.empty()) msgf::copyBounded(init.mardockName, mardockName);

    Steps steps(log);
    // A thread that is started already is refused here (0x280) and keeps its
    // record: nothing after this step runs for it.
    if (steps.ok(VSDKInitialize(&init), "VSDKInitialize failed")) {
        // The record is this call's own from here to the tear-down; its log
        // object writes to the same log.
        if (VSDKAPIGlobalData* state = threadState()) state->getEvDebug().initialize(kLogName, 0);
        login.flags |= 8;
        if (steps.ok(VSDKLoginApi(&login, &loginResult), "VSDKLogin failed")) {
            steps.ok(VSDKBackup(params, info), "VSDKBackup failed");
            steps.ok(VSDKLogout(&logout), "VSDKLogout failed");
        }
        steps.ok(VSDKDeInitialize(), "VSDKDeInitialize failed");
    }

    const unsigned long code = steps.code();
    const std::string text = code != 0 ? steps.text() : std::string(VSDKGetErrorString(&code));
    log.debugLvl(kFunction, 1, "completed. apiError=[%d], errorString=<%s>",
                 static_cast<int>(code), logText(text).c_str());
    return code;
}

// The exports: no exception leaves them.

VSDK_API unsigned long VSDAKBackupEx(const _QBackupParameters* params, _QJobStartInfo* info,
                                     const std::string& mardockName) {
    return vsdkguard::guarded("VSDAKBackupEx",
                              [&] { return VSDAKBackupExUnguarded(params, info, mardockName); });
}
