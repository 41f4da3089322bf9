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
#include <string>
#include <vector>

namespace {

using vsdktest::StoreFixture;
using vsdktest::fileBytes;
using vsdktest::fileExists;
using vsdktest::folderNames;
using vsdktest::makeEntry;

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

// A token string of any plain text, as the platform encrypts it.
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

std::string alter(std::string s) {
    s[s.size() / 2] = s[s.size() / 2] == 'a' ? 'b' : 'a';
    return s;
}

TEST_F(TokenStringTest, RoundTrip) {
    struct Case {
        std::string name, client, user, token;
    } cases[] = {
        {"cs1.example", "cs1client", "alice", "tok-123"},
        {"", "", "", ""},
        {std::string(255, 'n'), std::string(1023, 'c'), std::string(255, 'u'), std::string(127, 't')},
        {"cs<&>\"'", "client name", "d\xe9j\xe0", "t\x01\x7f"},
    };
    for (const Case& c : cases) {
        const std::string ts = build(c.name, c.client, c.user, c.token);
        ASSERT_FALSE(ts.empty());
        _VSDKTokenFileContents e;
        ASSERT_EQ(0u, destructVSDKTokenString(ts, &e));
        EXPECT_EQ(c.name, e.mardockName);
        EXPECT_EQ(c.client, e.mardockClientName);
        EXPECT_EQ(c.user, e.user);
        EXPECT_EQ(c.token, e.token);
    }
}

TEST_F(TokenStringTest, ValuesThatDoNotFitAreRefused) {
    struct Case {
        std::size_t name, client, user, token;
    } cases[] = {{256, 0, 0, 0}, {0, 1024, 0, 0}, {0, 0, 256, 0}, {0, 0, 0, 128}};
    for (const Case& c : cases) {
        std::string out = "kept";
        EXPECT_EQ(kInvalid, VSDKConstructTokenWrapper(std::string(c.name, 'n').c_str(),
                                                      std::string(c.client, 'c').c_str(),
                                                      std::string(c.user, 'u').c_str(),
                                                      std::string(c.token, 't').c_str(), out));
        EXPECT_EQ("kept", out);
    }
}

TEST_F(TokenStringTest, DestructWantsExactlyOneEntry) {
    struct Case {
        const char* name;
        std::vector<_VSDKTokenFileContents> entries;
        unsigned long expected;
    } cases[] = {
        {"none", {}, kEntries},
        {"one", {makeEntry("cs1", "u1", "t1")}, 0},
        {"two", {makeEntry("cs1", "u1", "t1"), makeEntry("cs2", "u2", "t2")}, kEntries},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::size_t mark = logSize();
        _VSDKTokenFileContents e;
        std::strcpy(e.user, "untouched");
        EXPECT_EQ(c.expected, destructVSDKTokenString(withEntries(c.entries), &e));
        const bool saysMany =
            logSince(mark).find("Passed many tokens. This API should be called with only one token") !=
            std::string::npos;
        EXPECT_EQ(c.expected != 0, saysMany);
        EXPECT_STREQ(c.expected == 0 ? "u1" : "untouched", e.user);
    }
}

TEST_F(TokenStringTest, ListingTakesTheLastEntryWithoutUser) {
    _VSDKTokenFileContents e;
    ASSERT_EQ(0u, getVSDKTokenInfoWS(withEntries({makeEntry("cs1", "u1", "t1", "c1"), makeEntry("cs2", "u2", "t2", "c2")}),
                                     &e));
    EXPECT_STREQ("cs2", e.mardockName);
    EXPECT_STREQ("t2", e.token);
    EXPECT_STREQ("c2", e.mardockClientName);
    EXPECT_STREQ("", e.user);

    _VSDKTokenFileContents untouched;
    std::strcpy(untouched.token, "untouched");
    EXPECT_EQ(0u, getVSDKTokenInfoWS(withEntries({}), &untouched));
    EXPECT_STREQ("untouched", untouched.token);
}

TEST_F(TokenStringTest, BadTokenStringsAreRefusedAndNoFileIsTouched) {
    ASSERT_EQ(0u, setVSDKTokenInfo(makeEntry("localhost", "alice", "stored"), ""));
    const std::string storeBefore = fileBytes(storePath());
    const std::vector<std::string> namesBefore = folderNames(baseDir());

    const std::string good = build("localhost", "", "alice", "from-string");
    struct Case {
        const char* name;
        std::string tokenString;
        unsigned long destruct, listing, lookup;
    } cases[] = {
        {"altered", alter(good), kEntries, kEntries, kEntries},
        {"not encrypted at all", "plain text", kEntries, kEntries, kEntries},
        {"cut short", good.substr(0, good.size() - 2), kEntries, kEntries, kEntries},
        {"far too long", std::string(20000, 'a'), kEntries, kEntries, kEntries},
        {"encrypted text that is not a token list", encrypted("<not a list"), kEntries, kCorrupt, kCorrupt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        _VSDKTokenFileContents e;
        std::strcpy(e.token, "untouched");
        EXPECT_EQ(c.destruct, destructVSDKTokenString(c.tokenString, &e));
        EXPECT_EQ(c.listing, getVSDKTokenInfoWS(c.tokenString, &e));
        std::string path;
        bool found = false;
        EXPECT_EQ(static_cast<int>(c.lookup), getVSDKTokenInfoWrapper(e, "localhost", path, c.tokenString, found));
        EXPECT_FALSE(found);
        EXPECT_TRUE(path.empty());
        char sessionId[8] = "keep";
        EXPECT_EQ(c.lookup, VSDKGetSessionIdFromToken_NOSTL(c.tokenString.c_str(), sessionId, sizeof sessionId,
                                                            "localhost"));
        EXPECT_STREQ("keep", sessionId);
        EXPECT_STREQ("untouched", e.token);
        EXPECT_EQ(storeBefore, fileBytes(storePath()));
        EXPECT_EQ(namesBefore, folderNames(baseDir()));
    }

    // Failing twin: the good string is taken and the store still not read.
    std::string path;
    bool found = false;
    _VSDKTokenFileContents e;
    EXPECT_EQ(0, getVSDKTokenInfoWrapper(e, "LOCALHOST", path, good, found));
    EXPECT_TRUE(found);
    EXPECT_STREQ("from-string", e.token);
}

TEST_F(TokenStringTest, NullRecordIsRefused) {
    const std::string good = build("cs1", "", "u", "t");
    EXPECT_EQ(kInvalid, destructVSDKTokenString(good, nullptr));
    EXPECT_EQ(kInvalid, getVSDKTokenInfoWS(good, nullptr));
}

// ---- C-buffer twins ---------------------------------------------------------------

TEST_F(TokenStringTest, ConstructIntoBufferAtTheBoundary) {
    const std::string plain = build("cs1", "c1", "alice", "tok");  // length varies with the nonce only
    const std::size_t length = plain.size();
    struct Case {
        std::size_t size;
        unsigned long expected;
    } cases[] = {{length - 1, kInvalid}, {length, kInvalid}, {length + 1, 0}, {length + 10, 0}};
    for (const Case& c : cases) {
        std::vector<char> buffer(c.size + 1, 'x');  // one guard byte past size
        EXPECT_EQ(c.expected, VSDKConstructTokenWrapper_NOSTL("cs1", "c1", "alice", "tok", buffer.data(), c.size))
            << c.size;
        EXPECT_EQ('x', buffer[c.size]) << "written past size";
        if (c.expected != 0) {
            EXPECT_EQ(std::string(c.size, 'x'), std::string(buffer.data(), c.size));
            continue;
        }
        EXPECT_EQ(length, std::strlen(buffer.data()));
        for (std::size_t i = length; i < c.size; ++i) EXPECT_EQ('\0', buffer[i]);
        _VSDKTokenFileContents e;
        ASSERT_EQ(0u, destructVSDKTokenString(buffer.data(), &e));
        EXPECT_STREQ("tok", e.token);
    }
    EXPECT_EQ(kInvalid, VSDKConstructTokenWrapper_NOSTL("cs1", "c1", "alice", "tok", nullptr, 100000));
}

TEST_F(TokenStringTest, NullTextsCountAsEmpty) {
    std::vector<char> buffer(12800);
    ASSERT_EQ(0u, VSDKConstructTokenWrapper_NOSTL(nullptr, nullptr, nullptr, nullptr, buffer.data(), buffer.size()));
    _VSDKTokenFileContents e;
    ASSERT_EQ(0u, destructVSDKTokenString(buffer.data(), &e));
    EXPECT_STREQ("", e.mardockName);
    EXPECT_STREQ("", e.mardockClientName);
    EXPECT_STREQ("", e.user);
    EXPECT_STREQ("", e.token);
    std::string out;
    EXPECT_EQ(0u, VSDKConstructTokenWrapper("cs1", nullptr, nullptr, nullptr, out));
}

TEST_F(TokenStringTest, SessionIdIntoBufferAtTheBoundary) {
    const std::string token = "session-token-42";
    const std::string ts = build("cs1.example", "", "alice", token);
    struct Case {
        std::size_t size;
        unsigned long expected;
    } cases[] = {{0, kInvalid}, {token.size(), kInvalid}, {token.size() + 1, 0}, {token.size() + 8, 0}};
    for (const Case& c : cases) {
        std::vector<char> buffer(c.size + 1, 'x');
        EXPECT_EQ(c.expected, VSDKGetSessionIdFromToken_NOSTL(ts.c_str(), buffer.data(), c.size, "CS1.example"))
            << c.size;
        EXPECT_EQ('x', buffer[c.size]) << "written past size";
        if (c.expected != 0) {
            EXPECT_EQ(std::string(c.size, 'x'), std::string(buffer.data(), c.size));
        } else {
            EXPECT_EQ(token, std::string(buffer.data()));
            for (std::size_t i = token.size(); i < c.size; ++i) EXPECT_EQ('\0', buffer[i]);
        }
    }
    EXPECT_EQ(kInvalid, VSDKGetSessionIdFromToken_NOSTL(ts.c_str(), nullptr, 64, "cs1.example"));
    char out[64];
    EXPECT_EQ(kInvalid, VSDKGetSessionIdFromToken_NOSTL(ts.c_str(), out, sizeof out, std::string(256, 'n').c_str()));
}

TEST_F(TokenStringTest, SessionIdOfAnotherMardockIsEmpty) {
    const std::string ts = build("127.0.0.1", "", "alice", "tok");
    char out[32];
    std::memset(out, 'x', sizeof out);
    EXPECT_EQ(0u, VSDKGetSessionIdFromToken_NOSTL(ts.c_str(), out, sizeof out, "127.0.0.2"));
    EXPECT_EQ(std::string(sizeof out, '\0'), std::string(out, sizeof out));
}

TEST_F(TokenStringTest, SessionIdWithoutMardockNameUsesTheRegistrysOwn) {
    setRegistryMardock("cs-own.example", "ownclient");
    const std::string ts = withEntries({makeEntry("other.example", "u", "other"), makeEntry("CS-OWN.example", "u", "own")});
    char out[32] = {0};
    for (const char* name : {static_cast<const char*>(nullptr), ""}) {
        EXPECT_EQ(0u, VSDKGetSessionIdFromToken_NOSTL(ts.c_str(), out, sizeof out, name));
        EXPECT_STREQ("own", out);
    }
}

TEST_F(TokenStringTest, SessionIdWithoutTokenStringReadsTheStore) {
    ASSERT_EQ(0u, setVSDKTokenInfo(makeEntry("localhost", "alice", "from-store"), ""));
    char out[32] = {0};
    for (const char* ts : {static_cast<const char*>(nullptr), ""}) {
        EXPECT_EQ(0u, VSDKGetSessionIdFromToken_NOSTL(ts, out, sizeof out, "localhost"));
        EXPECT_STREQ("from-store", out);
    }
    // The store path needs the thread's state.
    g_dataMap.erase();
    char kept[8] = "keep";
    EXPECT_EQ(0x209u, VSDKGetSessionIdFromToken_NOSTL("", kept, sizeof kept, "localhost"));
    EXPECT_STREQ("keep", kept);
}

// ---- the debug log ------------------------------------------------------------------

TEST_F(TokenStringTest, NoTokenInTheLogAtAnyLevel) {
    setDebugLevel(100);
    const std::string token = "VERY-SECRET-TOKEN-31337";
    const std::string ts = build("localhost", "client", "alice", token);
    _VSDKTokenFileContents e;
    ASSERT_EQ(0u, destructVSDKTokenString(ts, &e));
    ASSERT_EQ(0u, getVSDKTokenInfoWS(ts, &e));
    char out[64];
    ASSERT_EQ(0u, VSDKGetSessionIdFromToken_NOSTL(ts.c_str(), out, sizeof out, "localhost"));
    std::string path;
    bool found = false;
    ASSERT_EQ(0, getVSDKTokenInfoWrapper(e, "localhost", path, ts, found));
    // Failure paths log the texts they could not use.
    EXPECT_EQ(kEntries, destructVSDKTokenString(withEntries({makeEntry("a", "b", token), makeEntry("c", "d", token)}), &e));
    EXPECT_EQ(kCorrupt, getVSDKTokenInfoWS(encrypted("<broken " + token), &e));
    EXPECT_EQ(kEntries, destructVSDKTokenString(encrypted("<broken " + token), &e));
    // The level-10 lines were written.
    EXPECT_NE(std::string::npos, logText().find("Received XML token string"));
    expectNoTokenInLog(token);
}

}  // namespace
