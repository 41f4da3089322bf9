// Users of the backup domain: the user listing, the group listing of one
// user, and the creation or change of a user with its group memberships.
#include "VSDK/Admin.h"

#include "VSDKAPI/messages/FieldRows.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "VSDKAPIUtils/RecordDump.h"
#include "VSDKErrors/ExportGuard.h"

using namespace OrvaneUtilities;
using namespace fieldrows;
using namespace recorddump;

namespace {

using User = _QOrvaneUserInfo;
using Group = _QOrvaneUserGroupInfo;
using SetUser = _QSetOrvaneUserParameters;

const TakeRow<User> kUserRows[] = {
    {GetOrvaneUsersResp::kUserId, take<&User::id>},
    {GetOrvaneUsersResp::kName, take<&User::name>},
    {GetOrvaneUsersResp::kUserText, take<&User::userText>},
};

const TakeRow<Group> kGroupRows[] = {
    {GetOrvaneUserGroupsResp::kGroupId, take<&Group::id>},
    {GetOrvaneUserGroupsResp::kName, take<&Group::name>},
    {GetOrvaneUserGroupsResp::kFlags, take<&Group::flags>},
    {GetOrvaneUserGroupsResp::kGroupValue, take<&Group::groupValue>},
};

constexpr long long kRequestConstant = 2;

// Every field is sent whatever its value; both lists whole, also when empty.
const FieldRow<SetUser> kSetUserFields[] = {
    {SetOrvaneUser::kOperationId, put<&SetUser::operationId>},
    {SetOrvaneUser::kConstant, constant<kRequestConstant>},
    {SetOrvaneUser::kUserName, put<&SetUser::userName>},
    {SetOrvaneUser::kUserId, put<&SetUser::userId>},
    {SetOrvaneUser::kNewLogin, put<&SetUser::newLogin>},
    {SetOrvaneUser::kUserPassword, put<&SetUser::unloggedText>},
    {SetOrvaneUser::kDescription, put<&SetUser::description>},
    {SetOrvaneUser::kEmail, put<&SetUser::email>},
    {SetOrvaneUser::kPager, put<&SetUser::pager>},
    {SetOrvaneUser::kAgingDays, put<&SetUser::passwordAging>},
    {SetOrvaneUser::kExpiryDate, put<&SetUser::expiryDate>},
    {SetOrvaneUser::kLoginEnabled, put<&SetUser::loginEnabled>},
    {SetOrvaneUser::kGroups, put<&SetUser::groups>},
};

// The user's password (unloggedText) is never written.
const DumpRow<SetUser> kSetUserDump[] = {
    {"\nOperation Id:[", dump<&SetUser::operationId>, "]\n"},
    {"User Id:[", dump<&SetUser::userId>, "]\n"},
    {"User Name:[", dump<&SetUser::userName>, "]\n"},
    {"New Login:[", dump<&SetUser::newLogin>, "]\n"},
    {"Description:[", dump<&SetUser::description, kLineEnd>, "]\n"},
    {"email:[", dump<&SetUser::email>, "]\n"},
    {"Pager:[", dump<&SetUser::pager>, "]\n"},
    {"Password Aging:[", dump<&SetUser::passwordAging>, "]\n"},
    {"Expiry Date:[", dump<&SetUser::expiryDate>, "]\n"},
    {"Login Enabled:[", dump<&SetUser::loginEnabled>, "]\n"},
    {"Groups:[", dump<&SetUser::groups>, "]"},
};

}  // namespace

std::string _QSetOrvaneUserParameters::c_str() const { return dumpRows(kSetUserDump, *this); }

VSDK_API unsigned long VSDKGetOrvaneUsers(_QOrvaneUserInfo** users, int* count) {
    static const ListingSpec<User> kListing{
        {"VSDKGetOrvaneUsers()", "Retrival of users"},
        "Retrival of users",
        GetOrvaneUsersResp::kList,
        QOrvaneUser::kTag,
        [](const CNMessageBase& entry, User& record) { takeRows(entry, kUserRows, record); }};
    return vsdkguard::guarded(kListing.operation.function, [&]() -> unsigned long {
        VSDKAPIGlobalData* state = nullptr;
        QGetOrvaneUsersReqMsg request;
        if (unsigned long rc = openOperation(state, kListing.operation.function, users, count)) {
            return rc;
        }
        fillSession(*state, request, MultiDomain::Never);
        msgf::putInt(request, OrvaneUsersReq::kConstant, kRequestConstant);
        return runListing(*state, kListing, request, *users, *count);
    });
}

VSDK_API unsigned long VSDKGetOrvaneUserGroups(const _QGetOrvaneUserGroupsParameters* selector,
                                               _QOrvaneUserGroupInfo** groups, int* count) {
    static const ListingSpec<Group> kListing{
        {"VSDKGetOrvaneUserGroups()", "Retrival of Orvane user groups"},
        "Retrival of Orvane user groups",
        GetOrvaneUserGroupsResp::kList,
        QOrvaneUserGroup::kTag,
        [](const CNMessageBase& entry, Group& record) { takeRows(entry, kGroupRows, record); }};
    return vsdkguard::guarded(kListing.operation.function, [&]() -> unsigned long {
        VSDKAPIGlobalData* state = nullptr;
        QGetOrvaneUserGroupsReqMsg request;
        if (unsigned long rc = openOperation(state, kListing.operation.function, selector, groups, count)) {
            return rc;
        }
        fillSession(*state, request, MultiDomain::Never);
        msgf::putInt(request, OrvaneUsersReq::kConstant, kRequestConstant);
        msgf::putInt(request, OrvaneUsersReq::kUserId, selector->userId);
        return runListing(*state, kListing, request, *groups, *count);
    });
}

VSDK_API unsigned long VSDKSetOrvaneUser(const _QSetOrvaneUserParameters* params) {
    static const OperationSpec kSpec{"VSDKSetOrvaneUser()", "Creation of new User"};
    return vsdkguard::guarded(kSpec.function, [&]() -> unsigned long {
        VSDKAPIGlobalData* state = nullptr;
        QSetOrvaneUserReqMsg request;
        if (unsigned long rc = openOperation(state, kSpec.function, params)) return rc;
        logParameters(*state, kSpec.function, "Parameters of the new user:%s", *params);
        fillSession(*state, request, MultiDomain::Never);
        putRows(request, kSetUserFields, *params);
        return runOperation(*state, kSpec, request, [](const CNMessageBase&) {});
    });
}
