// The dump builder behind every record's c_str(): a table of (label, member,
// closing text) rows. A label carries its own style (":[" or ": [", a
// leading line break or not); the closing text says how the line ends ("]\n",
// or "]" for the last line); lists choose their joiner.
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
    } else if constexpr (std::is_same_v<T, _QTime>) {
        out += value.c_str();
    } else {
        static_assert(kAlwaysFalse<T>, "no dump for this member type");
    }
}

// Writes the value of member M: a character array up to its terminating
// zero (bounded by the array), numbers in decimal, a time as its own dump, a
// vector of texts or numbers as each element followed by Joiner, a vector
// of records as their dumps joined with nothing between them.
template <auto M, const char* Joiner = kBlank>
void dump(std::string& out, const RecordOf<M>& record) {
    using T = TypeOf<M>;
    const T& value = record.*M;
    if constexpr (std::is_same_v<T, std::vector<std::string>> ||
                  std::is_same_v<T, std::vector<int>>) {
        for (const auto& element : value) {
            dumpValue(out, element);
            out += Joiner;
        }
    } else if constexpr (std::is_class_v<T> && !std::is_same_v<T, std::string> &&
                         !std::is_same_v<T, _QTime>) {
        for (const auto& entry : value) out += entry.c_str();
    } else {
        dumpValue(out, value);
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

}  // namespace recorddump
