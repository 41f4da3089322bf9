/* Subclients of a backup set, their SQL databases, system databases, content
 * discovery, global filters and virtual-server content. */
#ifndef VSDK_SUBCLIENTS_H
#define VSDK_SUBCLIENTS_H

#include "VSDK/Agents.h"
#include "VSDK/Common.h"

#include <string>
#include <vector>

/* The database code of a backup set at a point in time. */
struct _QGetSystemDatabasesParameters : _QAgentTreePath {
    int copyPrecedence = 0;
    _QTime toTime;
};

/* The node whose content is discovered, by ids only; the last three values
 * are passed through as given. */
struct _QDiscoverContentParameters {
    int clientId = 0;
    int appTypeId = 0;
    int instanceId = 0;
    int backupSetId = 0;
    int fifthValue = 0;
    int sixthValue = 0;
    int seventhValue = 0;
};

/* One discovered content path. */
struct _QDiscoverContentInfo {
    char path[1024] = {};
};

/* One SQL database. Only the id and the name are filled or sent; the other
 * members travel with every copy. */
struct _QSQLDBInfo {
    int id = 0;
    _QTime time;
    long long firstNumber = 0;
    long long secondNumber = 0;
    char name[1024] = {};
    char secondText[1024] = {};
};

/* The SQL databases of one instance. */
struct _QGetSQLDBParameters {
    int clientId = 0;
    int appTypeId = 0;
    int instanceId = 0;
};

/* One subclient of a backup set. */
struct _QSubclientInfo {
    int subclientId = 0;
    char subclientName[1024] = {};
    std::vector<std::string> contents;
    int lastAccessTime = 0;
    int isDefault = 0;                 /* non-zero for the backup set's default subclient */
    char storagePolicyName[1024] = {};
    std::vector<_QSQLDBInfo> sqlDatabases;
    int compression = 0;               /* 0 on the client, 1 on the media agent, 2 off */
    int encryption = 0;
    int activityControl = 1;
    int valueA = 0;
    long long singleInstancing = 0;
    int dataReaders = 1;
    char description[3072] = {};
    long long valueB = 0;
};

/* A new subclient: its place in the tree, storage policy, content, SQL
 * databases, processes and options. */
struct VSDK_EXPORT _QSetSubclientParameters {
    int operationId = 0;
    int clientId = 0;
    char clientName[1024] = {};
    int appTypeId = 0;
    char appName[1024] = {};
    int instanceId = 0;
    char instanceName[1024] = {};
    int backupSetId = 0;
    char backupSetName[1024] = {};
    int subclientId = 0;
    char subclientName[1024] = {};
    int storagePolicyId = 0;
    char storagePolicyName[1024] = {};
    int storagePolicyIndexId = 0;
    std::vector<std::string> contents;
    int lastAccessTime = 0;
    int compression = 0;               /* 0 on the client, 1 on the media agent, 2 off */
    int networkAgents = 0;
    char preBackupProcess[1024] = {};
    char postBackupProcess[1024] = {};
    char preScanProcess[1024] = {};
    char postScanProcess[1024] = {};
    char prePostUserName[256] = {};
    char prePostPassword[128] = {};    /* sent as written; never logged */
    int systemState = 0;
    std::vector<_QSQLDBInfo> sqlDatabases;
    int sqlDataStreamCount = 0;
    int sqlLogStreamCount = 0;
    int sqlSubclientType = 0;
    unsigned long long singleInstancing = 0;
    int activityControl = 0;
    int encryption = 0;
    int dataReaders = 0;
    std::vector<std::string> description;
    std::vector<std::string> otherList;

    /* Text dump for the debug log. */
    std::string c_str() const;
};

/* The subclient to delete. */
struct VSDK_EXPORT _QDeleteSubclientParameters : _QAgentTreePath {
    int subclientId = 0;
    char subclientName[1024] = {};

    /* Text dump for the debug log. */
    std::string c_str() const;
};

/* One global filter. */
struct _QFilterInfo {
    int value = 0;
    char filter[1024] = {};
};

/* The global filters of one operating system. */
struct _QOSFilterAssocInfo {
    int osId = 0;
    std::vector<_QFilterInfo> filters;
};

/* The global filters to set for one operating system. */
struct VSDK_EXPORT _QSetOSFilterParameters {
    int osId = 0;
    std::vector<std::string> filters;

    /* Text dump for the debug log. */
    std::string c_str() const;
};

/* The ids of one node of the agent tree. */
struct VSDK_EXPORT _QApplicationIdInfo {
    unsigned long long clientId = 0;
    unsigned long long appType = 0;
    unsigned long long instanceId = 0;
    unsigned long long backupSetId = 0;
    unsigned long long subclientId = 0;

    /* Text dump for the debug log. */
    std::string c_str() const;
};

/* The content of one virtual-server subclient; the texts are the server's
 * own forms, carried unchanged. */
struct VSDK_EXPORT _QSetVSSubclientContentParameters {
    int subclientId = 0;
    char subclientName[1024] = {};
    std::string backupSetProp;
    std::string guestHosts;
    std::string guestHosts2;

    /* Text dump for the debug log. */
    std::string c_str() const;
};

/* The database code of a backup set. */
VSDK_API unsigned long VSDKGetSystemDatabases(_QGetSystemDatabasesParameters* params,
                                              long long* databaseCode);
/* Content paths under a node; the caller releases the array with delete[]. */
VSDK_API unsigned long VSDKDiscoverContent(_QDiscoverContentParameters* params,
                                           _QDiscoverContentInfo** contents, int* count);
/* The subclients of a backup set; the caller releases the array with delete[]. */
VSDK_API unsigned long VSDKGetSubclients(_QAgentTreePath* path, _QSubclientInfo** subclients,
                                         int* count);
/* The SQL databases of an instance; the caller releases the array with delete[]. */
VSDK_API unsigned long VSDKGetSQLDataBases(_QGetSQLDBParameters* params, _QSQLDBInfo** databases,
                                           int* count);
/* Creates a subclient; *subclientId receives its id (-1 when the server refuses). */
VSDK_API unsigned long VSDKSetSubclients(_QSetSubclientParameters* params, int* subclientId);
VSDK_API unsigned long VSDKDeleteSubclient(_QDeleteSubclientParameters* params);
/* Global filters by operating system; the caller releases the array with delete[]. */
VSDK_API unsigned long VSDKGetGlobalFilters(_QOSFilterAssocInfo** filters, int* count);
VSDK_API unsigned long VSDKSetGlobalFilters(_QSetOSFilterParameters* params);
/* The property text of a virtual-server backup set. */
VSDK_API unsigned long VSDKGetVSBackupsetProperty(_QApplicationIdInfo* ids, std::string* property);
VSDK_API unsigned long VSDKSetVSSubclientContent(_QSetVSSubclientContentParameters* params);

#endif
