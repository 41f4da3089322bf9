// Virtual-server backup sets and subclients: the backup set's property text
// and a subclient's content. The texts are the server's own forms, carried
// unchanged.
#include "VSDK/Subclients.h"

#include "VSDKAPI/messages/FieldRows.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "VSDKErrors/ExportGuard.h"

using namespace OrvaneUtilities;
using fieldrows::FieldRow;
using fieldrows::put;

namespace {

const char kParametersLine[] = "Parameters of the new SubClient:%s";

using Ids = _QApplicationIdInfo;
const FieldRow<Ids> kPropertyFields[] = {
    {VirtualServer::kClientId, put<&Ids::clientId>},
    {VirtualServer::kAppType, put<&Ids::appType>},
    {VirtualServer::kInstanceId, put<&Ids::instanceId>},
    {VirtualServer::kBackupSetId, put<&Ids::backupSetId>},
    {VirtualServer::kSubclientId, put<&Ids::subclientId>},
};

using Content = _QSetVSSubclientContentParameters;
const FieldRow<Content> kContentFields[] = {
    {VirtualServer::kContentSubclientId, put<&Content::subclientId>},
    {VirtualServer::kContentSubclientName, put<&Content::subclientName>},
    {VirtualServer::kContentGuestHosts, put<&Content::guestHosts>},
    {VirtualServer::kContentGuestHosts2, put<&Content::guestHosts2>},
    {VirtualServer::kContentProperty, put<&Content::backupSetProp>},
};

}  // namespace

VSDK_API unsigned long VSDKGetVSBackupsetProperty(_QApplicationIdInfo* ids, std::string* property) {
    static const char kFunction[] = "VSDKGetVSBackupsetProperty()";
    return vsdkguard::guarded(kFunction, [&]() -> unsigned long {
        VSDKAPIGlobalData* state = nullptr;
        if (unsigned long rc = openOperation(state, kFunction, ids, property)) return rc;
        logParameters(*state, kFunction, kParametersLine, *ids);

        QGetVSBackupsetPropReq request;
        fillSession(*state, request, MultiDomain::Never);
        fieldrows::putRows(request, kPropertyFields, *ids);

        OperationSpec spec{kFunction, "Failed to get VS BackupSet Properties. Request"};
        spec.failureLineFixedText = true;
        return runOperation(*state, spec, request, [&](const CNMessageBase& reply) {
            *property = msgf::getText(reply, VirtualServer::kProperty);
        });
    });
}

VSDK_API unsigned long VSDKSetVSSubclientContent(_QSetVSSubclientContentParameters* params) {
    static const char kFunction[] = "VSDKSetVSSubclientContent()";
    return vsdkguard::guarded(kFunction, [&]() -> unsigned long {
        VSDKAPIGlobalData* state = nullptr;
        if (unsigned long rc = openOperation(state, kFunction, params)) return rc;
        logParameters(*state, kFunction, kParametersLine, *params);

        QSetVSSubclientContentReq request;
        fillSession(*state, request, MultiDomain::Never);
        fieldrows::putRows(request, kContentFields, *params);

        OperationSpec spec{kFunction, "SetVSSubclientContent operation"};
        spec.failureLineFixedText = true;
        return runOperation(*state, spec, request, [](const CNMessageBase&) {});
    });
}
