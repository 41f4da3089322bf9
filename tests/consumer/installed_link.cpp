// Links against the installed library and calls the members and typed
// functions its header declares: the record dumps, the typed error-text
// functions and the per-thread state map. Exits non-zero on a wrong result.
#include <VSDK.h>

#include <cstdio>
#include <string>

namespace {

int failures = 0;

void check(bool ok, const char* what) {
    if (!ok) std::fprintf(stderr, "FAILED: %s\n", what), ++failures;
}

}  // namespace

int main() {
    const std::string dumps[] = {
        _QTime().c_str(), _QInitializeParameters().c_str(), _VSDKTokenFileContents().c_str(), _QLoginParameters().c_str(),
        _QLogoutParameters().c_str(), _QInstanceScript().c_str(), _QCLArchiveLogParam().c_str(), _QBackupParameters().c_str(),
        _QAuxCopyParameters().c_str(), _QAgeDataParameters().c_str(), _QERBackupParameters().c_str(),
        _QRestoreParameters().c_str(), _QOracleRestoreParameters().c_str(), _QDB2RestoreParameters().c_str(),
        _QInformixRestoreParameters().c_str(), _QSQLDb().c_str(), _QSQLPhysicalFile().c_str(), _QSQLFile().c_str(),
        _QSQLRestoreParameters().c_str(), _QDBRestoreParameters().c_str()};
    for (const std::string& d : dumps) check(!d.empty(), "record dump");

    std::string text;
    GetFormattedErrorString(text, "%s-%d", "code", 7);
    check(text == "code-7", "GetFormattedErrorString");
    initializeErrorMap();
    unsigned long code = 0;
    text.clear();
    frameErrorMsg(text, code, -4);
    check(code == 0x104, "frameErrorMsg");
    getLocaleErrorMsgFromVSDKErrorCode(text, 0x104, 0);

    char when[64];
    check(_ctimeUW(when, sizeof when, 0), "_ctimeUW");
    _print(stdout, "");
    // Need a message object of the library; only their linking is checked.
    auto* volatile fill = &fillRestoreRequest;
    auto* volatile print = &printSearchResults;
    check(fill != nullptr && print != nullptr, "typed exports");

    // The calling thread's record, reached through g_dataMap.
    check(!g_dataMap.getVSDKAPIGlobalData().second, "no record before start-up");
    check(!setErrorString("none"), "setErrorString without a record");
    VSDKAPIGlobalData record;
    record.setGuid("guid");
    check(g_dataMap.insert(record).second, "insert");
    VSDKAPIGlobalDataMap::Entry entry = g_dataMap.getVSDKAPIGlobalData();
    check(entry.second && entry.first->second.getGuid() == "guid", "look-up");
    check(setErrorString("stored") && entry.first->second.getErrorString() == "stored",
          "setErrorString with a record");
    check(std::string(VSDKGetLastErrorString()) == "stored", "VSDKGetLastErrorString");
    check(entry.first->second.getUseSessionFile() && entry.first->second.getLoginRetryCount() == 0,
          "fresh record");
    g_dataMap.erase();
    check(!g_dataMap.getVSDKAPIGlobalData().second, "erase");

    if (failures == 0) std::puts("installed library: all calls linked and answered");
    return failures == 0 ? 0 : 1;
}
