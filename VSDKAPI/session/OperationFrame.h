// The frame every exported request operation follows around the exchange.
//
// An exported operation opens with openOperation (the calling thread's state,
// looked up once: 0x280 without; its pointers: 0x303 for a null one), logs
// its parameter dump with logParameters, builds its request (fillSession +
// body rows), and hands the request to runOperation with an OperationSpec
// naming how it differs: its function name, failure phrase, and the named
// deviations below. The reply type expected is the request's paired reply in
// its family table.
#pragma once

#include "Exchange.h"
#include "VSDKAPI/messages/CommonFields.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKErrors/VSDKErrors.h"

#include <atomic>
#include <climits>
#include <memory>
#include <new>
#include <string>
#include <type_traits>
#include <utility>

struct OperationSpec {
    const char* function;          // passed with each log line, e.g. "VSDKAgeData()";
                                   // null: the lines carry no function name
    const char* failurePhrase;     // "<phrase> failed with Error code [0x%x] Error string [%s]"
    FieldId errorField = msgf::kReplyError;
    // The failure line carries the code's fixed text instead of the server's.
    bool failureLineFixedText = false;
    // The server's error text is stored as the thread's last error on success too.
    bool storeErrorTextOnSuccess = false;
    // Logged at level 0 with the exchange's code when the exchange fails
    // (e.g. ":SendAndReceive() Failed error code [%lu]"); null: nothing.
    const char* exchangeFailureFormat = nullptr;
    ExchangeOptions exchange = ExchangeOptions();
};

// The calling thread's state record, or null.
VSDKAPIGlobalData* threadState();

// A null record or output pointer: stores the fixed text of 0x303 as the
// thread's last error, logs it and returns 0x303.
unsigned long invalidArgument(VSDKAPIGlobalData& state, const char* function);

// The opening of every exported operation: state becomes the calling
// thread's state record (0x280 when it has none: nothing is logged or sent);
// then every pointer given must be non-null (0x303 otherwise). 0: go on.
template <class... Pointers>
unsigned long openOperation(VSDKAPIGlobalData*& state, const char* function,
                            const Pointers*... pointers) {
    state = threadState();
    if (!state) return vsdkerr::kNotInitialized;
    const bool allSet = ((pointers != nullptr) && ...);
    return allSet ? 0 : invalidArgument(*state, function);
}

// The record's parameter dump at level 6, e.g. "Parameters of the Backup
// Operation:%s"; the dump is built only when level 6 is written.
template <class Record>
void logParameters(VSDKAPIGlobalData& state, const char* function, const char* format,
                   const Record& record) {
    QEvDebug& log = state.getEvDebug();
    if (log.getDebugLevel() < 6) return;
    log.debugLvl(function, 6, format, record.c_str().c_str());
}

// The paired reply type of a request, from its family table (0: none).
unsigned long pairedReplyTag(const CNMessageBase& request);

// Whether the session object carries the thread's multi-domain token.
enum class MultiDomain { Never, WhenHeld };

// Fills the session object (2,2) of a request of module 5, 6 or 10 field by
// field: (6,15)/(7,16) when the thread holds a token and md allows, then session
// id, 1, Mardock name and GUID.
void fillSession(VSDKAPIGlobalData& state, CNMessageBase& request, MultiDomain md);

// The two setSessionInfo forms, told apart by the session object's tag code
// (OrvaneOperations: only the fields the thread has; OrvaneUtilities: all six).
void setSessionInfo(CNMessageBase& session, VSDKAPIGlobalData state);

// Reads the code and text of the reply's error object at field. A reply
// without one reports no error (code 0). A reply that holds anything else
// there, or an error object whose code is not a number at its slot, is malformed: its
// response line is logged and false returned, so that a failure the server
// may have meant is never taken for success (the caller answers it as
// invalidReply does).
bool readReplyError(VSDKAPIGlobalData& state, const CNMessageBase& reply, FieldId field,
                    unsigned long& code, std::string& text);

// The failure line "<phrase> failed with Error code [0x%x] Error string [%s]"
// at level 0.
void logFailure(VSDKAPIGlobalData& state, const char* function, const char* phrase,
                unsigned long code, const char* text);

