// The token store: path, look-up stages, append, replace and remove, damaged
// stores, the whole-file helpers, and token strings with their C-buffer twins.
#include "support/TokenStoreTestUtil.h"
#include "support/WireChecks.h"

#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/VSDKLogin.h"
#include "VSDKAPIUtils/TokenStoreInternal.h"
#include "platform/RKPassword.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace vsdktest;
using TokenStoreTest = StoreFixture;

constexpr unsigned long kCorrupt = 0x208, kMissing = 0x209, kCannotResolve = 0x126, kEntries = 0x274,
                        kInvalid = 0x303;

std::filesystem::perms modeOf(const std::string& path) { return std::filesystem::status(path).permissions(); }
constexpr auto k0600 = std::filesystem::perms::owner_read | std::filesystem::perms::owner_write;

TEST_F(TokenStoreTest, NoStoreThenPrivateFiles) {
    EXPECT_EQ(kMissing, lookup("localhost").rc);
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

    // So is the whole-file helpers' file; a FIFO without a writer is no
    // regular file and is not waited on.
    const std::string file = baseDir() + "/data.xml", fifo = baseDir() + "/fifo";
    EXPECT_EQ(0u, writeData(file.c_str(), "text"));
    EXPECT_EQ(k0600, modeOf(file));
    std::string text;
    EXPECT_EQ(0u, readData(file.c_str(), text));
    EXPECT_EQ("text", text);
    ASSERT_EQ(0, ::mkfifo(fifo.c_str(), 0600));
    EXPECT_EQ(kMissing, readData(fifo.c_str(), text));
    EXPECT_EQ(kMissing, writeData((baseDir() + "/no/such/folder/file").c_str(), "x"));
}

// Under a umask that clears owner bits the folders made for the store are
// 0700, the store and its lock file 0600, and nothing temporary is left
// beside them; a folder that was there keeps its mode. A lock file that an
// earlier umask left 0400 gets 0600 back.
TEST_F(TokenStoreTest, PrivateModesWhateverTheUmask) {
    const std::string store = "vsessions." + std::to_string(::getuid());
    for (const mode_t mask : {mode_t(0100), mode_t(0277)}) {
        char name[8];
        std::snprintf(name, sizeof name, "%04o", static_cast<unsigned>(mask));
        SCOPED_TRACE(std::string("umask ") + name);
        const std::string above = baseDir() + "/umask" + name, base = above + "/made/home";
        ASSERT_EQ(0, ::mkdir(above.c_str(), 0750));
        ASSERT_EQ(0, ::chmod(above.c_str(), 0750));
        m_registry->setValue(TempRegistry::kInstance, "Base", "dBASEHOME", base);
        const mode_t before = ::umask(mask);
        const unsigned long first = setVSDKTokenInfo(makeEntry("localhost", "u", "t1"), "");
        const unsigned long second = setVSDKTokenInfo(makeEntry("cs2", "u", "t2"), "");
        ::umask(before);
        EXPECT_EQ(0u, first);
        EXPECT_EQ(0u, second);
        EXPECT_EQ(0750u, modeBits(above));
        EXPECT_EQ(0700u, modeBits(above + "/made"));
        EXPECT_EQ(0700u, modeBits(base));
        EXPECT_EQ(0600u, modeBits(base + "/" + store));
        EXPECT_EQ(0600u, modeBits(base + "/" + store + ".lock"));
        EXPECT_EQ(std::set<std::string>{"made"}, namesIn(above));
        EXPECT_EQ(std::set<std::string>{"home"}, namesIn(above + "/made"));
        EXPECT_EQ((std::set<std::string>{store, store + ".lock"}), namesIn(base));
    }

    m_registry->setValue(TempRegistry::kInstance, "Base", "dBASEHOME", baseDir());
    ASSERT_EQ(0u, setVSDKTokenInfo(makeEntry("localhost", "u", "t1"), ""));
    ASSERT_EQ(0, ::chmod((storePath() + ".lock").c_str(), 0400));
    EXPECT_EQ(0u, setVSDKTokenInfo(makeEntry("cs2", "u", "t2"), ""));
    EXPECT_EQ(0600u, modeBits(storePath() + ".lock"));
    EXPECT_EQ((std::vector<std::string>{"t1", "t2"}), storedTokens());
}

