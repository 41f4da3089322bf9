// Text dumps of the backup and job-start records, for the debug log. Each
// line is its label, the value and "]\n"; character arrays are written up to
// their terminator and never past their end.
#include "VSDK/Backup.h"

#include "VSDKAPI/messages/Fields.h"

#include <sstream>

namespace {

template <std::size_t N>
std::string text(const char (&array)[N]) {
    return msgf::boundedText(array);
}

void idList(std::ostringstream& out, const char* label, const std::vector<int>& ids,
            const char* close) {
    out << label;
    for (int id : ids) out << id << ' ';
    out << close;
}

void dumpJobDescription(std::ostringstream& out, const std::vector<std::string>& lines) {
    out << "Job Description:[";
    for (const std::string& line : lines) out << line << "\n";
    out << "]";
}

}  // namespace

std::string _QInstanceScript::c_str() const {
    std::ostringstream out;
    out << "\nInstance Name:[" << text(instanceName) << "],"
        << "Script Name:[" << text(scriptName) << "]";
    return out.str();
}

std::string _QCLArchiveLogParam::c_str() const {
    std::ostringstream out;
    out << "\nBackupArchive Log Type:[" << logType << "]\n"
        << "Older Than :[" << olderThan << " days]\n"
        << "Not Older Than:[" << notOlderThan << "days]\n"
        << "Start Time:[" << startTime.c_str() << "]\n"
        << "End Time:[" << endTime.c_str() << "]\n"
        << "Instance Log:[" << instanceLog << "]\n"
        << "Start LSN:[" << startLSN << "]\n"
        << "End LSN:[" << endLSN << "]\n"
        << "Start SCN:[" << startSCN << "]\n"
        << "End SCN:[" << endSCN << "]\n"
        << "Delete Backup Archive Log Files:[" << deleteArchiveLogFiles << "]\n"
        << "Archive Log Selected:[" << archiveLogSelected << "]\n"
        << "Like Expression:[" << text(likeExpression) << "]\n"
        << "Archive Log Destination:[";
    for (const std::string& d : archiveLogDestinations) out << d << ' ';
    out << "]\n";
    return out.str();
}

