// Record dumps, one record for each way the dump builder writes a line: label
// styles, lists and their joiners, nested records and times, the one
// character, omitted secrets, words for flags and tab-joined entries.
#include "VSDK.h"
#include "VSDKAPIUtils/DBRestoreOptions.h"
#include "support/WireChecks.h"

#include <climits>

namespace {

using vsdktest::setText;

std::string archiveLogDump() {
    _QCLArchiveLogParam a;
    a.logType = 1, a.notOlderThan = 2, a.instanceLog = UINT_MAX, a.startLSN = -3, a.archiveLogSelected = 4;
    a.startTime = vsdktest::timeOf(1);
    setText(a.likeExpression, "like%");
    a.archiveLogDestinations = {"/d1", "/d2"};
    return a.c_str();
}

std::string ageDataDump() {
    _QAgeDataParameters p;
    p.retryHours = 1, p.retryNumber = 2, p.alertId = -3, p.jobDescription = {"x"};
    return p.c_str();
}

std::string loginDump() {
    _QLoginParameters p;
    setText(p.user, "alice"), setText(p.password, "LOGIN-SECRET");
    p.forceLogin = true, p.providerId = -1, p.principalName = "principal", p.domainName = "domain";
    p.flags = 6, p.guid = "/store", p.tokenString = "TOKEN", p.isTokenFile = true;
    p.samlTokenRequest = true, p.validityDuration = 30, p.sessionToken = "SESSION";
    return p.c_str();
}

std::string sqlEntriesDump() {
    _QSQLDb db;
    db.id = -1, setText(db.name, "db");
    _QSQLPhysicalFile physical;
    physical.id = 2, setText(physical.name, "phys");
    _QSQLFile file;
    file.dbId = 3, file.fileId = 4, setText(file.name, "file");
    return db.c_str() + physical.c_str() + file.c_str();
}

struct Case {
    const char* record;
    std::function<std::string()> dump;
    const char* expected;
};

const Case kCases[] = {
    {"archive logs", archiveLogDump,
     "\nBackupArchive Log Type:[1]\nOlder Than :[0 days]\nNot Older Than:[2days]\nStart Time:[\nUnix time:[-1001]\n"
     "Start time:[start1]\nTime Zone:[zone1]\nOffSet:[-60]\nDs Flags:[2]]\nEnd Time:[\nUnix time:[0]\n"
     "Start time:[]\nTime Zone:[]\nOffSet:[0]\nDs Flags:[0]]\nInstance Log:[4294967295]\nStart LSN:[-3]\n"
     "End LSN:[0]\nStart SCN:[0]\nEnd SCN:[0]\nDelete Backup Archive Log Files:[0]\nArchive Log Selected:[4]\n"
     "Like Expression:[like%]\nArchive Log Destination:[/d1 /d2 ]\n"},
    {"age data", ageDataDump, "\nRetry Hours: [1]\nRetry No: [2]\nAlert Id: [-3]\nJob Description:[x\n]"},
    {"login", loginDump,
     "\nUser:[alice]\nForce login:[1]\nProvider ID:[-1]\nPrinicipal Name:[principal]\nDomain Name:[domain]\n"
     "Flags:[6]\nGuid:[/store]\nIsTokenFile:[1]\nGiveToken:[0]\nsamlTokenrequesst:[1]\nValidity Duration:[30]\n"
     "LoginWithSamlToken:[0]"},
    {"logout", [] { _QLogoutParameters p; p.logoutAllUsers = true; return p.c_str() + _QLogoutParameters().c_str(); },
     "Log out All users:[True]\nLog out All users:[False]\n"},
    {"SQL entries", sqlEntriesDump, "\nId:[-1]\tName:[db]\nId:[2]\tName:[phys]\nDb Id:[3]\tFile Id:[4]\tName:[file]"},
};

TEST(RecordDump, RecordsWriteTheirKnownText) {
    for (const Case& c : kCases) {
        const std::string dump = c.dump();
        EXPECT_EQ(c.expected, dump) << c.record;
        EXPECT_EQ(std::string::npos, dump.find("SECRET")) << c.record;
        EXPECT_EQ(std::string::npos, dump.find("TOKEN")) << c.record;
    }
}

// The backup record in parts: its first line, the one character, a list of
// records, a 64-bit number, a nested record of number lists (one empty) and
// the last line.
TEST(RecordDump, BackupParts) {
    _QBackupParameters p;
    p.options = 1, p.transportableSnap = 'Y', p.qrJobId = LLONG_MIN, p.jobDescription = {"line 1", "line 2"};
    p.instanceScripts.resize(2);
    vsdktest::setTexts({{p.instanceScripts[0].instanceName, "i1"}, {p.instanceScripts[0].scriptName, "s1"},
                        {p.instanceScripts[1].instanceName, "i2"}, {p.instanceScripts[1].scriptName, "s2"}});
    p.dataPath.mediaAgentIds = {1, -2}, p.dataPath.scratchPoolIds = {4, 5};
    const std::string dump = p.c_str();
    for (const std::string part :
         {"\nOptions:[1]\nClient ID:[0]\n", "\nTransportable Snap:[Y]\n",
          "\nInstance scripts:\nInstance Name:[i1],Script Name:[s1] \nInstance Name:[i2],Script Name:[s2] \nStorage",
          "\nQR Job Id:[-9223372036854775808]\nDataPath Param:\nMedia Agent Id List:[1 -2 ]\nLibrary Id List:[]\n"
          "Drive Pool Id List:[]\nScratch Pool Id List:[4 5 ]Backup Archive Log Params:\n"}) {
        EXPECT_NE(std::string::npos, dump.find(part)) << part;
    }
    const std::string last = "\nCorruption Threshold:[0]\nJob Description:[line 1\nline 2\n]";
    EXPECT_EQ(dump.size() - last.size(), dump.rfind(last));
}

}  // namespace
