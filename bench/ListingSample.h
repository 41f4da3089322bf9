// The listing reply of the decoding benchmarks: rows of time objects with
// their five fields and a name, in a list of a slot of its own.
#pragma once

#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/OrvaneOperations.h"

#include <string>
#include <vector>

namespace benchsample {

constexpr FieldId kRows{3, 3, 0x7A1001};
constexpr FieldId kIds{4, 4, 0x7A1002};
constexpr FieldId kNames{5, 5, 0x7A1003};
constexpr FieldId kRowName{6, 12, 0x7A1004};

// An execute reply with code 0 and an empty list of rows, count reserved.
inline std::vector<CNMessageBase>& listingReply(OrvaneOperations::QExecuteRespMsg& reply, int count) {
    msgf::putInt(msgf::child<OrvaneOperations::QReplyErrorMsg>(reply, msgf::kReplyError), msgf::kErrorCode, 0);
    auto& rows = *reply.getlistobject(kRows.number, kRows.slot, reply.getTagID(), kRows.hash, true);
    rows.reserve(static_cast<std::size_t>(count));
    return rows;
}

// Row k of a listing.
inline OrvaneOperations::QTime listingRow(int k) {
    OrvaneOperations::QTime row;
    msgf::putInt(row, msgf::kTimeUnix, 1700000000 + k);
    msgf::putText(row, msgf::kTimeStart, "2024-01-02 03:04:05");
    msgf::putText(row, msgf::kTimeZone, "(UTC+01:00) Paris");
    msgf::putInt(row, msgf::kTimeOffset, -3600);
    msgf::putInt(row, msgf::kTimeDsFlags, k & 1);
    msgf::putText(row, kRowName, "client-" + std::to_string(k) + " <&>");
    return row;
}

}  // namespace benchsample
