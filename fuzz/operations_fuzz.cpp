// Fuzzes the exported operations with the server's replies: the first input
// byte picks an operation (backup and restore, agents and subclients, storage
// policies and data paths, media, off-site tracking, replication and
// administration, login and logout), the second its variant (result as XML,
// login flags, which lists the media contents send), and the rest, cut at
// zero bytes, is the XML text of each reply the operation waits for in turn.
// The exchange takes the replies from the fuzzer instead of a connection, so
// that every operation runs as it does for a caller, from the thread's state
// to the caller's records; the records handed out are checked (terminated
// texts, counts that match the arrays, lengths that match the bytes) and freed.
#include "FuzzSupport.h"

#include "VSDK.h"
#include "VSDKAPI/session/Exchange.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <type_traits>
#include <unistd.h>
#include <vector>

namespace {

const char kTarget[] = "operations_fuzz";

// The replies of one input, handed out in turn; none left: nothing comes back.
std::vector<std::string> g_replies;
std::size_t g_nextReply = 0;
std::string g_requestTag;  // the first request's type (listing mode)

bool scriptedReply(const CNMessageBase& request, std::string& xml) {
    if (g_requestTag.empty()) g_requestTag = request.getTagName();
    if (g_nextReply >= g_replies.size()) return false;
    xml = g_replies[g_nextReply++];
    return true;
}

std::string g_root;       // the fuzzer's registry, log link and token store
std::string g_storePath;  // the token store of the logins, in a folder of our own
FILE* g_sink = nullptr;   // where the browse prints its lines

void expect(bool ok, const char* what) {
    if (!ok) fuzzBroken(kTarget, what);
}

template <class... Arrays>
void terminated(const Arrays&... arrays) {
    expect((zeroTerminated(arrays) && ...), "a text without its terminating zero");
}

// Copies a text into a caller's fixed array, as a caller does.
template <std::size_t N>
void put(char (&to)[N], const char* text) {
    std::snprintf(to, N, "%s", text);
}

// ---- The records handed out, checked one by one ------------------------

// A record with no check of its own below: its name is terminated.
template <class T>
void check(const T& record) {
    terminated(record.name);
}

void check(const _QInstanceInfo& i) {
    terminated(i.name, i.firstText, i.secondText, i.thirdText, i.description);
}

void check(const _QBackupSetInfo& b) { terminated(b.backupSetName, b.description); }

void check(const _QDiscoverContentInfo& c) { terminated(c.path); }

void check(const _QSQLDBInfo& d) { terminated(d.name, d.secondText); }

void check(const _QSubclientInfo& c) {
    terminated(c.subclientName, c.storagePolicyName, c.description);
    for (const _QSQLDBInfo& d : c.sqlDatabases) check(d);
}

void check(const _QOSFilterAssocInfo& a) {
    for (const _QFilterInfo& f : a.filters) terminated(f.filter);
}

void check(const _QMediaInfo& m) {
    terminated(m.mediaName, m.storagePolicyName, m.copyName, m.locationName, m.libraryName, m.text7,
               m.description, m.text11, m.text13, m.text14, m.scratchPoolName, m.text16, m.sizeText,
               m.text18, m.text19);
}

void check(const _QQuickMediaInfo& m) {
    terminated(m.mediaText, m.text2, m.libraryName, m.text4, m.storagePolicyName, m.copyName,
               m.subclientName, m.containerName);
}

void check(const _QLocationInfo& l) { terminated(l.locationName); }

void check(const _QContainerInfo& c) { terminated(c.containerName, c.trackingId); }

void check(const _QMediaShelfInfo& s) { terminated(s.shelfName); }

void check(const _QIronMountainInfo& i) { terminated(i.ironMountainId); }

void check(const _QSWActionInfo& a) {
    terminated(a.policyName, a.containerName, a.actionField13);
    check(a.location1);
    check(a.location2);
    check(a.location3);
}

void check(const _QShelfwatchPolicyInfo& p) {
    terminated(p.policyName);
    terminated(p.rule.ruleField16);
}

void check(const _QOrvaneUserInfo& u) { terminated(u.name, u.userText); }

void check(const _QSnapShotInfo& s) {
    expect(s.timeText.find('\0') == std::string::npos && s.timeText.size() < 128, "snapshot time text");
}

// A listing's outputs: on success count entries in array (none: array left
// null); on a failure nothing handed out. Each record is checked, then the
// array is released as the caller does.
template <class T>
void handedOut(unsigned long rc, T* array, int count) {
    if (rc == 0) {
        expect(count >= 0, "negative count");
        expect((count > 0) == (array != nullptr), "count and array disagree");
        for (int i = 0; i < count; ++i) check(array[i]);
    } else {
        expect(array == nullptr, "a failure handed out an array");
    }
    delete[] array;
}

void jobStart(unsigned long rc, const _QJobStartInfo& info, bool xml) {
    if (rc == 0 && !xml) expect(info.xmlText.empty(), "XML text nobody asked for");
}

// ---- The records sent, filled as a caller does -------------------------
// A record that is sent as constructed has an empty fill.

void fill(_QBackupParameters&) {}
void fill(_QAuxCopyParameters& p) { put(p.storagePolicyName, "SP1"); }
void fill(_QAgeDataParameters&) {}
void fill(_QERBackupParameters&) {}

// Agents, instances, backup sets and subclients: the records that derive
// from the tree path and have no fill of their own take this one.
void fill(_QAgentTreePath& p) {
    p.clientId = 2;
    put(p.clientName, "client1");
    p.appTypeId = 29;
    put(p.appName, "File System");
    p.instanceId = 1;
    put(p.instanceName, "DefaultInstanceName");
    p.backupSetId = 3;
    put(p.backupSetName, "defaultBackupSet");
}

void fill(_QDeleteSubclientParameters& p) {
    _QAgentTreePath& path = p;
    fill(path);
    put(p.subclientName, "sc1");
}

void fill(_QSetBackupSetParameters& p) {
    put(p.clientName, "client1");
    put(p.backupSetName, "bs1");
}

void fill(_QSetSubclientParameters& p) {
    put(p.clientName, "client1");
    put(p.subclientName, "sc1");
    p.contents = {"/data"};
}

void fill(_QDiscoverContentParameters& p) { p.clientId = 2; }
void fill(_QGetSQLDBParameters& p) { p.clientId = 2; }
void fill(_QSetOSFilterParameters& p) { p.filters = {"*.tmp"}; }
void fill(_QApplicationIdInfo& ids) { ids.clientId = 2; }
void fill(_QSetVSSubclientContentParameters& p) { p.subclientId = 5; }

// Storage policies and data paths: the plain and the _XML forms of an
// operation send the same record.
void fill(_QStoragePolicyInfo& policy) {
    policy.id = 1;
    put(policy.name, "SP1");
}

void fill(_QSetStoragePolicyParameters& p) {
    put(p.storageGroupName, "SP1");
    put(p.mediaAgentName, "ma1");
    put(p.libraryName, "lib1");
}

void fill(_QSetStoragePolicyCopyParameters& p) {
    put(p.secondaryCopyName, "copy2");
    p.operationId = 1;
    put(p.storageGroupName, "SP1");
    put(p.mediaAgentName, "ma1");
    put(p.libraryName, "lib1");
}

void fill(_QDeleteStoragePolicyParameters& p) { put(p.storagePolicyName, "SP1"); }

void fill(_QDeleteStoragePolicyCopyParameters& p) {
    put(p.storagePolicyName, "SP1");
    put(p.storagePolicyCopyName, "copy2");
}

void fill(_QPruneDataByDedupStoreIdParameters& p) { p.storeIds = {7, 8}; }

void fill(_QPruneDataByJobIdParameters& p) {
    p.storagePolicyId = 1;
    p.jobIds = {100};
}

// Media, libraries and drives.
void fill(_QMediaAgentInfo& agent) {
    agent.id = 1;
    put(agent.name, "ma1");
}

void fill(_QGetMasterDrivePoolsParams& p) { p.libraryId = 1; }
void fill(_QGetDrivePoolsParams& p) { p.libraryId = 1; }
void fill(_QGetScratchPoolsParams& p) { p.libraryId = 1; }
void fill(_QGetLibraryChildrenParams& p) { p.libraryId = 1; }
void fill(_QGetDrivesParams& p) { p.libraryId = 1; }
void fill(_QLibraryControlParams& p) { p.libraryId = 1; }
void fill(_QGetMediaParams& p) { p.storagePolicyId = 1; }
void fill(_QGetQuickMediaParams& p) { p.clientId = 2; }
void fill(_QDriveControlParams& p) { p.driveId = 1; }
void fill(_QControlMediaAgentParameters& p) { p.mediaAgentId = 1; }
void fill(_QMediaExportParams& p) { p.mediaList = {1, 2}; }
void fill(_QDiscoverMediaParameters& p) { p.barcodeList = {"BC0001"}; }
void fill(_QVerifyMediaParams& p) { p.mediaId = 1; }

// Off-site media tracking.
void fill(_QSetLocationParameters& p) { put(p.locationName, "vault"); }
void fill(_QSetContainerParameters& p) { put(p.containerName, "box"); }

void fill(_QSetMediaShelfParameters& p) {
    put(p.shelfName, "shelf");
    p.barcodeList = {"BC0001"};
}

void fill(_QSetIronMountainParameters& p) { put(p.ironMountainId, "IM1"); }

void fill(_QSetSWActionParameters& p) {
    p.actionId = 4;
    p.valueList = {1, 2};
}

void fill(_QDeleteLocationParameters& p) { put(p.locationName, "vault"); }
void fill(_QDeleteContainerParameters& p) { put(p.containerName, "box"); }
void fill(_QDeleteMediaShelfParameters& p) { put(p.shelfName, "shelf"); }
void fill(_QDeleteIronMountainParameters& p) { put(p.ironMountainId, "IM1"); }
void fill(_QDeleteShelfwatchPolicyParameters& p) { put(p.policyName, "swp"); }

void fill(_QSetShelfwatchPolicyParameters& p) {
    put(p.policyName, "swp");
    p.spCopyList.resize(1);
    p.locationList.resize(1);
}

void fill(_QShelfwatchParameters& p) { put(p.policyName, "swp"); }

// Replication, snapshots and administration.
void fill(_QGetReplicationSetsParameters& p) { p.clientId = 2; }
void fill(_QGetReplicationPairsParameters& p) { p.repSetId = 1; }
void fill(_QReplicationParameters& p) { p.repSetId = 1; }
void fill(_QCreateRepSetParameters& p) { p.clientName = "client1"; }
void fill(_QCreateRepSetNewParameters& p) { p.filterPaths = {"/tmp"}; }
void fill(_QCreateReplicationPairParameters& p) { p.pairText = "pair"; }
void fill(_QGetOrvaneUserGroupsParameters& p) { p.userId = 1; }

void fill(_QSetOrvaneUserParameters& p) {
    put(p.userName, "user1");
    p.groups = {1};
}

void fill(_QChangePasswordsParameters& p) { put(p.clientName, "client1"); }
void fill(_QFenmarkMergeParameters& p) { p.afContent = "answer"; }
void fill(_QGetSnapsParameters& p) { p.jobId = "100"; }

void fill(_QSnapParameters& p) {
    p.operation = "create";
    p.intList = {1};
    p.stringList = {"a"};
}

void fill(_QBrevantUpdateParameters& p) { put(p.clientName, "client1"); }

// ---- The operations that share a shape ---------------------------------

// One that sends a record and answers with its code alone, or with an id or
// a text besides: the record is filled as above, and what comes back has
// nothing to check beyond what the sanitizers see.
template <class P>
void sendRecord(unsigned long (*operation)(P*)) {
    std::remove_const_t<P> p;
    fill(p);
    operation(&p);
}

template <class P, class Out>
void sendRecord(unsigned long (*operation)(P*, Out*)) {
    std::remove_const_t<P> p;
    fill(p);
    Out out{};
    operation(&p, &out);
}

// A listing, with or without a record that selects what is listed: each
// record handed out is checked.
template <class T>
void listRecords(unsigned long (*operation)(T**, int*)) {
    T* out = nullptr;
    int n = -1;
    handedOut(operation(&out, &n), out, n);
}

template <class P, class T>
void listRecords(unsigned long (*operation)(P*, T**, int*)) {
    std::remove_const_t<P> p;
    fill(p);
    T* out = nullptr;
    int n = -1;
    handedOut(operation(&p, &out, &n), out, n);
}

template <auto Operation>
void call(unsigned) {
    sendRecord(Operation);
}

template <auto Operation>
void list(unsigned) {
    listRecords(Operation);
}

using Run = void (*)(unsigned variant);
struct Operation {
    const char* name;
    Run run;
};

// ---- The operations with outputs or variants of their own --------------

void backup(unsigned v) {
    _QBackupParameters p;
    p.options = 1;
    put(p.clientName, "client1");
    put(p.subclientName, "default");
    p.xmlResult = v & 1;
    _QJobStartInfo r;
    jobStart(VSDKBackup(&p, &r), r, p.xmlResult != 0);
}

_QRestoreParameters restoreRecord(unsigned v) {
    _QRestoreParameters p;
    put(p.sourceClientName, "client1");
    p.sourcePaths = {"/data"};
    p.xmlResult = v & 1;
    return p;
}

void restore(unsigned v) {
    const _QRestoreParameters p = restoreRecord(v);
    _QJobStartInfo r;
    jobStart(VSDKRestore(&p, &r), r, p.xmlResult != 0);
}

void validateRestore(unsigned v) {
    const _QRestoreParameters p = restoreRecord(v);
    VSDKValidateRestore(&p);
}

void search(unsigned v) {
    _QRestoreParameters p = restoreRecord(v);
    p.options = 1;
    long status = 0;
    VSDKSearch(&p, &status, g_sink);
}

void searchRestore(unsigned) {
    _QRestoreParametersSTLless p{};
    p.sourceClientName = "client1";
    const char* paths[] = {"/data"};
    p.sourcePaths = paths;
    p.sourcePathCount = 1;
    const _QSearchRestoreItem items[] = {{1, 2, 3, "file1", 29, 4, "/data/file1"}};
    long long id = 0;
    VSDKSearchRestore(p, items, 1, &id);
}

void dbRestore(unsigned v) {
    static const int kTypes[] = {2, 3, 37, 4};
    _QDBRestoreParameters p;
    p.appTypeId = kTypes[(v >> 1) & 3];
    put(p.sourceClientName, "client1");
    p.xmlResult = v & 1;
    _QJobStartInfo r;
    jobStart(VSDKDBRestore(&p, &r), r, p.xmlResult != 0);
}

void setInstance(unsigned v) {
    _QSetInstanceParameters p;
    static const int kTypes[] = {81, 22, 62, 13};
    p.appTypeId = kTypes[v & 3];
    put(p.clientName, "client1");
    put(p.instanceName, "inst1");
    int id = 0;
    VSDKSetInstances(&p, &id);
}

void storagePolicyNames(unsigned) {
    int n = -1;
    if (VSDKGetStoragePoliciesCount_NOSTL("Instance001", &n) != 0) return;
    expect(n >= 0, "negative count");
    if (n > 256) return;
    std::vector<std::vector<char>> buffers(static_cast<std::size_t>(n), std::vector<char>(1024, 'x'));
    std::vector<char*> names;
    for (std::vector<char>& b : buffers) names.push_back(b.data());
    names.push_back(nullptr);
    if (VSDKGetStoragePolicies_NOSTL("Instance001", names.data()) != 0) return;
    // The names of the second reply go into the first buffers; a buffer is
    // either left as it was or holds a terminated name.
    for (const std::vector<char>& b : buffers) {
        const bool untouched = std::all_of(b.begin(), b.end(), [](char c) { return c == 'x'; });
        expect(untouched || std::memchr(b.data(), 0, b.size()) != nullptr,
               "a name without its terminating zero");
    }
}

void dataPath(unsigned) {
    _QGetDataPathParameters names;
    names.mediaAgentNames = {"ma1"};
    names.libraryNames = {"lib1"};
    names.drivePoolNames = {"dp1"};
    names.scratchPoolNames = {"sp1"};
    _QDataPathInfo* out = nullptr;
    const unsigned long rc = VSDKGetDataPath(&names, &out);
    expect(rc == 0 ? out != nullptr : out == nullptr, "data path record and result disagree");
    delete out;
}

void libraryChildren(unsigned) {
    _QGetLibraryChildrenParams p;
    fill(p);
    _QMasterDrivePoolInfo* masters = nullptr;
    _QScratchPoolInfo* scratch = nullptr;
    int nm = -1, ns = -1;
    const unsigned long rc = VSDKGetLibraryChildren(&p, &masters, &nm, &scratch, &ns);
    handedOut(rc, masters, nm);
    handedOut(rc, scratch, ns);
}

void mediaContents(unsigned v) {
    _QCLGetMediaContentsParams p;
    p.isJobIdPassed = v & 1;
    p.barcodesPassed = v & 2;
    p.getHWEncKey = v & 4;
    p.jobIdList = {100, 101};
    p.barcodeList = {"BC0001"};
    _QCLMediaContentsInfo info;
    info.errorCode = 77;
    if (VSDKGetMediaContents(&p, &info) != 0) {
        expect(info.errorCode == 77 && info.jobs.empty() && !info.replyFlag, "a failure changed the result");
        return;
    }
    expect(info.errorCode == 0, "success with an error code");
    for (const _QCLJobInfo& job : info.jobs) {
        for (const _QCLChunkInfo& chunk : job.chunks) {
            expect(chunk.keyLength >= 0 && static_cast<std::size_t>(chunk.keyLength) == chunk.key.size(),
                   "chunk key length differs from its bytes");
        }
    }
}

void capture(unsigned) {
    _QFenmarkCaptureParameters p;
    p.clientNames = {"client1"};
    std::string answerFile;
    VSDKFenmarkCapture(&p, answerFile);
}

void login(unsigned v) {
    _QLoginParameters p;
    put(p.user, "admin");
    put(p.password, "secret");
    p.giveToken = v & 1;
    p.samlTokenRequest = v & 2;
    p.forceLogin = v & 4;
    p.loginWithSamlToken = v & 8;
    if (v & 16) p.sessionToken = "session";
    p.guid = g_storePath;
    _QLoginResp r;
    if (VSDKLoginApi(&p, &r) == 0 && !p.samlTokenRequest && !p.giveToken && !p.forceLogin) {
        expect(r.tokenString.empty(), "a token string nobody asked for");
    }
}

void logout(unsigned v) {
    _QLogoutParameters p;
    p.tokenFilePath = g_storePath;
    p.logoutAllUsers = v & 1;
    p.keepTokenStore = v & 2;
    VSDKLogout(&p);
}

// Byte 0 of an input picks an operation by its place here: the seeds depend
// on the order, so a new operation goes at the end.
const Operation kOperations[] = {
    {"VSDKBackup", backup},
    {"VSDKValidateBackup", call<VSDKValidateBackup>},
    {"VSDKAuxCopy", call<VSDKAuxCopy>},
    {"VSDKAgeData", call<VSDKAgeData>},
    {"VSDKERBackup", call<VSDKERBackup>},
    {"VSDKRestore", restore},
    {"VSDKValidateRestore", validateRestore},
    {"VSDKSearch", search},
    {"VSDKSearchRestore", searchRestore},
    {"VSDKDBRestore", dbRestore},
    {"VSDKGetApplicationTypes", list<VSDKGetApplicationTypes>},
    {"VSDKGetInstances", list<VSDKGetInstances>},
    {"VSDKGetBackupSets", list<VSDKGetBackupSets>},
    {"VSDKSetInstances", setInstance},
    {"VSDKSetBackupSets", call<VSDKSetBackupSets>},
    {"VSDKModifyBackupSets", call<VSDKModifyBackupSets>},
    {"VSDKDeleteBackupSet", call<VSDKDeleteBackupSet>},
    {"VSDKGetSystemDatabases", call<VSDKGetSystemDatabases>},
    {"VSDKDiscoverContent", list<VSDKDiscoverContent>},
    {"VSDKGetSubclients", list<VSDKGetSubclients>},
    {"VSDKGetSQLDataBases", list<VSDKGetSQLDataBases>},
    {"VSDKSetSubclients", call<VSDKSetSubclients>},
    {"VSDKDeleteSubclient", call<VSDKDeleteSubclient>},
    {"VSDKGetGlobalFilters", list<VSDKGetGlobalFilters>},
    {"VSDKSetGlobalFilters", call<VSDKSetGlobalFilters>},
    {"VSDKGetVSBackupsetProperty", call<VSDKGetVSBackupsetProperty>},
    {"VSDKSetVSSubclientContent", call<VSDKSetVSSubclientContent>},
    {"VSDKGetStoragePolicies", list<VSDKGetStoragePolicies>},
    {"VSDKGetStoragePolicyCopies", list<VSDKGetStoragePolicyCopies>},
    {"VSDKGetStoragePolicies_NOSTL", storagePolicyNames},
    {"VSDKSetStoragePolicy", call<VSDKSetStoragePolicy>},
    {"VSDKSetStoragePolicyCopies", call<VSDKSetStoragePolicyCopies>},
    {"VSDKDeleteStoragePolicy", call<VSDKDeleteStoragePolicy>},
    {"VSDKDeleteStoragePolicyCopy", call<VSDKDeleteStoragePolicyCopy>},
    {"VSDKSetStoragePolicyCopies_XML", call<VSDKSetStoragePolicyCopies_XML>},
    {"VSDKAddDataPath_XML", call<VSDKAddDataPath_XML>},
    {"VSDKSetStoragePolicy_XML", call<VSDKSetStoragePolicy_XML>},
    {"VSDKDeleteStoragePolicy_XML", call<VSDKDeleteStoragePolicy_XML>},
    {"VSDKDeleteStoragePolicyCopy_XML", call<VSDKDeleteStoragePolicyCopy_XML>},
    {"VSDKGetDataPath", dataPath},
    {"VSDKPruneDataByStoreId", call<VSDKPruneDataByStoreId>},
    {"VSDKPruneDataByJobId", call<VSDKPruneDataByJobId>},
    {"VSDKGetMediaAgents", list<VSDKGetMediaAgents>},
    {"VSDKGetMediaLibraries", list<VSDKGetMediaLibraries>},
    {"VSDKGetMasterDrivePools", list<VSDKGetMasterDrivePools>},
    {"VSDKGetDrivePools", list<VSDKGetDrivePools>},
    {"VSDKGetScratchPools", list<VSDKGetScratchPools>},
    {"VSDKGetLibraryChildren", libraryChildren},
    {"VSDKGetDrives", list<VSDKGetDrives>},
    {"VSDKGetMedia", list<VSDKGetMedia>},
    {"VSDKGetQuickMedia", list<VSDKGetQuickMedia>},
    {"VSDKLibraryControl", call<VSDKLibraryControl>},
    {"VSDKDriveControl", call<VSDKDriveControl>},
    {"VSDKControlMediaAgent", call<VSDKControlMediaAgent>},
    {"VSDKMediaExport", call<VSDKMediaExport>},
    {"VSDKDiscoverMedia", call<VSDKDiscoverMedia>},
    {"VSDKVerifyMedia", call<VSDKVerifyMedia>},
    {"VSDKGetMediaContents", mediaContents},
    {"VSDKGetLocations", list<VSDKGetLocations>},
    {"VSDKGetContainers", list<VSDKGetContainers>},
    {"VSDKGetMediaShelves", list<VSDKGetMediaShelves>},
    {"VSDKGetIronMountains", list<VSDKGetIronMountains>},
    {"VSDKGetSWActions", list<VSDKGetSWActions>},
    {"VSDKSetLocation", call<VSDKSetLocation>},
    {"VSDKSetContainer", call<VSDKSetContainer>},
    {"VSDKSetMediaShelf", call<VSDKSetMediaShelf>},
    {"VSDKSetIronMountain", call<VSDKSetIronMountain>},
    {"VSDKSetSWAction", call<VSDKSetSWAction>},
    {"VSDKDeleteLocation", call<VSDKDeleteLocation>},
    {"VSDKDeleteContainer", call<VSDKDeleteContainer>},
    {"VSDKDeleteMediaShelf", call<VSDKDeleteMediaShelf>},
    {"VSDKDeleteIronMountain", call<VSDKDeleteIronMountain>},
    {"VSDKDeleteShelfwatchPolicy", call<VSDKDeleteShelfwatchPolicy>},
    {"VSDKGetShelfwatchPolicies", list<VSDKGetShelfwatchPolicies>},
    {"VSDKSetShelfwatchPolicy", call<VSDKSetShelfwatchPolicy>},
    {"VSDKShelfwatch", call<VSDKShelfwatch>},
    {"VSDKGetReplicationSets", list<VSDKGetReplicationSets>},
    {"VSDKGetReplicationPairs", list<VSDKGetReplicationPairs>},
    {"VSDKReplication", call<VSDKReplication>},
    {"VSDKCreateRepSet", call<VSDKCreateRepSet>},
    {"VSDKCreateRepSetNew", call<VSDKCreateRepSetNew>},
    {"VSDKCreateReplicationPair", call<VSDKCreateReplicationPair>},
    {"VSDKGetOrvaneUsers", list<VSDKGetOrvaneUsers>},
    {"VSDKGetOrvaneUserGroups", list<VSDKGetOrvaneUserGroups>},
    {"VSDKSetOrvaneUser", call<VSDKSetOrvaneUser>},
    {"VSDKChangePasswords", call<VSDKChangePasswords>},
    {"VSDKFenmarkCapture", capture},
    {"VSDKFenmarkMerge", call<VSDKFenmarkMerge>},
    {"VSDKGetSnaps", list<VSDKGetSnaps>},
    {"VSDKSnap", call<VSDKSnap>},
    {"VSDKBrevantUpdate", call<VSDKBrevantUpdate>},
    {"VSDKLoginApi", login},
    {"VSDKLogout", logout},
};
constexpr std::size_t kOperationCount = sizeof kOperations / sizeof kOperations[0];

void writeFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out) fuzzBroken(kTarget, "cannot write the fuzzer's registry");
}

}  // namespace

