// VSDKSetInstances: a new instance of an Appmodule, with the settings of the
// database agent its type names; and the text dumps of its records.
#include "VSDK/Agents.h"

#include "AgentTreePath.h"
#include "CompressionText.h"
#include "VSDKAPI/messages/FieldRows.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "VSDKAPIUtils/RecordDump.h"
#include "VSDKErrors/ExportGuard.h"

#include <cstdint>

using namespace OrvaneUtilities;
using namespace fieldrows;
using namespace recorddump;

namespace {

constexpr const char* kFunction = "VSDKSetInstances()";

using P = _QSetInstanceParameters;
using Sql = _QSetSQLInstanceParameters;
using Ora = _QSetOracleInstanceParameters;
using Db2 = _QSetDb2InstanceParameters;

const FieldRow<P> kPolicyFields[] = {
    {SetInstanceReq::kLogPolicyId, put<&P::logPolicyId>},
    {SetInstanceReq::kLogPolicyName, put<&P::logPolicyName>},
    {SetInstanceReq::kDefaultPolicyId, put<&P::defaultPolicyId>},
    {SetInstanceReq::kDefaultPolicyName, put<&P::defaultPolicyName>},
    {SetInstanceReq::kFurtherId, put<&P::furtherId>},
    {SetInstanceReq::kFurtherName, put<&P::furtherName>},
};

const FieldRow<Sql> kSqlFields[] = {
    {SetInstanceReq::kUserName, put<&Sql::userName>},
    {SetInstanceReq::kPassword, put<&Sql::password>},
};
const FieldRow<Sql> kSqlOptions[] = {
    {SqlInstanceOptions::kVss, put<&Sql::vss>},
    {SqlInstanceOptions::kSqlTimeOut, put<&Sql::sqlTimeOut>},
    {SqlInstanceOptions::kOverrideCSSettings, put<&Sql::overrideCSSettings>},
    {SqlInstanceOptions::kWindowsAuthentication, put<&Sql::windowsAuthentication>},
};

const FieldRow<Ora> kOracleFields[] = {
    {SetInstanceReq::kUserName, put<&Ora::ntUser>},
    {SetInstanceReq::kPassword, put<&Ora::password>},
};
// The use-catalog flag is not sent; the block size travels as its low 32
// bits, sign-extended.
const FieldRow<Ora> kOracleOptions[] = {
    {OracleInstanceOptions::kOracleHome, put<&Ora::oracleHome>},
    {OracleInstanceOptions::kConnectStringUser, put<&Ora::connectStringUser>},
    {OracleInstanceOptions::kConnectStringPassword, put<&Ora::connectStringPassword>},
    {OracleInstanceOptions::kConnectStringService, put<&Ora::connectStringService>},
    {OracleInstanceOptions::kCatalogUser, put<&Ora::catalogUser>},
    {OracleInstanceOptions::kCatalogPassword, put<&Ora::catalogPassword>},
    {OracleInstanceOptions::kCatalogService, put<&Ora::catalogService>},
    {OracleInstanceOptions::kTnsAdmin, put<&Ora::tnsAdmin>},
    {OracleInstanceOptions::kControlFileAutoBackup, put<&Ora::controlFileAutoBackup>},
    {OracleInstanceOptions::kBlockSize,
     [](CNMessageBase& m, FieldId f, const Ora& o) {
         msgf::putInt(m, f, static_cast<std::int32_t>(static_cast<std::uint32_t>(o.blockSize)));
     }},
    {OracleInstanceOptions::kLogBackupStreams, put<&Ora::logBackupStreams>},
    {OracleInstanceOptions::kCompression, put<&Ora::compression>},
    {OracleInstanceOptions::kNetworkBandwidth, put<&Ora::networkBandwidth>},
    {OracleInstanceOptions::kOnDemand, put<&Ora::onDemand>},
    {OracleInstanceOptions::kOracleFlags, put<&Ora::oracleFlags>},
    {OracleInstanceOptions::kEncryption, put<&Ora::encryption>},
};

const FieldRow<Db2> kDb2Fields[] = {
    {SetInstanceReq::kUserName, put<&Db2::db2User>},
    {SetInstanceReq::kPassword, put<&Db2::password>},
};
const FieldRow<Db2> kDb2Options[] = {
    {Db2InstanceOptions::kDb2Home, put<&Db2::db2Home>},
    {Db2InstanceOptions::kCompression, put<&Db2::compression>},
    {Db2InstanceOptions::kNetworkAgents, put<&Db2::networkAgents>},
    {Db2InstanceOptions::kNetworkBandwidth, put<&Db2::networkBandwidth>},
    {Db2InstanceOptions::kEncryption, put<&Db2::encryption>},
};

// Each block: its user name and password in the request, its options in
// the object of its own type at its own field.
void putSql(CNMessageBase& r, const P& p) {
    putRows(r, kSqlFields, p.sqlParams);
    putRows(msgf::child<QSQLInstanceOptions>(r, SetInstanceReq::kSqlOptions), kSqlOptions, p.sqlParams);
}
void putOracle(CNMessageBase& r, const P& p) {
    putRows(r, kOracleFields, p.oracleParams);
    putRows(msgf::child<QOracleInstanceOptions>(r, SetInstanceReq::kOracleOptions), kOracleOptions,
            p.oracleParams);
}
void putDb2(CNMessageBase& r, const P& p) {
    putRows(r, kDb2Fields, p.db2Params);
    putRows(msgf::child<QDb2InstanceOptions>(r, SetInstanceReq::kDb2Options), kDb2Options, p.db2Params);
}

// The database block each Appmodule type sends; other types send none.
struct Engine {
    int appType;
    void (*put)(CNMessageBase& request, const P& params);
};
const Engine kEngines[] = {
    {4, putSql},     {16, putSql},     {70, putSql},     {81, putSql},
    {2, putOracle},  {22, putOracle},  {23, putOracle},  {80, putOracle},
    {37, putDb2},    {103, putDb2},    {62, putDb2},
};

const DumpRow<Sql> kSqlDump[] = {
    {"SQL User Name[", dump<&Sql::userName>, "]\n"},
    {"VSS:[", dump<&Sql::vss>, "]\n"},
    {"SQL Time Out:[", dump<&Sql::sqlTimeOut>, "]\n"},
    {"Override CSSettings:[", dump<&Sql::overrideCSSettings>, "]\n"},
    {"Windows Authentication:[", dump<&Sql::windowsAuthentication>, "]"},
};

const DumpRow<Ora> kOracleDump[] = {
    {"\nNT User:[", dump<&Ora::ntUser>, "]\n"},
    {"Oracle Home:[", dump<&Ora::oracleHome>, "]\n"},
    {"Connect String User:[", dump<&Ora::connectStringUser>, "]\n"},
    {"Connect String Service:[", dump<&Ora::connectStringService>, "]\n"},
    {"Use Catalog:[", dump<&Ora::useCatalog>, "]\n"},
    {"Catalog user:[", dump<&Ora::catalogUser>, "]\n"},
    {"Catalog Service:[", dump<&Ora::catalogService>, "]\n"},
    {"Tns Admin:[", dump<&Ora::tnsAdmin>, "]\n"},
    {"Control File Auto Backup:[", dump<&Ora::controlFileAutoBackup>, "]\n"},
    {"BlockSize:[", dump<&Ora::blockSize>, "]\n"},
    {"Log Backup Streams:[", dump<&Ora::logBackupStreams>, "]\n"},
    {"Compression:[", dumpCompression<&Ora::compression>, "]\n"},
    {"Network Bandwidth:[", dump<&Ora::networkBandwidth>, "]\n"},
    {"On Demand:[", dump<&Ora::onDemand>, "]\n"},
    {"Oracle Flags:[", dump<&Ora::oracleFlags>, "]\n"},
    {"Encryption:[", dump<&Ora::encryption>, "]"},
};

const DumpRow<Db2> kDb2Dump[] = {
    {"\nDB2 User:[", dump<&Db2::db2User>, "]\n"},
    {"DB2 Home:[", dump<&Db2::db2Home>, "]\n"},
    {"Compression", dump<&Db2::compression>, "\n"},
    {"Network Agents:[", dump<&Db2::networkAgents>, "]\n"},
    {"Network Bandwidth:[", dump<&Db2::networkBandwidth>, "]\n"},
    {"Encryption:[", dump<&Db2::encryption>, "]"},
};

// All three blocks, whatever the Appmodule type; no password of any block.
const DumpRow<P> kDump[] = {
    {"\nOperation Id:[", dump<&P::operationId>, "]\n"},
    {"", dumpTreePath<TreeLevel::Instance, LabelStyle::Tight, P, false>, ""},
    {"Default Policy Id:[", dump<&P::defaultPolicyId>, "]\n"},
    {"Default Policy Name:[", dump<&P::defaultPolicyName>, "]\n"},
    {"Log Policy Id:[", dump<&P::logPolicyId>, "]\n"},
    {"Log Policy Name:[", dump<&P::logPolicyName>, "]\n"},
    {"SQL Instance parameters:", nested<&P::sqlParams, kSqlDump>, ""},
    {"Oracle Instance Parameters:", nested<&P::oracleParams, kOracleDump>, ""},
    {"DB2 Instance Parameters:", nested<&P::db2Params, kDb2Dump>, ""},
};

}  // namespace

