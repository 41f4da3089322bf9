// The listing course, once for every listing: each listing is a row of the
// table below, and every case runs over all rows.
#include "VSDK.h"
#include "VSDKAPI/messages/MediaManager.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "support/WireChecks.h"

#include <functional>
#include <string>
#include <vector>

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
    unsigned long requestTag;
    unsigned long replyTag;
    unsigned long entryTag;
    FieldId list;
    FieldId entryName;
    const char* serverFailurePhrase;
    const char* allocationPhrase;
    std::function<Outcome()> call;
    bool namesWhole = false;  // names are library strings, kept whole (else cut to 1023)
    bool failureLineFixedText = false;  // the server-failure line carries GetErrorString's text
};

// Calls fn(selector, &array, &count) on a default selector and reads the
// records' names through nameOf.
template <class Record, class Selector, class Fn>
std::function<Outcome()> caller(Fn fn, const char* (*nameOf)(const Record&)) {
    return [fn, nameOf] {
        Selector selector{};
        Record sentinel[1];
        Record* array = sentinel;
        Outcome o;
        o.rc = fn(&selector, &array, &o.count);
        o.arrayUntouched = array == sentinel;
        o.arrayNull = array == nullptr;
        if (!o.arrayUntouched && array) {
            for (int i = 0; i < o.count; ++i) o.names.emplace_back(nameOf(array[i]));
            delete[] array;
        }
        return o;
    };
}

// The same for a listing without a selector: fn(&array, &count).
template <class Record, class Fn>
std::function<Outcome()> callerOf(Fn fn, const char* (*nameOf)(const Record&)) {
    struct NoSelector {};
    return caller<Record, NoSelector>([fn](NoSelector*, Record** a, int* c) { return fn(a, c); }, nameOf);
}

namespace ou = OrvaneUtilities;
namespace mm = MediaManager;
namespace topo = OrvaneUtilities::MediaTopologyEntry;

template <class Record>
const char* nameOf(const Record& r) {
    return r.name;
}

// The library children row reads the first of its two lists.
unsigned long libraryMasterPools(const _QGetLibraryChildrenParams* p,
                                 _QMasterDrivePoolInfo** pools, int* count) {
    _QScratchPoolInfo* scratch = nullptr;
    int scratchCount = 0;
    const unsigned long rc = VSDKGetLibraryChildren(p, pools, count, &scratch, &scratchCount);
    delete[] scratch;
    return rc;
}

