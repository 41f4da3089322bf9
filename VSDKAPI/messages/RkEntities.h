// Module 18: references to configuration entities by name, and a date; parts
// of the App family's inner documents.
#pragma once

#include "CommonFields.h"

namespace RkEntities {

constexpr int kModuleId = 18;

// X(Name, class number, tag code, expected reply tag code)
#define VSDK_RKENTITIES_MESSAGES(X)                       \
    X(RKDate, 50, 0x1230FAC1, 0)                          \
    X(StoragePolicyEntity, 19, 0x12A8C5B0, 0)             \
    X(StoragePolicyCopyEntity, 23, 0x12668705, 0)         \
    X(LibraryEntity, 12, 0x120C6C5E, 0)                   \
    X(MediaAgentEntity, 14, 0x12D560E4, 0)                \
    X(DrivePoolEntity, 29, 0x124C2C29, 0)                 \
    X(ScratchPoolEntity, 31, 0x1284C595, 0)               \
    /* end of list */

VSDK_RKENTITIES_MESSAGES(VSDK_DECLARE_MESSAGE)

#define RK_DATE_FIELDS(F)         \
    F(kTime, 0, 0, 0x3652CD)      \
    F(kZone, 1, 1, 0xA806A4)
VSDK_MESSAGE_FIELDS(Date, RK_DATE_FIELDS)

#define RK_POLICY_ENTITY_FIELDS(F) F(kName, 1, 1, 0x722BB8)
VSDK_MESSAGE_FIELDS(PolicyEntity, RK_POLICY_ENTITY_FIELDS)

#define RK_COPY_ENTITY_FIELDS(F)       \
    F(kId, 1, 1, 0x40AF70)             \
    F(kName, 2, 2, 0xD4DBA0)           \
    F(kPolicyId, 4, 7, 0xA32588)       \
    F(kPolicyName, 5, 8, 0x722BB8)
VSDK_MESSAGE_FIELDS(CopyEntity, RK_COPY_ENTITY_FIELDS)

#define RK_LIBRARY_ENTITY_FIELDS(F) F(kName, 1, 1, 0xA63DE6)
VSDK_MESSAGE_FIELDS(LibraryRef, RK_LIBRARY_ENTITY_FIELDS)

#define RK_MEDIA_AGENT_ENTITY_FIELDS(F) \
    F(kId, 0, 0, 0xECDE7C)              \
    F(kName, 1, 1, 0x3177AC)
VSDK_MESSAGE_FIELDS(MediaAgentRef, RK_MEDIA_AGENT_ENTITY_FIELDS)

// Drive and scratch pools are named within their library.
#define RK_DRIVE_POOL_ENTITY_FIELDS(F) \
    F(kName, 1, 1, 0xA3EC71)           \
    F(kLibraryName, 4, 7, 0xA63DE6)
VSDK_MESSAGE_FIELDS(DrivePoolRef, RK_DRIVE_POOL_ENTITY_FIELDS)

#define RK_SCRATCH_POOL_ENTITY_FIELDS(F) \
    F(kName, 1, 1, 0xB758DD)             \
    F(kLibraryName, 4, 7, 0xA63DE6)
VSDK_MESSAGE_FIELDS(ScratchPoolRef, RK_SCRATCH_POOL_ENTITY_FIELDS)

// Inner documents only: the family is never taken from the network, so no
// start-up registers it.
void RegisterSubsystem();

}  // namespace RkEntities
