/* The VSDK client library: the exported records and functions.
 *
 * Every operation returns an unsigned long error code (0 is success) and
 * stores a readable error text per calling thread (VSDKGetLastErrorString).
 * A thread calls VSDKInitialize (and usually VSDKLoginApi) before any other
 * operation, and VSDKDeInitialize when it is done.
 */
#ifndef VSDK_H
#define VSDK_H

#include "VSDK/Common.h"
#include "VSDK/GlobalData.h"
#include "VSDK/Session.h"
#include "VSDK/Startup.h"
#include "VSDK/Errors.h"
#include "VSDK/Token.h"
#include "VSDK/Login.h"
#include "VSDK/Backup.h"
#include "VSDK/Restore.h"
#include "VSDK/Execute.h"
#include "VSDK/DBRestore.h"
#include "VSDK/OneShot.h"
#include "VSDK/Agents.h"
#include "VSDK/Admin.h"
#include "VSDK/Storage.h"
#include "VSDK/Subclients.h"
#include "VSDK/Offsite.h"

#endif
