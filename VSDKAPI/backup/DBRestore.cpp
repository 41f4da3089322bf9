// VSDKDBRestore: a restore job of a database agent, with the options of the
// engine its application type names; and the text dump of its record.
#include "VSDK/DBRestore.h"

#include "JobStart.h"
#include "VSDKAPIUtils/DBRestoreOptions.h"
#include "VSDKAPIUtils/RecordDump.h"
#include "VSDKErrors/ExportGuard.h"

using namespace fieldrows;
using namespace recorddump;
namespace oo = OrvaneOperations;

namespace {

constexpr const char* kFunction = "VSDKDBRestore()";

using DB = _QDBRestoreParameters;

// The body of the request, in the order it is set. The pre/post password is
// sent (a secret of the family: masked where requests are logged); the
// Fenmark number is not sent.
const FieldRow<DB> kBodyFields[] = {
    {oo::dbrestore::kSourceClientId, put<&DB::sourceClientId>},
    {oo::dbrestore::kSourceClientName, put<&DB::sourceClientName>},
    {oo::dbrestore::kDestinationClientName, put<&DB::destinationClientName>},
    {oo::dbrestore::kDestinationClientId, put<&DB::destinationClientId>},
    {oo::dbrestore::kKind, [](CNMessageBase& m, FieldId f, const DB&) { msgf::putInt(m, f, 2); }},
    {oo::dbrestore::kAppTypeId, put<&DB::appTypeId>},
    {oo::dbrestore::kAppmoduleName, put<&DB::appmoduleName>},
    {oo::dbrestore::kInstanceId, put<&DB::instanceId>},
    {oo::dbrestore::kInstanceName, put<&DB::instanceName>},
    {oo::dbrestore::kBackupSetId, put<&DB::backupSetId>},
    {oo::dbrestore::kBackupSetName, put<&DB::backupSetName>},
    {oo::dbrestore::kSubclientId, put<&DB::subclientId>},
    {oo::dbrestore::kSubclientName, put<&DB::subclientName>},
    {oo::dbrestore::kMediaAgentId, put<&DB::mediaAgentId>},
    {oo::dbrestore::kDrivePoolId, put<&DB::drivePoolId>},
    {oo::dbrestore::kPriority, put<&DB::priority>},
    {oo::dbrestore::kStartSuspended, put<&DB::startSuspended>},
    {oo::dbrestore::kPreCmd, put<&DB::preCmd>},
    {oo::dbrestore::kPostCmd, put<&DB::postCmd>},
    {oo::dbrestore::kPrePostUserName, put<&DB::prePostUserName>},
    {oo::dbrestore::kPrePostPassword, put<&DB::prePostPassword>},
    {oo::dbrestore::kAlertId, put<&DB::alertId>},
    {oo::dbrestore::kRetryNo, put<&DB::retryNo>},
    {oo::dbrestore::kRetryHours, put<&DB::retryHours>},
    {oo::dbrestore::kJobDescription, put<&DB::jobDescription>},
    // Every request carries the SQL Server option object with the record's
    // unlabelled list, whatever the engine.
    {oo::dbrestore::kSqlOptions,
     [](CNMessageBase& m, FieldId f, const DB& p) {
         CNMessageBase& sql = msgf::child<oo::QSQLRestoreOptions>(m, f);
         put<&_QSQLRestoreParameters::unlabelledList>(sql, oo::sqlopt::kUnlabelledList,
                                                      p.sqlParams);
     }},
    {oo::dbrestore::kXmlResult,
     [](CNMessageBase& m, FieldId f, const DB& p) { msgf::putFlag(m, f, p.xmlResult); }},
};

// Which option object an application type carries, and what fills it. The
// mapping functions take a copy of the engine's record, released when they
// return.
struct Engine {
    int appType;
    FieldId object;
    int classNumber;
    void (*map)(CNMessageBase& object, const DB& params);
};

void mapOracle(CNMessageBase& o, const DB& p) { GetOracleParams(o, p.oracleParams); }
void mapInformix(CNMessageBase& o, const DB& p) { GetInformixParams(o, p.informixParams); }
void mapDb2(CNMessageBase& o, const DB& p) { GetDB2Params(o, p.db2Params); }
void mapSql(CNMessageBase& o, const DB& p) { GetSQLParams(o, p.sqlParams); }

const Engine kEngines[] = {
    {2, oo::dbrestore::kOracleOptions, oo::QOracleRestoreOptions::kClass, mapOracle},
    {22, oo::dbrestore::kOracleOptions, oo::QOracleRestoreOptions::kClass, mapOracle},
    {23, oo::dbrestore::kOracleOptions, oo::QOracleRestoreOptions::kClass, mapOracle},
    {80, oo::dbrestore::kOracleOptions, oo::QOracleRestoreOptions::kClass, mapOracle},
    {3, oo::dbrestore::kInformixOptions, oo::QInformixRestoreOptions::kClass, mapInformix},
    {37, oo::dbrestore::kDb2Options, oo::QDB2RestoreOptions::kClass, mapDb2},
    {62, oo::dbrestore::kDb2Options, oo::QDB2RestoreOptions::kClass, mapDb2},
    {103, oo::dbrestore::kDb2Options, oo::QDB2RestoreOptions::kClass, mapDb2},
    {4, oo::dbrestore::kSqlOptions, oo::QSQLRestoreOptions::kClass, mapSql},
    {16, oo::dbrestore::kSqlOptions, oo::QSQLRestoreOptions::kClass, mapSql},
    {70, oo::dbrestore::kSqlOptions, oo::QSQLRestoreOptions::kClass, mapSql},
};

const Engine* engineOf(int appType) {
    for (const Engine& engine : kEngines) {
        if (engine.appType == appType) return &engine;
    }
    return nullptr;
}

const DumpRow<DB> kDump[] = {
    {"\nPreCmd:[", dump<&DB::preCmd>, "]\n"},
    {"Post Cmd:[", dump<&DB::postCmd>, "]\n"},
    {"PrePost User Name:[", dump<&DB::prePostUserName>, "]\n"},
    {"MediaAgent Id:[", dump<&DB::mediaAgentId>, "]\n"},
    {"Drivepool Id:[", dump<&DB::drivePoolId>, "]\n"},
    {"Start Suspended:[", dump<&DB::startSuspended>, "]\n"},
    {"Priority:[", dump<&DB::priority>, "]\n"},
    {"Fenmark No:[", dump<&DB::fenmarkNo>, "]\n"},
    {"Source Client Id:[", dump<&DB::sourceClientId>, "]\n"},
    {"Source Client Name:[", dump<&DB::sourceClientName>, "]\n"},
    {"Desination Client Id:[", dump<&DB::destinationClientId>, "]\n"},
    {"Destination Client Name:[", dump<&DB::destinationClientName>, "]\n"},
    {"AppType Id:[", dump<&DB::appTypeId>, "]\n"},
    {"Appmodule Name:[", dump<&DB::appmoduleName>, "]\n"},
    {"Instance Id:[", dump<&DB::instanceId>, "]\n"},
    {"Instance Name:[", dump<&DB::instanceName>, "]\n"},
    {"BackupSet Id:[", dump<&DB::backupSetId>, "]\n"},
    {"BackupSet Name:[", dump<&DB::backupSetName>, "]\n"},
    {"Subclient Id:[", dump<&DB::subclientId>, "]\n"},
    {"Subclient Name:[", dump<&DB::subclientName>, "]\n"},
    {"Alert Id:[", dump<&DB::alertId>, "]\n"},
    {"Retry Hours:[", dump<&DB::retryHours>, "]\n"},
    {"Retry No:[", dump<&DB::retryNo>, "]"},
    {"\nSQL Restore Parameters:", dump<&DB::sqlParams>, ""},
    {"\nInformix Restore Parameters:", dump<&DB::informixParams>, ""},
    {"\nDB2 Restore Parameters:", dump<&DB::db2Params>, ""},
    {"\nOracle Restore Parameters:", dump<&DB::oracleParams>, ""},
    {"\nJob Description:[", dump<&DB::jobDescription, kLineEnd>, "]"},
};

}  // namespace

