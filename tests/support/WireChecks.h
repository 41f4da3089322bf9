// Checks on requests as the simulated server received them: the request
// header, the session object, the caller identity and plain field tables.
#pragma once

#include "VSDKAPI/messages/MessageTable.h"
#include "simserver/SimServer.h"

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace vsdktest {

// The one request of tag in the journal; null (and a test failure) when the
// journal does not hold exactly one.
std::shared_ptr<const CNMessageBase> onlyRequest(const simserver::SimServer& server,
                                                 unsigned long tag);

// The header (1,1) carries this machine's host name, "11.0.0" and build 80.
void expectHeader(const CNMessageBase& request);

// What the session object (2,2) should hold.
struct SessionExpect {
    std::string mardock;
    std::string guid;
    bool withToken = false;   // (6,15) = 1 and (7,16) = token; else both absent
    std::string token;
};
void expectSession(const CNMessageBase& request, const SessionExpect& expect);

// The caller identity object at field: this process's user id and name.
void expectCallerIdentity(const CNMessageBase& request, FieldId field);

// A nested object of tag at field (number, slot and hash checked), or null.
const CNMessageBase* objectAt(const CNMessageBase& m, FieldId field, unsigned long tag);
// An object list at field, or null.
const std::vector<CNMessageBase>* objectListAt(const CNMessageBase& m, FieldId field);

// Field numbers present in a message.
std::set<short> fieldNumbers(const CNMessageBase& m);

struct IntField {
    const char* name;
    FieldId field;
    long long value;
};
struct TextField {
    const char* name;
    FieldId field;
    std::string value;
};
void expectInts(const CNMessageBase& m, const std::vector<IntField>& table);
void expectTexts(const CNMessageBase& m, const std::vector<TextField>& table);

// A whole text list field: present and equal to values.
void expectTextList(const CNMessageBase& m, FieldId field, const std::vector<std::string>& values);
void expectIntList(const CNMessageBase& m, FieldId field, const std::vector<int>& values);

// Copies text into a fixed array (test records).
template <std::size_t N>
void setText(char (&array)[N], const std::string& text) {
    std::size_t n = text.size() < N - 1 ? text.size() : N - 1;
    for (std::size_t i = 0; i < n; ++i) array[i] = text[i];
    array[n] = '\0';
}

}  // namespace vsdktest
