// The simulated server service: the other end of the library's connections,
// for tests, benchmarks and the examples.
//
// It listens on loopback (127.0.0.1, and ::1 on the same port when it can),
// takes each connection's handshake (an unknown service is refused), decodes
// each request frame, journals it and answers it by the first live script
// rule whose tag matches (kAnyRequest matches all; a counted rule expires),
// or else as a server would: the paired reply type, code 0, and for a job
// start or a creation a new id where its reply names it (a generic request's
// inner document likewise; listings stay empty). Thread-safe; fill callbacks
// run on connection threads and must not call back into the server.
#pragma once

#include "VSDKAPI/messages/MessageTable.h"
#include "platform/CNMessageBase.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace simserver {

constexpr unsigned long kAnyRequest = 0;
constexpr const char* kCommandLineService = "CMDLINE_SERVICE";

// Adjusts a reply before it is sent (it is already of the chosen type).
using Filler = std::function<void(const CNMessageBase& request, CNMessageBase& reply)>;

// What the server does with one request.
struct Action {
    enum class Kind {
        Default,        // paired reply type, code 0, a new id where it names one
        Reply,          // a reply of replyTag (0: the paired type), filled by fill
        ServerError,    // paired reply type whose error object holds code and text
        BareError,      // a bare OrvaneUtilities::QErrorMsg holding code and text
        NoReplyClose,   // close the connection without answering
        CloseMidFrame,  // write half a reply frame, then close
        Garbage,        // write bytes as they are (no framing)
        BadDocument,    // one frame whose payload (bytes) is no message
        Silent,         // answer nothing, keep the connection open
        EmptyFrame,     // one frame of length 0
    };

    Kind kind = Kind::Default;
    unsigned long replyTag = 0;
    long long code = 0;
    std::string text;
    Filler fill;
    std::string bytes;
    std::chrono::milliseconds delay{0};  // waited before acting
    int replies = 1;                     // replies sent for the one request (later pages)

    static Action defaultReply() { return Action(); }
    static Action reply(unsigned long replyTag, Filler fill = Filler());
    static Action serverError(long long code, const std::string& text);
    static Action bareError(long long code, const std::string& text);
    static Action noReplyClose() { return of(Kind::NoReplyClose); }
    static Action closeMidFrame() { return of(Kind::CloseMidFrame); }
    static Action garbage(const std::string& rawBytes) { return of(Kind::Garbage, rawBytes); }
    static Action badDocument(const std::string& payload = "<not a message") {
        return of(Kind::BadDocument, payload);
    }
    static Action silent() { return of(Kind::Silent); }
    static Action emptyFrame() { return of(Kind::EmptyFrame); }

    Action& after(std::chrono::milliseconds wait) {
        delay = wait;
        return *this;
    }
    Action& repeated(int count) {
        replies = count;
        return *this;
    }

private:
    static Action of(Kind kind, const std::string& bytes = std::string());
};

// One request as it crossed the wire.
struct Request {
    int connection = 0;                            // connection id (1, 2, ... in accept order)
    unsigned long tag = 0;                         // 0 when the document could not be decoded
    std::string xml;                               // the document as received
    std::shared_ptr<const CNMessageBase> message;  // null when undecodable
};

// One accepted connection and its handshake.
struct Connection {
    int id = 0;
    std::string service;
    std::string clientName;
    int authMethod = 0;
    bool refused = false;  // unknown service or malformed handshake
    bool open = true;
};

class SimServer {
public:
    explicit SimServer(unsigned short port = 0);  // 0: ephemeral
    ~SimServer();  // stop()
    SimServer(const SimServer&) = delete;
    SimServer& operator=(const SimServer&) = delete;

    bool ok() const;  // listening
    unsigned short port() const;
    bool listensOnIpv6() const;
    // Closes the listener and every connection and joins all threads.
    void stop();

    // times < 0: for ever.
    void script(unsigned long requestTag, const Action& action, int times = -1);
    void replyWith(unsigned long requestTag, unsigned long replyTag, Filler fill = Filler(),
                   int times = -1);
    void serverError(unsigned long requestTag, long long code, const std::string& text,
                     int times = -1);
    // Code 9 ("Relogin required") in the paired reply of the next n requests.
    void relogin(unsigned long requestTag, int n);
    void clearScripts();

    std::vector<Request> journal() const;
    std::vector<Request> requestsOfType(unsigned long tag) const;
    std::size_t requestCount() const;
    std::size_t requestCount(unsigned long tag) const;
    bool waitForRequests(std::size_t n, std::chrono::milliseconds timeout) const;
    void clearJournal();

    std::vector<Connection> connections() const;
    int openConnections() const;  // open, with an accepted handshake
    bool waitForOpenConnections(int n, std::chrono::milliseconds timeout) const;
    // Closes every client connection from the server's side.
    void closeAllConnections();
    // While on, no connection reads a request that arrives (as a hung server).
    void stallReading(bool on);
    // While answer is not empty, every handshake is refused with it as the
    // answer frame, whatever it holds.
    void refuseHandshakes(const std::string& answer);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace simserver
