/* Start-up and tear-down of a calling thread, instance focus, and the
 * connection pools. */
#ifndef VSDK_STARTUP_H
#define VSDK_STARTUP_H

#include "Common.h"

#include <string>

/* Start-up record. Empty names are taken from the environment or the
 * registry (see VSDKInitializeWithLoginFlag). */
struct VSDK_EXPORT _QInitializeParameters {
    char mardockName[256];          /* Mardock host name */
    char vmName[256];               /* instance name */
    std::string tokenFileLocation;  /* a token file of the caller's own */
    bool useTokenFile;              /* carried and printed only */
    bool useTokenString;            /* carried and printed only */
    bool useSessionFile;            /* look the saved login up in the token store */
    std::string tokenString;        /* a token string of the caller's own */
    unsigned long long portType;    /* non-zero: no instance focus, no address family */
    std::string mardockClientName;  /* Mardock client name */

    /* Inline, so that callers of the shared library can make one. */
    _QInitializeParameters()
        : mardockName(), vmName(), useTokenFile(false), useTokenString(false),
          useSessionFile(true), portType(0) {}

    /* Text dump for the debug log (the token string is left out). */
    std::string c_str() const;
};

/* Starts the calling thread up with params: creates its state record, sets
 * the instance focus, registers the message families, picks the Mardock,
 * its client name and the saved login, and connects to the server service.
 * loginFlag: a login follows (no saved login is looked up); preInstallMode:
 * the mode when the registry does not decide; noConnect: no connection.
 * 0x280 when the thread is started already, 0x303 for a null record. */
VSDK_API unsigned long VSDKInitializeWithLoginFlag(_QInitializeParameters* params, bool loginFlag,
                                                   bool preInstallMode, bool noConnect);
/* VSDKInitializeWithLoginFlag(params, false, true, false), with the record logged. */
VSDK_API unsigned long VSDKInitialize(_QInitializeParameters* params);
/* The same from C texts (null counts as empty). */
VSDK_API unsigned long VSDKInitialize_NOSTL(const char* mardockName, const char* vmName,
                                            const char* tokenFileLocation,
                                            const char* tokenString, bool useTokenFile,
                                            bool useTokenString, bool useSessionFile);
VSDK_API unsigned long VSDKInitializeWithLoginFlag_NOSTL(const char* mardockName,
                                                         const char* vmName,
                                                         const char* tokenFileLocation,
                                                         const char* tokenString,
                                                         bool useTokenFile, bool useTokenString,
                                                         bool useSessionFile, bool loginFlag);

/* Tears the calling thread down: disconnects (unless keepConnection) and
 * erases its state record. 0x280 when the thread is not started. */
VSDK_API unsigned long VSDKDeInitializeWithFlags(bool keepConnection);
VSDK_API unsigned long VSDKDeInitialize();

/* The instance name ("ORVANE_VM", else the current focus) into out (at least
 * 1024 bytes), trailing white space cut. 0x20d without one. */
VSDK_API unsigned long VSDKGetVMName(char* out);
/* Sets the instance focus from VSDKGetVMName. */
VSDK_API unsigned long VSDKAPISetFocus();
/* Sets the instance focus; a null name does nothing. */
VSDK_API unsigned long VSDKInitForStoredProcedure(const char* instance);

/* Reads the registry's Mardock name and the "UseSessionPool" switch; pooling
 * is off until this is called. Returns 0. */
VSDK_API unsigned long VSDKInitializeConnectionPools();
/* Lets go of every connection pool (a pool still in use by an exchange goes
 * when that exchange ends). Returns 0. */
VSDK_API unsigned long VSDKCleanUpConnectionPools();
/* Whether mardockName is this machine's own Mardock (same name in any letter
 * case, or an address of the registry's Mardock). 0x126 when mardockName
 * cannot be resolved. */
VSDK_API unsigned long isDockedOnCs(const std::string& mardockName, bool& same);

#endif
