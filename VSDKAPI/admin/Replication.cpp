// Replication control (an action on a set or pair) and the creation of
// replication sets and pairs. Each returns only the server's code.
#include "VSDK/Replication.h"

#include "VSDKAPI/messages/FieldRows.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "VSDKAPIUtils/RecordDump.h"
#include "VSDKErrors/ExportGuard.h"

using namespace fieldrows;
using namespace recorddump;

namespace {

using Control = _QReplicationParameters;
using RepSet = _QCreateRepSetParameters;
using RepSetNew = _QCreateRepSetNewParameters;
using RepPair = _QCreateReplicationPairParameters;

const DumpRow<Control> kControlDump[] = {
    {"\nReplication Set ID:[", dump<&Control::repSetId>, "]\n"},
    {"Replication Set Name:[", dump<&Control::repSetName>, "]\n"},
    {"Replication Pair ID:[", dump<&Control::repPairId>, "]\n"},
    {"Replication Pair Name:[", dump<&Control::repPairName>, "]\n"},
    {"Action:[", dump<&Control::action>, "]\n"},
    {"TimeStamp:[", dump<&Control::timeStamp>, "]\n"},
    {"Current status:[", dump<&Control::currentStatus>, "]\n"},
};

// Rows in the order the fields are set.
namespace rep = OrvaneOperations::Replication;
const FieldRow<Control> kControlFields[] = {
    {rep::kAction, put<&Control::action>},
    {rep::kRepSetId, put<&Control::repSetId>},
    {rep::kRepSetName, put<&Control::repSetName>},
    {rep::kRepPairId, put<&Control::repPairId>},
    {rep::kRepPairName, put<&Control::repPairName>},
    {rep::kTimeStamp, put<&Control::timeStamp>},
    {rep::kCurrentStatus, put<&Control::currentStatus>},
};

namespace cs = OrvaneUtilities::CreateRepSet;
const FieldRow<RepSet> kRepSetFields[] = {
    {cs::kRepSetText, put<&RepSet::repSetText>},
    {cs::kClientName, put<&RepSet::clientName>},
    {cs::kAppTypeId, put<&RepSet::appTypeId>},
    {cs::kCommonText, put<&RepSet::commonText>},
};

namespace csn = OrvaneUtilities::CreateRepSetNew;
const FieldRow<RepSetNew> kRepSetNewFields[] = {
    {csn::kRepSetText, put<&RepSetNew::repSetText>},
    {csn::kClientName, put<&RepSetNew::clientName>},
    {csn::kClientId, put<&RepSetNew::clientId>},
    {csn::kAppTypeId, put<&RepSetNew::appTypeId>},
    {csn::kAppName, put<&RepSetNew::appName>},
    {csn::kCommonText, put<&RepSetNew::commonText>},
    {csn::kValue2, put<&RepSetNew::value2>},  // unsigned: widened without its sign
    {csn::kText1, put<&RepSetNew::text1>},
    {csn::kFilterPaths, put<&RepSetNew::filterPaths>},  // whole, also when empty
    {csn::kOperationId, put<&RepSetNew::operationId>},
    {csn::kValue1, put<&RepSetNew::value1>},
    {csn::kSetText, put<&RepSetNew::setText>},
};

namespace crp = OrvaneUtilities::CreateReplicationPair;
const FieldRow<RepPair> kRepPairFields[] = {
    {crp::kClientName, put<&RepPair::clientName>},
    {crp::kClientId, put<&RepPair::clientId>},
    {crp::kValue1, put<&RepPair::value1>},
    {crp::kAppName, put<&RepPair::appName>},
    {crp::kAppTypeId, put<&RepPair::appTypeId>},
    {crp::kCommonText, put<&RepPair::commonText>},
    {crp::kOperationId, put<&RepPair::operationId>},
    {crp::kTimeStamp, put<&RepPair::timeStamp>},
    {crp::kPairText, put<&RepPair::pairText>},
    {crp::kText1, put<&RepPair::text1>},
};

// The request from the record's rows, exchanged; only the code comes back.
template <class Request, class Params, std::size_t N>
unsigned long sendRows(VSDKAPIGlobalData& state, const OperationSpec& spec,
                       const FieldRow<Params> (&rows)[N], const Params& params) {
    Request request;
    fillSession(state, request, MultiDomain::Never);
    putRows(request, rows, params);
    return runOperation(state, spec, request, [](const CNMessageBase&) {});
}

// A creation: no parameter dump, only its failure is logged.
template <class Request, class Params, std::size_t N>
unsigned long create(const OperationSpec& spec, const FieldRow<Params> (&rows)[N], const Params* params) {
    VSDKAPIGlobalData* state = nullptr;
    if (const unsigned long rc = openOperation(state, spec.function, params)) return rc;
    return sendRows<Request>(*state, spec, rows, *params);
}

}  // namespace

std::string _QReplicationParameters::c_str() const { return dumpRows(kControlDump, *this); }

VSDK_API unsigned long VSDKReplication(const _QReplicationParameters* params) {
    static const OperationSpec kSpec{"VSDKReplication()", "Replication"};
    return vsdkguard::guarded(kSpec.function, [&] {
        VSDKAPIGlobalData* state = nullptr;
        if (const unsigned long rc = openOperation(state, kSpec.function, params)) return rc;
        logParameters(*state, kSpec.function, "Parameters of Replication:%s", *params);
        return sendRows<OrvaneOperations::QReplicationReqMsg>(*state, kSpec, kControlFields, *params);
    });
}

VSDK_API unsigned long VSDKCreateRepSet(const _QCreateRepSetParameters* params) {
    static const OperationSpec kSpec{"VSDKCreateRepSet()", "Creation of Repset"};
    return vsdkguard::guarded(kSpec.function, [&] {
        return create<OrvaneUtilities::CreateRepSetReq>(kSpec, kRepSetFields, params);
    });
}

VSDK_API unsigned long VSDKCreateRepSetNew(const _QCreateRepSetNewParameters* params) {
    static const OperationSpec kSpec{"VSDKCreateRepSetNew()", "Creation of Repset"};
    return vsdkguard::guarded(kSpec.function, [&] {
        return create<OrvaneUtilities::QCreateRepSetReqNew>(kSpec, kRepSetNewFields, params);
    });
}

VSDK_API unsigned long VSDKCreateReplicationPair(const _QCreateReplicationPairParameters* params) {
    static const OperationSpec kSpec{"VSDKCreateReplicationPair()", "Creation of ReplicationPair"};
    return vsdkguard::guarded(kSpec.function, [&] {
        return create<OrvaneUtilities::QCreateReplicationPairReqMsg>(kSpec, kRepPairFields, params);
    });
}
