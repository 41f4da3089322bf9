// The token store: path, reader and writer, look-up, append, replace and
// remove; and the whole-file helpers readData and writeData.

#include "TokenStore.h"

#include "RecordDump.h"
#include "TokenStoreInternal.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/VSDKLogin.h"
#include "VSDKAPIGlobalData/VSDKAPIGlobalData.h"
#include "VSDKErrors/MessageLogging.h"
#include "VSDKErrors/VSDKErrors.h"
#include "platform/CPvIPAddr.h"
#include "platform/RKPassword.h"
#include "platform/RKPlatformInfo.h"
#include "platform/RkcScrambler.h"
#include "VSDKErrors/ExportGuard.h"

#include <fcntl.h>
#include <pwd.h>
#include <strings.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace {

const char kLookupTag[] = "getVSDKTokenInfo";
const char kAppendTag[] = "setVSDKTokenInfo()";
const char kUpdateTag[] = "updateVSDKSessionInfo()";
const char kReaderTag[] = "readAndDescrambleData()";
const char kWriterTag[] = "scrambleAndWriteData()";

// ---- entries ---------------------------------------------------------------

std::string entryValue(const CNMessageBase& m, FieldId f) {
    return tokenstore::upToZero(msgf::getText(m, f));
}

}  // namespace

namespace tokenstore {

std::string upToZero(const std::string& value) {
    const std::size_t zero = value.find('\0');
    return zero == std::string::npos ? value : value.substr(0, zero);
}

CNMessageBase makeEntryMessage(const _VSDKTokenFileContents& entry) {
    VSDKLogin::QLoginTokenInfo m;
    fillEntryMessage(m, entry);
    return m;
}

// Each value goes with its terminating zero byte, as the record holds it.
void fillEntryMessage(CNMessageBase& m, const _VSDKTokenFileContents& entry) {
    auto withZero = [](const char* array, std::size_t bound) {
        std::string v = msgf::boundedText(array, bound);
        v.push_back('\0');
        return v;
    };
    msgf::putText(m, VSDKLogin::kTokenMardock, withZero(entry.mardockName, sizeof entry.mardockName));
    msgf::putText(m, VSDKLogin::kTokenClientName,
                  withZero(entry.mardockClientName, sizeof entry.mardockClientName));
    msgf::putText(m, VSDKLogin::kTokenUser, withZero(entry.user, sizeof entry.user));
    msgf::putBytes(m, VSDKLogin::kTokenToken, withZero(entry.token, sizeof entry.token));
}

_VSDKTokenFileContents entryFromMessage(const CNMessageBase& m, bool withUser) {
    _VSDKTokenFileContents out;
    msgf::copyBounded(out.mardockClientName, entryValue(m, VSDKLogin::kTokenClientName));
    msgf::copyBounded(out.mardockName, entryValue(m, VSDKLogin::kTokenMardock));
    if (withUser) msgf::copyBounded(out.user, entryValue(m, VSDKLogin::kTokenUser));
    msgf::copyBounded(out.token, upToZero(msgf::getBytes(m, VSDKLogin::kTokenToken)));
    return out;
}

bool parseStoreText(const std::string& text, CNMessageBase& all) {
    if (all.unserialize(text) != 0) return false;
    if (all.getTagID() != VSDKLogin::QAllTokenInfo::kTag) return false;
    if (const std::vector<CNMessageBase>* list = msgf::findList(all, VSDKLogin::kAllTokenList)) {
        for (const CNMessageBase& e : *list) {
            if (e.getTagID() != VSDKLogin::QLoginTokenInfo::kTag) return false;
        }
    }
    return true;
}

unsigned long decryptTokenString(const std::string& tokenString, std::string& text) {
    // Nothing longer than encryptStrong's output fits its buffer.
    if (tokenString.size() >= kStoreBufferSize) return vsdkerr::kTokenStringEntries;
    std::string plain;
    if (RKPassword::decrypt(tokenString, plain) != 0) return vsdkerr::kTokenStringEntries;
    plain = upToZero(plain);
    if (plain.size() >= kDecryptBufferSize) return vsdkerr::kTokenStringEntries;
    text.swap(plain);
    return 0;
}

unsigned long readTokenString(QEvDebug& log, const char* tag, const std::string& tokenString,
                              CNMessageBase& all) {
    std::string text;
    if (decryptTokenString(tokenString, text) != 0) {
        log.debugLvl(tag, 0, "Failed to decrypt the token string");
        return vsdkerr::kTokenStringEntries;
    }
    if (CNMessageBase::Initialize() != 0) {
        log.debugLvl(tag, 0, "Failed to initialize Xml Object");
        return vsdkerr::kTokenFileRead;
    }
    // A token string is the caller's: reported, never deleted.
    if (!parseStoreText(text, all)) {
        log.debugLvl(tag, 0, "Failed to unserialize the Token file Blob[%s]",
                     logDocument(logXMLMessage(text)).c_str());
        return vsdkerr::kTokenFileCorrupt;
    }
    return 0;
}

bool descrambleStore(const char* block, std::size_t length, std::string& text) {
    std::vector<char> plain(kStoreBufferSize, 0);
    std::size_t plainLength = 0;
    try {
        RkcScrambler scrambler;
        plainLength = scrambler.descramble(block, length, plain.data(), plain.size(), true);
    } catch (const RkcScramblerError&) {
        return false;
    }
    // The descrambler's length bounds the text; it stops at a zero byte.
    text = upToZero(std::string(plain.data(), plainLength));
    return true;
}

const std::vector<CNMessageBase>& entriesOf(const CNMessageBase& all) {
    static const std::vector<CNMessageBase> kNone;
    const std::vector<CNMessageBase>* list = msgf::findList(all, VSDKLogin::kAllTokenList);
    return list ? *list : kNone;
}

// ---- name matching ---------------------------------------------------------

namespace {

bool sameIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && strcasecmp(a.c_str(), b.c_str()) == 0;
}

}  // namespace

