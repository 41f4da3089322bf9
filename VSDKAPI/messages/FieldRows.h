// The body writer: a request's fields filled from a caller's record by a
// table of (field, member) rows, so that an operation states which member
// goes where and nothing else.
//
//     const FieldRow<_QAgeDataParameters> kAgeDataFields[] = {
//         {AgeDataReq::kRetryHours, put<&_QAgeDataParameters::retryHours>},
//         ...
//     };
//     putRows(request, kAgeDataFields, params);
#pragma once

#include "Fields.h"
#include "VSDK/Common.h"

#include <cstddef>
#include <string>
#include <type_traits>
#include <vector>

namespace fieldrows {

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

// The time object of the message's own family, set from a caller's time.
void putTime(CNMessageBase& message, FieldId field, const _QTime& time);

// Writes member M into field f: a character array as its text up to the
// terminating zero, never past the array's own size; a signed integer
// sign-extended into the int64 field, an unsigned one widened without its
// sign; a bool as 1 or 0; a time as the family's nested time object; a
// vector of texts or numbers as the whole list, in order (present also
// when empty).
template <auto M>
void put(CNMessageBase& message, FieldId f, const RecordOf<M>& record) {
    using T = TypeOf<M>;
    const T& value = record.*M;
    if constexpr (std::is_array_v<T>) {
        msgf::putText(message, f, msgf::boundedText(value, sizeof value));
    } else if constexpr (std::is_same_v<T, bool>) {
        msgf::putInt(message, f, value ? 1 : 0);
    } else if constexpr (std::is_integral_v<T>) {
        msgf::putInt(message, f, static_cast<long long>(value));
    } else if constexpr (std::is_same_v<T, std::string>) {
        msgf::putText(message, f, value);
    } else if constexpr (std::is_same_v<T, _QTime>) {
        putTime(message, f, value);
    } else if constexpr (std::is_same_v<T, std::vector<std::string>>) {
        msgf::putTextList(message, f, value);
    } else if constexpr (std::is_same_v<T, std::vector<int>>) {
        msgf::putIntList(message, f, value);
    } else if constexpr (std::is_same_v<T, std::vector<long long>>) {
        msgf::putInt64List(message, f, value);
    } else {
        static_assert(kAlwaysFalse<T>, "no writer for this member type");
    }
}

// A vector of texts or numbers filled entry by entry, in order: an empty
// vector leaves the list field unset.
template <auto M>
void putEach(CNMessageBase& message, FieldId f, const RecordOf<M>& record) {
    using T = TypeOf<M>;
    for (const auto& element : record.*M) {
        if constexpr (std::is_same_v<T, std::vector<std::string>>) {
            msgf::appendText(message, f, element);
        } else if constexpr (std::is_same_v<T, std::vector<int>>) {
            msgf::appendInt(message, f, element);
        } else if constexpr (std::is_same_v<T, std::vector<long long>>) {
            msgf::appendInt64(message, f, element);
        } else {
            static_assert(kAlwaysFalse<T>, "no entry writer for this member type");
        }
    }
}

// A fixed value of the request, set in its place among the members' rows.
template <long long V, class Rec>
void constant(CNMessageBase& message, FieldId f, const Rec&) {
    msgf::putInt(message, f, V);
}

// Member M as a flag: 1 when non-zero, else 0.
template <auto M>
void putFlag(CNMessageBase& message, FieldId f, const RecordOf<M>& record) {
    msgf::putFlag(message, f, static_cast<long long>(record.*M));
}

template <class Rec, std::size_t N>
void putRows(CNMessageBase& message, const FieldRow<Rec> (&rows)[N], const Rec& record);

// A member record as an object of message type Msg in field f, filled by
// its own rows.
template <auto M, class Msg, const auto& Rows>
void putObject(CNMessageBase& message, FieldId f, const RecordOf<M>& record) {
    putRows(msgf::child<Msg>(message, f), Rows, record.*M);
}

template <class Rec, std::size_t N>
void putRows(CNMessageBase& message, const FieldRow<Rec> (&rows)[N], const Rec& record) {
    for (const FieldRow<Rec>& row : rows) row.put(message, row.field, record);
}

// The reverse direction: one member of a record filled from one field of a
// reply entry.
template <class Rec>
struct TakeRow {
    FieldId field;
    void (*take)(const CNMessageBase& entry, FieldId field, Rec& record);
};

// Reads field f into member M: a text copied into a character array with a
// bound (at most size-1 characters and a terminating zero), an integer
// cut to the member's width (an int keeps the low 32 bits), a bool true when
// the low 32 bits are not 0, a list of integers into a vector of ints in
// list order; an absent field reads as 0 or empty (an absent list or one of
// another kind reads as empty: check the reply's lists first).
template <auto M>
void take(const CNMessageBase& entry, FieldId f, RecordOf<M>& record) {
    using T = TypeOf<M>;
    T& value = record.*M;
    if constexpr (std::is_array_v<T>) {
        msgf::copyBounded(value, sizeof value, msgf::getText(entry, f));
    } else if constexpr (std::is_same_v<T, bool>) {
        value = static_cast<int>(msgf::getInt(entry, f)) != 0;
    } else if constexpr (std::is_integral_v<T>) {
        value = static_cast<T>(msgf::getInt(entry, f));
    } else if constexpr (std::is_same_v<T, std::string>) {
        value = msgf::getText(entry, f);
    } else if constexpr (std::is_same_v<T, std::vector<int>>) {
        value = msgf::getIntList(entry, f);
    } else {
        static_assert(kAlwaysFalse<T>, "no reader for this member type");
    }
}

template <class Rec, std::size_t N>
void takeRows(const CNMessageBase& entry, const TakeRow<Rec> (&rows)[N], Rec& record) {
    for (const TakeRow<Rec>& row : rows) row.take(entry, row.field, record);
}

}  // namespace fieldrows
