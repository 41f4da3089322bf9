// Database restore options: the mapping of each engine's option record onto
// its option object of the database restore request, and the small
// table-driven field writers and text-dump writers the mappings, the request
// body and the records' dumps are made of.
#pragma once

#include "VSDK/DBRestore.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPIGlobalData/TextConversion.h"

#include <cstddef>
#include <string>
#include <type_traits>
#include <vector>

// Each takes the request's nested option object of its engine and a copy of
// the engine's option record, and sets every field the object carries.
void GetOracleParams(CNMessageBase& options, _QOracleRestoreParameters params);
void GetDB2Params(CNMessageBase& options, _QDB2RestoreParameters params);
void GetInformixParams(CNMessageBase& options, _QInformixRestoreParameters params);
// The unlabelled string list (13,19) is not set here: the request sets it.
void GetSQLParams(CNMessageBase& options, _QSQLRestoreParameters params);

namespace dbfields {

template <class M>
struct MemberOf;
template <class C, class T>
struct MemberOf<T C::*> {
    using Record = C;
    using Type = T;
};
template <auto M>
using RecordOf = typename MemberOf<decltype(M)>::Record;
template <auto M>
using TypeOf = typename MemberOf<decltype(M)>::Type;

template <class T>
inline constexpr bool kAlwaysFalse = false;

// One field of a message filled from one member of a record.
template <class Rec>
struct FieldRow {
    FieldId field;
    void (*put)(CNMessageBase& message, FieldId field, const Rec& record);
};

// Writes member M into field f: a character array as its text up to the
// terminating zero, never past the array's own size; an int32 sign-extended
// into the int64 field; a time as the family's nested time object; a string
// vector as the whole list, in order (present also when empty).
template <auto M>
void put(CNMessageBase& message, FieldId f, const RecordOf<M>& record) {
    using T = TypeOf<M>;
    const T& value = record.*M;
    if constexpr (std::is_array_v<T>) {
        msgf::putText(message, f, msgf::boundedText(value));
    } else if constexpr (std::is_same_v<T, int> || std::is_same_v<T, long long>) {
        msgf::putInt(message, f, static_cast<long long>(value));
    } else if constexpr (std::is_same_v<T, _QTime>) {
        QTimeCopy<OrvaneOperations::QTime>(msgf::child<OrvaneOperations::QTime>(message, f), value);
    } else if constexpr (std::is_same_v<T, std::vector<std::string>>) {
        msgf::putTextList(message, f, value);
    } else {
        static_assert(kAlwaysFalse<T>, "no writer for this member type");
    }
}

template <class Rec, std::size_t N>
void putRows(CNMessageBase& message, const FieldRow<Rec> (&rows)[N], const Rec& record) {
    for (const FieldRow<Rec>& row : rows) row.put(message, row.field, record);
}

// One line of a record's text dump: label, value, closing text.
template <class Rec>
struct DumpRow {
    const char* label;
    void (*write)(std::string& out, const Rec& record);  // null: a heading alone
    const char* close;
};

// Writes the value of member M: a character array up to its terminating
// zero (bounded by the array), numbers in decimal, a time as its own dump, a
// string vector as each element followed by one blank, a vector of entries
// as their dumps joined with nothing between them.
template <auto M>
void dump(std::string& out, const RecordOf<M>& record) {
    using T = TypeOf<M>;
    const T& value = record.*M;
    if constexpr (std::is_array_v<T>) {
        out += msgf::boundedText(value);
    } else if constexpr (std::is_same_v<T, int> || std::is_same_v<T, long long>) {
        out += numberToqwString(value);
    } else if constexpr (std::is_same_v<T, _QTime>) {
        out += value.c_str();
    } else if constexpr (std::is_same_v<T, std::vector<std::string>>) {
        for (const std::string& element : value) {
            out += element;
            out += ' ';
        }
    } else {
        for (const auto& entry : value) out += entry.c_str();
    }
}

// A secret's line: its value is never written.
template <class Rec>
void masked(std::string& out, const Rec&) {
    out += "****";
}

template <class Rec, std::size_t N>
std::string dumpRows(const DumpRow<Rec> (&rows)[N], const Rec& record) {
    std::string out;
    for (const DumpRow<Rec>& row : rows) {
        out += row.label;
        if (row.write) row.write(out, record);
        out += row.close;
    }
    return out;
}

}  // namespace dbfields
