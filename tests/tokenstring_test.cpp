// Token strings: building, taking apart, the C-buffer twins and the session-id
// export.
#include "support/TokenStoreTestUtil.h"

#include "VSDK.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/VSDKLogin.h"
#include "VSDKAPIGlobalData/VSDKAPIGlobalData.h"
#include "VSDKAPIUtils/TokenStore.h"
#include "VSDKAPIUtils/TokenStoreInternal.h"
#include "platform/RKPassword.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace {

using namespace vsdktest;

constexpr unsigned long kEntries = 0x274;
constexpr unsigned long kInvalid = 0x303;
constexpr unsigned long kCorrupt = 0x208;

class TokenStringTest : public StoreFixture {};

std::string build(const std::string& name, const std::string& client, const std::string& user,
                  const std::string& token) {
    std::string out;
    EXPECT_EQ(0u, VSDKConstructTokenWrapper(name.c_str(), client.c_str(), user.c_str(), token.c_str(), out));
    return out;
}

std::string encrypted(const std::string& plain) {
    std::string cipher;
    EXPECT_EQ(0, RKPassword::encryptStrong(plain, cipher));
    return cipher;
}

// A token string holding the given entries.
std::string withEntries(const std::vector<_VSDKTokenFileContents>& entries) {
    VSDKLogin::QAllTokenInfo all;
    all.getlistobject(VSDKLogin::kAllTokenList.number, VSDKLogin::kAllTokenList.slot, all.getTagID(),
                      VSDKLogin::kAllTokenList.hash, true);
    for (const auto& e : entries) msgf::appendObject(all, VSDKLogin::kAllTokenList, tokenstore::makeEntryMessage(e));
    std::string text;
    EXPECT_EQ(0, all.serialize(text, false));
    return encrypted(text);
}

// Calls fill(buffer, size) on size bytes of 'x' and a guard byte: a success
// leaves a text of length bytes (handed back) and zeros up to size; a
// failure leaves the buffer as it was.
template <typename Fill>
unsigned long intoBuffer(Fill fill, std::size_t size, std::size_t length, std::string* text = nullptr) {
    std::vector<char> buffer(size + 1, 'x');
    const unsigned long rc = fill(buffer.data(), size);
    const std::size_t from = rc ? 0 : length;
    EXPECT_EQ(std::string(size - from, rc ? 'x' : '\0'), std::string(buffer.data() + from, size - from)) << size;
    EXPECT_EQ('x', buffer[size]);
    if (text && !rc) *text = std::string(buffer.data(), length);
    return rc;
}

TEST_F(TokenStringTest, RoundTrip) {
    const std::vector<std::string> cases[] = {
        {"cs1.example", "cs1client", "alice", "tok-123"},
        {"", "", "", ""},
        {std::string(255, 'n'), std::string(1023, 'c'), std::string(255, 'u'), std::string(127, 't')},
        {"cs<&>\"'", "client name", "d\xe9j\xe0", "t\x01\x7f"},
    };
    for (const auto& c : cases) {
        _VSDKTokenFileContents e;
        ASSERT_EQ(0u, destructVSDKTokenString(build(c[0], c[1], c[2], c[3]), &e));
        EXPECT_EQ(c, (std::vector<std::string>{e.mardockName, e.mardockClientName, e.user, e.token}));
    }
    // A value longer than its field would be another login: refused, not cut.
    std::string out = "kept";
    EXPECT_EQ(kInvalid, VSDKConstructTokenWrapper("cs1", "", "u", std::string(128, 't').c_str(), out));
    EXPECT_EQ("kept", out);
    EXPECT_EQ(kInvalid, destructVSDKTokenString(out, nullptr));
    EXPECT_EQ(kInvalid, getVSDKTokenInfoWS(out, nullptr));
}

