#include "SimServer.h"

#include "VSDKAPI/messages/CommonFields.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
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

// --- Action factories ---------------------------------------------------

Action Action::defaultReply() { return Action(); }

Action Action::reply(unsigned long replyTag, Filler fill) {
    Action a;
    a.kind = Kind::Reply;
    a.replyTag = replyTag;
    a.fill = std::move(fill);
    return a;
}

Action Action::serverError(long long code, const std::string& text) {
    Action a;
    a.kind = Kind::ServerError;
    a.code = code;
    a.text = text;
    return a;
}

Action Action::bareError(long long code, const std::string& text) {
    Action a;
    a.kind = Kind::BareError;
    a.code = code;
    a.text = text;
    return a;
}

Action Action::noReplyClose() {
    Action a;
    a.kind = Kind::NoReplyClose;
    return a;
}

Action Action::closeMidFrame() {
    Action a;
    a.kind = Kind::CloseMidFrame;
    return a;
}

Action Action::garbage(const std::string& rawBytes) {
    Action a;
    a.kind = Kind::Garbage;
    a.bytes = rawBytes;
    return a;
}

Action Action::badDocument(const std::string& payload) {
    Action a;
    a.kind = Kind::BadDocument;
    a.bytes = payload;
    return a;
}

Action Action::silent() {
    Action a;
    a.kind = Kind::Silent;
    return a;
}

Action Action::emptyFrame() {
    Action a;
    a.kind = Kind::EmptyFrame;
    return a;
}

// --- Server --------------------------------------------------------------

namespace {

struct Rule {
    unsigned long tag;
    Action action;
    int remaining;  // < 0: for ever
};

struct Slot {
    int id = 0;
    int fd = -1;       // valid while the connection thread runs; closed by it
    bool done = false;
    std::thread thread;
};

int listenOn(int family, unsigned short port, unsigned short& boundPort) {
    const int fd = ::socket(family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    const int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_storage ss;
    std::memset(&ss, 0, sizeof ss);
    socklen_t len;
    if (family == AF_INET) {
        auto* sin = reinterpret_cast<sockaddr_in*>(&ss);
        sin->sin_family = AF_INET;
        sin->sin_port = htons(port);
        sin->sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        len = sizeof *sin;
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
    socklen_t got = sizeof ss;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&ss), &got);
    boundPort = ntohs(family == AF_INET ? reinterpret_cast<sockaddr_in*>(&ss)->sin_port
                                        : reinterpret_cast<sockaddr_in6*>(&ss)->sin6_port);
    return fd;
}

}  // namespace

struct SimServer::Impl {
    Options options;
    int listen4 = -1;
    int listen6 = -1;
    int wake[2] = {-1, -1};
    unsigned short port = 0;
    std::thread acceptor;
    std::atomic<bool> stopping{false};

    mutable std::mutex mutex;
    mutable std::condition_variable changed;
    std::vector<Rule> rules;
    std::map<unsigned long, FieldId> errorFields;
    std::vector<Request> journal;
    std::map<int, std::size_t> perConnection;
    std::vector<Connection> connections;
    std::list<Slot> slots;
    int nextId = 1;

    bool start();
    void stop();
    void acceptLoop();
    void serve(int id, int fd);
    bool handshake(int id, int fd);
    Action pick(unsigned long tag);
    bool act(int fd, const Action& action, const CNMessageBase* request);
    std::unique_ptr<CNMessageBase> buildReply(const Action& action, const CNMessageBase* request);
    FieldId errorFieldOf(unsigned long replyTag) const;
    void markClosed(int id, int fd);
    void reapFinished();
    bool sleepFor(std::chrono::milliseconds d);
};

bool SimServer::Impl::start() {
    if (::pipe2(wake, O_CLOEXEC) != 0) return false;
    listen4 = listenOn(AF_INET, options.port, port);
    if (listen4 < 0) return false;
    if (options.ipv6) {
        unsigned short p6 = 0;
        listen6 = listenOn(AF_INET6, port, p6);
    }
    acceptor = std::thread([this] { acceptLoop(); });
    return true;
}

