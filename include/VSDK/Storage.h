/* Storage policies and their copies: listings, creation, change, deletion. */
#ifndef VSDK_STORAGE_H
#define VSDK_STORAGE_H

#include "VSDK/Common.h"

#include <string>

/* One storage policy of a listing; also names the policy whose copies are
 * listed (id and name are read). */
struct _QStoragePolicyInfo {
    int id = 0;
    char name[1024] = {};
    int type = 0;
    int attribute = 0;
    int flags = 0;
};

/* One copy of a storage policy. */
struct _QStoragePolicyCopyInfo {
    int id = 0;
    char name[1024] = {};
    int attribute = 0;
    int isSnapCopy = 0;
    int isMirrorCopy = 0;
};

/* A storage policy to create, with the data path of its primary copy. */
struct VSDK_EXPORT _QSetStoragePolicyParameters {
    int operationId = 0;
    int storagePolicyId = 0;
    char storageGroupName[1024] = {};
    int mediaAgentId = 0;
    char mediaAgentName[1024] = {};
    int libraryId = 0;
    char libraryName[1024] = {};
    int drivePoolId = 0;
    char drivePoolName[1024] = {};
    int scratchPoolId = 0;
    char scratchPoolName[1024] = {};
    int streamCount = 0;
    int incrementalStorageGroupId = 0;
    char incrementalStorageGroupName[1024] = {};
    char ddbPath[1024] = {};          /* deduplication database path; not in the dump */
    int enableSiloBackup = 0;
    int siloLibraryId = 0;
    char siloLibraryName[1024] = {};
    int siloMediaAgentId = 0;
    char siloMediaAgentName[1024] = {};
    int siloDrivePoolId = 0;
    char siloDrivePoolName[1024] = {};
    int siloScratchPoolId = 0;
    char siloScratchPoolName[1024] = {};
    char dfmServerName[1024] = {};    /* sent by the document form only */

    /* Text dump for the debug log. */
    std::string c_str() const;
};

/* A copy to create (operationId 1) or another operation on a copy. */
struct VSDK_EXPORT _QSetStoragePolicyCopyParameters {
    char secondaryCopyName[1024] = {};
    int copyId = 0;
    int operationId = 0;
    int storagePolicyId = 0;
    char storageGroupName[1024] = {};
    int mediaAgentId = 0;
    char mediaAgentName[1024] = {};
    int libraryId = 0;
    char libraryName[1024] = {};
    int drivePoolId = 0;
    char drivePoolName[1024] = {};
    int scratchPoolId = 0;
    char scratchPoolName[1024] = {};
    int secondaryCopyType = 0;
    int isActive = 0;
    int isDefault = 0;
    int createSnapCopy = 0;
    int createMirrorCopy = 0;
    int sourceCopyId = 0;
    char sourceCopyName[1024] = {};
    char ddbPath[1024] = {};
    int encryptData = 0;
    int cipher = 0;
    int keyLength = 0;
    int mediaAccess = 0;
    int existingEncryptedData = 0;
    int enableSiloBackup = 0;
    int siloLibraryId = 0;
    char siloLibraryName[1024] = {};
    int siloMediaAgentId = 0;
    char siloMediaAgentName[1024] = {};
    int siloDrivePoolId = 0;
    char siloDrivePoolName[1024] = {};
    int siloScratchPoolId = 0;
    char siloScratchPoolName[1024] = {};
    char provisioningPolicy[1024] = {}; /* document form only */
    char resourcePool[1024] = {};       /* document form only */

    /* Text dump for the debug log. */
    std::string c_str() const;
};

/* A storage policy to delete. */
struct VSDK_EXPORT _QDeleteStoragePolicyParameters {
    int storagePolicyId = 0;
    char storagePolicyName[1024] = {};

    /* Text dump for the debug log. */
    std::string c_str() const;
};

/* A copy of a storage policy to delete. */
struct VSDK_EXPORT _QDeleteStoragePolicyCopyParameters {
    int storagePolicyId = 0;
    char storagePolicyName[1024] = {};
    int storagePolicyCopyId = 0;
    char storagePolicyCopyName[1024] = {};

    /* Text dump for the debug log. */
    std::string c_str() const;
};

/* Every storage policy; the caller releases the array with delete[]. */
VSDK_API unsigned long VSDKGetStoragePolicies(_QStoragePolicyInfo** policies, int* count);
/* The copies of the policy named by id and name. */
VSDK_API unsigned long VSDKGetStoragePolicyCopies(const _QStoragePolicyInfo* policy,
                                                  _QStoragePolicyCopyInfo** copies, int* count);

/* C-string forms. A thread without state is started up under instanceName
 * (under 256 characters) and logged in first; it stays so until
 * VSDKDeInitialize. The names form writes at most as many buffers (each of
 * 1024 bytes) as the count form last returned on the calling thread. */
VSDK_API unsigned long VSDKGetStoragePoliciesCount_NOSTL(const char* instanceName, int* count);
VSDK_API unsigned long VSDKGetStoragePolicies_NOSTL(const char* instanceName, char** names);

/* Creates a storage policy; policyId receives its id (-1 on a server error). */
VSDK_API unsigned long VSDKSetStoragePolicy(const _QSetStoragePolicyParameters* params,
                                            int* policyId);
/* Creates a copy or operates on one; copyId receives the copy's id (-1 on a
 * server error). */
VSDK_API unsigned long VSDKSetStoragePolicyCopies(const _QSetStoragePolicyCopyParameters* params,
                                                  int* copyId);
VSDK_API unsigned long VSDKDeleteStoragePolicy(const _QDeleteStoragePolicyParameters* params);
VSDK_API unsigned long VSDKDeleteStoragePolicyCopy(const _QDeleteStoragePolicyCopyParameters* params);

/* The same operations as App documents sent through VSDKQExecute. */
VSDK_API unsigned long VSDKSetStoragePolicyCopies_XML(const _QSetStoragePolicyCopyParameters* params,
                                                      int* copyId);
/* Adds the record's data path to the copy it names; result is -1 on a
 * server error and untouched otherwise. */
VSDK_API unsigned long VSDKAddDataPath_XML(const _QSetStoragePolicyCopyParameters* params,
                                           int* result);
/* Creates a policy with its primary copy "Primary". */
VSDK_API unsigned long VSDKSetStoragePolicy_XML(const _QSetStoragePolicyParameters* params,
                                                int* policyId);
VSDK_API unsigned long VSDKDeleteStoragePolicy_XML(const _QDeleteStoragePolicyParameters* params);
VSDK_API unsigned long VSDKDeleteStoragePolicyCopy_XML(
    const _QDeleteStoragePolicyCopyParameters* params);

#endif
