// Token store test helpers: a fixture with a registry, base folder and thread
// state, and readers of the store and of the debug log.
#pragma once

#include "support/TempRegistry.h"

#include "VSDK/Token.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace vsdktest {

// An entry of the four values (they must fit).
_VSDKTokenFileContents makeEntry(const std::string& mardockName, const std::string& user,
                                 const std::string& token, const std::string& clientName = "");

std::string fileBytes(const std::string& path);
void writeBytes(const std::string& path, const std::string& bytes);
bool fileExists(const std::string& path);
// The permission bits of path itself (a link not followed); all bits set
// when it cannot be looked at.
unsigned modeBits(const std::string& path);
// The names of the entries of folder (empty when it cannot be read).
std::set<std::string> namesIn(const std::string& folder);

// Entries of a store file (the store's own reader; empty when unreadable).
std::vector<_VSDKTokenFileContents> storeEntries(const std::string& path);

// What one look-up gave.
struct Lookup {
    unsigned long rc = 0;
    bool found = false;
    std::string token;  // "untouched" when the entry was not filled
    std::string path;   // the token file path afterwards
};

// Registry with Base dBASEHOME = baseDir(), thread state, log level 10.
class StoreFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string baseDir() const { return m_registry->root() + "/base"; }
    std::string storePath() const;
    void setRegistryMardock(const std::string& host, const std::string& clientName) {
        m_registry->setValue(TempRegistry::kInstance, "Mardock", "sMardockHostName", host);
        m_registry->setValue(TempRegistry::kInstance, "Mardock", "sMardockClientName", clientName);
    }

    Lookup lookup(const std::string& mardockName, const std::string& path = "",
                  const std::string& tokenString = "", const std::string& clientName = "");
    // The tokens of the user's store, in order.
    std::vector<std::string> storedTokens() const;

    std::string logText() const { return fileBytes(m_registry->logFile()); }
    // Neither the token nor its base64 forms are in the log, which is not empty.
    void expectNoTokenInLog(const std::string& token) const;

    std::unique_ptr<TempRegistry> m_registry;
};

}  // namespace vsdktest
