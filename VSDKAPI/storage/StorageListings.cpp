// The storage policies and the copies of one policy, and the two C-string
// forms of the policy listing for callers without library containers.
#include "VSDK/Startup.h"
#include "VSDK/Login.h"
#include "VSDK/Storage.h"

#include "VSDKAPI/messages/FieldRows.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "VSDKErrors/ExportGuard.h"

#include <cstring>
#include <memory>

using namespace OrvaneUtilities;
using namespace fieldrows;

namespace {

using Policy = _QStoragePolicyInfo;
using Copy = _QStoragePolicyCopyInfo;

const TakeRow<Policy> kPolicyEntry[] = {
    {StoragePolicyEntry::kId, take<&Policy::id>},
    {StoragePolicyEntry::kName, take<&Policy::name>},
    {StoragePolicyEntry::kType, take<&Policy::type>},
    {StoragePolicyEntry::kAttribute, take<&Policy::attribute>},
    {StoragePolicyEntry::kFlags, take<&Policy::flags>},
};

const TakeRow<Copy> kCopyEntry[] = {
    {StoragePolicyCopyEntry::kId, take<&Copy::id>},
    {StoragePolicyCopyEntry::kName, take<&Copy::name>},
    {StoragePolicyCopyEntry::kAttribute, take<&Copy::attribute>},
    {StoragePolicyCopyEntry::kSnapCopy, take<&Copy::isSnapCopy>},
    {StoragePolicyCopyEntry::kMirrorCopy, take<&Copy::isMirrorCopy>},
};

const ListingSpec<Policy> kPolicyListing{
    {"VSDKGetStoragePolicies()", "Retrival of Storage Policies"},
    "Retrival of Storage Policies",
    GetStoragePoliciesResp::kList,
    QStoragePolicy::kTag,
    [](const CNMessageBase& entry, Policy& record) { takeRows(entry, kPolicyEntry, record); }};

const ListingSpec<Copy> kCopyListing{
    {"VSDKGetStoragePolicyCopies()", "Retrival of Primary Copies"},
    "Retrival of Primary Copies",
    GetStoragePolicyCopiesResp::kList,
    QStoragePolicyCopy::kTag,
    [](const CNMessageBase& entry, Copy& record) { takeRows(entry, kCopyEntry, record); }};

// What the count form last returned on this thread: the number of buffers
// the names form may write (-1: never asked).
thread_local int t_namesBuffers = -1;

constexpr std::size_t kNameBuffer = 1024;

// The C-string forms' opening: a thread without state is started up under
// instance (the three saved-login flags clear) and logged in with flags 8,
// and keeps that state. A null pointer or an instance name that does not fit
// the start-up record is refused (0x303) rather than cut to another name.
unsigned long startedForTwin(const char* function, const char* instance, const void* out) {
    if (VSDKAPIGlobalData* state = threadState()) {
        return out ? 0 : invalidArgument(*state, function);
    }
    _QInitializeParameters init;
    if (!out || !instance) return vsdkerr::kInvalidArgument;
    const std::size_t length = strnlen(instance, sizeof init.vmName);
    if (length >= sizeof init.vmName) return vsdkerr::kInvalidArgument;
    std::memcpy(init.vmName, instance, length + 1);
    init.useTokenFile = false;
    init.useTokenString = false;
    init.useSessionFile = false;
    unsigned long rc = VSDKInitialize(&init);
    if (rc != 0) return rc;

    _QLoginParameters login;
    login.flags = 8;
    _QLoginResp result;
    return VSDKLoginApi(&login, &result);
}

// Names twin: the listing holds more policies than the caller has buffers
// for (or the thread never asked how many): nothing is written.
unsigned long tooFewBuffers(int count) {
    VSDKAPIGlobalData& state = *threadState();
    const char* function = "VSDKGetStoragePolicies_NOSTL()";
    const std::string text =
        t_namesBuffers < 0
            ? "No storage policy count was asked for on this thread; call "
              "VSDKGetStoragePoliciesCount_NOSTL first."
            : "There are " + std::to_string(count) + " storage policies but only " +
                  std::to_string(t_namesBuffers) +
                  " buffers were counted; call VSDKGetStoragePoliciesCount_NOSTL again.";
    state.setErrorString(text);
    logFailure(state, function, "Copy of Storage Policy names", vsdkerr::kInvalidArgument,
               text.c_str());
    return vsdkerr::kInvalidArgument;
}

}  // namespace

