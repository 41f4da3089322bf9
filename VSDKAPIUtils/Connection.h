// The connection of a thread to the server's command-line service: direct,
// or through the connection pool of this machine's own Mardock.
#pragma once

#include "VSDKAPIGlobalData/VSDKAPIGlobalData.h"

#include <ctime>

// Service name, ports of the host-name mangling and the attach time-out.
constexpr const char* kCmdLineServiceName = "CMDLINE_SERVICE";
constexpr int kMangleFirstPort = 8400;
constexpr int kMangleSecondPort = 8402;
constexpr int kDirectAttachTimeout = 120;

// A direct connection, stored in handle.network (the handle's owner deletes
// it). 0x201 when it cannot be made, 0x202 when the attach fails.
unsigned long ConnectToVSDKService(_QHandle& handle, bool preInstallMode);

// With pooling on and handle's Mardock being this machine's own: makes the
// Mardock's pool when there is none yet (the handle gets no connection);
// otherwise the direct connection. 0x280 without thread state, 0x202 when
// the pool cannot be made.
unsigned long ConnectToVSDKServiceWrapper(_QHandle& handle, bool preInstallMode);

// Logs the processor time spent since start (a clock() reading).
void logTime(QEvDebug& log, const char* name, long start);
