// A first caller of the library: start up, log in, send one request, start a
// backup, log out and shut down, printing each step and its result code.
//
//   vsdk_example [user [password]]
//
// The Mardock host, the service port, the log folder and the product base
// folder (where the login is kept while it lasts) come from the product
// registry: VSDK_REGISTRY_ROOT and the instance named by ORVANE_VM.
#include "VSDK.h"

#include <cstdio>
#include <string>

namespace {

// Prints one step's result; true when it succeeded. A failure shows its code,
// the code's own fixed text and, on a started thread, its last error text
// (the server's words when the server refused; it can be older than this
// failure). A failed start-up leaves no thread state, so no last error text.
bool report(const char* step, unsigned long code, bool started = true) {
    if (code == 0) {
        std::printf("%-14s -> 0x0 (success)\n", step);
    } else if (!started) {
        std::printf("%-14s -> 0x%lx (%s)\n", step, code, GetErrorString(code));
    } else {
        std::printf("%-14s -> 0x%lx (%s) last error text [%s]\n", step, code, GetErrorString(code),
                    VSDKGetLastErrorString());
    }
    std::fflush(stdout);
    return code == 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string user = argc > 1 ? argv[1] : "admin";
    const std::string password = argc > 2 ? argv[2] : "example-password";

    // Start up for a login: the Mardock comes from the registry, and the login
    // is kept in the token store of the product base folder.
    _QInitializeParameters init;
    init.useSessionFile = true;
    if (!report("initialize", VSDKInitializeWithLoginFlag(&init, true, true, false), false)) return 1;

    bool ok = true;
    _QLoginParameters login;
    user.copy(login.user, sizeof login.user - 1);
    password.copy(login.password, sizeof login.password - 1);
    _QLoginResp loginResult;
    ok = report("login", VSDKLoginApi(&login, &loginResult));
    if (ok) {
        std::printf("  logged in as %s, user id %d\n", login.user, loginResult.userId);

        // One request through the generic request: any XML document the
        // server understands.
        _QExecuteParams request;
        request.xmlRequest = "<App_GetClientPropertiesRequest><entity clientName=\"client1\"/>"
                             "</App_GetClientPropertiesRequest>";
        _QExecuteInfo answer;
        ok = report("request", VSDKQExecute(&request, &answer));
        if (ok) std::printf("  reply document: %zu bytes\n", answer.outputText.size());

        // An incremental backup of one subclient: the server starts a job
        // and names it.
        _QBackupParameters backup;
        backup.options = 0x2;  // QB_INCREMENTAL
        std::snprintf(backup.clientName, sizeof backup.clientName, "%s", "client1");
        std::snprintf(backup.subclientName, sizeof backup.subclientName, "%s", "default");
        _QJobStartInfo job;
        if (ok && (ok = report("backup", VSDKBackup(&backup, &job)))) {
            std::printf("  backup job id %lld\n", static_cast<long long>(job.jobId));
        }

        _QLogoutParameters logout;
        ok = report("logout", VSDKLogout(&logout)) && ok;
    }

    ok = report("deinitialize", VSDKDeInitialize()) && ok;
    std::printf("%s\n", ok ? "example finished" : "example failed");
    return ok ? 0 : 1;
}