unsigned long findEntry(const std::vector<CNMessageBase>& list, const std::string& givenName,
                        const std::string& givenClientName, QEvDebug& log, const char* tag, MatchFor who,
                        long& index) {
    index = -1;
    const std::string name = upToZero(givenName);
    const bool lookup = who == MatchFor::Lookup;
    const char* const kInvalidServer = "Invalid Server Name.QERROR_SERVER_INVALID_SERVER_NAME.";

    // Stage 1: the host name, in any letter case.
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (sameIgnoringCase(entryValue(list[i], VSDKLogin::kTokenMardock), name)) {
            index = static_cast<long>(i);
            if (lookup) log.debugLvl(tag, 10, "Found matching token for provided CS.");
            return 0;
        }
    }

    // Stage 2: an address of an entry's host equal to the given host's address.
    CPvIPAddr given;
    if (name.empty() || CPvIPAddr::GetByName(name.c_str(), given, 0).IsError()) {
        if (lookup) {
            log.debugLvl(tag, 0, "Could not connect to the given CS [%s]. QERROR_SERVER_INVALID_SERVER_NAME.",
                         name.c_str());
        } else {
            log.debugLvl(tag, 0, "Given CS Name[%s]", name.c_str());
            log.debugLvl(tag, 0, "%s", kInvalidServer);
        }
        return vsdkerr::kCannotResolve;
    }
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string entryName = entryValue(list[i], VSDKLogin::kTokenMardock);
        std::vector<CPvIPAddr> addresses;
        if (entryName.empty() ||
            CPvIPAddr::GetAllByName(entryName.c_str(), addresses, 0).IsError()) {
            if (lookup) {
                log.debugLvl(tag, 0, "Invalid Session file CS [%s]. QERROR_SERVER_INVALID_SERVER_NAME.",
                             entryName.c_str());
            } else {
                log.debugLvl(tag, 0, "Token File CS Name[%s],Given CS Name[%s]", entryName.c_str(),
                             name.c_str());
                log.debugLvl(tag, 0, "%s", kInvalidServer);
            }
            return vsdkerr::kCannotResolve;
        }
        for (const CPvIPAddr& a : addresses) {
            if (a == given) {
                index = static_cast<long>(i);
                if (lookup)
                    log.debugLvl(tag, 10, "Found matching token for provided CS using ip address matching.");
                return 0;
            }
        }
    }

    // Stage 3: the registry's own Mardock, by its client name.
    char registryHost[256] = {0};
    RKPlatformInfo::findMardockHostName(registryHost, sizeof registryHost);
    if (!sameIgnoringCase(msgf::boundedText(registryHost), name)) return 0;
    std::string clientName = upToZero(givenClientName);
    if (clientName.empty()) {
        char registryClient[256] = {0};
        RKPlatformInfo::findMardockClientName(registryClient, sizeof registryClient);
        clientName = msgf::boundedText(registryClient);
        log.debugLvl(tag, 6,
                     "CS client name passed is empty. Retrieved Mardock client Name:[%s] from Registry",
                     clientName.c_str());
    }
    // An empty client name names no Mardock.
    if (clientName.empty()) return 0;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (sameIgnoringCase(entryValue(list[i], VSDKLogin::kTokenClientName), clientName)) {
            index = static_cast<long>(i);
            log.debugLvl(tag, 10,
                         "Found matching token for provided CS using CS client name matching.");
            return 0;
        }
    }
    return 0;
}

// ---- files -----------------------------------------------------------------