std::string _QDBRestoreParameters::c_str() const { return dumpRows(kDump, *this); }

static unsigned long VSDKDBRestoreUnguarded(const _QDBRestoreParameters* params,
                                            _QJobStartInfo* result) {
    oo::QDBRestoreReqMsg request;
    VSDKAPIGlobalData* state = nullptr;
    if (const unsigned long rc = openOperation(state, kFunction, params, result)) return rc;
    QEvDebug& log = state->getEvDebug();
    logParameters(*state, kFunction, "Parameters of DB Restore:%s", *params);

    fillSession(*state, request, MultiDomain::Never);
    putRows(request, kBodyFields, *params);

    const Engine* engine = engineOf(params->appTypeId);
    if (!engine) {
        log.debugLvl(kFunction, 0,
                     "Restoration of Database failed with Error code [0x%lx] Error string [%s]",
                     vsdkerr::kUnsupportedAppType, GetErrorString(vsdkerr::kUnsupportedAppType));
        return vsdkerr::kUnsupportedAppType;
    }
    engine->map(msgf::child(request, engine->object, oo::kModuleId, engine->classNumber), *params);

    OperationSpec spec{kFunction, "Restoration of Database"};
    spec.failureLineFixedText = true;
    return runJobStart(*state, spec, request, result->jobId,
                       {kFunction, 1, "Restoration of Database Started with jobId:[%lld]"},
                       params->xmlResult != 0 ? &result->xmlText : nullptr, oo::kRestoreRespXml);
}

// The exports: no exception leaves them.

VSDK_API unsigned long VSDKDBRestore(const _QDBRestoreParameters* params, _QJobStartInfo* result) {
    return vsdkguard::guarded("VSDKDBRestore",
                              [&] { return VSDKDBRestoreUnguarded(params, result); });
}