void SimServer::Impl::stop() {
    if (stopping.exchange(true)) return;
    if (wake[1] >= 0) {
        const char c = 'x';
        ssize_t ignored = ::write(wake[1], &c, 1);
        (void)ignored;
    }
    if (acceptor.joinable()) acceptor.join();
    {
        std::lock_guard<std::mutex> lock(mutex);
        for (Slot& s : slots) {
            if (s.fd >= 0) ::shutdown(s.fd, SHUT_RDWR);
        }
        changed.notify_all();
    }
    // Connection threads end once their socket is shut down.
    std::list<Slot> all;
    {
        std::lock_guard<std::mutex> lock(mutex);
        all.swap(slots);
    }
    for (Slot& s : all) {
        if (s.thread.joinable()) s.thread.join();
    }
    if (listen4 >= 0) ::close(listen4);
    if (listen6 >= 0) ::close(listen6);
    listen4 = listen6 = -1;
    for (int& fd : wake) {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
}

void SimServer::Impl::reapFinished() {
    std::list<Slot> finished;
    {
        std::lock_guard<std::mutex> lock(mutex);
        for (auto it = slots.begin(); it != slots.end();) {
            if (it->done) {
                auto next = std::next(it);
                finished.splice(finished.end(), slots, it);
                it = next;
            } else {
                ++it;
            }
        }
    }
    for (Slot& s : finished) {
        if (s.thread.joinable()) s.thread.join();
    }
}

void SimServer::Impl::acceptLoop() {
    for (;;) {
        pollfd p[3];
        int n = 0;
        p[n++] = pollfd{wake[0], POLLIN, 0};
        p[n++] = pollfd{listen4, POLLIN, 0};
        if (listen6 >= 0) p[n++] = pollfd{listen6, POLLIN, 0};
        const int r = ::poll(p, n, 1000);
        if (stopping) return;
        if (r < 0 && errno != EINTR) return;
        reapFinished();
        if (r <= 0) continue;
        for (int i = 1; i < n; ++i) {
            if (!(p[i].revents & POLLIN)) continue;
            const int fd = ::accept4(p[i].fd, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0) continue;
            const int one = 1;
            ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
            std::lock_guard<std::mutex> lock(mutex);
            if (stopping) {
                ::close(fd);
                return;
            }
            const int id = nextId++;
            Connection c;
            c.id = id;
            connections.push_back(c);
            slots.emplace_back();
            Slot& slot = slots.back();
            slot.id = id;
            slot.fd = fd;
            slot.thread = std::thread([this, id, fd] { serve(id, fd); });
        }
    }
}

void SimServer::Impl::markClosed(int id, int fd) {
    std::lock_guard<std::mutex> lock(mutex);
    for (Slot& s : slots) {
        if (s.id == id) {
            s.fd = -1;
            s.done = true;
        }
    }
    // The connection thread owns its socket; nobody can shut it down any
    // more once the slot forgot it.
    ::close(fd);
    for (Connection& c : connections) {
        if (c.id == id) c.open = false;
    }
    changed.notify_all();
}

bool SimServer::Impl::handshake(int id, int fd) {
    std::string hello;
    const rkwire::IoResult r =
        rkwire::readFrame(fd, hello, rkwire::Deadline::after(std::chrono::seconds(30)));
    std::string service, client;
    int auth = 0;
    const bool parsed = r == rkwire::IoResult::Ok && rkwire::parseHello(hello, service, client, auth);
    const bool known = parsed && std::find(options.services.begin(), options.services.end(),
                                           service) != options.services.end();
    {
        std::lock_guard<std::mutex> lock(mutex);
        for (Connection& c : connections) {
            if (c.id != id) continue;
            c.service = service;
            c.clientName = client;
            c.authMethod = auth;
            c.refused = !known;
        }
        changed.notify_all();
    }
    if (!parsed) {
        if (r == rkwire::IoResult::Ok) {
            rkwire::writeFrame(fd, "REFUSED malformed handshake", rkwire::Deadline::after(std::chrono::seconds(5)));
        }
        return false;
    }
    if (!known) {
        rkwire::writeFrame(fd, "REFUSED unknown service " + service,
                           rkwire::Deadline::after(std::chrono::seconds(5)));
        return false;
    }
    return rkwire::writeFrame(fd, "OK", rkwire::Deadline::after(std::chrono::seconds(5))) ==
           rkwire::IoResult::Ok;
}

void SimServer::Impl::serve(int id, int fd) {
    if (handshake(id, fd)) {
        for (;;) {
            std::string payload;
            const rkwire::IoResult r = rkwire::readFrame(fd, payload, rkwire::Deadline::none());
            if (r != rkwire::IoResult::Ok || stopping) break;
            if (payload.empty()) continue;

            CNMessageBase* raw = nullptr;
            std::string why;
            if (CNMessageBase::ConstructAny(payload.data(), payload.size(), raw, why) != 0) {
                delete raw;
                raw = nullptr;
            }
            std::shared_ptr<const CNMessageBase> message(raw);
            Request entry;
            entry.connection = id;
            entry.tag = message ? message->getTagID() : 0;
            entry.tagName = message ? message->getTagName() : "";
            entry.xml = payload;
            entry.message = message;
            Action action;
            {
                std::lock_guard<std::mutex> lock(mutex);
                entry.seq = perConnection[id]++;
                entry.index = journal.size();
                journal.push_back(entry);
                changed.notify_all();
            }
            if (message) {
                action = pick(entry.tag);
            } else {
                action = Action::bareError(1, "simserver: the request could not be decoded");
            }
            if (!act(fd, action, message.get())) break;
        }
    }
    markClosed(id, fd);
}

Action SimServer::Impl::pick(unsigned long tag) {
    std::lock_guard<std::mutex> lock(mutex);
    for (auto it = rules.begin(); it != rules.end(); ++it) {
        if (it->remaining == 0) continue;
        if (it->tag != kAnyRequest && it->tag != tag) continue;
        Action a = it->action;
        if (it->remaining > 0 && --it->remaining == 0) rules.erase(it);
        return a;
    }
    return Action::defaultReply();
}

FieldId SimServer::Impl::errorFieldOf(unsigned long replyTag) const {
    std::lock_guard<std::mutex> lock(mutex);
    auto it = errorFields.find(replyTag);
    if (it != errorFields.end()) return it->second;
    if (replyTag == VSDKLogin::QLoginRespMsg::kTag) return VSDKLogin::kLoginRespError;
    return msgf::kReplyError;
}

std::unique_ptr<CNMessageBase> SimServer::Impl::buildReply(const Action& action,
                                                           const CNMessageBase* request) {
    unsigned long replyTag = action.replyTag;
    if (replyTag == 0 && request) {
        const vsdkmsg::MessageType* t = vsdkmsg::findByTag(request->getTagID());
        replyTag = t ? t->replyTag : 0;
    }
    std::unique_ptr<CNMessageBase> reply(replyTag ? CNMessageBase::createByTag(replyTag) : nullptr);
    if (!reply) {
        // Nothing to pair the request with: a bare error says so.
        std::unique_ptr<CNMessageBase> bare(new OrvaneUtilities::QErrorMsg());
        msgf::putInt(*bare, msgf::kErrorCode, 1);
        msgf::putText(*bare, msgf::kErrorText, "simserver: no reply type for this request");
        return bare;
    }
    if (action.kind == Action::Kind::Default || action.kind == Action::Kind::ServerError) {
        const int module = reply->getModuleId();
        const vsdkmsg::MessageType* errType =
            vsdkmsg::findByTag((static_cast<unsigned long>(module) << 24) | 2UL);
        if (errType) {
            CNMessageBase& error =
                msgf::child(*reply, errorFieldOf(replyTag), module, errType->classNumber);
            const bool serverError = action.kind == Action::Kind::ServerError;
            msgf::putInt(error, msgf::kErrorCode, serverError ? action.code : 0);
            if (serverError) msgf::putText(error, msgf::kErrorText, action.text);
        }
    }
    if (action.fill && request) action.fill(*request, *reply);
    return reply;
}

bool SimServer::Impl::sleepFor(std::chrono::milliseconds d) {
    if (d.count() <= 0) return !stopping;
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait_for(lock, d, [this] { return stopping.load(); });
    return !stopping;
}

bool SimServer::Impl::act(int fd, const Action& action, const CNMessageBase* request) {
    if (!sleepFor(action.delay)) return false;
    const rkwire::Deadline deadline = rkwire::Deadline::after(std::chrono::seconds(30));
    using K = Action::Kind;
    switch (action.kind) {
        case K::Default:
        case K::Reply:
        case K::ServerError: {
            for (int i = 0; i < std::max(1, action.replies); ++i) {
                std::unique_ptr<CNMessageBase> reply = buildReply(action, request);
                std::string xml;
                reply->serialize(xml, false);
                if (rkwire::writeFrame(fd, xml, deadline) != rkwire::IoResult::Ok) return false;
            }
            break;
        }
        case K::BareError: {
            OrvaneUtilities::QErrorMsg bare;
            msgf::putInt(bare, msgf::kErrorCode, action.code);
            msgf::putText(bare, msgf::kErrorText, action.text);
            std::string xml;
            bare.serialize(xml, false);
            if (rkwire::writeFrame(fd, xml, deadline) != rkwire::IoResult::Ok) return false;
            break;
        }
        case K::NoReplyClose:
            return false;
        case K::CloseMidFrame: {
            Action plain;
            std::unique_ptr<CNMessageBase> reply = buildReply(plain, request);
            std::string xml;
            reply->serialize(xml, false);
            std::string frame = rkwire::frameHeader(static_cast<std::uint32_t>(xml.size())) + xml;
            frame.resize(4 + xml.size() / 2);
            rkwire::writeAll(fd, frame.data(), frame.size(), deadline);
            return false;
        }
        case K::Garbage:
            if (rkwire::writeAll(fd, action.bytes.data(), action.bytes.size(), deadline) !=
                rkwire::IoResult::Ok) {
                return false;
            }
            break;
        case K::BadDocument:
            if (rkwire::writeFrame(fd, action.bytes, deadline) != rkwire::IoResult::Ok) return false;
            break;
        case K::EmptyFrame:
            if (rkwire::writeFrame(fd, std::string(), deadline) != rkwire::IoResult::Ok) return false;
            break;
        case K::Silent:
            break;
    }
    return !action.closeAfter;
}

SimServer::SimServer() : SimServer(Options()) {}

SimServer::SimServer(const Options& options) : m_impl(new Impl()) {
    m_impl->options = options;
    if (!m_impl->start()) m_impl->stop();
}

SimServer::~SimServer() { m_impl->stop(); }

bool SimServer::ok() const { return m_impl->listen4 >= 0 && !m_impl->stopping; }
unsigned short SimServer::port() const { return m_impl->port; }
bool SimServer::listensOnIpv6() const { return m_impl->listen6 >= 0; }
void SimServer::stop() { m_impl->stop(); }

void SimServer::script(unsigned long requestTag, const Action& action, int times) {
    if (times == 0) return;
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    m_impl->rules.push_back(Rule{requestTag, action, times});
}

void SimServer::replyWith(unsigned long requestTag, unsigned long replyTag, Filler fill, int times) {
    script(requestTag, Action::reply(replyTag, std::move(fill)), times);
}

void SimServer::serverError(unsigned long requestTag, long long code, const std::string& text,
                            int times) {
    script(requestTag, Action::serverError(code, text), times);
}

void SimServer::relogin(unsigned long requestTag, int n) {
    script(requestTag,
           Action::serverError(9, "VSDK Server failed to find a connection to the Mardock, "
                                  "Relogin required"),
           n);
}

void SimServer::clearScripts() {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    m_impl->rules.clear();
}

void SimServer::setErrorField(unsigned long replyTag, FieldId field) {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    m_impl->errorFields[replyTag] = field;
}

std::vector<Request> SimServer::journal() const {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    return m_impl->journal;
}

std::vector<Request> SimServer::journal(int connection) const {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    std::vector<Request> out;
    for (const Request& r : m_impl->journal) {
        if (r.connection == connection) out.push_back(r);
    }
    return out;
}

std::vector<Request> SimServer::requestsOfType(unsigned long tag) const {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    std::vector<Request> out;
    for (const Request& r : m_impl->journal) {
        if (r.tag == tag) out.push_back(r);
    }
    return out;
}

std::size_t SimServer::requestCount() const {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    return m_impl->journal.size();
}

std::size_t SimServer::requestCount(unsigned long tag) const {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    return static_cast<std::size_t>(
        std::count_if(m_impl->journal.begin(), m_impl->journal.end(),
                      [tag](const Request& r) { return r.tag == tag; }));
}

bool SimServer::waitForRequests(std::size_t n, std::chrono::milliseconds timeout) const {
    std::unique_lock<std::mutex> lock(m_impl->mutex);
    return m_impl->changed.wait_for(lock, timeout, [&] { return m_impl->journal.size() >= n; });
}

void SimServer::clearJournal() {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    m_impl->journal.clear();
    m_impl->perConnection.clear();
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

int SimServer::openConnections() const {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    return countOpen(m_impl->connections);
}

bool SimServer::waitForOpenConnections(int n, std::chrono::milliseconds timeout) const {
    std::unique_lock<std::mutex> lock(m_impl->mutex);
    return m_impl->changed.wait_for(lock, timeout,
                                    [&] { return countOpen(m_impl->connections) == n; });
}

void SimServer::closeAllConnections() {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    for (Slot& s : m_impl->slots) {
        if (s.fd >= 0) ::shutdown(s.fd, SHUT_RDWR);
    }
}

void SimServer::reset() {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    m_impl->rules.clear();
    m_impl->journal.clear();
    m_impl->perConnection.clear();
    m_impl->errorFields.clear();
    std::vector<Connection> open;
    for (const Connection& c : m_impl->connections) {
        if (c.open) open.push_back(c);
    }
    m_impl->connections.swap(open);
}

}  // namespace simserver
