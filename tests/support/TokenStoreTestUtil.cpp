#include "support/TokenStoreTestUtil.h"

#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/VSDKLogin.h"
#include "VSDKAPIGlobalData/VSDKAPIGlobalData.h"
#include "VSDKAPIUtils/TokenStore.h"
#include "VSDKAPIUtils/TokenStoreInternal.h"

#include <openssl/evp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace vsdktest {

_VSDKTokenFileContents makeEntry(const std::string& mardockName, const std::string& user,
                                 const std::string& token, const std::string& clientName) {
    _VSDKTokenFileContents entry;
    if (!makeVSDKTokenEntry(entry, mardockName, clientName, user, token))
        throw std::invalid_argument("entry values do not fit");
    return entry;
}

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

bool fileExists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

mode_t fileMode(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return static_cast<mode_t>(-1);
    return st.st_mode & 07777;
}

std::vector<std::string> folderNames(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder)) names.push_back(e.path().filename());
    return names;
}

std::vector<_VSDKTokenFileContents> storeEntries(const std::string& path) {
    std::vector<_VSDKTokenFileContents> out;
    std::string text;
    if (readAndDescrambleData(path.c_str(), text, false) != 0) return out;
    VSDKLogin::QAllTokenInfo all;
    if (!tokenstore::parseStoreText(text, all)) return out;
    if (const auto* list = msgf::findList(all, VSDKLogin::kAllTokenList)) {
        for (const CNMessageBase& m : *list) out.push_back(tokenstore::entryFromMessage(m, true));
    }
    return out;
}

void StoreFixture::SetUp() {
    m_registry.reset(new TempRegistry(10));
    std::filesystem::create_directories(baseDir());
    setBase(baseDir());
    g_dataMap.insert(VSDKAPIGlobalData());
}

void StoreFixture::TearDown() {
    g_dataMap.erase();
    const std::string root = m_registry->root();
    m_registry.reset();
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
}

std::string StoreFixture::baseDir() const { return m_registry->root() + "/base"; }

std::string StoreFixture::storePath() const {
    return baseDir() + "/vsessions." + std::to_string(::getuid());
}

void StoreFixture::setBase(const std::string& folder) {
    m_registry->setValue(TempRegistry::kInstance, "Base", "dBASEHOME", folder);
}

void StoreFixture::setRegistryMardock(const std::string& host, const std::string& clientName) {
    m_registry->setValue(TempRegistry::kInstance, "Mardock", "sMardockHostName", host);
    m_registry->setValue(TempRegistry::kInstance, "Mardock", "sMardockClientName", clientName);
}

void StoreFixture::setDebugLevel(int level) { m_registry->setDebugLevel(level); }

std::string StoreFixture::lookupToken(const std::string& mardockName) {
    _VSDKTokenFileContents entry;
    std::string path;
    bool found = false;
    if (getVSDKTokenInfo(entry, mardockName, path, "", found, "") != 0 || !found) return "";
    return entry.token;
}

std::string StoreFixture::logText() const { return fileBytes(m_registry->logFile()); }

std::size_t StoreFixture::logSize() const { return logText().size(); }

std::string StoreFixture::logSince(std::size_t mark) const {
    const std::string text = logText();
    return mark < text.size() ? text.substr(mark) : std::string();
}

namespace {
std::string base64(const std::string& bytes) {
    std::string out(4 * ((bytes.size() + 2) / 3) + 1, '\0');
    const int n = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(&out[0]),
                                  reinterpret_cast<const unsigned char*>(bytes.data()),
                                  static_cast<int>(bytes.size()));
    out.resize(static_cast<std::size_t>(n));
    return out;
}
}  // namespace

void StoreFixture::expectNoTokenInLog(const std::string& token) const {
    const std::string log = logText();
    EXPECT_FALSE(log.empty());
    EXPECT_EQ(std::string::npos, log.find(token)) << log;
    EXPECT_EQ(std::string::npos, log.find(base64(token)));
    EXPECT_EQ(std::string::npos, log.find(base64(token + std::string(1, '\0'))));
}

}  // namespace vsdktest