VSDK_API unsigned long VSDKGetStoragePolicies(_QStoragePolicyInfo** policies, int* count) {
    return vsdkguard::guarded("VSDKGetStoragePolicies()", [&]() -> unsigned long {
        VSDKAPIGlobalData* state = nullptr;
        if (unsigned long rc = openOperation(state, "VSDKGetStoragePolicies()", policies, count)) {
            return rc;
        }
        QGetStoragePoliciesReqMsg request;
        fillSession(*state, request, MultiDomain::Never);
        msgf::putInt(request, StoragePolicySelector::kConstant, 2);
        return runListing(*state, kPolicyListing, request, *policies, *count);
    });
}

VSDK_API unsigned long VSDKGetStoragePolicyCopies(const _QStoragePolicyInfo* policy,
                                                  _QStoragePolicyCopyInfo** copies, int* count) {
    return vsdkguard::guarded("VSDKGetStoragePolicyCopies()", [&]() -> unsigned long {
        VSDKAPIGlobalData* state = nullptr;
        if (unsigned long rc =
                openOperation(state, "VSDKGetStoragePolicyCopies()", policy, copies, count)) {
            return rc;
        }
        QGetStoragePolicyCopiesReqMsg request;
        fillSession(*state, request, MultiDomain::Never);
        msgf::putInt(request, StoragePolicySelector::kConstant, 2);
        msgf::putInt(request, StoragePolicySelector::kPolicyId, policy->id);
        msgf::putText(request, StoragePolicySelector::kPolicyName, policy->name);
        return runListing(*state, kCopyListing, request, *copies, *count);
    });
}

VSDK_API unsigned long VSDKGetStoragePoliciesCount_NOSTL(const char* instanceName, int* count) {
    return vsdkguard::guarded("VSDKGetStoragePoliciesCount_NOSTL()", [&]() -> unsigned long {
        unsigned long rc = startedForTwin("VSDKGetStoragePoliciesCount_NOSTL()", instanceName, count);
        if (rc != 0) return rc;
        _QStoragePolicyInfo* list = nullptr;
        rc = VSDKGetStoragePolicies(&list, count);
        delete[] list;
        if (rc == 0) t_namesBuffers = *count;
        return rc;
    });
}

VSDK_API unsigned long VSDKGetStoragePolicies_NOSTL(const char* instanceName, char** names) {
    return vsdkguard::guarded("VSDKGetStoragePolicies_NOSTL()", [&]() -> unsigned long {
        unsigned long rc = startedForTwin("VSDKGetStoragePolicies_NOSTL()", instanceName, names);
        if (rc != 0) return rc;
        _QStoragePolicyInfo* raw = nullptr;
        int count = 0;
        rc = VSDKGetStoragePolicies(&raw, &count);
        std::unique_ptr<_QStoragePolicyInfo[]> list(raw);
        if (rc != 0) return rc;
        if (t_namesBuffers < 0 || count > t_namesBuffers) return tooFewBuffers(count);
        for (int i = 0; i < count; ++i) {
            if (!names[i]) return invalidArgument(*threadState(), "VSDKGetStoragePolicies_NOSTL()");
        }
        for (int i = 0; i < count; ++i) {
            msgf::copyBounded(names[i], kNameBuffer, msgf::boundedText(list[i].name));
        }
        return 0;
    });
}
