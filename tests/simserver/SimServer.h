// The simulated server service: the other end of the library's connections,
// for tests, benchmarks and the examples.
//
// It listens on loopback (127.0.0.1, and ::1 on the same port when the
// machine has it), accepts any number of connections, takes each
// connection's opening handshake (service name, client name, authentication
// method; an unknown service is refused), then reads one request per frame,
// decodes it with the library's own message layer, records it in the journal
// and answers it:
//   - by the first live script rule whose request tag matches (kAnyRequest
//     matches every request), rules being tried in the order they were added;
//     a rule added with a count serves that many requests and then expires;
//   - without a rule, with the paired reply type of the request (the catalog's
//     reply tag) and error code 0.
//
// Typical use:
//   simserver::SimServer server;                 // starts on an ephemeral port
//   server.script(QBackupInfoMsg::kTag, simserver::Action::serverError(0x50d, "denied"));
//   server.relogin(simserver::kAnyRequest, 2);   // code 9 for the next two requests
//   ... drive the library against server.port() ...
//   auto sent = server.requestsOfType(QBackupInfoMsg::kTag);
//
// All member functions are thread-safe; fill callbacks run on the server's
// connection threads (one thread per connection) and must not call back into
// the server's scripting functions.
#pragma once

#include "VSDKAPI/messages/MessageTable.h"
#include "platform/CNMessageBase.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace simserver {

// Wildcard request tag for script rules.
constexpr unsigned long kAnyRequest = 0;

// The service the library opens.
constexpr const char* kCommandLineService = "CMDLINE_SERVICE";

// Fills a reply before it is sent. The reply is already of the chosen type
// (and, for serverError, already holds its error object).
using Filler = std::function<void(const CNMessageBase& request, CNMessageBase& reply)>;

// What the server does with one request. Build one with the factories below;
// the fields may be adjusted afterwards.
struct Action {
    enum class Kind {
        Default,        // paired reply type, code 0 (fill runs on it when given)
        Reply,          // a reply of replyTag (0 = the paired type), filled by fill
        ServerError,    // paired reply type (or replyTag) whose error object holds code/text
        BareError,      // a bare OrvaneUtilities::QErrorMsg holding code/text
        NoReplyClose,   // answer nothing and close the connection
        CloseMidFrame,  // write the first bytes of a reply frame, then close
        Garbage,        // write bytes as they are (no framing), connection stays open
        BadDocument,    // one well-formed frame whose payload (bytes) is no message
        Silent,         // answer nothing, keep the connection open
        EmptyFrame,     // one frame of length 0: a receive that brings no message
    };

    Kind kind = Kind::Default;
    unsigned long replyTag = 0;          // Reply/ServerError: reply type; 0 = paired type
    long long code = 0;                  // ServerError/BareError
    std::string text;                    // ServerError/BareError
    Filler fill;                         // Default/Reply/ServerError: adjusts the reply
    std::string bytes;                   // Garbage/BadDocument payload
    std::chrono::milliseconds delay{0};  // waited before acting
    int replies = 1;                     // Default/Reply/ServerError: replies sent for the one
                                         // request (further pages for receive-only reads)
    bool closeAfter = false;             // close the connection after acting

    static Action defaultReply();
    static Action reply(unsigned long replyTag, Filler fill = Filler());
    static Action serverError(long long code, const std::string& text);
    static Action bareError(long long code, const std::string& text);
    static Action noReplyClose();
    static Action closeMidFrame();
    static Action garbage(const std::string& rawBytes);
    static Action badDocument(const std::string& payload = "<not a message");
    static Action silent();
    static Action emptyFrame();

    // Chainable adjustments.
    Action& after(std::chrono::milliseconds wait) { delay = wait; return *this; }
    Action& withFill(Filler f) { fill = std::move(f); return *this; }
    Action& repeated(int count) { replies = count; return *this; }
    Action& thenClose() { closeAfter = true; return *this; }
};

// One request as it crossed the wire.
struct Request {
    int connection = 0;        // connection id (1, 2, ... in accept order)
    std::size_t seq = 0;       // position among the requests of its connection
    std::size_t index = 0;     // position in the whole journal
    unsigned long tag = 0;     // 0 when the document could not be decoded
    std::string tagName;
    std::string xml;           // the document as received
    std::shared_ptr<const CNMessageBase> message;  // decoded; null when undecodable
};

// One accepted connection and its handshake.
struct Connection {
    int id = 0;
    std::string service;       // service name of the handshake
    std::string clientName;    // local client name the library sent
    int authMethod = 0;        // authentication method the library sent
    bool refused = false;      // handshake refused (unknown service or malformed)
    bool open = true;          // false once either side closed it
};

struct Options {
    unsigned short port = 0;   // 0 = ephemeral
    std::vector<std::string> services{kCommandLineService};
    bool ipv6 = true;          // also listen on ::1 (same port) when possible
};

class SimServer {
public:
    // Starts listening at once; ok() tells whether that worked.
    SimServer();
    explicit SimServer(const Options& options);
    ~SimServer();  // stops: closes the listener and every connection, joins all threads
    SimServer(const SimServer&) = delete;
    SimServer& operator=(const SimServer&) = delete;

    bool ok() const;
    unsigned short port() const;
    bool listensOnIpv6() const;
    void stop();

    // --- Scripts -------------------------------------------------------
    // Adds a rule: requests of requestTag (or every request with kAnyRequest)
    // get action; times < 0 means for ever, otherwise the rule serves that
    // many requests and expires.
    void script(unsigned long requestTag, const Action& action, int times = -1);
    // Shorthands.
    void replyWith(unsigned long requestTag, unsigned long replyTag, Filler fill = Filler(),
                   int times = -1);
    void serverError(unsigned long requestTag, long long code, const std::string& text,
                     int times = -1);
    // Code 9 ("Relogin required") in the paired reply for the next n requests.
    void relogin(unsigned long requestTag, int n);
    // Removes every rule.
    void clearScripts();
    // The error object of a reply type sits at (2,2) except where set here
    // (the login reply's at (3,3) is known already).
    void setErrorField(unsigned long replyTag, FieldId field);

    // --- Journal -------------------------------------------------------
    std::vector<Request> journal() const;
    std::vector<Request> journal(int connection) const;
    std::vector<Request> requestsOfType(unsigned long tag) const;
    std::size_t requestCount() const;
    std::size_t requestCount(unsigned long tag) const;
    // Waits until the journal holds at least n requests; false on time-out.
    bool waitForRequests(std::size_t n, std::chrono::milliseconds timeout) const;
    void clearJournal();

    // --- Connections ---------------------------------------------------
    std::vector<Connection> connections() const;
    int openConnections() const;   // open connections with an accepted handshake
    // Waits until openConnections() == n; false on time-out.
    bool waitForOpenConnections(int n, std::chrono::milliseconds timeout) const;
    // Closes every client connection from the server's side.
    void closeAllConnections();

    // Clears scripts, error-field settings, the journal and the list of
    // closed connections (open connections stay open and listed).
    void reset();

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace simserver
