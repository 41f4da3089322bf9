// The agent-tree path: how a record's client, Appmodule type, instance,
// backup set and subclient levels travel in a request and read in a dump.
// Records name their levels clientId/clientName, appTypeId/appName,
// instanceId/instanceName, backupSetId/backupSetName and
// subclientId/subclientName; an operation says down to which level it sends.
#pragma once

#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "VSDKAPIGlobalData/TextConversion.h"

#include <string>

enum class TreeLevel { Client = 1, AppType, Instance, BackupSet, Subclient };

// Where a layout puts the constant and each level.
struct TreeLayout {
    FieldId constant, clientId, clientName, appTypeId, appName, instanceId, instanceName,
        backupSetId, backupSetName, subclientId, subclientName;
};

#define VSDK_TREE_LAYOUT(Fields)                                                               \
    TreeLayout {                                                                               \
        Fields::kConstant, Fields::kClientId, Fields::kClientName, Fields::kAppTypeId,         \
            Fields::kAppName, Fields::kInstanceId, Fields::kInstanceName, Fields::kBackupSetId, \
            Fields::kBackupSetName, Fields::kSubclientId, Fields::kSubclientName               \
    }
inline constexpr TreeLayout kSelectorLayout = VSDK_TREE_LAYOUT(OrvaneUtilities::TreeSelector);
inline constexpr TreeLayout kCreationLayout = VSDK_TREE_LAYOUT(OrvaneUtilities::TreeCreation);
#undef VSDK_TREE_LAYOUT

// Selector requests: the constant 2 at (3,3), then the levels. Creation
// requests: the record's operation id at (3,3), the constant 2 at (4,4),
// then the levels. Both members of a level are sent as the caller gave them.
template <TreeLevel Last, class Record>
void putTreeLevels(CNMessageBase& m, const TreeLayout& Layout, const Record& r) {
    msgf::putInt(m, Layout.constant, 2);
    msgf::putInt(m, Layout.clientId, r.clientId);
    msgf::putText(m, Layout.clientName, r.clientName);
    if constexpr (Last >= TreeLevel::AppType) {
        msgf::putInt(m, Layout.appTypeId, r.appTypeId);
        msgf::putText(m, Layout.appName, r.appName);
    }
    if constexpr (Last >= TreeLevel::Instance) {
        msgf::putInt(m, Layout.instanceId, r.instanceId);
        msgf::putText(m, Layout.instanceName, r.instanceName);
    }
    if constexpr (Last >= TreeLevel::BackupSet) {
        msgf::putInt(m, Layout.backupSetId, r.backupSetId);
        msgf::putText(m, Layout.backupSetName, r.backupSetName);
    }
    if constexpr (Last >= TreeLevel::Subclient) {
        msgf::putInt(m, Layout.subclientId, r.subclientId);
        msgf::putText(m, Layout.subclientName, r.subclientName);
    }
}

template <TreeLevel Last, class Record>
void putSelectorPath(CNMessageBase& m, const Record& r) {
    putTreeLevels<Last>(m, kSelectorLayout, r);
}

template <TreeLevel Last, class Record>
void putCreationPath(CNMessageBase& m, const Record& r) {
    msgf::putInt(m, OrvaneUtilities::TreeCreation::kOperationId, r.operationId);
    putTreeLevels<Last>(m, kCreationLayout, r);
}

// Dump label styles: "Client Id:[" or "Client Id: [".
enum class LabelStyle { Tight, Spaced };

// The path's dump lines, down to Last, each "<label>:[<value>]\n" (or ": ["),
// the first beginning with "\n" unless the record's dump has a line before
// it (the operation id), the last ending in "]" alone when the path closes
// the dump (LastBreak false). Usable as a dump row writer:
//     {"", dumpTreePath<TreeLevel::BackupSet, LabelStyle::Spaced, Rec>, ""}
template <TreeLevel Last, LabelStyle Style, class Record, bool LeadingBreak = true,
          bool LastBreak = true>
void dumpTreePath(std::string& out, const Record& r) {
    const char* open = Style == LabelStyle::Tight ? ":[" : ": [";
    bool first = LeadingBreak;
    auto line = [&](const char* label, const std::string& value) {
        if (first) out += '\n';
        first = false;
        out += label;
        out += open;
        out += value;
        out += "]\n";
    };
    line("Client Id", numberToqwString(r.clientId));
    line("Client Name", msgf::boundedText(r.clientName));
    if constexpr (Last >= TreeLevel::AppType) {
        line("Appmodule Type", numberToqwString(r.appTypeId));
        line("Appmodule Name", msgf::boundedText(r.appName));
    }
    if constexpr (Last >= TreeLevel::Instance) {
        line("Instance Id", numberToqwString(r.instanceId));
        line("Instance Name", msgf::boundedText(r.instanceName));
    }
    if constexpr (Last >= TreeLevel::BackupSet) {
        line("BackupSet Id", numberToqwString(r.backupSetId));
        line("BackupSet Name", msgf::boundedText(r.backupSetName));
    }
    if constexpr (Last >= TreeLevel::Subclient) {
        line("SubClient Id", numberToqwString(r.subclientId));
        line("SubClient Name", msgf::boundedText(r.subclientName));
    }
    if constexpr (!LastBreak) out.pop_back();
}
