// Subclients of a backup set: listing, creation and deletion; the SQL
// databases of an instance.
#include "VSDK/Subclients.h"

#include "AgentTreePath.h"
#include "SqlDatabases.h"
#include "TreeRequests.h"
#include "VSDKAPI/messages/FieldRows.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "VSDKErrors/ExportGuard.h"

using namespace OrvaneUtilities;
using fieldrows::FieldRow;
using fieldrows::put;
using fieldrows::take;
using fieldrows::TakeRow;

namespace {

using Info = _QSubclientInfo;
const TakeRow<Info> kSubclientEntry[] = {
    {Subclient::kId, take<&Info::subclientId>},
    {Subclient::kName, take<&Info::subclientName>},
    {Subclient::kLastAccessTime, take<&Info::lastAccessTime>},
    {Subclient::kDefault, take<&Info::isDefault>},
    {Subclient::kStoragePolicyName, take<&Info::storagePolicyName>},
    {Subclient::kActivityControl, take<&Info::activityControl>},
    {Subclient::kValueA, take<&Info::valueA>},
    {Subclient::kCompression, take<&Info::compression>},
    {Subclient::kEncryption, take<&Info::encryption>},
    {Subclient::kSingleInstancing, take<&Info::singleInstancing>},
    {Subclient::kDataReaders, take<&Info::dataReaders>},
    {Subclient::kDescription, take<&Info::description>},
    {Subclient::kValueB, take<&Info::valueB>},
};

// The entry's two lists are what they should be: texts, and SQL databases.
bool subclientListsWellFormed(const CNMessageBase& entry) {
    const bool contentsOk = msgf::findTextList(entry, Subclient::kContents) ||
                            !msgf::has(entry, Subclient::kContents);
    const std::vector<CNMessageBase>* dbs = msgf::findList(entry, Subclient::kSqlDatabases);
    return contentsOk && (dbs || !msgf::has(entry, Subclient::kSqlDatabases)) &&
           allSqlDatabases(dbs);
}

void copySubclient(const CNMessageBase& entry, Info& record) {
    fieldrows::takeRows(entry, kSubclientEntry, record);
    if (const std::vector<std::string>* contents = msgf::findTextList(entry, Subclient::kContents)) {
        record.contents = *contents;
    }
    if (const std::vector<CNMessageBase>* dbs = msgf::findList(entry, Subclient::kSqlDatabases)) {
        for (const CNMessageBase& db : *dbs) record.sqlDatabases.push_back(sqlDatabaseFromElement(db));
    }
}

using SqlParams = _QGetSQLDBParameters;
const FieldRow<SqlParams> kSqlDatabaseFields[] = {
    {NodeIds::kClientId, put<&SqlParams::clientId>},
    {NodeIds::kAppTypeId, put<&SqlParams::appTypeId>},
    {NodeIds::kInstanceId, put<&SqlParams::instanceId>},
};

void copySqlDatabase(const CNMessageBase& entry, _QSQLDBInfo& record) {
    record = sqlDatabaseFromElement(entry);
}

}  // namespace

VSDK_API unsigned long VSDKGetSubclients(_QAgentTreePath* path, _QSubclientInfo** subclients,
                                         int* count) {
    static const char kFunction[] = "VSDKGetSubclients()";
    static const char kPhrase[] = "Retrival of SubClients";
    ListingSpec<Info> spec{{kFunction, kPhrase}, kPhrase, Subclient::kList, QSubclient::kTag,
                           copySubclient};
    spec.entryWellFormed = subclientListsWellFormed;
    return listTree<QGetSubclientsReqMsg, TreeLevel::BackupSet>(spec, path, subclients, count);
}

VSDK_API unsigned long VSDKGetSQLDataBases(_QGetSQLDBParameters* params, _QSQLDBInfo** databases,
                                           int* count) {
    static const char kFunction[] = "VSDKGetSQLDataBases()";
    static const char kPhrase[] = "Retrival of SQL Databases";
    return vsdkguard::guarded(kFunction, [&]() -> unsigned long {
        VSDKAPIGlobalData* state = nullptr;
        if (unsigned long rc = openOperation(state, kFunction, params, databases, count)) return rc;

        QGetSQLDBReqMsg request;
        fillSession(*state, request, MultiDomain::Never);
        msgf::putInt(request, NodeIds::kConstant, 2);
        fieldrows::putRows(request, kSqlDatabaseFields, *params);

        const ListingSpec<_QSQLDBInfo> spec{{kFunction, kPhrase}, kPhrase, SqlDatabase::kList,
                                            QSQLDBInfo::kTag, copySqlDatabase};
        return runListing(*state, spec, request, *databases, *count);
    });
}

