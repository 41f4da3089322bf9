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

// A listing's outputs: on success count entries in array (none: array left
// null); on a failure nothing handed out. Each record is checked, then the
// array is released as the caller does.
template <class T, class Each>
void listing(unsigned long rc, T* array, int count, Each each) {
    if (rc == 0) {
        expect(count >= 0, "negative count");
        expect((count > 0) == (array != nullptr), "count and array disagree");
        for (int i = 0; i < count; ++i) each(array[i]);
    } else {
        expect(array == nullptr, "a failure handed out an array");
    }
    delete[] array;
}

template <class T>
void named(const T& record) {
    terminated(record.name);
}

void jobStart(unsigned long rc, const _QJobStartInfo& info, bool xml) {
    if (rc == 0 && !xml) expect(info.xmlText.empty(), "XML text nobody asked for");
}

void location(const _QLocationInfo& l) { terminated(l.locationName); }

void rule(const _QSWRuleInfo& r) { terminated(r.ruleField16); }

void sqlDatabase(const _QSQLDBInfo& d) { terminated(d.name, d.secondText); }

void treePath(_QAgentTreePath& p) {
    p.clientId = 2;
    std::snprintf(p.clientName, sizeof p.clientName, "client1");
    p.appTypeId = 29;
    std::snprintf(p.appName, sizeof p.appName, "File System");
    p.instanceId = 1;
    std::snprintf(p.instanceName, sizeof p.instanceName, "DefaultInstanceName");
    p.backupSetId = 3;
    std::snprintf(p.backupSetName, sizeof p.backupSetName, "defaultBackupSet");
}

using Run = void (*)(unsigned variant);
struct Operation {
    const char* name;
    Run run;
};

// ---- Backup and restore ------------------------------------------------

void backup(unsigned v) {
    _QBackupParameters p;
    p.options = 1;
    std::snprintf(p.clientName, sizeof p.clientName, "client1");
    std::snprintf(p.subclientName, sizeof p.subclientName, "default");
    p.xmlResult = v & 1;
    _QJobStartInfo r;
    jobStart(VSDKBackup(&p, &r), r, p.xmlResult != 0);
}

void validateBackup(unsigned) {
    _QBackupParameters p;
    VSDKValidateBackup(&p);
}

void auxCopy(unsigned) {
    _QAuxCopyParameters p;
    std::snprintf(p.storagePolicyName, sizeof p.storagePolicyName, "SP1");
    long long id = 0;
    VSDKAuxCopy(&p, &id);
}

void ageData(unsigned) {
    _QAgeDataParameters p;
    long long id = 0;
    VSDKAgeData(&p, &id);
}

void erBackup(unsigned) {
    _QERBackupParameters p;
    long long id = 0;
    VSDKERBackup(&p, &id);
}

_QRestoreParameters restoreRecord(unsigned v) {
    _QRestoreParameters p;
    std::snprintf(p.sourceClientName, sizeof p.sourceClientName, "client1");
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
    std::snprintf(p.sourceClientName, sizeof p.sourceClientName, "client1");
    p.xmlResult = v & 1;
    _QJobStartInfo r;
    jobStart(VSDKDBRestore(&p, &r), r, p.xmlResult != 0);
}

// ---- Agents, instances, backup sets and subclients ---------------------

void appTypes(unsigned) {
    _QAgentTreePath s;
    treePath(s);
    _QAppTypeInfo* out = nullptr;
    int n = -1;
    listing(VSDKGetApplicationTypes(&s, &out, &n), out, n, named<_QAppTypeInfo>);
}

void instances(unsigned) {
    _QAgentTreePath s;
    treePath(s);
    _QInstanceInfo* out = nullptr;
    int n = -1;
    listing(VSDKGetInstances(&s, &out, &n), out, n, [](const _QInstanceInfo& i) {
        terminated(i.name, i.firstText, i.secondText, i.thirdText, i.description);
    });
}

void backupSets(unsigned) {
    _QAgentTreePath s;
    treePath(s);
    _QBackupSetInfo* out = nullptr;
    int n = -1;
    listing(VSDKGetBackupSets(&s, &out, &n), out, n,
            [](const _QBackupSetInfo& b) { terminated(b.backupSetName, b.description); });
}

