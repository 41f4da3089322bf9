// The listing course, once for every listing: each listing is a row of the
// table below, and every case runs over all rows.
#include "VSDK.h"
#include "VSDKAPI/messages/MediaManager.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "support/WireChecks.h"

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
    unsigned long requestTag, entryTag;
    FieldId list, entryName;
    const char* serverFailurePhrase;
    std::function<Outcome()> call;
    bool namesWhole = false;  // names are library strings, kept whole (else cut to 1023)
    bool failureLineFixedText = false;  // the server-failure line carries GetErrorString's text
    const char* allocationPhrase = nullptr;  // when not the server-failure phrase
};

// Runs call(&array, &count) and reads the records' names through nameOf.
template <class Record, class Call, class NameOf>
std::function<Outcome()> collect(Call call, NameOf nameOf) {
    return [call, nameOf] {
        Record sentinel[1];
        Record* array = sentinel;
        Outcome o;
        o.rc = call(&array, &o.count);
        o.arrayUntouched = array == sentinel;
        o.arrayNull = array == nullptr;
        if (!o.arrayUntouched && array) {
            for (int i = 0; i < o.count; ++i) o.names.emplace_back(nameOf(array[i]));
            delete[] array;
        }
        return o;
    };
}

// A listing without a selector, and one called on a default selector.
template <class Record, class NameOf>
std::function<Outcome()> caller(unsigned long (*fn)(Record**, int*), NameOf nameOf) {
    return collect<Record>(fn, nameOf);
}
template <class Selector, class Record, class NameOf>
std::function<Outcome()> caller(unsigned long (*fn)(Selector*, Record**, int*), NameOf nameOf) {
    return collect<Record>([fn](Record** array, int* count) {
        std::remove_const_t<Selector> selector{};
        return fn(&selector, array, count);
    }, nameOf);
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

// A row: the listing fn (request ns::Q<op>ReqMsg), entries ns::<entry> at list
// named at name, records read by member, then the row's other members.
#define ROW(fn, ns, op, entry, list, name, phrase, member, ...)                                          \
    Listing {                                                                                            \
        #fn, ns::Q##op##ReqMsg::kTag, ns::entry::kTag, list, name, phrase,                               \
            caller(fn, [](const auto& r) { return r.member; }), __VA_ARGS__                             \
    }
// A row whose reply is ou::<op>Resp, its entries at kList named at kName.
#define RESP_ROW(fn, op, entry, phrase, member, ...) \
    ROW(fn, ou, op, entry, ou::op##Resp::kList, ou::op##Resp::kName, phrase, member, __VA_ARGS__)

const std::vector<Listing>& listings() {
    static const std::vector<Listing> all = {
        RESP_ROW(VSDKGetApplicationTypes, GetAppTypes, QAppType, "Retrival of application Types", name, false, false,
                 "Retrival of Application Types"),
        RESP_ROW(VSDKGetInstances, GetInstances, QInstance, "Retrival of Instances", name),
        ROW(VSDKGetMediaAgents, ou, GetMediaAgents, QMediaAgent, mt::kMediaAgents, topo::kAgentName,
            "Retrival of Media agents", name),
        ROW(VSDKGetMediaLibraries, ou, GetMediaLibraries, QMediaLibrary, mt::kLibraries, topo::kLibraryName,
            "Retrival of Libraries", name),
        ROW(VSDKGetMasterDrivePools, ou, GetMasterDrivePools, QMasterDrivePool, mt::kPools, topo::kMasterPoolName,
            "Retrival of Master Drive Pool", name),
        ROW(VSDKGetDrivePools, ou, GetDrivePools, QDrivePool, mt::kPools, topo::kDrivePoolName,
            "Retrival of Drive Pools", name),
        ROW(VSDKGetScratchPools, ou, GetScratchPools, QScratchPool, mt::kPools, topo::kScratchPoolName,
            "Retrival of Scratch Pools", name),
        ROW(libraryMasterPools, ou, GetLibraryChildren, QMasterDrivePool, mt::kChildrenMasterPools,
            topo::kMasterPoolName, "Retrival of Libraries", name),
        ROW(VSDKGetDrives, mm, GetDrives, QDrive, mm::GetDrives::kDrives, mm::GetDrives::kDriveName,
            "Retrival of Drives", name),
        ROW(VSDKGetMedia, ou, GetMedia, QMedia, mt::kMedia, ou::MediaEntry::kMediaName, "Retrival of media",
            mediaName),
        ROW(VSDKGetQuickMedia, ou, GetQuickMedia, QQuickMedia, mt::kMedia, ou::QuickMediaEntry::kMediaText,
            "Retrival of quick media", mediaText),
        RESP_ROW(VSDKGetBackupSets, GetBackupSets, QBackupSet, "Retrival of BackupSets", backupSetName, false, true),
        ROW(VSDKGetSubclients, ou, GetSubclients, QSubclient, ou::Subclient::kList, ou::Subclient::kName,
            "Retrival of SubClients", subclientName),
        ROW(VSDKGetSQLDataBases, ou, GetSQLDB, QSQLDBInfo, ou::SqlDatabase::kList, ou::SqlDatabase::kName,
            "Retrival of SQL Databases", name),
        ROW(VSDKGetLocations, ou, GetLocations, QLocation, ou::Offsite::kLocations, ou::Location::kName,
            "Retrival of Locations", locationName),
        ROW(VSDKGetContainers, ou, GetContainers, QContainer, ou::Offsite::kContainers, ou::Container::kName,
            "Retrival of Containers", containerName),
        ROW(VSDKGetMediaShelves, ou, GetMediaShelves, QMediaShelf, ou::Offsite::kMediaShelves, ou::MediaShelf::kName,
            "Retrival of MediaShelves", shelfName),
        ROW(VSDKGetIronMountains, ou, GetIronMountains, QIronMountain, ou::Offsite::kIronMountains,
            ou::IronMountain::kIronMountainId, "Retrival of IronMountains", ironMountainId),
        ROW(VSDKGetSWActions, ou, GetSWActions, QSWAction, ou::Offsite::kSWActions, ou::SWAction::kPolicyName,
            "Retrival of actions", policyName),
        ROW(VSDKGetShelfwatchPolicies, ou, GetShelfwatchPolicies, QShelfwatchPolicy, ou::ShelfwatchPolicy::kList,
            ou::ShelfwatchPolicy::kPolicyName, "Retrival of Shelfwatch Policies", policyName),
        RESP_ROW(VSDKGetOrvaneUsers, GetOrvaneUsers, QOrvaneUser, "Retrival of users", name),
        RESP_ROW(VSDKGetOrvaneUserGroups, GetOrvaneUserGroups, QOrvaneUserGroup, "Retrival of Orvane user groups",
                 name),
        ROW(VSDKGetSnaps, ou, GetSnaps, QSnapshot, ou::GetSnaps::kList, ou::GetSnaps::kText2, "Retrival of Snaps",
            text2, true),
        ROW(VSDKGetStoragePolicies, ou, GetStoragePolicies, QStoragePolicy, ou::GetStoragePoliciesResp::kList,
            ou::StoragePolicyEntry::kName, "Retrival of Storage Policies", name),
        ROW(VSDKGetStoragePolicyCopies, ou, GetStoragePolicyCopies, QStoragePolicyCopy,
            ou::GetStoragePolicyCopiesResp::kList, ou::StoragePolicyCopyEntry::kName, "Retrival of Primary Copies",
            name),
        RESP_ROW(VSDKGetReplicationSets, GetReplicationSets, QReplicationSet, "Retrival of Replication Sets", name),
        RESP_ROW(VSDKGetReplicationPairs, GetReplicationPairs, QReplicationPair, "Retrival of Replication Pairs", name),
    };
    return all;
}
#undef RESP_ROW
#undef ROW

// The server answers l's request with entries named as given (replacing earlier scripts).
void answerWith(TestEnv& env, const Listing& l, const std::vector<std::string>& names) {
    env.server().clearScripts();
    env.server().replyWith(l.requestTag, 0, [l, names](const CNMessageBase&, CNMessageBase& reply) {
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
        answerWith(env, l, {longName, "second"});
        Outcome o = l.call();
        ASSERT_TRUE(o.rc == 0 && o.count == 2) << o.rc << " " << o.count;
        EXPECT_EQ(l.namesWhole ? longName : std::string(1023, 'n'), o.names[0]) << "cut to the field, terminated";
        EXPECT_EQ("second", o.names[1]) << "the next record is intact";

        // An empty listing succeeds and a list of other entries is invalid;
        // both leave the caller's array alone.
        answerWith(env, l, {});
        o = l.call();
        EXPECT_TRUE(o.rc == 0 && o.count == 0 && o.arrayUntouched) << o.rc << " " << o.count;
        env.server().clearScripts();
        replyFields(env.server(), l.requestTag, 0, {}, l.list, {ou::QTime()});
        o = l.call();
        EXPECT_TRUE(o.rc == 0x207 && o.count == -7 && o.arrayUntouched) << o.rc << " " << o.count;

        // A server error leaves the outputs and sets the last error as sent; in
        // the log its text stays inside its line, a forged line head and ESC escaped.
        env.server().clearScripts();
        const std::string forged = "no such client\r\n4242 4242 12/06 23:59:59 0 VSDKLoginApi() [0] ok\x1b[2J";
        env.server().serverError(l.requestTag, 0x31, forged);
        const std::size_t mark = env.logMark();
        o = l.call();
        EXPECT_TRUE(o.rc == 0x31 && o.count == -7 && o.arrayUntouched) << o.rc << " " << o.count;
        EXPECT_EQ(forged, VSDKGetLastErrorString());
        EXPECT_TRUE(!env.logContains("\n4242 4242", mark) && !env.logContains("\x1b", mark));
        const std::string text = l.failureLineFixedText
                                     ? GetErrorString(0x31)
                                     : "no such client\\r\\n4242 4242 12/06 23:59:59 0 VSDKLoginApi() [0] ok\\x1B[2J";
        EXPECT_TRUE(env.logContains(std::string(l.serverFailurePhrase) +
                                        " failed with Error code [0x31] Error string [" + text + "]", mark));

        // A failed allocation keeps the count, nulls the array and the last error stays.
        answerWith(env, l, {"a", "b", "c"});
        setErrorString("before");
        g_failListingAllocations = 1;
        o = l.call();
        EXPECT_TRUE(o.rc == 0x201 && o.count == 3 && o.arrayNull) << o.rc << " " << o.count;
        EXPECT_STREQ("before", VSDKGetLastErrorString());
        const char* phrase = l.allocationPhrase ? l.allocationPhrase : l.serverFailurePhrase;
        EXPECT_TRUE(env.logContains(std::string(phrase) + " failed with Error code [0x201]", mark));

        // On a thread that never started up: 0x280, and nothing is sent.
        const std::size_t sent = env.server().requestCount();
        o = onFreshThread(l.call);
        EXPECT_TRUE(o.rc == 0x280 && o.count == -7 && o.arrayUntouched) << o.rc << " " << o.count;
        EXPECT_EQ(sent, env.server().requestCount());
    }
}

}  // namespace
