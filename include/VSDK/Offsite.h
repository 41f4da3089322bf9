/* Off-site media tracking: export locations, containers, media shelves,
 * IronMountain customer records, Shelfwatch actions and policies. */
#ifndef VSDK_OFFSITE_H
#define VSDK_OFFSITE_H

#include "Common.h"

#include <string>
#include <vector>

/* ---- Listed entities ------------------------------------------------- */

struct _QLocationInfo {
    int locationId = 0;
    char locationName[1024] = {};
    int locationType = 0;
};

struct _QContainerInfo {
    int containerId = 0;
    char containerName[1024] = {};
    int capacity = 0;
    char trackingId[1024] = {};
};

struct _QMediaShelfInfo {
    int shelfId = 0;
    char shelfName[1024] = {};
};

/* customerId is the record's numeric id, ironMountainId its text. */
struct _QIronMountainInfo {
    int customerId = 0;
    char ironMountainId[1024] = {};
};

/* The listing leaves the three locations as constructed. */
struct _QSWActionInfo {
    int actionId = 0;
    int actionField2 = 0;
    int jobId = 0;
    int policyId = 0;
    char policyName[1024] = {};
    _QLocationInfo location1;
    _QLocationInfo location2;
    _QLocationInfo location3;
    int containerId = 0;
    char containerName[1024] = {};
    int startTime = 0;
    int actionField12 = 0;
    char actionField13[1024] = {};
};

/* ---- Creation and change --------------------------------------------- */

struct VSDK_EXPORT _QSetLocationParameters {
    int locationId = 0;
    char locationName[1024] = {};
    int locationType = 0;
    char locationDescription[3072] = {};
    int operationId = 0;

    std::string c_str() const;
};

struct VSDK_EXPORT _QSetContainerParameters {
    int containerId = 0;
    char containerName[1024] = {};
    int capacity = 0;
    char trackingId[1024] = {};
    char description[3072] = {};
    int operationId = 0;

    std::string c_str() const;
};

/* Of location only the id and the name are sent. */
struct VSDK_EXPORT _QSetMediaShelfParameters {
    int shelfId = 0;
    char shelfName[1024] = {};
    int operationId = 0;
    int spareGroupId = 0;
    _QLocationInfo location;
    std::vector<std::string> barcodeList;
    char barcodePattern[1024] = {};
    int numberOfMedia = 0;

    std::string c_str() const;
};

struct VSDK_EXPORT _QSetIronMountainParameters {
    int customerId = 0;
    char ironMountainId[1024] = {};
    int operationId = 0;

    std::string c_str() const;
};

/* A command on a Shelfwatch action; actionField2 is not sent. */
struct VSDK_EXPORT _QSetSWActionParameters {
    int actionId = 0;
    int actionField2 = 0;
    std::vector<int> valueList;
    int containerId = 0;
    int operationId = 0;

    std::string c_str() const;
};

/* ---- Deletion: an id and a name -------------------------------------- */

struct VSDK_EXPORT _QDeleteLocationParameters {
    int locationId = 0;
    char locationName[1024] = {};

    std::string c_str() const;
};

struct VSDK_EXPORT _QDeleteContainerParameters {
    int containerId = 0;
    char containerName[1024] = {};

    std::string c_str() const;
};

struct VSDK_EXPORT _QDeleteMediaShelfParameters {
    int shelfId = 0;
    char shelfName[1024] = {};

    std::string c_str() const;
};

struct VSDK_EXPORT _QDeleteIronMountainParameters {
    int customerId = 0;
    char ironMountainId[1024] = {};

    std::string c_str() const;
};

struct VSDK_EXPORT _QDeleteShelfwatchPolicyParameters {
    int policyId = 0;
    char policyName[1024] = {};

    std::string c_str() const;
};

/* ---- Shelfwatch policies and runs ------------------------------------ */

