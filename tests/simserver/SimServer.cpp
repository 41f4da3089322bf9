#include "SimServer.h"

#include "VSDKAPI/messages/App.h"
#include "VSDKAPI/messages/CommonFields.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/MediaManager.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "VSDKAPI/messages/RkEntities.h"
#include "VSDKAPI/messages/VSDKLogin.h"
#include "platform/MessageCatalog.h"
#include "platform/RkWire.h"

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <fcntl.h>
#include <list>
#include <map>
#include <mutex>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace simserver {

Action Action::of(Kind kind, const std::string& bytes) {
    Action a;
    a.kind = kind;
    a.bytes = bytes;
    return a;
}

Action Action::reply(unsigned long replyTag, Filler fill) {
    Action a = of(Kind::Reply);
    a.replyTag = replyTag;
    a.fill = std::move(fill);
    return a;
}

Action Action::serverError(long long code, const std::string& text) {
    Action a = of(Kind::ServerError);
    a.code = code;
    a.text = text;
    return a;
}

Action Action::bareError(long long code, const std::string& text) {
    Action a = serverError(code, text);
    a.kind = Kind::BareError;
    return a;
}

namespace {

using rkwire::Deadline;
using rkwire::IoResult;

struct Rule {
    unsigned long tag;
    Action action;
    int remaining;  // < 0: for ever
};

struct Slot {
    int id = 0;
    int fd = -1;  // valid while the connection thread runs; it closes it
    bool done = false;
    std::thread thread;
};

int listenOn(int family, unsigned short port, unsigned short& boundPort) {
    const int fd = ::socket(family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    const int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_storage ss{};
    socklen_t len = sizeof(sockaddr_in);
    if (family == AF_INET) {
        auto* sin = reinterpret_cast<sockaddr_in*>(&ss);
        sin->sin_family = AF_INET;
        sin->sin_port = htons(port);
        sin->sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    } else {
        ::setsockopt(fd, IPPROTO_IPV6, IPV6_V6ONLY, &one, sizeof one);
        auto* sin6 = reinterpret_cast<sockaddr_in6*>(&ss);
        sin6->sin6_family = AF_INET6;
        sin6->sin6_port = htons(port);
        sin6->sin6_addr = in6addr_loopback;
        len = sizeof *sin6;
    }
    if (::bind(fd, reinterpret_cast<sockaddr*>(&ss), len) != 0 || ::listen(fd, 128) != 0) {
        ::close(fd);
        return -1;
    }
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&ss), &len);
    // The port sits at the same place in both address forms.
    boundPort = ntohs(reinterpret_cast<sockaddr_in*>(&ss)->sin_port);
    return fd;
}

bool sendMessage(int fd, const CNMessageBase& message, const Deadline& deadline) {
    std::string xml;
    message.serialize(xml, false);
    return rkwire::writeFrame(fd, xml, deadline) == IoResult::Ok;
}

}  // namespace

struct SimServer::Impl {
    unsigned short wantedPort = 0;
    int listen4 = -1;
    int listen6 = -1;
    int wake[2] = {-1, -1};
    unsigned short port = 0;
    std::thread acceptor;
    std::atomic<bool> stopping{false};

    mutable std::mutex mutex;
    mutable std::condition_variable changed;
    std::vector<Rule> rules;
    std::vector<Request> journal;
    std::vector<Connection> connections;
    std::list<Slot> slots;
    int nextId = 1;
    bool stallReads = false;
    std::string handshakeRefusal;  // not empty: every handshake is answered with it
    std::atomic<long long> lastNewId{0};  // ids named by default answers

    bool start() {
        if (::pipe2(wake, O_CLOEXEC) != 0) return false;
        listen4 = listenOn(AF_INET, wantedPort, port);
        if (listen4 < 0) return false;
        unsigned short p6 = 0;
        listen6 = listenOn(AF_INET6, port, p6);
        acceptor = std::thread([this] { acceptLoop(); });
        return true;
    }
    void stop();
    void acceptLoop();
    void serve(int id, int fd);
    bool handshake(int id, int fd);
    bool nextRequest(int fd, std::string& payload);
    Action pick(unsigned long tag);
    bool act(int fd, const Action& action, const CNMessageBase* request);
    std::unique_ptr<CNMessageBase> buildReply(const Action& action, const CNMessageBase* request);
    Connection* connection(int id) {
        for (Connection& c : connections) {
            if (c.id == id) return &c;
        }
        return nullptr;
    }
};