std::string _QSetSQLInstanceParameters::c_str() const { return dumpRows(kSqlDump, *this); }
std::string _QSetOracleInstanceParameters::c_str() const { return dumpRows(kOracleDump, *this); }
std::string _QSetDb2InstanceParameters::c_str() const { return dumpRows(kDb2Dump, *this); }
std::string _QSetInstanceParameters::c_str() const { return dumpRows(kDump, *this); }

VSDK_API unsigned long VSDKSetInstances(_QSetInstanceParameters* params, int* instanceId) {
    return vsdkguard::guarded(kFunction, [&]() -> unsigned long {
        VSDKAPIGlobalData* state = nullptr;
        QSetInstancesReqMsg request;
        if (unsigned long rc = openOperation(state, kFunction, params, instanceId)) return rc;
        logParameters(*state, kFunction, "Parameters of the new Instance:%s", *params);

        fillSession(*state, request, MultiDomain::Never);
        putCreationPath<TreeLevel::Instance>(request, *params);
        putRows(request, kPolicyFields, *params);
        for (const Engine& engine : kEngines) {
            if (engine.appType == params->appTypeId) {
                engine.put(request, *params);
                break;
            }
        }

        // Nothing is stored through instanceId on success.
        OperationSpec spec{kFunction, "Creation of Instances"};
        spec.failureLineFixedText = true;
        return runOperation(*state, spec, request, [](const CNMessageBase&) {},
                            [&](unsigned long) { *instanceId = -1; });
    });
}
