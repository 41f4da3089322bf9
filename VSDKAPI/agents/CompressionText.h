// The compression code as the agent records' dumps show it.
#pragma once

#include "VSDKAPI/messages/FieldRows.h"

#include <string>

// 0 "On CLIENT", 2 "OFF", any other code "On MA"; a dump row writer.
template <auto M>
void dumpCompression(std::string& out, const fieldrows::RecordOf<M>& record) {
    const int code = record.*M;
    out += code == 0 ? "On CLIENT" : code == 2 ? "OFF" : "On MA";
}
