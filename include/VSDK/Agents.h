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

#endif