void setInstance(unsigned v) {
    _QSetInstanceParameters p;
    static const int kTypes[] = {81, 22, 62, 13};
    p.appTypeId = kTypes[v & 3];
    std::snprintf(p.clientName, sizeof p.clientName, "client1");
    std::snprintf(p.instanceName, sizeof p.instanceName, "inst1");
    int id = 0;
    VSDKSetInstances(&p, &id);
}

void setBackupSet(unsigned) {
    _QSetBackupSetParameters p;
    std::snprintf(p.clientName, sizeof p.clientName, "client1");
    std::snprintf(p.backupSetName, sizeof p.backupSetName, "bs1");
    int id = 0;
    VSDKSetBackupSets(&p, &id);
}

void modifyBackupSet(unsigned) {
    _QModifyBackupSetParameters p;
    treePath(p);
    VSDKModifyBackupSets(&p);
}

void deleteBackupSet(unsigned) {
    _QDeleteBackupSetParameters p;
    treePath(p);
    VSDKDeleteBackupSet(&p);
}

void systemDatabases(unsigned) {
    _QGetSystemDatabasesParameters p;
    treePath(p);
    long long code = 0;
    VSDKGetSystemDatabases(&p, &code);
}

void discoverContent(unsigned) {
    _QDiscoverContentParameters p;
    p.clientId = 2;
    _QDiscoverContentInfo* out = nullptr;
    int n = -1;
    listing(VSDKDiscoverContent(&p, &out, &n), out, n,
            [](const _QDiscoverContentInfo& c) { terminated(c.path); });
}

void subclients(unsigned) {
    _QAgentTreePath s;
    treePath(s);
    _QSubclientInfo* out = nullptr;
    int n = -1;
    listing(VSDKGetSubclients(&s, &out, &n), out, n, [](const _QSubclientInfo& c) {
        terminated(c.subclientName, c.storagePolicyName, c.description);
        for (const _QSQLDBInfo& d : c.sqlDatabases) sqlDatabase(d);
    });
}

void sqlDatabases(unsigned) {
    _QGetSQLDBParameters p;
    p.clientId = 2;
    _QSQLDBInfo* out = nullptr;
    int n = -1;
    listing(VSDKGetSQLDataBases(&p, &out, &n), out, n, sqlDatabase);
}

void setSubclient(unsigned) {
    _QSetSubclientParameters p;
    std::snprintf(p.clientName, sizeof p.clientName, "client1");
    std::snprintf(p.subclientName, sizeof p.subclientName, "sc1");
    p.contents = {"/data"};
    int id = 0;
    VSDKSetSubclients(&p, &id);
}

void deleteSubclient(unsigned) {
    _QDeleteSubclientParameters p;
    treePath(p);
    std::snprintf(p.subclientName, sizeof p.subclientName, "sc1");
    VSDKDeleteSubclient(&p);
}

void globalFilters(unsigned) {
    _QOSFilterAssocInfo* out = nullptr;
    int n = -1;
    listing(VSDKGetGlobalFilters(&out, &n), out, n, [](const _QOSFilterAssocInfo& a) {
        for (const _QFilterInfo& f : a.filters) terminated(f.filter);
    });
}

void setGlobalFilters(unsigned) {
    _QSetOSFilterParameters p;
    p.filters = {"*.tmp"};
    VSDKSetGlobalFilters(&p);
}

void vsProperty(unsigned) {
    _QApplicationIdInfo ids;
    ids.clientId = 2;
    std::string property;
    VSDKGetVSBackupsetProperty(&ids, &property);
}

void vsContent(unsigned) {
    _QSetVSSubclientContentParameters p;
    p.subclientId = 5;
    VSDKSetVSSubclientContent(&p);
}

// ---- Storage policies and data paths -----------------------------------

void storagePolicies(unsigned) {
    _QStoragePolicyInfo* out = nullptr;
    int n = -1;
    listing(VSDKGetStoragePolicies(&out, &n), out, n, named<_QStoragePolicyInfo>);
}

