// Record dumps compared whole, one record for each way the dump builder
// writes a line: label styles, lists, nested records and times, the one
// character, omitted secrets, words for flags and tab-joined entries.
#include "VSDK.h"
#include "VSDKAPIUtils/DBRestoreOptions.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

namespace {

template <std::size_t N>
void set(char (&array)[N], const char* text) {
    std::snprintf(array, N, "%s", text);
}

_QTime timeOf(int unix) {
    _QTime t;
    t.unixTime = unix, t.startTime = "start", t.timeZone = "zone", t.offset = -60, t.dsFlags = 1;
    return t;
}

_QCLArchiveLogParam archiveLogs(unsigned int base) {
    _QCLArchiveLogParam a;
    a.logType = base, a.olderThan = base + 1, a.notOlderThan = base + 2;
    a.startTime = timeOf(10), a.endTime = timeOf(-20);
    a.instanceLog = UINT_MAX, a.startLSN = -3, a.endLSN = 4, a.startSCN = 5, a.endSCN = 6;
    a.deleteArchiveLogFiles = 7, a.archiveLogSelected = 8;
    set(a.likeExpression, "like%");
    a.archiveLogDestinations = {"/d1", "/d2"};
    return a;
}

std::string backupDump() {
    _QBackupParameters p;
    p.options = 1, p.clientId = -2, p.appTypeId = 3, p.instanceId = 4, p.backupSetId = 5;
    p.subclientId = 6, p.taskPriority = 7, p.exportLocation = 8, p.transitLocation = 9;
    p.useVMS = 10, p.mediaStatus = 11, p.incrementLevel = 12, p.cumulative = 13;
    p.qrExecHostId = 14, p.qrOptions = 15, p.nasOptions = UINT_MAX, p.alertId = 16;
    p.retryHours = 17, p.retryNumber = 18, p.dataStreamCount = 19, p.logStreamCount = 20;
    p.storagePolicyId = 21, p.qrJobId = LLONG_MIN, p.corruptionThreshold = 22, p.rmanDiskRatio = 23;
    p.transportableSnap = 'Y';
    set(p.clientName, "client"), set(p.appName, "app"), set(p.instanceName, "inst");
    set(p.backupSetName, "bset"), set(p.subclientName, "subc"), set(p.backupDescription, "desc");
    set(p.sourceToDestination, "s2d"), set(p.extendedOptions, "ext"), set(p.entityNames, "ent");
    set(p.onDemandInputFile, "ondemand"), set(p.vssImportMap, "vssmap"), set(p.vssImportExecHostName, "vsshost");
    set(p.dataScript, "data.rman"), set(p.logScript, "log.rman"), set(p.connectString, "conn");
    set(p.storagePolicyName, "sp");
    p.instanceScripts.resize(2);
    set(p.instanceScripts[0].instanceName, "i1"), set(p.instanceScripts[0].scriptName, "s1");
    set(p.instanceScripts[1].instanceName, "i2"), set(p.instanceScripts[1].scriptName, "s2");
    p.dataPath.mediaAgentIds = {1, -2}, p.dataPath.libraryIds = {3};
    p.dataPath.drivePoolIds = {}, p.dataPath.scratchPoolIds = {4, 5};
    p.backupArchiveLogParams = archiveLogs(100), p.deleteArchiveLogParams = archiveLogs(200);
    p.jobDescription = {"line 1", "line 2"};
    p.furtherText = "further", p.xmlResult = 1;
    return p.c_str();
}

std::string ageDataDump() {
    _QAgeDataParameters p;
    p.retryHours = 1, p.retryNumber = 2, p.alertId = -3, p.jobDescription = {"x"};
    return p.c_str();
}

std::string loginDump() {
    _QLoginParameters p;
    set(p.user, "alice"), set(p.password, "LOGIN-SECRET");
    p.forceLogin = true, p.providerId = -1, p.principalName = "principal", p.domainName = "domain";
    p.flags = 6, p.guid = "/store", p.tokenString = "TOKEN", p.isTokenFile = true;
    p.samlTokenRequest = true, p.validityDuration = 30, p.sessionToken = "SESSION";
    return p.c_str();
}

std::string sqlEntriesDump() {
    _QSQLDb db;
    db.id = -1, set(db.name, "db");
    _QSQLPhysicalFile physical;
    physical.id = 2, set(physical.name, "phys");
    _QSQLFile file;
    file.dbId = 3, file.fileId = 4, set(file.name, "file");
    return db.c_str() + physical.c_str() + file.c_str();
}

struct Case {
    const char* record;
    std::function<std::string()> dump;
    const char* expected;
};

const Case kCases[] = {
    {"backup", backupDump,
     "\nOptions:[1]\nClient ID:[-2]\nClient Name:[client]\nApplication ID:[3]\n"
     "Appmodule Name:[app]\ninstance ID:[4]\nInstance NAme:[inst]\nBackupSet ID:[5]\n"
     "BackupSet Name:[bset]\nSubClient ID:[6]\nSubClient Name:[subc]\n"
     "Task Priority:[7]\nExport Location:[8]\nTransit Location:[9]\nUse VMS:[10]\n"
     "Media Status:[11]\nIncrement Level:[12]\nCumulative:[13]\nQR Exec Host ID:[14]\n"
     "QR Options:[15]\nNAS Options:[4294967295]\nBackup Description:[desc]\n"
     "Transportable Snap:[Y]\nSource to Destination:s2d]\nEntity Names:[ent]\n"
     "On Demand input Fie:[ondemand]\nAlert Id:[16]\nVSS Import Map:[vssmap]\n"
     "VSS Import Exec Host Name:[vsshost]\nRetry Hours:[17]\nRetry No:[18]\n"
     "Connect String:[conn]\nInstance scripts:\nInstance Name:[i1],Script Name:[s1] \n"
     "Instance Name:[i2],Script Name:[s2] \nStorage Policy:[sp]\n"
     "Storage Policy Id:[21]\nData Script:[data.rman]\nLog Script:[log.rman]\n"
     "Data Stream Count:[19]\nLog Stream Count:[20]\n"
     "QR Job Id:[-9223372036854775808]\nDataPath Param:\nMedia Agent Id List:[1 -2 ]\n"
     "Library Id List:[3 ]\nDrive Pool Id List:[]\n"
     "Scratch Pool Id List:[4 5 ]Backup Archive Log Params:\n"
     "BackupArchive Log Type:[100]\nOlder Than :[101 days]\nNot Older Than:[102days]\n"
     "Start Time:[\nUnix time:[10]\nStart time:[start]\nTime Zone:[zone]\n"
     "OffSet:[-60]\nDs Flags:[1]]\nEnd Time:[\nUnix time:[-20]\nStart time:[start]\n"
     "Time Zone:[zone]\nOffSet:[-60]\nDs Flags:[1]]\nInstance Log:[4294967295]\n"
     "Start LSN:[-3]\nEnd LSN:[4]\nStart SCN:[5]\nEnd SCN:[6]\n"
     "Delete Backup Archive Log Files:[7]\nArchive Log Selected:[8]\n"
     "Like Expression:[like%]\nArchive Log Destination:[/d1 /d2 ]\n"
     "Delete Archive Log Params:\nBackupArchive Log Type:[200]\n"
     "Older Than :[201 days]\nNot Older Than:[202days]\nStart Time:[\nUnix time:[10]\n"
     "Start time:[start]\nTime Zone:[zone]\nOffSet:[-60]\nDs Flags:[1]]\nEnd Time:[\n"
     "Unix time:[-20]\nStart time:[start]\nTime Zone:[zone]\nOffSet:[-60]\n"
     "Ds Flags:[1]]\nInstance Log:[4294967295]\nStart LSN:[-3]\nEnd LSN:[4]\n"
     "Start SCN:[5]\nEnd SCN:[6]\nDelete Backup Archive Log Files:[7]\n"
     "Archive Log Selected:[8]\nLike Expression:[like%]\n"
     "Archive Log Destination:[/d1 /d2 ]\nRMAN Disk Ratio:[23]\n"
     "Corruption Threshold:[22]\nJob Description:[line 1\nline 2\n]"},
    {"age data", ageDataDump,
     "\nRetry Hours: [1]\nRetry No: [2]\nAlert Id: [-3]\nJob Description:[x\n]"},
    {"login", loginDump,
     "\nUser:[alice]\nForce login:[1]\nProvider ID:[-1]\nPrinicipal Name:[principal]\n"
     "Domain Name:[domain]\nFlags:[6]\nGuid:[/store]\nIsTokenFile:[1]\nGiveToken:[0]\n"
     "samlTokenrequesst:[1]\nValidity Duration:[30]\nLoginWithSamlToken:[0]"},
    {"logout", [] { _QLogoutParameters p; p.logoutAllUsers = true; return p.c_str() + _QLogoutParameters().c_str(); },
     "Log out All users:[True]\nLog out All users:[False]\n"},
    {"SQL entries", sqlEntriesDump,
     "\nId:[-1]\tName:[db]\nId:[2]\tName:[phys]\nDb Id:[3]\tFile Id:[4]\tName:[file]"},
};

TEST(RecordDump, RecordsWriteTheirKnownText) {
    for (const Case& c : kCases) {
        const std::string dump = c.dump();
        EXPECT_EQ(c.expected, dump) << c.record;
        EXPECT_EQ(std::string::npos, dump.find("SECRET")) << c.record;
        EXPECT_EQ(std::string::npos, dump.find("TOKEN")) << c.record;
    }
}

}  // namespace
