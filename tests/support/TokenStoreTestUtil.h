// Helpers for the token store and token string tests: a temporary registry
// with a product base folder, thread state for the calling thread, and
// readers of the store and of the debug log.
#pragma once

#include "support/TempRegistry.h"

#include "VSDK/Token.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

namespace vsdktest {

// An entry of the four values (they must fit).
_VSDKTokenFileContents makeEntry(const std::string& mardockName, const std::string& user,
                                 const std::string& token, const std::string& clientName = "");

std::string fileBytes(const std::string& path);
void writeBytes(const std::string& path, const std::string& bytes);
bool fileExists(const std::string& path);
// Permission bits of a file.
mode_t fileMode(const std::string& path);
// Names in a folder.
std::vector<std::string> folderNames(const std::string& folder);

// Entries of a store file (the store's own reader; empty when unreadable).
std::vector<_VSDKTokenFileContents> storeEntries(const std::string& path);

// Fixture: registry with Base dBASEHOME = baseDir() (created), thread state
// for the test's thread, log level 10.
class StoreFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string baseDir() const;
    std::string storePath() const;
    void setBase(const std::string& folder);
    void setRegistryMardock(const std::string& host, const std::string& clientName);
    void setDebugLevel(int level);

    std::vector<_VSDKTokenFileContents> storeEntries() const { return vsdktest::storeEntries(storePath()); }
    // Token the look-up finds in the calling user's store ("" when none).
    std::string lookupToken(const std::string& mardockName);

    std::string logText() const;
    std::size_t logSize() const;
    std::string logSince(std::size_t mark) const;
    // Neither the token nor its base64 form is in the log.
    void expectNoTokenInLog(const std::string& token) const;

    std::unique_ptr<TempRegistry> m_registry;
};

}  // namespace vsdktest
