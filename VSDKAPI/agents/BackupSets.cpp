// Backup sets of an instance: the listing, the creation, the change of the
// on-demand and default settings and the deletion; and the text dumps of
// their records.
#include "VSDK/Agents.h"

#include "TreeRequests.h"
#include "CompressionText.h"
#include "VSDKAPI/messages/FieldRows.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "VSDKAPIUtils/RecordDump.h"
#include "VSDKErrors/ExportGuard.h"

using namespace OrvaneUtilities;
using namespace fieldrows;
using namespace recorddump;

namespace {

using Info = _QBackupSetInfo;
using SetP = _QSetBackupSetParameters;
using ModP = _QModifyBackupSetParameters;
using DelP = _QDeleteBackupSetParameters;

const TakeRow<Info> kBackupSetRows[] = {
    {GetBackupSetsResp::kBackupSetId, take<&Info::backupSetId>},
    {GetBackupSetsResp::kName, take<&Info::backupSetName>},
    {GetBackupSetsResp::kDefault, take<&Info::isDefault>},
    {GetBackupSetsResp::kLastAccessTime, take<&Info::lastAccessTime>},
    {GetBackupSetsResp::kOnDemand, take<&Info::onDemand>},
    {GetBackupSetsResp::kDescription, take<&Info::description>},
};

// The pre/post process password is sent (a secret of the family: masked
// where requests are logged) and never dumped.
const FieldRow<SetP> kSetFields[] = {
    {SetBackupSetReq::kStoragePolicyId, put<&SetP::storagePolicyId>},
    {SetBackupSetReq::kStoragePolicyName, put<&SetP::storagePolicyName>},
    {SetBackupSetReq::kOnDemand, put<&SetP::onDemand>},
    {SetBackupSetReq::kLastAccessTime, put<&SetP::lastAccessTime>},
    {SetBackupSetReq::kCompression, put<&SetP::compression>},
    {SetBackupSetReq::kNetworkAgents, put<&SetP::networkAgents>},
    {SetBackupSetReq::kPreBackupProcess, put<&SetP::preBackupProcess>},
    {SetBackupSetReq::kPostBackupProcess, put<&SetP::postBackupProcess>},
    {SetBackupSetReq::kPreScanProcess, put<&SetP::preScanProcess>},
    {SetBackupSetReq::kPostScanProcess, put<&SetP::postScanProcess>},
    {SetBackupSetReq::kPrePostUserName, put<&SetP::prePostUserName>},
    {SetBackupSetReq::kPrePostPassword, put<&SetP::prePostPassword>},
};

const FieldRow<ModP> kModifyFields[] = {
    {ModifyBackupSetReq::kOnDemand, put<&ModP::onDemand>},
    {ModifyBackupSetReq::kDefault, put<&ModP::isDefault>},
};

const DumpRow<SetP> kSetDump[] = {
    {"\nOperation Id: [", dump<&SetP::operationId>, "]\n"},
    {"", dumpTreePath<TreeLevel::BackupSet, LabelStyle::Spaced, SetP, false>, ""},
    {"Storage Policy Id: [", dump<&SetP::storagePolicyId>, "]\n"},
    {"Storage Policy Name: [", dump<&SetP::storagePolicyName>, "]\n"},
    {"On Demand: [", dump<&SetP::onDemand>, "]\n"},
    {"Last Access Time: [", dump<&SetP::lastAccessTime>, "]\n"},
    {"No of Network Agents: [", dump<&SetP::networkAgents>, "]\n"},
    {"PreBackup Process: [", dump<&SetP::preBackupProcess>, "]\n"},
    {"PostBackup Process: [", dump<&SetP::postBackupProcess>, "]\n"},
    {"PreScan Process: [", dump<&SetP::preScanProcess>, "]\n"},
    {"PostScan Process: [", dump<&SetP::postScanProcess>, "]\n"},
    {"Compression :[", dumpCompression<&SetP::compression>, "]\n"},
    {"PrePost User Name:[", dump<&SetP::prePostUserName>, "]\n"},
};

const DumpRow<ModP> kModifyDump[] = {
    {"", dumpTreePath<TreeLevel::BackupSet, LabelStyle::Spaced, ModP>, ""},
    {"On Demand: [", dump<&ModP::onDemand>, "]\n"},
    {"Default: [", dump<&ModP::isDefault>, "]"},
};

const DumpRow<DelP> kDeleteDump[] = {
    {"", dumpTreePath<TreeLevel::BackupSet, LabelStyle::Tight, DelP, true, false>, ""},
};

}  // namespace

std::string _QSetBackupSetParameters::c_str() const { return dumpRows(kSetDump, *this); }
std::string _QModifyBackupSetParameters::c_str() const { return dumpRows(kModifyDump, *this); }
std::string _QDeleteBackupSetParameters::c_str() const { return dumpRows(kDeleteDump, *this); }

VSDK_API unsigned long VSDKGetBackupSets(_QAgentTreePath* selector, _QBackupSetInfo** backupSets,
                                         int* count) {
    static const ListingSpec<Info> kListing{
        {"VSDKGetBackupSets()", "Retrival of BackupSets", msgf::kReplyError, true},
        "Retrival of BackupSets",
        GetBackupSetsResp::kList,
        QBackupSet::kTag,
        [](const CNMessageBase& entry, Info& record) { takeRows(entry, kBackupSetRows, record); }};
    return listTree<QGetBackupSetsReqMsg, TreeLevel::Instance>(kListing, selector, backupSets, count);
}

VSDK_API unsigned long VSDKSetBackupSets(_QSetBackupSetParameters* params, int* backupSetId) {
    constexpr const char* kFunction = "VSDKSetBackupSets()";
    return vsdkguard::guarded(kFunction, [&]() -> unsigned long {
        VSDKAPIGlobalData* state = nullptr;
        QSetBackupSetsReqMsg request;
        if (unsigned long rc = openOperation(state, kFunction, params, backupSetId)) return rc;
        logParameters(*state, kFunction, "Parameters of the new BackupSet:%s", *params);

        fillSession(*state, request, MultiDomain::Never);
        putCreationPath<TreeLevel::BackupSet>(request, *params);
        putRows(request, kSetFields, *params);

        const OperationSpec spec{kFunction, "Creation of Backupset"};
        return runOperation(
            *state, spec, request,
            [&](const CNMessageBase& reply) -> unsigned long {
                // A success that names no new backup set (or names it with
                // something other than a number) is not one.
                if (unsigned long rc = takeCreatedId(*state, spec, reply, SetBackupSetResp::kNewId,
                                                     *backupSetId)) {
                    return rc;
                }
                state->getEvDebug().debugLvl(kFunction, 6, "BackupSet Created with id:[%d]", *backupSetId);
                return 0;
            },
            [&](unsigned long) { *backupSetId = -1; });
    });
}

VSDK_API unsigned long VSDKModifyBackupSets(_QModifyBackupSetParameters* params) {
    return changeTreeNode<QModifyBackupSetsReqMsg, TreeLevel::BackupSet, ModP>(
        "VSDKModifyBackupSets()", "Parameters of the BackupSet to be modified:%s",
        "Modification of Backupset", params,
        [](CNMessageBase& request, const ModP& p) { putRows(request, kModifyFields, p); });
}

VSDK_API unsigned long VSDKDeleteBackupSet(_QDeleteBackupSetParameters* params) {
    return changeTreeNode<QDeleteBackupSetReqMsg, TreeLevel::BackupSet>(
        "VSDKDeleteBackupSet()", "Parameters of the BackupSet to be deleted :%s",
        "Deletion of BackupSet", params);
}
