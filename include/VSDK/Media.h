/* Media agents, libraries, drive pools, scratch pools, drives and media. */
#ifndef VSDK_MEDIA_H
#define VSDK_MEDIA_H

#include "VSDK/Common.h"

#include <string>
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

/* Library control: an operation on a library or on one of its scratch
 * pools. The operation code is sent as it is; its name appears only in the
 * dump. The scratch-pool part is always sent. */
struct _QLibraryScratchPool {
    int scratchPoolId = 0;
    int libraryId = 0;
    int value3 = 0;
    int value4 = 0;
    int value5 = 0;
    int value6 = 0;
    char name1[1024] = {};
    char name2[1024] = {};
};

struct VSDK_EXPORT _QLibraryControlParams {
    int domainId = 0; /* dumped, not sent */
    int mediaAgentId = 0;
    int libraryId = 0;
    int libraryType = 0;
    int operation = 0;
    int option = 0;
    int spareGroupId = 0;
    char mediaAgentName[1024] = {};
    _QLibraryScratchPool scratchPool;
    std::string trailingText1;
    std::string trailingText2;
    std::string c_str() const;
};

struct VSDK_EXPORT _QDriveControlParams {
    int domainId = 0; /* dumped, not sent */
    int mediaAgentId = 0;
    int libraryId = 0;
    int libraryType = 0;
    int driveId = 0;
    int operation = 0;
    std::string mediaText;
    std::string c_str() const;
};

struct VSDK_EXPORT _QControlMediaAgentParameters {
    int mediaAgentId = 0;
    int operation = 0;
    std::string c_str() const;
};

/* Media export: media of a library, where they go, and the off-site
 * tracking of the move. */
struct VSDK_EXPORT _QMediaExportParams {
    int domainId = 0; /* dumped, not sent */
    int mediaAgentId = 0;
    int libraryId = 0;
    int libraryType = 0;
    std::vector<int> mediaList; /* media ids */
    int verifyMediaOnExport = 0;
    std::string locationDescription;
    std::string iePorts; /* import/export ports */
    int containerId = 0;
    std::string containerName;
    int useShelfwatchForExport = 0;
    int swUseVMSForExport = 0;
    int swAutoAcknowledgement = 0;
    int swContainerId = 0;
    std::string swContainerName;
    int swTransitLocationId1 = 0;
    int swTransitLocationId2 = 0;
    std::string swTransitLocationName;
    int swDestinationLocationId1 = 0;
    int swDestinationLocationId2 = 0;
    std::string swDestinationLocationName;
    int operation = 0;
    std::string mediaSideName;
    int drivePoolId = 0;
    int driveId = 0;
    std::string mediaAgentName;
    int destinationScratchPoolId = 0;
    int mediaAttributeId = 0;
    _QTime time;
    std::string c_str() const;
};

struct VSDK_EXPORT _QVerifyMediaParams {
    int domainId = 0; /* dumped, not sent */
    int mediaAgentId = 0;
    int libraryId = 0;
    int mediaId = 0;
    int locationId = 0;
    std::string locationDescription;
    int verifyOMLOnExport = 0;
    int operation = 0;
    std::string c_str() const;
};

struct VSDK_EXPORT _QDiscoverMediaParameters {
    int operation = 0;
    int mediaAgentId = 0;
    int libraryId = 0;
    int libraryType = 0;
    int scratchPoolId = 0;
    char mediaTypeName[1024] = {};
    std::vector<std::string> barcodeList;
    std::string c_str() const;
};

/* Media contents: the jobs found on media, each with its chunks. */
struct VSDK_EXPORT _QCLChunkInfo {
    long long value1 = 0;
    int value2 = 0;
    std::string key; /* binary: zero bytes included */
    int keyLength = 0; /* the number of bytes in key */

    _QCLChunkInfo() = default;
    _QCLChunkInfo(const _QCLChunkInfo& other);
    _QCLChunkInfo& operator=(const _QCLChunkInfo& other);
    /* The source keeps value1 and value2 and is left with an empty key of length 0. */
    _QCLChunkInfo(_QCLChunkInfo&& other) noexcept;
    ~_QCLChunkInfo() = default;
};

struct VSDK_EXPORT _QCLJobInfo {
    long long jobId = 0;
    int mediaId = 0;
    std::string text1;
    std::string clientName;
    std::string text3;
    std::string backupSetName;
    std::string instanceName;
    std::string subclientName;
    std::string text7;
    std::string text8;
    std::string text9;
    std::string text10;
    std::string text11;
    std::string text12;
    std::string mediaSideName;
    std::string text14;
    std::string text15;
    std::string text16;
    std::string text17;
    std::vector<_QCLChunkInfo> chunks;

    _QCLJobInfo() = default;
    _QCLJobInfo(const _QCLJobInfo& other);
    _QCLJobInfo& operator=(const _QCLJobInfo& other);
    /* The source keeps its ids and is left with empty texts and no chunks. */
    _QCLJobInfo(_QCLJobInfo&& other) noexcept;
    ~_QCLJobInfo() = default;
};

struct VSDK_EXPORT _QCLGetMediaContentsParams {
    std::vector<std::string> barcodeList; /* sent only when barcodesPassed */
    bool isJobIdPassed = false;
    bool getHWEncKey = false;
    bool barcodesPassed = false;
    std::vector<long long> jobIdList; /* sent only when isJobIdPassed */
    int archiveGroupId = 0;
    int copyId = 0;
    std::string c_str() const;
};

/* On success errorCode becomes 0, jobs is replaced and replyFlag is taken
 * from the reply (true when its flag is not 0); a failed call leaves all
 * three as they were. */
struct _QCLMediaContentsInfo {
    int errorCode = 0;
    std::vector<_QCLJobInfo> jobs;
    bool replyFlag = false;
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
/* Hands out two arrays, each released with delete[]. When the second cannot
 * be made (0x201) the first is handed out all the same: set both pointers to
 * null before the call and delete[] both whatever it returns. */
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

/* Control operations: only a code comes back. */
VSDK_API unsigned long VSDKLibraryControl(const _QLibraryControlParams* params);
VSDK_API unsigned long VSDKDriveControl(const _QDriveControlParams* params);
VSDK_API unsigned long VSDKControlMediaAgent(const _QControlMediaAgentParameters* params);
VSDK_API unsigned long VSDKMediaExport(const _QMediaExportParams* params);
VSDK_API unsigned long VSDKDiscoverMedia(const _QDiscoverMediaParameters* params);
/* On success text becomes the server's verification text; on a failure it
 * is left as it was. */
VSDK_API unsigned long VSDKVerifyMedia(const _QVerifyMediaParams* params, std::string* text);
VSDK_API unsigned long VSDKGetMediaContents(const _QCLGetMediaContentsParams* params,
                                            _QCLMediaContentsInfo* info);

#endif
