// The token store: path, look-up stages, append, replace and remove, damaged
// stores, file modes and the whole-file helpers.

#include "support/TempRegistry.h"
#include "support/TokenStoreTestUtil.h"

#include "VSDKAPIGlobalData/VSDKAPIGlobalData.h"
#include "VSDKAPIUtils/TokenStore.h"
#include "platform/RkcScrambler.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

using vsdktest::StoreFixture;
using vsdktest::fileBytes;
using vsdktest::fileExists;
using vsdktest::fileMode;
using vsdktest::makeEntry;
using vsdktest::writeBytes;

constexpr unsigned long kCorrupt = 0x208;
constexpr unsigned long kMissing = 0x209;
constexpr unsigned long kCannotResolve = 0x126;

class TokenStoreTest : public StoreFixture {};

// ---- no store -------------------------------------------------------------------

TEST_F(TokenStoreTest, LookupWithoutStoreIsMissingAndWritesThePathBack) {
    _VSDKTokenFileContents entry;
    std::string path;
    bool found = false;
    EXPECT_EQ(kMissing, getVSDKTokenInfo(entry, "localhost", path, "", found, ""));
    EXPECT_FALSE(found);
    EXPECT_EQ(storePath(), path);
}

TEST_F(TokenStoreTest, ReplaceOrRemoveWithoutStoreIsMissing) {
    for (bool erase : {false, true}) {
        EXPECT_EQ(kMissing, updateVSDKTokenInfo(makeEntry("localhost", "u", "t"), "localhost", "", erase))
            << "erase " << erase;
        EXPECT_FALSE(fileExists(storePath()));
    }
}

TEST_F(TokenStoreTest, AppendWithoutStoreCreatesSingleEntryPrivateStore) {
    ASSERT_EQ(0u, setVSDKTokenInfo(makeEntry("cs1.example", "alice", "tok-1", "cs1client"), ""));
    ASSERT_TRUE(fileExists(storePath()));
    EXPECT_EQ(0600u, fileMode(storePath()));
    const std::vector<_VSDKTokenFileContents> all = storeEntries();
    ASSERT_EQ(1u, all.size());
    EXPECT_STREQ("cs1.example", all[0].mardockName);
    EXPECT_STREQ("alice", all[0].user);
    EXPECT_STREQ("tok-1", all[0].token);
    EXPECT_STREQ("cs1client", all[0].mardockClientName);
}

TEST_F(TokenStoreTest, StoreWithWiderPermissionsIsRewrittenPrivate) {
    ASSERT_EQ(0u, setVSDKTokenInfo(makeEntry("cs1.example", "alice", "tok-1"), ""));
    ASSERT_EQ(0, ::chmod(storePath().c_str(), 0644));
    ASSERT_EQ(0u, setVSDKTokenInfo(makeEntry("cs2.example", "alice", "tok-2"), ""));
    EXPECT_EQ(0600u, fileMode(storePath()));
    EXPECT_EQ(2u, storeEntries().size());
}

TEST_F(TokenStoreTest, StorePathNeedsThreadState) {
    g_dataMap.erase();
    _VSDKTokenFileContents entry;
    std::string path;
    bool found = false;
    EXPECT_EQ(kMissing, getVSDKTokenInfo(entry, "localhost", path, "", found, ""));
    EXPECT_TRUE(path.empty());
    EXPECT_EQ(kMissing, setVSDKTokenInfo(makeEntry("localhost", "u", "t"), ""));
    char buffer[tokenstore::kPathSize] = {0};
    EXPECT_EQ(0x280u, GetVSDKCSSessionsFilePath(buffer));
    EXPECT_EQ('\0', buffer[0]);
}

TEST_F(TokenStoreTest, PathThatDoesNotFitIsRefusedNotCut) {
    // base + "/vsessions." + uid must stay below 1024 characters.
    const std::string suffix = "/vsessions." + std::to_string(::getuid());
    const std::size_t room = tokenstore::kPathSize - 1 - suffix.size();
    struct Case {
        std::size_t baseLength;
        unsigned long expected;
    } cases[] = {{room, 0u}, {room + 1, kMissing}};
    for (const Case& c : cases) {
        std::string base = baseDir() + "/";
        base += std::string(c.baseLength - base.size(), 'd');
        setBase(base);
        char buffer[tokenstore::kPathSize] = {0};
        EXPECT_EQ(c.expected, GetVSDKCSSessionsFilePath(buffer)) << c.baseLength;
        if (c.expected == 0) {
            EXPECT_EQ(base + suffix, std::string(buffer));
        } else {
            EXPECT_EQ('\0', buffer[0]);
            EXPECT_EQ(kMissing, setVSDKTokenInfo(makeEntry("localhost", "u", "t"), ""));
        }
    }
}