// A store that would outgrow its buffer is not written; a store path that
// does not fit is refused, not cut.
TEST_F(TokenStoreTest, BoundsOfTheStoreAndItsPath) {
    std::string before;
    unsigned long rc = 0;
    for (int i = 0; i < 40 && rc == 0; ++i) {
        before = fileBytes(storePath());
        rc = setVSDKTokenInfo(makeEntry("cs" + std::to_string(i), "u", "t", std::string(1000, 'c')), "");
    }
    EXPECT_EQ(0x275u, rc);
    EXPECT_EQ(before, fileBytes(storePath()));

    const std::string suffix = "/vsessions." + std::to_string(::getuid());
    const std::size_t room = tokenstore::kPathSize - 1 - suffix.size();
    for (std::size_t length : {room, room + 1}) {
        const std::string base = baseDir() + "/" + std::string(length - baseDir().size() - 1, 'd');
        m_registry->setValue(TempRegistry::kInstance, "Base", "dBASEHOME", base);
        char buffer[tokenstore::kPathSize] = {0};
        const bool fits = length == room;
        EXPECT_EQ(fits ? 0u : kMissing, GetVSDKCSSessionsFilePath(buffer)) << length;
        EXPECT_EQ(fits ? base + suffix : "", std::string(buffer));
    }
    EXPECT_EQ(kMissing, setVSDKTokenInfo(makeEntry("localhost", "u", "t"), ""));

    // Without dBASEHOME the store lies in a folder of the instance's own, not
    // at the path of its registry section file "Base".
    removeRegistryValue(m_registry->root(), TempRegistry::kInstance, "Base", "dBASEHOME");
    char buffer[tokenstore::kPathSize] = {0};
    EXPECT_EQ(0u, GetVSDKCSSessionsFilePath(buffer));
    EXPECT_EQ(m_registry->root() + "/" + TempRegistry::kInstance + "/Home" + suffix, std::string(buffer));
}

TEST_F(TokenStoreTest, DamagedStores) {
    const std::string callers = baseDir() + "/my-token-file", secret = "NOT-A-STORE-SECRET-4711";
    ASSERT_EQ(0u, setVSDKTokenInfo(makeEntry("localhost", "alice", "good"), ""));
    std::string altered = fileBytes(storePath());
    altered[40] ^= 1;
    ASSERT_EQ(0u, scrambleAndWriteData(callers.c_str(), "<garbage " + secret));
    // One byte altered, larger than any store, scrambled but no store.
    const std::string damages[] = {altered, std::string(12801, '\xa5'), fileBytes(callers)};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const std::string& bad = damages[i];
        // The caller's file is reported, and neither deleted nor replaced.
        writeBytes(callers, bad);
        EXPECT_EQ(kCorrupt, lookup("localhost", callers).rc);
        EXPECT_EQ(kCorrupt, setVSDKTokenInfo(makeEntry("localhost", "alice", "new"), callers));
        EXPECT_EQ(kCorrupt, updateVSDKTokenInfo(makeEntry("localhost", "a", "t"), "localhost", callers, true));
        EXPECT_EQ(bad, fileBytes(callers));

        // The user's own store is deleted by whichever operation meets it; an
        // append goes on over a store it cannot descramble.
        writeBytes(storePath(), bad);
        EXPECT_EQ(kCorrupt, lookup("localhost").rc);
        EXPECT_FALSE(fileExists(storePath()));
        writeBytes(storePath(), bad);
        EXPECT_EQ(kCorrupt, updateVSDKTokenInfo(makeEntry("localhost", "a", "t"), "localhost", "", true));
        EXPECT_FALSE(fileExists(storePath()));
        writeBytes(storePath(), bad);
        const bool descrambles = i == 2;
        EXPECT_EQ(descrambles ? kCorrupt : 0u, setVSDKTokenInfo(makeEntry("cs2", "bob", "fresh"), ""));
        EXPECT_EQ(!descrambles, fileExists(storePath()));
        EXPECT_EQ(std::vector<std::string>(descrambles ? 0 : 1, "fresh"), storedTokens());
    }
    EXPECT_EQ(std::string::npos, logText().find(secret));

    // A caller's path that is no file is refused, not waited on.
    ASSERT_EQ(0, ::unlink(callers.c_str()));
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
}

