/* Data paths (looked up by name) and the pruning of stored data. */
#ifndef VSDK_DATAPATH_H
#define VSDK_DATAPATH_H

#include "Common.h"

#include <string>
#include <vector>

/* ---- Records --------------------------------------------------------- */

/* A data path: ids of media agents, libraries, drive pools and scratch pools.
 * The lists are independent of one another; ids keep the server's order. */
struct _QDataPathInfo {
    std::vector<int> mediaAgentIds;
    std::vector<int> libraryIds;
    std::vector<int> drivePoolIds;
    std::vector<int> scratchPoolIds;
};

/* The names VSDKGetDataPath resolves; every list is sent as it is. */
struct _QGetDataPathParameters {
    std::vector<std::string> mediaAgentNames;
    std::vector<std::string> libraryNames;
    std::vector<std::string> drivePoolNames;
    std::vector<std::string> scratchPoolNames;
};

/* Pruning of the data of deduplication stores, named by store id. */
struct VSDK_EXPORT _QPruneDataByDedupStoreIdParameters {
    char mardockName[256] = {};
    std::vector<long long> storeIds;

    std::string c_str() const;
};

/* Pruning of the data of jobs within one copy of one storage policy. */
struct VSDK_EXPORT _QPruneDataByJobIdParameters {
    int storagePolicyId = 0;
    int copyId = 0;
    int fileType = 0;
    char mardockName[260] = {};
    std::vector<long long> jobIds;

    std::string c_str() const;
};

/* ---- Operations ------------------------------------------------------ */

/* Resolves the names to ids. On success *dataPath receives a new record that
 * the caller releases with delete (its previous value is not released); on a
 * failure before that it is left as it was, and null when the record cannot
 * be made (0x201). */
VSDK_API unsigned long VSDKGetDataPath(_QGetDataPathParameters* names, _QDataPathInfo** dataPath);

/* Prune stored data. The server's answer text, when not empty, is assigned to
 * *responseText; it is also the thread's last error after every completed
 * exchange, successful or not. An empty id list sends no ids at all. */
VSDK_API unsigned long VSDKPruneDataByStoreId(_QPruneDataByDedupStoreIdParameters* params,
                                              std::string* responseText);
VSDK_API unsigned long VSDKPruneDataByJobId(_QPruneDataByJobIdParameters* params,
                                            std::string* responseText);

#endif