// ---- damaged stores -------------------------------------------------------------

std::string randomBytes(std::size_t n) {
    std::mt19937 gen(1234);
    std::string s(n, '\0');
    for (char& c : s) c = static_cast<char>(gen() & 0xff);
    return s;
}

struct Damage {
    const char* name;
    std::string (*make)(const std::string& goodStore);
};

const Damage kDamages[] = {
    {"random bytes", [](const std::string&) { return randomBytes(600); }},
    {"one byte altered",
     [](const std::string& good) {
         std::string s = good;
         s[s.size() / 2] = static_cast<char>(s[s.size() / 2] ^ 0x01);
         return s;
     }},
    {"cut short", [](const std::string& good) { return good.substr(0, good.size() - 1); }},
    {"empty", [](const std::string&) { return std::string(); }},
    {"larger than any store", [](const std::string&) { return randomBytes(12801); }},
};

TEST_F(TokenStoreTest, DamagedStoreIsDeletedAndReportedByEveryOperation) {
    for (const Damage& d : kDamages) {
        SCOPED_TRACE(d.name);
        ASSERT_EQ(0u, setVSDKTokenInfo(makeEntry("localhost", "alice", "good"), ""));
        const std::string good = fileBytes(storePath());

        // Failing twin: the undamaged store is read.
        _VSDKTokenFileContents entry;
        std::string path;
        bool found = false;
        EXPECT_EQ(0u, getVSDKTokenInfo(entry, "localhost", path, "", found, ""));
        EXPECT_TRUE(found);

        writeBytes(storePath(), d.make(good));
        found = false;
        path.clear();
        EXPECT_EQ(kCorrupt, getVSDKTokenInfo(entry, "localhost", path, "", found, ""));
        EXPECT_FALSE(found);
        EXPECT_FALSE(fileExists(storePath()));

        writeBytes(storePath(), d.make(good));
        EXPECT_EQ(kCorrupt, updateVSDKTokenInfo(makeEntry("localhost", "a", "t"), "localhost", "", true));
        EXPECT_FALSE(fileExists(storePath()));

        // An append over a damaged store starts a fresh one.
        writeBytes(storePath(), d.make(good));
        ASSERT_EQ(0u, setVSDKTokenInfo(makeEntry("cs2.example", "bob", "fresh"), ""));
        const auto all = storeEntries();
        ASSERT_EQ(1u, all.size());
        EXPECT_STREQ("fresh", all[0].token);
        ASSERT_EQ(0, ::unlink(storePath().c_str()));
    }
}

TEST_F(TokenStoreTest, ScrambledTextThatIsNotAStoreIsDeleted) {
    const std::string secret = "NOT-A-STORE-SECRET-4711";
    std::vector<char> block(12800);
    RkcScrambler scrambler;
    const std::string text = "<garbage " + secret;
    const std::size_t n = scrambler.scramble(text.data(), text.size(), block.data(), block.size(), true);
    writeBytes(storePath(), std::string(block.data(), n));
    _VSDKTokenFileContents entry;
    std::string path;
    bool found = false;
    EXPECT_EQ(kCorrupt, getVSDKTokenInfo(entry, "localhost", path, "", found, ""));
    EXPECT_FALSE(fileExists(storePath()));
    EXPECT_EQ(std::string::npos, logText().find(secret));
}