const std::vector<Listing>& listings() {
    static const std::vector<Listing> all = {
        {"VSDKGetApplicationTypes", ou::QGetAppTypesReqMsg::kTag, ou::QGetAppTypesRespMsg::kTag,
         ou::QAppType::kTag, ou::GetAppTypesResp::kList, ou::GetAppTypesResp::kName,
         "Retrival of application Types", "Retrival of Application Types",
         caller<_QAppTypeInfo, _QAgentTreePath>(VSDKGetApplicationTypes,
                                                [](const _QAppTypeInfo& r) { return static_cast<const char*>(r.name); })},
        {"VSDKGetInstances", ou::QGetInstancesReqMsg::kTag, ou::QGetInstancesRespMsg::kTag,
         ou::QInstance::kTag, ou::GetInstancesResp::kList, ou::GetInstancesResp::kName,
         "Retrival of Instances", "Retrival of Instances",
         caller<_QInstanceInfo, _QAgentTreePath>(VSDKGetInstances,
                                                 [](const _QInstanceInfo& r) { return static_cast<const char*>(r.name); })},
        {"VSDKGetMediaAgents", ou::QGetMediaAgentsReqMsg::kTag, ou::QGetMediaAgentsRespMsg::kTag,
         ou::QMediaAgent::kTag, ou::MediaTopologyResp::kMediaAgents, topo::kAgentName,
         "Retrival of Media agents", "Retrival of Media agents",
         callerOf<_QMediaAgentInfo>(VSDKGetMediaAgents, nameOf<_QMediaAgentInfo>)},
        {"VSDKGetMediaLibraries", ou::QGetMediaLibrariesReqMsg::kTag,
         ou::QGetMediaLibrariesRespMsg::kTag, ou::QMediaLibrary::kTag,
         ou::MediaTopologyResp::kLibraries, topo::kLibraryName, "Retrival of Libraries",
         "Retrival of Libraries",
         caller<_QMediaLibraryInfo, _QMediaAgentInfo>(VSDKGetMediaLibraries,
                                                      nameOf<_QMediaLibraryInfo>)},
        {"VSDKGetMasterDrivePools", ou::QGetMasterDrivePoolsReqMsg::kTag,
         ou::QGetMasterDrivePoolsRespMsg::kTag, ou::QMasterDrivePool::kTag,
         ou::MediaTopologyResp::kPools, topo::kMasterPoolName, "Retrival of Master Drive Pool",
         "Retrival of Master Drive Pool",
         caller<_QMasterDrivePoolInfo, _QGetMasterDrivePoolsParams>(
             VSDKGetMasterDrivePools, nameOf<_QMasterDrivePoolInfo>)},
        {"VSDKGetDrivePools", ou::QGetDrivePoolsReqMsg::kTag, ou::QGetDrivePoolsRespMsg::kTag,
         ou::QDrivePool::kTag, ou::MediaTopologyResp::kPools, topo::kDrivePoolName,
         "Retrival of Drive Pools", "Retrival of Drive Pools",
         caller<_QDrivePoolInfo, _QGetDrivePoolsParams>(VSDKGetDrivePools,
                                                        nameOf<_QDrivePoolInfo>)},
        {"VSDKGetScratchPools", ou::QGetScratchPoolsReqMsg::kTag,
         ou::QGetScratchPoolsRespMsg::kTag, ou::QScratchPool::kTag,
         ou::MediaTopologyResp::kPools, topo::kScratchPoolName, "Retrival of Scratch Pools",
         "Retrival of Scratch Pools",
         caller<_QScratchPoolInfo, _QGetScratchPoolsParams>(VSDKGetScratchPools,
                                                            nameOf<_QScratchPoolInfo>)},
        {"VSDKGetLibraryChildren", ou::QGetLibraryChildrenReqMsg::kTag,
         ou::QGetLibraryChildrenRespMsg::kTag, ou::QMasterDrivePool::kTag,
         ou::MediaTopologyResp::kChildrenMasterPools, topo::kMasterPoolName,
         "Retrival of Libraries", "Retrival of Libraries",
         caller<_QMasterDrivePoolInfo, _QGetLibraryChildrenParams>(
             libraryMasterPools, nameOf<_QMasterDrivePoolInfo>)},
        {"VSDKGetDrives", mm::QGetDrivesReqMsg::kTag, mm::QGetDrivesRespMsg::kTag,
         mm::QDrive::kTag, mm::GetDrives::kDrives, mm::GetDrives::kDriveName,
         "Retrival of Drives", "Retrival of Drives",
         caller<_QDriveInfo, _QGetDrivesParams>(VSDKGetDrives, nameOf<_QDriveInfo>)},
        {"VSDKGetMedia", ou::QGetMediaReqMsg::kTag, ou::QGetMediaRespMsg::kTag, ou::QMedia::kTag,
         ou::MediaTopologyResp::kMedia, ou::MediaEntry::kMediaName, "Retrival of media",
         "Retrival of media",
         caller<_QMediaInfo, _QGetMediaParams>(
             VSDKGetMedia, [](const _QMediaInfo& r) { return static_cast<const char*>(r.mediaName); })},
        {"VSDKGetQuickMedia", ou::QGetQuickMediaReqMsg::kTag, ou::QGetQuickMediaRespMsg::kTag,
         ou::QQuickMedia::kTag, ou::MediaTopologyResp::kMedia, ou::QuickMediaEntry::kMediaText,
         "Retrival of quick media", "Retrival of quick media",
         caller<_QQuickMediaInfo, _QGetQuickMediaParams>(
             VSDKGetQuickMedia,
             [](const _QQuickMediaInfo& r) { return static_cast<const char*>(r.mediaText); })},
        {"VSDKGetBackupSets", ou::QGetBackupSetsReqMsg::kTag, ou::QGetBackupSetsRespMsg::kTag,
         ou::QBackupSet::kTag, ou::GetBackupSetsResp::kList, ou::GetBackupSetsResp::kName,
         "Retrival of BackupSets", "Retrival of BackupSets",
         caller<_QBackupSetInfo, _QAgentTreePath>(VSDKGetBackupSets,
                                                  [](const _QBackupSetInfo& r) { return static_cast<const char*>(r.backupSetName); }),
         false, true},
        {"VSDKGetSubclients", ou::QGetSubclientsReqMsg::kTag, ou::QGetSubclientsRespMsg::kTag,
         ou::QSubclient::kTag, ou::Subclient::kList, ou::Subclient::kName,
         "Retrival of SubClients", "Retrival of SubClients",
         caller<_QSubclientInfo, _QAgentTreePath>(VSDKGetSubclients,
                                                  [](const _QSubclientInfo& r) { return static_cast<const char*>(r.subclientName); })},
        {"VSDKGetSQLDataBases", ou::QGetSQLDBReqMsg::kTag, ou::QGetSQLDBRespMsg::kTag,
         ou::QSQLDBInfo::kTag, ou::SqlDatabase::kList, ou::SqlDatabase::kName,
         "Retrival of SQL Databases", "Retrival of SQL Databases",
         caller<_QSQLDBInfo, _QGetSQLDBParameters>(VSDKGetSQLDataBases,
                                                   [](const _QSQLDBInfo& r) { return static_cast<const char*>(r.name); })},
        {"VSDKGetLocations", ou::QGetLocationsReqMsg::kTag, ou::QGetLocationsRespMsg::kTag, ou::QLocation::kTag, ou::Offsite::kLocations, ou::Location::kName,
         "Retrival of Locations", "Retrival of Locations",
         callerOf<_QLocationInfo>(VSDKGetLocations, [](const _QLocationInfo& r) { return static_cast<const char*>(r.locationName); })},
        {"VSDKGetContainers", ou::QGetContainersReqMsg::kTag, ou::QGetContainersRespMsg::kTag, ou::QContainer::kTag, ou::Offsite::kContainers, ou::Container::kName,
         "Retrival of Containers", "Retrival of Containers",
         callerOf<_QContainerInfo>(VSDKGetContainers, [](const _QContainerInfo& r) { return static_cast<const char*>(r.containerName); })},
        {"VSDKGetMediaShelves", ou::QGetMediaShelvesReqMsg::kTag, ou::QGetMediaShelvesRespMsg::kTag, ou::QMediaShelf::kTag, ou::Offsite::kMediaShelves, ou::MediaShelf::kName,
         "Retrival of MediaShelves", "Retrival of MediaShelves",
         callerOf<_QMediaShelfInfo>(VSDKGetMediaShelves, [](const _QMediaShelfInfo& r) { return static_cast<const char*>(r.shelfName); })},
        {"VSDKGetIronMountains", ou::QGetIronMountainsReqMsg::kTag, ou::QGetIronMountainsRespMsg::kTag, ou::QIronMountain::kTag, ou::Offsite::kIronMountains, ou::IronMountain::kIronMountainId,
         "Retrival of IronMountains", "Retrival of IronMountains",
         callerOf<_QIronMountainInfo>(VSDKGetIronMountains, [](const _QIronMountainInfo& r) { return static_cast<const char*>(r.ironMountainId); })},
        {"VSDKGetSWActions", ou::QGetSWActionsReqMsg::kTag, ou::QGetSWActionsRespMsg::kTag, ou::QSWAction::kTag, ou::Offsite::kSWActions, ou::SWAction::kPolicyName,
         "Retrival of actions", "Retrival of actions",
         callerOf<_QSWActionInfo>(VSDKGetSWActions, [](const _QSWActionInfo& r) { return static_cast<const char*>(r.policyName); })},
        {"VSDKGetShelfwatchPolicies", ou::QGetShelfwatchPoliciesReqMsg::kTag, ou::QGetShelfwatchPoliciesRespMsg::kTag,
         ou::QShelfwatchPolicy::kTag, ou::ShelfwatchPolicy::kList, ou::ShelfwatchPolicy::kPolicyName,
         "Retrival of Shelfwatch Policies", "Retrival of Shelfwatch Policies",
         callerOf<_QShelfwatchPolicyInfo>(VSDKGetShelfwatchPolicies, [](const _QShelfwatchPolicyInfo& r) { return static_cast<const char*>(r.policyName); })},
        {"VSDKGetOrvaneUsers", ou::QGetOrvaneUsersReqMsg::kTag, ou::QGetOrvaneUsersRespMsg::kTag,
         ou::QOrvaneUser::kTag, ou::GetOrvaneUsersResp::kList, ou::GetOrvaneUsersResp::kName,
         "Retrival of users", "Retrival of users",
         callerOf<_QOrvaneUserInfo>(VSDKGetOrvaneUsers,
                                   [](const _QOrvaneUserInfo& r) { return static_cast<const char*>(r.name); })},
        {"VSDKGetOrvaneUserGroups", ou::QGetOrvaneUserGroupsReqMsg::kTag,
         ou::QGetOrvaneUserGroupsRespMsg::kTag, ou::QOrvaneUserGroup::kTag,
         ou::GetOrvaneUserGroupsResp::kList, ou::GetOrvaneUserGroupsResp::kName,
         "Retrival of Orvane user groups", "Retrival of Orvane user groups",
         caller<_QOrvaneUserGroupInfo, _QGetOrvaneUserGroupsParameters>(
             VSDKGetOrvaneUserGroups,
             [](const _QOrvaneUserGroupInfo& r) { return static_cast<const char*>(r.name); })},
        {"VSDKGetSnaps", ou::QGetSnapsReqMsg::kTag, ou::QGetSnapsRespMsg::kTag, ou::QSnapshot::kTag,
         ou::GetSnaps::kList, ou::GetSnaps::kText2, "Retrival of Snaps", "Retrival of Snaps",
         caller<_QSnapShotInfo, _QGetSnapsParameters>(
             VSDKGetSnaps, [](const _QSnapShotInfo& r) { return r.text2.c_str(); }),
         true},
        {"VSDKGetStoragePolicies", ou::QGetStoragePoliciesReqMsg::kTag,
         ou::QGetStoragePoliciesRespMsg::kTag, ou::QStoragePolicy::kTag,
         ou::GetStoragePoliciesResp::kList, ou::StoragePolicyEntry::kName,
         "Retrival of Storage Policies", "Retrival of Storage Policies",
         callerOf<_QStoragePolicyInfo>(VSDKGetStoragePolicies,
                                       [](const _QStoragePolicyInfo& r) { return static_cast<const char*>(r.name); })},
        {"VSDKGetStoragePolicyCopies", ou::QGetStoragePolicyCopiesReqMsg::kTag,
         ou::QGetStoragePolicyCopiesRespMsg::kTag, ou::QStoragePolicyCopy::kTag,
         ou::GetStoragePolicyCopiesResp::kList, ou::StoragePolicyCopyEntry::kName,
         "Retrival of Primary Copies", "Retrival of Primary Copies",
         caller<_QStoragePolicyCopyInfo, _QStoragePolicyInfo>(
             VSDKGetStoragePolicyCopies,
             [](const _QStoragePolicyCopyInfo& r) { return static_cast<const char*>(r.name); })},
        {"VSDKGetReplicationSets", ou::QGetReplicationSetsReqMsg::kTag, ou::QGetReplicationSetsRespMsg::kTag,
         ou::QReplicationSet::kTag, ou::GetReplicationSetsResp::kList, ou::GetReplicationSetsResp::kName,
         "Retrival of Replication Sets", "Retrival of Replication Sets",
         caller<_QReplicationSetInfo, _QGetReplicationSetsParameters>(
             VSDKGetReplicationSets, [](const _QReplicationSetInfo& r) { return static_cast<const char*>(r.name); })},
        {"VSDKGetReplicationPairs", ou::QGetReplicationPairsReqMsg::kTag, ou::QGetReplicationPairsRespMsg::kTag,
         ou::QReplicationPair::kTag, ou::GetReplicationPairsResp::kList, ou::GetReplicationPairsResp::kName,
         "Retrival of Replication Pairs", "Retrival of Replication Pairs",
         caller<_QReplicationPairInfo, _QGetReplicationPairsParameters>(
             VSDKGetReplicationPairs, [](const _QReplicationPairInfo& r) { return static_cast<const char*>(r.name); })},
    };
    return all;
}

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

