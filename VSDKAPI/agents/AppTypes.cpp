// The two upper listings of a client's data-protection tree: the Appmodule
// types on a client and the instances of one type.
#include "VSDK/Agents.h"

#include "TreeRequests.h"
#include "VSDKAPI/messages/FieldRows.h"

using namespace OrvaneUtilities;
using namespace fieldrows;

namespace {

const TakeRow<_QAppTypeInfo> kAppTypeRows[] = {
    {GetAppTypesResp::kAppTypeId, take<&_QAppTypeInfo::appTypeId>},
    {GetAppTypesResp::kName, take<&_QAppTypeInfo::name>},
    {GetAppTypesResp::kValue, take<&_QAppTypeInfo::value>},
};

const TakeRow<_QInstanceInfo> kInstanceRows[] = {
    {GetInstancesResp::kInstanceId, take<&_QInstanceInfo::instanceId>},
    {GetInstancesResp::kName, take<&_QInstanceInfo::name>},
    {GetInstancesResp::kFirstText, take<&_QInstanceInfo::firstText>},
    {GetInstancesResp::kSecondText, take<&_QInstanceInfo::secondText>},
    {GetInstancesResp::kThirdText, take<&_QInstanceInfo::thirdText>},
    {GetInstancesResp::kOnDemand, take<&_QInstanceInfo::onDemand>},
    {GetInstancesResp::kDescription, take<&_QInstanceInfo::description>},
};

}  // namespace

VSDK_API unsigned long VSDKGetApplicationTypes(_QAgentTreePath* selector, _QAppTypeInfo** types,
                                               int* count) {
    static const ListingSpec<_QAppTypeInfo> kListing{
        {"VSDKGetApplicationTypes()", "Retrival of application Types"},
        "Retrival of Application Types",
        GetAppTypesResp::kList,
        QAppType::kTag,
        [](const CNMessageBase& entry, _QAppTypeInfo& record) { takeRows(entry, kAppTypeRows, record); }};
    return listTree<QGetAppTypesReqMsg, TreeLevel::Client>(kListing, selector, types, count);
}

VSDK_API unsigned long VSDKGetInstances(_QAgentTreePath* selector, _QInstanceInfo** instances,
                                        int* count) {
    static const ListingSpec<_QInstanceInfo> kListing{
        {"VSDKGetInstances()", "Retrival of Instances"},
        "Retrival of Instances",
        GetInstancesResp::kList,
        QInstance::kTag,
        [](const CNMessageBase& entry, _QInstanceInfo& record) { takeRows(entry, kInstanceRows, record); }};
    return listTree<QGetInstancesReqMsg, TreeLevel::AppType>(kListing, selector, instances, count);
}
