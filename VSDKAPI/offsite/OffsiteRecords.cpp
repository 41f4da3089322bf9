// Text dumps of the off-site parameter records, for the debug log.
#include "VSDK/Offsite.h"

#include "VSDKAPIUtils/RecordDump.h"

using namespace recorddump;

namespace {

using SetLoc = _QSetLocationParameters;
const DumpRow<SetLoc> kSetLocationDump[] = {
    {"\nLocation Id:[", dump<&SetLoc::locationId>, "]\n"},
    {"Location Name:[", dump<&SetLoc::locationName>, "]\n"},
    {"Location Type:[", dump<&SetLoc::locationType>, "]\n"},
    {"Location Description:[", dump<&SetLoc::locationDescription>, "]\n"},
    {"Operation Id:[", dump<&SetLoc::operationId>, "]"},
};

using SetCon = _QSetContainerParameters;
const DumpRow<SetCon> kSetContainerDump[] = {
    {"\nContainer Id:[", dump<&SetCon::containerId>, "]\n"},
    {"Container Name:[", dump<&SetCon::containerName>, "]\n"},
    {"Capacity:[", dump<&SetCon::capacity>, "]\n"},
    {"Tracking ID:[", dump<&SetCon::trackingId>, "]\n"},
    {"Description:[", dump<&SetCon::description>, "]\n"},
    {"Operation Id:[", dump<&SetCon::operationId>, "]"},
};

using SetShelf = _QSetMediaShelfParameters;
void shelfLocationName(std::string& out, const SetShelf& r) { dumpValue(out, r.location.locationName); }
const DumpRow<SetShelf> kSetMediaShelfDump[] = {
    {"\nMedia Shelf:[", dump<&SetShelf::shelfName>, "]\n"},
    {"shelfId:[", dump<&SetShelf::shelfId>, "]\n"},
    {"Operation Id:[", dump<&SetShelf::operationId>, "]\n"},
    {"SpareGroupId:[", dump<&SetShelf::spareGroupId>, "]\n"},
    {"LocationName:[", shelfLocationName, "]\n"},
    {"Barcode List:[", dump<&SetShelf::barcodeList>, "]\n"},
    {"Barcode Pattern:[", dump<&SetShelf::barcodePattern>, "]\n"},
    {"Number of Media:[", dump<&SetShelf::numberOfMedia>, "]"},
};

using SetIron = _QSetIronMountainParameters;
const DumpRow<SetIron> kSetIronMountainDump[] = {
    {"\nIronMountain Id:[", dump<&SetIron::ironMountainId>, "]\n"},
    {"CustomerId:[", dump<&SetIron::customerId>, "]\n"},
    {"Operation Id:[", dump<&SetIron::operationId>, "]"},
};

using SetAction = _QSetSWActionParameters;
const DumpRow<SetAction> kSetSWActionDump[] = {
    {"\nAction ID:[", dump<&SetAction::actionId>, "]\n"},
    {"Operation Id:[", dump<&SetAction::operationId>, "]"},
};

using DelLoc = _QDeleteLocationParameters;
const DumpRow<DelLoc> kDeleteLocationDump[] = {
    {"\nLocation Id:[", dump<&DelLoc::locationId>, "]\n"},
    {"Location Name:[", dump<&DelLoc::locationName>, "]"},
};

using DelCon = _QDeleteContainerParameters;
const DumpRow<DelCon> kDeleteContainerDump[] = {
    {"\nContainer Id:[", dump<&DelCon::containerId>, "]\n"},
    {"Container Name:[", dump<&DelCon::containerName>, "]"},
};

using DelShelf = _QDeleteMediaShelfParameters;
const DumpRow<DelShelf> kDeleteMediaShelfDump[] = {
    {"\nMediaShelf Id:[", dump<&DelShelf::shelfName>, "]\n"},
    {"CustomerId:[", dump<&DelShelf::shelfId>, "]\n"},
};

using DelIron = _QDeleteIronMountainParameters;
const DumpRow<DelIron> kDeleteIronMountainDump[] = {
    {"\nIronMountain Id:[", dump<&DelIron::ironMountainId>, "]\n"},
    {"CustomerId:[", dump<&DelIron::customerId>, "]\n"},
};

// The policy's id is not written.
using DelPolicy = _QDeleteShelfwatchPolicyParameters;
const DumpRow<DelPolicy> kDeleteShelfwatchPolicyDump[] = {
    {"\nSW Policy Name:[", dump<&DelPolicy::policyName>, "]\n"},
};

using SetPolicy = _QSetShelfwatchPolicyParameters;
void destinationType(std::string& out, const SetPolicy& r) { dumpValue(out, r.destinationLocation.locationType); }
void destinationName(std::string& out, const SetPolicy& r) { dumpValue(out, r.destinationLocation.locationName); }
const DumpRow<SetPolicy> kSetShelfwatchPolicyDump[] = {
    {"\nSW Policy Name:[", dump<&SetPolicy::policyName>, "]\n"},
    {"DestType:[", destinationType, "]"},
    {"DestName:[", destinationName, "]"},
    {"Operation Id:[", dump<&SetPolicy::operationId>, "]"},
};

using Run = _QShelfwatchParameters;
const DumpRow<Run> kShelfwatchDump[] = {
    {"\nSW Policy Name:[", dump<&Run::policyName>, "]\n"},
    {"Operation Id:[", dump<&Run::operationId>, "]"},
};

}  // namespace

std::string _QSetLocationParameters::c_str() const { return dumpRows(kSetLocationDump, *this); }
std::string _QSetContainerParameters::c_str() const { return dumpRows(kSetContainerDump, *this); }
std::string _QSetMediaShelfParameters::c_str() const { return dumpRows(kSetMediaShelfDump, *this); }
std::string _QSetIronMountainParameters::c_str() const { return dumpRows(kSetIronMountainDump, *this); }
std::string _QSetSWActionParameters::c_str() const { return dumpRows(kSetSWActionDump, *this); }
std::string _QDeleteLocationParameters::c_str() const { return dumpRows(kDeleteLocationDump, *this); }
std::string _QDeleteContainerParameters::c_str() const { return dumpRows(kDeleteContainerDump, *this); }
std::string _QDeleteMediaShelfParameters::c_str() const { return dumpRows(kDeleteMediaShelfDump, *this); }
std::string _QDeleteIronMountainParameters::c_str() const {
    return dumpRows(kDeleteIronMountainDump, *this);
}
std::string _QDeleteShelfwatchPolicyParameters::c_str() const {
    return dumpRows(kDeleteShelfwatchPolicyDump, *this);
}
std::string _QSetShelfwatchPolicyParameters::c_str() const {
    return dumpRows(kSetShelfwatchPolicyDump, *this);
}
std::string _QShelfwatchParameters::c_str() const { return dumpRows(kShelfwatchDump, *this); }