TEST_F(ListingCourse, EntriesInReplyOrderWithLongNamesCut) {
    const std::string longName(1500, 'n');
    for (const Listing& l : listings()) {
        SCOPED_TRACE(l.name);
        env.server().clearScripts();
        answerWith(env, l, {longName, "second"});
        const Outcome o = l.call();
        ASSERT_EQ(0u, o.rc);
        ASSERT_EQ(2, o.count);
        EXPECT_EQ(l.namesWhole ? longName : std::string(1023, 'n'), o.names[0])
            << "cut to the field, terminated";
        EXPECT_EQ("second", o.names[1]) << "the next record is intact";
    }
}

TEST_F(ListingCourse, EmptyListingLeavesTheArrayAlone) {
    for (const Listing& l : listings()) {
        SCOPED_TRACE(l.name);
        env.server().clearScripts();
        answerWith(env, l, {});
        const Outcome o = l.call();
        EXPECT_EQ(0u, o.rc);
        EXPECT_EQ(0, o.count);
        EXPECT_TRUE(o.arrayUntouched);
    }
}

TEST_F(ListingCourse, ServerErrorLeavesOutputsAndSetsTheLastError) {
    for (const Listing& l : listings()) {
        SCOPED_TRACE(l.name);
        env.server().clearScripts();
        env.server().serverError(l.requestTag, 0x31, "no such client");
        const std::size_t mark = env.logMark();
        const Outcome o = l.call();
        EXPECT_EQ(0x31u, o.rc);
        EXPECT_EQ(-7, o.count);
        EXPECT_TRUE(o.arrayUntouched);
        EXPECT_STREQ("no such client", VSDKGetLastErrorString());
        const std::string text = l.failureLineFixedText ? GetErrorString(0x31) : "no such client";
        EXPECT_TRUE(env.logContains(std::string(l.serverFailurePhrase) +
                                        " failed with Error code [0x31] Error string [" + text + "]",
                                    mark));
    }
}