std::string build(const std::string& name, const std::string& client, const std::string& user,
                  const std::string& token) {
    std::string out;
    EXPECT_EQ(0u, VSDKConstructTokenWrapper(name.c_str(), client.c_str(), user.c_str(), token.c_str(), out));
    return out;
}

// The entry a token string holds as "Mardock|client|user|token".
std::string entryOf(const std::string& tokenString) {
    _VSDKTokenFileContents e;
    EXPECT_EQ(0u, destructVSDKTokenString(tokenString, &e));
    return std::string(e.mardockName) + "|" + e.mardockClientName + "|" + e.user + "|" + e.token;
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
    return encrypted(xmlOf(all));
}

// Calls fill(buffer, size) on size bytes of 'x' and a guard byte: a success
// leaves a text of length bytes (text, when given) and zeros up to size; a
// failure leaves the buffer as it was.
template <typename Fill>
unsigned long intoBuffer(Fill fill, std::size_t size, std::size_t length, const std::string& text = "") {
    std::vector<char> buffer(size + 1, 'x');
    const unsigned long rc = fill(buffer.data(), size);
    const std::size_t from = rc ? 0 : length;
    EXPECT_EQ(std::string(size - from, rc ? 'x' : '\0'), std::string(buffer.data() + from, size - from)) << size;
    EXPECT_EQ('x', buffer[size]);
    EXPECT_TRUE(rc || text.empty() || text == std::string(buffer.data(), length)) << std::string(buffer.data(), size);
    return rc;
}

TEST_F(TokenStoreTest, TokenStringsRoundTripOneEntry) {
    const std::vector<std::string> cases[] = {
        {std::string(255, 'n'), std::string(1023, 'c'), std::string(255, 'u'), std::string(127, 't')},
        {"cs<&>\"'", "client name", "d\xe9j\xe0", "t\x01\x7f"},  // escaped in the document
    };
    for (const auto& c : cases)
        EXPECT_EQ(c[0] + "|" + c[1] + "|" + c[2] + "|" + c[3], entryOf(build(c[0], c[1], c[2], c[3])));
    // A value longer than its field would be another login: refused, not cut.
    std::string out = "kept";
    EXPECT_EQ(kInvalid, VSDKConstructTokenWrapper("cs1", "", "u", std::string(128, 't').c_str(), out));
    EXPECT_EQ("kept", out);
    EXPECT_EQ(kInvalid, destructVSDKTokenString(out, nullptr));
    EXPECT_EQ(kInvalid, getVSDKTokenInfoWS(out, nullptr));

    // The destructor wants exactly one entry; the listing takes the last.
    const _VSDKTokenFileContents one = makeEntry("cs1", "u1", "t1", "c1"), two = makeEntry("cs2", "u2", "t2", "c2");
    EXPECT_EQ("cs1|c1|u1|t1", entryOf(withEntries({one})));
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
}