void SimServer::Impl::stop() {
    if (stopping.exchange(true)) return;
    if (wake[1] >= 0) {
        const ssize_t ignored = ::write(wake[1], "x", 1);  // else the poll period wakes it
        (void)ignored;
    }
    if (acceptor.joinable()) acceptor.join();
    std::list<Slot> all;
    {
        std::lock_guard<std::mutex> lock(mutex);
        for (Slot& s : slots) {
            if (s.fd >= 0) ::shutdown(s.fd, SHUT_RDWR);  // its thread then ends
        }
        changed.notify_all();
        all.swap(slots);
    }
    for (Slot& s : all) {
        if (s.thread.joinable()) s.thread.join();
    }
    for (int* fd : {&listen4, &listen6, &wake[0], &wake[1]}) {
        if (*fd >= 0) ::close(*fd);
        *fd = -1;
    }
}

void SimServer::Impl::acceptLoop() {
    for (;;) {
        pollfd p[3] = {{wake[0], POLLIN, 0}, {listen4, POLLIN, 0}, {listen6, POLLIN, 0}};
        const int n = listen6 >= 0 ? 3 : 2;
        const int r = ::poll(p, n, 1000);
        if (stopping || (r < 0 && errno != EINTR)) return;
        // Join the threads of connections that have ended.
        std::list<Slot> finished;
        {
            std::lock_guard<std::mutex> lock(mutex);
            for (auto it = slots.begin(); it != slots.end();) {
                auto next = std::next(it);
                if (it->done) finished.splice(finished.end(), slots, it);
                it = next;
            }
        }
        for (Slot& s : finished) s.thread.join();
        for (int i = 1; r > 0 && i < n; ++i) {
            if (!(p[i].revents & POLLIN)) continue;
            const int fd = ::accept4(p[i].fd, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0) continue;
            const int one = 1;
            ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
            std::lock_guard<std::mutex> lock(mutex);
            const int id = nextId++;
            Connection c;
            c.id = id;
            connections.push_back(c);
            slots.emplace_back();
            slots.back().id = id;
            slots.back().fd = fd;
            slots.back().thread = std::thread([this, id, fd] { serve(id, fd); });
        }
    }
}

bool SimServer::Impl::handshake(int id, int fd) {
    const Deadline deadline = Deadline::after(std::chrono::seconds(30));
    std::string hello, service, client;
    int auth = 0;
    const bool parsed = rkwire::readFrame(fd, hello, deadline) == IoResult::Ok &&
                        rkwire::parseHello(hello, service, client, auth);
    bool known = parsed && service == kCommandLineService;
    std::string answer = known ? "OK" : "REFUSED unknown service or malformed handshake";
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (!handshakeRefusal.empty()) {
            known = false;
            answer = handshakeRefusal;
        }
        Connection* c = connection(id);
        c->service = service;
        c->clientName = client;
        c->authMethod = auth;
        c->refused = !known;
        changed.notify_all();
    }
    return rkwire::writeFrame(fd, answer, deadline) == IoResult::Ok && known;
}

// Waits for the next request to begin, then (unless reading is stalled) reads it.
bool SimServer::Impl::nextRequest(int fd, std::string& payload) {
    pollfd p{fd, POLLIN, 0};
    while (::poll(&p, 1, -1) < 0 && errno == EINTR) {
    }
    {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [this] { return !stallReads || stopping; });
    }
    return !stopping && rkwire::readFrame(fd, payload, Deadline::none()) == IoResult::Ok;
}

