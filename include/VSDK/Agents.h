/* Agents, instances, backup sets and subclients of a client. */
#ifndef VSDK_AGENTS_H
#define VSDK_AGENTS_H

#include "VSDK/Common.h"

#include <string>

/* A node of a client's data-protection tree, down to a backup set: the
 * selector of the tree listings. Each level is an id and a name; a listing
 * reads only the levels above what it lists. */
struct _QAgentTreePath {
    int clientId = 0;
    char clientName[1024] = {};
    int appTypeId = 0;
    char appName[1024] = {};
    int instanceId = 0;
    char instanceName[1024] = {};
    int backupSetId = 0;
    char backupSetName[1024] = {};
};

/* One Appmodule type of a client. */
struct _QAppTypeInfo {
    int appTypeId = 0;
    char name[1024] = {};
    int value = 0;
};

/* One instance of an Appmodule type; the three texts are the server's own. */
struct _QInstanceInfo {
    int instanceId = 0;
    char name[1024] = {};
    char firstText[1024] = {};
    char secondText[1024] = {};
    char thirdText[1024] = {};
    bool onDemand = false;
    char description[3072] = {};
};

/* One backup set of an instance. */
struct _QBackupSetInfo {
    int backupSetId = 0;
    char backupSetName[1024] = {};
    int isDefault = 0;      /* non-zero for the instance's default backup set */
    int lastAccessTime = 0; /* as the server sends it */
    int onDemand = 0;
    char description[3072] = {};
};

/* Database settings of a new SQL Server instance. */
struct VSDK_EXPORT _QSetSQLInstanceParameters {
    char userName[1024] = {};
    char password[1024] = {};
    int vss = 0;
    int sqlTimeOut = 0;
    bool overrideCSSettings = false;
    bool windowsAuthentication = false;
    std::string c_str() const; /* never holds the password */
};

/* Database settings of a new Oracle instance. */
struct VSDK_EXPORT _QSetOracleInstanceParameters {
    char ntUser[1024] = {};
    char password[1024] = {};
    char oracleHome[1024] = {};
    char connectStringUser[1024] = {};
    char connectStringPassword[1024] = {};
    char connectStringService[1024] = {};
    bool useCatalog = false; /* shown in the dump, not sent */
    char catalogUser[1024] = {};
    char catalogPassword[1024] = {};
    char catalogService[1024] = {};
    char tnsAdmin[1024] = {};
    bool controlFileAutoBackup = false;
    long long blockSize = 0; /* sent as its low 32 bits */
    int logBackupStreams = 0;
    int compression = 0; /* 0 on the client, 2 none, otherwise on the media agent */
    int networkBandwidth = 0;
    bool onDemand = false;
    int oracleFlags = 0;
    int encryption = 0;
    std::string c_str() const; /* never holds a password */
};

/* Database settings of a new Db2 instance. */
struct VSDK_EXPORT _QSetDb2InstanceParameters {
    char db2User[1024] = {};
    char password[1024] = {};
    char db2Home[1024] = {};
    int compression = 0;
    int networkAgents = 0;
    int networkBandwidth = 0;
    int encryption = 0;
    std::string c_str() const; /* never holds the password */
};

/* A new instance: its place in the tree, its storage policies and the
 * settings of the database agent its Appmodule type names (only that
 * block is sent). */
struct VSDK_EXPORT _QSetInstanceParameters {
    int operationId = 0;
    int clientId = 0;
    char clientName[1024] = {};
    int appTypeId = 0;
    char appName[1024] = {};
    int instanceId = 0;
    char instanceName[1024] = {};
    int defaultPolicyId = 0;
    char defaultPolicyName[1024] = {};
    int logPolicyId = 0;
    char logPolicyName[1024] = {};
    int furtherId = 0;
    char furtherName[1024] = {};
    _QSetSQLInstanceParameters sqlParams;
    _QSetOracleInstanceParameters oracleParams;
    _QSetDb2InstanceParameters db2Params;
    std::string c_str() const;
};

/* A new backup set of an instance. */
struct VSDK_EXPORT _QSetBackupSetParameters {
    int operationId = 0;
    int clientId = 0;
    char clientName[1024] = {};
    int appTypeId = 0;
    char appName[1024] = {};
    int instanceId = 0;
    char instanceName[1024] = {};
    int backupSetId = 0;
    char backupSetName[1024] = {};
    int storagePolicyId = 0;
    char storagePolicyName[1024] = {};
    int onDemand = 0;
    int lastAccessTime = 0;
    int compression = 0; /* 0 on the client, 1 on the media agent, 2 none */
    int networkAgents = 0;
    char preBackupProcess[1024] = {};
    char postBackupProcess[1024] = {};
    char preScanProcess[1024] = {};
    char postScanProcess[1024] = {};
    char prePostUserName[256] = {};
    char prePostPassword[128] = {};
    std::string c_str() const; /* never holds the password */
};

/* The on-demand and default settings of an existing backup set, named by
 * its path down to the backup set. */
struct VSDK_EXPORT _QModifyBackupSetParameters : _QAgentTreePath {
    int onDemand = 0;
    int isDefault = 0;
    std::string c_str() const;
};

/* The backup set to delete: its path, down to the backup set. */
struct VSDK_EXPORT _QDeleteBackupSetParameters : _QAgentTreePath {
    std::string c_str() const;
};

/* Listings: *count receives the number of entries; with entries, *out a new[]
 * array the caller releases with delete[] (untouched when there are none). */
VSDK_API unsigned long VSDKGetApplicationTypes(_QAgentTreePath* selector, _QAppTypeInfo** types,
                                               int* count);
VSDK_API unsigned long VSDKGetInstances(_QAgentTreePath* selector, _QInstanceInfo** instances,
                                        int* count);
VSDK_API unsigned long VSDKGetBackupSets(_QAgentTreePath* selector, _QBackupSetInfo** backupSets,
                                         int* count);

/* Creations: on a server refusal the id output becomes -1; a failed
 * exchange leaves it alone. VSDKSetInstances writes nothing on success;
 * VSDKSetBackupSets stores the new backup set's id. */
VSDK_API unsigned long VSDKSetInstances(_QSetInstanceParameters* params, int* instanceId);
VSDK_API unsigned long VSDKSetBackupSets(_QSetBackupSetParameters* params, int* backupSetId);

/* After a completed exchange the thread's last error holds the server's
 * error text, also on success. */
VSDK_API unsigned long VSDKModifyBackupSets(_QModifyBackupSetParameters* params);
VSDK_API unsigned long VSDKDeleteBackupSet(_QDeleteBackupSetParameters* params);

#endif
