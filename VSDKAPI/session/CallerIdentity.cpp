#include "CallerIdentity.h"

#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/OrvaneOperations.h"

#include <cerrno>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace {

// The user-database entry of uid: true and its name when there is one.
bool lookUpUser(uid_t uid, uid_t& foundUid, std::string& name) {
    long hint = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::size_t size = hint > 0 ? static_cast<std::size_t>(hint) : 1024;
    for (int attempt = 0; attempt < 8; ++attempt, size *= 4) {
        std::vector<char> buffer(size);
        struct passwd entry;
        struct passwd* found = nullptr;
        const int rc = getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found);
        if (rc == ERANGE) continue;
        if (rc != 0 || found == nullptr) return false;
        foundUid = found->pw_uid;
        name = found->pw_name ? found->pw_name : "";
        return true;
    }
    return false;
}

}  // namespace

void putCallerIdentity(VSDKAPIGlobalData& state, CNMessageBase& request, FieldId field,
                       const char* function, const char* notFoundText) {
    uid_t uid = 0;
    std::string name;
    if (!lookUpUser(getuid(), uid, name)) {
        state.getEvDebug().debugLvl(function, 1, "%s", notFoundText);
        return;
    }
    const int signedUid = static_cast<int>(uid);
    state.getEvDebug().debugLvl(function, 1, "Machine User Info : UID:[%d] UName:[%s]", signedUid,
                                name.c_str());
    CNMessageBase& identity = msgf::child<OrvaneOperations::QCallerIdentityMsg>(request, field);
    msgf::putInt(identity, OrvaneOperations::kCallerUid, signedUid);
    msgf::putText(identity, OrvaneOperations::kCallerUserName, name);
}
