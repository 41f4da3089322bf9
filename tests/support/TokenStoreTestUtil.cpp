#include "support/TokenStoreTestUtil.h"

#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/VSDKLogin.h"
#include "VSDKAPIGlobalData/VSDKAPIGlobalData.h"
#include "VSDKAPIUtils/TokenStore.h"
#include "VSDKAPIUtils/TokenStoreInternal.h"

#include <openssl/evp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace vsdktest {

_VSDKTokenFileContents makeEntry(const std::string& mardockName, const std::string& user, const std::string& token,
                                 const std::string& clientName) {
    _VSDKTokenFileContents entry;
    if (!makeVSDKTokenEntry(entry, mardockName, clientName, user, token))
        throw std::invalid_argument("entry values do not fit");
    return entry;
}

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

bool fileExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::symlink_status(path, ec));
}

unsigned modeBits(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : ~0u;
}

std::set<std::string> namesIn(const std::string& folder) {
    std::set<std::string> names;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(folder, ec)) names.insert(e.path().filename().string());
    return names;
}

std::vector<_VSDKTokenFileContents> storeEntries(const std::string& path) {
    std::vector<_VSDKTokenFileContents> out;
    std::string text;
    VSDKLogin::QAllTokenInfo all;
    if (readAndDescrambleData(path.c_str(), text, false) != 0 || !tokenstore::parseStoreText(text, all)) return out;
    if (const auto* list = msgf::findList(all, VSDKLogin::kAllTokenList)) {
        for (const CNMessageBase& m : *list) out.push_back(tokenstore::entryFromMessage(m, true));
    }
    return out;
}

void StoreFixture::SetUp() {
    m_registry.reset(new TempRegistry(10));
    std::filesystem::create_directories(baseDir());
    m_registry->setValue(TempRegistry::kInstance, "Base", "dBASEHOME", baseDir());
    g_dataMap.insert(VSDKAPIGlobalData());
}

void StoreFixture::TearDown() {
    g_dataMap.erase();
    m_registry.reset();
}

std::string StoreFixture::storePath() const { return baseDir() + "/vsessions." + std::to_string(::getuid()); }

Lookup StoreFixture::lookup(const std::string& mardockName, const std::string& path, const std::string& tokenString,
                            const std::string& clientName) {
    Lookup r;
    _VSDKTokenFileContents entry;
    std::strcpy(entry.token, "untouched");
    r.path = path;
    r.rc = getVSDKTokenInfo(entry, mardockName, r.path, tokenString, r.found, clientName);
    r.token = entry.token;
    return r;
}

std::vector<std::string> StoreFixture::storedTokens() const {
    std::vector<std::string> tokens;
    for (const auto& e : storeEntries(storePath())) tokens.emplace_back(e.token);
    return tokens;
}

void StoreFixture::expectNoTokenInLog(const std::string& token) const {
    auto base64 = [](const std::string& bytes) {
        std::string out(4 * ((bytes.size() + 2) / 3) + 1, '\0');
        out.resize(static_cast<std::size_t>(EVP_EncodeBlock(reinterpret_cast<unsigned char*>(&out[0]),
                                                            reinterpret_cast<const unsigned char*>(bytes.data()),
                                                            static_cast<int>(bytes.size()))));
        return out;
    };
    const std::string log = logText();
    EXPECT_FALSE(log.empty());
    for (const std::string& form : {token, base64(token), base64(token + std::string(1, '\0'))})
        EXPECT_EQ(std::string::npos, log.find(form)) << form;
}

}  // namespace vsdktest