TEST_F(TokenStoreTest, CallerTokenFileThatIsDamagedIsReportedAndLeftAlone) {
    const std::string own = baseDir() + "/my-token-file";
    for (const Damage& d : kDamages) {
        SCOPED_TRACE(d.name);
        ASSERT_EQ(0u, setVSDKTokenInfo(makeEntry("localhost", "alice", "good"), own));
        const std::string damaged = d.make(fileBytes(own));
        writeBytes(own, damaged);

        _VSDKTokenFileContents entry;
        std::string path = own;
        bool found = false;
        EXPECT_EQ(kCorrupt, getVSDKTokenInfo(entry, "localhost", path, "", found, ""));
        EXPECT_FALSE(found);
        EXPECT_EQ(damaged, fileBytes(own));
        EXPECT_EQ(kCorrupt, setVSDKTokenInfo(makeEntry("localhost", "alice", "new"), own));
        EXPECT_EQ(damaged, fileBytes(own));
        EXPECT_EQ(kCorrupt, updateVSDKTokenInfo(makeEntry("localhost", "a", "t"), "localhost", own, true));
        EXPECT_EQ(damaged, fileBytes(own));
        ASSERT_EQ(0, ::unlink(own.c_str()));
    }
}

TEST_F(TokenStoreTest, CallerTokenFileIsUsedInsteadOfTheStore) {
    const std::string own = baseDir() + "/my-token-file";
    ASSERT_EQ(0u, setVSDKTokenInfo(makeEntry("localhost", "alice", "mine"), own));
    EXPECT_FALSE(fileExists(storePath()));
    EXPECT_EQ(0600u, fileMode(own));
    _VSDKTokenFileContents entry;
    std::string path = own;
    bool found = false;
    EXPECT_EQ(0u, getVSDKTokenInfo(entry, "localhost", path, "", found, ""));
    EXPECT_TRUE(found);
    EXPECT_STREQ("mine", entry.token);
    EXPECT_EQ(own, path);
}

// ---- look-up stages -------------------------------------------------------------

struct LookupCase {
    const char* name;
    std::vector<_VSDKTokenFileContents> store;
    const char* given;
    const char* clientName;
    unsigned long expected;
    const char* token;  // null: nothing found
};

TEST_F(TokenStoreTest, LookupStages) {
    // The registry's own Mardock is 127.0.0.3 with client name "simcs".
    setRegistryMardock("127.0.0.3", "SimCS");
    const LookupCase cases[] = {
        {"host in other letter case", {makeEntry("LocalHost", "u", "t-case")}, "localhost", "", 0, "t-case"},
        {"by address", {makeEntry("localhost", "u", "t-addr")}, "127.0.0.1", "", 0, "t-addr"},
        {"address matches nothing", {makeEntry("localhost", "u", "t-addr")}, "127.0.0.2", "", 0, nullptr},
        {"by the registry's client name", {makeEntry("127.0.0.4", "u", "t-client", "simcs")}, "127.0.0.3", "", 0,
         "t-client"},
        {"by a given client name", {makeEntry("127.0.0.4", "u", "t-given", "other")}, "127.0.0.3", "OTHER", 0,
         "t-given"},
        {"client name only for the registry's Mardock", {makeEntry("127.0.0.4", "u", "t-client", "simcs")},
         "127.0.0.5", "", 0, nullptr},
        {"empty client names do not match", {makeEntry("127.0.0.4", "u", "t-empty", "")}, "127.0.0.3", "", 0,
         nullptr},
        {"entry that no longer resolves", {makeEntry("gone.invalid", "u", "t-gone"), makeEntry("localhost", "u", "t")},
         "127.0.0.1", "", kCannotResolve, nullptr},
        {"entry that no longer resolves, found by name",
         {makeEntry("gone.invalid", "u", "t-gone"), makeEntry("localhost", "u", "t-name")}, "LOCALHOST", "", 0,
         "t-name"},
        {"given name that does not resolve", {makeEntry("localhost", "u", "t")}, "nowhere.invalid", "",
         kCannotResolve, nullptr},
        {"two entries for one host: the first", {makeEntry("localhost", "u", "first"), makeEntry("localhost", "u", "second")},
         "localhost", "", 0, "first"},
    };
    for (const LookupCase& c : cases) {
        SCOPED_TRACE(c.name);
        ::unlink(storePath().c_str());
        for (const auto& e : c.store) ASSERT_EQ(0u, setVSDKTokenInfo(e, ""));
        _VSDKTokenFileContents entry;
        std::strcpy(entry.token, "untouched");
        std::string path;
        bool found = false;
        EXPECT_EQ(c.expected, getVSDKTokenInfo(entry, c.given, path, "", found, c.clientName));
        EXPECT_EQ(c.token != nullptr, found);
        EXPECT_STREQ(c.token ? c.token : "untouched", entry.token);
    }
}

