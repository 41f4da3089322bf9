#include "WireChecks.h"

#include "VSDKAPI/messages/CommonFields.h"
#include "VSDKAPI/messages/Fields.h"

#include <gtest/gtest.h>

#include <cstring>

#include <openssl/evp.h>

#include <pwd.h>
#include <unistd.h>

namespace vsdktest {

using vsdkmsg::FieldKind;

namespace {

// The field at field's number, its slot, hash and kind checked; null (and a
// test failure) when it is absent.
const vsdkmsg::Field* fieldOf(const CNMessageBase& m, FieldId field, FieldKind kind) {
    auto it = m.fields().find(field.number);
    EXPECT_TRUE(it != m.fields().end()) << "field " << field.number << " absent";
    if (it == m.fields().end()) return nullptr;
    EXPECT_EQ(field.slot, it->second.slot) << "field " << field.number;
    EXPECT_EQ(field.hash, it->second.hash) << "field " << field.number;
    EXPECT_EQ(kind, it->second.kind) << "field " << field.number;
    return &it->second;
}

// The tag of the object every family numbers the same (1 header, 3 session, 4 time).
unsigned long familyTag(const CNMessageBase& m, unsigned long common) {
    return (m.getTagID() & 0xFF000000UL) | common;
}

}  // namespace

std::shared_ptr<const CNMessageBase> onlyRequest(const simserver::SimServer& server, unsigned long tag) {
    const std::vector<simserver::Request> sent = server.requestsOfType(tag);
    EXPECT_EQ(1u, sent.size()) << "requests of tag 0x" << std::hex << tag;
    EXPECT_TRUE(sent.size() != 1 || sent[0].message) << "undecodable request";
    if (sent.size() == 1 && sent[0].message) return sent[0].message;
    return std::make_shared<const CNMessageBase>(0, 0);
}

void expectHeader(const CNMessageBase& request) {
    char host[257] = {};
    ASSERT_EQ(0, gethostname(host, sizeof host - 1));
    expectObject(request, msgf::kRequestHeader, familyTag(request, 1),
                 {{msgf::kHeaderHost, host}, {msgf::kHeaderVersion, "11.0.0"}, {msgf::kHeaderBuild, 80}});
}

void expectSession(const CNMessageBase& request, const SessionExpect& expect) {
    const bool t = expect.withToken;
    expectObject(request, msgf::kRequestSession, familyTag(request, 3),
                 {{msgf::kSessionId, ""}, {msgf::kSessionMardock, expect.mardock}, {msgf::kSessionGuid, expect.guid},
                  {msgf::kSessionOne, 1},
                  t ? Expect(msgf::kSessionMultiDomainFlag, 1) : Expect::absent(msgf::kSessionMultiDomainFlag),
                  t ? Expect(msgf::kSessionMultiDomainToken, expect.token)
                    : Expect::absent(msgf::kSessionMultiDomainToken)});
}

void expectCallerIdentity(const CNMessageBase& request, FieldId field) {
    const struct passwd* pw = getpwuid(getuid());
    ASSERT_NE(nullptr, pw);
    expectObject(request, field, 0x055543EFUL,
                 {{FieldId{1, 1, 0x01C070}, static_cast<int>(pw->pw_uid)}, {FieldId{2, 2, 0x95ACA0}, pw->pw_name}});
}

const CNMessageBase* objectAt(const CNMessageBase& m, FieldId field, unsigned long tag) {
    static const CNMessageBase none(0, 0);
    if (!fieldOf(m, field, FieldKind::Object)) return &none;
    const CNMessageBase* object = msgf::findChild(m, field, tag);
    EXPECT_NE(nullptr, object) << "field " << field.number << " is not of tag 0x" << std::hex << tag;
    return object ? object : &none;
}

const std::vector<CNMessageBase>* objectListAt(const CNMessageBase& m, FieldId field) {
    static const std::vector<CNMessageBase> none;
    const auto* list = fieldOf(m, field, FieldKind::ObjectList) ? msgf::findList(m, field) : nullptr;
    return list ? list : &none;
}

std::set<short> fieldNumbers(const CNMessageBase& m) {
    std::set<short> numbers;
    for (const auto& entry : m.fields()) numbers.insert(entry.first);
    return numbers;
}

std::set<short> fieldRange(short from, short to, const std::set<short>& except) {
    std::set<short> numbers;
    for (short n = from; n <= to; ++n) {
        if (!except.count(n)) numbers.insert(n);
    }
    return numbers;
}

template <class List, class Member>
void expectList(const CNMessageBase& m, FieldId field, FieldKind kind, Member member, const List& values) {
    const vsdkmsg::Field* f = fieldOf(m, field, kind);
    ASSERT_TRUE(f && f->kind == kind && f->*member);
    EXPECT_EQ(values, *(f->*member)) << "field " << field.number;
}

void expectTextList(const CNMessageBase& m, FieldId field, const std::vector<std::string>& values) {
    expectList(m, field, FieldKind::TextList, &vsdkmsg::Field::textList, values);
}

void expectIntList(const CNMessageBase& m, FieldId field, const std::vector<int>& values) {
    expectList(m, field, FieldKind::IntList, &vsdkmsg::Field::intList, values);
}

void expectFields(const CNMessageBase& m, const std::vector<Expect>& table) {
    for (const Expect& row : table) {
        if (row.isAbsent) {
            EXPECT_EQ(0u, m.fields().count(row.field.number)) << "field " << row.field.number;
            continue;
        }
        const vsdkmsg::Field* f = fieldOf(m, row.field, row.isText ? FieldKind::Text : FieldKind::Int64);
        if (!f) return;
        if (row.isText) {
            EXPECT_EQ(row.text, f->s) << "field " << row.field.number;
        } else {
            EXPECT_EQ(row.number, f->i) << "field " << row.field.number;
        }
    }
}

std::shared_ptr<const CNMessageBase> expectSent(const simserver::SimServer& server, unsigned long tag,
                                                const std::vector<Expect>& table) {
    std::shared_ptr<const CNMessageBase> request = onlyRequest(server, tag);
    expectFields(*request, table);
    return request;
}

const CNMessageBase* expectObject(const CNMessageBase& m, FieldId field, unsigned long tag,
                                  const std::vector<Expect>& table) {
    const CNMessageBase* object = objectAt(m, field, tag);
    expectFields(*object, table);
    return object;
}

std::string xmlOf(const CNMessageBase& m) {
    std::string text;
    EXPECT_EQ(0, m.serialize(text, false));
    return text;
}

void putFields(CNMessageBase& m, const std::vector<Expect>& table) {
    for (const Expect& row : table) {
        if (row.isText) {
            msgf::putText(m, row.field, row.text);
        } else if (!row.isAbsent) {
            msgf::putInt(m, row.field, row.number);
        }
    }
}

void replyFields(simserver::SimServer& server, unsigned long requestTag, unsigned long replyTag,
                 const std::vector<Expect>& fields, FieldId list, const std::vector<CNMessageBase>& entries,
                 int times) {
    server.replyWith(requestTag, replyTag, [=](const CNMessageBase&, CNMessageBase& reply) {
        putFields(reply, fields);
        for (const CNMessageBase& entry : entries) msgf::appendObject(reply, list, entry);
    }, times);
}

void setTexts(std::initializer_list<std::pair<char*, const char*>> texts) {
    for (const auto& t : texts) std::strcpy(t.first, t.second);
}

_QTime timeOf(int seed) {
    _QTime t;
    t.unixTime = -1000 - seed;
    t.startTime = "start" + std::to_string(seed);
    t.timeZone = "zone" + std::to_string(seed);
    t.offset = -60 * seed;
    t.dsFlags = seed + 1;
    return t;
}

void expectTime(const CNMessageBase& owner, FieldId field, const _QTime& t) {
    SCOPED_TRACE("time at field " + std::to_string(field.number));
    expectObject(owner, field, familyTag(owner, 4),
                 {{msgf::kTimeUnix, t.unixTime}, {msgf::kTimeStart, t.startTime}, {msgf::kTimeZone, t.timeZone},
                  {msgf::kTimeOffset, t.offset}, {msgf::kTimeDsFlags, t.dsFlags}});
}

void replyJobId(simserver::SimServer& server, unsigned long requestTag, unsigned long replyTag,
                long long jobId, FieldId xmlField, const std::string& xml) {
    server.replyWith(requestTag, replyTag, [=](const CNMessageBase&, CNMessageBase& reply) {
        msgf::putInt(reply, FieldId{3, 3, 0x09A9B8}, jobId);
        if (xmlField.number != 0) msgf::putText(reply, xmlField, xml);
    });
}

std::string base64(const std::string& bytes) {
    std::string out(4 * ((bytes.size() + 2) / 3) + 1, '\0');
    out.resize(static_cast<std::size_t>(EVP_EncodeBlock(reinterpret_cast<unsigned char*>(&out[0]),
                                                        reinterpret_cast<const unsigned char*>(bytes.data()),
                                                        static_cast<int>(bytes.size()))));
    return out;
}

std::vector<std::string> tracesOf(const std::string& run) {
    std::vector<std::string> out;
    for (std::size_t at = 0; at + 6 <= run.size(); ++at) out.push_back(run.substr(at, 6));
    for (std::size_t skip = 0; skip < 3 && skip + 6 <= run.size(); ++skip) out.push_back(base64(run.substr(skip, 6)));
    return out;
}

}  // namespace vsdktest
