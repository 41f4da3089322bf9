// Global filters, by operating system: listing and setting.
#include "VSDK/Subclients.h"

#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "VSDKErrors/ExportGuard.h"

using namespace OrvaneUtilities;

namespace {

// The element's filters are a list of filter elements (or absent).
bool filtersWellFormed(const CNMessageBase& entry) {
    const std::vector<CNMessageBase>* filters = msgf::findList(entry, GlobalFilter::kFilters);
    if (!filters) return !msgf::has(entry, GlobalFilter::kFilters);
    for (const CNMessageBase& f : *filters) {
        if (f.getTagID() != QFilter::kTag) return false;
    }
    return true;
}

void copyOsFilters(const CNMessageBase& entry, _QOSFilterAssocInfo& record) {
    record.osId = static_cast<int>(msgf::getInt(entry, GlobalFilter::kOsId));
    const std::vector<CNMessageBase>* filters = msgf::findList(entry, GlobalFilter::kFilters);
    if (!filters) return;
    for (const CNMessageBase& f : *filters) {
        _QFilterInfo filter;
        filter.value = static_cast<int>(msgf::getInt(f, GlobalFilter::kFilterValue));
        msgf::copyBounded(filter.filter, msgf::getText(f, GlobalFilter::kFilterText));
        record.filters.push_back(filter);
    }
}

}  // namespace

VSDK_API unsigned long VSDKGetGlobalFilters(_QOSFilterAssocInfo** filters, int* count) {
    static const char kFunction[] = "VSDKGetGlobalFilters()";
    static const char kPhrase[] = "Retrival of Global Filters";
    return vsdkguard::guarded(kFunction, [&]() -> unsigned long {
        VSDKAPIGlobalData* state = nullptr;
        if (unsigned long rc = openOperation(state, kFunction, filters, count)) return rc;

        QGetGlobalFiltersReqMsg request;
        fillSession(*state, request, MultiDomain::Never);
        msgf::putInt(request, TreeSelector::kConstant, 2);

        ListingSpec<_QOSFilterAssocInfo> spec{{kFunction, kPhrase}, kPhrase, GlobalFilter::kList,
                                              QOSFilterAssoc::kTag, copyOsFilters};
        spec.entryWellFormed = filtersWellFormed;
        return runListing(*state, spec, request, *filters, *count);
    });
}

VSDK_API unsigned long VSDKSetGlobalFilters(_QSetOSFilterParameters* params) {
    static const char kFunction[] = "VSDKSetGlobalFilters()";
    return vsdkguard::guarded(kFunction, [&]() -> unsigned long {
        VSDKAPIGlobalData* state = nullptr;
        if (unsigned long rc = openOperation(state, kFunction, params)) return rc;
        logParameters(*state, kFunction, "Parameters of the new global filter:%s", *params);

        QSetGlobalFiltersReqMsg request;
        fillSession(*state, request, MultiDomain::Never);
        msgf::putInt(request, TreeSelector::kConstant, 2);
        msgf::putInt(request, GlobalFilter::kSetOsId, params->osId);
        // Appended one by one: no filters leaves the field unset.
        for (const std::string& filter : params->filters) {
            msgf::appendText(request, GlobalFilter::kSetFilters, filter);
        }

        const OperationSpec spec{kFunction, "Creation of Global Filters"};
        return runOperation(*state, spec, request, [](const CNMessageBase&) {});
    });
}