TEST_F(TokenStringTest, DestructWantsExactlyOneEntryListingTakesTheLast) {
    const _VSDKTokenFileContents one = makeEntry("cs1", "u1", "t1", "c1"), two = makeEntry("cs2", "u2", "t2", "c2");
    for (const auto& entries : {std::vector<_VSDKTokenFileContents>{}, {one, two}}) {
        _VSDKTokenFileContents e;
        std::strcpy(e.token, "untouched");
        EXPECT_EQ(kEntries, destructVSDKTokenString(withEntries(entries), &e));
        EXPECT_EQ(0u, getVSDKTokenInfoWS(withEntries(entries), &e));
        EXPECT_STREQ(entries.empty() ? "untouched" : "t2", e.token);
        EXPECT_STREQ("", e.user);  // the listing leaves the user empty
    }
    EXPECT_NE(std::string::npos,
              logText().find("[0] Passed many tokens. This API should be called with only one token"));
    _VSDKTokenFileContents e;
    EXPECT_EQ(0u, destructVSDKTokenString(withEntries({one}), &e));
    EXPECT_STREQ("u1", e.user);
}

TEST_F(TokenStringTest, BadTokenStringsAreRefusedAndNoFileIsTouched) {
    ASSERT_EQ(0u, setVSDKTokenInfo(makeEntry("localhost", "alice", "stored"), ""));
    const std::string storeBefore = fileBytes(storePath());
    auto files = [this] { return std::distance(std::filesystem::directory_iterator(baseDir()), {}); };
    const auto filesBefore = files();

    std::string good = build("localhost", "", "alice", "from-string");
    std::string altered = good;
    altered[good.size() / 2] = altered[good.size() / 2] == 'a' ? 'b' : 'a';
    const struct {
        std::string tokenString;
        unsigned long destruct, others;
    } cases[] = {
        {altered, kEntries, kEntries},
        {"plain text", kEntries, kEntries},
        {std::string(20000, 'a'), kEntries, kEntries},
        {encrypted("<not a list"), kEntries, kCorrupt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tokenString.substr(0, 20));
        _VSDKTokenFileContents e;
        EXPECT_EQ(c.destruct, destructVSDKTokenString(c.tokenString, &e));
        EXPECT_EQ(c.others, getVSDKTokenInfoWS(c.tokenString, &e));
        const Lookup r = lookup("localhost", "", c.tokenString);
        EXPECT_EQ(c.others, r.rc);
        EXPECT_EQ("", r.path);
        char sessionId[8] = "keep";
        EXPECT_EQ(c.others, VSDKGetSessionIdFromToken_NOSTL(c.tokenString.c_str(), sessionId, 8, "localhost"));
        EXPECT_STREQ("keep", sessionId);
        EXPECT_EQ('\0', e.token[0]);
    }
    EXPECT_EQ(storeBefore, fileBytes(storePath()));
    EXPECT_EQ(filesBefore, files());
    EXPECT_EQ("from-string", lookup("LOCALHOST", "", good).token);  // the failing twin
}

TEST_F(TokenStringTest, ConstructIntoABuffer) {
    const std::size_t length = build("cs1", "c1", "alice", "tok").size();  // the nonce changes no length
    auto construct = [](char* buffer, std::size_t size) {
        return VSDKConstructTokenWrapper_NOSTL("cs1", "c1", "alice", "tok", buffer, size);
    };
    for (std::size_t size : {length, length + 1, length + 10})
        EXPECT_EQ(size > length ? 0u : kInvalid, intoBuffer(construct, size, length));
    EXPECT_EQ(kInvalid, construct(nullptr, 100000));

    // Null texts count as empty.
    std::vector<char> buffer(12800);
    ASSERT_EQ(0u, VSDKConstructTokenWrapper_NOSTL(nullptr, nullptr, nullptr, nullptr, buffer.data(), buffer.size()));
    _VSDKTokenFileContents e;
    std::strcpy(e.mardockName, "x");
    ASSERT_EQ(0u, destructVSDKTokenString(buffer.data(), &e));
    EXPECT_STREQ("", e.mardockName);
}

