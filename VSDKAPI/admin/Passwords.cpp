// New stored credentials for one entity path. The record has no dump, and
// its passwords are secret fields: the request log shows them masked.
#include "VSDK/Admin.h"

#include "VSDKAPI/messages/FieldRows.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "VSDKErrors/ExportGuard.h"

using namespace OrvaneUtilities;
using namespace fieldrows;

namespace {

using Change = _QChangePasswordsParameters;

const FieldRow<Change> kChangeFields[] = {
    {ChangePasswords::kClientId, put<&Change::clientId>},
    {ChangePasswords::kClientName, put<&Change::clientName>},
    {ChangePasswords::kConstant, constant<2>},
    {ChangePasswords::kAppId, put<&Change::appId>},
    {ChangePasswords::kAppName, put<&Change::appName>},
    {ChangePasswords::kInstanceId, put<&Change::instanceId>},
    {ChangePasswords::kInstanceName, put<&Change::instanceName>},
    {ChangePasswords::kBackupSetId, put<&Change::backupSetId>},
    {ChangePasswords::kBackupSetName, put<&Change::backupSetName>},
    {ChangePasswords::kSubclientId, put<&Change::subclientId>},
    {ChangePasswords::kSubclientName, put<&Change::subclientName>},
    {ChangePasswords::kUserName, put<&Change::userName>},
    {ChangePasswords::kPassword, put<&Change::password>},
    {ChangePasswords::kCatalogConnectUser, put<&Change::catalogConnectUser>},
    {ChangePasswords::kCatalogConnectPassword, put<&Change::catalogConnectPassword>},
    {ChangePasswords::kCatalogConnectService, put<&Change::catalogConnectService>},
    {ChangePasswords::kExtraText1, put<&Change::extraText1>},
    {ChangePasswords::kExtraText2, put<&Change::extraText2>},
    {ChangePasswords::kExtraText3, put<&Change::extraText3>},
};

}  // namespace

VSDK_API unsigned long VSDKChangePasswords(const _QChangePasswordsParameters* params) {
    static const OperationSpec kSpec{"VSDKChangePasswords()", "Changing of Password",
                                     msgf::kReplyError, false, /*storeErrorTextOnSuccess=*/true};
    return vsdkguard::guarded(kSpec.function, [&]() -> unsigned long {
        VSDKAPIGlobalData* state = nullptr;
        QChangePasswordsReqMsg request;
        if (unsigned long rc = openOperation(state, kSpec.function, params)) return rc;
        fillSession(*state, request, MultiDomain::Never);
        putRows(request, kChangeFields, *params);
        return runOperation(*state, kSpec, request, [](const CNMessageBase&) {});
    });
}
