// Text dumps of the backup and job-start records, for the debug log.
#include "VSDK/Backup.h"

#include "VSDKAPIUtils/RecordDump.h"

using namespace recorddump;

namespace {

using Script = _QInstanceScript;
using Arch = _QCLArchiveLogParam;
using BP = _QBackupParameters;
using Path = _QDataPathInfo;
using Aux = _QAuxCopyParameters;
using Age = _QAgeDataParameters;
using ER = _QERBackupParameters;

const DumpRow<Script> kScriptDump[] = {
    {"\nInstance Name:[", dump<&Script::instanceName>, "],"},
    {"Script Name:[", dump<&Script::scriptName>, "]"},
};

const DumpRow<Arch> kArchiveLogDump[] = {
    {"\nBackupArchive Log Type:[", dump<&Arch::logType>, "]\n"},
    {"Older Than :[", dump<&Arch::olderThan>, " days]\n"},
    {"Not Older Than:[", dump<&Arch::notOlderThan>, "days]\n"},
    {"Start Time:[", dump<&Arch::startTime>, "]\n"},
    {"End Time:[", dump<&Arch::endTime>, "]\n"},
    {"Instance Log:[", dump<&Arch::instanceLog>, "]\n"},
    {"Start LSN:[", dump<&Arch::startLSN>, "]\n"},
    {"End LSN:[", dump<&Arch::endLSN>, "]\n"},
    {"Start SCN:[", dump<&Arch::startSCN>, "]\n"},
    {"End SCN:[", dump<&Arch::endSCN>, "]\n"},
    {"Delete Backup Archive Log Files:[", dump<&Arch::deleteArchiveLogFiles>, "]\n"},
    {"Archive Log Selected:[", dump<&Arch::archiveLogSelected>, "]\n"},
    {"Like Expression:[", dump<&Arch::likeExpression>, "]\n"},
    {"Archive Log Destination:[", dump<&Arch::archiveLogDestinations>, "]\n"},
};

const DumpRow<Path> kDataPathDump[] = {
    {"Media Agent Id List:[", dump<&Path::mediaAgentIds>, "]\n"},
    {"Library Id List:[", dump<&Path::libraryIds>, "]\n"},
    {"Drive Pool Id List:[", dump<&Path::drivePoolIds>, "]\n"},
    {"Scratch Pool Id List:[", dump<&Path::scratchPoolIds>, "]"},
};

const DumpRow<BP> kBackupDump[] = {
    {"\nOptions:[", dump<&BP::options>, "]\n"},
    {"Client ID:[", dump<&BP::clientId>, "]\n"},
    {"Client Name:[", dump<&BP::clientName>, "]\n"},
    {"Application ID:[", dump<&BP::appTypeId>, "]\n"},
    {"Appmodule Name:[", dump<&BP::appName>, "]\n"},
    {"instance ID:[", dump<&BP::instanceId>, "]\n"},
    {"Instance NAme:[", dump<&BP::instanceName>, "]\n"},
    {"BackupSet ID:[", dump<&BP::backupSetId>, "]\n"},
    {"BackupSet Name:[", dump<&BP::backupSetName>, "]\n"},
    {"SubClient ID:[", dump<&BP::subclientId>, "]\n"},
    {"SubClient Name:[", dump<&BP::subclientName>, "]\n"},
    {"Task Priority:[", dump<&BP::taskPriority>, "]\n"},
    {"Export Location:[", dump<&BP::exportLocation>, "]\n"},
    {"Transit Location:[", dump<&BP::transitLocation>, "]\n"},
    {"Use VMS:[", dump<&BP::useVMS>, "]\n"},
    {"Media Status:[", dump<&BP::mediaStatus>, "]\n"},
    {"Increment Level:[", dump<&BP::incrementLevel>, "]\n"},
    {"Cumulative:[", dump<&BP::cumulative>, "]\n"},
    {"QR Exec Host ID:[", dump<&BP::qrExecHostId>, "]\n"},
    {"QR Options:[", dump<&BP::qrOptions>, "]\n"},
    {"NAS Options:[", dump<&BP::nasOptions>, "]\n"},
    {"Backup Description:[", dump<&BP::backupDescription>, "]\n"},
    {"Transportable Snap:[", dumpChar<&BP::transportableSnap>, "]\n"},
    {"Source to Destination:", dump<&BP::sourceToDestination>, "]\n"},
    {"Entity Names:[", dump<&BP::entityNames>, "]\n"},
    {"On Demand input Fie:[", dump<&BP::onDemandInputFile>, "]\n"},
    {"Alert Id:[", dump<&BP::alertId>, "]\n"},
    {"VSS Import Map:[", dump<&BP::vssImportMap>, "]\n"},
    {"VSS Import Exec Host Name:[", dump<&BP::vssImportExecHostName>, "]\n"},
    {"Retry Hours:[", dump<&BP::retryHours>, "]\n"},
    {"Retry No:[", dump<&BP::retryNumber>, "]\n"},
    {"Connect String:[", dump<&BP::connectString>, "]\n"},
    {"Instance scripts:", dump<&BP::instanceScripts>, "\n"},
    {"Storage Policy:[", dump<&BP::storagePolicyName>, "]\n"},
    {"Storage Policy Id:[", dump<&BP::storagePolicyId>, "]\n"},
    {"Data Script:[", dump<&BP::dataScript>, "]\n"},
    {"Log Script:[", dump<&BP::logScript>, "]\n"},
    {"Data Stream Count:[", dump<&BP::dataStreamCount>, "]\n"},
    {"Log Stream Count:[", dump<&BP::logStreamCount>, "]\n"},
    {"QR Job Id:[", dump<&BP::qrJobId>, "]\n"},
    {"DataPath Param:\n", nested<&BP::dataPath, kDataPathDump>, ""},
    {"Backup Archive Log Params:", dump<&BP::backupArchiveLogParams>, ""},
    {"Delete Archive Log Params:", dump<&BP::deleteArchiveLogParams>, ""},
    {"RMAN Disk Ratio:[", dump<&BP::rmanDiskRatio>, "]\n"},
    {"Corruption Threshold:[", dump<&BP::corruptionThreshold>, "]\n"},
    {"Job Description:[", dump<&BP::jobDescription, kLineEnd>, "]"},
};

const DumpRow<Aux> kAuxCopyDump[] = {
    {"\nStorage Policy Id:[", dump<&Aux::storagePolicyId>, "]\n"},
    {"Storage Policy Name:[", dump<&Aux::storagePolicyName>, "]\n"},
    {"Copy Id: [", dump<&Aux::copyId>, "]\n"},
    {"Copy Name: [", dump<&Aux::copyName>, "]\n"},
    {"Priority: [", dump<&Aux::priority>, "]\n"},
    {"Export Location: [", dump<&Aux::exportLocation>, "]\n"},
    {"Trans Location: [", dump<&Aux::transLocation>, "]\n"},
    {"VMS use: [", dump<&Aux::useVMS>, "]\n"},
    {"Media Status: [", dump<&Aux::mediaStatus>, "]\n"},
    {"Stream Count: [", dump<&Aux::streamCount>, "]\n"},
    {"Start New Media: [", dump<&Aux::startNewMedia>, "]\n"},
    {"Alert id: [", dump<&Aux::alertId>, "]\n"},
    {"Start Suspended: [", dump<&Aux::startSuspended>, "]\n"},
    {"Mark Media Full: [", dump<&Aux::markMediaFull>, "]\n"},
    {"Retry hours: [", dump<&Aux::retryHours>, "]\n"},
    {"Retry No: [", dump<&Aux::retryNumber>, "]\n"},
    {"Select Recent Full: [", dump<&Aux::selectRecentFull>, "]\n"},
    {"Extended Options:[", dump<&Aux::extendedOptions>, "]\n"},
    {"Job Description:[", dump<&Aux::jobDescription, kLineEnd>, "]"},
};

const DumpRow<Age> kAgeDataDump[] = {
    {"\nRetry Hours: [", dump<&Age::retryHours>, "]\n"},
    {"Retry No: [", dump<&Age::retryNumber>, "]\n"},
    {"Alert Id: [", dump<&Age::alertId>, "]\n"},
    {"Job Description:[", dump<&Age::jobDescription, kLineEnd>, "]"},
};

const DumpRow<ER> kERBackupDump[] = {
    {"\nIS Full Backup:[", dump<&ER::isFullBackup>, "]\n"},
    {"Extended Options:[", dump<&ER::extendedOptions>, "]\n"},
    {"Retry Hours:[", dump<&ER::retryHours>, "]\n"},
    {"Retry No.[", dump<&ER::retryNumber>, "]\n"},
    {"Alert Id:[", dump<&ER::alertId>, "]\n"},
    {"Job Description:[", dump<&ER::jobDescription, kLineEnd>, "]"},
};

}  // namespace

std::string _QInstanceScript::c_str() const { return dumpRows(kScriptDump, *this); }
std::string _QCLArchiveLogParam::c_str() const { return dumpRows(kArchiveLogDump, *this); }
std::string _QBackupParameters::c_str() const { return dumpRows(kBackupDump, *this); }
std::string _QAuxCopyParameters::c_str() const { return dumpRows(kAuxCopyDump, *this); }
std::string _QAgeDataParameters::c_str() const { return dumpRows(kAgeDataDump, *this); }
std::string _QERBackupParameters::c_str() const { return dumpRows(kERBackupDump, *this); }
