// The software update job on one client: its job id reaches the caller and
// the log whole, 64 bits wide.
#include "VSDK/Admin.h"

#include "VSDKAPI/backup/JobStart.h"
#include "VSDKAPI/messages/FieldRows.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "VSDKAPIUtils/RecordDump.h"
#include "VSDKErrors/ExportGuard.h"

using namespace fieldrows;
using namespace recorddump;
namespace BrevantUpdate = OrvaneUtilities::BrevantUpdate;

namespace {

using Update = _QBrevantUpdateParameters;

const FieldRow<Update> kUpdateFields[] = {
    {BrevantUpdate::kClientId, put<&Update::clientId>},
    {BrevantUpdate::kClientName, put<&Update::clientName>},
    {BrevantUpdate::kExtendedOptions, put<&Update::extendedOptions>},
    {BrevantUpdate::kReboot, put<&Update::reboot>},
};

const DumpRow<Update> kUpdateDump[] = {
    {"\nClient Id:[", dump<&Update::clientId>, "]\n"},
    {"Client Name:[", dump<&Update::clientName>, "]\n"},
    {"Extended Options:[", dump<&Update::extendedOptions>, "]\n"},
    {"Reboot:[", dump<&Update::reboot>, "]"},
};

}  // namespace

std::string _QBrevantUpdateParameters::c_str() const { return dumpRows(kUpdateDump, *this); }

VSDK_API unsigned long VSDKBrevantUpdate(const _QBrevantUpdateParameters* params, long* outJobId) {
    // The failure line carries the code's fixed text; the last error, the server's.
    static const OperationSpec kSpec{"VSDKBrevantUpdate()", "Brevant Update", msgf::kReplyError,
                                     /*failureLineFixedText=*/true};
    static const StartedLine kStarted{kSpec.function, 0, "Brevant Update Started with job Id:[%lld]"};
    return vsdkguard::guarded(kSpec.function, [&]() -> unsigned long {
        VSDKAPIGlobalData* state = nullptr;
        OrvaneUtilities::QBrevantUpdateReqMsg request;
        if (unsigned long rc = openOperation(state, kSpec.function, params, outJobId)) return rc;
        logParameters(*state, kSpec.function, "Parameters of Brevant Update:%s", *params);
        fillSession(*state, request, MultiDomain::WhenHeld);
        msgf::putInt(request, BrevantUpdate::kConstant, 2);
        putRows(request, kUpdateFields, *params);
        long long jobId = *outJobId;
        const unsigned long rc = runJobStart(*state, kSpec, request, jobId, kStarted);
        *outJobId = static_cast<long>(jobId);
        return rc;
    });
}