void SimServer::Impl::serve(int id, int fd) {
    std::string payload;
    bool open = handshake(id, fd);
    while (open && nextRequest(fd, payload)) {
        if (payload.empty()) continue;
        CNMessageBase* raw = nullptr;
        std::string why;
        if (CNMessageBase::ConstructAny(payload.data(), payload.size(), raw, why) != 0) {
            delete raw;
            raw = nullptr;
        }
        Request entry;
        entry.connection = id;
        entry.message.reset(raw);
        entry.tag = raw ? raw->getTagID() : 0;
        entry.xml = payload;
        {
            std::lock_guard<std::mutex> lock(mutex);
            journal.push_back(entry);
            changed.notify_all();
        }
        open =
            act(fd, raw ? pick(entry.tag) : Action::bareError(1, "simserver: undecodable request"),
                raw);
    }
    std::lock_guard<std::mutex> lock(mutex);
    for (Slot& s : slots) {
        if (s.id == id) {
            s.fd = -1;  // nobody shuts it down any more
            s.done = true;
        }
    }
    ::close(fd);
    connection(id)->open = false;
    changed.notify_all();
}

Action SimServer::Impl::pick(unsigned long tag) {
    std::lock_guard<std::mutex> lock(mutex);
    for (auto it = rules.begin(); it != rules.end(); ++it) {
        if (it->tag != kAnyRequest && it->tag != tag) continue;
        Action a = it->action;
        if (it->remaining > 0 && --it->remaining == 0) rules.erase(it);
        return a;
    }
    return Action::defaultReply();
}

namespace {

// Where a default answer names what it made: the job id of a job start, the
// new id of a creation (by request type). Other answers name nothing.
std::map<unsigned long, FieldId> newIdFields() {
    namespace oo = OrvaneOperations;
    namespace ou = OrvaneUtilities;
    std::map<unsigned long, FieldId> m;
    for (unsigned long tag : {oo::QBackupInfoMsg::kTag, oo::QRestoreReqMsg::kTag,
                              oo::QDBRestoreReqMsg::kTag, oo::QSearchRestoreReqMsg::kTag,
                              oo::QAuxCopyReqMsg::kTag, oo::QAgeDataReqMsg::kTag,
                              oo::QERBackupReqMsg::kTag, ou::QBrevantUpdateReqMsg::kTag}) {
        m[tag] = oo::kReplyJobId;
    }
    m[ou::QSetBackupSetsReqMsg::kTag] = ou::SetBackupSetResp::kNewId;
    m[ou::QSetSubclientsReqMsg::kTag] = ou::SetSubclient::kNewId;
    m[ou::QSetStoragePoliciesReqMsg::kTag] = ou::SetStoragePoliciesResp::kPolicyId;
    m[ou::QSetStoragePolicyCopiesReqMsg::kTag] = ou::SetStoragePolicyCopiesResp::kCopyId;
    m[ou::QSetLocationReqMsg::kTag] = ou::SetLocation::kId;
    m[ou::QSetContainerReqMsg::kTag] = ou::SetContainer::kId;
    m[ou::QSetMediaShelfReqMsg::kTag] = ou::SetMediaShelf::kId;
    m[ou::QSetIronMountainReqMsg::kTag] = ou::SetIronMountain::kId;
    m[ou::QSetShelfwatchPolicyReqMsg::kTag] = ou::SetShelfwatchPolicy::kId;
    return m;
}

// A default answer names a new job or object id (the next of lastId) where
// its type carries one; an inner creation document names the new copy (and
// its policy).
void nameWhatWasMade(const CNMessageBase& request, CNMessageBase& reply,
                     std::atomic<long long>& lastId) {
    static const std::map<unsigned long, FieldId> fields = newIdFields();
    const auto it = fields.find(request.getTagID());
    if (it != fields.end()) msgf::putInt(reply, it->second, ++lastId);
    if (reply.getTagID() == App::CreateStoragePolicyResp::kTag ||
        reply.getTagID() == App::CreateStoragePolicyCopyResp::kTag) {
        CNMessageBase& copy =
            msgf::child<RkEntities::StoragePolicyCopyEntity>(reply, App::CreationResp::kCopy);
        const long long id = ++lastId;
        msgf::putInt(copy, RkEntities::CopyEntity::kId, id);
        msgf::putInt(copy, RkEntities::CopyEntity::kPolicyId, id);
    }
}

// The reply document type of an inner request: its paired type, or for the
// inner requests that name none, their answer.
unsigned long innerReplyTag(unsigned long requestTag) {
    if (requestTag == MediaManager::CheckForArchiveJobReq::kTag)
        return MediaManager::CheckForArchiveJobResp::kTag;
    if (requestTag == MediaManager::QGetMediaContentsReq::kTag)
        return MediaManager::QGetMediaContentsResp::kTag;
    const vsdkmsg::MessageType* type = vsdkmsg::findByTag(requestTag);
    return type ? type->replyTag : 0;
}

// A generic request whose inner document is a request of a known family is
// answered by default with that request's reply document: no error object,
// so success, and (given lastId) the id of what it made. Answers of other
// types are left alone.
void answerInnerDocument(const CNMessageBase& request, CNMessageBase& reply,
                         std::atomic<long long>* lastId) {
    if (request.getTagID() != OrvaneOperations::QExecuteReqMsg::kTag ||
        reply.getTagID() != OrvaneOperations::QExecuteRespMsg::kTag) {
        return;
    }
    const std::string inner = msgf::getText(request, OrvaneOperations::kExecuteXml);
    CNMessageBase* raw = nullptr;
    std::string why;
    const bool ok = CNMessageBase::ConstructAny(inner.data(), inner.size(), raw, why) == 0;
    const std::unique_ptr<CNMessageBase> built(raw);
    if (!ok || !built) return;
    const unsigned long replyTag = innerReplyTag(built->getTagID());
    std::unique_ptr<CNMessageBase> answer(replyTag ? CNMessageBase::createByTag(replyTag) : nullptr);
    if (!answer) return;
    if (lastId) nameWhatWasMade(*built, *answer, *lastId);
    std::string text;
    answer->serialize(text, false);
    msgf::putText(reply, OrvaneOperations::kExecuteRespXml, text);
}

}  // namespace