// A reply of the right type whose content is not what the operation reads:
// 0x207 with its fixed text as the last error and the failure line.
unsigned long invalidReply(VSDKAPIGlobalData& state, const OperationSpec& spec);

struct NoServerFailureValues {
    void operator()(unsigned long) const {}
};

// Frame steps 5 to 8: exchange, error object, failure line and last error,
// then onSuccess(reply), whose own code (when it returns one) is the result.
// onServerFailure(code) sets the operation's failure out-values; one that
// takes (code, reply) may also copy what the refusing reply carries. The
// reply is released on every path.
template <class OnSuccess, class OnServerFailure = NoServerFailureValues>
unsigned long runOperation(VSDKAPIGlobalData& state, const OperationSpec& spec,
                           CNMessageBase& request, OnSuccess&& onSuccess,
                           OnServerFailure&& onServerFailure = OnServerFailure()) {
    CNMessageBase* raw = nullptr;
    unsigned long rc = exchange(state, state.getVSDKHandle().network, request,
                                pairedReplyTag(request), raw, spec.exchange);
    std::unique_ptr<CNMessageBase> reply(raw);
    if (rc != 0) {
        if (spec.exchangeFailureFormat) {
            state.getEvDebug().debugLvl(spec.function, 0, spec.exchangeFailureFormat, rc);
        }
        return rc;
    }
    if (!reply) return vsdkerr::kInvalidResponse;

    unsigned long code = 0;
    std::string text;
    if (!readReplyError(state, *reply, spec.errorField, code, text)) {
        return invalidReply(state, spec);
    }
    if (code != 0) {
        if constexpr (std::is_invocable_v<OnServerFailure&, unsigned long, const CNMessageBase&>) {
            onServerFailure(code, static_cast<const CNMessageBase&>(*reply));
        } else {
            onServerFailure(code);
        }
        state.setErrorString(text);
        logFailure(state, spec.function, spec.failurePhrase, code,
                   spec.failureLineFixedText ? GetErrorString(code) : text.c_str());
        return code;
    }
    if (spec.storeErrorTextOnSuccess) state.setErrorString(text);
    if constexpr (std::is_void_v<decltype(onSuccess(*reply))>) {
        onSuccess(*reply);
        return 0;
    } else {
        return onSuccess(*reply);
    }
}

// Test seam: while above zero, each allocation for the caller (a listing's
// array, a result record) fails (and counts down), once the allocations still
// allowed before it (counting down too) have been made.
extern std::atomic<int> g_failListingAllocations;
extern std::atomic<int> g_listingAllocationsBeforeFailure;

// The id a successful creation reply names at field, cut to its low 32 bits.
// A reply that names none (or names it with something other than a number,
// or at another slot) is no success: invalidReply's 0x207, id untouched.
unsigned long takeCreatedId(VSDKAPIGlobalData& state, const OperationSpec& spec,
                            const CNMessageBase& reply, FieldId field, int& id);

// Hands the caller what make() allocates (with new (std::nothrow)). When
// that fails: the failure line with 0x201 and its fixed text (the thread's
// last error unchanged), out null, 0x201.
template <class T, class Make>
unsigned long allocateForCaller(VSDKAPIGlobalData& state, const char* function, const char* phrase,
                                T*& out, Make&& make) {
    T* made = nullptr;
    if (g_failListingAllocations.load() > 0 && g_listingAllocationsBeforeFailure.load() > 0) {
        --g_listingAllocationsBeforeFailure;
        made = make();
    } else if (g_failListingAllocations.load() > 0) {
        --g_failListingAllocations;
    } else {
        made = make();
    }
    out = made;
    if (!made) {
        logFailure(state, function, phrase, vsdkerr::kInternal, GetErrorString(vsdkerr::kInternal));
        return vsdkerr::kInternal;
    }
    return 0;
}

// The most one listing makes for the caller in one array: 1 GiB of records.
// A reply's entry count sizes the array, and records are large (names of
// 1,024 bytes): a reply of empty entries must not make the caller allocate
// gigabytes. The 16 MiB reply limit keeps a listing whose entries carry
// their names below it.
constexpr std::size_t kMaxListingBytes = std::size_t{1} << 30;