TEST_F(TokenStoreTest, TwoAppendsForOneHostKeepBothAndTheFirstIsFound) {
    ASSERT_EQ(0u, setVSDKTokenInfo(makeEntry("localhost", "alice", "first"), ""));
    ASSERT_EQ(0u, setVSDKTokenInfo(makeEntry("localhost", "alice", "second"), ""));
    EXPECT_EQ(2u, storeEntries().size());
    EXPECT_EQ("first", lookupToken("localhost"));
}

// Replace and remove change the entry that the look-up finds for the same name.
struct UpdateCase {
    const char* name;
    std::vector<_VSDKTokenFileContents> store;
    const char* given;
    std::vector<std::string> tokensAfterReplace;
    std::vector<std::string> tokensAfterRemove;
};

TEST_F(TokenStoreTest, ReplaceAndRemoveChangeTheEntryTheLookupFinds) {
    setRegistryMardock("127.0.0.3", "simcs");
    const UpdateCase cases[] = {
        // "localhost" resolves to 127.0.0.1 as well: the look-up's entry is
        // the one named in other letter case, not the first by address.
        {"other letter case", {makeEntry("127.0.0.1", "u", "x"), makeEntry("LOCALHOST", "u", "old")},
         "localhost", {"x", "new"}, {"x"}},
        {"by address", {makeEntry("localhost", "u", "old")}, "127.0.0.1", {"new"}, {}},
        {"by the registry's client name", {makeEntry("127.0.0.4", "u", "old", "SIMCS")}, "127.0.0.3", {"new"}, {}},
        {"first of two for one host", {makeEntry("localhost", "u", "old"), makeEntry("localhost", "u", "second")},
         "localhost", {"new", "second"}, {"second"}},
    };
    for (const UpdateCase& c : cases) {
        SCOPED_TRACE(c.name);
        for (bool erase : {false, true}) {
            ::unlink(storePath().c_str());
            for (const auto& e : c.store) ASSERT_EQ(0u, setVSDKTokenInfo(e, ""));
            EXPECT_EQ("old", lookupToken(c.given));
            EXPECT_EQ(0u, updateVSDKTokenInfo(makeEntry("localhost", "alice", "new"), c.given, "", erase))
                << "erase " << erase;
            const auto& want = erase ? c.tokensAfterRemove : c.tokensAfterReplace;
            std::vector<std::string> got;
            if (fileExists(storePath())) {
                for (const auto& e : storeEntries()) got.emplace_back(e.token);
            }
            EXPECT_EQ(want, got) << "erase " << erase;
            EXPECT_EQ(want.empty(), !fileExists(storePath()));
        }
    }
}

TEST_F(TokenStoreTest, ReplaceOrRemoveMatchingNothingKeepsStoreAndSaysSo) {
    ASSERT_EQ(0u, setVSDKTokenInfo(makeEntry("localhost", "alice", "keep"), ""));
    for (bool erase : {false, true}) {
        const std::size_t mark = logSize();
        EXPECT_EQ(0u, updateVSDKTokenInfo(makeEntry("127.0.0.9", "x", "other"), "127.0.0.9", "", erase));
        const auto all = storeEntries();
        ASSERT_EQ(1u, all.size());
        EXPECT_STREQ("keep", all[0].token);
        EXPECT_NE(std::string::npos, logSince(mark).find("[0] CSName[127.0.0.9] entry is not found"))
            << logSince(mark);
    }
}

TEST_F(TokenStoreTest, RemovingTheLastEntryDeletesTheStore) {
    ASSERT_EQ(0u, setVSDKTokenInfo(makeEntry("localhost", "alice", "a"), ""));
    ASSERT_EQ(0u, setVSDKTokenInfo(makeEntry("127.0.0.4", "alice", "b"), ""));
    ASSERT_EQ(0u, updateVSDKTokenInfo(makeEntry("", "", ""), "localhost", "", true));
    ASSERT_TRUE(fileExists(storePath()));
    ASSERT_EQ(0u, updateVSDKTokenInfo(makeEntry("", "", ""), "127.0.0.4", "", true));
    EXPECT_FALSE(fileExists(storePath()));
}

// ---- entries ------------------------------------------------------------------------

