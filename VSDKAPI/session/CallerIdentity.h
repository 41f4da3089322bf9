// The caller identity object of the backup, restore and generic requests:
// which local operating-system account asked for the job.
#pragma once

#include "VSDKAPI/messages/MessageTable.h"
#include "VSDKAPIGlobalData/VSDKAPIGlobalData.h"

// Looks up the user-database entry of the process's real user id (re-entrant
// lookup). When found, logs "Machine User Info : UID:[%d] UName:[%s]" at
// level 1 under function and sets the identity object (module 5) held in
// field of request: (1,1) the user id as a signed 32-bit value, (2,2) the
// user name. When not found, logs notFoundText at level 1 and leaves the
// field unset; the request goes out without it.
void putCallerIdentity(VSDKAPIGlobalData& state, CNMessageBase& request, FieldId field,
                       const char* function, const char* notFoundText);