TEST_F(ListingCourse, AllocationFailureKeepsTheCountAndNullsTheArray) {
    for (const Listing& l : listings()) {
        SCOPED_TRACE(l.name);
        env.server().clearScripts();
        answerWith(env, l, {"a", "b", "c"});
        setErrorString("before");
        g_failListingAllocations = 1;
        const std::size_t mark = env.logMark();
        const Outcome o = l.call();
        EXPECT_EQ(0x201u, o.rc);
        EXPECT_EQ(3, o.count);
        EXPECT_TRUE(o.arrayNull);
        EXPECT_STREQ("before", VSDKGetLastErrorString()) << "the last error stays";
        EXPECT_TRUE(env.logContains(std::string(l.allocationPhrase) + " failed with Error code [0x201]", mark));
    }
}

TEST_F(ListingCourse, EntriesOfAnotherTypeAreAnInvalidReply) {
    for (const Listing& l : listings()) {
        SCOPED_TRACE(l.name);
        env.server().clearScripts();
        env.server().replyWith(l.requestTag, l.replyTag, [l](const CNMessageBase&, CNMessageBase& reply) {
            msgf::appendObject(reply, l.list, ou::QTime());
        });
        const Outcome o = l.call();
        EXPECT_EQ(0x207u, o.rc);
        EXPECT_EQ(-7, o.count);
        EXPECT_TRUE(o.arrayUntouched);
    }
}

TEST(ListingCourseWithoutState, NothingIsSent) {
    TestEnv env;
    for (const Listing& l : listings()) {
        SCOPED_TRACE(l.name);
        const Outcome o = l.call();
        EXPECT_EQ(0x280u, o.rc);
        EXPECT_EQ(-7, o.count);
        EXPECT_TRUE(o.arrayUntouched);
    }
    EXPECT_EQ(0u, env.server().requestCount());
}

}  // namespace
