// The dump builder behind every record's c_str(): a table of (label, member,
// closing text) rows. A label carries its own style (":[" or ": [", a
// leading line break or not); the closing text says how the line ends ("]\n",
// or "]" for the last line); lists choose their joiner (kNothing for a list
// of records whose dumps start with their own line break).
//
//     const DumpRow<_QAgeDataParameters> kAgeDataDump[] = {
//         {"\nRetry Hours:[", dump<&_QAgeDataParameters::retryHours>, "]\n"},
//         {"Password:[", masked<_QAgeDataParameters>, "]"},
//     };
//     std::string _QAgeDataParameters::c_str() const { return dumpRows(kAgeDataDump, *this); }
#pragma once

#include "VSDK/Common.h"
#include "VSDKAPI/messages/FieldRows.h"
#include "VSDKAPIGlobalData/TextConversion.h"

#include <cstddef>
#include <string>
#include <type_traits>
#include <vector>

namespace recorddump {

using fieldrows::kAlwaysFalse;
using fieldrows::RecordOf;
using fieldrows::TypeOf;

// One line of a record's text dump: label, value, closing text.
template <class Rec>
struct DumpRow {
    const char* label;
    void (*write)(std::string& out, const Rec& record);  // null: a heading alone
    const char* close;
};

inline constexpr char kBlank[] = " ";
inline constexpr char kLineEnd[] = "\n";
inline constexpr char kNothing[] = "";

template <class T>
struct IsVector : std::false_type {};
template <class T>
struct IsVector<std::vector<T>> : std::true_type {};

// One value: a character array up to its terminating zero (bounded by the
// array), a bool as 1 or 0, numbers in decimal, a text as it is, a record
// (a time, an entry of a list, a nested parameter record) as its own dump.
template <class T>
void dumpValue(std::string& out, const T& value) {
    if constexpr (std::is_array_v<T>) {
        out += msgf::boundedText(value, sizeof value);
    } else if constexpr (std::is_same_v<T, bool>) {
        out += value ? "1" : "0";
    } else if constexpr (std::is_same_v<T, char>) {
        out += numberToqwString(static_cast<int>(value));
    } else if constexpr (std::is_integral_v<T> && std::is_signed_v<T>) {
        out += numberToqwString(static_cast<long long>(value));
    } else if constexpr (std::is_integral_v<T>) {
        out += std::to_string(static_cast<unsigned long long>(value));
    } else if constexpr (std::is_same_v<T, std::string>) {
        out += value;
    } else if constexpr (std::is_class_v<T>) {
        out += value.c_str();
    } else {
        static_assert(kAlwaysFalse<T>, "no dump for this member type");
    }
}

// Writes the value of member M; a vector (of texts, numbers or records) as
// each element followed by Joiner.
template <auto M, const char* Joiner = kBlank>
void dump(std::string& out, const RecordOf<M>& record) {
    using T = TypeOf<M>;
    const T& value = record.*M;
    if constexpr (IsVector<T>::value) {
        for (const auto& element : value) {
            dumpValue(out, element);
            out += Joiner;
        }
    } else {
        dumpValue(out, value);
    }
}

// A character member shown as itself, nothing when it is zero.
template <auto M>
void dumpChar(std::string& out, const RecordOf<M>& record) {
    static_assert(std::is_same_v<TypeOf<M>, char>, "a character member");
    if (record.*M != 0) out += record.*M;
}

// A bool member shown as True or False.
template <auto M>
void dumpTrueFalse(std::string& out, const RecordOf<M>& record) {
    out += record.*M ? "True" : "False";
}

// A secret's line: its value is never written.
template <class Rec>
void masked(std::string& out, const Rec&) {
    out += "****";
}

template <class Rec, std::size_t N>
void appendRows(std::string& out, const DumpRow<Rec> (&rows)[N], const Rec& record) {
    for (const DumpRow<Rec>& row : rows) {
        out += row.label;
        if (row.write) row.write(out, record);
        out += row.close;
    }
}

template <class Rec, std::size_t N>
std::string dumpRows(const DumpRow<Rec> (&rows)[N], const Rec& record) {
    std::string out;
    appendRows(out, rows, record);
    return out;
}

// A member record written with its own rows, in the outer record's dump.
template <auto M, const auto& Rows>
void nested(std::string& out, const RecordOf<M>& record) {
    appendRows(out, Rows, record.*M);
}

}  // namespace recorddump
