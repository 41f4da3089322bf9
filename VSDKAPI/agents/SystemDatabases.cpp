// The database code of a backup set, and content discovery under a node.
#include "VSDK/Subclients.h"

#include "AgentTreePath.h"
#include "VSDKAPI/messages/FieldRows.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "VSDKErrors/ExportGuard.h"

using namespace OrvaneUtilities;
using fieldrows::FieldRow;
using fieldrows::put;

namespace {

using SysDb = _QGetSystemDatabasesParameters;
const FieldRow<SysDb> kSystemDatabaseFields[] = {
    {SystemDatabases::kCopyPrecedence, put<&SysDb::copyPrecedence>},
    {SystemDatabases::kToTime, put<&SysDb::toTime>},
};

}  // namespace

VSDK_API unsigned long VSDKGetSystemDatabases(_QGetSystemDatabasesParameters* params,
                                              long long* databaseCode) {
    static const char kFunction[] = "VSDKGetSystemDatabases()";
    return vsdkguard::guarded(kFunction, [&]() -> unsigned long {
        VSDKAPIGlobalData* state = nullptr;
        if (unsigned long rc = openOperation(state, kFunction, params, databaseCode)) return rc;

        QGetSystemDatabasesReqMsg request;
        fillSession(*state, request, MultiDomain::Never);
        putSelectorPath<TreeLevel::BackupSet>(request, *params);
        fieldrows::putRows(request, kSystemDatabaseFields, *params);

        const OperationSpec spec{kFunction, "Retrival of System Databases"};
        return runOperation(
            *state, spec, request,
            [&](const CNMessageBase& reply) {
                *databaseCode = msgf::getInt(reply, SystemDatabases::kDatabaseCode);
                state->getEvDebug().debugLvl(
                    kFunction, 1, "Retrival of System Databases Successful with Database Code:[%lld]",
                    *databaseCode);
            },
            [&](unsigned long) { *databaseCode = 0; });
    });
}

namespace {

using Discover = _QDiscoverContentParameters;
const FieldRow<Discover> kDiscoverFields[] = {
    {NodeIds::kClientId, put<&Discover::clientId>},
    {NodeIds::kAppTypeId, put<&Discover::appTypeId>},
    {NodeIds::kInstanceId, put<&Discover::instanceId>},
    {DiscoverContent::kBackupSetId, put<&Discover::backupSetId>},
    {DiscoverContent::kFifthValue, put<&Discover::fifthValue>},
    {DiscoverContent::kSixthValue, put<&Discover::sixthValue>},
    {DiscoverContent::kSeventhValue, put<&Discover::seventhValue>},
};

}  // namespace

VSDK_API unsigned long VSDKDiscoverContent(_QDiscoverContentParameters* params,
                                           _QDiscoverContentInfo** contents, int* count) {
    static const char kFunction[] = "VSDKDiscoverContent()";
    static const char kPhrase[] = "Discovery of content";
    return vsdkguard::guarded(kFunction, [&]() -> unsigned long {
        VSDKAPIGlobalData* state = nullptr;
        if (unsigned long rc = openOperation(state, kFunction, params, contents, count)) return rc;

        QDiscoverContentReqMsg request;
        fillSession(*state, request, MultiDomain::Never);
        msgf::putInt(request, NodeIds::kConstant, 2);
        fieldrows::putRows(request, kDiscoverFields, *params);

        const OperationSpec spec{kFunction, kPhrase};
        return runOperation(*state, spec, request, [&](const CNMessageBase& reply) -> unsigned long {
            // No content object is an empty list; one of another type, or one
            // whose paths are not texts, is no answer.
            const std::vector<std::string>* paths = nullptr;
            if (msgf::has(reply, DiscoverContent::kContent)) {
                const CNMessageBase* content =
                    msgf::findChild(reply, DiscoverContent::kContent, QDiscoveredContentMsg::kTag);
                if (!content) return invalidReply(*state, spec);
                paths = msgf::findTextList(*content, DiscoverContent::kContentPaths);
                if (!paths && msgf::has(*content, DiscoverContent::kContentPaths)) {
                    return invalidReply(*state, spec);
                }
            }
            const std::size_t n = paths ? paths->size() : 0;
            if (n > static_cast<std::size_t>(INT_MAX)) return invalidReply(*state, spec);
            *count = static_cast<int>(n);
            if (n == 0) return 0;
            _QDiscoverContentInfo* array = nullptr;
            if (unsigned long rc = allocateListing(*state, kFunction, kPhrase, array, n)) {
                *contents = nullptr;
                return rc;
            }
            for (std::size_t i = 0; i < n; ++i) msgf::copyBounded(array[i].path, (*paths)[i]);
            *contents = array;
            return 0;
        });
    });
}