std::unique_ptr<CNMessageBase> SimServer::Impl::buildReply(const Action& action,
                                                           const CNMessageBase* request) {
    unsigned long replyTag = action.replyTag;
    if (replyTag == 0) {
        const vsdkmsg::MessageType* t = vsdkmsg::findByTag(request->getTagID());
        replyTag = t ? t->replyTag : 0;
    }
    std::unique_ptr<CNMessageBase> reply(replyTag ? CNMessageBase::createByTag(replyTag) : nullptr);
    if (!reply) {
        std::unique_ptr<CNMessageBase> bare(new OrvaneUtilities::QErrorMsg());
        msgf::putInt(*bare, msgf::kErrorCode, 1);
        msgf::putText(*bare, msgf::kErrorText, "simserver: no reply type for this request");
        return bare;
    }
    if (action.kind != Action::Kind::Reply) {
        // The error object: the login reply's at (3,3), every other at (2,2).
        const int module = reply->getModuleId();
        const vsdkmsg::MessageType* errType =
            vsdkmsg::findByTag((static_cast<unsigned long>(module) << 24) | 2UL);
        const FieldId field = replyTag == VSDKLogin::QLoginRespMsg::kTag
                                  ? VSDKLogin::kLoginRespError
                                  : msgf::kReplyError;
        if (errType) {
            CNMessageBase& error = msgf::child(*reply, field, module, errType->classNumber);
            msgf::putInt(error, msgf::kErrorCode, action.code);
            if (action.kind == Action::Kind::ServerError)
                msgf::putText(error, msgf::kErrorText, action.text);
        }
    }
    // A default answer names a new id for what the request made.
    const bool byDefault = action.kind == Action::Kind::Default;
    if (byDefault) nameWhatWasMade(*request, *reply, lastNewId);
    answerInnerDocument(*request, *reply, byDefault ? &lastNewId : nullptr);  // a fill may answer otherwise
    if (action.fill) action.fill(*request, *reply);
    return reply;
}

