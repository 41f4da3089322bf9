/* Media agents, libraries, drive pools, scratch pools, drives and media. */
#ifndef VSDK_MEDIA_H
#define VSDK_MEDIA_H

#include "VSDK/Common.h"

#include <vector>

/* Entries of the topology listings, in reply order. Names hold at most 1023
 * characters and a terminating zero; a longer reply name is cut. */
struct _QMediaAgentInfo {
    int id = 0;
    char name[1024] = {};
};

struct _QMediaLibraryInfo {
    int id = 0;
    char name[1024] = {};
    int libraryType = 0;
    std::vector<int> idList;
    int attribute1 = 0;
    int attribute2 = 0;
};

struct _QMasterDrivePoolInfo {
    int id = 0;
    char name[1024] = {};
};

struct _QDrivePoolInfo {
    int id = 0;
    char name[1024] = {};
    std::vector<int> idList;
};

struct _QScratchPoolInfo {
    int id = 0;
    char name[1024] = {};
};

struct _QDriveInfo {
    int id = 0;
    char name[1024] = {};
    int drivePoolId = 0; /* the drive pool that holds the drive */
};

/* Selectors of the topology listings: the parent objects, by id and name. */
struct _QGetMasterDrivePoolsParams {
    int mediaAgentId = 0;
    char mediaAgentName[1024] = {};
    int libraryId = 0;
    char libraryName[1024] = {};
};

struct _QGetScratchPoolsParams {
    int mediaAgentId = 0;
    char mediaAgentName[1024] = {};
    int libraryId = 0;
    char libraryName[1024] = {};
};

struct _QGetDrivePoolsParams {
    int mediaAgentId = 0;
    char mediaAgentName[1024] = {};
    int libraryId = 0;
    char libraryName[1024] = {};
    int masterDrivePoolId = 0;
    char masterDrivePoolName[1024] = {};
};

struct _QGetLibraryChildrenParams {
    int libraryId = 0;
    char libraryName[1024] = {};
    int option = 0;
};

struct _QGetDrivesParams {
    int mediaAgentId = 0;
    char mediaAgentName[1024] = {};
    int libraryId = 0;
    char libraryName[1024] = {};
    int option = 0;
};

/* The media filter: every field is sent, zeros and empty texts included. */
struct _QGetMediaParams {
    int domainId = 0; /* not sent */
    long long jobId = 0;
    int storagePolicyId = 0;
    char storagePolicyName[1024] = {};
    int copyId = 0;
    char copyName[1024] = {};
    int libraryId = 0;
    char libraryName[1024] = {};
    int filterValue1 = 0;
    int filterValue2 = 0;
    int filterValue3 = 0;
    char filterText[1024] = {};
    int locationId = 0;
    char mediaText[1024] = {};
};

/* One medium. sizeText is the reply's size divided by 1024, "%.2f". */
struct _QMediaInfo {
    int mediaId = 0;
    char mediaName[1024] = {};
    char storagePolicyName[1024] = {};
    char copyName[1024] = {};
    char locationName[1024] = {};
    char libraryName[1024] = {};
    char text7[1024] = {};
    int locationId = 0;
    int mediaAttributeId = 0;
    char description[3072] = {};
    char text11[1024] = {};
    int libraryId = 0;
    char text13[1024] = {};
    char text14[1024] = {};
    char scratchPoolName[1024] = {};
    char text16[1024] = {};
    char sizeText[1024] = {};
    char text18[1024] = {};
    char text19[1024] = {};
};

/* The quick media filter: a node of a client's data-protection tree down to
 * the subclient, a time window and two integers. */
struct _QGetQuickMediaParams {
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
    _QTime fromTime;
    _QTime toTime;
    int option1 = 0;
    int option2 = 0;
};

struct _QQuickMediaInfo {
    char mediaText[1024] = {};
    char text2[1024] = {};
    char libraryName[1024] = {};
    char text4[1024] = {};
    char storagePolicyName[1024] = {};
    char copyName[1024] = {};
    char subclientName[1024] = {};
    int option2 = 0;
    char containerName[1024] = {};
};

/* Listings: the library makes the array with new[] and hands it to the
 * caller, who deletes it with delete[]; a count of 0 leaves the array
 * pointer as it was. */
VSDK_API unsigned long VSDKGetMediaAgents(_QMediaAgentInfo** agents, int* count);
VSDK_API unsigned long VSDKGetMediaLibraries(const _QMediaAgentInfo* mediaAgent,
                                             _QMediaLibraryInfo** libraries, int* count);
VSDK_API unsigned long VSDKGetMasterDrivePools(const _QGetMasterDrivePoolsParams* params,
                                               _QMasterDrivePoolInfo** pools, int* count);
VSDK_API unsigned long VSDKGetDrivePools(const _QGetDrivePoolsParams* params,
                                         _QDrivePoolInfo** pools, int* count);
VSDK_API unsigned long VSDKGetScratchPools(const _QGetScratchPoolsParams* params,
                                           _QScratchPoolInfo** pools, int* count);
/* Both arrays are made before either is handed out. */
VSDK_API unsigned long VSDKGetLibraryChildren(const _QGetLibraryChildrenParams* params,
                                              _QMasterDrivePoolInfo** masterPools,
                                              int* masterPoolCount,
                                              _QScratchPoolInfo** scratchPools,
                                              int* scratchPoolCount);
VSDK_API unsigned long VSDKGetDrives(const _QGetDrivesParams* params, _QDriveInfo** drives,
                                     int* count);
VSDK_API unsigned long VSDKGetMedia(const _QGetMediaParams* params, _QMediaInfo** media,
                                    int* count);
VSDK_API unsigned long VSDKGetQuickMedia(const _QGetQuickMediaParams* params,
                                         _QQuickMediaInfo** media, int* count);

#endif
