/* The one-shot backup, the archive-existence check, the database replication
 * request and the index-file call. */
#ifndef VSDK_ONESHOT_H
#define VSDK_ONESHOT_H

#include "Common.h"

#include <string>
#include <vector>

struct _QBackupParameters;
struct _QJobStartInfo;
class CNMessageBase;
namespace OrvaneUtilities {
struct QLMReplicateDBReq;
}

/* Starts the calling thread up for mardockName (empty: the registry's
 * Mardock; at most its first 255 characters are used), logs in, starts the
 * backup of params (VSDKBackup, result in info), logs out and tears the
 * thread down again, writing the "vcommand" log (or the file that
 * RK_RKC_LOG_FILE names). Whatever it started it also ends: after a failed
 * login or logout it tears down, after a failed backup it logs out and tears
 * down. Returns 0 or the code of the first step that failed. A thread that is started already gets 0x280 and keeps its state.
 * 0x303 when params or info is null. */
VSDK_API unsigned long VSDAKBackupEx(const _QBackupParameters* params, _QJobStartInfo* info,
                                     const std::string& mardockName);

/* Asks the media manager whether archive data exists for jobs (message
 * objects, copied into the request as they are), through VSDKQExecute. A
 * positive first answer sets 1 in *flags, a positive second answer sets 2;
 * no bit is ever cleared. 0x280 without start-up, 0x303 for a null pointer,
 * VSDKQExecute's code when it fails, 0x201 when the request document cannot
 * be written and 0x207 when the reply document cannot be read or is of
 * another type (flags untouched in every failure). */
VSDK_API unsigned long VSDKArchiveDataExistanceCheck(const std::vector<CNMessageBase>* jobs,
                                                     int* flags);

/* Sends the caller's database replication request after filling its session
 * object from the calling thread; the caller's other fields are not touched.
 * Returns the reply's error code; the reply's error text (empty when there
 * is none) becomes the thread's last error. 0x280 without start-up. */
VSDK_API unsigned long LMRepliateDB(OrvaneUtilities::QLMReplicateDBReq& request);

/* Does nothing; always 0. */
VSDK_API unsigned long VSDKGetIndexFiles(void* first, void* second);

#endif
