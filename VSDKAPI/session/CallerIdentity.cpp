#include "CallerIdentity.h"

#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/OrvaneOperations.h"

#include <cerrno>
#include <pwd.h>
#include <unistd.h>
#include <map>
#include <mutex>
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

// The entry of uid, looked up once per user id for the life of the process
// (a process's user does not change its name under it).
bool cachedUser(uid_t uid, uid_t& foundUid, std::string& name) {
    struct Entry {
        bool found;
        uid_t uid;
        std::string name;
    };
    static std::mutex* mutex = new std::mutex();
    static auto* entries = new std::map<uid_t, Entry>();
    // The last entry a thread found, without the lock (asked for on every request).
    thread_local uid_t lastAsked = 0;
    thread_local const Entry* last = nullptr;  // entries are never removed or changed
    if (last && lastAsked == uid) {
        foundUid = last->uid;
        name = last->name;
        return true;
    }
    {
        std::lock_guard<std::mutex> lock(*mutex);
        auto it = entries->find(uid);
        if (it != entries->end()) {
            foundUid = it->second.uid;
            name = it->second.name;
            lastAsked = uid;
            last = &it->second;
            return it->second.found;
        }
    }
    Entry entry{false, 0, std::string()};
    entry.found = lookUpUser(uid, entry.uid, entry.name);
    // A failed look-up is not kept: it may be a passing failure of the user database.
    if (entry.found) {
        std::lock_guard<std::mutex> lock(*mutex);
        entries->emplace(uid, entry);
    }
    foundUid = entry.uid;
    name = entry.name;
    return entry.found;
}

}  // namespace

void putCallerIdentity(VSDKAPIGlobalData& state, CNMessageBase& request, FieldId field,
                       const char* function, const char* notFoundText) {
    uid_t uid = 0;
    std::string name;
    if (!cachedUser(getuid(), uid, name)) {
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
