// Library, drive and media agent control: one command each, answered by a
// code alone. The operation codes are sent as the caller gives them; the
// library and drive operations are named in their records' dumps.
#include "MediaControl.h"

#include "VSDK/Media.h"
#include "VSDKAPI/messages/FieldRows.h"
#include "VSDKAPI/messages/MediaManager.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "VSDKAPIUtils/RecordDump.h"

using fieldrows::FieldRow;
using fieldrows::put;
using recorddump::dump;
using recorddump::DumpRow;
namespace control = MediaManager::Control;

namespace {

struct OperationName {
    int code;
    const char* name;
};

const OperationName kLibraryOperations[] = {
    {2, "Delete a Scratch Pool"},    {4, "Discovering a Library"},  {12, "Resetting a Library"},
    {15, "Modify a Scratch Pool"},   {16, "Create a Scratch Pool"}, {40, "Importing a Library"},
    {71, "Scanning a Library"},      {60000, "Enabling a Drive"},   {60001, "Disabling a Drive"},
};
const OperationName kDriveOperations[] = {
    {12, "Resetting a Drive"}, {38, "Cleaning a Drive"},  {42, "Unloading a Drive"},
    {116, "Stamp Media"},      {60000, "Enabling a Drive"}, {60001, "Disabling a Drive"},
};

// The name of an operation code, "Undefined" for a code without one.
template <const auto& Names, class Rec>
void operationName(std::string& out, const Rec& record) {
    for (const OperationName& n : Names) {
        if (n.code == record.operation) {
            out += n.name;
            return;
        }
    }
    out += "Undefined";
}

using L = _QLibraryControlParams;
const DumpRow<L> kLibraryDump[] = {
    {"\nFenmark Id:[", dump<&L::domainId>, "]\n"},
    {"Media Agent Id:[", dump<&L::mediaAgentId>, "]\n"},
    {"Library Id:[", dump<&L::libraryId>, "]\n"},
    {"Library Type:[", dump<&L::libraryType>, "]\n"},
    {"Operation:[", operationName<kLibraryOperations, L>, "]\n"},
    {"Spare Group Id:[", dump<&L::spareGroupId>, "]\n"},
    {"Media Agent Name:[", dump<&L::mediaAgentName>, "]"},
};

using D = _QDriveControlParams;
const DumpRow<D> kDriveDump[] = {
    {"\nFenmark Id:[", dump<&D::domainId>, "]\n"},
    {"MediaAgentId:[", dump<&D::mediaAgentId>, "]\n"},
    {"Library ID:[", dump<&D::libraryId>, "]\n"},
    {"Library Type:[", dump<&D::libraryType>, "]\n"},
    {"Drive Id:[", dump<&D::driveId>, "]\n"},
    {"Operation:[", operationName<kDriveOperations, D>, "]"},
};

using A = _QControlMediaAgentParameters;
const DumpRow<A> kAgentDump[] = {
    {"\nMedia Agent Id:[", dump<&A::mediaAgentId>, "]\n"},
    {"Operation:[", dump<&A::operation>, "]"},
};

// The media agent, library and its type, shared by the control requests.
template <class Rec>
constexpr FieldRow<Rec> kControlHead[] = {
    {control::kMediaAgentId, put<&Rec::mediaAgentId>},
    {control::kLibraryId, put<&Rec::libraryId>},
    {control::kLibraryType, put<&Rec::libraryType>},
};

const FieldRow<L> kLibraryBody[] = {
    {MediaManager::LibraryControl::kOperation, put<&L::operation>},
    {MediaManager::LibraryControl::kOption, put<&L::option>},
    {MediaManager::LibraryControl::kSpareGroupId, put<&L::spareGroupId>},
    {MediaManager::LibraryControl::kMediaAgentName, put<&L::mediaAgentName>},
};
const FieldRow<L> kLibraryTail[] = {
    {MediaManager::LibraryControl::kTrailingText1, put<&L::trailingText1>},
    {MediaManager::LibraryControl::kTrailingText2, put<&L::trailingText2>},
};

// The scratch-pool object, in the order its fields are set.
using P = _QLibraryScratchPool;
const FieldRow<P> kScratchPoolBody[] = {
    {MediaManager::LibraryControl::kPoolName2, put<&P::name2>},
    {MediaManager::LibraryControl::kPoolId, put<&P::scratchPoolId>},
    {MediaManager::LibraryControl::kPoolLibraryId, put<&P::libraryId>},
    {MediaManager::LibraryControl::kPoolName1, put<&P::name1>},
    {MediaManager::LibraryControl::kPoolValue5, put<&P::value5>},
    {MediaManager::LibraryControl::kPoolValue4, put<&P::value4>},
    {MediaManager::LibraryControl::kPoolValue6, put<&P::value6>},
    {MediaManager::LibraryControl::kPoolValue3, put<&P::value3>},
};

const FieldRow<D> kDriveBody[] = {
    {MediaManager::DriveControl::kDriveId, put<&D::driveId>},
    {MediaManager::DriveControl::kOperation, put<&D::operation>},
    {MediaManager::DriveControl::kMediaText, put<&D::mediaText>},
};

const FieldRow<A> kAgentBody[] = {
    {OrvaneUtilities::ControlMediaAgent::kMediaAgentId, put<&A::mediaAgentId>},
    {OrvaneUtilities::ControlMediaAgent::kOperation, put<&A::operation>},
};

}  // namespace

std::string _QLibraryControlParams::c_str() const { return dumpRows(kLibraryDump, *this); }
std::string _QDriveControlParams::c_str() const { return dumpRows(kDriveDump, *this); }
std::string _QControlMediaAgentParameters::c_str() const { return dumpRows(kAgentDump, *this); }

VSDK_API unsigned long VSDKLibraryControl(const _QLibraryControlParams* params) {
    static const OperationSpec spec{"VSDKLibraryControl()", "Library Control"};
    return runControl<MediaManager::QLibraryControlReqMsg>(
        spec, "Library Control Parameters:%s", params,
        [](CNMessageBase& req, const L& p) {
            msgf::putInt(req, control::kConstant, 2);
            putRows(req, kControlHead<L>, p);
            putRows(req, kLibraryBody, p);
            // Sent whatever the operation.
            putRows(msgf::child<MediaManager::QScratchPoolInfo>(
                        req, MediaManager::LibraryControl::kScratchPool),
                    kScratchPoolBody, p.scratchPool);
            putRows(req, kLibraryTail, p);
        },
        IgnoreReply());
}

VSDK_API unsigned long VSDKDriveControl(const _QDriveControlParams* params) {
    static const OperationSpec spec{"VSDKDriveControl()", "Drive Control"};
    return runControl<MediaManager::QDriveControlReqMsg>(
        spec, "Drive Control Parameters:%s", params,
        [](CNMessageBase& req, const D& p) {
            msgf::putInt(req, control::kConstant, 2);
            putRows(req, kControlHead<D>, p);
            putRows(req, kDriveBody, p);
        },
        IgnoreReply());
}

VSDK_API unsigned long VSDKControlMediaAgent(const _QControlMediaAgentParameters* params) {
    static const OperationSpec spec{"VSDKControlMediaAgent()", "Media Management Control"};
    return runControl<OrvaneUtilities::QControlMediaAgentReqMsg>(
        spec, "Parameters of the Control Media Agent:%s", params,
        [](CNMessageBase& req, const A& p) {
            msgf::putInt(req, OrvaneUtilities::MediaTopologyReq::kConstant, 2);
            putRows(req, kAgentBody, p);
        },
        IgnoreReply());
}
