// Text dumps of the subclient, global-filter and virtual-server records.
#include "VSDK/Subclients.h"

#include "AgentTreePath.h"
#include "CompressionText.h"
#include "VSDKAPIUtils/RecordDump.h"

using namespace recorddump;

namespace {

using SetRec = _QSetSubclientParameters;

// Each database's name followed by one blank.
void dumpSqlNames(std::string& out, const SetRec& r) {
    for (const _QSQLDBInfo& db : r.sqlDatabases) {
        out += msgf::boundedText(db.name);
        out += ' ';
    }
}

const DumpRow<SetRec> kSetSubclientDump[] = {
    {"\nOperation Id: [", dump<&SetRec::operationId>, "]\n"},
    {"", dumpTreePath<TreeLevel::Subclient, LabelStyle::Spaced, SetRec, false>, ""},
    {"Storage Policy Id: [", dump<&SetRec::storagePolicyId>, "]\n"},
    {"Storage Policy Name: [", dump<&SetRec::storagePolicyName>, "]\n"},
    {"Storage Policy Index Id: [", dump<&SetRec::storagePolicyIndexId>, "]\n"},
    {"Contents of SubClient: [", dump<&SetRec::contents>, "]\n"},
    {"Last Access Time: [", dump<&SetRec::lastAccessTime>, "]\n"},
    {"No of Network Agents: [", dump<&SetRec::networkAgents>, "]\n"},
    {"PreBackup Process: [", dump<&SetRec::preBackupProcess>, "]\n"},
    {"PostBackup Process: [", dump<&SetRec::postBackupProcess>, "]\n"},
    {"PreScan Process: [", dump<&SetRec::preScanProcess>, "]\n"},
    {"PostScan Process: [", dump<&SetRec::postScanProcess>, "]\n"},
    {"PrePost User Name:[", dump<&SetRec::prePostUserName>, "]\n"},
    {"Sql Content: [", dumpSqlNames, "]\n"},
    {"SQL Data Stream Count: [", dump<&SetRec::sqlDataStreamCount>, "]\n"},
    {"SQL Log Stream Count: [", dump<&SetRec::sqlLogStreamCount>, "]\n"},
    {"Sql SubClient Type: [", dump<&SetRec::sqlSubclientType>, "]\n"},
    {"Compression: [", dumpCompression<&SetRec::compression>, "]\n"},
    {"Encryption: [", dump<&SetRec::encryption>, "]\n"},
    {"System State: [", dump<&SetRec::systemState>, "]\n"},
    {"Activity Control: [", dump<&SetRec::activityControl>, "]\n"},
    {"Single Instancing: [", dump<&SetRec::singleInstancing>, "]\n"},
    {"DataReaders:[", dump<&SetRec::dataReaders>, "]\n"},
    {"Description:[", dump<&SetRec::description, kLineEnd>, "]"},
};

const DumpRow<_QDeleteSubclientParameters> kDeleteSubclientDump[] = {
    {"", dumpTreePath<TreeLevel::Subclient, LabelStyle::Tight, _QDeleteSubclientParameters, true, false>, ""},
};

const DumpRow<_QSetOSFilterParameters> kSetFiltersDump[] = {
    {"\nOS ID:[", dump<&_QSetOSFilterParameters::osId>, "]\n"},
    {"Filters:[", dump<&_QSetOSFilterParameters::filters>, "]"},
};

using Ids = _QApplicationIdInfo;
const DumpRow<Ids> kApplicationIdDump[] = {
    {"\nClient Id: [", dump<&Ids::clientId>, "]\n"},
    {"Instance Id: [", dump<&Ids::instanceId>, "]\n"},
    {"BackupSet Id: [", dump<&Ids::backupSetId>, "]\n"},
    {"SubClient Id: [", dump<&Ids::subclientId>, "]\n"},
    {"AppType: [", dump<&Ids::appType>, "]\n"},
};

using VSContent = _QSetVSSubclientContentParameters;
const DumpRow<VSContent> kVSContentDump[] = {
    {"\nSubClient Id: [", dump<&VSContent::subclientId>, "]\n"},
    {"SubClient Name: [", dump<&VSContent::subclientName>, "]\n"},
    {"backupSetProp: [", dump<&VSContent::backupSetProp>, "]\n"},
    {"guest Hosts: [", dump<&VSContent::guestHosts>, "]\n"},
    {"guest Hosts2: [", dump<&VSContent::guestHosts2>, "]\n"},
};

}  // namespace

std::string _QSetSubclientParameters::c_str() const { return dumpRows(kSetSubclientDump, *this); }
std::string _QDeleteSubclientParameters::c_str() const {
    return dumpRows(kDeleteSubclientDump, *this);
}
std::string _QSetOSFilterParameters::c_str() const { return dumpRows(kSetFiltersDump, *this); }
std::string _QApplicationIdInfo::c_str() const { return dumpRows(kApplicationIdDump, *this); }
std::string _QSetVSSubclientContentParameters::c_str() const {
    return dumpRows(kVSContentDump, *this);
}
