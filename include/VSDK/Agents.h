/* Agents, instances, backup sets and subclients of a client. */
#ifndef VSDK_AGENTS_H
#define VSDK_AGENTS_H

#include "VSDK/Common.h"

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

/* Listings: *count receives the number of entries; with entries, *out a new[]
 * array the caller releases with delete[] (untouched when there are none). */
VSDK_API unsigned long VSDKGetApplicationTypes(_QAgentTreePath* selector, _QAppTypeInfo** types,
                                               int* count);
VSDK_API unsigned long VSDKGetInstances(_QAgentTreePath* selector, _QInstanceInfo** instances,
                                        int* count);

#endif