/* The rule of a policy: fifteen numbers and a text. */
struct _QSWRuleInfo {
    int ruleField1 = 0;
    int ruleField2 = 0;
    int ruleField3 = 0;
    int ruleField4 = 0;
    int ruleField5 = 0;
    int ruleField6 = 0;
    int ruleField7 = 0;
    int ruleField8 = 0;
    int ruleField9 = 0;
    int ruleField10 = 0;
    int ruleField11 = 0;
    int ruleField12 = 0;
    int ruleField13 = 0;
    int ruleField14 = 0;
    int ruleField15 = 0;
    char ruleField16[1024] = {};
};

struct _QShelfwatchPolicyInfo {
    int policyId = 0;
    char policyName[1024] = {};
    int policyType = 0;
    _QSWRuleInfo rule;
};

/* A storage-policy copy named by a policy. */
struct _QSWSPCopyInfo {
    int storagePolicyId = 0;
    int copyId = 0;
    char storagePolicyName[1024] = {};
    char copyName[1024] = {};
};

/* Empty lists are not sent; both locations and the rule always are. */
struct VSDK_EXPORT _QSetShelfwatchPolicyParameters {
    int policyId = 0;
    int policyType = 0;
    char policyName[1024] = {};
    char description[1024] = {};
    std::vector<_QSWSPCopyInfo> spCopyList;
    std::vector<_QLocationInfo> locationList;
    _QLocationInfo destinationLocation;
    _QLocationInfo transitLocation;
    _QSWRuleInfo rule;
    int policyField16 = 0;
    int policyField17 = 0;
    int containerId = 0;
    int policyField19 = 0;
    char policyField20[1024] = {};
    int operationId = 0;

    std::string c_str() const;
};

/* A tracking run of one policy. */
struct VSDK_EXPORT _QShelfwatchParameters {
    char policyName[1024] = {};
    int policyId = 0;
    int operationId = 0;

    std::string c_str() const;
};

/* ---- Operations ------------------------------------------------------ */

/* Listings: *count receives the number of entries; with entries, *out a new[]
 * array the caller releases with delete[] (untouched when there are none). */
VSDK_API unsigned long VSDKGetLocations(_QLocationInfo** out, int* count);
VSDK_API unsigned long VSDKGetContainers(_QContainerInfo** out, int* count);
VSDK_API unsigned long VSDKGetMediaShelves(_QMediaShelfInfo** out, int* count);
VSDK_API unsigned long VSDKGetIronMountains(_QIronMountainInfo** out, int* count);
VSDK_API unsigned long VSDKGetSWActions(_QSWActionInfo** out, int* count);

/* Creation or change: *outId receives the server's id (-1 on a refusal);
 * VSDKSetSWAction hands back params->actionId and leaves *outId alone on a
 * refusal. */
VSDK_API unsigned long VSDKSetLocation(_QSetLocationParameters* params, int* outId);
VSDK_API unsigned long VSDKSetContainer(_QSetContainerParameters* params, int* outId);
VSDK_API unsigned long VSDKSetMediaShelf(_QSetMediaShelfParameters* params, int* outId);
VSDK_API unsigned long VSDKSetIronMountain(_QSetIronMountainParameters* params, int* outId);
VSDK_API unsigned long VSDKSetSWAction(_QSetSWActionParameters* params, int* outId);

/* Deletion; the server's error text becomes the last error, success included. */
VSDK_API unsigned long VSDKDeleteLocation(_QDeleteLocationParameters* params);
VSDK_API unsigned long VSDKDeleteContainer(_QDeleteContainerParameters* params);
VSDK_API unsigned long VSDKDeleteMediaShelf(_QDeleteMediaShelfParameters* params);
VSDK_API unsigned long VSDKDeleteIronMountain(_QDeleteIronMountainParameters* params);
VSDK_API unsigned long VSDKDeleteShelfwatchPolicy(_QDeleteShelfwatchPolicyParameters* params);

VSDK_API unsigned long VSDKGetShelfwatchPolicies(_QShelfwatchPolicyInfo** out, int* count);
/* *outId receives the policy's id, -1 on a refusal. */
VSDK_API unsigned long VSDKSetShelfwatchPolicy(_QSetShelfwatchPolicyParameters* params, int* outId);
/* The server's error text becomes the last error, success included. */
VSDK_API unsigned long VSDKShelfwatch(_QShelfwatchParameters* params);

#endif
