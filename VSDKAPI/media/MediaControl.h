// The shape of the media control operations (library, drive and media agent
// control, export, verification, discovery): the opening, the record's dump
// at level 6, the session and body, the exchange; no reply field is read
// unless onSuccess reads one.
#pragma once

#include "VSDKAPI/session/OperationFrame.h"
#include "VSDKErrors/ExportGuard.h"

struct IgnoreReply {
    void operator()(const CNMessageBase&) const {}
};

template <class Req, class Params, class FillBody, class OnSuccess, class... Outs>
unsigned long runControl(const OperationSpec& spec, const char* dumpFormat, const Params* params,
                         FillBody fillBody, OnSuccess onSuccess, const Outs*... outs) {
    return vsdkguard::guarded(spec.function, [&]() -> unsigned long {
        VSDKAPIGlobalData* state = nullptr;
        if (unsigned long rc = openOperation(state, spec.function, params, outs...)) return rc;
        logParameters(*state, spec.function, dumpFormat, *params);
        Req request;
        fillSession(*state, request, MultiDomain::Never);
        fillBody(request, *params);
        return runOperation(*state, spec, request, onSuccess);
    });
}