namespace {

using Set = _QSetSubclientParameters;
const FieldRow<Set> kSetSubclientFields[] = {
    {SetSubclient::kStoragePolicyId, put<&Set::storagePolicyId>},
    {SetSubclient::kStoragePolicyName, put<&Set::storagePolicyName>},
    {SetSubclient::kStoragePolicyIndexId, put<&Set::storagePolicyIndexId>},
    {SetSubclient::kContents, put<&Set::contents>},
    {SetSubclient::kLastAccessTime, put<&Set::lastAccessTime>},
    {SetSubclient::kCompression, put<&Set::compression>},
    {SetSubclient::kNetworkAgents, put<&Set::networkAgents>},
    {SetSubclient::kPreBackupProcess, put<&Set::preBackupProcess>},
    {SetSubclient::kPostBackupProcess, put<&Set::postBackupProcess>},
    {SetSubclient::kPreScanProcess, put<&Set::preScanProcess>},
    {SetSubclient::kPostScanProcess, put<&Set::postScanProcess>},
    {SetSubclient::kPrePostUserName, put<&Set::prePostUserName>},
    {SetSubclient::kPrePostPassword, put<&Set::prePostPassword>},
    {SetSubclient::kSystemState, put<&Set::systemState>},
};

// After the SQL databases: the log stream count goes before the data stream count.
const FieldRow<Set> kSetSubclientOptionFields[] = {
    {SetSubclient::kSqlLogStreamCount, put<&Set::sqlLogStreamCount>},
    {SetSubclient::kSqlDataStreamCount, put<&Set::sqlDataStreamCount>},
    {SetSubclient::kSqlSubclientType, put<&Set::sqlSubclientType>},
    {SetSubclient::kSingleInstancing, put<&Set::singleInstancing>},
    {SetSubclient::kEncryption, put<&Set::encryption>},
    {SetSubclient::kActivityControl, put<&Set::activityControl>},
    {SetSubclient::kDataReaders, put<&Set::dataReaders>},
    {SetSubclient::kDescription, put<&Set::description>},
    {SetSubclient::kOtherList, put<&Set::otherList>},
};

}  // namespace

VSDK_API unsigned long VSDKSetSubclients(_QSetSubclientParameters* params, int* subclientId) {
    static const char kFunction[] = "VSDKSetSubclients()";
    return vsdkguard::guarded(kFunction, [&]() -> unsigned long {
        VSDKAPIGlobalData* state = nullptr;
        if (unsigned long rc = openOperation(state, kFunction, params, subclientId)) return rc;
        logParameters(*state, kFunction, "Parameters of the new SubClient:%s", *params);

        QSetSubclientsReqMsg request;
        fillSession(*state, request, MultiDomain::Never);
        putCreationPath<TreeLevel::Subclient>(request, *params);
        fieldrows::putRows(request, kSetSubclientFields, *params);
        // The whole list, also when empty.
        std::vector<CNMessageBase> databases;
        for (const _QSQLDBInfo& db : params->sqlDatabases) databases.push_back(sqlDatabaseElement(db));
        const FieldId dbField = SetSubclient::kSqlDatabases;
        request.setlistobject(dbField.number, dbField.slot, &databases, request.getTagID(), dbField.hash);
        fieldrows::putRows(request, kSetSubclientOptionFields, *params);
        msgf::putInt(request, SetSubclient::kOne, 1);

        OperationSpec spec{kFunction, "Creation of SubClient"};
        spec.failureLineFixedText = true;
        return runOperation(
            *state, spec, request,
            [&](const CNMessageBase& reply) -> unsigned long {
                if (unsigned long rc = takeCreatedId(*state, spec, reply, SetSubclient::kNewId, *subclientId)) {
                    return rc;
                }
                state->getEvDebug().debugLvl(kFunction, 6, "SubClient Created with id:[%d]",
                                             *subclientId);
                return 0;
            },
            [&](unsigned long) { *subclientId = -1; });
    });
}

VSDK_API unsigned long VSDKDeleteSubclient(_QDeleteSubclientParameters* params) {
    static const char kFunction[] = "VSDKDeleteSubclient()";
    return changeTreeNode<QDeleteSubclientReqMsg, TreeLevel::Subclient>(
        kFunction, "Parameters of the SubClient to be deleted:%s", "Deletion of Subclient", params);
}
