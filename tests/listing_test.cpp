// The listing course, once for every listing: each listing is a row of the
// table below, and every case runs over all rows.
#include "VSDK.h"
#include "VSDKAPI/messages/MediaManager.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "support/WireChecks.h"

#include <functional>
#include <type_traits>

using namespace vsdktest;

namespace {

// What one call of a listing gave back.
struct Outcome {
    unsigned long rc = 0;
    int count = -7;                  // the caller's count before the call
    bool arrayUntouched = false;     // the array pointer kept its old value
    bool arrayNull = false;
    std::vector<std::string> names;  // the entries' name texts, in order
};

struct Listing {
    const char* name;
    unsigned long requestTag, replyTag, entryTag;
    FieldId list, entryName;
    const char* serverFailurePhrase;
    std::function<Outcome()> call;
    bool namesWhole = false;  // names are library strings, kept whole (else cut to 1023)
    bool failureLineFixedText = false;  // the server-failure line carries GetErrorString's text
    const char* allocationPhrase = nullptr;  // when not the server-failure phrase
};

const char* text(const char* s) { return s; }
const char* text(const std::string& s) { return s.c_str(); }

struct NoSelector {};

// Calls fn(selector, &array, &count) on a default selector (or fn(&array,
// &count) without one) and reads the records' names through nameOf.
template <class Record, class Selector, class Fn>
std::function<Outcome()> caller(Fn fn, const char* (*nameOf)(const Record&)) {
    return [fn, nameOf] {
        Selector selector{};
        Record sentinel[1];
        Record* array = sentinel;
        Outcome o;
        if constexpr (std::is_same_v<Selector, NoSelector>) {
            o.rc = fn(&array, &o.count);
        } else {
            o.rc = fn(&selector, &array, &o.count);
        }
        o.arrayUntouched = array == sentinel;
        o.arrayNull = array == nullptr;
        if (!o.arrayUntouched && array) {
            for (int i = 0; i < o.count; ++i) o.names.emplace_back(nameOf(array[i]));
            delete[] array;
        }
        return o;
    };
}

namespace ou = OrvaneUtilities;
namespace mm = MediaManager;
namespace topo = OrvaneUtilities::MediaTopologyEntry;
namespace mt = OrvaneUtilities::MediaTopologyResp;

// The library children row reads the first of its two lists.
unsigned long libraryMasterPools(const _QGetLibraryChildrenParams* p,
                                 _QMasterDrivePoolInfo** pools, int* count) {
    _QScratchPoolInfo* scratch = nullptr;
    int scratchCount = 0;
    const unsigned long rc = VSDKGetLibraryChildren(p, pools, count, &scratch, &scratchCount);
    delete[] scratch;
    return rc;
}

// A row: the listing fn, whose request and reply are ns::Q<op>ReqMsg and
// ns::Q<op>RespMsg, entries ns::<entry> at list with their name at name,
// records Rec read by member, and the rest of the row's members.
#define ROW(fn, ns, op, entry, list, name, phrase, Rec, Sel, member, ...)                       \
    Listing {                                                                                  \
        #fn, ns::Q##op##ReqMsg::kTag, ns::Q##op##RespMsg::kTag, ns::entry::kTag, list, name,   \
            phrase, caller<Rec, Sel>(fn, [](const Rec& r) { return text(r.member); }),         \
            __VA_ARGS__                                                                        \
    }

const std::vector<Listing>& listings() {
    static const std::vector<Listing> all = {
        ROW(VSDKGetApplicationTypes, ou, GetAppTypes, QAppType, ou::GetAppTypesResp::kList,
            ou::GetAppTypesResp::kName, "Retrival of application Types", _QAppTypeInfo, _QAgentTreePath, name, false,
            false, "Retrival of Application Types"),
        ROW(VSDKGetInstances, ou, GetInstances, QInstance, ou::GetInstancesResp::kList, ou::GetInstancesResp::kName,
            "Retrival of Instances", _QInstanceInfo, _QAgentTreePath, name),
        ROW(VSDKGetMediaAgents, ou, GetMediaAgents, QMediaAgent, mt::kMediaAgents, topo::kAgentName,
            "Retrival of Media agents", _QMediaAgentInfo, NoSelector, name),
        ROW(VSDKGetMediaLibraries, ou, GetMediaLibraries, QMediaLibrary, mt::kLibraries, topo::kLibraryName,
            "Retrival of Libraries", _QMediaLibraryInfo, _QMediaAgentInfo, name),
        ROW(VSDKGetMasterDrivePools, ou, GetMasterDrivePools, QMasterDrivePool, mt::kPools, topo::kMasterPoolName,
            "Retrival of Master Drive Pool", _QMasterDrivePoolInfo, _QGetMasterDrivePoolsParams, name),
        ROW(VSDKGetDrivePools, ou, GetDrivePools, QDrivePool, mt::kPools, topo::kDrivePoolName,
            "Retrival of Drive Pools", _QDrivePoolInfo, _QGetDrivePoolsParams, name),
        ROW(VSDKGetScratchPools, ou, GetScratchPools, QScratchPool, mt::kPools, topo::kScratchPoolName,
            "Retrival of Scratch Pools", _QScratchPoolInfo, _QGetScratchPoolsParams, name),
        ROW(libraryMasterPools, ou, GetLibraryChildren, QMasterDrivePool, mt::kChildrenMasterPools,
            topo::kMasterPoolName, "Retrival of Libraries", _QMasterDrivePoolInfo, _QGetLibraryChildrenParams, name),
        ROW(VSDKGetDrives, mm, GetDrives, QDrive, mm::GetDrives::kDrives, mm::GetDrives::kDriveName,
            "Retrival of Drives", _QDriveInfo, _QGetDrivesParams, name),
        ROW(VSDKGetMedia, ou, GetMedia, QMedia, mt::kMedia, ou::MediaEntry::kMediaName, "Retrival of media",
            _QMediaInfo, _QGetMediaParams, mediaName),
        ROW(VSDKGetQuickMedia, ou, GetQuickMedia, QQuickMedia, mt::kMedia, ou::QuickMediaEntry::kMediaText,
            "Retrival of quick media", _QQuickMediaInfo, _QGetQuickMediaParams, mediaText),
        ROW(VSDKGetBackupSets, ou, GetBackupSets, QBackupSet, ou::GetBackupSetsResp::kList,
            ou::GetBackupSetsResp::kName, "Retrival of BackupSets", _QBackupSetInfo, _QAgentTreePath, backupSetName,
            false, true),
        ROW(VSDKGetSubclients, ou, GetSubclients, QSubclient, ou::Subclient::kList, ou::Subclient::kName,
            "Retrival of SubClients", _QSubclientInfo, _QAgentTreePath, subclientName),
        ROW(VSDKGetSQLDataBases, ou, GetSQLDB, QSQLDBInfo, ou::SqlDatabase::kList, ou::SqlDatabase::kName,
            "Retrival of SQL Databases", _QSQLDBInfo, _QGetSQLDBParameters, name),
        ROW(VSDKGetLocations, ou, GetLocations, QLocation, ou::Offsite::kLocations, ou::Location::kName,
            "Retrival of Locations", _QLocationInfo, NoSelector, locationName),
        ROW(VSDKGetContainers, ou, GetContainers, QContainer, ou::Offsite::kContainers, ou::Container::kName,
            "Retrival of Containers", _QContainerInfo, NoSelector, containerName),
        ROW(VSDKGetMediaShelves, ou, GetMediaShelves, QMediaShelf, ou::Offsite::kMediaShelves, ou::MediaShelf::kName,
            "Retrival of MediaShelves", _QMediaShelfInfo, NoSelector, shelfName),
        ROW(VSDKGetIronMountains, ou, GetIronMountains, QIronMountain, ou::Offsite::kIronMountains,
            ou::IronMountain::kIronMountainId, "Retrival of IronMountains", _QIronMountainInfo, NoSelector,
            ironMountainId),
        ROW(VSDKGetSWActions, ou, GetSWActions, QSWAction, ou::Offsite::kSWActions, ou::SWAction::kPolicyName,
            "Retrival of actions", _QSWActionInfo, NoSelector, policyName),
        ROW(VSDKGetShelfwatchPolicies, ou, GetShelfwatchPolicies, QShelfwatchPolicy, ou::ShelfwatchPolicy::kList,
            ou::ShelfwatchPolicy::kPolicyName, "Retrival of Shelfwatch Policies", _QShelfwatchPolicyInfo, NoSelector,
            policyName),
        ROW(VSDKGetOrvaneUsers, ou, GetOrvaneUsers, QOrvaneUser, ou::GetOrvaneUsersResp::kList,
            ou::GetOrvaneUsersResp::kName, "Retrival of users", _QOrvaneUserInfo, NoSelector, name),
        ROW(VSDKGetOrvaneUserGroups, ou, GetOrvaneUserGroups, QOrvaneUserGroup, ou::GetOrvaneUserGroupsResp::kList,
            ou::GetOrvaneUserGroupsResp::kName, "Retrival of Orvane user groups", _QOrvaneUserGroupInfo,
            _QGetOrvaneUserGroupsParameters, name),
        ROW(VSDKGetSnaps, ou, GetSnaps, QSnapshot, ou::GetSnaps::kList, ou::GetSnaps::kText2, "Retrival of Snaps",
            _QSnapShotInfo, _QGetSnapsParameters, text2, true),
        ROW(VSDKGetStoragePolicies, ou, GetStoragePolicies, QStoragePolicy, ou::GetStoragePoliciesResp::kList,
            ou::StoragePolicyEntry::kName, "Retrival of Storage Policies", _QStoragePolicyInfo, NoSelector, name),
        ROW(VSDKGetStoragePolicyCopies, ou, GetStoragePolicyCopies, QStoragePolicyCopy,
            ou::GetStoragePolicyCopiesResp::kList, ou::StoragePolicyCopyEntry::kName, "Retrival of Primary Copies",
            _QStoragePolicyCopyInfo, _QStoragePolicyInfo, name),
        ROW(VSDKGetReplicationSets, ou, GetReplicationSets, QReplicationSet, ou::GetReplicationSetsResp::kList,
            ou::GetReplicationSetsResp::kName, "Retrival of Replication Sets", _QReplicationSetInfo,
            _QGetReplicationSetsParameters, name),
        ROW(VSDKGetReplicationPairs, ou, GetReplicationPairs, QReplicationPair, ou::GetReplicationPairsResp::kList,
            ou::GetReplicationPairsResp::kName, "Retrival of Replication Pairs", _QReplicationPairInfo,
            _QGetReplicationPairsParameters, name),
    };
    return all;
}
#undef ROW

// The server answers l's request with entries named as given.
void answerWith(TestEnv& env, const Listing& l, const std::vector<std::string>& names) {
    env.server().replyWith(l.requestTag, l.replyTag, [l, names](const CNMessageBase&, CNMessageBase& reply) {
        const vsdkmsg::MessageType* type = vsdkmsg::findByTag(l.entryTag);
        for (const std::string& name : names) {
            CNMessageBase entry(type->module, type->classNumber);
            msgf::putText(entry, l.entryName, name);
            msgf::appendObject(reply, l.list, entry);
        }
    });
}

class ListingCourse : public StartedTest {};

TEST_F(ListingCourse, EveryListingOverTheWholeCourse) {
    const std::string longName(1500, 'n');
    for (const Listing& l : listings()) {
        SCOPED_TRACE(l.name);
        env.server().clearScripts();
        answerWith(env, l, {longName, "second"});
        Outcome o = l.call();
        ASSERT_TRUE(o.rc == 0 && o.count == 2) << o.rc << " " << o.count;
        EXPECT_EQ(l.namesWhole ? longName : std::string(1023, 'n'), o.names[0]) << "cut to the field, terminated";
        EXPECT_EQ("second", o.names[1]) << "the next record is intact";

        // An empty listing succeeds and a list of other entries is invalid;
        // both leave the caller's array alone.
        env.server().clearScripts();
        answerWith(env, l, {});
        o = l.call();
        EXPECT_TRUE(o.rc == 0 && o.count == 0 && o.arrayUntouched) << o.rc << " " << o.count;
        env.server().clearScripts();
        env.server().replyWith(l.requestTag, l.replyTag, [l](const CNMessageBase&, CNMessageBase& reply) {
            msgf::appendObject(reply, l.list, ou::QTime());
        });
        o = l.call();
        EXPECT_TRUE(o.rc == 0x207 && o.count == -7 && o.arrayUntouched) << o.rc << " " << o.count;

        // A server error leaves the outputs and sets the last error.
        env.server().clearScripts();
        env.server().serverError(l.requestTag, 0x31, "no such client");
        std::size_t mark = env.logMark();
        o = l.call();
        EXPECT_TRUE(o.rc == 0x31 && o.count == -7 && o.arrayUntouched) << o.rc << " " << o.count;
        EXPECT_STREQ("no such client", VSDKGetLastErrorString());
        const std::string text = l.failureLineFixedText ? GetErrorString(0x31) : "no such client";
        EXPECT_TRUE(env.logContains(std::string(l.serverFailurePhrase) +
                                        " failed with Error code [0x31] Error string [" + text + "]", mark));

        // A failed allocation keeps the count, nulls the array and the last error stays.
        env.server().clearScripts();
        answerWith(env, l, {"a", "b", "c"});
        setErrorString("before");
        g_failListingAllocations = 1;
        mark = env.logMark();
        o = l.call();
        EXPECT_TRUE(o.rc == 0x201 && o.count == 3 && o.arrayNull) << o.rc << " " << o.count;
        EXPECT_STREQ("before", VSDKGetLastErrorString());
        const char* phrase = l.allocationPhrase ? l.allocationPhrase : l.serverFailurePhrase;
        EXPECT_TRUE(env.logContains(std::string(phrase) + " failed with Error code [0x201]", mark));
    }
}

TEST(ListingCourseWithoutState, NothingIsSent) {
    TestEnv env;
    for (const Listing& l : listings()) {
        SCOPED_TRACE(l.name);
        const Outcome o = l.call();
        EXPECT_TRUE(o.rc == 0x280 && o.count == -7 && o.arrayUntouched) << o.rc << " " << o.count;
    }
    EXPECT_EQ(0u, env.server().requestCount());
}

}  // namespace
