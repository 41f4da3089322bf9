// Helpers shared by the token store and the token strings.
#pragma once

#include "TokenStore.h"
#include "VSDKAPIGlobalData/QEvDebug.h"
#include "platform/CNMessageBase.h"

#include <string>
#include <vector>

namespace tokenstore {

// The message of one entry, its fields set in store order, each value with
// its terminating zero byte.
CNMessageBase makeEntryMessage(const _VSDKTokenFileContents& entry);
void fillEntryMessage(CNMessageBase& message, const _VSDKTokenFileContents& entry);
// A fresh record from an entry message, each value up to its first zero byte
// and bounded by its array; the user is left empty unless withUser.
_VSDKTokenFileContents entryFromMessage(const CNMessageBase& message, bool withUser);

// Parses a store text (or a decrypted token string) into all; false when it
// is not a list of saved logins.
bool parseStoreText(const std::string& text, CNMessageBase& all);

// The store text of a scrambled store file's bytes, up to its first zero
// byte; false when the block cannot be descrambled.
bool descrambleStore(const char* block, std::size_t length, std::string& text);

// The plain text of a token string, up to its first zero byte; 0x274 when it
// cannot be decrypted or does not fit the decryption buffer.
unsigned long decryptTokenString(const std::string& tokenString, std::string& text);

// Decrypts and parses a token string for the look-up and the listing (lines
// tagged tag): 0x274 when it cannot be decrypted, 0x270 when the message
// library fails, 0x208 when it does not parse. Nothing is deleted.
unsigned long readTokenString(QEvDebug& log, const char* tag, const std::string& tokenString,
                              CNMessageBase& all);

// The saved logins of a parsed list message (an empty list when it has none).
const std::vector<CNMessageBase>& entriesOf(const CNMessageBase& all);

// Who is matching: the look-up logs each stage's match; replace and remove
// log their failures in their own words and no match of the first two stages.
enum class MatchFor { Lookup, Update };

// The entry the look-up finds for a Mardock: by host name in any letter case,
// then by address, then (for the registry's own Mardock) by client name
// (the registry's when clientName is empty). index is -1 when none matched;
// 0x126 when a name does not resolve.
unsigned long findEntry(const std::vector<CNMessageBase>& list, const std::string& mardockName,
                        const std::string& clientName, QEvDebug& log, const char* tag, MatchFor who,
                        long& index);

// Exclusive advisory lock of a store ("<store>.lock"), across threads and
// processes, held while the object lives.
class StoreLock {
public:
    explicit StoreLock(const std::string& storePath);
    ~StoreLock();
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;
    bool held() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

}  // namespace tokenstore
