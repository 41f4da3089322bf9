// The token store: one scrambled file per local user ("<base>/vsessions.<uid>")
// holding the saved logins, one entry per Mardock; token strings (the
// encrypted form of one entry); and the whole-file helpers.
//
// Every store operation takes a token-file path; an empty one means the
// calling user's store. Every change is a locked read-modify-write that
// replaces the whole file atomically (a new 0600 file renamed over the old).
// Only the calling user's own store is ever deleted when it cannot be
// descrambled or parsed; a file the caller named is reported (0x208) and left
// alone.
#pragma once

#include "VSDK/Token.h"

#include <cstddef>
#include <string>

namespace tokenstore {
// Size of the path buffers: a path holds at most kPathSize - 1 characters.
constexpr std::size_t kPathSize = 1024;
// Largest scrambled store, and buffer of the scrambler's plain text.
constexpr std::size_t kStoreBufferSize = 12800;
// Buffer of a decrypted token string.
constexpr std::size_t kDecryptBufferSize = 25600;

// A value up to its first zero byte.
std::string upToZero(const std::string& value);

// The whole content of a regular file of at most maxSize bytes. Anything
// else (no file, a folder, a FIFO, a device, a larger file, a failed read)
// gives false at once: the open never waits for a FIFO's writer.
bool readRegularFile(const std::string& path, std::size_t maxSize, std::string& text);
}  // namespace tokenstore

// The old session-file record; nothing reads or writes one.
struct _VSDKSessFileContents {
    char mardockName[256];
    char user[256];
    char token[128];
    _VSDKSessFileContents();
};

// Fills path (a zeroed buffer of tokenstore::kPathSize bytes) with the calling
// user's store path. 0x280 without thread state, 0x272 without a product base
// folder, 0x209 when the path does not fit (path left empty). Without a
// password entry for the user the path stays empty and the result is 0.
unsigned long GetVSDKCSSessionsFilePath(char* path);
// The same with the old name "vsession".
unsigned long GetVSDKSessionFilePath(char* path);

// Look-up (start-up, logout): see getVSDKTokenInfoWrapper in VSDK/Token.h;
// mardockClientName is the client name of the third look-up stage (the
// registry's when empty).
unsigned long getVSDKTokenInfo(_VSDKTokenFileContents& entry, std::string mardockName,
                               std::string& tokenFilePath, std::string tokenString, bool& found,
                               std::string mardockClientName);

// Append (login): adds entry to the store at tokenFilePath. A missing or
// damaged own store is replaced by one holding this entry.
unsigned long setVSDKTokenInfo(_VSDKTokenFileContents entry, std::string tokenFilePath);

// Login's save: replaces the entry that matches mardockName, or appends entry
// when there is none, deciding under the lock of the write.
unsigned long saveVSDKTokenInfo(const _VSDKTokenFileContents& entry, const std::string& mardockName,
                                const std::string& tokenFilePath);

// Replace (erase false) or remove (erase true) the entry that the look-up
// finds for mardockName. Removing the last entry deletes the file.
unsigned long updateVSDKTokenInfo(_VSDKTokenFileContents entry, std::string mardockName,
                                  std::string tokenFilePath, bool erase);

// Fills entry from the four values, each taken up to its first zero byte.
// Returns false, leaving entry zeroed, when any of them is longer than its
// field holds (255, 1023, 255 and 127 characters): such an entry must not be
// stored or sent, since a cut token or name is a different login.
bool makeVSDKTokenEntry(_VSDKTokenFileContents& entry, const std::string& mardockName,
                        const std::string& mardockClientName, const std::string& user,
                        const std::string& token);

// Builds the token string of one entry (0x270 message failure, 0x275 when the
// encryption fails).
unsigned long constructVSDKTokenString(_VSDKTokenFileContents entry, std::string& tokenString);

// Reads and descrambles the store at path into text. A file that cannot be
// descrambled (or is no regular file, or larger than any store) is deleted
// only when ownStore is set (0x208, 0x20b when the deletion fails); otherwise
// it is left alone and 0x208 returned.
unsigned long readAndDescrambleData(const char* path, std::string& text, bool ownStore);
// Scrambles text and replaces the file at path with it (a new 0600 file renamed
// over the old one).
unsigned long scrambleAndWriteData(const char* path, const std::string& text);

// Whole-file read (text up to the first zero byte) and write (mode 0600).
unsigned long readData(const char* path, std::string& text);
unsigned long writeData(const char* path, std::string text);