namespace {

// A template (for mkstemp and mkdtemp) of a temporary name beside path, in
// the same folder: the name of path, cut to leave room for the suffix within
// the longest name a folder entry may have.
std::string besideTemplate(const std::string& path) {
    const char kSuffix[] = ".XXXXXX";
    const std::size_t slash = path.rfind('/');
    const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t keep = std::min(path.size() - start, static_cast<std::size_t>(NAME_MAX) - (sizeof kSuffix - 1));
    return path.substr(0, start + keep) + kSuffix;
}

// Makes a missing lock file, 0600 whatever the umask: it is made under a
// temporary name, given its mode and then linked into place, so that no
// other process finds it with fewer bits. An existing one is left alone.
// Where the file system has no links it is made in place (and given its
// mode right after). False, errno set, when it cannot be made.
bool makeLockFile(const std::string& lockPath) {
    std::string temp = besideTemplate(lockPath);
    int fd = ::mkostemp(&temp[0], O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = ::fchmod(fd, S_IRUSR | S_IWUSR) == 0;
    int reason = errno;
    ::close(fd);
    bool linked = false;
    if (ok) {
        linked = ::link(temp.c_str(), lockPath.c_str()) == 0 || errno == EEXIST;
        reason = errno;
    }
    ::unlink(temp.c_str());
    if (ok && !linked && (reason == EPERM || reason == ENOTSUP || reason == EOPNOTSUPP || reason == ENOSYS)) {
        fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, S_IRUSR | S_IWUSR);
        if (fd >= 0) {
            ::fchmod(fd, S_IRUSR | S_IWUSR);
            ::close(fd);
        }
        linked = fd >= 0 || errno == EEXIST;
        reason = errno;
    }
    errno = reason;
    return ok && linked;
}

// Gives 0600 back to a lock file (open at fd) of the caller's own that lacks
// the owner's read or write bit: earlier versions made it with the umask's
// mode. False, errno set, when it is left as it is.
bool restoreLockFileMode(int fd) {
    struct stat st;
    if (::fstat(fd, &st) != 0) return false;
    const mode_t owner = S_IRUSR | S_IWUSR;
    if ((st.st_mode & owner) == owner || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) {
        errno = EACCES;
        return false;
    }
    return ::fchmod(fd, owner) == 0;
}

// The lock file at lockPath opened for reading and writing, made when it is
// missing; -1, errno set, when it cannot be.
int openLockFile(const std::string& lockPath) {
    for (int attempt = 0;; ++attempt) {
        const int fd = ::open(lockPath.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
        if (fd >= 0) {
            restoreLockFileMode(fd);  // the superuser opens it whatever its mode
            return fd;
        }
        if (attempt == 3) return -1;
        if (errno == ENOENT) {
            if (!makeLockFile(lockPath)) return -1;
        } else if (errno == EACCES) {
            // Opened for reading (or else writing) only, to give it its mode back.
            int other = ::open(lockPath.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
            if (other < 0 && errno == EACCES)
                other = ::open(lockPath.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
            if (other < 0) return -1;
            const bool restored = restoreLockFileMode(other);
            const int reason = errno;
            ::close(other);
            errno = reason;
            if (!restored) return -1;
        } else {
            return -1;
        }
    }
}

}  // namespace

StoreLock::StoreLock(const std::string& storePath) {
    m_fd = openLockFile(storePath + ".lock");
    if (m_fd < 0) return;
    int rc;
    do {
        rc = ::flock(m_fd, LOCK_EX);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

StoreLock::~StoreLock() {
    if (m_fd >= 0) ::close(m_fd);  // closing releases the lock
}

}  // namespace tokenstore

using namespace tokenstore;

namespace {

// Whole reads and writes of a descriptor (retried on interruption); a short
// transfer is a failure.
bool readWhole(int fd, char* buffer, std::size_t length, std::size_t& got) {
    got = 0;
    while (got < length) {
        const ssize_t n = ::read(fd, buffer + got, length - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        got += static_cast<std::size_t>(n);
    }
    return true;
}

bool writeWhole(int fd, const char* data, std::size_t length) {
    std::size_t done = 0;
    while (done < length) {
        const ssize_t n = ::write(fd, data + done, length - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

bool tokenstore::readRegularFile(const std::string& path, std::size_t maxSize, std::string& text) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat st;
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size >= 0 &&
              static_cast<unsigned long long>(st.st_size) <= maxSize;
    if (ok) {
        std::string content(static_cast<std::size_t>(st.st_size), '\0');
        std::size_t got = 0;
        ok = readWhole(fd, &content[0], content.size(), got);
        if (ok) text.swap(content);
    }
    ::close(fd);
    return ok;
}

// ---- entry record ------------------------------------------------------------

namespace {

using Entry = _VSDKTokenFileContents;
using recorddump::dump;

// The token is not written.
const recorddump::DumpRow<Entry> kEntryDump[] = {
    {"\nMardock:[", dump<&Entry::mardockName>, "]\n"},
    {"User:[", dump<&Entry::user>, "]\n"},
    {"CsClientName:[", dump<&Entry::mardockClientName>, "]"},
};

}  // namespace

std::string _VSDKTokenFileContents::c_str() const { return recorddump::dumpRows(kEntryDump, *this); }

_VSDKSessFileContents::_VSDKSessFileContents() {
    std::memset(mardockName, 0, sizeof mardockName);
    std::memset(user, 0, sizeof user);
    std::memset(token, 0, sizeof token);
}

// ---- store path --------------------------------------------------------------

namespace {

unsigned long buildSessionPath(char* path, const char* name, const char* tag) {
    VSDKAPIGlobalData* state = g_dataMap.current();
    if (!state) return vsdkerr::kNotInitialized;
    QEvDebug& log = state->getEvDebug();

    passwd pw;
    passwd* found = nullptr;
    std::vector<char> scratch(16384);
    const int rc = getpwuid_r(getuid(), &pw, scratch.data(), scratch.size(), &found);
    if (rc == 0 && found) {
        const std::string base = RKPI_Base::getOrvaneDirectory();
        if (base.empty()) return vsdkerr::kNoBaseFolder;
        const int n = std::snprintf(path, kPathSize, "%s/%s.%lu", base.c_str(), name,
                                    static_cast<unsigned long>(found->pw_uid));
        if (n < 0 || static_cast<std::size_t>(n) >= kPathSize) {
            std::memset(path, 0, kPathSize);
            log.debugLvl(tag, 0, "The Session File path under [%s] is longer than %zu characters.",
                         base.c_str(), kPathSize - 1);
            return vsdkerr::kTokenFileMissing;
        }
    }
    log.debugLvl(tag, 6, "GetVSDKCSSessionsFilePath():VSDK Session File Path: %s", path);
    return 0;
}

// The store path to use: tokenFilePath when given, else the calling user's
// store (then written back into tokenFilePath). ownStore tells which of the
// two it is. False: no path.
bool resolveStorePath(std::string& tokenFilePath, std::string& path, bool& ownStore) {
    ownStore = tokenFilePath.empty();
    if (!ownStore) {
        path = tokenFilePath;
        return true;
    }
    char buffer[kPathSize] = {0};
    if (GetVSDKCSSessionsFilePath(buffer) != 0 || buffer[0] == '\0') return false;
    path = buffer;
    tokenFilePath = path;
    return true;
}

// Initialises the message library and parses a store text read from path. A
// text that does not parse deletes the calling user's own store (0x208, or
// 0x20b with deleteFailedLine when that fails); a file the caller named is
// left as it is (0x208).
unsigned long parseStore(QEvDebug& log, const char* tag, const std::string& path, const std::string& text,
                         bool ownStore, const char* deleteFailedLine, const char* deletedLine,
                         CNMessageBase& all) {
    if (CNMessageBase::Initialize() != 0) {
        log.debugLvl(tag, 0, "Failed to initialize Xml Object");
        return vsdkerr::kTokenFileRead;
    }
    if (parseStoreText(text, all)) return 0;
    log.debugLvl(tag, 0, "Failed to unserialize the Token file Blob[%s]",
                     logDocument(logXMLMessage(text)).c_str());
    if (!ownStore) {
        log.debugLvl(tag, 0, "The Token file [%s] was not written by this library or is damaged; it is left as it is.",
                     path.c_str());
        return vsdkerr::kTokenFileCorrupt;
    }
    log.debugLvl(tag, 0, "Deleted the Token file.Relogin Required.");
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
        log.debugLvl(tag, 0, "%s", deleteFailedLine);
        return vsdkerr::kTokenFileDelete;
    }
    if (deletedLine) log.debugLvl(tag, 0, "%s", deletedLine);
    return vsdkerr::kTokenFileCorrupt;
}

// The store that an append, replace or remove works on, locked for the
// whole read-modify-write.
struct StoreChange {
    std::string path;
    bool ownStore = false;
    std::unique_ptr<StoreLock> lock;
};

// The folder part of a file's path ("." for none).
std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// True when folder is a folder (a link to one counts); else false with errno
// ENOTDIR, or the reason it cannot be looked at (ENOENT for a link to nothing).
bool isFolder(const std::string& folder) {
    struct stat st;
    if (::stat(folder.c_str(), &st) != 0) return false;
    if (S_ISDIR(st.st_mode)) return true;
    errno = ENOTDIR;
    return false;
}

// Renames the folder from to to unless something is at to (EEXIST then): a
// folder that another process has just made, empty yet, must not be
// replaced while that process makes its files in it. Where the file system
// cannot rename so, from is removed and to made in place (then given its
// mode, which the umask may have cut for a moment).
bool moveFolderIntoPlace(const std::string& from, const std::string& to) {
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
#endif
    ::rmdir(from.c_str());
    return ::mkdir(to.c_str(), S_IRWXU) == 0 && ::chmod(to.c_str(), S_IRWXU) == 0;
}

// Makes folder, and the folders above it that are missing, mode 0700; an
// existing folder keeps its mode. Each is made under a temporary name beside
// it, given its mode and then moved into place, so that no other process
// ever finds it without its owner's bits, whatever the umask; when another
// process has put one there first, ours is removed and theirs taken. False,
// errno set, when one cannot be made.
bool makeFolders(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    if (isFolder(folder)) return true;
    if (errno != ENOENT) return false;
    // A symbolic link to nothing: there is no folder to make in its place.
    struct stat st;
    if (::lstat(folder.c_str(), &st) == 0) {
        errno = ENOENT;
        return false;
    }
    const std::size_t slash = folder.rfind('/');
    if (slash != std::string::npos && slash > 0 && !makeFolders(folder.substr(0, slash))) return false;
    std::string temp = besideTemplate(folder);
    if (::mkdtemp(&temp[0]) == nullptr) return false;
    // The mode whatever the umask: the owner must be able to write into it.
    if (::chmod(temp.c_str(), S_IRWXU) == 0 && moveFolderIntoPlace(temp, folder)) return true;
    const int reason = errno;
    ::rmdir(temp.c_str());
    if (reason == EEXIST || reason == ENOTEMPTY) return isFolder(folder);
    errno = reason;
    return false;
}

// Logs the entry, finds the store and locks it: 0x209 (noPathLine logged)
// without a path, 0x70c when the store cannot be locked. The calling user's
// base folder is made first when it is missing (a fresh installation has
// none), as the log folder is.
unsigned long beginChange(QEvDebug& log, const char* tag, const _VSDKTokenFileContents& entry,
                          std::string tokenFilePath, const char* noPathLine, StoreChange& change) {
    log.debugLvl(tag, 6, "Token Info:[%s]", entry.c_str().c_str());
    if (!resolveStorePath(tokenFilePath, change.path, change.ownStore)) {
        log.debugLvl(tag, 0, "%s", noPathLine);
        return vsdkerr::kTokenFileMissing;
    }
    if (change.ownStore) {
        const std::string folder = folderOf(change.path);
        if (!makeFolders(folder)) {
            const int reason = errno;
            log.debugLvl(tag, 0, "Could not create the folder [%s] of the Token file: %s", folder.c_str(),
                         std::strerror(reason));
            return vsdkerr::kTokenFileCreate;
        }
    }
    change.lock.reset(new StoreLock(change.path));
    if (!change.lock->held()) {
        const int reason = errno;
        log.debugLvl(tag, 0, "Could not lock the Token file [%s]. %s", change.path.c_str(),
                     std::strerror(reason));
        return vsdkerr::kTokenFileCreate;
    }
    return 0;
}

// Serialises the changed list and replaces the store with it.
unsigned long finishChange(QEvDebug& log, const char* tag, CNMessageBase& all, const std::string& path) {
    std::string out;
    if (all.serialize(out, false) != 0) {
        log.debugLvl(tag, 0, "Failed to serialize the Session file Blob");
        return vsdkerr::kTokenFileRead;
    }
    return scrambleAndWriteData(path.c_str(), out);
}

}  // namespace

unsigned long GetVSDKCSSessionsFilePath(char* path) {
    if (!path) return vsdkerr::kTokenFileMissing;
    return buildSessionPath(path, "vsessions", "GetVSDKCSSessionsFilePath()");
}

unsigned long GetVSDKSessionFilePath(char* path) {
    if (!path) return vsdkerr::kTokenFileMissing;
    return buildSessionPath(path, "vsession", "GetVSDKSessionFilePath()");
}

// ---- reader and writer -------------------------------------------------------

unsigned long readAndDescrambleData(const char* path, std::string& text, bool ownStore) {
    QEvDebug log;
    // A path that is no regular file (a FIFO, say) must not block the open.
    const int fd = path ? ::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK) : -1;
    if (fd < 0) {
        const int saved = errno;
        log.debugLvl(kReaderTag, 1, "File Handle is NULL:Error[QERROR_API_OPENSESSFILEFAILED]");
        errno = saved;
        return vsdkerr::kTokenFileMissing;
    }

    bool damaged = false;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0 ||
        static_cast<unsigned long long>(st.st_size) > kStoreBufferSize) {
        // Of unknown length, or larger than any store this library writes.
        damaged = true;
    } else {
        const std::size_t length = static_cast<std::size_t>(st.st_size);
        std::vector<char> block(length + 1, 0);
        std::size_t got = 0;
        if (!readWhole(fd, block.data(), length, got)) {
            log.debugLvl(kReaderTag, 1,
                         "Could not Read Completely.lsize[%d], Result[%d].Error[QERROR_API_OPENSESSFILEFAILED]",
                         static_cast<int>(length), static_cast<int>(got));
            ::close(fd);
            log.debugLvl(kReaderTag, 0, "Failed to read the input file.[%s].", path);
            return vsdkerr::kTokenFileRead;
        }
        damaged = !descrambleStore(block.data(), length, text);
    }
    ::close(fd);

    if (damaged) {
        log.debugLvl(kReaderTag, 0, "Failed to decrypt the Token file");
        if (!ownStore) {
            log.debugLvl(kReaderTag, 0,
                         "The Token file [%s] was not written by this library or is damaged; it is left as it is.",
                         path);
            return vsdkerr::kTokenFileCorrupt;
        }
        if (::unlink(path) != 0 && errno != ENOENT) {
            log.debugLvl(kReaderTag, 0, "Failed to delete the Token file.");
            return vsdkerr::kTokenFileDelete;
        }
        log.debugLvl(kReaderTag, 0, "Deleted the Token file.Relogin Required.");
        return vsdkerr::kTokenFileCorrupt;
    }
    return 0;
}

unsigned long scrambleAndWriteData(const char* path, const std::string& text) {
    QEvDebug log;
    std::vector<char> block(kStoreBufferSize, 0);
    std::size_t length = 0;
    try {
        RkcScrambler scrambler;
        length = scrambler.scramble(text.data(), text.size(), block.data(), block.size(), true);
    } catch (const RkcScramblerError&) {
        log.debugLvl(kWriterTag, 0, "Failed to Encrypt the session xml Blob");
        return vsdkerr::kTokenStringEncrypt;
    }
    if (!path || !*path) {
        log.debugLvl(kWriterTag, 1, "File Handle is NULL:Error[QERROR_API_OPENSESSFILEFAILED]");
        return vsdkerr::kTokenFileCreate;
    }

    // A new 0600 file in the same folder, written completely, then renamed
    // over the store: the store is either the old one or the new one.
    std::string temp = std::string(path) + ".XXXXXX";
    const int fd = ::mkostemp(&temp[0], O_CLOEXEC);
    if (fd < 0) {
        const int reason = errno;
        log.debugLvl(kWriterTag, 1, "File Handle is NULL:Error[QERROR_API_OPENSESSFILEFAILED]");
        log.debugLvl(kWriterTag, 0, "Could not create a file in the folder [%s] of the Token file: %s",
                     folderOf(path).c_str(), std::strerror(reason));
        return vsdkerr::kTokenFileCreate;
    }
    errno = 0;
    bool ok = ::fchmod(fd, S_IRUSR | S_IWUSR) == 0 && writeWhole(fd, block.data(), length) &&
              ::fsync(fd) == 0;
    const int writeErrno = errno;
    if (::close(fd) != 0 && ok) ok = false;
    if (ok && ::rename(temp.c_str(), path) != 0) ok = false;
    if (!ok) {
        ::unlink(temp.c_str());
        if (writeErrno == EACCES)
            log.debugLvl(kWriterTag, 1,
                         "Failed to save session file: Write Failed: [ User do not have write permission on Caldora Base folder ]");
        else
            log.debugLvl(kWriterTag, 1, "Write Failed:Error[QERROR_API_OPENSESSFILEFAILED]");
        return vsdkerr::kTokenFileWrite;
    }
    // Make the rename itself durable (best effort).
    const int dfd = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return 0;
}

// ---- look-up ---------------------------------------------------------------

unsigned long getVSDKTokenInfo(_VSDKTokenFileContents& entry, std::string mardockName,
                               std::string& tokenFilePath, std::string tokenString, bool& found,
                               std::string mardockClientName) {
    QEvDebug log;
    VSDKLogin::QAllTokenInfo all;
    if (!tokenString.empty()) {
        const unsigned long rc = readTokenString(log, kLookupTag, tokenString, all);
        if (rc != 0) return rc;
    } else {
        std::string path;
        bool ownStore = false;
        if (!resolveStorePath(tokenFilePath, path, ownStore)) {
            log.debugLvl(kLookupTag, 0, "getVSDKTokenInfo().Could not fetch the Session File path.");
            return vsdkerr::kTokenFileMissing;
        }
        // The calling user's store is read under its lock, so that a damaged
        // store is deleted only while no writer is replacing it.
        std::unique_ptr<StoreLock> lock(ownStore ? new StoreLock(path) : nullptr);
        std::string text;
        unsigned long rc = 0;
        try {
            rc = readAndDescrambleData(path.c_str(), text, ownStore);
        } catch (...) {
            log.debugLvl(kLookupTag, 0, "Exception thrown from readAndDescrambleData");
            return vsdkerr::kTokenFileMissing;
        }
        if (rc == 0)
            rc = parseStore(log, kLookupTag, path, text, ownStore, "Failed to delete the Session file.", nullptr, all);
        if (rc != 0) return rc;
        log.debugLvl(kLookupTag, 10, "Searching for the CS Name [%s] in the session file [%s]",
                     upToZero(mardockName).c_str(), path.c_str());
    }

    const std::vector<CNMessageBase>& list = entriesOf(all);
    long index = -1;
    const unsigned long rc =
        findEntry(list, mardockName, mardockClientName, log, kLookupTag, MatchFor::Lookup, index);
    if (rc != 0) return rc;
    if (index < 0) {
        log.debugLvl(kLookupTag, 6, "CSName[%s] entry is not found in the Token File.",
                     upToZero(mardockName).c_str());
        return 0;
    }
    entry = entryFromMessage(list[static_cast<std::size_t>(index)], true);
    found = true;
    return 0;
}

static int getVSDKTokenInfoWrapperUnguarded(_VSDKTokenFileContents& entry, std::string mardockName,
                                            std::string& tokenFilePath, std::string tokenString,
                                            bool& found) {
    return static_cast<int>(getVSDKTokenInfo(entry, std::move(mardockName), tokenFilePath,
                                             std::move(tokenString), found, std::string()));
}

// ---- append ------------------------------------------------------------------

namespace {

// Adds entry to the store at tokenFilePath under the store's lock. With
// mardockName, the entry that matches it is replaced instead when there is
// one: the choice is made under the same lock as the write, so logins racing
// for one Mardock leave one entry.
unsigned long appendOrReplace(const _VSDKTokenFileContents& entry, const std::string* mardockName,
                              const std::string& tokenFilePath) {
    QEvDebug log;
    StoreChange change;
    unsigned long rc = beginChange(log, kAppendTag, entry, tokenFilePath,
                                   "setVSDKTokenInfo().Could not fetch the Session File path.", change);
    if (rc != 0) return rc;

    VSDKLogin::QAllTokenInfo all;
    std::string text;
    errno = 0;
    rc = readAndDescrambleData(change.path.c_str(), text, change.ownStore);
    if (rc == 0) {
        rc = parseStore(log, kAppendTag, change.path, text, change.ownStore, "Failed to delete the Token file.",
                        nullptr, all);
        if (rc != 0) return rc;
    } else {
        // Start afresh only over no store, or over the user's own store that
        // could not be descrambled (the reader has removed it). Any other
        // failure would drop the entries of a store we could not read.
        const bool missing = rc == vsdkerr::kTokenFileMissing && errno == ENOENT;
        const bool damagedOwn =
            change.ownStore && (rc == vsdkerr::kTokenFileCorrupt || rc == vsdkerr::kTokenFileDelete);
        if (!missing && !damagedOwn) return rc;
        log.debugLvl(kAppendTag, 0, "Token File does not Exist.First Login()/Could not read.");
    }
    long index = -1;
    if (mardockName) {
        const std::vector<CNMessageBase>& list = entriesOf(all);
        // A name that cannot be matched (no address) leaves the entry to be appended.
        if (findEntry(list, *mardockName, std::string(), log, kAppendTag, MatchFor::Update, index) != 0) {
            index = -1;
        }
    }
    if (index < 0) {
        msgf::appendObject(all, VSDKLogin::kAllTokenList, makeEntryMessage(entry));
    } else {
        std::vector<CNMessageBase>*& list =
            all.getlistobject(VSDKLogin::kAllTokenList.number, VSDKLogin::kAllTokenList.slot,
                              all.getTagID(), VSDKLogin::kAllTokenList.hash, true);
        fillEntryMessage((*list)[static_cast<std::size_t>(index)], entry);
    }
    return finishChange(log, kAppendTag, all, change.path);
}

}  // namespace

unsigned long setVSDKTokenInfo(_VSDKTokenFileContents entry, std::string tokenFilePath) {
    return appendOrReplace(entry, nullptr, tokenFilePath);
}

unsigned long saveVSDKTokenInfo(const _VSDKTokenFileContents& entry, const std::string& mardockName,
                                const std::string& tokenFilePath) {
    return appendOrReplace(entry, &mardockName, tokenFilePath);
}

// ---- replace and remove ----------------------------------------------------------

unsigned long updateVSDKTokenInfo(_VSDKTokenFileContents entry, std::string mardockName,
                                  std::string tokenFilePath, bool erase) {
    QEvDebug log;
    StoreChange change;
    unsigned long rc =
        beginChange(log, kUpdateTag, entry, tokenFilePath, "Could not fetch the Token File path.", change);
    if (rc != 0) return rc;

    VSDKLogin::QAllTokenInfo all;
    std::string text;
    rc = readAndDescrambleData(change.path.c_str(), text, change.ownStore);
    if (rc == 0)
        rc = parseStore(log, kUpdateTag, change.path, text, change.ownStore,
                        "Failed to delete the Token file.Error [QERROR_API_DELETESESSFILEFAILED]",
                        "[QERROR_API_SESSFILECORRUPTED]", all);
    if (rc != 0) return rc;

    std::vector<CNMessageBase>*& list =
        all.getlistobject(VSDKLogin::kAllTokenList.number, VSDKLogin::kAllTokenList.slot,
                          all.getTagID(), VSDKLogin::kAllTokenList.hash, true);
    // The entry the look-up finds for this name is the one changed.
    long index = -1;
    rc = findEntry(*list, mardockName, std::string(), log, kUpdateTag, MatchFor::Update, index);
    if (rc != 0) return rc;

    if (index < 0) {
        log.debugLvl(kUpdateTag, 0, "CSName[%s] entry is not found in the Token File; nothing to %s.",
                     upToZero(mardockName).c_str(), erase ? "remove" : "replace");
    } else if (erase) {
        list->erase(list->begin() + index);
    } else {
        fillEntryMessage((*list)[static_cast<std::size_t>(index)], entry);
    }

    if (list->empty()) {
        if (::unlink(change.path.c_str()) != 0 && errno != ENOENT) {
            log.debugLvl(kUpdateTag, 0,
                         "Failed to delete the Session file.Error [QERROR_API_DELETESESSFILEFAILED]");
            return vsdkerr::kTokenFileDelete;
        }
        return 0;
    }
    return finishChange(log, kUpdateTag, all, change.path);
}

// ---- whole files -----------------------------------------------------------------

unsigned long readData(const char* path, std::string& text) {
    QEvDebug log;
    const char tag[] = "readData()";
    // Only a regular file can be read whole: a folder has no length to
    // allocate, and the open must not wait for the writer of a FIFO.
    const int fd = path ? ::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK) : -1;
    struct stat st;
    FILE* f = nullptr;
    if (fd >= 0 && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) f = ::fdopen(fd, "rb");
    if (!f) {
        if (fd >= 0) ::close(fd);
        log.debugLvl(tag, 1, "File Handle is NULL:Error[QERROR_API_OPENSESSFILEFAILED]");
        return vsdkerr::kTokenFileMissing;
    }
    long long length = -1;
    if (fseeko(f, 0, SEEK_END) == 0) length = static_cast<long long>(ftello(f));
    if (length < 0 || fseeko(f, 0, SEEK_SET) != 0 ||
        static_cast<unsigned long long>(length) >= static_cast<unsigned long long>(SIZE_MAX)) {
        // A file whose length cannot be told cannot be read whole.
        log.debugLvl(tag, 1, "Read Buffer is NULL:Error[QERROR_API_OPENSESSFILEFAILED]");
        std::fclose(f);
        return vsdkerr::kTokenFileMissing;
    }
    char* buffer = new (std::nothrow) char[static_cast<std::size_t>(length) + 1];
    if (!buffer) {
        log.debugLvl(tag, 1, "Read Buffer is NULL:Error[QERROR_API_OPENSESSFILEFAILED]");
        std::fclose(f);
        return vsdkerr::kTokenFileMissing;
    }
    const std::size_t got = std::fread(buffer, 1, static_cast<std::size_t>(length), f);
    if (got != static_cast<std::size_t>(length)) {
        log.debugLvl(tag, 1,
                     "Could not Read Completely.lsize[%d], Result[%d].Error[QERROR_API_OPENSESSFILEFAILED]",
                     static_cast<int>(length), static_cast<int>(got));
        std::fclose(f);
        delete[] buffer;
        log.debugLvl(tag, 0, "Failed to read the input file.[%s].", path);
        return vsdkerr::kTokenFileRead;
    }
    buffer[got] = '\0';
    text.assign(buffer);
    std::fclose(f);
    delete[] buffer;
    return 0;
}

unsigned long writeData(const char* path, std::string text) {
    QEvDebug log;
    const char tag[] = "writeData()";
    if (log.getDebugLevel() > 5) log.debugLvl(tag, 6, "xml Input:[%s]", logWholeDocument(upToZero(text)).c_str());
    const int fd = path ? ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600) : -1;
    if (fd < 0) {
        log.debugLvl(tag, 1, "File Handle is NULL:Error[QERROR_API_OPENSESSFILEFAILED]");
        return vsdkerr::kTokenFileMissing;
    }
    const std::string body = upToZero(text);
    if (!body.empty() && !writeWhole(fd, body.data(), body.size())) {
        ::close(fd);
        log.debugLvl(tag, 1, "Write Failed:Error[QERROR_API_OPENSESSFILEFAILED]");
        return vsdkerr::kTokenFileWrite;
    }
    if (::close(fd) != 0) {
        log.debugLvl(tag, 1, "Write Failed:Error[QERROR_API_OPENSESSFILEFAILED]");
        return vsdkerr::kTokenFileWrite;
    }
    return 0;
}

// The exports: no exception leaves them.

int getVSDKTokenInfoWrapper(_VSDKTokenFileContents& entry, std::string mardockName,
                            std::string& tokenFilePath, std::string tokenString, bool& found) {
    return vsdkguard::guarded("getVSDKTokenInfoWrapper", static_cast<int>(vsdkerr::kInternal),
                              [&]() -> int {
                                  return getVSDKTokenInfoWrapperUnguarded(
                                      entry, mardockName, tokenFilePath, tokenString, found);
                              });
}
