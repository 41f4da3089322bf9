// Field readers and writers over named FieldIds. The owner tag code is always
// the tag code of the message the field is set in.
#pragma once

#include "MessageTable.h"

#include <cstring>
#include <string>
#include <vector>

namespace msgf {

// Text of a caller's fixed-size array: up to its first zero byte, never past
// its end (an unterminated array is read to its bound only).
inline std::string boundedText(const char* array, std::size_t bound) {
    if (!array) return std::string();
    const void* zero = std::memchr(array, 0, bound);
    return std::string(array, zero ? static_cast<const char*>(zero) - array : bound);
}

template <std::size_t N>
inline std::string boundedText(const char (&array)[N]) {
    return boundedText(array, N);
}

// Bounded copy into a fixed-size array, always leaving a terminating zero.
inline void copyBounded(char* dest, std::size_t size, const std::string& src) {
    if (!dest || size == 0) return;
    std::size_t n = src.size() < size - 1 ? src.size() : size - 1;
    std::memcpy(dest, src.data(), n);
    dest[n] = '\0';
}

template <std::size_t N>
inline void copyBounded(char (&dest)[N], const std::string& src) {
    copyBounded(dest, N, src);
}

// An int32 record field widened with its sign; flags travel as 1 or 0.
inline void putInt(CNMessageBase& m, FieldId f, long long v) {
    m.setint64(f.number, f.slot, v, m.getTagID(), f.hash);
}
inline void putFlag(CNMessageBase& m, FieldId f, long long v) { putInt(m, f, v != 0 ? 1 : 0); }
inline void putText(CNMessageBase& m, FieldId f, const std::string& v) {
    m.getstringByRef(f.number, f.slot, m.getTagID(), f.hash) = v;
}
template <std::size_t N>
inline void putText(CNMessageBase& m, FieldId f, const char (&array)[N]) {
    putText(m, f, boundedText(array));
}
inline void putBytes(CNMessageBase& m, FieldId f, const std::string& v) {
    m.getbstringobjectByRef(f.number, f.slot, m.getTagID(), f.hash)->str() = v;
}

// Nested object of a field, built on first use.
inline CNMessageBase& child(CNMessageBase& m, FieldId f, int module, int classNumber) {
    return *m.getObjectAccessor(true, true, f.number, f.slot, m.getTagID(), f.hash, module,
                                classNumber);
}
template <class T>
inline CNMessageBase& child(CNMessageBase& m, FieldId f) {
    return child(m, f, T::kModule, T::kClass);
}

// Tag codes, within each family, of the objects every family has.
constexpr unsigned long kCommonSession = 3;
constexpr unsigned long kCommonTime = 4;
// The family's own session or time object in a field, built on first use.
CNMessageBase& commonChild(CNMessageBase& m, FieldId f, unsigned long commonTag);

// Stores a copy of a prepared object in a field.
inline void putObject(CNMessageBase& m, FieldId f, const CNMessageBase& object) {
    m.setObjectAccessor(&object, f.number, f.slot, m.getTagID(), f.hash);
}

// Appends a copy of an element to a list field.
inline void appendObject(CNMessageBase& m, FieldId f, const CNMessageBase& element) {
    m.getlistobject(f.number, f.slot, m.getTagID(), f.hash, true)->push_back(element);
}
inline void appendText(CNMessageBase& m, FieldId f, const std::string& v) {
    m.getliststring(f.number, f.slot, m.getTagID(), f.hash, true)->push_back(v);
}
inline void appendInt(CNMessageBase& m, FieldId f, int v) {
    m.getlistint(f.number, f.slot, m.getTagID(), f.hash, true)->push_back(v);
}
inline void appendInt64(CNMessageBase& m, FieldId f, long long v) {
    m.getlistlonglong(f.number, f.slot, m.getTagID(), f.hash, true)->push_back(v);
}
// A whole list: present (possibly empty) afterwards, holding exactly v.
inline void putTextList(CNMessageBase& m, FieldId f, const std::vector<std::string>& v) {
    *m.getliststring(f.number, f.slot, m.getTagID(), f.hash, true) = v;
}
inline void putIntList(CNMessageBase& m, FieldId f, const std::vector<int>& v) {
    *m.getlistint(f.number, f.slot, m.getTagID(), f.hash, true) = v;
}
inline void putInt64List(CNMessageBase& m, FieldId f, const std::vector<long long>& v) {
    *m.getlistlonglong(f.number, f.slot, m.getTagID(), f.hash, true) = v;
}

inline long long getInt(const CNMessageBase& m, FieldId f) {
    return m.getint64(f.slot, m.getTagID(), f.hash);
}
inline std::string getText(const CNMessageBase& m, FieldId f) {
    return m.getstring(f.number, f.slot, m.getTagID(), f.hash);
}
std::string getBytes(const CNMessageBase& m, FieldId f);
inline bool has(const CNMessageBase& m, FieldId f) {
    return m.isSet(f.number, m.getTagID(), f.hash);
}
// An integer field that is present (and is an integer, at its slot).
bool hasInt(const CNMessageBase& m, FieldId f);
// No field of f's number, or an integer one at f's slot: what a reply's error
// code must be for the reply to be read at all.
bool intOrAbsent(const CNMessageBase& m, FieldId f);
// A nested object that is present and of the expected type, or null; never creates.
const CNMessageBase* findChild(const CNMessageBase& m, FieldId f, unsigned long tag);
// The elements of an object list, or null when the list is absent.
const std::vector<CNMessageBase>* findList(const CNMessageBase& m, FieldId f);
// The elements of a list of integers (each cut to its low 32 bits); empty
// when the field is absent or holds no list of integers.
std::vector<int> getIntList(const CNMessageBase& m, FieldId f);
// The values of an int32 list, or null when the field is absent or of another kind.
const std::vector<int>* findIntList(const CNMessageBase& m, FieldId f);
// The texts of a text list, or null when the field is absent or holds another kind.
const std::vector<std::string>* findTextList(const CNMessageBase& m, FieldId f);

}  // namespace msgf