TEST_F(TokenStoreTest, BadTokenStringsAreRefusedAndNoFileIsTouched) {
    ASSERT_EQ(0u, setVSDKTokenInfo(makeEntry("localhost", "alice", "stored"), ""));
    const std::string storeBefore = fileBytes(storePath());
    auto files = [this] { return std::distance(std::filesystem::directory_iterator(baseDir()), {}); };
    const auto filesBefore = files();

    std::string good = build("localhost", "", "alice", "from-string");
    std::string altered = good;
    altered[good.size() / 2] = altered[good.size() / 2] == 'a' ? 'b' : 'a';
    // The destructor refuses each with 0x274; the listing and the look-up
    // tell one that does not parse (0x208).
    const std::pair<std::string, unsigned long> cases[] = {
        {altered, kEntries}, {std::string(20000, 'a'), kEntries}, {encrypted("<not a list"), kCorrupt}};
    for (const auto& [tokenString, rc] : cases) {
        SCOPED_TRACE(tokenString.substr(0, 20));
        _VSDKTokenFileContents e;
        EXPECT_EQ(kEntries, destructVSDKTokenString(tokenString, &e));
        EXPECT_EQ(rc, getVSDKTokenInfoWS(tokenString, &e));
        const Lookup r = lookup("localhost", "", tokenString);
        EXPECT_EQ(rc, r.rc);
        EXPECT_EQ("", r.path);
        EXPECT_EQ('\0', e.token[0]);
    }
    EXPECT_EQ(storeBefore, fileBytes(storePath()));
    EXPECT_EQ(filesBefore, files());
    EXPECT_EQ("from-string", lookup("LOCALHOST", "", good).token);  // the failing twin
}

TEST_F(TokenStoreTest, BufferFormsFillWithinTheirSizeAndDefaults) {
    const std::size_t length = build("cs1", "c1", "alice", "tok").size();  // the nonce changes no length
    auto construct = [](char* buffer, std::size_t size) {
        return VSDKConstructTokenWrapper_NOSTL("cs1", "c1", "alice", "tok", buffer, size);
    };
    for (std::size_t size : {length, length + 1, length + 10})
        EXPECT_EQ(size > length ? 0u : kInvalid, intoBuffer(construct, size, length));
    EXPECT_EQ(kInvalid, construct(nullptr, 100000));

    const std::string token = "session-token-42";
    const std::string ts = build("cs1.example", "", "alice", token);
    auto sessionId = [&ts](char* buffer, std::size_t size) {
        return VSDKGetSessionIdFromToken_NOSTL(ts.c_str(), buffer, size, "CS1.example");
    };
    for (std::size_t size : {std::size_t{0}, token.size(), token.size() + 1, token.size() + 8})
        EXPECT_EQ(size > token.size() ? 0u : kInvalid, intoBuffer(sessionId, size, token.size(), token));
    EXPECT_EQ(kInvalid, sessionId(nullptr, 64));

    // Null texts count as empty.
    std::vector<char> buffer(12800);
    ASSERT_EQ(0u, VSDKConstructTokenWrapper_NOSTL(nullptr, nullptr, nullptr, nullptr, buffer.data(), buffer.size()));
    EXPECT_EQ("|||", entryOf(buffer.data()));

    // The session id defaults to the registry's Mardock and to the store.
    setRegistryMardock("localhost", "ownclient");
    const std::string listing =
        withEntries({makeEntry("other.example", "u", "other"), makeEntry("LocalHost", "u", "own")});
    ASSERT_EQ(0u, setVSDKTokenInfo(makeEntry("localhost", "alice", "from-store"), ""));
    char out[32];
    EXPECT_EQ(0u, VSDKGetSessionIdFromToken_NOSTL(listing.c_str(), out, sizeof out, nullptr));
    EXPECT_STREQ("own", out);
    EXPECT_EQ(0u, VSDKGetSessionIdFromToken_NOSTL(nullptr, out, sizeof out, "localhost"));
    EXPECT_STREQ("from-store", out);
}

TEST_F(TokenStoreTest, NoTokenIsDumpedOrLoggedAtAnyLevel) {
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
    // Nor do the entry's dump and the store operations.
    EXPECT_EQ("\nMardock:[localhost]\nUser:[alice]\nCsClientName:[client]", e.c_str());
    ASSERT_EQ(0u, setVSDKTokenInfo(e, ""));
    ASSERT_EQ(0u, updateVSDKTokenInfo(e, "localhost", "", true));
    expectNoTokenInLog(token);
}

}  // namespace