TEST_F(TokenStoreTest, EntryValuesThatDoNotFitAreRefused) {
    struct Case {
        std::size_t name, client, user, token;
        bool fits;
    } cases[] = {
        {255, 1023, 255, 127, true},  {256, 0, 0, 0, false}, {0, 1024, 0, 0, false},
        {0, 0, 256, 0, false},        {0, 0, 0, 128, false},
    };
    for (const Case& c : cases) {
        _VSDKTokenFileContents entry;
        EXPECT_EQ(c.fits, makeVSDKTokenEntry(entry, std::string(c.name, 'n'), std::string(c.client, 'c'),
                                             std::string(c.user, 'u'), std::string(c.token, 't')))
            << c.name << " " << c.client << " " << c.user << " " << c.token;
        if (c.fits) {
            EXPECT_EQ(c.token, std::strlen(entry.token));
            EXPECT_EQ(c.client, std::strlen(entry.mardockClientName));
        } else {
            EXPECT_EQ('\0', entry.token[0]);
        }
    }
}

TEST_F(TokenStoreTest, LongestValuesSurviveTheStore) {
    const _VSDKTokenFileContents e =
        makeEntry(std::string(255, 'n'), std::string(255, 'u'), std::string(127, 't'), std::string(1023, 'c'));
    ASSERT_EQ(0u, setVSDKTokenInfo(e, ""));
    const auto all = storeEntries();
    ASSERT_EQ(1u, all.size());
    EXPECT_EQ(0, std::memcmp(&e, &all[0], sizeof e));
}

TEST_F(TokenStoreTest, StoreThatWouldOutgrowItsBufferIsNotWritten) {
    // Each entry carries a long client name; the scrambled store holds at
    // most 12,800 bytes.
    std::string before;
    unsigned long rc = 0;
    int appended = 0;
    for (; appended < 40; ++appended) {
        before = fileExists(storePath()) ? fileBytes(storePath()) : std::string();
        rc = setVSDKTokenInfo(makeEntry("cs" + std::to_string(appended), "u", "t", std::string(1000, 'c')), "");
        if (rc != 0) break;
    }
    EXPECT_EQ(0x275u, rc);
    EXPECT_GT(appended, 1);
    EXPECT_LE(before.size(), 12800u);
    EXPECT_EQ(before, fileBytes(storePath()));
    EXPECT_EQ(static_cast<std::size_t>(appended), storeEntries().size());
}

TEST_F(TokenStoreTest, DumpNeverShowsTheToken) {
    const _VSDKTokenFileContents e = makeEntry("cs1", "alice", "SECRET-TOKEN", "client1");
    EXPECT_EQ("\nMardock:[cs1]\nUser:[alice]\nCsClientName:[client1]", e.c_str());
}

TEST_F(TokenStoreTest, StoreOperationsNeverLogTheToken) {
    setDebugLevel(20);
    const std::string token = "TOKEN-IN-STORE-0815";
    ASSERT_EQ(0u, setVSDKTokenInfo(makeEntry("localhost", "alice", token), ""));
    EXPECT_EQ(token, lookupToken("127.0.0.1"));
    ASSERT_EQ(0u, updateVSDKTokenInfo(makeEntry("localhost", "alice", token + "-2"), "localhost", "", false));
    ASSERT_EQ(0u, updateVSDKTokenInfo(makeEntry("", "", ""), "localhost", "", true));
    expectNoTokenInLog(token);
}

// ---- whole files --------------------------------------------------------------------

TEST_F(TokenStoreTest, WriteDataAndReadData) {
    const std::string file = baseDir() + "/data.xml";
    EXPECT_EQ(0u, writeData(file.c_str(), ""));
    EXPECT_TRUE(fileExists(file));
    EXPECT_EQ("", fileBytes(file));
    EXPECT_EQ(0600u, fileMode(file));

    EXPECT_EQ(0u, writeData(file.c_str(), "<a>text</a>"));
    std::string text = "old";
    EXPECT_EQ(0u, readData(file.c_str(), text));
    EXPECT_EQ("<a>text</a>", text);

    writeBytes(file, std::string("before\0after", 12));
    EXPECT_EQ(0u, readData(file.c_str(), text));
    EXPECT_EQ("before", text);

    text = "kept";
    EXPECT_EQ(kMissing, readData((baseDir() + "/absent").c_str(), text));
    EXPECT_EQ("kept", text);
    EXPECT_EQ(kMissing, writeData((baseDir() + "/no/such/folder/file").c_str(), "x"));
}

}  // namespace
