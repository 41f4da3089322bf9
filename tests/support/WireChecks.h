// Checks on requests as the simulated server received them: the request
// header, the session object, the caller identity and plain field tables.
#pragma once

#include "VSDK/Common.h"
#include "VSDK/Startup.h"
#include "VSDKAPI/messages/MessageTable.h"
#include "simserver/SimServer.h"
#include "support/TestEnv.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <initializer_list>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace vsdktest {

// A test on a thread started up against the simulated server, torn down after.
class StartedTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(0u, env.initThread()); }
    void TearDown() override { VSDKDeInitialize(); }
    TestEnv env;
};

// The one request of tag in the journal; an empty message (and a test failure)
// when the journal does not hold exactly one decodable request of tag.
std::shared_ptr<const CNMessageBase> onlyRequest(const simserver::SimServer& server, unsigned long tag);

// The header (1,1) carries this machine's host name, "11.0.0" and build 80.
void expectHeader(const CNMessageBase& request);

// What the session object (2,2) should hold.
struct SessionExpect {
    std::string mardock, guid;
    bool withToken = false;  // (6,15) = 1 and (7,16) = token; else both absent
    std::string token;
};
void expectSession(const CNMessageBase& request, const SessionExpect& expect);

// The caller identity object at field: this process's user id and name.
void expectCallerIdentity(const CNMessageBase& request, FieldId field);

// A nested object of tag at field (number, slot and hash checked). These and
// the checks built on them give an empty message or list (besides the test
// failure) for one that is not there, never null.
const CNMessageBase* objectAt(const CNMessageBase& m, FieldId field, unsigned long tag);
// An object list at field.
const std::vector<CNMessageBase>* objectListAt(const CNMessageBase& m, FieldId field);

// Field numbers present in a message, and the numbers from..to but except.
std::set<short> fieldNumbers(const CNMessageBase& m);
std::set<short> fieldRange(short from, short to, const std::set<short>& except = {});

// A whole list field: present and equal to values.
void expectTextList(const CNMessageBase& m, FieldId field, const std::vector<std::string>& values);
void expectIntList(const CNMessageBase& m, FieldId field, const std::vector<int>& values);

// One field's expected value, a number or a text (slot and hash checked
// too), or its absence.
struct Expect {
    Expect(FieldId f, int v) : field(f), number(v) {}
    Expect(FieldId f, long long v) : field(f), number(v) {}
    Expect(FieldId f, std::string v) : field(f), isText(true), text(std::move(v)) {}
    Expect(FieldId f, const char* v) : Expect(f, std::string(v)) {}
    // The field must not be there at all.
    static Expect absent(FieldId f) {
        Expect e(f, 0);
        e.isAbsent = true;
        return e;
    }
    FieldId field;
    bool isAbsent = false, isText = false;
    long long number = 0;
    std::string text;
};
void expectFields(const CNMessageBase& m, const std::vector<Expect>& table);

// The one request of tag (as onlyRequest gives it), its fields checked against table.
std::shared_ptr<const CNMessageBase> expectSent(const simserver::SimServer& server, unsigned long tag,
                                                const std::vector<Expect>& table = {});
// The object of tag at field (as objectAt gives it), its fields checked against table.
const CNMessageBase* expectObject(const CNMessageBase& m, FieldId field, unsigned long tag,
                                  const std::vector<Expect>& table = {});

// A time whose five fields differ from any other seed's; the check of a time
// object (of the owner's family) at field.
_QTime timeOf(int seed);
void expectTime(const CNMessageBase& owner, FieldId field, const _QTime& t);

// The server answers requests of requestTag with a replyTag reply holding
// jobId in the job-id field (3,3) and, when xmlField is given, xml there.
void replyJobId(simserver::SimServer& server, unsigned long requestTag, unsigned long replyTag, long long jobId,
                FieldId xmlField = FieldId{0, 0, 0}, const std::string& xml = std::string());

// A message's XML text.
std::string xmlOf(const CNMessageBase& m);

// Puts each row of table (a number or a text) into m.
void putFields(CNMessageBase& m, const std::vector<Expect>& table);
// A message of type T holding these fields.
template <class T>
T messageWith(const std::vector<Expect>& table) {
    T m;
    putFields(m, table);
    return m;
}
// The server answers requests of requestTag with a replyTag reply holding
// fields and, appended to the object list at list, entries (times times;
// -1: always).
void replyFields(simserver::SimServer& server, unsigned long requestTag, unsigned long replyTag,
                 const std::vector<Expect>& fields, FieldId list = FieldId{0, 0, 0},
                 const std::vector<CNMessageBase>& entries = {}, int times = -1);

// Runs call on a thread of its own, which has never started up.
template <class Call>
auto onFreshThread(Call call) -> decltype(call()) {
    decltype(call()) result{};
    std::thread([&] { result = call(); }).join();
    return result;
}

// bytes in base64 (OpenSSL's encoder: a reference apart from the library's).
std::string base64(const std::string& bytes);
// Every trace a run of letters and digits leaves in a text, however the text
// escapes it: its windows of six bytes, and their base64 at each of the three
// alignments a base64 text can give them.
std::vector<std::string> tracesOf(const std::string& run);

// Copies each text into its character array (large enough for it).
void setTexts(std::initializer_list<std::pair<char*, const char*>> texts);
template <std::size_t N>
void setText(char (&array)[N], const std::string& text) {
    std::snprintf(array, N, "%s", text.c_str());
}

}  // namespace vsdktest