TEST_F(TokenStringTest, SessionIdIntoABuffer) {
    const std::string token = "session-token-42";
    const std::string ts = build("cs1.example", "", "alice", token);
    auto sessionId = [&ts](char* buffer, std::size_t size) {
        return VSDKGetSessionIdFromToken_NOSTL(ts.c_str(), buffer, size, "CS1.example");
    };
    for (std::size_t size : {std::size_t{0}, token.size(), token.size() + 1, token.size() + 8}) {
        std::string text = token;
        EXPECT_EQ(size > token.size() ? 0u : kInvalid, intoBuffer(sessionId, size, token.size(), &text));
        EXPECT_EQ(token, text);
    }
    EXPECT_EQ(kInvalid, sessionId(nullptr, 64));
    char out[32];
    EXPECT_EQ(kInvalid, VSDKGetSessionIdFromToken_NOSTL(ts.c_str(), out, 32, std::string(256, 'n').c_str()));
    const std::string other = build("127.0.0.1", "", "a", "t");
    auto otherId = [&](char* b, std::size_t n) {
        return VSDKGetSessionIdFromToken_NOSTL(other.c_str(), b, n, "127.0.0.2");
    };
    EXPECT_EQ(0u, intoBuffer(otherId, 32, 0));  // another Mardock's session id is empty
}

TEST_F(TokenStringTest, SessionIdDefaultsToTheRegistrysMardockAndTheStore) {
    setRegistryMardock("localhost", "ownclient");
    const std::string ts = withEntries({makeEntry("other.example", "u", "other"), makeEntry("LocalHost", "u", "own")});
    ASSERT_EQ(0u, setVSDKTokenInfo(makeEntry("localhost", "alice", "from-store"), ""));
    char out[32];
    for (const char* name : {static_cast<const char*>(nullptr), ""}) {
        EXPECT_EQ(0u, VSDKGetSessionIdFromToken_NOSTL(ts.c_str(), out, sizeof out, name));
        EXPECT_STREQ("own", out);
        EXPECT_EQ(0u, VSDKGetSessionIdFromToken_NOSTL(name, out, sizeof out, "localhost"));
        EXPECT_STREQ("from-store", out);
    }
    // The store path needs the thread's state.
    g_dataMap.erase();
    EXPECT_EQ(0x209u, VSDKGetSessionIdFromToken_NOSTL("", out, sizeof out, "localhost"));
}

TEST_F(TokenStringTest, NoTokenIsDumpedOrLoggedAtAnyLevel) {
    m_registry->setDebugLevel(100);
    const std::string token = "VERY-SECRET-TOKEN-31337";
    const std::string ts = build("localhost", "client", "alice", token);
    _VSDKTokenFileContents e;
    ASSERT_EQ(0u, getVSDKTokenInfoWS(ts, &e));
    ASSERT_EQ(0u, destructVSDKTokenString(ts, &e));
    EXPECT_EQ(token, lookup("localhost", "", ts).token);
    // Failure paths log the texts they could not use.
    EXPECT_EQ(kEntries, destructVSDKTokenString(withEntries({e, e}), &e));
    EXPECT_EQ(kCorrupt, getVSDKTokenInfoWS(encrypted("<broken " + token), &e));
    EXPECT_EQ(kEntries, destructVSDKTokenString(encrypted("<broken " + token), &e));
    // Nor do the entry's dump and the store operations.
    EXPECT_EQ("\nMardock:[localhost]\nUser:[alice]\nCsClientName:[client]", e.c_str());
    ASSERT_EQ(0u, setVSDKTokenInfo(e, ""));
    EXPECT_EQ(token, lookup("127.0.0.1").token);
    ASSERT_EQ(0u, updateVSDKTokenInfo(e, "localhost", "", false));
    ASSERT_EQ(0u, updateVSDKTokenInfo(e, "localhost", "", true));
    EXPECT_NE(std::string::npos, logText().find("Received XML token string"));  // level 10 was written
    expectNoTokenInLog(token);
}

}  // namespace