std::string _QBackupParameters::c_str() const {
    std::ostringstream out;
    out << "\nOptions:[" << options << "]\n"
        << "Client ID:[" << clientId << "]\n"
        << "Client Name:[" << text(clientName) << "]\n"
        << "Application ID:[" << appTypeId << "]\n"
        << "Appmodule Name:[" << text(appName) << "]\n"
        << "instance ID:[" << instanceId << "]\n"
        << "Instance NAme:[" << text(instanceName) << "]\n"
        << "BackupSet ID:[" << backupSetId << "]\n"
        << "BackupSet Name:[" << text(backupSetName) << "]\n"
        << "SubClient ID:[" << subclientId << "]\n"
        << "SubClient Name:[" << text(subclientName) << "]\n"
        << "Task Priority:[" << taskPriority << "]\n"
        << "Export Location:[" << exportLocation << "]\n"
        << "Transit Location:[" << transitLocation << "]\n"
        << "Use VMS:[" << useVMS << "]\n"
        << "Media Status:[" << mediaStatus << "]\n"
        << "Increment Level:[" << incrementLevel << "]\n"
        << "Cumulative:[" << cumulative << "]\n"
        << "QR Exec Host ID:[" << qrExecHostId << "]\n"
        << "QR Options:[" << qrOptions << "]\n"
        << "NAS Options:[" << nasOptions << "]\n"
        << "Backup Description:[" << text(backupDescription) << "]\n"
        << "Transportable Snap:[";
    if (transportableSnap != 0) out << transportableSnap;
    out << "]\n"
        << "Source to Destination:" << text(sourceToDestination) << "]\n"
        << "Entity Names:[" << text(entityNames) << "]\n"
        << "On Demand input Fie:[" << text(onDemandInputFile) << "]\n"
        << "Alert Id:[" << alertId << "]\n"
        << "VSS Import Map:[" << text(vssImportMap) << "]\n"
        << "VSS Import Exec Host Name:[" << text(vssImportExecHostName) << "]\n"
        << "Retry Hours:[" << retryHours << "]\n"
        << "Retry No:[" << retryNumber << "]\n"
        << "Connect String:[" << text(connectString) << "]\n"
        << "Instance scripts:";
    for (const _QInstanceScript& script : instanceScripts) out << script.c_str() << ' ';
    out << "\n"
        << "Storage Policy:[" << text(storagePolicyName) << "]\n"
        << "Storage Policy Id:[" << storagePolicyId << "]\n"
        << "Data Script:[" << text(dataScript) << "]\n"
        << "Log Script:[" << text(logScript) << "]\n"
        << "Data Stream Count:[" << dataStreamCount << "]\n"
        << "Log Stream Count:[" << logStreamCount << "]\n"
        << "QR Job Id:[" << qrJobId << "]\n"
        << "DataPath Param:\n";
    idList(out, "Media Agent Id List:[", dataPath.mediaAgentIds, "]\n");
    idList(out, "Library Id List:[", dataPath.libraryIds, "]\n");
    idList(out, "Drive Pool Id List:[", dataPath.drivePoolIds, "]\n");
    idList(out, "Scratch Pool Id List:[", dataPath.scratchPoolIds, "]");
    out << "Backup Archive Log Params:" << backupArchiveLogParams.c_str()
        << "Delete Archive Log Params:" << deleteArchiveLogParams.c_str()
        << "RMAN Disk Ratio:[" << rmanDiskRatio << "]\n"
        << "Corruption Threshold:[" << corruptionThreshold << "]\n";
    dumpJobDescription(out, jobDescription);
    return out.str();
}

std::string _QAuxCopyParameters::c_str() const {
    std::ostringstream out;
    out << "\nStorage Policy Id:[" << storagePolicyId << "]\n"
        << "Storage Policy Name:[" << text(storagePolicyName) << "]\n"
        << "Copy Id: [" << copyId << "]\n"
        << "Copy Name: [" << text(copyName) << "]\n"
        << "Priority: [" << priority << "]\n"
        << "Export Location: [" << exportLocation << "]\n"
        << "Trans Location: [" << transLocation << "]\n"
        << "VMS use: [" << useVMS << "]\n"
        << "Media Status: [" << mediaStatus << "]\n"
        << "Stream Count: [" << streamCount << "]\n"
        << "Start New Media: [" << startNewMedia << "]\n"
        << "Alert id: [" << alertId << "]\n"
        << "Start Suspended: [" << startSuspended << "]\n"
        << "Mark Media Full: [" << markMediaFull << "]\n"
        << "Retry hours: [" << retryHours << "]\n"
        << "Retry No: [" << retryNumber << "]\n"
        << "Select Recent Full: [" << selectRecentFull << "]\n"
        << "Extended Options:[" << text(extendedOptions) << "]\n";
    dumpJobDescription(out, jobDescription);
    return out.str();
}

std::string _QAgeDataParameters::c_str() const {
    std::ostringstream out;
    out << "\nRetry Hours: [" << retryHours << "]\n"
        << "Retry No: [" << retryNumber << "]\n"
        << "Alert Id: [" << alertId << "]\n";
    dumpJobDescription(out, jobDescription);
    return out.str();
}

std::string _QERBackupParameters::c_str() const {
    std::ostringstream out;
    out << "\nIS Full Backup:[" << isFullBackup << "]\n"
        << "Extended Options:[" << text(extendedOptions) << "]\n"
        << "Retry Hours:[" << retryHours << "]\n"
        << "Retry No.[" << retryNumber << "]\n"
        << "Alert Id:[" << alertId << "]\n";
    dumpJobDescription(out, jobDescription);
    return out.str();
}