void storagePolicyCopies(unsigned) {
    _QStoragePolicyInfo policy;
    policy.id = 1;
    std::snprintf(policy.name, sizeof policy.name, "SP1");
    _QStoragePolicyCopyInfo* out = nullptr;
    int n = -1;
    listing(VSDKGetStoragePolicyCopies(&policy, &out, &n), out, n, named<_QStoragePolicyCopyInfo>);
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

_QSetStoragePolicyParameters policyRecord() {
    _QSetStoragePolicyParameters p;
    std::snprintf(p.storageGroupName, sizeof p.storageGroupName, "SP1");
    std::snprintf(p.mediaAgentName, sizeof p.mediaAgentName, "ma1");
    std::snprintf(p.libraryName, sizeof p.libraryName, "lib1");
    return p;
}

_QSetStoragePolicyCopyParameters copyRecord() {
    _QSetStoragePolicyCopyParameters p;
    std::snprintf(p.secondaryCopyName, sizeof p.secondaryCopyName, "copy2");
    p.operationId = 1;
    std::snprintf(p.storageGroupName, sizeof p.storageGroupName, "SP1");
    std::snprintf(p.mediaAgentName, sizeof p.mediaAgentName, "ma1");
    std::snprintf(p.libraryName, sizeof p.libraryName, "lib1");
    return p;
}

void setStoragePolicy(unsigned) {
    const _QSetStoragePolicyParameters p = policyRecord();
    int id = 0;
    VSDKSetStoragePolicy(&p, &id);
}

void setStoragePolicyCopy(unsigned) {
    const _QSetStoragePolicyCopyParameters p = copyRecord();
    int id = 0;
    VSDKSetStoragePolicyCopies(&p, &id);
}

void deleteStoragePolicy(unsigned) {
    _QDeleteStoragePolicyParameters p;
    std::snprintf(p.storagePolicyName, sizeof p.storagePolicyName, "SP1");
    VSDKDeleteStoragePolicy(&p);
}

void deleteStoragePolicyCopy(unsigned) {
    _QDeleteStoragePolicyCopyParameters p;
    std::snprintf(p.storagePolicyName, sizeof p.storagePolicyName, "SP1");
    std::snprintf(p.storagePolicyCopyName, sizeof p.storagePolicyCopyName, "copy2");
    VSDKDeleteStoragePolicyCopy(&p);
}

void setStoragePolicyCopyXml(unsigned) {
    const _QSetStoragePolicyCopyParameters p = copyRecord();
    int id = 0;
    VSDKSetStoragePolicyCopies_XML(&p, &id);
}

void addDataPathXml(unsigned) {
    const _QSetStoragePolicyCopyParameters p = copyRecord();
    int result = 0;
    VSDKAddDataPath_XML(&p, &result);
}

void setStoragePolicyXml(unsigned) {
    const _QSetStoragePolicyParameters p = policyRecord();
    int id = 0;
    VSDKSetStoragePolicy_XML(&p, &id);
}

void deleteStoragePolicyXml(unsigned) {
    _QDeleteStoragePolicyParameters p;
    std::snprintf(p.storagePolicyName, sizeof p.storagePolicyName, "SP1");
    VSDKDeleteStoragePolicy_XML(&p);
}

void deleteStoragePolicyCopyXml(unsigned) {
    _QDeleteStoragePolicyCopyParameters p;
    std::snprintf(p.storagePolicyName, sizeof p.storagePolicyName, "SP1");
    std::snprintf(p.storagePolicyCopyName, sizeof p.storagePolicyCopyName, "copy2");
    VSDKDeleteStoragePolicyCopy_XML(&p);
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

void pruneByStore(unsigned) {
    _QPruneDataByDedupStoreIdParameters p;
    p.storeIds = {7, 8};
    std::string text;
    VSDKPruneDataByStoreId(&p, &text);
}

void pruneByJob(unsigned) {
    _QPruneDataByJobIdParameters p;
    p.storagePolicyId = 1;
    p.jobIds = {100};
    std::string text;
    VSDKPruneDataByJobId(&p, &text);
}

// ---- Media, libraries and drives ---------------------------------------

void mediaAgents(unsigned) {
    _QMediaAgentInfo* out = nullptr;
    int n = -1;
    listing(VSDKGetMediaAgents(&out, &n), out, n, named<_QMediaAgentInfo>);
}

void libraries(unsigned) {
    _QMediaAgentInfo agent;
    agent.id = 1;
    std::snprintf(agent.name, sizeof agent.name, "ma1");
    _QMediaLibraryInfo* out = nullptr;
    int n = -1;
    listing(VSDKGetMediaLibraries(&agent, &out, &n), out, n, named<_QMediaLibraryInfo>);
}

void masterDrivePools(unsigned) {
    _QGetMasterDrivePoolsParams p;
    p.libraryId = 1;
    _QMasterDrivePoolInfo* out = nullptr;
    int n = -1;
    listing(VSDKGetMasterDrivePools(&p, &out, &n), out, n, named<_QMasterDrivePoolInfo>);
}

void drivePools(unsigned) {
    _QGetDrivePoolsParams p;
    p.libraryId = 1;
    _QDrivePoolInfo* out = nullptr;
    int n = -1;
    listing(VSDKGetDrivePools(&p, &out, &n), out, n, named<_QDrivePoolInfo>);
}

void scratchPools(unsigned) {
    _QGetScratchPoolsParams p;
    p.libraryId = 1;
    _QScratchPoolInfo* out = nullptr;
    int n = -1;
    listing(VSDKGetScratchPools(&p, &out, &n), out, n, named<_QScratchPoolInfo>);
}

void libraryChildren(unsigned) {
    _QGetLibraryChildrenParams p;
    p.libraryId = 1;
    _QMasterDrivePoolInfo* masters = nullptr;
    _QScratchPoolInfo* scratch = nullptr;
    int nm = -1, ns = -1;
    const unsigned long rc = VSDKGetLibraryChildren(&p, &masters, &nm, &scratch, &ns);
    listing(rc, masters, nm, named<_QMasterDrivePoolInfo>);
    listing(rc, scratch, ns, named<_QScratchPoolInfo>);
}

void drives(unsigned) {
    _QGetDrivesParams p;
    p.libraryId = 1;
    _QDriveInfo* out = nullptr;
    int n = -1;
    listing(VSDKGetDrives(&p, &out, &n), out, n, named<_QDriveInfo>);
}

void media(unsigned) {
    _QGetMediaParams p;
    p.storagePolicyId = 1;
    _QMediaInfo* out = nullptr;
    int n = -1;
    listing(VSDKGetMedia(&p, &out, &n), out, n, [](const _QMediaInfo& m) {
        terminated(m.mediaName, m.storagePolicyName, m.copyName, m.locationName, m.libraryName,
                   m.text7, m.description, m.text11, m.text13, m.text14, m.scratchPoolName,
                   m.text16, m.sizeText, m.text18, m.text19);
    });
}

void quickMedia(unsigned) {
    _QGetQuickMediaParams p;
    p.clientId = 2;
    _QQuickMediaInfo* out = nullptr;
    int n = -1;
    listing(VSDKGetQuickMedia(&p, &out, &n), out, n, [](const _QQuickMediaInfo& m) {
        terminated(m.mediaText, m.text2, m.libraryName, m.text4, m.storagePolicyName, m.copyName,
                   m.subclientName, m.containerName);
    });
}

void libraryControl(unsigned) {
    _QLibraryControlParams p;
    p.libraryId = 1;
    VSDKLibraryControl(&p);
}

void driveControl(unsigned) {
    _QDriveControlParams p;
    p.driveId = 1;
    VSDKDriveControl(&p);
}

void controlMediaAgent(unsigned) {
    _QControlMediaAgentParameters p;
    p.mediaAgentId = 1;
    VSDKControlMediaAgent(&p);
}

void mediaExport(unsigned) {
    _QMediaExportParams p;
    p.mediaList = {1, 2};
    VSDKMediaExport(&p);
}

void discoverMedia(unsigned) {
    _QDiscoverMediaParameters p;
    p.barcodeList = {"BC0001"};
    VSDKDiscoverMedia(&p);
}

void verifyMedia(unsigned) {
    _QVerifyMediaParams p;
    p.mediaId = 1;
    std::string text;
    VSDKVerifyMedia(&p, &text);
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

// ---- Off-site media tracking -------------------------------------------

void locations(unsigned) {
    _QLocationInfo* out = nullptr;
    int n = -1;
    listing(VSDKGetLocations(&out, &n), out, n, location);
}

void containers(unsigned) {
    _QContainerInfo* out = nullptr;
    int n = -1;
    listing(VSDKGetContainers(&out, &n), out, n,
            [](const _QContainerInfo& c) { terminated(c.containerName, c.trackingId); });
}

void shelves(unsigned) {
    _QMediaShelfInfo* out = nullptr;
    int n = -1;
    listing(VSDKGetMediaShelves(&out, &n), out, n, [](const _QMediaShelfInfo& s) { terminated(s.shelfName); });
}

void ironMountains(unsigned) {
    _QIronMountainInfo* out = nullptr;
    int n = -1;
    listing(VSDKGetIronMountains(&out, &n), out, n,
            [](const _QIronMountainInfo& i) { terminated(i.ironMountainId); });
}

void swActions(unsigned) {
    _QSWActionInfo* out = nullptr;
    int n = -1;
    listing(VSDKGetSWActions(&out, &n), out, n, [](const _QSWActionInfo& a) {
        terminated(a.policyName, a.containerName, a.actionField13);
        location(a.location1);
        location(a.location2);
        location(a.location3);
    });
}

void setLocation(unsigned) {
    _QSetLocationParameters p;
    std::snprintf(p.locationName, sizeof p.locationName, "vault");
    int id = 0;
    VSDKSetLocation(&p, &id);
}

void setContainer(unsigned) {
    _QSetContainerParameters p;
    std::snprintf(p.containerName, sizeof p.containerName, "box");
    int id = 0;
    VSDKSetContainer(&p, &id);
}

void setShelf(unsigned) {
    _QSetMediaShelfParameters p;
    std::snprintf(p.shelfName, sizeof p.shelfName, "shelf");
    p.barcodeList = {"BC0001"};
    int id = 0;
    VSDKSetMediaShelf(&p, &id);
}

void setIronMountain(unsigned) {
    _QSetIronMountainParameters p;
    std::snprintf(p.ironMountainId, sizeof p.ironMountainId, "IM1");
    int id = 0;
    VSDKSetIronMountain(&p, &id);
}

void setSWAction(unsigned) {
    _QSetSWActionParameters p;
    p.actionId = 4;
    p.valueList = {1, 2};
    int id = 0;
    VSDKSetSWAction(&p, &id);
}

void deleteLocation(unsigned) {
    _QDeleteLocationParameters p;
    std::snprintf(p.locationName, sizeof p.locationName, "vault");
    VSDKDeleteLocation(&p);
}

void deleteContainer(unsigned) {
    _QDeleteContainerParameters p;
    std::snprintf(p.containerName, sizeof p.containerName, "box");
    VSDKDeleteContainer(&p);
}

void deleteShelf(unsigned) {
    _QDeleteMediaShelfParameters p;
    std::snprintf(p.shelfName, sizeof p.shelfName, "shelf");
    VSDKDeleteMediaShelf(&p);
}

void deleteIronMountain(unsigned) {
    _QDeleteIronMountainParameters p;
    std::snprintf(p.ironMountainId, sizeof p.ironMountainId, "IM1");
    VSDKDeleteIronMountain(&p);
}

void deleteShelfwatchPolicy(unsigned) {
    _QDeleteShelfwatchPolicyParameters p;
    std::snprintf(p.policyName, sizeof p.policyName, "swp");
    VSDKDeleteShelfwatchPolicy(&p);
}

void shelfwatchPolicies(unsigned) {
    _QShelfwatchPolicyInfo* out = nullptr;
    int n = -1;
    listing(VSDKGetShelfwatchPolicies(&out, &n), out, n, [](const _QShelfwatchPolicyInfo& p) {
        terminated(p.policyName);
        rule(p.rule);
    });
}

void setShelfwatchPolicy(unsigned) {
    _QSetShelfwatchPolicyParameters p;
    std::snprintf(p.policyName, sizeof p.policyName, "swp");
    p.spCopyList.resize(1);
    p.locationList.resize(1);
    int id = 0;
    VSDKSetShelfwatchPolicy(&p, &id);
}

void shelfwatch(unsigned) {
    _QShelfwatchParameters p;
    std::snprintf(p.policyName, sizeof p.policyName, "swp");
    VSDKShelfwatch(&p);
}

// ---- Replication, snapshots and administration -------------------------

void replicationSets(unsigned) {
    _QGetReplicationSetsParameters s;
    s.clientId = 2;
    _QReplicationSetInfo* out = nullptr;
    int n = -1;
    listing(VSDKGetReplicationSets(&s, &out, &n), out, n, named<_QReplicationSetInfo>);
}

void replicationPairs(unsigned) {
    _QGetReplicationPairsParameters s;
    s.repSetId = 1;
    _QReplicationPairInfo* out = nullptr;
    int n = -1;
    listing(VSDKGetReplicationPairs(&s, &out, &n), out, n, named<_QReplicationPairInfo>);
}

void replication(unsigned) {
    _QReplicationParameters p;
    p.repSetId = 1;
    VSDKReplication(&p);
}

void createRepSet(unsigned) {
    _QCreateRepSetParameters p;
    p.clientName = "client1";
    VSDKCreateRepSet(&p);
}

void createRepSetNew(unsigned) {
    _QCreateRepSetNewParameters p;
    p.filterPaths = {"/tmp"};
    VSDKCreateRepSetNew(&p);
}

void createReplicationPair(unsigned) {
    _QCreateReplicationPairParameters p;
    p.pairText = "pair";
    VSDKCreateReplicationPair(&p);
}

void users(unsigned) {
    _QOrvaneUserInfo* out = nullptr;
    int n = -1;
    listing(VSDKGetOrvaneUsers(&out, &n), out, n, [](const _QOrvaneUserInfo& u) { terminated(u.name, u.userText); });
}

void userGroups(unsigned) {
    _QGetOrvaneUserGroupsParameters s;
    s.userId = 1;
    _QOrvaneUserGroupInfo* out = nullptr;
    int n = -1;
    listing(VSDKGetOrvaneUserGroups(&s, &out, &n), out, n, named<_QOrvaneUserGroupInfo>);
}

void setUser(unsigned) {
    _QSetOrvaneUserParameters p;
    std::snprintf(p.userName, sizeof p.userName, "user1");
    p.groups = {1};
    VSDKSetOrvaneUser(&p);
}

void changePasswords(unsigned) {
    _QChangePasswordsParameters p;
    std::snprintf(p.clientName, sizeof p.clientName, "client1");
    VSDKChangePasswords(&p);
}

void capture(unsigned) {
    _QFenmarkCaptureParameters p;
    p.clientNames = {"client1"};
    std::string answerFile;
    VSDKFenmarkCapture(&p, answerFile);
}

void merge(unsigned) {
    _QFenmarkMergeParameters p;
    p.afContent = "answer";
    VSDKFenmarkMerge(&p);
}

void snaps(unsigned) {
    _QGetSnapsParameters p;
    p.jobId = "100";
    _QSnapShotInfo* out = nullptr;
    int n = -1;
    listing(VSDKGetSnaps(&p, &out, &n), out, n, [](const _QSnapShotInfo& s) {
        expect(s.timeText.find('\0') == std::string::npos && s.timeText.size() < 128,
               "snapshot time text");
    });
}

void snap(unsigned) {
    _QSnapParameters p;
    p.operation = "create";
    p.intList = {1};
    p.stringList = {"a"};
    VSDKSnap(&p);
}

void update(unsigned) {
    _QBrevantUpdateParameters p;
    std::snprintf(p.clientName, sizeof p.clientName, "client1");
    long id = 0;
    VSDKBrevantUpdate(&p, &id);
}

// ---- Login and logout ---------------------------------------------------

void login(unsigned v) {
    _QLoginParameters p;
    std::snprintf(p.user, sizeof p.user, "admin");
    std::snprintf(p.password, sizeof p.password, "secret");
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

const Operation kOperations[] = {
    {"VSDKBackup", backup},
    {"VSDKValidateBackup", validateBackup},
    {"VSDKAuxCopy", auxCopy},
    {"VSDKAgeData", ageData},
    {"VSDKERBackup", erBackup},
    {"VSDKRestore", restore},
    {"VSDKValidateRestore", validateRestore},
    {"VSDKSearch", search},
    {"VSDKSearchRestore", searchRestore},
    {"VSDKDBRestore", dbRestore},
    {"VSDKGetApplicationTypes", appTypes},
    {"VSDKGetInstances", instances},
    {"VSDKGetBackupSets", backupSets},
    {"VSDKSetInstances", setInstance},
    {"VSDKSetBackupSets", setBackupSet},
    {"VSDKModifyBackupSets", modifyBackupSet},
    {"VSDKDeleteBackupSet", deleteBackupSet},
    {"VSDKGetSystemDatabases", systemDatabases},
    {"VSDKDiscoverContent", discoverContent},
    {"VSDKGetSubclients", subclients},
    {"VSDKGetSQLDataBases", sqlDatabases},
    {"VSDKSetSubclients", setSubclient},
    {"VSDKDeleteSubclient", deleteSubclient},
    {"VSDKGetGlobalFilters", globalFilters},
    {"VSDKSetGlobalFilters", setGlobalFilters},
    {"VSDKGetVSBackupsetProperty", vsProperty},
    {"VSDKSetVSSubclientContent", vsContent},
    {"VSDKGetStoragePolicies", storagePolicies},
    {"VSDKGetStoragePolicyCopies", storagePolicyCopies},
    {"VSDKGetStoragePolicies_NOSTL", storagePolicyNames},
    {"VSDKSetStoragePolicy", setStoragePolicy},
    {"VSDKSetStoragePolicyCopies", setStoragePolicyCopy},
    {"VSDKDeleteStoragePolicy", deleteStoragePolicy},
    {"VSDKDeleteStoragePolicyCopy", deleteStoragePolicyCopy},
    {"VSDKSetStoragePolicyCopies_XML", setStoragePolicyCopyXml},
    {"VSDKAddDataPath_XML", addDataPathXml},
    {"VSDKSetStoragePolicy_XML", setStoragePolicyXml},
    {"VSDKDeleteStoragePolicy_XML", deleteStoragePolicyXml},
    {"VSDKDeleteStoragePolicyCopy_XML", deleteStoragePolicyCopyXml},
    {"VSDKGetDataPath", dataPath},
    {"VSDKPruneDataByStoreId", pruneByStore},
    {"VSDKPruneDataByJobId", pruneByJob},
    {"VSDKGetMediaAgents", mediaAgents},
    {"VSDKGetMediaLibraries", libraries},
    {"VSDKGetMasterDrivePools", masterDrivePools},
    {"VSDKGetDrivePools", drivePools},
    {"VSDKGetScratchPools", scratchPools},
    {"VSDKGetLibraryChildren", libraryChildren},
    {"VSDKGetDrives", drives},
    {"VSDKGetMedia", media},
    {"VSDKGetQuickMedia", quickMedia},
    {"VSDKLibraryControl", libraryControl},
    {"VSDKDriveControl", driveControl},
    {"VSDKControlMediaAgent", controlMediaAgent},
    {"VSDKMediaExport", mediaExport},
    {"VSDKDiscoverMedia", discoverMedia},
    {"VSDKVerifyMedia", verifyMedia},
    {"VSDKGetMediaContents", mediaContents},
    {"VSDKGetLocations", locations},
    {"VSDKGetContainers", containers},
    {"VSDKGetMediaShelves", shelves},
    {"VSDKGetIronMountains", ironMountains},
    {"VSDKGetSWActions", swActions},
    {"VSDKSetLocation", setLocation},
    {"VSDKSetContainer", setContainer},
    {"VSDKSetMediaShelf", setShelf},
    {"VSDKSetIronMountain", setIronMountain},
    {"VSDKSetSWAction", setSWAction},
    {"VSDKDeleteLocation", deleteLocation},
    {"VSDKDeleteContainer", deleteContainer},
    {"VSDKDeleteMediaShelf", deleteShelf},
    {"VSDKDeleteIronMountain", deleteIronMountain},
    {"VSDKDeleteShelfwatchPolicy", deleteShelfwatchPolicy},
    {"VSDKGetShelfwatchPolicies", shelfwatchPolicies},
    {"VSDKSetShelfwatchPolicy", setShelfwatchPolicy},
    {"VSDKShelfwatch", shelfwatch},
    {"VSDKGetReplicationSets", replicationSets},
    {"VSDKGetReplicationPairs", replicationPairs},
    {"VSDKReplication", replication},
    {"VSDKCreateRepSet", createRepSet},
    {"VSDKCreateRepSetNew", createRepSetNew},
    {"VSDKCreateReplicationPair", createReplicationPair},
    {"VSDKGetOrvaneUsers", users},
    {"VSDKGetOrvaneUserGroups", userGroups},
    {"VSDKSetOrvaneUser", setUser},
    {"VSDKChangePasswords", changePasswords},
    {"VSDKFenmarkCapture", capture},
    {"VSDKFenmarkMerge", merge},
    {"VSDKGetSnaps", snaps},
    {"VSDKSnap", snap},
    {"VSDKBrevantUpdate", update},
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
