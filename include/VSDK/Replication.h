/* Replication sets and pairs: listings, control and creation. */
#ifndef VSDK_REPLICATION_H
#define VSDK_REPLICATION_H

#include "Common.h"

#include <string>
#include <vector>

/* ---- Records --------------------------------------------------------- */

/* Selects the replication sets of one client's application. */
struct _QGetReplicationSetsParameters {
    int clientId = 0;
    char clientName[1024] = {};
    int appId = 0;
};

/* Selects the replication pairs of one replication set. */
struct _QGetReplicationPairsParameters {
    int clientId = 0;
    char clientName[1024] = {};
    int repSetId = 0;
    char repSetName[1024] = {};
    int sharedValue = 0;
};

/* One replication set. Holds a library string: release arrays with delete[]. */
struct _QReplicationSetInfo {
    int id = 0;
    char name[1024] = {};
    int sharedValue = 0;
    int setValue = 0;
    std::string setText;
};

/* One replication pair. Holds library strings: release arrays with delete[]. */
struct _QReplicationPairInfo {
    int id = 0;
    char name[1024] = {};
    int sharedValue = 0;
    int pairValue = 0;
    std::string pairText;
    std::string pairText2;
};

/* An action on a replication set or pair; action and currentStatus are the
 * server's vocabulary. */
struct VSDK_EXPORT _QReplicationParameters {
    int repSetId = 0;
    char repSetName[1024] = {};
    int repPairId = 0;
    char repPairName[1024] = {};
    int action = 0;
    int timeStamp = 0;
    int currentStatus = 0;

    std::string c_str() const;
};

/* Creation of a replication set, older form. */
struct _QCreateRepSetParameters {
    std::string repSetText;
    std::string clientName;
    int appTypeId = 0;
    std::string commonText;
};

/* Creation of a replication set, newer form. value2 is sent without its sign. */
struct _QCreateRepSetNewParameters {
    int operationId = 0;
    int clientId = 0;
    char clientName[1024] = {};
    char appName[1024] = {};
    std::string repSetText;
    std::string setText;
    int appTypeId = 0;
    std::string commonText;
    int value1 = 0;
    char text1[1024] = {};
    unsigned int value2 = 0;
    std::vector<std::string> filterPaths;
};

/* Creation of a replication pair. */
struct _QCreateReplicationPairParameters {
    int operationId = 0;
    int clientId = 0;
    char clientName[1024] = {};
    int appTypeId = 0;
    char appName[1024] = {};
    std::string commonText;
    int value1 = 0;
    int timeStamp = 0;
    std::string pairText;
    std::string text1;
};

/* ---- Operations ------------------------------------------------------ */

/* Listings: *count receives the number of entries; with entries, *out a new[]
 * array the caller releases with delete[] (untouched when there are none). */
VSDK_API unsigned long VSDKGetReplicationSets(const _QGetReplicationSetsParameters* selector,
                                              _QReplicationSetInfo** sets, int* count);
VSDK_API unsigned long VSDKGetReplicationPairs(const _QGetReplicationPairsParameters* selector,
                                               _QReplicationPairInfo** pairs, int* count);

/* Performs an action on a replication set or pair. */
VSDK_API unsigned long VSDKReplication(const _QReplicationParameters* params);

/* Creations: only the code comes back, no id of the new set or pair. */
VSDK_API unsigned long VSDKCreateRepSet(const _QCreateRepSetParameters* params);
VSDK_API unsigned long VSDKCreateRepSetNew(const _QCreateRepSetNewParameters* params);
VSDK_API unsigned long VSDKCreateReplicationPair(const _QCreateReplicationPairParameters* params);

#endif
