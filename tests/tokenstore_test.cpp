// The token store: path, look-up stages, append, replace and remove, damaged
// stores and the whole-file helpers.
#include "support/TokenStoreTestUtil.h"

#include "VSDKAPIGlobalData/VSDKAPIGlobalData.h"
#include "VSDKAPIUtils/TokenStore.h"
#include "platform/RkcScrambler.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

namespace {

using namespace vsdktest;

constexpr unsigned long kCorrupt = 0x208;
constexpr unsigned long kMissing = 0x209;
constexpr unsigned long kCannotResolve = 0x126;

std::filesystem::perms modeOf(const std::string& path) { return std::filesystem::status(path).permissions(); }
constexpr auto k0600 = std::filesystem::perms::owner_read | std::filesystem::perms::owner_write;

class TokenStoreTest : public StoreFixture {};

TEST_F(TokenStoreTest, NoStoreThenAFirstAppend) {
    const Lookup none = lookup("localhost");
    EXPECT_EQ(kMissing, none.rc);
    EXPECT_FALSE(none.found);
    EXPECT_EQ(storePath(), none.path);  // written back
    for (bool erase : {false, true})
        EXPECT_EQ(kMissing, updateVSDKTokenInfo(makeEntry("localhost", "u", "t"), "localhost", "", erase));

    // The longest values fit and come back whole.
    const _VSDKTokenFileContents longest =
        makeEntry(std::string(255, 'n'), std::string(255, 'u'), std::string(127, 't'), std::string(1023, 'c'));
    ASSERT_EQ(0u, setVSDKTokenInfo(longest, ""));
    EXPECT_EQ(k0600, modeOf(storePath()));
    const auto all = storeEntries(storePath());
    ASSERT_EQ(1u, all.size());
    EXPECT_EQ(0, std::memcmp(&longest, &all[0], sizeof longest));

    // A store with wider permissions is rewritten private.
    ASSERT_EQ(0, ::chmod(storePath().c_str(), 0644));
    ASSERT_EQ(0u, setVSDKTokenInfo(makeEntry("cs2", "u", "t2"), ""));
    EXPECT_EQ(k0600, modeOf(storePath()));
    EXPECT_EQ(2u, storedTokens().size());
}

TEST_F(TokenStoreTest, StorePathThatDoesNotFitIsRefused) {
    const std::string suffix = "/vsessions." + std::to_string(::getuid());
    const std::size_t room = tokenstore::kPathSize - 1 - suffix.size();
    for (std::size_t length : {room, room + 1}) {
        const std::string base = baseDir() + "/" + std::string(length - baseDir().size() - 1, 'd');
        m_registry->setValue(TempRegistry::kInstance, "Base", "dBASEHOME", base);
        char buffer[tokenstore::kPathSize] = {0};
        const bool fits = length == room;
        EXPECT_EQ(fits ? 0u : kMissing, GetVSDKCSSessionsFilePath(buffer)) << length;
        EXPECT_EQ(fits ? base + suffix : "", std::string(buffer));  // refused, not cut
    }
    EXPECT_EQ(kMissing, setVSDKTokenInfo(makeEntry("localhost", "u", "t"), ""));
}

std::string scrambled(const std::string& text) {
    std::vector<char> block(12800);
    const std::size_t n = RkcScrambler().scramble(text.data(), text.size(), block.data(), block.size(), true);
    return std::string(block.data(), n);
}

const std::string kSecret = "NOT-A-STORE-SECRET-4711";

struct Damage {
    const char* name;
    std::string (*make)(std::string good);
    unsigned long appendRc;  // an append goes on over a store it cannot descramble
};
const Damage kDamages[] = {
    {"foreign bytes", [](std::string) { return std::string(600, '\xa5'); }, 0},
    {"one byte altered", [](std::string good) { return good.replace(40, 1, 1, static_cast<char>(good[40] ^ 1)); }, 0},
    {"cut short", [](std::string good) { return good.substr(0, good.size() - 1); }, 0},
    {"larger than any store", [](std::string) { return std::string(12801, '\xa5'); }, 0},
    {"scrambled, but no store", [](std::string) { return scrambled("<garbage " + kSecret); }, kCorrupt},
};

TEST_F(TokenStoreTest, DamagedStores) {
    const std::string callers = baseDir() + "/my-token-file";
    for (const Damage& damage : kDamages) {
        SCOPED_TRACE(damage.name);
        // The caller's file is reported, and neither deleted nor replaced.
        ASSERT_EQ(0u, setVSDKTokenInfo(makeEntry("localhost", "alice", "mine"), callers));
        EXPECT_EQ("mine", lookup("localhost", callers).token);
        std::string bad = damage.make(fileBytes(callers));
        writeBytes(callers, bad);
        EXPECT_EQ(kCorrupt, lookup("localhost", callers).rc);
        EXPECT_EQ(kCorrupt, setVSDKTokenInfo(makeEntry("localhost", "alice", "new"), callers));
        EXPECT_EQ(kCorrupt, updateVSDKTokenInfo(makeEntry("localhost", "a", "t"), "localhost", callers, true));
        EXPECT_EQ(bad, fileBytes(callers));
        ASSERT_EQ(0, ::unlink(callers.c_str()));

        // The user's own store is deleted by whichever operation meets it.
        ASSERT_EQ(0u, setVSDKTokenInfo(makeEntry("localhost", "alice", "good"), ""));
        bad = damage.make(fileBytes(storePath()));
        writeBytes(storePath(), bad);
        EXPECT_EQ(kCorrupt, lookup("localhost").rc);
        EXPECT_FALSE(fileExists(storePath()));
        writeBytes(storePath(), bad);
        EXPECT_EQ(kCorrupt, updateVSDKTokenInfo(makeEntry("localhost", "a", "t"), "localhost", "", true));
        EXPECT_FALSE(fileExists(storePath()));
        writeBytes(storePath(), bad);
        EXPECT_EQ(damage.appendRc, setVSDKTokenInfo(makeEntry("cs2", "bob", "fresh"), ""));
        if (damage.appendRc != 0) {
            EXPECT_FALSE(fileExists(storePath()));
            ASSERT_EQ(0u, setVSDKTokenInfo(makeEntry("cs2", "bob", "fresh"), ""));
        }
        EXPECT_EQ(std::vector<std::string>{"fresh"}, storedTokens());
        ASSERT_EQ(0, ::unlink(storePath().c_str()));
    }
    EXPECT_EQ(std::string::npos, logText().find(kSecret));

    // A caller's path that is no file is refused, not waited on.
    ASSERT_EQ(0, ::mkfifo(callers.c_str(), 0600));
    EXPECT_EQ(kCorrupt, lookup("localhost", callers).rc);
    EXPECT_EQ(kCorrupt, setVSDKTokenInfo(makeEntry("localhost", "alice", "new"), callers));
    EXPECT_TRUE(fileExists(callers));
}

struct MatchCase {
    const char* name;
    std::vector<_VSDKTokenFileContents> store;
    const char* given;
    unsigned long rc;
    const char* token;  // what the look-up finds; "untouched": nothing
    std::vector<std::string> afterReplace, afterRemove;  // the stored tokens after a replace or remove of given
};

TEST_F(TokenStoreTest, LookupReplaceAndRemoveFindTheSameEntry) {
    setRegistryMardock("127.0.0.3", "SimCS");  // the registry's own Mardock
    auto entry = [](const char* host, const char* token, const char* client = "") {
        return makeEntry(host, "u", token, client);
    };
    const MatchCase cases[] = {
        // "127.0.0.1" has localhost's address too: the name in other letter case is found first.
        {"host in other letter case", {entry("127.0.0.1", "x"), entry("LOCALHOST", "old")}, "localhost", 0, "old",
         {"x", "new"}, {"x"}},
        {"by address; the last entry goes with its file", {entry("localhost", "old")}, "127.0.0.1", 0, "old",
         {"new"}, {}},
        {"registry's client name", {entry("127.0.0.4", "old", "simcs")}, "127.0.0.3", 0, "old", {"new"}, {}},
        {"two for one host: the first", {entry("localhost", "old"), entry("localhost", "2nd")}, "localhost", 0, "old",
         {"new", "2nd"}, {"2nd"}},
        {"client name only for the registry's Mardock", {entry("127.0.0.4", "t", "simcs")}, "127.0.0.5", 0,
         "untouched", {"t"}, {"t"}},
        {"entry that no longer resolves", {entry("gone.invalid", "g"), entry("localhost", "t")}, "127.0.0.1",
         kCannotResolve, "untouched", {"g", "t"}, {"g", "t"}},
        {"given name that does not resolve", {entry("localhost", "t")}, "nowhere.invalid", kCannotResolve,
         "untouched", {"t"}, {"t"}},
    };
    for (const MatchCase& c : cases) {
        for (const char* op : {"look-up", "replace", "remove"}) {
            SCOPED_TRACE(std::string(c.name) + ", " + op);
            ::unlink(storePath().c_str());
            for (const auto& e : c.store) ASSERT_EQ(0u, setVSDKTokenInfo(e, ""));
            if (op[0] == 'l') {
                const Lookup r = lookup(c.given);
                EXPECT_EQ(c.rc, r.rc);
                EXPECT_EQ(c.token, r.token);
                EXPECT_EQ(r.token != "untouched", r.found);
                continue;
            }
            const bool erase = op[2] == 'm';
            EXPECT_EQ(c.rc, updateVSDKTokenInfo(makeEntry("localhost", "alice", "new"), c.given, "", erase));
            EXPECT_EQ(erase ? c.afterRemove : c.afterReplace, storedTokens());
            EXPECT_EQ(erase ? !c.afterRemove.empty() : true, fileExists(storePath()));
        }
    }
    // Replace and remove say, in their own words, what they could not do.
    const std::string log = logText();
    EXPECT_NE(std::string::npos, log.find("updateVSDKSessionInfo() [0] CSName[127.0.0.5] entry is not found"));
    EXPECT_NE(std::string::npos, log.find("updateVSDKSessionInfo() [0] Given CS Name[nowhere.invalid]"));
    EXPECT_NE(std::string::npos, log.find("[0] Token File CS Name[gone.invalid],Given CS Name[127.0.0.1]"));
    EXPECT_NE(std::string::npos, log.find("[0] Invalid Server Name.QERROR_SERVER_INVALID_SERVER_NAME."));
    EXPECT_EQ(std::string::npos, log.find("updateVSDKSessionInfo() [0] Could not connect"));
}

TEST_F(TokenStoreTest, StoreThatWouldOutgrowItsBufferIsNotWritten) {
    std::string before;
    unsigned long rc = 0;
    int appended = 0;
    for (; appended < 40 && rc == 0; ++appended) {
        before = fileBytes(storePath());
        rc = setVSDKTokenInfo(makeEntry("cs" + std::to_string(appended), "u", "t", std::string(1000, 'c')), "");
    }
    EXPECT_EQ(0x275u, rc);
    EXPECT_EQ(before, fileBytes(storePath()));
    EXPECT_EQ(static_cast<std::size_t>(appended - 1), storedTokens().size());
}

TEST_F(TokenStoreTest, WriteDataAndReadData) {
    const std::string file = baseDir() + "/data.xml";
    EXPECT_EQ(0u, writeData(file.c_str(), ""));
    EXPECT_EQ(k0600, modeOf(file));
    EXPECT_EQ("", fileBytes(file));
    writeBytes(file, std::string("before\0after", 12));
    std::string text = "old";
    EXPECT_EQ(0u, readData(file.c_str(), text));
    EXPECT_EQ("before", text);
    EXPECT_EQ(kMissing, readData((baseDir() + "/absent").c_str(), text));
    // No regular file: neither a folder nor a FIFO without a writer is read.
    const std::string fifo = baseDir() + "/fifo";
    ASSERT_EQ(0, ::mkfifo(fifo.c_str(), 0600));
    EXPECT_EQ(kMissing, readData(baseDir().c_str(), text));
    EXPECT_EQ(kMissing, readData(fifo.c_str(), text));
    EXPECT_EQ("before", text);
    EXPECT_EQ(kMissing, writeData((baseDir() + "/no/such/folder/file").c_str(), "x"));
}

}  // namespace