// A registry of our own (instance, pre-install mode decided, debug level 10
// so that the replies are logged, into a log that is /dev/null), one thread
// state started without a connection, and the exchange's replies taken from
// the input.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char folder[] = "/tmp/vsdk-operations-fuzz-XXXXXX";
    if (!::mkdtemp(folder)) fuzzBroken(kTarget, "mkdtemp");
    const std::string root = folder;
    g_root = root;
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(g_root, ignored);
    });
    const std::string instance = root + "/Instance001";
    ::mkdir(instance.c_str(), 0700);
    ::mkdir((root + "/log").c_str(), 0700);
    if (::symlink("/dev/null", (root + "/log/vsdk.log").c_str()) != 0) fuzzBroken(kTarget, "log link");
    writeFile(instance + "/EventManager",
              "nDebugLevel 10\ndEVLOGDIR " + root + "/log\nnEnablePreInstallVCMD 0\n");
    ::setenv("VSDK_REGISTRY_ROOT", root.c_str(), 1);
    g_storePath = root + "/vsessions.fuzz";
    g_sink = std::fopen("/dev/null", "w");
    if (!g_sink) fuzzBroken(kTarget, "/dev/null");

    _QInitializeParameters params;
    std::snprintf(params.mardockName, sizeof params.mardockName, "fuzzcs");
    std::snprintf(params.vmName, sizeof params.vmName, "Instance001");
    params.mardockClientName = "fuzzcs";
    params.useSessionFile = true;
    if (VSDKInitializeWithLoginFlag(&params, true, false, true) != 0) fuzzBroken(kTarget, "start-up");
    g_exchangeReplySource.store(scriptedReply);

    // OPERATIONS_FUZZ_LIST=1: prints each operation's number, name and the
    // type of its first request (for making seeds), then ends.
    if (std::getenv("OPERATIONS_FUZZ_LIST")) {
        for (std::size_t i = 0; i < kOperationCount; ++i) {
            g_replies.clear();
            g_nextReply = 0;
            g_requestTag.clear();
            kOperations[i].run(0);
            std::printf("%zu %s %s\n", i, kOperations[i].name,
                        g_requestTag.empty() ? "-" : g_requestTag.c_str());
        }
        std::exit(0);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const Operation& op = kOperations[data[0] % kOperationCount];
    const unsigned variant = data[1];
    // Each input may log in again on code 9 as often as a fresh thread.
    g_dataMap.current()->getLoginRetryCount() = 0;
    g_replies.clear();
    g_nextReply = 0;
    const std::string rest(reinterpret_cast<const char*>(data + 2), size - 2);
    std::size_t from = 0;
    for (;;) {
        const std::size_t cut = rest.find('\0', from);
        g_replies.push_back(rest.substr(from, cut == std::string::npos ? std::string::npos : cut - from));
        if (cut == std::string::npos) break;
        from = cut + 1;
    }
    op.run(variant);
    const char* last = VSDKGetLastErrorString();
    expect(last != nullptr && std::strlen(last) < (1u << 20), "last error text");
    return 0;
}
