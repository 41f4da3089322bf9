/* Domain administration: users and user groups, stored credentials, domain
 * capture and merge, snapshots, software update. */
#ifndef VSDK_ADMIN_H
#define VSDK_ADMIN_H

#include "VSDK/Common.h"

#include <list>
#include <string>
#include <vector>

/* One user of the backup domain. */
struct _QOrvaneUserInfo {
    int id = 0;
    char name[1024] = {};
    char userText[1024] = {};
};

/* One user group of a user. */
struct _QOrvaneUserGroupInfo {
    int id = 0;
    char name[1024] = {};
    int flags = 0;
    int groupValue = 0;
};

/* Selector of the group listing: the user whose groups are listed. */
struct _QGetOrvaneUserGroupsParameters {
    int userId = 0;
};

/* A user to create or change, with its group memberships. unloggedText is
 * the user's password: it never appears in the dump or the request log. */
struct VSDK_EXPORT _QSetOrvaneUserParameters {
    int operationId = 0;
    int userId = 0;
    char userName[256] = {};
    char newLogin[256] = {};
    char unloggedText[256] = {};
    std::vector<std::string> description;
    char email[1024] = {};
    char pager[1024] = {};
    int passwordAging = 0;
    int expiryDate = 0;
    int loginEnabled = 0;
    std::vector<int> groups;

    std::string c_str() const;
};

/* New stored credentials for one entity path (no dump: it carries passwords). */
struct _QChangePasswordsParameters {
    int clientId = 0;
    char clientName[1024] = {};
    int appId = 0;
    char appName[1024] = {};
    int instanceId = 0;
    char instanceName[1024] = {};
    int backupSetId = 0;
    char backupSetName[1024] = {};
    int subclientId = 0;
    char subclientName[1024] = {};
    char userName[1024] = {};
    char password[1024] = {};
    char catalogConnectUser[1024] = {};
    char catalogConnectPassword[1024] = {};
    char catalogConnectService[1024] = {};
    char extraText1[1024] = {};
    char extraText2[1024] = {};
    char extraText3[1024] = {};
};

/* A domain capture: clients, dump file, database, credentials, time window
 * and database restore path. The password is never dumped. */
struct VSDK_EXPORT _QFenmarkCaptureParameters {
    std::vector<std::string> clientNames;
    char dumpFileName[1024] = {};
    char dbName[1024] = {};
    char userName[256] = {};
    char password[128] = {};
    bool sendAnswerFileContent = false;
    _QTime startTime;
    _QTime endTime;
    char dbRestorePath[1024] = {};

    std::string c_str() const;
};

/* A domain merge: afContent is the answer-file text a capture handed back.
 * The password is never dumped. */
struct VSDK_EXPORT _QFenmarkMergeParameters {
    char dumpFileName[1024] = {};
    std::string afContent;
    char user[256] = {};
    char password[128] = {};
    bool reuseTapes = false;
    char dbRestorePath[1024] = {};

    std::string c_str() const;
};

/* Selector of the snapshot listing. */
struct _QGetSnapsParameters {
    std::string jobId;
    std::string copyName;
    int option = 0;
};

/* One snapshot operation; an empty list is not sent at all. */
struct _QSnapParameters {
    std::string operation;
    int option = 0;
    std::list<int> intList;
    std::string destinationClientName;
    std::list<std::string> stringList;
};

/* One snapshot. timeText is its time as local-time text ("now" for 0). */
struct _QSnapShotInfo {
    int id = 0;
    std::string text2;
    std::string timeText;
    std::string text4;
    std::string text5;
    std::string text6;
    std::string text7;
};

/* A software update job on one client. */
struct VSDK_EXPORT _QBrevantUpdateParameters {
    int clientId = 0;
    char clientName[1024] = {};
    char extendedOptions[1024] = {};
    bool reboot = false;

    std::string c_str() const;
};

/* Listings: *count receives the number of entries; with entries, *out a new[]
 * array the caller releases with delete[] (untouched when there are none). */
VSDK_API unsigned long VSDKGetOrvaneUsers(_QOrvaneUserInfo** users, int* count);
VSDK_API unsigned long VSDKGetOrvaneUserGroups(const _QGetOrvaneUserGroupsParameters* selector,
                                               _QOrvaneUserGroupInfo** groups, int* count);
VSDK_API unsigned long VSDKSetOrvaneUser(const _QSetOrvaneUserParameters* params);

/* The server's error text becomes the thread's last error whatever its code. */
VSDK_API unsigned long VSDKChangePasswords(const _QChangePasswordsParameters* params);

/* answerFile receives the reply's answer-file text after every completed
 * exchange, also when the server refuses; the server's error text becomes
 * the thread's last error whatever its code (the merge likewise). */
VSDK_API unsigned long VSDKFenmarkCapture(const _QFenmarkCaptureParameters* params,
                                          std::string& answerFile);
VSDK_API unsigned long VSDKFenmarkMerge(const _QFenmarkMergeParameters* params);

VSDK_API unsigned long VSDKGetSnaps(const _QGetSnapsParameters* params, _QSnapShotInfo** snapshots,
                                    int* count);
/* The server's error text becomes the thread's last error whatever its code. */
VSDK_API unsigned long VSDKSnap(const _QSnapParameters* params);
/* Not supported: always 0x301, whatever the arguments. */
VSDK_API unsigned long VSDKPseudoMount(void* first, void* second);

/* *outJobId receives the started job's id, -1 when the server refuses, and
 * is left alone on every other failure. */
VSDK_API unsigned long VSDKBrevantUpdate(const _QBrevantUpdateParameters* params, long* outJobId);

#endif