// Whether count elements of T stay within kMaxListingBytes.
template <class T>
constexpr bool withinListingBound(std::size_t count) {
    return count <= kMaxListingBytes / sizeof(T);
}

// Listing convention: count default-constructed elements made with new[]
// for the caller, released with delete[]. Past kMaxListingBytes nothing is
// made: the allocation fails (0x201) before any record exists.
template <class T>
unsigned long allocateListing(VSDKAPIGlobalData& state, const char* function, const char* phrase,
                              T*& out, std::size_t count) {
    return allocateForCaller(state, function, phrase, out, [count]() -> T* {
        return withinListingBound<T>(count) ? new (std::nothrow) T[count] : nullptr;
    });
}

// One default-constructed result record made with new for the caller,
// released with delete.
template <class T>
unsigned long allocateRecord(VSDKAPIGlobalData& state, const char* function, const char* phrase,
                             T*& out) {
    return allocateForCaller(state, function, phrase, out, [] { return new (std::nothrow) T(); });
}

// The listing course: how one listing differs from the others.
template <class Record>
struct ListingSpec {
    OperationSpec operation;       // function (log tag), phrase of the server-failure line, deviations
    const char* allocationPhrase;  // phrase of the 0x201 line
    FieldId list;                  // the reply's list of entries
    unsigned long entryTag;        // every entry must be of this type (else 0x207)
    void (*copy)(const CNMessageBase& entry, Record& record);
    // Entries that hold lists of their own: whether those hold what copy reads.
    bool (*entryWellFormed)(const CNMessageBase& entry) = nullptr;
};

// Reads the reply's list of entries into a new array (not yet handed out):
// n receives the number of entries; none leaves array null; else the array is
// made (0x201 as allocateListing says) and record i filled from entry i, in
// reply order. A list that holds something other than its entries is an
// invalid reply (0x207) and makes nothing.
template <class Record>
unsigned long readListing(VSDKAPIGlobalData& state, const ListingSpec<Record>& spec,
                          const CNMessageBase& reply, Record*& array, std::size_t& n) {
    array = nullptr;
    const std::vector<CNMessageBase>* entries = msgf::findList(reply, spec.list);
    n = entries ? entries->size() : 0;
    bool wellFormed = entries || !msgf::has(reply, spec.list);
    for (std::size_t i = 0; wellFormed && i < n; ++i) {
        wellFormed = (*entries)[i].getTagID() == spec.entryTag &&
                     (!spec.entryWellFormed || spec.entryWellFormed((*entries)[i]));
    }
    if (!wellFormed || n > static_cast<std::size_t>(INT_MAX)) {
        n = 0;
        return invalidReply(state, spec.operation);
    }
    if (n == 0) return 0;
    const unsigned long rc =
        allocateListing(state, spec.operation.function, spec.allocationPhrase, array, n);
    if (rc != 0) return rc;
    std::unique_ptr<Record[]> filling(array);  // freed if a copy throws
    for (std::size_t i = 0; i < n; ++i) spec.copy((*entries)[i], array[i]);
    filling.release();
    return 0;
}

// Exchanges request; on a server error: code, last error, failure line, count
// and array untouched. Otherwise stores the number of entries in count; none
// leaves out alone; else makes the array (0x201 as allocateListing says) and
// fills record i from entry i, in reply order. A list that holds something
// other than its entries is an invalid reply (0x207): nothing is handed out.
template <class Record>
unsigned long runListing(VSDKAPIGlobalData& state, const ListingSpec<Record>& spec,
                         CNMessageBase& request, Record*& out, int& count) {
    return runOperation(state, spec.operation, request,
                        [&](const CNMessageBase& reply) -> unsigned long {
                            Record* array = nullptr;
                            std::size_t n = 0;
                            const unsigned long rc = readListing(state, spec, reply, array, n);
                            if (rc == vsdkerr::kInvalidResponse) return rc;
                            count = static_cast<int>(n);
                            if (rc != 0) {
                                out = nullptr;
                                return rc;
                            }
                            if (n != 0) out = array;
                            return 0;
                        });
}