bool SimServer::Impl::act(int fd, const Action& action, const CNMessageBase* request) {
    if (action.delay.count() > 0) {
        std::unique_lock<std::mutex> lock(mutex);
        if (changed.wait_for(lock, action.delay, [this] { return stopping.load(); })) return false;
    }
    const Deadline deadline = Deadline::after(std::chrono::seconds(30));
    using K = Action::Kind;
    switch (action.kind) {
        case K::Default:
        case K::Reply:
        case K::ServerError:
            for (int i = 0; i < std::max(1, action.replies); ++i) {
                if (!sendMessage(fd, *buildReply(action, request), deadline)) return false;
            }
            return true;
        case K::BareError: {
            OrvaneUtilities::QErrorMsg bare;
            msgf::putInt(bare, msgf::kErrorCode, action.code);
            msgf::putText(bare, msgf::kErrorText, action.text);
            return sendMessage(fd, bare, deadline);
        }
        case K::CloseMidFrame: {
            std::string xml;
            buildReply(Action(), request)->serialize(xml, false);
            const std::string frame =
                rkwire::frameHeader(static_cast<std::uint32_t>(xml.size())) + xml;
            rkwire::writeAll(fd, frame.data(), 4 + xml.size() / 2, deadline);
            return false;
        }
        case K::Garbage:
            return rkwire::writeAll(fd, action.bytes.data(), action.bytes.size(), deadline) ==
                   IoResult::Ok;
        case K::BadDocument:
        case K::EmptyFrame:
            return rkwire::writeFrame(fd, action.bytes, deadline) == IoResult::Ok;
        case K::Silent:
            return true;
        case K::NoReplyClose:
            break;
    }
    return false;
}

SimServer::SimServer(unsigned short port) : m_impl(new Impl()) {
    m_impl->wantedPort = port;
    if (!m_impl->start()) m_impl->stop();
}

SimServer::~SimServer() { m_impl->stop(); }

bool SimServer::ok() const { return m_impl->listen4 >= 0 && !m_impl->stopping; }
unsigned short SimServer::port() const { return m_impl->port; }
bool SimServer::listensOnIpv6() const { return m_impl->listen6 >= 0; }
void SimServer::stop() { m_impl->stop(); }

void SimServer::script(unsigned long requestTag, const Action& action, int times) {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    if (times != 0) m_impl->rules.push_back(Rule{requestTag, action, times});
}

void SimServer::replyWith(unsigned long requestTag, unsigned long replyTag, Filler fill,
                          int times) {
    script(requestTag, Action::reply(replyTag, std::move(fill)), times);
}

void SimServer::serverError(unsigned long requestTag, long long code, const std::string& text,
                            int times) {
    script(requestTag, Action::serverError(code, text), times);
}

void SimServer::relogin(unsigned long requestTag, int n) {
    serverError(requestTag, 9,
                "VSDK Server failed to find a connection to the Mardock, Relogin required", n);
}

void SimServer::clearScripts() {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    m_impl->rules.clear();
}

std::vector<Request> SimServer::journal() const {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    return m_impl->journal;
}

std::vector<Request> SimServer::requestsOfType(unsigned long tag) const {
    std::vector<Request> out = journal();
    out.erase(
        std::remove_if(out.begin(), out.end(), [tag](const Request& r) { return r.tag != tag; }),
        out.end());
    return out;
}

std::size_t SimServer::requestCount() const { return journal().size(); }
std::size_t SimServer::requestCount(unsigned long tag) const { return requestsOfType(tag).size(); }

bool SimServer::waitForRequests(std::size_t n, std::chrono::milliseconds timeout) const {
    std::unique_lock<std::mutex> lock(m_impl->mutex);
    return m_impl->changed.wait_for(lock, timeout, [&] { return m_impl->journal.size() >= n; });
}

void SimServer::clearJournal() {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    m_impl->journal.clear();
}

std::vector<Connection> SimServer::connections() const {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    return m_impl->connections;
}

namespace {
int countOpen(const std::vector<Connection>& all) {
    return static_cast<int>(std::count_if(all.begin(), all.end(), [](const Connection& c) {
        return c.open && !c.refused && !c.service.empty();
    }));
}
}  // namespace

int SimServer::openConnections() const { return countOpen(connections()); }

bool SimServer::waitForOpenConnections(int n, std::chrono::milliseconds timeout) const {
    std::unique_lock<std::mutex> lock(m_impl->mutex);
    return m_impl->changed.wait_for(lock, timeout,
                                    [&] { return countOpen(m_impl->connections) == n; });
}

void SimServer::stallReading(bool on) {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    m_impl->stallReads = on;
    m_impl->changed.notify_all();
}

void SimServer::refuseHandshakes(const std::string& answer) {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    m_impl->handshakeRefusal = answer;
}

void SimServer::closeAllConnections() {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    for (Slot& s : m_impl->slots) {
        if (s.fd >= 0) ::shutdown(s.fd, SHUT_RDWR);
    }
}

}  // namespace simserver
